#include "TestSupport.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace catalogue {
namespace {

using testing_support::CrLf;
using testing_support::kProgramCandidates;
using testing_support::kVideoCandidates;
using testing_support::Scene;

bool WasLookedUp(const platform::HeadlessFileSystem& files, std::u16string_view path) {
    const auto& lookups = files.Lookups();
    return std::find(lookups.begin(), lookups.end(), path) != lookups.end();
}

TEST(FindProgramPath, TriesP1ToP19InOrderOnTheLaunchersDrive) {
    const struct {
        const char* what;
        std::u16string line;
        std::vector<std::u16string> existing;
        std::u16string found;
    } cases[] = {
        {"first existing wins",
         u"<program name='Maths' p1='\\A\\m.exe' p2='\\B\\m.exe' p3='\\C\\m.exe' />",
         {u"C:\\B\\m.exe", u"C:\\C\\m.exe"},
         u"C:\\B\\m.exe"},
        {"gaps allowed",
         u"<program name='Maths' p2='\\B\\m.exe' p7='\\G\\m.exe' />",
         {u"C:\\G\\m.exe"},
         u"C:\\G\\m.exe"},
        {"p19 is the last", u"<program name='Maths' p19='\\S\\m.exe' />", {u"C:\\S\\m.exe"}, u"C:\\S\\m.exe"},
        {"p0 never tried", u"<program name='Maths' p0='\\Z\\m.exe' />", {u"C:\\Z\\m.exe"}, u""},
        {"p20 never tried", u"<program name='Maths' p20='\\T\\m.exe' />", {u"C:\\T\\m.exe"}, u""},
        {"empty value skipped", u"<program name='Maths' p1='' p2='\\B\\m.exe' />", {u"C:\\B\\m.exe"}, u"C:\\B\\m.exe"},
        {"name in other case", u"<PROGRAM name='MATHS' p1='\\A\\m.exe' />", {u"C:\\A\\m.exe"}, u"C:\\A\\m.exe"},
        {"other name ignored", u"<program name='Paint' p1='\\A\\m.exe' />", {u"C:\\A\\m.exe"}, u""},
        {"nothing exists", u"<program name='Maths' p1='\\A\\m.exe' />", {}, u""},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.files.AddTextFile(kProgramCandidates, CrLf({u"<locations>", c.line, u"</locations>"}));
        for (const auto& path : c.existing) {
            scene.files.AddFile(path);
        }
        EXPECT_EQ(FindProgramPath(u"maths", scene.cat, scene.files), c.found) << c.what;
        EXPECT_FALSE(WasLookedUp(scene.files, u"C:\\Z\\m.exe")) << c.what;
        EXPECT_FALSE(WasLookedUp(scene.files, u"C:\\T\\m.exe")) << c.what;
    }
}

TEST(FindProgramPath, TheLastOfTwoSameNamedLinesDecides) {
    Scene scene;
    scene.files.AddFile(u"C:\\Old\\m.exe");
    scene.files.AddTextFile(kProgramCandidates, CrLf({u"<program name='Maths' p1='\\Old\\m.exe' />",
                                                      u"<program name='maths' p1='\\New\\m.exe' />"}));
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"");

    scene.files.AddFile(u"C:\\New\\m.exe");
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"C:\\New\\m.exe");
}

TEST(FindProgramPath, LooksOnTheLaunchersOwnDriveOnly) {
    Scene scene;
    scene.cat.appDrive = u"D:";
    scene.files.SetAppFolder(u"D:\\Launcher");
    scene.files.AddTextFile(u"D:\\Launcher\\data\\poss paths.xml", CrLf({u"<program name='Maths' p1='\\A\\m.exe' />"}));
    scene.files.AddFile(u"C:\\A\\m.exe");
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"");
    scene.files.AddFile(u"D:\\A\\m.exe");
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"D:\\A\\m.exe");
}

TEST(FindProgramPath, MissingOrUnreadableCandidateFileGivesNothing) {
    Scene scene;
    scene.files.AddFile(u"C:\\A\\m.exe");
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"");
    scene.files.AddTextFile(kProgramCandidates, CrLf({u"<program name='Maths' p1='\\A\\m.exe' />"}));
    scene.files.SetUnreadable(kProgramCandidates);
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"");
}

TEST(FindProgramPath, SkipsLinesWithoutATag) {
    Scene scene;
    scene.files.AddTextFile(kProgramCandidates,
                            CrLf({u"<locations>", u"   <program name='Maths' p1='\\A\\m.exe' />", u"",
                                  u"<program name='Maths' p1='\\A\\m.exe' p2='\\B\\m.exe' />", u"</locations>"}));
    scene.files.AddFile(u"C:\\B\\m.exe");
    EXPECT_EQ(FindProgramPath(u"Maths", scene.cat, scene.files), u"C:\\B\\m.exe");
}

