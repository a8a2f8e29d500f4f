// Tests of painting the element tree with GDI, on element trees built here. Painting goes through the same
// painter as the window, into a memory bitmap, so these need no display.
#include "platform/win32/Win32Paint.h"
#include "platform/win32/Win32System.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>

namespace platform {
namespace {

using namespace testing_support;

Picture Solid(int w, int h, Rgb colour, std::uint8_t alpha) {
    Bitmap bitmap(w, h, colour);
    std::ranges::fill(bitmap.pixels, Argb(colour, alpha));
    return std::make_shared<const Bitmap>(std::move(bitmap));
}

// Measures text with the fonts the painter draws it with.
struct Scene : ElementScene<Win32System> {
    Scene() : ElementScene(u"Z:\\w32paint") {}
    Bitmap Render() { return RenderWindow(window, 200, 100, system.Shared().fonts); }
};

TEST(Win32Paint, ElementsDrawBackToFrontClippedToTheirPictureBoxAndPicturesStretchAndBlend) {
    Scene scene;
    Shape front("front");
    scene.window.Add(front);
    Place(front, 140, 60, 30, 30);
    front.fillColor = kBlue;
    scene.holder.Cls(); // a 100 x 50 white surface with a blue corner, drawn at its own size
    DrawOver(scene.holder.surface(), Bitmap(10, 10, kBlue), 0, 0);
    const Bitmap shot = scene.Render();
    ASSERT_EQ((std::array{shot.width, shot.height}), (std::array{200, 100}));
    // A point of the window, the colour there, and what lies there.
    const std::tuple<int, int, Rgb, const char*> cases[] = {
        {120, 50, kGrey, "window background"},
        {150, 25, kNavy, "title box"},
        {60, 50, kWhite, "holder"},
        {15, 45, kBlue, "holder's surface"},
        {22, 45, kWhite, "holder's surface, not stretched to the box"},
        {12, 75, kRed, "picture, inside the holder"},
        {7, 75, kGrey, "picture, clipped left of the holder"},
        {15, 95, kGrey, "picture, clipped below the holder"},
        {65, 55, kWhite, "hidden picture"},
        {95, 60, kWhite, "scroll bar: a control, not painted"},
        {185, 80, kGreen, "shape"},
        {160, 80, kBlue, "the shape added last lies in front"},
        {195, 98, kGrey, "right of the shape"},
    };
    for (const auto& [x, y, colour, what] : cases) {
        EXPECT_EQ(shot.ColourAt(x, y), colour) << what << " at " << x << "," << y;
    }
    scene.window.ZOrderFront(scene.shape);
    EXPECT_EQ(scene.Render().ColourAt(160, 80), kGreen) << "brought to the front";

    // Pictures stretch to their element and blend by their alpha.
    Bitmap quarters(2, 2, kRed);
    quarters.Set(1, 0, Argb(kGreen));
    quarters.Set(0, 1, Argb(kBlue));
    quarters.Set(1, 1, Argb(kNavy));
    Place(scene.picture, 0, 0, 40, 40);
    scene.picture.picture = std::make_shared<const Bitmap>(quarters);
    const Bitmap stretched = scene.Render();
    // The holder is at (10, 40): each source pixel covers 20 x 20 screen pixels, whole and unsmoothed.
    const std::tuple<int, int, Rgb> quartersAt[] = {{15, 45, kRed},  {45, 45, kGreen}, {15, 75, kBlue},
                                                    {45, 75, kNavy}, {29, 59, kRed},   {30, 60, kNavy}};
    for (const auto& [x, y, colour] : quartersAt) {
        EXPECT_EQ(stretched.ColourAt(x, y), colour) << x << "," << y;
    }
    // At 144 dpi a 2 x 2 design-pixel picture at (10, 40) is 3 x 3 device pixels at (15, 60), its middle row
    // and column the average of their neighbours rather than a source pixel drawn twice.
    Place(scene.picture, 0, 0, 2, 2);
    const Bitmap large = RenderWindow(scene.window, 300, 150, GdiFonts(), DisplayScale(144));
    EXPECT_EQ((std::array{large.ColourAt(15, 60), large.ColourAt(16, 60), large.ColourAt(17, 60)}),
              (std::array{kRed, Rgb{128, 80, 0}, kGreen}));
    auto icon = std::make_shared<Bitmap>(quarters); // drawn from the system's sharper rendering when it has one
    icon->detail = std::make_shared<const Bitmap>(3, 3, kBlue);
    scene.picture.picture = icon;
    EXPECT_EQ(RenderWindow(scene.window, 300, 150, GdiFonts(), DisplayScale(144)).ColourAt(16, 61), kBlue);
    Place(scene.picture, 0, 0, 40, 40);
    // Half-transparent red over the white holder; a clear picture, or none, leaves the holder as it is.
    scene.picture.picture = Solid(4, 4, kRed, 128);
    const Rgb blended = scene.Render().ColourAt(20, 50);
    EXPECT_EQ(blended.r, 255);
    EXPECT_NEAR(blended.g, 127, 1);
    EXPECT_NEAR(blended.b, 127, 1);
    for (const Picture& clear : {Solid(4, 4, kRed, 0), Picture()}) {
        scene.picture.picture = clear;
        EXPECT_EQ(scene.Render().ColourAt(20, 50), kWhite);
    }
}

// Whether any pixel of the rectangle differs from the colour.
bool AnyPixelDiffers(const Bitmap& shot, int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!(shot.ColourAt(x, y) == colour)) {
                return true;
            }
        }
    }
    return false;
}

