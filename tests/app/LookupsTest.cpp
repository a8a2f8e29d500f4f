// Look-ups off the window's thread: what a start asks of the files, and that after it only the background
// refreshes do.
#include "TestSupport.h"
#include "app/Main.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Accessibility.h"
#include "launcher/Launching.h"
#include "options/opsFormStuff.h"
#include "options/optForm.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessSystem.h"
#include "platform/headless/HeadlessWorkers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace app {
namespace {

using platform::DecimalText;
using platform::Text;

constexpr int kPrograms = 51;
Text Exe(int id) {
    return u"C:\\Suite\\P" + DecimalText(id) + u"\\p.exe";
}
Text Moved(int id) {
    return u"\\Moved\\P" + DecimalText(id) + u"\\p.exe";
}
Text Video(int id) {
    return u"C:\\Suite\\P" + DecimalText(id) + u"\\video.exe";
}

// 51 programs, all shown (greyed when missing), each with a picture: the even ones installed where the
// settings file says, the odd ones found through the candidate file, every fifth with a player, and
// program 50 installed nowhere.
struct ShareScene {
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    platform::HeadlessSystem system;
    platform::HeadlessWorkers workers;
    launcher::Launcher app{system, files, &workers};
    platform::HeadlessDriver driver{system};

    ShareScene() {
        files.AddFolder(u"C:\\Launcher\\data");
        catalogue::Catalogue cat;
        cat.progCount = kPrograms;
        cat.showall = catalogue::kTrue;
        Text candidates;
        for (int id = 0; id < kPrograms; ++id) {
            const Text picture = u"C:\\Launcher\\data\\p" + DecimalText(id) + u".bmp";
            cat.progList[static_cast<std::size_t>(id)] = {
                u"P" + DecimalText(id), Exe(id), picture, u"About", id % 5 == 0 ? Video(id) : u"", catalogue::kTrue};
            cat.order[static_cast<std::size_t>(id)] = static_cast<std::int16_t>(id);
            files.AddFile(picture, platform::EncodeBmp(platform::Bitmap(8, 8, testing_support::kRed)));
            if (id % 5 == 0) {
                files.AddFile(Video(id));
            }
            if (id % 2 == 0 && id != 50) {
                files.AddFile(Exe(id));
            } else if (id != 50) {
                files.AddFile(u"C:" + Moved(id));
                candidates += u"<program name='P" + DecimalText(id) + u"' p1='" + Moved(id) + u"' />\r\n";
            }
        }
        files.AddTextFile(testing_support::kSettings, catalogue::SettingsText(cat));
        files.AddTextFile(testing_support::kProgramCandidates, candidates);
        app.form.onKeyDown = [this](int key, int shift) { options::Form1_KeyDown(app, key, shift); };
    }
    int Calls() const { return static_cast<int>(files.Lookups().size() + files.Reads().size()); }
    // The slot that shows program id.
    int Slot(int id) {
        for (int k = 0; k < app.form.progName.Count(); ++k) {
            if (app.form.progName[k].visible && app.form.progName[k].tag == DecimalText(id)) {
                return k;
            }
        }
        ADD_FAILURE() << "program " << id << " has no tile";
        return 0;
    }
    bool Greyed(int id) { return app.form.progName[Slot(id)].foreColor == launcher::kGreyedName; }
};

TEST(Lookups, AStartAsksEachQuestionOnceAndAllOnTheWorkers) {
    ShareScene s;
    ASSERT_TRUE(Main(s.app));
    EXPECT_TRUE(s.system.WindowShown());
    // The settings file (read and looked up), both candidate files (looked up, the program one read), 51
    // executables, 11 players and the empty player path of the others, the 25 candidates the odd programs
    // are found at, and 51 pictures.
    const std::set<Text> lookups(s.files.Lookups().begin(), s.files.Lookups().end());
    const std::set<Text> reads(s.files.Reads().begin(), s.files.Reads().end());
    EXPECT_EQ(lookups.size(), s.files.Lookups().size()) << "no path looked up twice";
    EXPECT_EQ(reads.size(), s.files.Reads().size()) << "no file read twice";
    EXPECT_EQ(s.files.Lookups().size(), 1u + 2 + 51 + 12 + 25);
    EXPECT_EQ(s.files.Reads().size(), 1u + 1 + 51);
    EXPECT_EQ(s.workers.Submitted(), s.Calls()) << "none on the window's thread";
    EXPECT_FALSE(s.Greyed(1)) << "found through the candidate file";
    EXPECT_TRUE(s.Greyed(50));
}

TEST(Lookups, AfterStartARefillWheelKeyHoverAndEveryReaderQuestionTouchNoFile) {
    ShareScene s;
    ASSERT_TRUE(Main(s.app));
    s.files.ClearRecords();
    const int submitted = s.workers.Submitted();
    ASSERT_TRUE(s.app.form.VScroll.SetValue(1));
    s.driver.Wheel(s.app.form, -platform::kWheelNotch);
    s.driver.Key(s.app.form, platform::kKeyRight);
    s.driver.Key(s.app.form, platform::kKeyTab);
    s.driver.Key(s.app.form, platform::kKeyEnd);
    s.driver.Move(s.app.form.progIcon[2], 1, 1);
    for (const platform::AccessibleItem& part : launcher::AccessibleParts(s.app)) {
        EXPECT_FALSE(part.name.empty() && part.role != platform::AccessibleItem::Role::StaticText &&
                     part.element != &s.app.form.restoreBut);
    }
    EXPECT_EQ(s.Calls(), 0);
    EXPECT_EQ(s.workers.Submitted(), submitted);
    // The pictures are the same objects at every fill.
    const int id = launcher::TileProgramId(s.app, 0);
    EXPECT_EQ(s.app.form.progIcon[0].picture, s.app.kept.PictureOf(s.app.cat.progList.at(id).picpath));
}

TEST(Lookups, ActivationAndOkAskOnceInTheBackgroundAndRedrawWhatChanged) {
    ShareScene s;
    ASSERT_TRUE(Main(s.app));
    const auto askedOnce = [&s](int submittedBefore) {
        // One question for each executable and player, none for the pictures kept; nothing on the
        // window's thread until the workers answer.
        EXPECT_EQ(s.Calls(), 0);
        EXPECT_EQ(s.workers.Submitted() - submittedBefore, 51 + 11);
        s.workers.Settle();
        EXPECT_EQ(s.files.Lookups().size(), 51u + 11);
        EXPECT_TRUE(s.files.Reads().empty());
        s.files.ClearRecords();
    };
    s.files.ClearRecords();
    s.files.AddFile(Exe(50)); // installed while the launcher runs
    int before = s.workers.Submitted();
    s.app.form.onActivate();
    EXPECT_TRUE(s.Greyed(50)) << "until the answer comes";
    askedOnce(before);
    EXPECT_FALSE(s.Greyed(50));

    ASSERT_TRUE(s.files.EraseFile(Exe(50)));
    s.files.ClearRecords();
    options::optForm form(s.system, 15, 15);
    before = s.workers.Submitted();
    options::ApplyOptions(s.app, form);
    askedOnce(before);
    EXPECT_TRUE(s.Greyed(50));
}

TEST(Lookups, ALookupThatNeverAnswersLetsTheWindowOpenAndItsAnswerComesInLater) {
    for (const Text& stalled : {Exe(0), Text(testing_support::kSettings)}) {
        SCOPED_TRACE(platform::ToUtf8(stalled));
        ShareScene s;
        s.workers.Stall(stalled);
        ASSERT_TRUE(Main(s.app));
        EXPECT_TRUE(s.system.WindowShown());
        EXPECT_TRUE(s.app.form.progIcon[0].visible);
        if (stalled == Exe(0)) {
            EXPECT_TRUE(s.Greyed(0)) << "absent for now";
            s.workers.Release(stalled);
            s.workers.Settle();
            EXPECT_FALSE(s.Greyed(0));
        } else {
            // The built-in catalogue for this start, and the settings file neither overwritten nor saved.
            EXPECT_TRUE(s.app.cat.settingsUnreadable);
            EXPECT_EQ(s.app.cat.progCount, catalogue::kDefaultCount);
        }
    }
}

} // namespace
} // namespace app
