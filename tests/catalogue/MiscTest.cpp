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

// Regressions: everything that began with "http" or "www" or ended in "htm" or "html" went to the shell; a
// page on a server share and a file: address of a page were refused.
TEST(ShellTarget, IsAnAddressWithAHostOrAnExistingPageOnADriveOrAShare) {
    testing_support::Scene scene;
    for (const char16_t* file : {u"C:\\Docs\\Page.HTM", u"D:\\x.html", u"C:\\page.mhtml", u"C:\\evil.vbs:x.htm",
                                 u"\\\\server\\share\\x.htm"}) {
        scene.files.AddFile(file);
    }
    const struct {
        const char16_t* path;
        const char16_t* target; // empty: the path itself; nullptr: refused
    } cases[] = {
        {u"http://www.example.com/help", u""},
        {u"HTTPS://Example.org:8080/a?b#c", u""},
        {u"www.example.com/x.htm", u"http://www.example.com/x.htm"},
        {u"C:\\Docs\\page.htm", u""},
        {u"D:\\x.html", u""},
        {u"ms-msdt:/id PCWDiagnostic /skip force /param x.htm", nullptr},
        {u"search-ms:query=x&crumb=location:\\\\evil\\share&.html", nullptr},
        {u"file://server/share/x.htm", u"\\\\server\\share\\x.htm"},
        {u"FILE:///C:/Docs/Page.htm", u"C:\\Docs\\Page.htm"},
        {u"file://localhost/D:/x%2Ehtml", u"D:\\x.html"},
        {u"file:///C:/Docs/missing.htm", nullptr},
        {u"file:///C:/evil.vbs%3Ax.htm", nullptr},
        {u"file:///C:/Docs/Page%0a.htm", nullptr},
        {u"file:C:/Docs/Page.htm", nullptr},
        {u"file://?/C:/Docs/Page.htm", nullptr},
        {u"httpd\\..\\evil.vbs", nullptr},
        {u"C:\\page.mhtml", nullptr},
        {u"\\\\server\\share\\x.htm", u""},
        {u"\\\\?\\C:\\Docs\\Page.htm", nullptr},
        {u"\\\\.\\share\\x.htm", nullptr},
        {u"\\\\server\\x.htm", nullptr},
        {u"C:\\evil.vbs:x.htm", nullptr},
        {u"C:\\Docs\\missing.htm", nullptr},
        {u"http://", nullptr},
        {u"https:///x", nullptr},
        {u"http://:80/", nullptr},
        {u"http://a:8o/", nullptr},
        {u"http://user@host/", nullptr},
        {u"http://a b.example", nullptr},
        {u"http://a.example/\"--x\"", nullptr},
        {u"http://a.example/a b", nullptr},
        {u"www.", nullptr},
    };
    for (const auto& c : cases) {
        const auto expected = c.target ? std::optional<Text>(*c.target ? c.target : c.path) : std::nullopt;
        EXPECT_EQ(ShellTarget(c.path, scene.files), expected) << platform::ToUtf8(c.path);
    }
}

} // namespace
} // namespace catalogue