TEST(Win32Paint, TheFocusRingDotsAroundTheFlaggedElementWhileTheKeyboardCuesShow) {
    Scene scene;
    scene.hidden.visible = true; // blue, at 60,45, 20 x 20 pixels inside the white holder
    scene.hidden.focusRing = true;
    EXPECT_EQ(scene.Render().ColourAt(58, 44), kWhite) << "no ring before the keyboard cues";
    scene.window.keyboardCues = true;
    const Bitmap shot = scene.Render();
    // The ring's edges lie two pixels left of and above the box and one beyond it: every other pixel inverted.
    const std::tuple<int, int, Rgb> cases[] = {{58, 44, kBlack}, {58, 45, kWhite}, {60, 43, kWhite},
                                               {61, 43, kBlack}, {81, 47, kBlack}, {59, 45, kWhite}};
    for (const auto& [x, y, colour] : cases) {
        EXPECT_EQ(shot.ColourAt(x, y), colour) << x << "," << y;
    }
}

TEST(Win32Paint, LabelsDrawTheirTextInsideTheirBox) {
    Scene scene;
    Label fixed("fixed", scene.system, false);
    scene.window.Add(fixed);
    Place(fixed, 120, 35, 60, 30);
    fixed.foreColor = kBlack;
    fixed.SetFont(Font{u"Arial", 9, false});
    fixed.SetCaption(u"Words that wrap onto more lines than fit");

    const Bitmap shot = scene.Render();
    // The self-sizing title: text on navy within its measured box.
    EXPECT_TRUE(AnyPixelDiffers(shot, 4, 2, static_cast<int>(scene.caption.left + scene.caption.width), 28, kNavy));
    // The fixed label wraps inside its box and is cut at its edges.
    EXPECT_TRUE(AnyPixelDiffers(shot, 120, 50, 180, 65, kGrey)) << "a second line";
    EXPECT_FALSE(AnyPixelDiffers(shot, 120, 65, 148, 70, kGrey)) << "nothing below the box";
    EXPECT_FALSE(AnyPixelDiffers(shot, 181, 35, 200, 65, kGrey)) << "nothing right of the box";
    fixed.backColor = kWhite;
    fixed.SetCaption(u"");
    EXPECT_FALSE(AnyPixelDiffers(scene.Render(), 120, 35, 180, 65, kWhite)) << "the background fills the box";

    // Under high contrast (which Wine cannot switch on, so the colours are handed in): the system's grounds
    // and texts, the pictures their own.
    const Rgb caption{26, 235, 255};
    const SystemColours black{kBlack, kWhite, {63, 242, 63}, caption, kBlack, kBlack, kWhite, kRed};
    fixed.SetCaption(u"Words");
    scene.hidden.visible = scene.hidden.focusRing = scene.window.keyboardCues = true; // blue at 60,45
    const Bitmap contrast = RenderWindow(scene.window, 200, 100, scene.system.Shared().fonts, DisplayScale(), black);
    const std::tuple<int, int, Rgb> cases[] = {{150, 10, caption}, {5, 95, kBlack}, {50, 60, kBlack},
                                               {10, 75, kRed},     {58, 44, kRed},  {58, 45, kBlack}};
    for (const auto& [x, y, colour] : cases) {
        EXPECT_EQ(contrast.ColourAt(x, y), colour) << x << "," << y;
    }
    EXPECT_TRUE(AnyPixelDiffers(contrast, 120, 35, 180, 50, kBlack)) << "the label's text shows on the black ground";
}

} // namespace
} // namespace platform
