#include "LauncherScene.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Module1.h"
#include "options/opsFormStuff.h"
#include "platform/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

namespace options {
namespace {

using catalogue::kFalse;
using catalogue::kTrue;
using testing_support::CrLf;

constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";

// A launcher started on six programs shown in the order 5, 4, 3, 2, 1, 0; program 2 hidden, program 3 not
// installed. Every other executable exists.
struct OptionsScene : testing_support::LauncherScene {
    platform::HeadlessDriver driver{system};

    OptionsScene() {
        std::u16string text = u"<programs>\r\n<options showall='True' />\r\n"
                              u"<order p0='5' p1='4' p2='3' p3='2' p4='1' p5='0' />\r\n";
        for (int id = 0; id < 6; ++id) {
            const std::u16string n = platform::DecimalText(id);
            text += u"<program name='Prog " + n + u"' path='C:\\Apps\\p" + n + u".exe' show='" +
                    (id == 2 ? u"F" : u"T") + u"' />\r\n";
            if (id != 3) {
                files.AddFile(u"C:\\Apps\\p" + n + u".exe");
            }
        }
        files.AddTextFile(kSettings, text + u"</programs>\r\n");
        EXPECT_TRUE(app::Main(*app));
        driver.Watch(form().SameProgWaitTimer);
    }

    // Opens the dialog with the key combination, lets `act` work inside it, and returns once it is closed.
    void WithOptions(std::function<void(optForm&)> act) {
        system.QueueModalAction([act](platform::Dialog& dialog) { act(static_cast<optForm&>(dialog)); });
        form().onKeyDown(kKeyK, kCtrlShift);
    }

