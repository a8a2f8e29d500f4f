#include "launcher/Keyboard.h"
#include "LauncherScene.h"
#include "launcher/Accessibility.h"
#include "launcher/TileFiles.h"
#include "launcher/Tiles.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace launcher {
namespace {

using platform::DecimalText;
using platform::Text;
using Keys = std::vector<std::pair<int, int>>; // key, then the display position focused after it

Text Exe(int id) {
    return u"C:\\Suite\\p" + DecimalText(id) + u".exe";
}

// `count` programs in display order by id, in a tile area of width x height pixels (180 x 120 cells), the
// keys and the wheel connected as at start-up. Program 0 has a help video.
struct KeyScene : testing_support::LauncherScene {
    explicit KeyScene(int count, double width = 900, double height = 481) {
        form().progHolder.width = width;
        form().progHolder.height = height;
        app->values.gridColumns = static_cast<Int16>(width / 180);
        app->values.gridRows = static_cast<Int16>(height / 120);
        cat().progCount = static_cast<Int16>(count);
        for (int id = 0; id < count; ++id) {
            cat().order[static_cast<std::size_t>(id)] = static_cast<Int16>(id);
            cat().progList[static_cast<std::size_t>(id)] = {u"P" + DecimalText(id),
                                                            Exe(id),
                                                            u"",
                                                            u"About " + DecimalText(id),
                                                            id == 0 ? u"C:\\Suite\\video.exe" : u"",
                                                            catalogue::kTrue};
            files.AddFile(Exe(id));
        }
        files.AddFile(u"C:\\Suite\\video.exe");
        const int rows = (count + app->values.gridColumns - 1) / app->values.gridColumns;
        form().VScroll.SetMax(static_cast<Int16>(std::max(0, rows - app->values.gridRows)));
        form().onKeyDown = [this](int key, int shift) { KeyboardKeyDown(*app, key, shift); };
        AskTileFiles(*app);
        LayoutTiles(*app);
    }
    void Check(const Keys& keys) {
        for (const auto& [key, position] : keys) {
            driver.Key(form(), key);
            EXPECT_EQ(app->values.focus, (KeyboardFocus{FocusKind::Tile, position})) << "after key " << key;
            const auto slot = SlotOfPosition(*app, position);
            ASSERT_TRUE(slot) << "the focused tile is laid out";
            EXPECT_TRUE(form().progIcon[*slot].focusRing && form().progName[*slot].focusRing);
            EXPECT_EQ(form().progInfo.caption(), cat().progList[static_cast<std::size_t>(position)].desc);
        }
    }
};

using namespace platform; // key codes

TEST(Keyboard, MovesOverTheListedTilesInDisplayOrderAndBringsTheirRowIntoView) {
    KeyScene grid(12); // 5 a row, the last row of two
    EXPECT_FALSE(grid.form().keyboardCues) << "no ring before the first key";
    grid.Check({{kKeyDown, 0},
                {kKeyRight, 1},
                {kKeyDown, 6},
                {kKeyDown, 11},
                {kKeyUp, 6},
                {kKeyRight, 7},
                {kKeyRight, 8},
                {kKeyDown, 11},
                {kKeyEnd, 11},
                {kKeyRight, 11},
                {kKeyHome, 0},
                {kKeyLeft, 0},
                {kKeyUp, 0},
                {kKeyPageDown, 10},
                {kKeyPageUp, 0}});
    EXPECT_TRUE(grid.form().keyboardCues);

    KeyScene column(3, 200);
    column.Check({{kKeyRight, 0}, {kKeyDown, 1}, {kKeyDown, 2}, {kKeyUp, 1}});

    // 30 tiles in six rows, four shown: the scroll value follows the focused row, and a grid scrolled
    // with the mouse keeps the focus on its program, now in another slot.
    KeyScene scrolled(30);
    scrolled.Check({{kKeyDown, 0}, {kKeyEnd, 29}});
    EXPECT_EQ(scrolled.form().VScroll.value(), 2);
    scrolled.Check({{kKeyPageUp, 9}});
    EXPECT_EQ(scrolled.form().VScroll.value(), 1);
    scrolled.driver.Scroll(scrolled.form().VScroll, 0);
    EXPECT_TRUE(scrolled.form().progIcon[9].focusRing);
    scrolled.Check({{kKeyHome, 0}});

    // Hidden programs and programs not installed (not listed unless all are shown) get no focus.
    KeyScene gaps(12);
    gaps.cat().progList[1].show = catalogue::kFalse;
    static_cast<void>(gaps.files.EraseFile(Exe(2)));
    AskTileFiles(*gaps.app);
    LayoutTiles(*gaps.app);
    gaps.Check({{kKeyTab, 0}, {kKeyRight, 3}, {kKeyLeft, 0}, {kKeyDown, 7}});
    gaps.cat().showall = catalogue::kTrue;
    AskTileFiles(*gaps.app);
    LayoutTiles(*gaps.app);
    gaps.Check({{kKeyHome, 0}});
    gaps.driver.Key(gaps.form(), kKeyRight);
    EXPECT_EQ(gaps.app->values.focus.position, 2) << "listed greyed when all are shown";
}

TEST(Keyboard, TabGoesRoundTilesVideoButtonsAndCaptionButtonsAndEnterOrSpaceClicks) {
    KeyScene s(2);
    const std::vector<KeyboardFocus> order = {
        {FocusKind::Tile, 0},      {FocusKind::Video, 0}, {FocusKind::Tile, 1}, {FocusKind::Minimise, -1},
        {FocusKind::Maximise, -1}, {FocusKind::Exit, -1}, {FocusKind::Tile, 0}};
    for (const KeyboardFocus& focus : order) {
        s.driver.Key(s.form(), kKeyTab);
        EXPECT_EQ(s.app->values.focus, focus);
    }
    s.driver.Key(s.form(), kKeyTab, kShiftMask);
    EXPECT_TRUE(s.app->values.focus.kind == FocusKind::Exit && s.form().ExitBut.focusRing);
    s.driver.Key(s.form(), kKeyTab);

    // The tile's click: started once, then the busy second holds Enter and Space off like a click.
    s.driver.Key(s.form(), kKeyEnter);
    s.driver.Key(s.form(), kKeySpace);
    EXPECT_EQ(s.system.Starts().size(), 1u);
    EXPECT_EQ(s.form().progIcon[0].left, s.form().progIcon[1].left - 180) << "the nudge is undone";
    s.driver.Advance(1000);
    s.driver.Key(s.form(), kKeySpace);
    s.driver.Key(s.form(), kKeyTab);
    s.driver.Key(s.form(), kKeyEnter); // the video button works while busy
    ASSERT_EQ(s.system.Starts().size(), 3u);
    EXPECT_EQ(s.system.Starts()[2].path, u"C:\\Suite\\video.exe");
    s.driver.Key(s.form(), kKeyTab, kShiftMask);
    s.driver.Key(s.form(), kKeyTab, kShiftMask);
    s.driver.Key(s.form(), kKeyEnter);
    EXPECT_EQ(s.quits, 1) << "Shift+Tab from the video button round to the exit button";
}

TEST(Keyboard, WheelNotchesAddUpAndScrollOneRowEachWithinTheRange) {
    KeyScene s(30); // scroll range 0 to 2
    const std::pair<int, int> turns[] = {{-60, 0}, {-60, 1}, {-1200, 2}, {119, 2}, {1, 1}, {240, 0}};
    for (const auto& [delta, value] : turns) {
        s.driver.Wheel(s.form(), delta);
        EXPECT_EQ(s.form().VScroll.value(), value) << "after " << delta;
    }
}

TEST(Accessibility, TilesAreNamedDescribedAndGreyedAndTheirDefaultActionStarts) {
    KeyScene s(2);
    s.cat().showall = catalogue::kTrue;
    static_cast<void>(s.files.EraseFile(Exe(1)));
    AskTileFiles(*s.app);
    LayoutTiles(*s.app);
    s.driver.Key(s.form(), kKeyRight);
    const auto parts = AccessibleParts(*s.app);
    const std::vector<std::pair<Text, bool>> names = {
        {u"P0", false}, {u"Help video: P0", false}, {u"P1", true},      {u"Minimise", false},
        {u"", false},   {u"Exit", false},           {u"About 0", false}};
    ASSERT_EQ(parts.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(parts[i].name, names[i].first);
        EXPECT_EQ(parts[i].unavailable, names[i].second);
        EXPECT_EQ(parts[i].focused, i == 0);
    }
    EXPECT_EQ(parts[2].description, u"This program has not been installed.") << "as the description label says";
    EXPECT_EQ(parts[0].defaultAction, u"Start");
    parts[0].doDefaultAction();
    EXPECT_EQ(s.system.Starts().size(), 1u);
}

TEST(Accessibility, TheWheelKeepsTheFocusInViewAndTilesBelowTheAreaAreOffscreenBesideTheScrollBar) {
    KeyScene s(30); // 4 rows shown of 6
    s.driver.Key(s.form(), kKeyDown);
    s.driver.Key(s.form(), kKeyRight);
    s.driver.Wheel(s.form(), -kWheelNotch);
    EXPECT_EQ(s.app->values.focus, (KeyboardFocus{FocusKind::Tile, 6})) << "down a row, in the same column";
    s.driver.Wheel(s.form(), -kWheelNotch);
    s.driver.Wheel(s.form(), kWheelNotch);
    EXPECT_EQ(s.app->values.focus, (KeyboardFocus{FocusKind::Tile, 11})) << "still in view: it stays";
    EXPECT_TRUE(s.form().progIcon[SlotOfPosition(*s.app, 11).value_or(0)].focusRing) << "the ring moved with it";
    const auto parts = AccessibleParts(*s.app);
    ASSERT_EQ(parts.size(), 25u + 1 + 3 + 1) << "25 tiles, the scroll bar, the caption buttons, the text";
    EXPECT_FALSE(parts[19].offscreen);
    EXPECT_TRUE(parts[20].offscreen && parts[24].offscreen) << "the fifth row lies below the tile area";
    EXPECT_EQ(parts[25].role, platform::AccessibleItem::Role::ScrollBar);
    EXPECT_EQ(parts[25].value, u"1");
}

// A finger (or pen, or the mouse) pressed on a tile's picture, moved by each of `moves` (pixels from the
// press, up negative), held `heldMs` and lifted where it last was; on 30 programs, 5 a row, 4 rows shown
// (scroll range 0 to 2), starting at `from`. Then the scroll value and the programs started.
using Stroke = std::tuple<const char*, PointerSource, int, int, std::vector<double>, long long, int, std::size_t>;

TEST(Touch, AFingerPansTheGridRowsFollowingItAndOnlyATapStarts) {
    const PointerSource finger = PointerSource::Touch, mouse = PointerSource::Mouse;
    const int left = platform::kLeftButton;
    const Stroke strokes[] = {{"within the slop, then up 2 rows", finger, left, 0, {-9, -130, -250}, 100, 2, 0},
                              {"down a row and a half from the end", finger, left, 2, {20, 130, 185}, 100, 0, 0},
                              {"past the range", finger, left, 0, {-600}, 100, 2, 0},
                              {"a pen as a finger", PointerSource::Pen, left, 0, {-130}, 100, 1, 0},
                              {"a tap that wanders within the slop", finger, left, 0, {6, -7}, 100, 0, 1},
                              {"held still", finger, left, 0, {}, platform::kTouchHoldMs, 0, 0},
                              {"the system's press-and-hold", finger, platform::kRightButton, 0, {}, 100, 0, 0},
                              {"the mouse drags nothing and starts on release", mouse, left, 0, {-250}, 100, 0, 1}};
    for (const auto& [what, source, button, from, moves, heldMs, value, starts] : strokes) {
        KeyScene s(30);
        static_cast<void>(s.form().VScroll.SetValue(static_cast<Int16>(from)));
        platform::Image& picture = s.form().progIcon[7];
        s.driver.UsePointer(source);
        s.driver.Press(picture, 32, 32, button);
        for (const double dy : moves) {
            s.driver.Move(picture, 32, 32 + dy);
        }
        s.driver.Advance(heldMs);
        s.driver.Release(picture, 32, 32 + (moves.empty() ? 0 : moves.back()), button);
        EXPECT_EQ(s.form().VScroll.value(), value) << what;
        EXPECT_EQ(s.system.Starts().size(), starts) << what;
    }
}

} // namespace
} // namespace launcher
