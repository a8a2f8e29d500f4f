#include "app/Main.h"
#include "TestSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessSystem.h"

#include <gtest/gtest.h>

#include <functional>

namespace app {
namespace {

using catalogue::kFalse;
using testing_support::CrLf;
using testing_support::kSettings;

// A headless system that lets a test look at the launcher at the moment the window is shown and at the
// moment the process ends.
struct WatchingSystem : platform::HeadlessSystem {
    explicit WatchingSystem(platform::ScreenInfo screen) { SetScreen(screen); }
    std::function<void()> onShow = [] {}, onEnd = [] {};
    void ShowWindow() override {
        onShow();
        HeadlessSystem::ShowWindow();
    }
    void EndProcess() override {
        onEnd();
        HeadlessSystem::EndProcess();
    }
};

// One start of the launcher in C:\Launcher with its data folder, on a 1024 x 768 pixel screen at 15 twips per
// pixel unless told otherwise.
struct StartScene {
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    WatchingSystem system;
    launcher::Launcher app{system, files};

    explicit StartScene(platform::ScreenInfo screen = {1024 * 15.0, 768 * 15.0, 15, 15}) : system(screen) {
        files.AddFolder(u"C:\\Launcher\\data");
    }
    launcher::Form1& form() { return app.form; }
    catalogue::Catalogue& cat() { return app.cat; }
};

// A first start finds Animal Habitats (default id 0) through the candidate-location file.
constexpr char16_t kHabitats[] = u"C:\\Tessaly\\Animal Habitats\\habitats.exe";
void InstallHabitats(platform::HeadlessFileSystem& files) {
    files.AddFile(kHabitats);
    files.AddTextFile(testing_support::kProgramCandidates,
                      CrLf({u"<program name='Animal Habitats' p1='\\Tessaly\\Animal Habitats\\habitats.exe' />"}));
}

TEST(Main, ASecondInstanceReturnsAtOnceAndTouchesNoFile) {
    StartScene s;
    const std::u16string teacher = CrLf({u"<programs>", u"<program name='Teacher' path='C:\\t.exe' show='T' />"});
    s.files.AddTextFile(kSettings, teacher);
    s.files.ClearRecords();
    s.system.SetAnotherInstanceRunning(true);

    EXPECT_FALSE(Main(s.app));
    EXPECT_TRUE(s.files.Lookups().empty() && s.files.Reads().empty());
    EXPECT_EQ(s.files.Files().size(), 1u);
    EXPECT_EQ(s.files.FileText(kSettings), teacher);
    EXPECT_FALSE(s.system.WindowShown());
    EXPECT_EQ(s.form().progInfo.caption(), u"info") << "the window was not even made";
    EXPECT_FALSE(s.form().onSystemClose || s.form().onEndSession) << "nothing that could save is wired";
    EXPECT_EQ(s.cat().progCount, 0);
}

TEST(Main, OpensOnTheFilledGridOnlyAfterTheCatalogueIsLoadedAndSearched) {
    StartScene s;
    InstallHabitats(s.files);
    s.system.onShow = [&] {
        EXPECT_TRUE(s.files.FileExists(kSettings)) << "the first start wrote its settings file";
        EXPECT_EQ(s.cat().progCount, 29);
        EXPECT_EQ(s.cat().progList[0].path, kHabitats) << "discovery ran";
        EXPECT_EQ(s.cat().screenWidthPx, 1024);
        EXPECT_EQ(s.form().progInfo.caption(), u"") << "the description label was emptied first";
        EXPECT_TRUE(s.form().onKeyDown) << "the teacher's key is connected before the window shows";
        EXPECT_EQ(s.form().VScroll.max(), 32767) << "the scroll range is set after showing";
        EXPECT_EQ(s.form().progName[0].caption(), u"prog title") << "the grid is filled after showing";
    };
    ASSERT_TRUE(Main(s.app));
    EXPECT_TRUE(s.system.WindowShown()) << "and the checks above ran";
    EXPECT_FALSE(s.system.Ended());
    EXPECT_EQ(s.form().restoreBut.toolTipText, u"Restore down") << "the maximised layout";
    EXPECT_EQ(s.form().progName.Count(), 29) << "every default program listed";
}

TEST(Main, TheScrollMaximumFromStartUpStaysWhenTheFrameCannotComputeOne) {
    // On a screen 200 pixels wide no tile column fits, so the frame layout cannot set the range and the
    // start-up value progCount - 1 remains.
    StartScene s({200 * 15.0, 768 * 15.0, 15, 15});
    ASSERT_TRUE(Main(s.app));
    EXPECT_EQ(s.cat().screenWidthPx, 200);
    EXPECT_EQ(s.form().VScroll.max(), 28);
}

TEST(Main, AnEmptyCatalogueOpensAnEmptyGrid) {
    StartScene s;
    s.files.AddTextFile(kSettings, u""); // exists, holds no lines
    ASSERT_TRUE(Main(s.app));
    EXPECT_EQ(s.cat().progCount, 0);
    EXPECT_TRUE(s.system.WindowShown());
    EXPECT_FALSE(s.form().progIcon[0].visible || s.form().progName[0].visible || s.form().prVidBut[0].visible);
    EXPECT_EQ(s.files.FileText(kSettings), u"") << "start-up writes nothing over an existing file";
}

TEST(QuitLauncher, EveryWayOutKeepsTheTeachersChangesForTheNextStartWhenTheFileCanBeWritten) {
    for (const int way : {0, 1, 2}) { // the exit button, closing through the system, the end of the session
        for (const bool writable : {true, false}) {
            SCOPED_TRACE(testing::Message() << "way " << way << (writable ? " writable" : " read-only"));
            StartScene s;
            ASSERT_TRUE(Main(s.app));
            const auto before = s.files.FileBytes(kSettings);
            const int hidden = s.cat().order[3];
            s.cat().progList[static_cast<std::size_t>(hidden)].show = kFalse; // as the options dialog applies it
            s.files.SetUnwritable(u"C:\\Launcher\\data", !writable);
            s.files.SetUnwritable(kSettings, !writable);
            bool savedBeforeEnd = false;
            s.system.onEnd = [&] { savedBeforeEnd = s.files.FileBytes(kSettings) != before; };
            platform::HeadlessDriver driver(s.system);
            if (way == 0) {
                driver.Press(s.form().ExitBut, 10, 10);
                driver.Release(s.form().ExitBut, 90, 200); // released away from the button: still exits
            } else {
                (way == 1 ? s.form().onSystemClose : s.form().onEndSession)();
            }
            EXPECT_TRUE(s.system.Ended());
            EXPECT_EQ(savedBeforeEnd, writable) << "the file is written before the process ends";

            StartScene next; // the next start, on the same disk
            next.files = s.files;
            ASSERT_TRUE(Main(next.app));
            EXPECT_EQ(next.cat().progList[static_cast<std::size_t>(hidden)].show == kFalse, writable);
        }
    }
}

} // namespace
} // namespace app
