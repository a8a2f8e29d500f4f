#include "launcher/Frame.h"
#include "LauncherScene.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace launcher {
namespace {

using catalogue::kFalse;
using platform::MousePointer;
using testing_support::LauncherScene;

TEST(LayoutFrame, GridAndScrollRange) {
    // The window's size in pixels, the programs, then the tile area's height, the columns, the rows, the scroll
    // bar's large step and its maximum. The maximum is 7 before each layout: a step that cannot be done keeps
    // what it had.
    const std::tuple<const char*, double, double, int, double, int, int, int, int> cases[] = {
        {"design size", 1000, 652, 29, 499, 5, 4, 3, 3},
        {"smallest window", 360, 290, 29, 137, 1, 1, 1, 29},
        {"tie 3.5 goes to 4", 800, 800, 30, 647, 4, 5, 4, 4},
        {"tie 2.5 goes to 2", 800, 800, 26, 647, 4, 5, 4, 2},
        {"one page: negative maximum", 1000, 652, 10, 499, 5, 4, 3, -1},
        {"narrower than a cell: maximum kept", 200, 652, 29, 499, 0, 4, 3, 7},
        {"too low: tile area keeps its height", 1000, 100, 29, 521, 5, 4, 3, 3},
        {"maximum beyond 16 bits kept", 360, 250, 32767, 97, 1, 0, 1, 7},
    };
    for (const auto& [name, widthPx, heightPx, progCount, holderHeight, columns, rows, largeStep, maximum] : cases) {
        SCOPED_TRACE(name);
        LauncherScene scene;
        scene.NormalWindow(0, 0, widthPx * 15, heightPx * 15); // 15 twips a pixel
        scene.cat().progCount = static_cast<Int16>(progCount);
        scene.form().VScroll.SetMax(7);
        LayoutFrame(*scene.app, kFalse);
        const Form1& f = scene.form();
        const ModuleValues& v = scene.app->values;
        EXPECT_DOUBLE_EQ(f.progHolder.height, holderHeight);
        EXPECT_EQ((std::array<int, 4>{v.gridColumns, v.gridRows, f.VScroll.largeChange, f.VScroll.max()}),
                  (std::array{columns, rows, largeStep, maximum}));
    }
}

TEST(LayoutFrame, PlacesTheFrameAtTheDesignSizeAndFitsTheDescriptionToTheWidth) {
    LauncherScene scene;
    scene.NormalWindow(0, 0, 1000 * 15, 652 * 15);
    scene.system.SetVersion({1, 0, 341});
    LayoutFrame(*scene.app, kFalse);
    Form1& f = scene.form();
    // "v 1.0.341" on the headless metrics: 50 x 13 pixels.
    EXPECT_EQ(f.verLabel.caption(), u"v 1.0.341");
    const struct {
        const platform::Element* element;
        std::array<double, 4> place; // left, top, width, height
    } places[] = {
        {&f.topBar, 0, 0, 1000, 62},      {&f.topSmoother, 0, 0, 1000, 6},     {&f.ExitBut, 951, 12, 37, 37},
        {&f.restoreBut, 910, 12, 37, 37}, {&f.MinBut, 869, 12, 37, 37},        {&f.progHolder, 14, 72, 972, 499},
        {&f.VScroll, 945, 0, 25, 497},    {&f.tessalyLogo, 830, 579, 154, 60}, {&f.verLabel, 16, 602.5, 50, 13},
        {&f.leftBorder, 0, 0, 6, 652},    {&f.rightBorder, 995, 0, 6, 652},    {&f.botBar, 0, 646, 1000, 6},
        {&f.progInfo, 98, 579, 700, 68}, // 16 + 50 + 32 from the left, 32 short of the logo
    };
    for (const auto& [e, place] : places) {
        EXPECT_EQ((std::array{e->left, e->top, e->width, e->height}), place) << e->name();
    }
    EXPECT_EQ(f.VScroll.smallChange, 1);
    EXPECT_DOUBLE_EQ(f.progInfo.font().size, 12); // the title and description were fitted last
    // The normal window shows it can be resized; the maximised one cannot (caption buttons' tests).
    EXPECT_EQ((std::array{f.leftBorder.mousePointer, f.rightBorder.mousePointer, f.botBar.mousePointer}),
              (std::array{MousePointer::SizeWE, MousePointer::SizeWE, MousePointer::SizeNS}));

    // At other widths, 400 pixels high: the description is the nearest whole width and at least ten pixels wide,
    // its font steps with the window's inner width. With version 1.0.341 the room for the description is the
    // window width less 300 pixels. Whole pixels, ties to even: 1023.5 counts as 1024 and 480.5 as 480.
    const double cases[][3] = {{311, 11, 8},      {309, 10, 8},    {250, 10, 8},   {310.5, 10, 8}, {311.5, 12, 8},
                               {1024, 724, 14},   {1023, 723, 12}, {900, 600, 12}, {899, 599, 11}, {601, 301, 11},
                               {600, 300, 10},    {540, 240, 10},  {539, 239, 9},  {480, 180, 9},  {479, 179, 8},
                               {1023.5, 724, 14}, {480.5, 180, 9}};
    for (const auto& [widthPx, width, points] : cases) {
        LauncherScene other;
        other.NormalWindow(0, 0, widthPx * 15, 400 * 15);
        other.system.SetVersion({1, 0, 341});
        LayoutFrame(*other.app, kFalse);
        EXPECT_EQ((std::array{other.form().progInfo.width, other.form().progInfo.font().size}),
                  (std::array{width, points}))
            << widthPx;
    }
}

TEST(FitTitleText, ShrinksUntilTheTextIsStrictlyNarrowerThanTheRoom) {
    // The room is the title's width at a size in points (0: no width) plus some pixels; then the size fitted.
    const std::tuple<int, double, double> cases[] = {{36, 1, 36}, {36, 0, 35},  {20, 0.5, 20},
                                                     {20, 0, 19}, {10, -1, 10}, {0, -50, 10}};
    for (const auto& [roomAtSize, extra, expected] : cases) {
        SCOPED_TRACE(testing::Message() << roomAtSize << " + " << extra);
        LauncherScene scene;
        Form1& f = scene.form();
        platform::Font font = f.topBar.font;
        font.size = roomAtSize;
        const double width = roomAtSize == 0 ? 0 : scene.system.MeasureText(font, f.topText.caption()).width;
        f.MinBut.left = f.topText.left + width + extra;
        FitTitleText(*scene.app);
        EXPECT_DOUBLE_EQ(f.topText.font().size, expected);
        EXPECT_DOUBLE_EQ(f.topText.top, 31 - f.topText.height / 2);
    }
}

} // namespace
} // namespace launcher
