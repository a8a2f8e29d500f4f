#include "launcher/Frame.h"
#include "LauncherScene.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

using catalogue::kFalse;
using catalogue::kTrue;
using platform::MousePointer;
using testing_support::LauncherScene;

// The scene's window in the normal state at a client size in pixels (15 twips per pixel).
void NormalWindow(LauncherScene& scene, double widthPx, double heightPx) {
    scene.system.SetWindowState(platform::WindowState::Normal);
    scene.system.SetNormalGeometry(0, 0, widthPx * 15, heightPx * 15);
}

TEST(LayoutFrame, GridAndScrollRange) {
    // The scroll maximum is 7 before each layout: a step that cannot be done keeps what it had.
    const struct {
        const char* name;
        double widthPx, heightPx;
        int progCount;
        double holderHeight;
        int columns, rows, largeStep, maximum;
    } cases[] = {
        {"design size", 1000, 652, 29, 499, 5, 4, 3, 3},
        {"smallest window", 360, 290, 29, 137, 1, 1, 1, 29},
        {"tie 3.5 goes to 4", 800, 800, 30, 647, 4, 5, 4, 4},
        {"tie 2.5 goes to 2", 800, 800, 26, 647, 4, 5, 4, 2},
        {"one page: negative maximum", 1000, 652, 10, 499, 5, 4, 3, -1},
        {"narrower than a cell: maximum kept", 200, 652, 29, 499, 0, 4, 3, 7},
        {"too low: tile area keeps its height", 1000, 100, 29, 521, 5, 4, 3, 3},
        {"maximum beyond 16 bits kept", 360, 250, 32767, 97, 1, 0, 1, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherScene scene;
        NormalWindow(scene, c.widthPx, c.heightPx);
        scene.cat().progCount = static_cast<Int16>(c.progCount);
        scene.form().VScroll.SetMax(7);
        LayoutFrame(*scene.app, kFalse);
        const Form1& f = scene.form();
        EXPECT_DOUBLE_EQ(f.progHolder.height, c.holderHeight);
        EXPECT_EQ(scene.app->values.gridColumns, c.columns);
        EXPECT_EQ(scene.app->values.gridRows, c.rows);
        EXPECT_EQ(f.VScroll.largeChange, c.largeStep);
        EXPECT_EQ(f.VScroll.max(), c.maximum);
    }
}

TEST(LayoutFrame, PlacesTheFrameAtTheDesignSize) {
    LauncherScene scene;
    NormalWindow(scene, 1000, 652);
    scene.system.SetVersion({1, 0, 341});
    LayoutFrame(*scene.app, kFalse);
    Form1& f = scene.form();
    // "v 1.0.341" on the headless metrics: 50 x 13 pixels.
    EXPECT_EQ(f.verLabel.caption(), u"v 1.0.341");
    ASSERT_DOUBLE_EQ(f.verLabel.width, 50);
    struct Place {
        const platform::Element* element;
        double left, top, width, height;
    };
    const Place places[] = {
        {&f.topBar, 0, 0, 1000, 62},      {&f.topSmoother, 0, 0, 1000, 6},     {&f.ExitBut, 951, 12, 37, 37},
        {&f.restoreBut, 910, 12, 37, 37}, {&f.MinBut, 869, 12, 37, 37},        {&f.progHolder, 14, 72, 972, 499},
        {&f.VScroll, 945, 0, 25, 497},    {&f.tessalyLogo, 830, 579, 154, 60}, {&f.verLabel, 16, 602.5, 50, 13},
        {&f.leftBorder, 0, 0, 6, 652},    {&f.rightBorder, 995, 0, 6, 652},    {&f.botBar, 0, 646, 1000, 6},
        {&f.progInfo, 98, 579, 700, 68}, // 16 + 50 + 32 from the left, 32 short of the logo
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.element->name());
        EXPECT_DOUBLE_EQ(p.element->left, p.left);
        EXPECT_DOUBLE_EQ(p.element->top, p.top);
        EXPECT_DOUBLE_EQ(p.element->width, p.width);
        EXPECT_DOUBLE_EQ(p.element->height, p.height);
    }
    EXPECT_EQ(f.VScroll.smallChange, 1);
    EXPECT_DOUBLE_EQ(f.progInfo.font().size, 12); // the title and description were fitted last
}

