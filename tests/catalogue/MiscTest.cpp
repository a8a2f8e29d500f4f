#include "catalogue/Misc.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace catalogue {
namespace {

TEST(IsWebAddress, ComparesLowerCasedPiecesAtEitherEnd) {
    const struct {
        const char16_t* text;
        bool web;
    } cases[] = {
        {u"http://www.example.com/help", true},
        {u"HTTPS://example.org", true},
        {u"www", true}, // shorter than nothing: "www" alone is a web address
        {u"WWW.example.com", true},
        {u"C:\\Help\\index.HTM", true}, // a local page is opened through the shell
        {u"C:\\Help\\index.html", true},
        {u"shtml", true},
        {u"htm", true},
        {u"htt", false}, // shorter than "http", compared whole
        {u"ww", false},
        {u"", false},
        {u"C:\\Program Files\\Tessaly\\maths.exe", false},
        {u"C:\\httpd\\server.exe", false},
        {u"C:\\pages\\index.htm ", false}, // the blank counts
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWebAddress(c.text), c.web) << platform::ToUtf8(c.text);
    }
}

TEST(CleanPath, DropsDoubledBackslashesBetweenTheEnds) {
    const struct {
        const char16_t* in;
        const char16_t* out;
    } cases[] = {
        {u"C:\\\\data\\progdata.xml", u"C:\\data\\progdata.xml"}, // launcher at a drive root
        {u"C:\\Launcher\\data\\progdata.xml", u"C:\\Launcher\\data\\progdata.xml"},
        {u"\\\\server\\share\\data\\x.xml", u"\\\\server\\share\\data\\x.xml"}, // network path keeps both
        {u"C:\\a\\\\\\b", u"C:\\a\\b"},
        {u"a\\\\", u"a\\"}, // the last character stays; the one before it is in between
        {u"ab", u"ab"},
        {u"\\\\", u"\\\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CleanPath(c.in), c.out) << platform::ToUtf8(c.in);
    }
}

TEST(GetFolderAndFileName, SplitAtTheLastBackslash) {
    const struct {
        const char16_t* path;
        const char16_t* folder;
        const char16_t* file;
    } cases[] = {
        {u"C:\\Program Files\\Maths\\maths.exe", u"C:\\Program Files\\Maths\\", u"maths.exe"},
        {u"C:\\Program Files\\", u"C:\\Program Files\\", u""},
        {u"maths.exe", u"", u"maths.exe"},
        {u"\\\\server\\share\\run.exe", u"\\\\server\\share\\", u"run.exe"},
        {u"", u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetFolder(c.path), c.folder) << platform::ToUtf8(c.path);
        EXPECT_EQ(GetFileName(c.path), c.file) << platform::ToUtf8(c.path);
    }
}

TEST(FileOrWebExists, WebAddressesNeedNoFileAndFilesAreLookedUp) {
    testing_support::Scene scene;
    scene.files.AddFile(u"C:\\Apps\\Maths.exe");
    scene.files.SetDriveNotReady(u"A:");

    EXPECT_EQ(FileOrWebExists(u"http://www.example.com", scene.files), u"http://www.example.com");
    EXPECT_EQ(FileOrWebExists(u"c:\\apps\\MATHS.EXE  ", scene.files), u"Maths.exe");
    EXPECT_EQ(FileOrWebExists(u"C:\\Apps\\Paint.exe", scene.files), u"");
    EXPECT_EQ(FileOrWebExists(u"C:\\Apps", scene.files), u"");        // a folder is no program
    EXPECT_EQ(FileOrWebExists(u"C:\\Apps\\*.exe", scene.files), u""); // wildcards never match
    EXPECT_EQ(FileOrWebExists(u"A:\\game.exe", scene.files), u"");    // a drive that is not ready
    EXPECT_EQ(FileOrWebExists(u"", scene.files), u"");
    EXPECT_TRUE(scene.files.Lookups().size() == 6u) << "the web address is never looked up";
}

TEST(SplitLines, EndsLinesAtCrLfOrCrButNeverAtLfAlone) {
    const struct {
        const char16_t* text;
        std::vector<std::u16string> lines;
    } cases[] = {
        {u"a\r\nb\r\n", {u"a", u"b"}},
        {u"a\rb", {u"a", u"b"}},
        {u"a\nb\n", {u"a\nb\n"}},
        {u"", {}},
        {u"\r\n", {u""}},
        {u"a\r\n\r\nb", {u"a", u"", u"b"}},
        {u"a\r\r\nb", {u"a", u"", u"b"}},
        {u"a\r\n\nb", {u"a", u"\nb"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitLines(c.text), c.lines) << platform::ToUtf8(c.text);
    }
}

} // namespace
} // namespace catalogue
