#include "LauncherScene.h"
#include "TestSupport.h"
#include "app/Main.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "options/OptionsList.h"
#include "options/opsFormStuff.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <tuple>
#include <utility>

namespace options {
namespace {

using catalogue::kFalse;
using platform::kLeftButton;
using platform::kRightButton;
using testing_support::CrLf;
using testing_support::kSettings;
using Order = std::vector<Int16>;

// A launcher started on six programs shown in the order 5, 4, 3, 2, 1, 0; program 2 hidden, program 3 not
// installed. Every other executable exists.
struct OptionsScene : testing_support::LauncherScene {
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
    }

    // Opens the dialog with the key combination, lets `act` work inside it, and returns once it is closed.
    void WithOptions(std::function<void(optForm&)> act) {
        system.QueueModalAction([act](platform::Dialog& dialog) { act(static_cast<optForm&>(dialog)); });
        form().onKeyDown(kKeyK, kCtrlShift);
    }
    // Drags row i's name by `dy` pixels and drops it there.
    void DragName(optForm& f, int i, double dy, int button = kLeftButton) {
        driver.Press(f.progLabel[i], 10, 8, button);
        driver.Move(f.progLabel[i], 10, 8 + dy);
        driver.Release(f.progLabel[i], 10, 8 + dy, button);
    }
    Order CatalogueOrder() { return {cat().order.begin(), cat().order.begin() + cat().progCount}; }
};

Order Rows(optForm& f) {
    Order rows;
    for (int i = 0; i < f.progLabel.Count(); ++i) {
        rows.push_back(catalogue::LeadingInt16(f.progLabel[i].tag));
    }
    return rows;
}

TEST(ShowOptions, OnlyCtrlShiftKOpensTheDialogWithOneRowPerProgramInDisplayOrderAndItsTick) {
    OptionsScene scene;
    // Keys as the window delivers them, whatever has the focus.
    const std::pair<int, int> others[] = {{'K', kCtrlShift | platform::kAltMask},
                                          {'K', platform::kCtrlMask},
                                          {'K', platform::kShiftMask},
                                          {'J', kCtrlShift}};
    for (const auto& [key, shift] : others) {
        scene.form().onKeyDown(key, shift);
    }
    EXPECT_EQ(scene.system.ModalsShown(), 0);
    scene.WithOptions([&](optForm& f) {
        EXPECT_TRUE(scene.system.InModal());
        EXPECT_EQ(Rows(f), (Order{5, 4, 3, 2, 1, 0})) << "hidden and missing programs get rows too";
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(f.progLabel[i].caption(), u"Prog " + platform::DecimalText(5 - i));
            EXPECT_EQ(f.progCheck[i].value, i == 3 ? 0 : 1);
            EXPECT_TRUE(f.progLabel[i].visible && f.progCheck[i].visible);
        }
        f.cancelBut.onClick();
    });
    EXPECT_FALSE(scene.system.InModal());

    // No programs, no rows: not even the design row shows.
    scene.cat().progCount = 0;
    scene.WithOptions([](optForm& f) {
        EXPECT_FALSE(f.progLabel[0].visible || f.progCheck[0].visible);
        f.OKbut.onClick();
    });
    EXPECT_EQ(scene.system.ModalsLeftOpen(), 0);
}

TEST(ShowOptions, SaysWhyChangesWillNotBeSavedOnlyWhenASaveWouldKeepNothing) {
    // What is read-only or missing, and the reason the note gives ("" for no note).
    const std::pair<std::string, std::u16string> cases[] = {
        {"", u""},
        {"folder", u""}, // written in place
        {"file", u"the settings file is read-only."},
        {"folder file", u"the settings file is read-only."},
        {"folder missing", u"the launcher's data folder is read-only."},
        {"unreadable", u"the settings file cannot be read."},
    };
    for (const auto& [what, reason] : cases) {
        SCOPED_TRACE(what);
        OptionsScene scene;
        const auto has = [&what](const char* word) { return what.find(word) != std::string::npos; };
        ASSERT_TRUE(!has("missing") || scene.files.EraseFile(kSettings));
        scene.files.SetUnwritable(u"C:\\Launcher\\data", has("folder"));
        scene.files.SetUnwritable(kSettings, has("file"));
        scene.cat().settingsUnreadable = has("unreadable");
        const auto files = scene.files.Files();
        scene.WithOptions([&](optForm& f) {
            EXPECT_EQ(f.saveNote.visible ? f.saveNote.caption() : u"",
                      reason.empty() ? u"" : u"Changes made here will not be saved on this computer: " + reason);
            f.cancelBut.onClick();
        });
        EXPECT_EQ(scene.files.Files(), files) << "the probe leaves nothing behind";
    }
}