TEST(LayoutFrame, ModeDecidesPointersTooltipAndTitleWidth) {
    struct Case {
        catalogue::Bool16 maximised;
        MousePointer sides, bottom;
        const char16_t* tooltip;
        double titleWidth;
    };
    // The screen measured at start-up is 1100 pixels wide, the window's client area 1000; only -1 is True.
    const Case cases[] = {
        {kTrue, MousePointer::Default, MousePointer::Default, u"Restore down", 1100},
        {kFalse, MousePointer::SizeWE, MousePointer::SizeNS, u"Maximise", 1000},
        {1, MousePointer::SizeWE, MousePointer::SizeNS, u"Maximise", 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maximised);
        LauncherScene scene;
        NormalWindow(scene, 1000, 652);
        scene.cat().screenWidthPx = 1100;
        LayoutFrame(*scene.app, c.maximised);
        const Form1& f = scene.form();
        EXPECT_EQ(f.leftBorder.mousePointer, c.sides);
        EXPECT_EQ(f.rightBorder.mousePointer, c.sides);
        EXPECT_EQ(f.botBar.mousePointer, c.bottom);
        EXPECT_EQ(f.restoreBut.toolTipText, c.tooltip);
        EXPECT_DOUBLE_EQ(f.topSmoother.width, c.titleWidth);
        EXPECT_DOUBLE_EQ(f.ExitBut.left, c.titleWidth - 49);
    }
}

TEST(LayoutFrame, DescriptionWidthIsNearestAndAtLeastTen) {
    // With version 1.0.341 the room for the description is the window width less 300 pixels.
    const double cases[][2] = {{311, 11}, {309, 10}, {250, 10}, {310.5, 10}, {311.5, 12}};
    for (const auto& [widthPx, expected] : cases) {
        SCOPED_TRACE(widthPx);
        LauncherScene scene;
        NormalWindow(scene, widthPx, 400);
        scene.system.SetVersion({1, 0, 341});
        LayoutFrame(*scene.app, kFalse);
        EXPECT_DOUBLE_EQ(scene.form().progInfo.width, expected);
    }
}

TEST(FitTitleText, ShrinksUntilTheTextIsStrictlyNarrowerThanTheRoom) {
    struct Case {
        int roomAtSize; // the room is the title's width at this size (0: no width)...
        double extra;   // ...plus this many pixels
        double expected;
    };
    const Case cases[] = {{36, 1, 36}, {36, 0, 35}, {20, 0.5, 20}, {20, 0, 19}, {10, -1, 10}, {0, -50, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.roomAtSize << " + " << c.extra);
        LauncherScene scene;
        Form1& f = scene.form();
        platform::Font font = f.topBar.font;
        font.size = c.roomAtSize;
        const double width = c.roomAtSize == 0 ? 0 : scene.system.MeasureText(font, f.topText.caption()).width;
        f.MinBut.left = f.topText.left + width + c.extra;
        FitTitleText(*scene.app);
        EXPECT_DOUBLE_EQ(f.topText.font().size, c.expected);
        EXPECT_DOUBLE_EQ(f.topText.top, 31 - f.topText.height / 2);
    }
}

TEST(FitTitleText, DescriptionFontFollowsTheInnerWidth) {
    // Whole pixels, ties to even: 1023.5 counts as 1024 and 480.5 as 480.
    const double cases[][2] = {{1024, 14}, {1023, 12}, {900, 12}, {899, 11}, {601, 11},    {600, 10},
                               {540, 10},  {539, 9},   {480, 9},  {479, 8},  {1023.5, 14}, {480.5, 9}};
    for (const auto& [widthPx, points] : cases) {
        SCOPED_TRACE(widthPx);
        LauncherScene scene;
        NormalWindow(scene, widthPx, 600);
        FitTitleText(*scene.app);
        EXPECT_DOUBLE_EQ(scene.form().progInfo.font().size, points);
    }
}

} // namespace
} // namespace launcher