    std::vector<std::u16string> Captions(optForm& f) {
        std::vector<std::u16string> out;
        for (int i = 0; i < f.progLabel.Count(); ++i) {
            out.push_back(f.progLabel[i].caption());
        }
        return out;
    }
    std::vector<int> Ticks(optForm& f) {
        std::vector<int> out;
        for (int i = 0; i < f.progCheck.Count(); ++i) {
            out.push_back(f.progCheck[i].value);
        }
        return out;
    }
    std::vector<std::u16string> VisibleTileNames() {
        std::vector<std::u16string> out;
        for (int k = 0; k < form().progName.Count(); ++k) {
            if (form().progName[k].visible) {
                out.push_back(form().progName[k].caption());
            }
        }
        return out;
    }
    std::vector<launcher::Int16> Order() { return {cat().order.begin(), cat().order.begin() + cat().progCount}; }
};

TEST(OptionsKey, OnlyCtrlShiftKOpensTheDialog) {
    const struct {
        int key, shift;
        bool opens;
    } cases[] = {
        {'K', kCtrlShift, true},           {'K', kCtrlShift | platform::kAltMask, false},
        {'K', platform::kCtrlMask, false}, {'K', platform::kShiftMask, false},
        {'J', kCtrlShift, false},
    };
    for (const auto& c : cases) {
        OptionsScene scene;
        scene.form().onKeyDown(c.key, c.shift); // as the window delivers keys, whatever has the focus
        EXPECT_EQ(scene.system.ModalsShown(), c.opens ? 1 : 0) << c.key << " " << c.shift;
    }
}

TEST(ShowOptions, BuildsOneRowPerProgramInDisplayOrderWithItsTick) {
    OptionsScene scene;
    scene.WithOptions([&](optForm& f) {
        EXPECT_TRUE(scene.system.InModal());
        EXPECT_EQ(f.caption, u"Tessaly Collection Launcher - Teacher Options");
        EXPECT_EQ(scene.Captions(f),
                  (std::vector<std::u16string>{u"Prog 5", u"Prog 4", u"Prog 3", u"Prog 2", u"Prog 1", u"Prog 0"}));
        EXPECT_EQ(scene.Ticks(f), (std::vector<int>{1, 1, 1, 0, 1, 1})) << "hidden and missing programs get rows";
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(f.progLabel[i].tag, platform::DecimalText(5 - i));
            EXPECT_DOUBLE_EQ(f.progLabel[i].top, 48 + 16 * i);
            EXPECT_DOUBLE_EQ(f.progCheck[i].top, 48 + 16 * i);
            EXPECT_DOUBLE_EQ(f.progLabel[i].left, 40);
            EXPECT_DOUBLE_EQ(f.progCheck[i].left, 184);
            EXPECT_TRUE(f.progLabel[i].visible && f.progCheck[i].visible);
        }
        f.cancelBut.onClick();
    });
    EXPECT_EQ(scene.system.ModalsLeftOpen(), 0);
    EXPECT_FALSE(scene.system.InModal());
}

TEST(DragName, ReordersRowsByWhereTheNameIsDropped) {
    // Rows hold, top to bottom, the programs 5 4 3 2 1 0 (row index = position).
    const struct {
        const char* what;
        int row;
        double dy; // pixels moved
        int button;
        std::vector<launcher::Int16> order;
    } cases[] = {
        {"row 4 between rows 1 and 2", 4, -40, platform::kLeftButton, {5, 4, 1, 3, 2, 0}},
        {"below the last row", 1, 200, platform::kLeftButton, {5, 3, 2, 1, 0, 4}},
        {"above the first row", 3, -100, platform::kLeftButton, {2, 5, 4, 3, 1, 0}},
        {"onto a lower row's top", 1, 32, platform::kLeftButton, {5, 3, 4, 2, 1, 0}},
        {"onto a higher row's top", 3, -32, platform::kLeftButton, {5, 4, 2, 3, 1, 0}},
        {"no move at all", 2, 0, platform::kLeftButton, {5, 4, 3, 2, 1, 0}},
        {"right button drags too", 4, -40, platform::kRightButton, {5, 4, 1, 3, 2, 0}},
    };
    for (const auto& c : cases) {
        OptionsScene scene;
        scene.WithOptions([&](optForm& f) {
            platform::Label& name = f.progLabel[c.row];
            scene.driver.Press(name, 10, 8, c.button);
            if (c.dy != 0) {
                scene.driver.Move(name, 10, 8 + c.dy);
            }
            scene.driver.Release(name, 10, 8 + c.dy, c.button);
            std::vector<launcher::Int16> rows;
            for (int i = 0; i < f.progLabel.Count(); ++i) {
                rows.push_back(catalogue::LeadingInt16(f.progLabel[i].tag));
                EXPECT_DOUBLE_EQ(f.progLabel[i].top, 48 + 16 * i) << c.what << ": every label back on its row";
                EXPECT_EQ(f.progCheck[i].value, rows.back() == 2 ? 0 : 1) << c.what << ": ticks move with names";
            }
            EXPECT_EQ(rows, c.order) << c.what;
            f.OKbut.onClick();
        });
        EXPECT_EQ(scene.Order(), c.order) << c.what;
    }
}

TEST(DragName, AMoveWithoutAButtonDoesNothing) {
    OptionsScene scene;
    scene.WithOptions([&](optForm& f) {
        progLabel_MouseMove(*scene.app, f, platform::PointerEvent{2, 0, 0, 10, 900});
        EXPECT_DOUBLE_EQ(f.progLabel[2].top, 80);
        f.cancelBut.onClick();
    });
}

TEST(OkButton, AppliesOrderAndTicksAndRefillsTheGridAtOnce) {
    OptionsScene scene;
    ASSERT_EQ(scene.VisibleTileNames(),
              (std::vector<std::u16string>{u"Prog 5", u"Prog 4", u"Prog 3", u"Prog 1", u"Prog 0"}));
    const auto before = scene.files.FileBytes(kSettings);
    scene.WithOptions([&](optForm& f) {
        f.progCheck[1].value = 0; // hide Prog 4
        f.progCheck[3].value = 1; // show Prog 2
        scene.driver.Press(f.progLabel[5], 10, 8);
        scene.driver.Move(f.progLabel[5], 10, -100);
        scene.driver.Release(f.progLabel[5], 10, -100);
        f.OKbut.onClick();
    });
    EXPECT_EQ(scene.Order(), (std::vector<launcher::Int16>{0, 5, 4, 3, 2, 1}));
    EXPECT_EQ(scene.cat().progList[4].show, kFalse);
    EXPECT_EQ(scene.cat().progList[2].show, kTrue);
    EXPECT_EQ(scene.VisibleTileNames(),
              (std::vector<std::u16string>{u"Prog 0", u"Prog 5", u"Prog 3", u"Prog 2", u"Prog 1"}));
    EXPECT_EQ(scene.form().progName.Count(), 5) << "the old slots were removed before the refill";
    EXPECT_EQ(scene.files.FileBytes(kSettings), before) << "only the exit button writes the settings file";

    app::QuitLauncher(*scene.app);
    const auto saved = scene.files.FileText(kSettings);
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find(u"<program name='Prog 4' path='C:\\Apps\\p4.exe' show='F' />"), std::u16string::npos);
    EXPECT_NE(saved->find(u"<order p0='0' p1='5' "), std::u16string::npos);
}