TEST(DragName, ReordersRowsByWhereTheNameIsDropped) {
    // Rows hold, top to bottom, the programs 5 4 3 2 1 0 (row index = position). The row dragged, the pixels
    // it is moved, the button held and the order after the drop.
    const std::tuple<const char*, int, double, int, Order> cases[] = {
        {"row 4 between rows 1 and 2", 4, -40, kLeftButton, {5, 4, 1, 3, 2, 0}},
        {"below the last row", 1, 200, kLeftButton, {5, 3, 2, 1, 0, 4}},
        {"above the first row", 3, -100, kLeftButton, {2, 5, 4, 3, 1, 0}},
        {"onto a lower row's top", 1, 32, kLeftButton, {5, 3, 4, 2, 1, 0}},
        {"onto a higher row's top", 3, -32, kLeftButton, {5, 4, 2, 3, 1, 0}},
        {"no move at all", 2, 0, kLeftButton, {5, 4, 3, 2, 1, 0}},
        {"right button drags too", 4, -40, kRightButton, {5, 4, 1, 3, 2, 0}},
        {"no button held: the name stays", 4, -40, 0, {5, 4, 3, 2, 1, 0}},
    };
    for (const auto& [what, row, dy, button, order] : cases) {
        SCOPED_TRACE(what);
        OptionsScene scene;
        scene.WithOptions([&](optForm& f) {
            scene.DragName(f, row, dy, button);
            EXPECT_EQ(Rows(f), order);
            for (int i = 0; i < f.progLabel.Count(); ++i) {
                EXPECT_DOUBLE_EQ(f.progLabel[i].top, 48 + 16 * i) << "every label back on its row";
                EXPECT_EQ(f.progCheck[i].value, order[static_cast<std::size_t>(i)] == 2 ? 0 : 1)
                    << "ticks move with names";
            }
            f.OKbut.onClick();
        });
        EXPECT_EQ(scene.CatalogueOrder(), order);
    }
}

TEST(OkButton, AppliesTheRowsThatResetAnsweredNoKeptAndRefillsTheGridWhileCancelAndTheCloseBoxDropThem) {
    enum Close { kOk, kCancel, kCloseBox };
    for (const Close close : {kOk, kCancel, kCloseBox}) {
        SCOPED_TRACE(close);
        OptionsScene scene;
        ASSERT_EQ(scene.ShownIds(), (std::vector<int>{5, 4, 3, 1, 0}));
        const auto before = scene.files.FileBytes(kSettings);
        scene.WithOptions([&](optForm& f) {
            f.progCheck[1].value = 0;   // hide Prog 4
            f.progCheck[3].value = 1;   // show Prog 2
            f.progCheck[4].value = 0;   // hide Prog 1
            scene.DragName(f, 5, -100); // Prog 0 to the top
            f.Command1.onClick();       // Reset, answered No (the answer when none is queued)
            EXPECT_FALSE(f.closed());
            close == kOk ? f.OKbut.onClick() : close == kCancel ? f.cancelBut.onClick() : f.onSystemClose();
        });
        ASSERT_EQ(scene.system.MessageBoxes().size(), 1u);
        const auto& box = scene.system.MessageBoxes()[0];
        EXPECT_EQ((std::pair{box.title, box.style}), (std::pair{platform::Text(u"Reset The Launcher"), 52}));
        EXPECT_EQ(box.text,
                  u"This will reset the order of the programs and make the Launcher search for any new videos "
                  u"or programs within the Collection that have been installed.\r\r" // two CRs, no LF
                  u"Are you sure you want to reset the Collection Launcher?");
        const bool ok = close == kOk;
        EXPECT_EQ(scene.CatalogueOrder(), (ok ? Order{0, 5, 4, 3, 2, 1} : Order{5, 4, 3, 2, 1, 0}));
        EXPECT_EQ(scene.ShownIds(), (ok ? std::vector<int>{0, 5, 3, 2} : std::vector<int>{5, 4, 3, 1, 0}));
        EXPECT_EQ(scene.form().progName.Count(), ok ? 4 : 5) << "the old slots were removed before the refill";
        EXPECT_EQ(scene.files.FileBytes(kSettings), before) << "only the exit button writes the settings file";
        EXPECT_EQ(scene.system.ModalsLeftOpen(), 0);
    }
}

