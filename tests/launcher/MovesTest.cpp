#include "LauncherScene.h"
#include "launcher/Frame.h"
#include "launcher/Tiles.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>

namespace launcher {
namespace {

using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;
using platform::WindowState;
using testing_support::LauncherScene;
using Point = std::array<double, 2>;
using Geometry = std::array<double, 4>; // left, top, width, height in twips

// The elements that move and resize the window. The title bar reports pointer positions in pixels, the
// others in twips; the driver takes pixels from the element's corner for all of them.
enum Grip { kTitleBar, kTopStrip, kTitleText, kRightEdge, kBottomEdge, kLeftEdge };

platform::Element& Element(LauncherScene& s, Grip grip) {
    Form1& f = s.form();
    return *std::array<platform::Element*, 6>{&f.topBar,      &f.topSmoother, &f.topText,
                                              &f.rightBorder, &f.botBar,      &f.leftBorder}[grip];
}

// A press at `from` and a move to `to`. Button 0: only the move, as of a pointer passing over.
void Drag(LauncherScene& s, Grip grip, Point from, Point to, int button = kLeftButton) {
    if (button != 0) {
        s.driver.Press(Element(s, grip), from[0], from[1], button);
    }
    s.driver.Move(Element(s, grip), to[0], to[1]);
}

Geometry Window(const LauncherScene& s) {
    return {s.system.WindowLeft(), s.system.WindowTop(), s.system.WindowWidth(), s.system.WindowHeight()};
}

// Lists `count` programs on web addresses (installed without any file), scrolls to row 2 without a
// refill, and from then on counts the scroll bar's change events instead of refilling.
std::shared_ptr<int> ListAndScroll(LauncherScene& s, int count) {
    s.cat().progCount = static_cast<std::int16_t>(count);
    for (int id = 0; id < count; ++id) {
        s.cat().progList[static_cast<std::size_t>(id)] = {u"", u"http://example.org/", u"", u"", u"", catalogue::kTrue};
        s.cat().order[static_cast<std::size_t>(id)] = static_cast<std::int16_t>(id);
    }
    auto changes = std::make_shared<int>(0);
    s.form().VScroll.onChange = nullptr;
    s.form().VScroll.SetMax(5); // a layout may have left a range for fewer programs
    EXPECT_TRUE(s.form().VScroll.SetValue(2));
    s.form().VScroll.onChange = [changes] { ++*changes; };
    return changes;
}

TEST(MoveWindow, TitleDragsStayOnScreenAndEdgeDragsStopAtTheMinimumWithoutAFill) {
    const struct {
        const char* name;
        Grip grip;
        Point from, to;
        int button;
        double x, y; // twips: where a title drag puts the window's corner, or what size an edge drag gives it
        double twipsPerPixel = 15;
        Geometry window = {1500, 1500, 9000, 6000};
        double screenWidthPx = 1024;
    } cases[] = {
        {"title bar", kTitleBar, {10, 10}, {20, 15}, kLeftButton, 1650, 1575},
        {"top strip", kTopStrip, {10, 2}, {20, 4}, kLeftButton, 1650, 1530},
        {"title text, right button", kTitleText, {40, 20}, {30, 0}, kRightButton, 1350, 1200},
        {"top-left corner", kTitleBar, {100, 40}, {-500, -500}, kLeftButton, 0, 0},
        {"bottom-right corner", kTitleBar, {100, 40}, {2000, 2000}, kLeftButton, 6360, 5520},
        {"nearest twip, ties to even", kTopStrip, {0, 0}, {0.5, 1.5}, kLeftButton, 1508, 1522},
        {"press point rounded, ties to even", kTitleBar, {10.5, 11.5}, {10, 12}, kLeftButton, 1500, 1500},
        {"title, no button held", kTitleBar, {0, 0}, {50, 50}, 0, 1500, 1500},
        {"wider than the screen", kTitleBar, {100, 10}, {50, 10}, kLeftButton, -4640, 1500, 15, {0, 1500, 20000, 6000}},
        {"beyond 16 bits", kTopStrip, {2666, 3}, {5333, 3}, kLeftButton, 42600, 0, 15, {30000, 0, 15000, 9780}, 3840},
        {"right edge out", kRightEdge, {3, 3}, {103, 3}, kLeftButton, 10500, 6000},
        {"right edge to 360 pixels", kRightEdge, {3, 3}, {-597, 3}, kLeftButton, 5400, 6000},
        {"right edge at 10 twips a pixel", kRightEdge, {3, 3}, {-597, 3}, kMiddleButton, 3600, 6000, 10},
        {"bottom edge down", kBottomEdge, {3, 3}, {3, 53}, kLeftButton, 9000, 6750},
        {"bottom edge to 290 pixels", kBottomEdge, {3, 3}, {3, -397}, kRightButton, 9000, 4350},
        {"bottom edge at 10 twips a pixel", kBottomEdge, {3, 3}, {3, -397}, kLeftButton, 9000, 2900, 10},
        {"edge, no button held", kBottomEdge, {3, 3}, {3, 53}, 0, 9000, 6000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double tpp = c.twipsPerPixel;
        LauncherScene s({c.screenWidthPx * tpp, 768 * tpp, tpp, tpp});
        const auto [left, top, width, height] = c.window;
        s.NormalWindow(left, top, width, height);
        ListAndScroll(s, 6);
        Drag(s, c.grip, c.from, c.to, c.button);
        const bool title = c.grip < kRightEdge;
        if (title) { // its release changes nothing either; an edge's refills (tests below)
            s.driver.Release(Element(s, c.grip), c.to[0], c.to[1], c.button);
        }
        EXPECT_EQ(Window(s), (title ? Geometry{c.x, c.y, width, height} : Geometry{left, top, c.x, c.y}));
        EXPECT_EQ(s.form().progName.Count(), 1) << "no fill";
        if (!title && c.button != 0) { // laid out for the new size
            EXPECT_DOUBLE_EQ(s.form().leftBorder.height, c.y / tpp);
        }
    }
}

TEST(ResizeWindow, LeftEdgeNarrowerThanTheMinimumIsWidenedAtTheNextMove) {
    LauncherScene s;
    s.NormalWindow(3000, 1500, 6000, 6000); // 400 pixels wide
    Drag(s, kLeftEdge, {3, 30}, {63, 30});  // in by 60 pixels: 340 wide for one move
    EXPECT_EQ(Window(s), (Geometry{3900, 1500, 5100, 6000}));
    EXPECT_DOUBLE_EQ(s.form().topBar.width, 340);
    s.driver.Move(s.form().leftBorder, 13, 30); // back to 360, left edge kept, displacement dropped
    EXPECT_EQ(Window(s), (Geometry{3900, 1500, 5400, 6000}));
    s.driver.Move(s.form().leftBorder, 2.5, 30); // real twips, no lower bound outwards
    EXPECT_EQ(Window(s), (Geometry{3892.5, 1500, 5407.5, 6000}));
}

TEST(ResizeWindow, ALeftEdgeDragTheWindowRefusesLeavesItWhereItWas) {
    // Fault: the left edge moved while the window refused the new width, so one fast drag shifted the whole
    // window sideways instead of resizing it.
    struct Refusing : platform::HeadlessSystem {
        bool SetWindowWidth(double twips) override { return twips >= 3000 && HeadlessSystem::SetWindowWidth(twips); }
    } system;
    platform::HeadlessFileSystem files(u"C:\\Launcher");
    Launcher app(system, files);
    WireForm1(app, [] {});
    system.SetWindowState(WindowState::Normal);
    system.SetNormalGeometry(3000, 1500, 6000, 6000);
    platform::HeadlessDriver driver(system);
    for (const double x : {250.0, 470.0}) { // a width of 2250 twips, then one below 0
        driver.Press(app.form.leftBorder, 3, 30);
        driver.Move(app.form.leftBorder, x, 30);
        EXPECT_EQ((Point{system.WindowLeft(), system.WindowWidth()}), (Point{3000, 6000})) << x;
    }
}

TEST(ResizeWindow, BorderReleaseRefillsFromTheFirstRowUnlessMaximised) {
    const std::tuple<Grip, int, bool> cases[] = {{kRightEdge, kLeftButton, false},
                                                 {kBottomEdge, kRightButton, false},
                                                 {kLeftEdge, kMiddleButton, false},
                                                 {kLeftEdge, kLeftButton, true},
                                                 {kBottomEdge, kLeftButton, true}};
    for (const auto& [grip, button, maximised] : cases) {
        SCOPED_TRACE(testing::Message() << grip << (maximised ? " maximised" : ""));
        LauncherScene s;
        if (!maximised) {
            s.NormalWindow(1500, 1500, 9000, 6000);
        }
        Form1& f = s.form();
        const auto changes = ListAndScroll(s, 6);
        if (maximised) { // a drag does nothing either
            Drag(s, grip, {3, 3}, {-100, -100}, button);
            EXPECT_EQ(Window(s), (Geometry{0, 0, 15360, 11520}));
        }
        s.driver.Click(Element(s, grip), 3, 3, button);
        // The scroll value, the change events and the tile slots: the release's own fill.
        EXPECT_EQ((std::array{int{f.VScroll.value()}, *changes, f.progName.Count()}),
                  (maximised ? std::array{2, 0, 1} : std::array{0, 1, 6}));
    }
}

TEST(PressNudge, PushesTwoPixelsAndPutsBackUnlessMovedFurther) {
    // The place before the press; a move by something else from the pushed place; the place after the release.
    const std::tuple<Point, Point, Point> cases[] = {
        {{480, 49.5}, {0, 0}, {480, 50}}, // back to the press point rounded, ties to even
        {{439, 12}, {-4, 0}, {439, 12}},  // moved back 2 from it: still within reach
        {{439, 12}, {0.5, 0}, {441.5, 14}},
        // Fault: a place with a fraction below the half lay more than 2 pixels from its rounded press point
        // once pushed, so the release left it pushed although nothing else had moved it.
        {{480.4, 12}, {0, 0}, {480, 12}},
        {{480.5, 12.5}, {0, 0}, {480, 12}},
    };
    // The minimise button takes the first slot; a tile's name the second (its picture the first).
    for (const bool secondSlot : {false, true}) {
        for (const auto& [place, moved, end] : cases) {
            SCOPED_TRACE(testing::Message() << "from " << place[0] << "," << place[1] << (secondSlot ? ", name" : ""));
            LauncherScene s;
            platform::Element& e = secondSlot ? static_cast<platform::Element&>(s.form().progName[0])
                                              : static_cast<platform::Element&>(s.form().MinBut);
            e.left = place[0];
            e.top = place[1];
            s.driver.Press(e, 5, 5);
            EXPECT_EQ((Point{e.left, e.top}), (Point{place[0] + 2, place[1] + 2}));
            e.left += moved[0];
            e.top += moved[1];
            s.driver.Release(e, 5, 5);
            EXPECT_EQ((Point{e.left, e.top}), end);
        }
    }
}

TEST(CaptionButtons, RestoreFitsTheScreenMaximiseCoversItAndBothRefillFromTheFirstRow) {
    // The screen's height, the normal geometry, the restored one, and the button (0: the system menu),
    // released anywhere (twips).
    const std::tuple<const char*, double, Geometry, Geometry, int, Point> cases[] = {
        {"design size", 11520, {1800, 1800, 15000, 9780}, {0, 0, 15000, 9780}, kRightButton, {-4000, 9000}},
        {"600 pixels high: cap 8100", 9000, {1800, 1800, 15000, 9780}, {0, 0, 15000, 8100}, kMiddleButton, {5, 5}},
        {"cap in whole twips, system menu", 9005, {0, 0, 15000, 9780}, {0, 0, 15000, 8104}, 0, {5, 5}},
        {"narrower than 360 pixels", 11520, {300, 450, 4500, 6000}, {0, 0, 5400, 6000}, kLeftButton, {5, 5}},
        {"no cap on the width", 11520, {-100, -100, 20000, 6000}, {0, 0, 20000, 6000}, kLeftButton, {5, 5}},
    };
    for (const auto& [name, screenHeight, normal, restored, button, release] : cases) {
        SCOPED_TRACE(name);
        LauncherScene s({15360, screenHeight, 15, 15}); // maximised
        Form1& f = s.form();
        s.system.SetNormalGeometry(normal[0], normal[1], normal[2], normal[3]);
        // The window, the restore button's tip, the pointer over the bottom strip, and the programs listed: a
        // fill shows all of them; the change event, counted instead, fills nothing.
        const std::tuple<Geometry, const char16_t*, platform::MousePointer, int> steps[] = {
            {restored, u"Maximise", platform::MousePointer::SizeNS, 6},
            {{0, 0, 15360, screenHeight}, u"Restore down", platform::MousePointer::Default, 40}};
        for (const auto& [window, tooltip, pointer, programs] : steps) {
            const auto changes = ListAndScroll(s, programs);
            if (button == 0) { // the system menu does what the button does
                EXPECT_TRUE(f.onSystemCommand(programs == 6 ? platform::SystemCommand::Restore
                                                            : platform::SystemCommand::Maximise));
            } else {
                s.driver.Press(f.restoreBut, 5, 5, button);
                s.driver.Release(f.restoreBut, release[0], release[1], button);
            }
            EXPECT_EQ(Window(s), window);
            EXPECT_EQ(f.restoreBut.toolTipText, tooltip);
            EXPECT_DOUBLE_EQ(f.restoreBut.left, window[2] / 15 - 90) << "laid out, released from the nudge";
            EXPECT_DOUBLE_EQ(f.leftBorder.height, window[3] / 15);
            EXPECT_EQ(f.botBar.mousePointer, pointer);
            EXPECT_EQ((std::array{int{f.VScroll.value()}, *changes, f.progName.Count()}), (std::array{0, 1, programs}));
        }
    }
}

TEST(CaptionButtons, MinimiseAndExitActAtTheReleaseWithoutALayout) {
    for (const bool exit : {false, true}) {
        LauncherScene s;
        Form1& f = s.form();
        platform::Image& button = exit ? f.ExitBut : f.MinBut;
        const auto changes = ListAndScroll(s, 6);
        f.topBar.width = 123; // a layout would change it
        const double left = button.left;
        s.driver.Press(button, 5, 5, kRightButton);
        EXPECT_DOUBLE_EQ(button.left, left + 2);
        EXPECT_EQ(s.quits, 0);
        s.driver.Release(button, 900, 200, kRightButton); // released away from the button
        EXPECT_EQ(s.system.GetWindowState(), exit ? WindowState::Maximised : WindowState::Minimised);
        EXPECT_EQ(s.quits, exit ? 1 : 0);
        EXPECT_EQ((std::array{button.left, f.topBar.width}), (std::array{left, 123.0})) << "put back, no layout";
        EXPECT_EQ((std::array{*changes, f.progName.Count()}), (std::array{0, 1})) << "no fill";
    }
}

} // namespace
} // namespace launcher