TEST(CancelButton, LeavesTheCatalogueAsItWas) {
    for (const bool systemClose : {false, true}) {
        OptionsScene scene;
        const auto before = scene.cat().progList;
        scene.WithOptions([&](optForm& f) {
            scene.driver.Press(f.progLabel[0], 10, 8);
            scene.driver.Move(f.progLabel[0], 10, 200);
            scene.driver.Release(f.progLabel[0], 10, 200);
            f.progCheck[0].value = 0;
            systemClose ? f.onSystemClose() : f.cancelBut.onClick();
        });
        EXPECT_EQ(scene.Order(), (std::vector<launcher::Int16>{5, 4, 3, 2, 1, 0}));
        EXPECT_EQ(scene.cat().progList, before);
        EXPECT_EQ(scene.system.ModalsLeftOpen(), 0);
    }
}

TEST(LocateProgram, AskedForTheDraggedProgramAndKeptAfterCancel) {
    OptionsScene scene;
    scene.files.AddFile(u"C:\\Found\\Kid's Maths.exe");
    scene.system.QueueOpenFileChoice(u"C:\\Found\\Kid's Maths.exe");
    scene.WithOptions([&](optForm& f) {
        // Drag the not-installed Prog 3 (row 2) to the top, then double click it where it now stands.
        scene.driver.Press(f.progLabel[2], 10, 8);
        scene.driver.Move(f.progLabel[2], 10, -60);
        scene.driver.Release(f.progLabel[2], 10, -60);
        progLabel_DblClick(*scene.app, f, platform::PointerEvent{0, platform::kLeftButton, 0, 150, 120});
        f.cancelBut.onClick();
    });
    ASSERT_EQ(scene.system.OpenFileRequests().size(), 1u);
    const platform::OpenFileRequest& request = scene.system.OpenFileRequests()[0];
    EXPECT_EQ(request.title, u"Find the exe for Prog 3");
    EXPECT_EQ(request.filter, u"Programs|*.exe");
    EXPECT_EQ(request.flags, 2101252);
    EXPECT_EQ(scene.cat().progList[3].path, u"C:\\Found\\Kid's Maths.exe");
    EXPECT_EQ(scene.Order(), (std::vector<launcher::Int16>{5, 4, 3, 2, 1, 0})) << "Cancel kept the order";

    // The next fill lists it as installed, and its tile starts the located program.
    launcher::LayoutTiles(*scene.app);
    launcher::LaunchProgram(*scene.app, 2);
    ASSERT_EQ(scene.system.Starts().size(), 1u);
    EXPECT_EQ(scene.system.Starts()[0].path, u"C:\\Found\\Kid's Maths.exe");
}

TEST(LocateProgram, CancellingTheFileDialogChangesNothing) {
    OptionsScene scene;
    scene.WithOptions([&](optForm& f) {
        progLabel_DblClick(*scene.app, f, platform::PointerEvent{1, platform::kLeftButton, 0, 10, 10});
        f.OKbut.onClick();
    });
    EXPECT_EQ(scene.system.OpenFileRequests().size(), 1u);
    EXPECT_EQ(scene.cat().progList[4].path, u"C:\\Apps\\p4.exe");
}