TEST(LocateProgram, OnlyAChosenFileReplacesThePathAndItStaysAfterCancel) {
    constexpr char16_t kFound[] = u"C:\\Found\\Kid's Maths.exe";
    // Whether Prog 3 (row 2) is dragged to the top first, the row double-clicked (or, focused as the dialog
    // opens, located with Ctrl+L), its program, and the choice in the file dialog (nothing: cancelled).
    const std::tuple<const char*, bool, bool, int, int, std::optional<std::u16string>> cases[] = {
        {"chosen for the dragged row", true, false, 0, 3, kFound},
        {"file dialog cancelled", false, false, 1, 4, std::nullopt},
        {"empty choice", false, false, 1, 4, u""},
        {"Ctrl+L on the focused row", true, true, 0, 3, kFound},
    };
    for (const auto& [what, dragFirst, byKeys, row, id, choice] : cases) {
        SCOPED_TRACE(what);
        OptionsScene scene;
        scene.files.AddFile(kFound);
        scene.system.QueueOpenFileChoice(choice);
        const std::u16string path = choice && !choice->empty() ? *choice : u"C:\\Apps\\p4.exe";
        scene.WithOptions([&](optForm& f) {
            if (dragFirst) {
                scene.DragName(f, 2, -60);
            }
            if (byKeys) {
                scene.driver.Key(f, kKeyL, platform::kCtrlMask);
            } else {
                f.progLabel[row].handlers.doubleClick(platform::PointerEvent{row, kLeftButton, 0, 150, 120});
            }
            f.cancelBut.onClick();
        });
        ASSERT_EQ(scene.system.OpenFileRequests().size(), 1u);
        const platform::OpenFileRequest& r = scene.system.OpenFileRequests()[0];
        EXPECT_EQ((std::tuple{r.title, r.filter, r.flags}),
                  (std::tuple{u"Find the exe for Prog " + platform::DecimalText(id), u"Programs|*.exe", 2101252}));
        EXPECT_EQ(scene.cat().progList[static_cast<std::size_t>(id)].path, path);
        EXPECT_EQ(scene.CatalogueOrder(), (Order{5, 4, 3, 2, 1, 0})) << "Cancel kept the order";
    }
}

// Programs (forty unless given) in the settings file, installed, in the order of their ids.
struct LongListScene : testing_support::LauncherScene {
    explicit LongListScene(int count = 40) {
        std::u16string order = u"<order";
        for (int id = 0; id < count; ++id) {
            order += u" p" + platform::DecimalText(id) + u"='" + platform::DecimalText(id) + u"'";
        }
        std::u16string text = u"<programs>\r\n" + order + u" />\r\n";
        for (int id = 0; id < count; ++id) {
            const std::u16string exe = u"C:\\Apps\\p" + platform::DecimalText(id) + u".exe";
            text += u"<program name='P" + platform::DecimalText(id) + u"' path='" + exe + u"' show='T' />\r\n";
            files.AddFile(exe);
        }
        files.AddTextFile(kSettings, text + u"</programs>\r\n");
        EXPECT_TRUE(app::Main(*app));
    }
    Order WithList(const std::function<void(optForm&)>& act) {
        system.QueueModalAction([act](platform::Dialog& dialog) { act(static_cast<optForm&>(dialog)); });
        form().onKeyDown(kKeyK, kCtrlShift);
        return {cat().order.begin(), cat().order.begin() + cat().progCount};
    }
};

