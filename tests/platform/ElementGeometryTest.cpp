// Tests of element geometry: hit testing in z-order through picture boxes, what is shown, boxes in client
// pixels, pointer units, and the scroll-bar mapping. The Win32 window and the headless driver use this
// code, so a fault here shows on the host.
#include "platform/ElementGeometry.h"
#include "platform/headless/HeadlessSystem.h"

#include <gtest/gtest.h>

#include <memory>

namespace platform {
namespace {

void Place(Element& e, double left, double top, double width, double height) {
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
}

// A 200 x 100 pixel window: a title box at the top with a label in it, a holder box with a picture that
// sticks out of it, a hidden picture and a scroll bar, and a shape at the bottom right.
struct Scene {
    HeadlessSystem system;
    Window window{u"Scene", kWhite};
    PictureBox title{"title", system};
    Label caption{"caption", system, false};
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
        title.Add(caption);
        Place(caption, 4, 2, 60, 20);
        Place(holder, 10, 40, 100, 50);
        holder.Add(picture);
        holder.Add(hidden);
        holder.Add(bar);
        Place(picture, -5, 30, 30, 30); // only its part inside the holder is there
        Place(hidden, 50, 5, 20, 20);
        hidden.visible = false;
        Place(bar, 80, 0, 20, 50);
        Place(shape, 150, 70, 40, 25);
    }

    const char* NameAt(double x, double y) const {
        const Element* hit = ElementAt(window, x, y);
        return hit != nullptr ? hit->name().c_str() : "";
    }
};

TEST(ElementGeometry, HitTestFindsTheFrontMostShownElement) {
    Scene scene;
    const struct {
        double x, y;
        const char* name; // empty: the window's own background
    } cases[] = {
        {20, 10, "caption"}, {150, 10, "title"}, // a label inside its box, and the box beyond it
        {12, 75, "picture"}, {7, 75, ""},        // the picture's part outside the holder is not there
        {5, 95, ""},         {65, 55, "holder"}, // below the holder; the hidden picture is skipped
        {95, 60, "holder"},                      // the scroll bar takes its own pointer events
        {150, 70, "shape"},  {189.9, 94.9, "shape"},
        {190, 80, ""},       {160, 95, ""}, // right and bottom edges
        {120, 60, ""},       {-1, -1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(scene.NameAt(c.x, c.y), c.name) << c.x << "," << c.y;
    }
}

TEST(ElementGeometry, ZOrderAndHiddenBoxesDecideWhatIsUnderThePointer) {
    Scene scene;
    Shape front("front");
    scene.window.Add(front);
    Place(front, 140, 60, 30, 30);
    EXPECT_STREQ(scene.NameAt(160, 80), "front") << "the last added lies in front";
    scene.window.ZOrderFront(scene.shape);
    EXPECT_STREQ(scene.NameAt(160, 80), "shape");

    scene.holder.visible = false;
    EXPECT_STREQ(scene.NameAt(12, 75), "") << "a hidden box hides its children";
    const struct {
        const Element* element;
        bool shown;
    } cases[] = {{&scene.picture, false}, {&scene.bar, false},  {&scene.holder, false},
                 {&scene.caption, true},  {&scene.shape, true}, {&scene.hidden, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(Shown(*c.element), c.shown) << c.element->name();
    }
}

TEST(ElementGeometry, PointerPositionsAreInTwipsForLabelsAndImagesAndPixelsForBoxes) {
    Scene scene;
    // The picture's top-left corner is at (10 - 5, 40 + 30) in the window, the caption's at (4, 2).
    const struct {
        const Element* element;
        double clientX, clientY, twipsX, twipsY;
        double x, y;
    } cases[] = {
        {&scene.picture, 12, 75, 15, 15, 7 * 15.0, 5 * 15.0},
        {&scene.holder, 12, 75, 15, 15, 2, 35},
        {&scene.shape, 151, 72, 15, 15, 1, 2},
        {&scene.caption, 0, 0, 10, 12, -4 * 10.0, -2 * 12.0}, // outside it, as a drag holding the capture
    };
    for (const auto& c : cases) {
        const PointerEvent e =
            PointerEventFor(scene.window, *c.element, c.clientX, c.clientY, kRightButton, 3, c.twipsX, c.twipsY);
        EXPECT_DOUBLE_EQ(e.x, c.x) << c.element->name();
        EXPECT_DOUBLE_EQ(e.y, c.y) << c.element->name();
        EXPECT_EQ(e.button, kRightButton);
        EXPECT_EQ(e.shift, 3);
    }

    ControlArray<Image> tiles(std::make_unique<Image>("tile"));
    scene.holder.Add(tiles[0]);
    tiles.Append();
    Image& third = tiles.Append();
    EXPECT_EQ(PointerEventFor(scene.window, third, 0, 0, kLeftButton, 0, 15, 15).index, 2);
    EXPECT_TRUE(Contains(scene.window, &third));
    Image detached("detached");
    EXPECT_FALSE(BoxInWindow(scene.window, detached).has_value());
    EXPECT_FALSE(Contains(scene.window, &detached));
    EXPECT_FALSE(Contains(scene.window, nullptr));
}

TEST(ElementGeometry, ScrollBarsMapOntoControlPositionsAndBack) {
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
        {2, -2, -1, 2, {5, 2, 3}}, // reversed, in the middle
        {5, 5, 5, 0, {0, 1, 0}},   // a large step below 1 still gives the thumb a size
    };
    for (const auto& c : cases) {
        bar.SetMin(c.min);
        bar.SetMax(c.max);
        ASSERT_TRUE(bar.SetValue(c.value));
        bar.largeChange = c.large;
        const ScrollMapping m = MapScrollBar(bar);
        EXPECT_EQ(m, c.mapping) << c.min << ".." << c.max << " at " << c.value << ": " << m.maximum << "," << m.page
                                << "," << m.position;
        EXPECT_EQ(ScrollValueAt(bar, m.position), c.value) << "a position maps back to its value";
    }
}

TEST(ElementGeometry, ScrollStepsMoveTowardsTheEndsAndStopThere) {
    const struct {
        std::int16_t min, max, value;
        int steps;
        bool page;
        std::int16_t after;
    } steps[] = {
        {0, 10, 3, 1, false, 4},  {0, 10, 3, -1, false, 2}, {0, 10, 3, 1, true, 7},
        {0, 10, 3, -1, true, 0},  {0, 10, 9, 1, true, 10},  // stop at the ends
        {2, -2, 2, 1, false, 1},  {2, -2, 2, -1, false, 2}, // reversed: the bottom arrow goes towards the maximum
        {2, -2, -1, 1, true, -2},
    };
    for (const auto& s : steps) {
        ScrollBar bar("bar");
        bar.SetMin(s.min);
        bar.SetMax(s.max);
        bar.smallChange = 1;
        bar.largeChange = 4;
        ASSERT_TRUE(bar.SetValue(s.value));
        EXPECT_EQ(ScrollValueAfterStep(bar, s.steps, s.page), s.after)
            << s.min << ".." << s.max << " from " << s.value << " by " << s.steps << (s.page ? " pages" : " lines");
    }
    ScrollBar bar("bar");
    bar.SetMax(10);
    EXPECT_EQ(ScrollValueAt(bar, 99), 10) << "positions beyond the track are clamped";
    EXPECT_EQ(ScrollValueAt(bar, -5), 0);
}

} // namespace
} // namespace platform
