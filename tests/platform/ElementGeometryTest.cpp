// Tests of element geometry: hit testing in z-order through picture boxes, what is shown, boxes in client
// pixels, pointer units, and the scroll-bar mapping. The Win32 window and the headless driver use this
// code, so a fault here shows on the host.
#include "platform/ElementGeometry.h"
#include "TestSupport.h"
#include "platform/headless/HeadlessSystem.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>
#include <utility>

namespace platform {
namespace {

struct Scene : testing_support::ElementScene<HeadlessSystem> {
    const char* NameAt(double x, double y) const {
        const Element* hit = ElementAt(window, x, y);
        return hit != nullptr ? hit->name().c_str() : "";
    }
};

TEST(ElementGeometry, HitTestFindsTheFrontMostShownElementThroughZOrderAndHiddenBoxes) {
    Scene scene;
    // A point in the window and the element there (empty: the window's own background).
    const std::tuple<double, double, const char*> cases[] = {
        {20, 10, "caption"}, {150, 10, "title"}, // a label inside its box, and the box beyond it
        {12, 75, "picture"}, {7, 75, ""},        // the picture's part outside the holder is not there
        {5, 95, ""},         {65, 55, "holder"}, // below the holder; the hidden picture is skipped
        {95, 60, "holder"},                      // the scroll bar takes its own pointer events
        {150, 70, "shape"},  {189.9, 94.9, "shape"},
        {190, 80, ""},       {160, 95, ""}, // right and bottom edges
        {120, 60, ""},       {-1, -1, ""},
    };
    for (const auto& [x, y, name] : cases) {
        EXPECT_STREQ(scene.NameAt(x, y), name) << x << "," << y;
    }

    Shape front("front");
    scene.window.Add(front);
    testing_support::Place(front, 140, 60, 30, 30);
    EXPECT_STREQ(scene.NameAt(160, 80), "front") << "the last added lies in front";
    scene.window.ZOrderFront(scene.shape);
    EXPECT_STREQ(scene.NameAt(160, 80), "shape");

    scene.holder.visible = false;
    EXPECT_STREQ(scene.NameAt(12, 75), "") << "a hidden box hides its children";
    const std::pair<const Element*, bool> shown[] = {{&scene.picture, false}, {&scene.bar, false},
                                                     {&scene.holder, false},  {&scene.caption, true},
                                                     {&scene.shape, true},    {&scene.hidden, false}};
    for (const auto& [element, isShown] : shown) {
        EXPECT_EQ(Shown(*element), isShown) << element->name();
    }
}

TEST(ElementGeometry, PointerPositionsAreInTwipsForLabelsAndImagesAndPixelsForBoxes) {
    Scene scene;
    // The picture's top-left corner is at (10 - 5, 40 + 30) in the window, the caption's at (4, 2).
    // The element, a point in the window, the twips a pixel across and down, and the position handed over.
    const std::tuple<const Element*, double, double, double, double, double, double> cases[] = {
        {&scene.picture, 12, 75, 15, 15, 7 * 15.0, 5 * 15.0},
        {&scene.holder, 12, 75, 15, 15, 2, 35},
        {&scene.shape, 151, 72, 15, 15, 1, 2},
        {&scene.caption, 0, 0, 10, 12, -4 * 10.0, -2 * 12.0}, // outside it, as a drag holding the capture
    };
    for (const auto& [element, clientX, clientY, twipsX, twipsY, x, y] : cases) {
        const PointerEvent e =
            PointerEventFor(scene.window, *element, clientX, clientY, kRightButton, 3, twipsX, twipsY);
        EXPECT_EQ((std::array{e.x, e.y}), (std::array{x, y})) << element->name();
        EXPECT_EQ((std::array{e.button, e.shift}), (std::array{int{kRightButton}, 3}));
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

TEST(ElementGeometry, ScrollBarsMapOntoControlPositionsAndBackAndStepTowardsTheEnds) {
    ScrollBar bar("bar");
    bar.smallChange = 1;
    // The range, the value, the large step; the control's maximum, page and position; and the value after a
    // line down, a line up, a page down and a page up.
    const std::tuple<std::int16_t, std::int16_t, std::int16_t, std::int16_t, ScrollMapping, std::array<int, 4>>
        cases[] = {
            {0, 2, 1, 4, {5, 4, 1}, {2, 0, 2, 0}},   // 29 tiles, 5 columns, 5 rows: the thumb covers 4 of 6 rows
            {0, 3, 3, 3, {5, 3, 3}, {3, 2, 3, 0}},   // at the bottom
            {0, 29, 0, 1, {29, 1, 0}, {1, 0, 1, 0}}, // one row at a time
            {0, 0, 0, 4, {3, 4, 0}, {0, 0, 0, 0}},   // nothing to scroll
            {0, 10, 3, 4, {13, 4, 3}, {4, 2, 7, 0}}, // steps stop at the ends
            {0, 10, 9, 4, {13, 4, 9}, {10, 8, 10, 5}},
            {0, -1, -1, 1, {1, 1, 1}, {-1, 0, -1, 0}}, // a reversed range: the value grows towards the top...
            {2, -2, 2, 4, {7, 4, 0}, {1, 2, -2, 2}},   // ...and the bottom arrow goes towards the maximum
            {2, -2, -1, 2, {5, 2, 3}, {-2, 0, -2, 1}}, // reversed, in the middle
            {5, 5, 5, 0, {0, 1, 0}, {5, 5, 5, 5}},     // a large step below 1 still gives the thumb a size
        };
    for (const auto& [min, max, value, large, mapping, steps] : cases) {
        SCOPED_TRACE(testing::Message() << min << ".." << max << " at " << value << " by " << large);
        bar.SetMin(min);
        bar.SetMax(max);
        ASSERT_TRUE(bar.SetValue(value));
        bar.largeChange = large;
        const ScrollMapping m = MapScrollBar(bar);
        EXPECT_EQ(m, mapping) << m.maximum << "," << m.page << "," << m.position;
        EXPECT_EQ(ScrollValueAt(bar, m.position), value) << "a position maps back to its value";
        EXPECT_EQ((std::array<int, 4>{ScrollValueAfterStep(bar, 1, false), ScrollValueAfterStep(bar, -1, false),
                                      ScrollValueAfterStep(bar, 1, true), ScrollValueAfterStep(bar, -1, true)}),
                  steps);
    }
    bar.SetMin(0);
    bar.SetMax(10);
    EXPECT_EQ(ScrollValueAt(bar, 99), 10) << "positions beyond the track are clamped";
    EXPECT_EQ(ScrollValueAt(bar, -5), 0);
}

} // namespace
} // namespace platform