TEST(OptionsList, FortyRowsScrollAndAltUpMovesTheFocusedRowExactlyAsADragToThatPlace) {
    LongListScene keys, drag;
    const Order byKeys = keys.WithList([&](optForm& f) {
        EXPECT_TRUE(f.listScroll.visible && f.progLabel[28].visible && !f.progLabel[29].visible);
        for (int i = 0; i < 39; ++i) { // from the first row, focused as the dialog opens
            keys.driver.Key(f, platform::kKeyTab);
        }
        EXPECT_EQ(f.listScroll.value(), 11) << "the 40th row scrolled into view";
        EXPECT_TRUE(f.progCheck[39].visible && !f.progCheck[10].visible);
        keys.driver.Key(f, platform::kKeyUp, platform::kAltMask);
        EXPECT_EQ(f.focused, &f.progCheck[38]);
        keys.driver.Key(f, platform::kKeyEnter);
    });
    const Order byDrag = drag.WithList([&](optForm& f) {
        drag.driver.Wheel(f, -60, 100, 100);
        drag.driver.Wheel(f, -480, 0, 0); // beside the list: nothing
        drag.driver.Wheel(f, -300, 100, 100);
        EXPECT_EQ(f.listScroll.value(), 9) << "three rows a whole notch";
        drag.driver.Wheel(f, -120, 100, 100);
        EXPECT_EQ(f.listScroll.value(), 11) << "no further than the last row";
        EXPECT_DOUBLE_EQ(f.progLabel[39].top, 48 + 16 * 28);
        drag.driver.Press(f.progLabel[39], 10, 8);
        drag.driver.Move(f.progLabel[39], 10, 8 - 17);
        drag.driver.Release(f.progLabel[39], 10, 8 - 17);
        f.OKbut.onClick();
    });
    EXPECT_EQ(byKeys, byDrag);
    EXPECT_EQ(byKeys[38], 39);
    LongListScene design(29);
    design.WithList([](optForm& f) {
        EXPECT_FALSE(f.listScroll.visible) << "29 rows fit the list";
        f.cancelBut.onClick();
    });

    // A name held below the shown rows scrolls the list a row a tick, and lands where it is dropped.
    const Order held = drag.WithList([&](optForm& f) {
        drag.driver.Press(f.progLabel[28], 10, 8);
        drag.driver.Move(f.progLabel[28], 10, 8 + 30);
        EXPECT_TRUE(f.edgeScroll.enabled);
        f.edgeScroll.onTick();
        f.edgeScroll.onTick();
        EXPECT_EQ(f.listScroll.value(), 2);
        drag.driver.Release(f.progLabel[28], 10, 8 + 30);
        EXPECT_FALSE(f.edgeScroll.enabled);
        f.OKbut.onClick();
    });
    EXPECT_EQ(held[31], 28) << "dropped below row 31, the last shown after two rows' scroll";
}

TEST(OptionsList, TheFirstRowHasTheFocusAndTheRowKeysMoveItWhileReadersHearEachRowAsATickBox) {
    LongListScene s;
    s.WithList([&](optForm& f) {
        EXPECT_TRUE(FocusedRow(f) == 0 && f.keyboardCues && f.progLabel[0].focusRing && f.progCheck[0].focusRing);
        // Key, then the row focused and the list's scroll value.
        const std::tuple<int, int, int> keys[] = {
            {platform::kKeyUp, 0, 0},         {platform::kKeyDown, 1, 0},   {platform::kKeyEnd, 39, 11},
            {platform::kKeyPageUp, 10, 10},   {platform::kKeyHome, 0, 0},   {platform::kKeyPageDown, 29, 1},
            {platform::kKeyPageDown, 39, 11}, {platform::kKeyDown, 39, 11}, {platform::kKeyHome, 0, 0}};
        for (const auto& [key, row, value] : keys) {
            s.driver.Key(f, key);
            EXPECT_EQ((std::array{FocusedRow(f), int{f.listScroll.value()}}), (std::array{row, value})) << key;
        }
        EXPECT_FALSE(f.progLabel[39].focusRing) << "the ring left the rows it was on";
        s.driver.Key(f, platform::kKeySpace);
        s.driver.Key(f, platform::kKeyDown, platform::kAltMask);
        const std::vector<platform::AccessibleItem> parts = AccessibleRows(f);
        ASSERT_EQ(parts.size(), 44u) << "the list, 40 rows and three buttons";
        EXPECT_EQ(platform::ToUtf8(parts[0].name + u"|" + parts[0].description),
                  "Program Order|Drag program names around to change order");
        EXPECT_EQ(platform::ToUtf8(parts[2].name + u"|" + parts[2].description), "P0|2 of 40") << "moved";
        EXPECT_TRUE(parts[2].focused && !parts[2].checked && parts[2].role == platform::AccessibleItem::Role::CheckBox);
        EXPECT_TRUE(parts[1].checked && !parts[1].offscreen && parts[30].offscreen);
        parts[1].doDefaultAction();
        EXPECT_EQ(f.progCheck[0].value, 0);
        f.cancelBut.onClick();
    });
}

