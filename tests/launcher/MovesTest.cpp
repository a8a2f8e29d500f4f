#include "LauncherScene.h"
#include "launcher/Frame.h"
#include "launcher/Tiles.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <ostream>

namespace launcher {
namespace {

using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;
using platform::WindowState;
using testing_support::LauncherScene;
using Point = std::array<double, 2>;

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

struct Geometry {
    double left, top, width, height; // twips
    bool operator==(const Geometry&) const = default;
    friend void PrintTo(const Geometry& g, std::ostream* os) {
        *os << g.left << ", " << g.top << ", " << g.width << " x " << g.height;
    }
};

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

TEST(MoveWindow, TitleDragsFollowThePointerAndStayOnScreen) {
    const struct {
        const char* name;
        Grip grip;
        Point from, to;
        int button;
        double left, top;
        Geometry window = {1500, 1500, 9000, 6000};
        double screenWidthPx = 1024, screenHeightPx = 768;
    } cases[] = {
        {"title bar", kTitleBar, {10, 10}, {20, 15}, kLeftButton, 1650, 1575},
        {"top strip", kTopStrip, {10, 2}, {20, 4}, kLeftButton, 1650, 1530},
        {"title text, right button", kTitleText, {40, 20}, {30, 0}, kRightButton, 1350, 1200},
        {"top-left corner", kTitleBar, {100, 40}, {-500, -500}, kLeftButton, 0, 0},
        {"bottom-right corner", kTitleBar, {100, 40}, {2000, 2000}, kLeftButton, 6360, 5520},
        {"nearest twip, ties to even", kTopStrip, {0, 0}, {0.5, 1.5}, kLeftButton, 1508, 1522},
        {"press point rounded, ties to even", kTitleBar, {10.5, 11.5}, {10, 12}, kLeftButton, 1500, 1500},
        {"no button held", kTitleBar, {0, 0}, {50, 50}, 0, 1500, 1500},
        {"wider than the screen", kTitleBar, {100, 10}, {50, 10}, kLeftButton, -4640, 1500, {0, 1500, 20000, 6000}},
        {"beyond 16 bits", kTopStrip, {2666, 3}, {5333, 3}, kLeftButton, 42600, 0, {30000, 0, 15000, 9780}, 3840},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherScene s({c.screenWidthPx * 15, c.screenHeightPx * 15, 15, 15});
        s.NormalWindow(c.window.left, c.window.top, c.window.width, c.window.height);
        ListAndScroll(s, 6);
        Drag(s, c.grip, c.from, c.to, c.button);
        s.driver.Release(Element(s, c.grip), c.to[0], c.to[1], c.button);
        EXPECT_EQ(Window(s), (Geometry{c.left, c.top, c.window.width, c.window.height}));
        EXPECT_EQ(s.form().progName.Count(), 1) << "a title drag never fills the grid";
    }
}

TEST(ResizeWindow, RightAndBottomEdgesStopAtTheMinimum) {
    const struct {
        const char* name;
        Grip grip;
        double twipsPerPixel, dx, dy; // pixels
        int button;
        double width, height;
    } cases[] = {
        {"right edge out", kRightEdge, 15, 100, 0, kLeftButton, 10500, 6000},
        {"right edge to 360 pixels", kRightEdge, 15, -600, 0, kLeftButton, 5400, 6000},
        {"right edge at 10 twips a pixel", kRightEdge, 10, -600, 0, kMiddleButton, 3600, 6000},
        {"bottom edge down", kBottomEdge, 15, 0, 50, kLeftButton, 9000, 6750},
        {"bottom edge to 290 pixels", kBottomEdge, 15, 0, -400, kRightButton, 9000, 4350},
        {"bottom edge at 10 twips a pixel", kBottomEdge, 10, 0, -400, kLeftButton, 9000, 2900},
        {"no button held", kBottomEdge, 15, 0, 50, 0, 9000, 6000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const double tpp = c.twipsPerPixel;
        LauncherScene s({1024 * tpp, 768 * tpp, tpp, tpp});
        s.NormalWindow(1500, 1500, 9000, 6000);
        ListAndScroll(s, 6);
        Drag(s, c.grip, {3, 3}, {3 + c.dx, 3 + c.dy}, c.button);
        EXPECT_EQ(Window(s), (Geometry{1500, 1500, c.width, c.height}));
        EXPECT_EQ(s.form().progName.Count(), 1) << "no fill during the drag";
        if (c.button != 0) { // laid out for the new size
            EXPECT_DOUBLE_EQ(s.form().leftBorder.height, c.height / tpp);
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
    const struct {
        Grip grip;
        int button;
        bool maximised;
    } cases[] = {{kRightEdge, kLeftButton, false},
                 {kBottomEdge, kRightButton, false},
                 {kLeftEdge, kMiddleButton, false},
                 {kLeftEdge, kLeftButton, true},
                 {kBottomEdge, kLeftButton, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grip << (c.maximised ? " maximised" : ""));
        LauncherScene s;
        if (!c.maximised) {
            s.NormalWindow(1500, 1500, 9000, 6000);
        }
        Form1& f = s.form();
        const auto changes = ListAndScroll(s, 6);
        if (c.maximised) { // a drag does nothing either
            Drag(s, c.grip, {3, 3}, {-100, -100}, c.button);
            EXPECT_EQ(Window(s), (Geometry{0, 0, 15360, 11520}));
        }
        s.driver.Click(Element(s, c.grip), 3, 3, c.button);
        EXPECT_EQ(f.VScroll.value(), c.maximised ? 2 : 0);
        EXPECT_EQ(*changes, c.maximised ? 0 : 1);
        EXPECT_EQ(f.progName.Count(), c.maximised ? 1 : 6) << "the release's own fill";
    }
}

TEST(PressNudge, PushesTwoPixelsAndPutsBackUnlessMovedFurther) {
    const struct {
        Point place, moved, end; // before the press; then moved by something else from the pushed place
    } cases[] = {
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
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << (secondSlot ? ", second slot" : ""));
            LauncherScene s;
            platform::Element& e = secondSlot ? static_cast<platform::Element&>(s.form().progName[0])
                                              : static_cast<platform::Element&>(s.form().MinBut);
            e.left = c.place[0];
            e.top = c.place[1];
            s.driver.Press(e, 5, 5);
            EXPECT_EQ((Point{e.left, e.top}), (Point{c.place[0] + 2, c.place[1] + 2}));
            e.left += c.moved[0];
            e.top += c.moved[1];
            s.driver.Release(e, 5, 5);
            EXPECT_EQ((Point{e.left, e.top}), c.end);
        }
    }
}

TEST(CaptionButtons, RestoreFitsTheScreenMaximiseCoversItAndBothRefillFromTheFirstRow) {
    const struct {
        const char* name;
        double screenHeight;
        Geometry normal, restored;
        int button;
        Point release = {5, 5}; // any button, released anywhere
    } cases[] = {
        {"design size", 11520, {1800, 1800, 15000, 9780}, {0, 0, 15000, 9780}, kRightButton, {-4000, 9000}},
        {"600-pixel screen: cap 8100 twips", 9000, {1800, 1800, 15000, 9780}, {0, 0, 15000, 8100}, kMiddleButton},
        {"cap in whole twips", 9005, {0, 0, 15000, 9780}, {0, 0, 15000, 8104}, kLeftButton},
        {"narrower than 360 pixels", 11520, {300, 450, 4500, 6000}, {0, 0, 5400, 6000}, kLeftButton},
        {"no cap on the width", 11520, {-100, -100, 20000, 6000}, {0, 0, 20000, 6000}, kLeftButton},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherScene s({15360, c.screenHeight, 15, 15}); // maximised
        Form1& f = s.form();
        s.system.SetNormalGeometry(c.normal.left, c.normal.top, c.normal.width, c.normal.height);
        const struct {
            Geometry window;
            const char16_t* tooltip;
            platform::MousePointer pointer; // over the bottom strip
            int programs; // a fill shows all of them; the change event, counted instead, fills nothing
        } steps[] = {{c.restored, u"Maximise", platform::MousePointer::SizeNS, 6},
                     {{0, 0, 15360, c.screenHeight}, u"Restore down", platform::MousePointer::Default, 40}};
        for (const auto& step : steps) {
            const auto changes = ListAndScroll(s, step.programs);
            s.driver.Press(f.restoreBut, 5, 5, c.button);
            s.driver.Release(f.restoreBut, c.release[0], c.release[1], c.button);
            EXPECT_EQ(Window(s), step.window);
            EXPECT_EQ(f.restoreBut.toolTipText, step.tooltip);
            EXPECT_DOUBLE_EQ(f.restoreBut.left, step.window.width / 15 - 90) << "laid out, released from the nudge";
            EXPECT_DOUBLE_EQ(f.leftBorder.height, step.window.height / 15);
            EXPECT_EQ(f.botBar.mousePointer, step.pointer);
            EXPECT_EQ(f.VScroll.value(), 0);
            EXPECT_EQ(*changes, 1);
            EXPECT_EQ(f.progName.Count(), step.programs);
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
        EXPECT_DOUBLE_EQ(button.left, left);
        EXPECT_DOUBLE_EQ(f.topBar.width, 123) << "no layout";
        EXPECT_EQ(*changes, 0);
        EXPECT_EQ(f.progName.Count(), 1) << "no fill";
    }
}

} // namespace
} // namespace launcher
