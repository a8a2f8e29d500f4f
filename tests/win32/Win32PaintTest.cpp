// Tests of the window host's painting, hit testing, pointer units and scroll-bar mapping, on element trees
// built here. Painting goes through the same GDI painter as the window, into a memory bitmap, so these
// need no display.
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace platform {
namespace {

constexpr Rgb kGrey{192, 192, 192};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 160, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kNavy{0, 0, 128};

Picture Solid(int w, int h, Rgb colour, std::uint8_t alpha = 255) {
    Bitmap bitmap(w, h, colour);
    for (std::uint32_t& p : bitmap.pixels) {
        p = Argb(colour, alpha);
    }
    return std::make_shared<const Bitmap>(std::move(bitmap));
}

void Place(Element& e, double left, double top, double width, double height) {
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
}

// A small window: a navy title box at the top with a label in it, a white holder box with a picture, a
// scroll bar and a hidden picture, and a green shape at the bottom right.
struct Scene {
    Win32System system{u"Z:\\w32paint"};
    GdiFonts fonts{96};
    Window window{u"Scene", kGrey};
    PictureBox title{"title", system};
    Label caption{"caption", system, true};
    PictureBox holder{"holder", system};
    Image picture{"picture"};
    Image hidden{"hidden"};
    ScrollBar bar{"bar"};
    Shape shape{"shape"};

    Scene() {
        window.Add(title);
        window.Add(holder);
        window.Add(shape);
        Place(title, 0, 0, 200, 30);
        title.backColor = kNavy;
        title.Add(caption);
        caption.left = 4;
        caption.top = 2;
        caption.foreColor = kWhite;
        caption.SetFont(Font{u"Arial", 14.25, true});
        caption.SetCaption(u"Title");

        Place(holder, 10, 40, 100, 50);
        holder.backColor = kWhite;
        holder.Add(picture);
        holder.Add(hidden);
        holder.Add(bar);
        // Sticks out of the holder to the left and at the bottom: only the part inside shows.
        Place(picture, -5, 30, 30, 30);
        picture.picture = Solid(2, 2, kRed);
        Place(hidden, 50, 5, 20, 20);
        hidden.picture = Solid(2, 2, kBlue);
        hidden.visible = false;
        Place(bar, 80, 0, 20, 50);

        Place(shape, 150, 70, 40, 25);
        shape.fillColor = kGreen;
    }

    Bitmap Render() const { return RenderWindow(window, 200, 100, fonts); }
};

TEST(Win32Paint, ElementsDrawBackToFrontClippedToTheirPictureBox) {
    Scene scene;
    const Bitmap shot = scene.Render();
    ASSERT_EQ(shot.width, 200);
    ASSERT_EQ(shot.height, 100);
    const struct {
        int x, y;
        Rgb colour;
        const char* what;
    } cases[] = {
        {120, 50, kGrey, "window background"},
        {150, 25, kNavy, "title box"},
        {60, 50, kWhite, "holder"},
        {12, 75, kRed, "picture, inside the holder"},
        {7, 75, kGrey, "picture, clipped left of the holder"},
        {15, 95, kGrey, "picture, clipped below the holder"},
        {65, 55, kWhite, "hidden picture"},
        {95, 60, kWhite, "scroll bar: a control, not painted"},
        {160, 80, kGreen, "shape"},
        {195, 98, kGrey, "right of the shape"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shot.ColourAt(c.x, c.y), c.colour) << c.what << " at " << c.x << "," << c.y;
    }
}

TEST(Win32Paint, ZOrderDecidesWhichOverlapShows) {
    Scene scene;
    Shape front("front");
    scene.window.Add(front);
    Place(front, 140, 60, 30, 30);
    front.fillColor = kBlue;
    EXPECT_EQ(scene.Render().ColourAt(160, 80), kBlue);
    scene.window.ZOrderFront(scene.shape);
    EXPECT_EQ(scene.Render().ColourAt(160, 80), kGreen);
}

TEST(Win32Paint, PicturesStretchToTheElementAndBlendByTheirAlpha) {
    Scene scene;
    Bitmap quarters(2, 2, kRed);
    quarters.Set(1, 0, Argb(kGreen));
    quarters.Set(0, 1, Argb(kBlue));
    quarters.Set(1, 1, Argb(kNavy));
    Place(scene.picture, 0, 0, 40, 40);
    scene.picture.picture = std::make_shared<const Bitmap>(quarters);
    const Bitmap stretched = scene.Render();
    // The holder is at (10, 40): each source pixel covers 20 x 20 screen pixels.
    EXPECT_EQ(stretched.ColourAt(10 + 5, 40 + 5), kRed);
    EXPECT_EQ(stretched.ColourAt(10 + 35, 40 + 5), kGreen);
    EXPECT_EQ(stretched.ColourAt(10 + 5, 40 + 35), kBlue);
    EXPECT_EQ(stretched.ColourAt(10 + 35, 40 + 35), kNavy);
    EXPECT_EQ(stretched.ColourAt(10 + 19, 40 + 19), kRed);
    EXPECT_EQ(stretched.ColourAt(10 + 20, 40 + 20), kNavy);

    // Half-transparent red over the white holder; a clear picture leaves the holder as it is.
    scene.picture.picture = Solid(4, 4, kRed, 128);
    const Rgb blended = scene.Render().ColourAt(20, 50);
    EXPECT_EQ(blended.r, 255);
    EXPECT_NEAR(blended.g, 127, 1);
    EXPECT_NEAR(blended.b, 127, 1);
    scene.picture.picture = Solid(4, 4, kRed, 0);
    EXPECT_EQ(scene.Render().ColourAt(20, 50), kWhite);
    scene.picture.picture = nullptr;
    EXPECT_EQ(scene.Render().ColourAt(20, 50), kWhite);
}

TEST(Win32Paint, PictureBoxSurfaceKeepsItsOwnSize) {
    Scene scene;
    scene.holder.Cls(); // 100 x 50 white
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            scene.holder.surface().Set(x, y, Argb(kBlue));
        }
    }
    scene.picture.visible = false;
    const Bitmap shot = scene.Render();
    EXPECT_EQ(shot.ColourAt(10 + 5, 40 + 5), kBlue);
    EXPECT_EQ(shot.ColourAt(10 + 12, 40 + 5), kWhite) << "drawn at its own size, not stretched to the box";
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

TEST(Win32Paint, LabelsDrawTheirTextInsideTheirBox) {
    Scene scene;
    Label fixed("fixed", scene.system, false);
    scene.window.Add(fixed);
    Place(fixed, 120, 35, 60, 30);
    fixed.foreColor = kBlack;
    fixed.SetFont(Font{u"Arial", 9, false});
    fixed.SetCaption(u"Words that wrap onto more lines than fit");

    const Bitmap shot = scene.Render();
    // The self-sizing title: white text on navy within its measured box, navy beyond it.
    const int right = static_cast<int>(scene.caption.left + scene.caption.width);
    EXPECT_TRUE(AnyPixelDiffers(shot, 4, 2, right, 28, kNavy));
    EXPECT_FALSE(AnyPixelDiffers(shot, right + 2, 0, 200, 30, kNavy));
    // The fixed label wraps inside its box and is cut at its bottom edge.
    EXPECT_TRUE(AnyPixelDiffers(shot, 120, 35, 180, 50, kGrey));
    EXPECT_TRUE(AnyPixelDiffers(shot, 120, 50, 180, 65, kGrey)) << "a second line";
    EXPECT_FALSE(AnyPixelDiffers(shot, 120, 65, 148, 70, kGrey)) << "nothing below the box";
    EXPECT_FALSE(AnyPixelDiffers(shot, 181, 35, 200, 65, kGrey)) << "nothing right of the box";

    fixed.backColor = kWhite;
    fixed.SetCaption(u"");
    EXPECT_FALSE(AnyPixelDiffers(scene.Render(), 120, 35, 180, 65, kWhite)) << "the background fills the box";
}

TEST(Win32Paint, HitTestFindsTheFrontMostShownElement) {
    Scene scene;
    const struct {
        double x, y;
        const char* name; // nullptr: the window's own background
    } cases[] = {
        {20, 10, "caption"}, // a label inside the title box
        {150, 10, "title"},  // the title box beyond its label
        {12, 75, "picture"}, // inside the holder
        {7, 75, nullptr},    // the picture's part outside the holder is not there
        {65, 55, "holder"},  // the hidden picture is skipped
        {95, 60, "holder"},  // the scroll bar takes its own pointer events
        {160, 80, "shape"},  {120, 60, nullptr},
        {-1, -1, nullptr},   {200, 100, nullptr}, // the right and bottom edges are outside
    };
    for (const auto& c : cases) {
        const Element* hit = ElementAt(scene.window, c.x, c.y);
        if (c.name == nullptr) {
            EXPECT_EQ(hit, nullptr) << c.x << "," << c.y << " hit " << (hit ? hit->name() : "");
        } else {
            ASSERT_NE(hit, nullptr) << c.x << "," << c.y;
            EXPECT_EQ(hit->name(), c.name) << c.x << "," << c.y;
        }
    }
    scene.holder.visible = false;
    EXPECT_EQ(ElementAt(scene.window, 12, 75), nullptr) << "a hidden box hides its children";
    EXPECT_FALSE(Shown(scene.picture));
}

TEST(Win32Paint, PointerPositionsAreInTwipsForLabelsAndImagesAndPixelsForBoxes) {
    Scene scene;
    // The picture's top-left corner is at (10 - 5, 40 + 30) in the window.
    const PointerEvent onImage = PointerEventFor(scene.window, scene.picture, 12, 75, kRightButton, 3, 15, 15);
    EXPECT_EQ(onImage.index, 0);
    EXPECT_EQ(onImage.button, kRightButton);
    EXPECT_EQ(onImage.shift, 3);
    EXPECT_DOUBLE_EQ(onImage.x, (12 - 5) * 15.0);
    EXPECT_DOUBLE_EQ(onImage.y, (75 - 70) * 15.0);

    const PointerEvent onBox = PointerEventFor(scene.window, scene.holder, 12, 75, kLeftButton, 0, 15, 15);
    EXPECT_DOUBLE_EQ(onBox.x, 2);
    EXPECT_DOUBLE_EQ(onBox.y, 35);

    // Outside the element (a drag holding the capture): negative, at another resolution.
    const PointerEvent onLabel = PointerEventFor(scene.window, scene.caption, 0, 0, kLeftButton, 0, 10, 12);
    EXPECT_DOUBLE_EQ(onLabel.x, -4 * 10.0);
    EXPECT_DOUBLE_EQ(onLabel.y, -2 * 12.0);

    ControlArray<Image> tiles(std::make_unique<Image>("tile"));
    scene.holder.Add(tiles[0]);
    tiles.Append();
    Image& third = tiles.Append();
    third.visible = true;
    EXPECT_EQ(PointerEventFor(scene.window, third, 0, 0, kLeftButton, 0, 15, 15).index, 2);
    EXPECT_TRUE(BoxInWindow(scene.window, third).has_value());
    Image detached("detached");
    EXPECT_FALSE(BoxInWindow(scene.window, detached).has_value());
    EXPECT_FALSE(Contains(scene.window, &detached));
    EXPECT_TRUE(Contains(scene.window, &third));
}

TEST(Win32Paint, ScrollBarsMapOntoControlPositions) {
    ScrollBar bar("bar");
    const struct {
        std::int16_t min, max, value, large;
        ScrollMapping mapping;
    } cases[] = {
        {0, 2, 1, 4, {5, 4, 1}},   // 29 tiles, 5 columns, 5 rows: the thumb covers 4 of 6 rows
        {0, 3, 3, 3, {5, 3, 3}},   // at the bottom
        {0, 29, 0, 1, {29, 1, 0}}, // one row at a time
        {0, 0, 0, 4, {3, 4, 0}},   // nothing to scroll
        {0, -1, -1, 1, {1, 1, 1}}, // a reversed range: the value grows towards the top
        {5, 5, 5, 0, {0, 1, 0}},   // a large step below 1 still gives the thumb a size
    };
    for (const auto& c : cases) {
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        ASSERT_TRUE(bar.SetValue(c.value));
        bar.largeChange = c.large;
        const ScrollMapping m = MapScrollBar(bar);
        EXPECT_EQ(m.maximum, c.mapping.maximum) << c.min << ".." << c.max;
        EXPECT_EQ(m.page, c.mapping.page) << c.min << ".." << c.max;
        EXPECT_EQ(m.position, c.mapping.position) << c.min << ".." << c.max;
        EXPECT_EQ(ScrollValueAt(bar, m.position), c.value) << "a position maps back to its value";
    }
}

TEST(Win32Paint, ScrollStepsMoveTowardsTheEndsAndStopThere) {
    ScrollBar bar("bar");
    bar.SetMax(10);
    bar.smallChange = 1;
    bar.largeChange = 4;
    ASSERT_TRUE(bar.SetValue(3));
    EXPECT_EQ(ScrollValueAfterStep(bar, 1, false), 4);
    EXPECT_EQ(ScrollValueAfterStep(bar, -1, false), 2);
    EXPECT_EQ(ScrollValueAfterStep(bar, 1, true), 7);
    EXPECT_EQ(ScrollValueAfterStep(bar, -1, true), 0) << "stops at the minimum";
    ASSERT_TRUE(bar.SetValue(9));
    EXPECT_EQ(ScrollValueAfterStep(bar, 1, true), 10) << "stops at the maximum";
    EXPECT_EQ(ScrollValueAt(bar, 99), 10);
    EXPECT_EQ(ScrollValueAt(bar, -5), 0);

    // Reversed: the bottom arrow moves towards the maximum, which lies below the minimum.
    ScrollBar reversed("reversed");
    reversed.SetMin(2);
    reversed.SetMax(-2);
    ASSERT_TRUE(reversed.SetValue(2));
    EXPECT_EQ(ScrollValueAfterStep(reversed, 1, false), 1);
    EXPECT_EQ(ScrollValueAfterStep(reversed, -1, false), 2);
    EXPECT_EQ(ScrollValueAt(reversed, 4), -2);
}

} // namespace
} // namespace platform