TEST(OptionsList, AQuickFingerScrollsTheListAndOneHeldStillOnANamePicksItUp) {
    LongListScene s;
    s.driver.UsePointer(platform::PointerSource::Touch);
    const Order order = s.WithList([&](optForm& f) {
        s.driver.Press(f.progLabel[5], 10, 8);
        s.driver.Move(f.progLabel[5], 10, 8 - 50);
        s.driver.Release(f.progLabel[5], 10, 8 - 50);
        EXPECT_EQ(f.listScroll.value(), 3) << "the rows follow the finger, none picked up";
        s.driver.Press(f.progLabel[4], 10, 8);
        s.driver.Advance(platform::kTouchHoldMs);
        s.driver.Move(f.progLabel[4], 10, 8 + 40);
        s.driver.Release(f.progLabel[4], 10, 8 + 40);
        EXPECT_EQ(f.listScroll.value(), 3) << "a held name drags instead of scrolling";
        f.OKbut.onClick();
    });
    EXPECT_EQ((Order{order.begin() + 3, order.begin() + 8}), (Order{3, 5, 6, 4, 7}));
}

TEST(ResetLauncher, YesRebuildsTheFirstStartFromTheRightDataFolderAndLosesLocatedPaths) {
    // The launcher's folder and its data folder.
    const std::pair<const char16_t*, const char16_t*> cases[] = {{u"C:\\Launcher", u"C:\\Launcher\\data\\"},
                                                                 {u"D:\\", u"D:\\data\\"}};
    for (const auto& [folder, data] : cases) {
        SCOPED_TRACE(platform::ToUtf8(folder));
        platform::HeadlessSystem system;
        platform::HeadlessFileSystem files(folder);
        const std::u16string settings = std::u16string(data) + u"progdata.xml";
        files.AddTextFile(settings, CrLf({u"<programs>", u"<program name='Old' path='C:\\o.exe' show='T' />"}));
        launcher::Launcher app(system, files);
        ASSERT_TRUE(app::Main(app));
        ASSERT_EQ(app.cat.progCount, 1);
        app.cat.progCount = 35; // as a bigger catalogue: the defaults are written without its extra slots
        system.QueueMessageBoxAnswer(platform::kAnswerYes);
        system.QueueModalAction([&](platform::Dialog& dialog) { static_cast<optForm&>(dialog).Command1.onClick(); });
        app.form.onKeyDown(kKeyK, kCtrlShift);

        EXPECT_EQ(system.ModalsLeftOpen(), 0) << "the dialog closed before the reset";
        EXPECT_EQ(app.cat.progCount, 29);
        EXPECT_EQ(app.cat.progList[0].path, platform::Text(folder).substr(0, 2) + u"\\Program Files\\Tessaly\\Animal "
                                                                                  u"Habitats\\habitats.exe");
        EXPECT_EQ(app.cat.progList[0].picpath.rfind(data, 0), 0u);
        EXPECT_EQ(catalogue::SplitLines(files.FileText(settings).value_or(u"")).size(), 33u);
        EXPECT_EQ(app.form.progName.Count(), 29) << "the frame and grid were rebuilt";
    }
}

} // namespace
} // namespace options
