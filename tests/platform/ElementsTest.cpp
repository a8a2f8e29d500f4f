#include "platform/Elements.h"
#include "TestSupport.h"
#include "platform/headless/HeadlessSystem.h"

#include <gtest/gtest.h>

#include <array>

namespace platform {
namespace {

TEST(ScrollBar, AValueChangeRaisesTheChangeEventAtOnceAndAThumbDragOnlyTheScrollEvent) {
    ScrollBar bar("VScroll");
    int changes = 0, scrolls = 0;
    bar.onChange = [&] { ++changes; };
    bar.onScroll = [&] { ++scrolls; };
    bar.SetMax(5);
    EXPECT_TRUE(bar.SetValue(3));
    EXPECT_TRUE(bar.SetValue(3)) << "the same value again";
    EXPECT_FALSE(bar.SetValue(6)) << "outside the range";
    EXPECT_FALSE(bar.SetValue(-1));
    EXPECT_EQ((std::array{int{bar.value()}, changes}), (std::array{3, 1})) << "the value and the change events";
    bar.SetMax(2); // pulls the value into the new range
    EXPECT_EQ((std::array{int{bar.value()}, changes}), (std::array{2, 2}));

    bar.SetMax(10);
    bar.Scroll(4);
    bar.Scroll(40);
    EXPECT_EQ((std::array{int{bar.value()}, scrolls, changes}), (std::array{10, 2, 2}));

    bar.SetMax(-1); // a catalogue that fits on one page: the range is -1..0
    EXPECT_EQ(bar.value(), 0);
    EXPECT_TRUE(bar.SetValue(-1));
    EXPECT_FALSE(bar.SetValue(1));
}

TEST(Container, KeepsChildrenBackToFrontAndBringsOneToTheFront) {
    testing_support::ElementScene<HeadlessSystem> s; // the holder holds a picture, a hidden picture and a bar
    s.holder.ZOrderFront(s.picture);
    EXPECT_EQ(s.holder.children(), (std::vector<Element*>{&s.hidden, &s.bar, &s.picture}));
    s.holder.Remove(s.bar);
    EXPECT_EQ(s.holder.ZIndexOf(s.bar), -1);
    EXPECT_EQ(s.bar.container(), nullptr);
}

TEST(Label, SelfSizingLabelsFollowTheirCaptionAtOnce) {
    HeadlessSystem system;
    Label fixed("progInfo", system, false), sized("progName", system, true);
    fixed.width = 417;
    sized.SetFont(Font{u"Arial", 15, false}); // 20 pixels an em at 15 twips per pixel: 10 a character
    fixed.SetCaption(u"Count to ten");
    sized.SetCaption(u"Count to ten");
    EXPECT_EQ((std::array{fixed.width, sized.width, sized.height}), (std::array{417.0, 120.0, 23.0}));
    sized.SetFontSize(30);
    EXPECT_EQ(sized.width, 240);
}

} // namespace
} // namespace platform
