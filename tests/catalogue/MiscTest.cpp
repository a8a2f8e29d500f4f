#include "catalogue/Misc.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace catalogue {
namespace {

// Web addresses begin with "http" or "www" or end with "htm" or "html", compared lower-cased: "www" alone is
// one, "htt" is shorter than "http" and compared whole, a local page is opened through the shell, and a
// blank at the end counts.
TEST(IsWebAddress, ComparesLowerCasedPiecesAtEitherEnd) {
    for (const char16_t* web : {u"http://www.example.com/help", u"HTTPS://example.org", u"www", u"WWW.example.com",
                                u"C:\\Help\\index.HTM", u"C:\\Help\\index.html", u"shtml", u"htm"}) {
        EXPECT_TRUE(IsWebAddress(web)) << platform::ToUtf8(web);
    }
    for (const char16_t* other : {u"htt", u"ww", u"", u"C:\\Program Files\\Tessaly\\maths.exe",
                                  u"C:\\httpd\\server.exe", u"C:\\pages\\index.htm "}) {
        EXPECT_FALSE(IsWebAddress(other)) << platform::ToUtf8(other);
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
    scene.files.AddFile(u"A:\\game.exe");
    scene.files.SetDriveNotReady(u"A:");
    // A folder is no program, wildcards never match, and a drive that is not ready holds nothing.
    const std::pair<const char16_t*, const char16_t*> cases[] = {{u"http://www.example.com", u"http://www.example.com"},
                                                                 {u"c:\\apps\\MATHS.EXE  ", u"Maths.exe"},
                                                                 {u"C:\\Apps\\Paint.exe", u""},
                                                                 {u"C:\\Apps", u""},
                                                                 {u"C:\\Apps\\*.exe", u""},
                                                                 {u"A:\\game.exe", u""},
                                                                 {u"", u""}};
    for (const auto& [path, found] : cases) {
        EXPECT_EQ(FileOrWebExists(path, scene.files), found) << platform::ToUtf8(path);
    }
    EXPECT_EQ(scene.files.Lookups().size(), std::size(cases) - 1) << "the web address is never looked up";
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
