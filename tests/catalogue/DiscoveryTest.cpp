// Discovery of installed programs through the candidate-location files, and the trimming of paths.
#include "TestSupport.h"
#include "catalogue/DataFiles.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace catalogue {
namespace {

using testing_support::CrLf;
using testing_support::kProgramCandidates;
using testing_support::kVideoCandidates;
using testing_support::Scene;

std::u16string Maths(std::u16string_view candidates) {
    return u"<program name='Maths' " + std::u16string(candidates) + u" />";
}

TEST(FindProgramPath, TriesP1ToP19OfTheLastLineNamingTheProgramOnTheLaunchersDrive) {
    const auto tagless = u"   " + Maths(u"p1='\\A'"); // indented: outside the format
    const struct {
        const char* what;
        std::vector<std::u16string> lines; // of the candidate file; none: there is no such file
        std::vector<std::u16string> existing;
        std::u16string found;
        bool video = false;      // the video candidate file, read by FindVideoPath
        bool unreadable = false; // the candidate file cannot be read
        std::u16string drive = u"C:";
    } cases[] = {
        {"first existing wins", {Maths(u"p1='\\A' p2='\\B' p3='\\C'")}, {u"C:\\B", u"C:\\C"}, u"C:\\B"},
        {"gaps allowed", {Maths(u"p2='\\B' p7='\\G'")}, {u"C:\\G"}, u"C:\\G"},
        {"p19 is the last", {Maths(u"p19='\\S'")}, {u"C:\\S"}, u"C:\\S"},
        {"p0 never tried", {Maths(u"p0='\\Z'")}, {u"C:\\Z"}, u""},
        {"p20 never tried", {Maths(u"p20='\\T'")}, {u"C:\\T"}, u""},
        {"empty value skipped", {Maths(u"p1='' p2='\\B'")}, {u"C:\\B"}, u"C:\\B"},
        {"name in other case", {u"<PROGRAM name='MATHS' p1='\\A' />"}, {u"C:\\A"}, u"C:\\A"},
        {"other name ignored", {u"<program name='Paint' p1='\\A' />"}, {u"C:\\A"}, u""},
        {"nothing exists", {Maths(u"p1='\\A'")}, {}, u""},
        {"the last same-named line decides", {Maths(u"p1='\\A'"), Maths(u"p1='\\B'")}, {u"C:\\A"}, u""},
        {"the last same-named line finds", {Maths(u"p1='\\A'"), Maths(u"p1='\\B'")}, {u"C:\\A", u"C:\\B"}, u"C:\\B"},
        {"the launcher's drive only", {Maths(u"p1='\\A'")}, {u"C:\\A"}, u"", false, false, u"D:"},
        {"on the launcher's drive", {Maths(u"p1='\\A'")}, {u"C:\\A", u"D:\\A"}, u"D:\\A", false, false, u"D:"},
        {"no candidate file", {}, {u"C:\\A"}, u""},
        {"unreadable candidate file", {Maths(u"p1='\\A'")}, {u"C:\\A"}, u"", false, true},
        // Regressions: a candidate file over 1 MB was not read at all; a line past the length kept is cut, and
        // the next line is read whole.
        {"a line over 1 MB",
         {std::u16string(kMaxLineBytes + 9, u' ') + u"'", Maths(u"p1='\\A'")},
         {u"C:\\A"},
         u"C:\\A"},
        {"lines without a tag skipped", {u"", tagless, Maths(u"p1='\\A' p2='\\B'"), u"</l>"}, {u"C:\\B"}, u"C:\\B"},
        {"video candidate file", {Maths(u"p1='\\V'")}, {u"C:\\V"}, u"C:\\V", true},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.cat.appDrive = c.drive;
        const char16_t* file = c.video ? kVideoCandidates : kProgramCandidates;
        if (!c.lines.empty()) {
            std::u16string text;
            for (const auto& line : c.lines) {
                text += line + u"\r\n";
            }
            scene.files.AddTextFile(file, text);
            scene.files.SetUnreadable(file, c.unreadable);
        }
        for (const auto& path : c.existing) {
            scene.files.AddFile(path);
        }
        EXPECT_EQ((c.video ? FindVideoPath : FindProgramPath)(u"maths", scene.cat, scene.files), c.found) << c.what;
        // Neither p0 nor p20 is looked up, nor the drive alone of an empty value.
        const auto& lookups = scene.files.Lookups();
        for (const std::u16string_view never : {u"C:\\Z", u"C:\\T", u"C:"}) {
            EXPECT_EQ(std::count(lookups.begin(), lookups.end(), never), 0) << c.what;
        }
    }
}

// Three programs on the catalogue, one candidate file of each kind, and the programs they name installed
// in C:\N (new) and C:\H (help).
struct DiscoveryScene : Scene {
    DiscoveryScene() {
        cat.progCount = 3;
        cat.progList[0] = {u"Maths", u"C:\\O\\m ", u"", u"", u"C:\\O\\v ", kTrue};
        cat.progList[1] = {u"Help", u"http://www.example.com/help", u"", u"", u"", kFalse};
        cat.progList[2] = {u"Paint", u"C:\\P\\p", u"", u"", u"", kFalse};
        files.AddTextFile(kProgramCandidates, CrLf({u"<locations>", u"<program name='Maths' p1='\\N\\m' />",
                                                    u"<program name='Help' p1='\\H\\h' />",
                                                    u"<program name='Paint' p1='\\N\\p' />", u"</locations>"}));
        files.AddTextFile(kVideoCandidates,
                          CrLf({u"<program name='maths' p1='\\N\\v' />", u"<program name='Help' p1='\\H\\v' />"}));
        for (const char16_t* path : {u"C:\\N\\m", u"C:\\N\\v", u"C:\\H\\h", u"C:\\H\\v", u"C:\\N\\p"}) {
            files.AddFile(path);
        }
    }
};

TEST(DiscoverPrograms, ReplacesOnlyMissingPathsOfTheProgramsBelowProgCount) {
    const struct {
        const char* what;
        void (*arrange)(DiscoveryScene&);
        const char16_t* paths; // Maths' path and video path, Help's video path, Paint's path
    } cases[] = {
        {"missing paths replaced", [](DiscoveryScene&) {}, u"C:\\N\\m|C:\\N\\v|C:\\H\\v|C:\\N\\p"},
        {"existing paths kept, the writer's blank too",
         [](DiscoveryScene& s) {
             for (const char16_t* path : {u"C:\\O\\m", u"C:\\O\\v", u"C:\\P\\p"}) {
                 s.files.AddFile(path);
             }
         },
         u"C:\\O\\m |C:\\O\\v |C:\\H\\v|C:\\P\\p"},
        {"a drive that is not ready",
         [](DiscoveryScene& s) {
             s.cat.progList[0].path = u"A:\\m";
             s.files.SetDriveNotReady(u"A:");
         },
         u"C:\\N\\m|C:\\N\\v|C:\\H\\v|C:\\N\\p"},
        {"no candidate files",
         [](DiscoveryScene& s) {
             ASSERT_TRUE(s.files.EraseFile(kProgramCandidates) && s.files.EraseFile(kVideoCandidates));
         },
         u"C:\\O\\m |C:\\O\\v ||C:\\P\\p"},
        {"slots from progCount on", [](DiscoveryScene& s) { s.cat.progCount = 2; },
         u"C:\\N\\m|C:\\N\\v|C:\\H\\v|C:\\P\\p"},
        {"slots beyond 29",
         [](DiscoveryScene& s) {
             s.cat.progCount = kSlotCount;
             std::swap(s.cat.progList[2], s.cat.progList[kSlotCount - 1]);
         },
         u"C:\\N\\m|C:\\N\\v|C:\\H\\v|C:\\N\\p"},
        // Regression: a candidate line without a name filled every empty slot of a saved file.
        {"a slot without a name",
         [](DiscoveryScene& s) {
             s.cat.progList[2].name.clear();
             s.files.AddTextFile(kProgramCandidates,
                                 CrLf({u"<program p1='\\N\\p' />", u"<program name='' p1='\\N\\p' />"}));
         },
         u"C:\\O\\m |C:\\N\\v|C:\\H\\v|C:\\P\\p"},
    };
    for (const auto& c : cases) {
        DiscoveryScene scene;
        c.arrange(scene);
        DiscoverPrograms(scene.cat, scene.files);
        const auto& list = scene.cat.progList;
        const ProgramRecord& paint = list[kSlotCount - 1].path.empty() ? list[2] : list[kSlotCount - 1];
        EXPECT_EQ(list[0].path + u"|" + list[0].videopath + u"|" + list[1].videopath + u"|" + paint.path, c.paths)
            << c.what;
        EXPECT_EQ(list[1].path, u"http://www.example.com/help") << c.what << ": a web address is never looked up";
        EXPECT_EQ(list[1].show, kFalse) << c.what << ": show is never changed";
        EXPECT_LE(scene.files.Reads().size(), 2u) << c.what << ": each candidate file is read once";
    }
}

// Regression: every candidate of every line naming a missing program was looked up, so a candidate file of
// thousands of same-named lines held the window back for minutes.
TEST(DiscoverPrograms, LooksUpAtMost19CandidatesAMissingProgramWhateverTheFileHolds) {
    Scene scene;
    scene.cat.progCount = 3;
    std::u16string line = u"<program name='Maths'";
    for (int k = 0; k <= 25; ++k) {
        line += u" p" + platform::DecimalText(k) + u"='\\Nowhere\\" + platform::DecimalText(k) + u"'";
    }
    std::u16string bomb;
    for (int i = 0; i < 2000; ++i) {
        bomb += line + u" />\r\n";
    }
    scene.files.AddTextFile(kProgramCandidates, bomb);
    for (int id = 0; id < 3; ++id) {
        scene.cat.progList[id] = {u"Maths", u"C:\\Gone\\m.exe", u"", u"", u"", kTrue};
    }
    DiscoverPrograms(scene.cat, scene.files);
    const auto& lookups = scene.files.Lookups();
    EXPECT_EQ(
        std::count_if(lookups.begin(), lookups.end(), [](const Text& p) { return p.starts_with(u"C:\\Nowhere"); }),
        3 * 19);
}

TEST(TrimPaths, TrimsBothEndsOfPathsOnlyBelowProgCount) {
    Catalogue cat;
    cat.progCount = 1;
    cat.progList[0] = {u" n ", u"  C:\\a.exe ", u" p ", u" d ", u" C:\\v.exe  ", kTrue};
    cat.progList[1] = {u"", u" C:\\b.exe ", u"", u"", u"", kTrue};
    TrimPaths(cat);
    EXPECT_EQ(cat.progList[0], (ProgramRecord{u" n ", u"C:\\a.exe", u" p ", u" d ", u"C:\\v.exe", kTrue}));
    EXPECT_EQ(cat.progList[1].path, u" C:\\b.exe ");
}

} // namespace
} // namespace catalogue