TEST(ResetLauncher, NoKeepsTheDialogAndItsUnsavedRows) {
    OptionsScene scene;
    scene.system.QueueMessageBoxAnswer(platform::kAnswerNo);
    scene.WithOptions([&](optForm& f) {
        f.progCheck[0].value = 0;
        f.Command1.onClick();
        EXPECT_FALSE(f.closed());
        EXPECT_EQ(f.progCheck[0].value, 0);
        f.OKbut.onClick();
    });
    ASSERT_EQ(scene.system.MessageBoxes().size(), 1u);
    const auto& box = scene.system.MessageBoxes()[0];
    EXPECT_EQ(box.title, u"Reset The Launcher");
    EXPECT_EQ(box.style, 52);
    EXPECT_EQ(box.text.rfind(u"This will reset", 0), 0u);
    EXPECT_EQ(box.text.back(), u'?');
    EXPECT_NE(box.text.find(u"installed.\r\rAre you sure"), std::u16string::npos) << "two CRs and no LF";
    EXPECT_EQ(scene.cat().progList[5].show, kFalse) << "the unticked row was applied by OK";
}

TEST(ResetLauncher, YesRestoresTheFirstStartAndLosesLocatedPaths) {
    OptionsScene scene;
    scene.cat().progList[1].path = u"C:\\Elsewhere\\p1.exe";
    scene.system.QueueMessageBoxAnswer(platform::kAnswerYes);
    scene.WithOptions([&](optForm& f) { f.Command1.onClick(); });

    EXPECT_EQ(scene.system.ModalsLeftOpen(), 0);
    EXPECT_EQ(scene.cat().progCount, 29);
    EXPECT_EQ(scene.cat().order[0], 28) << "the web link comes first again";
    EXPECT_EQ(scene.cat().showall, kTrue);
    EXPECT_EQ(scene.cat().progList[1].name, u"Bridge Builder");
    EXPECT_EQ(scene.cat().progList[1].path, u"C:\\Program Files\\Tessaly\\Bridge Builder\\bridges.exe");
    const auto text = scene.files.FileText(kSettings);
    ASSERT_TRUE(text);
    EXPECT_EQ(catalogue::SplitLines(*text).size(), 33u);
    EXPECT_EQ(scene.VisibleTileNames().size(), 29u) << "the frame and grid were rebuilt";
}

TEST(ResetLauncher, AtTheRootOfADriveDeletesTheRightFile) {
    platform::HeadlessSystem system;
    platform::HeadlessFileSystem files(u"D:\\");
    files.AddTextFile(u"D:\\data\\progdata.xml",
                      CrLf({u"<programs>", u"<program name='Old' show='T' />", u"</programs>"}));
    launcher::Launcher app(system, files);
    ASSERT_TRUE(app::Main(app));
    ASSERT_EQ(app.cat.progCount, 1);
    system.QueueMessageBoxAnswer(platform::kAnswerYes);
    system.QueueModalAction([&](platform::Dialog& dialog) { static_cast<optForm&>(dialog).Command1.onClick(); });
    ShowOptions(app);
    EXPECT_EQ(app.cat.progCount, 29);
    EXPECT_EQ(app.cat.progList[0].picpath.rfind(u"D:\\data\\", 0), 0u);
}

TEST(ShowOptions, AnEmptyCatalogueShowsNoRows) {
    testing_support::LauncherScene scene;
    scene.files.AddTextFile(kSettings, u"");
    ASSERT_TRUE(app::Main(*scene.app));
    scene.system.QueueModalAction([](platform::Dialog& dialog) {
        auto& f = static_cast<optForm&>(dialog);
        EXPECT_FALSE(f.progLabel[0].visible);
        EXPECT_FALSE(f.progCheck[0].visible);
        f.OKbut.onClick();
    });
    ShowOptions(*scene.app);
    EXPECT_EQ(scene.cat().progCount, 0);
}

} // namespace
} // namespace options