TEST(FindVideoPath, ReadsTheVideoCandidateFile) {
    Scene scene;
    scene.files.AddTextFile(kProgramCandidates, CrLf({u"<program name='Maths' p1='\\A\\m.exe' />"}));
    scene.files.AddTextFile(kVideoCandidates, CrLf({u"<program name='Maths' p1='\\V\\v.exe' />"}));
    scene.files.AddFile(u"C:\\A\\m.exe");
    scene.files.AddFile(u"C:\\V\\v.exe");
    EXPECT_EQ(FindVideoPath(u"Maths", scene.cat, scene.files), u"C:\\V\\v.exe");
}

// Two programs on the catalogue, one candidate file of each kind.
struct DiscoveryScene : Scene {
    DiscoveryScene() {
        cat.progCount = 3;
        cat.progList[0] = {u"Maths", u"C:\\Old\\m.exe ", u"", u"", u"C:\\Old\\v.exe ", kTrue};
        cat.progList[1] = {u"Help", u"http://www.example.com/help", u"", u"", u"", kFalse};
        cat.progList[2] = {u"Paint", u"C:\\Paint\\p.exe", u"", u"", u"", kFalse};
        files.AddTextFile(testing_support::kProgramCandidates,
                          CrLf({u"<locations>", u"<program name='Maths' p1='\\New\\m.exe' />",
                                u"<program name='Help' p1='\\Help\\h.exe' />",
                                u"<program name='Paint' p1='\\New\\p.exe' />", u"</locations>"}));
        files.AddTextFile(testing_support::kVideoCandidates, CrLf({u"<program name='maths' p1='\\New\\v.exe' />",
                                                                   u"<program name='Help' p1='\\Help\\v.exe' />"}));
        for (const char16_t* path :
             {u"C:\\New\\m.exe", u"C:\\New\\v.exe", u"C:\\Help\\h.exe", u"C:\\Help\\v.exe", u"C:\\New\\p.exe"}) {
            files.AddFile(path);
        }
    }
};

TEST(DiscoverPrograms, ReplacesOnlyMissingPathsAndLeavesEverythingElse) {
    DiscoveryScene scene;
    scene.files.AddFile(u"C:\\Paint\\p.exe");
    DiscoverPrograms(scene.cat, scene.files);

    EXPECT_EQ(scene.cat.progList[0].path, u"C:\\New\\m.exe");
    EXPECT_EQ(scene.cat.progList[0].videopath, u"C:\\New\\v.exe");
    EXPECT_EQ(scene.cat.progList[1].path, u"http://www.example.com/help") << "a web address is never looked up";
    EXPECT_EQ(scene.cat.progList[1].videopath, u"C:\\Help\\v.exe") << "an empty video path is missing";
    EXPECT_EQ(scene.cat.progList[2].path, u"C:\\Paint\\p.exe") << "an existing program is kept";
    EXPECT_EQ(scene.cat.progList[1].show, kFalse) << "show is never changed";
    EXPECT_EQ(scene.files.Reads().size(), 2u) << "each candidate file is read once";
}

TEST(DiscoverPrograms, ExistingPathWithTheWritersBlankIsKept) {
    DiscoveryScene scene;
    scene.files.AddFile(u"C:\\Old\\m.exe");
    scene.files.AddFile(u"C:\\Old\\v.exe");
    DiscoverPrograms(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList[0].path, u"C:\\Old\\m.exe ");
    EXPECT_EQ(scene.cat.progList[0].videopath, u"C:\\Old\\v.exe ");
}

TEST(DiscoverPrograms, AProgramOnADriveThatIsNotReadyIsLookedFor) {
    DiscoveryScene scene;
    scene.cat.progList[0].path = u"A:\\m.exe";
    scene.files.SetDriveNotReady(u"A:");
    DiscoverPrograms(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList[0].path, u"C:\\New\\m.exe");
}

TEST(DiscoverPrograms, WithoutCandidateFilesNothingChanges) {
    DiscoveryScene scene;
    ASSERT_TRUE(scene.files.EraseFile(kProgramCandidates));
    ASSERT_TRUE(scene.files.EraseFile(kVideoCandidates));
    const Catalogue before = scene.cat;
    DiscoverPrograms(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList, before.progList);
}

TEST(DiscoverPrograms, OnlyProgramsBelowProgCount) {
    DiscoveryScene scene;
    scene.cat.progCount = 1;
    DiscoverPrograms(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList[2].path, u"C:\\Paint\\p.exe");
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
