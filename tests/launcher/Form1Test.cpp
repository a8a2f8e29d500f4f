#include "LauncherScene.h"

#include <gtest/gtest.h>

namespace launcher {
namespace {

using testing_support::LauncherScene;

struct Expected {
    const platform::Element* element;
    double left, top, width, height;
};

TEST(Form1, DesignGeometryInPixelsAtFifteenTwipsPerPixel) {
    LauncherScene scene;
    Form1& f = scene.form();
    const Expected table[] = {
        {&f.topBar, 0, 0, 777, 62},       {&f.topSmoother, 0, 0, 534, 6},      {&f.MinBut, 439, 12, 37, 37},
        {&f.restoreBut, 480, 12, 37, 37}, {&f.ExitBut, 520, 12, 37, 37},       {&f.progHolder, 14, 72, 809, 521},
        {&f.VScroll, 784, 0, 25, 457},    {&f.leftBorder, 0, 0, 6, 329},       {&f.rightBorder, 832, 0, 6, 329},
        {&f.botBar, 0, 600, 161, 6},      {&f.tessalyLogo, 696, 592, 154, 60}, {&f.progInfo, 112, 592, 417, 68},
        {&f.progIcon[0], 58, 28, 64, 64}, {&f.prVidBut[0], 124, 49.5, 20, 21}, {&f.dumIcon, 0, 0, 32, 32},
        {&f.dumberIcon, 32, 0, 32, 32},   {&f.dumFader, 0, 0, 64, 64},
    };
    for (const auto& e : table) {
        EXPECT_DOUBLE_EQ(e.element->left, e.left) << e.element->name();
        EXPECT_DOUBLE_EQ(e.element->top, e.top) << e.element->name();
        EXPECT_DOUBLE_EQ(e.element->width, e.width) << e.element->name();
        EXPECT_DOUBLE_EQ(e.element->height, e.height) << e.element->name();
    }
    EXPECT_EQ(f.topText.caption(), u"Tessaly Software - The Collection");
    EXPECT_EQ(f.topText.font(), (platform::Font{u"Arial", 36, true}));
    EXPECT_EQ(f.progName[0].caption(), u"prog title");
    EXPECT_EQ(f.progInfo.caption(), u"info");
    EXPECT_EQ(f.SameProgWaitTimer.interval, 1000);
    EXPECT_FALSE(f.SameProgWaitTimer.enabled);
    EXPECT_EQ(f.MinBut.toolTipText, u"Minimise");
    EXPECT_EQ(f.ExitBut.toolTipText, u"Exit");
}

TEST(Form1, DesignSizesFollowTheScreensResolution) {
    LauncherScene scene({1024 * 10.0, 768 * 10.0, 10, 10}); // 144 dots per inch
    EXPECT_DOUBLE_EQ(scene.form().progIcon[0].width, 96);
    EXPECT_DOUBLE_EQ(scene.form().topBar.height, 93);
}

TEST(Form1, TileSlotsAreCreatedAsHiddenCopiesOfSlotZero) {
    LauncherScene scene;
    Form1& f = scene.form();
    f.progName[0].foreColor = {1, 2, 3};
    platform::Label& copy = f.progName.Append();
    EXPECT_EQ(copy.index(), 1);
    EXPECT_FALSE(copy.visible);
    EXPECT_EQ(copy.caption(), u"prog title");
    EXPECT_EQ(copy.foreColor, (platform::Rgb{1, 2, 3}));
    EXPECT_EQ(copy.container(), &f.progHolder);
    EXPECT_EQ(f.progHolder.ZIndexOf(copy), static_cast<int>(f.progHolder.children().size()) - 1);
    f.progName.RemoveLast();
    EXPECT_EQ(f.progName.Count(), 1);
    EXPECT_EQ(f.progHolder.ZIndexOf(f.progName[0]) >= 0, true);
}

} // namespace
} // namespace launcher
