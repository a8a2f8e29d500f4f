#include "launcher/Tiles.h"
#include "LauncherScene.h"
#include "launcher/Artwork.h"
#include "launcher/TileFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace launcher {
namespace {

using catalogue::kFalse;
using catalogue::kTrue;
using platform::Bitmap;
using platform::DecimalText;
using platform::Text;

Text ExePath(int id) {
    return u"C:\\Suite\\Prog" + DecimalText(id) + u"\\prog.exe";
}
Text PicturePath(int id) {
    return u"C:\\Launcher\\data\\prog" + DecimalText(id) + u".bmp";
}

// A 32 x 32 red icon whose corner pixel is `corner` (by default fully transparent).
Bitmap RedIcon(std::uint32_t corner = 0) {
    Bitmap icon(32, 32, platform::Rgb{255, 0, 0});
    icon.Set(0, 0, corner);
    return icon;
}

// `count` programs, installed and shown, each at the display position of its id, in a tile area of the
// given size (pixels) with the columns that the frame layout would give it.
struct TileScene : testing_support::LauncherScene {
    explicit TileScene(int count, double width = 809, double height = 521,
                       platform::ScreenInfo screen = {1024 * 15.0, 768 * 15.0, 15, 15})
        : LauncherScene(screen) {
        form().progHolder.width = width;
        form().progHolder.height = height;
        app->values.gridColumns = static_cast<Int16>(std::floor(width / 180));
        cat().progCount = static_cast<Int16>(count);
        for (int id = 0; id < count; ++id) {
            cat().order[static_cast<std::size_t>(id)] = static_cast<Int16>(id);
            prog(id) = {u"Program " + DecimalText(id), ExePath(id), u"", u"", u"", kTrue};
            files.AddFile(ExePath(id));
        }
    }

    catalogue::ProgramRecord& prog(int id) { return cat().progList[static_cast<std::size_t>(id)]; }
    void Fill() {
        AskTileFiles(*app);
        LayoutTiles(*app);
    }
    void GivePicture(int id, const Bitmap& picture) {
        prog(id).picpath = PicturePath(id);
        files.AddFile(PicturePath(id), platform::EncodeBmp(picture));
    }
    bool LookedUp(const Text& path) { return std::ranges::count(files.Lookups(), path) > 0; }
};

// ---- grid geometry ----

TEST(TileGrid, PlacesTilesOnTheCellGridWithElementSizesReadAtRunTime) {
    // The cell step is 180 x 120 pixels at any resolution; the 960-twip picture and the 315-twip-high video
    // button are measured in pixels at the screen's resolution. The first tile of a row is always placed. The
    // scroll bar shows while the last name reaches below the holder: a 22-pixel name, its top 40 below the
    // cell centre, ends row r at 122 + 120 r.
    // The holder's width and height (pixels), the programs, the columns they fill, twips a pixel, and whether
    // the scroll bar shows.
    const std::tuple<double, double, int, int, double, bool> cases[] = {{809, 2000, 29, 4, 15, false},
                                                                        {720, 361, 9, 4, 15, true},
                                                                        {719, 362, 9, 3, 15, false},
                                                                        {179, 121, 3, 1, 15, true},
                                                                        {809, 2000, 6, 4, 10, false}};
    for (const auto& [width, height, count, columns, tpp, scrollBar] : cases) {
        SCOPED_TRACE(testing::Message() << "holder width " << width << ", " << tpp << " twips a pixel");
        TileScene scene(count, width, height, {1024 * tpp, 768 * tpp, tpp, tpp});
        scene.form().VScroll.visible = !scrollBar;
        scene.Fill();
        scene.Fill(); // on slots that exist: none is made twice
        Form1& f = scene.form();
        ASSERT_EQ((std::array{f.progName.Count(), f.progIcon.Count(), f.prVidBut.Count()}),
                  (std::array{count, count, count}));
        EXPECT_EQ(f.VScroll.visible, scrollBar);
        const double icon = 960 / tpp, videoHeight = 315 / tpp;
        int highestPictureOrName = 0; // every video button lies in front of every picture and name
        for (int j = 0; j < count; ++j) {
            highestPictureOrName = std::max(
                {highestPictureOrName, f.progHolder.ZIndexOf(f.progIcon[j]), f.progHolder.ZIndexOf(f.progName[j])});
        }
        for (int j = 0; j < count; ++j) {
            SCOPED_TRACE(testing::Message() << "slot " << j);
            const double x = 90 + 180 * (j % columns);
            const double y = 60 + 120 * (j / columns);
            EXPECT_EQ(f.progName[j].tag, DecimalText(j));
            EXPECT_EQ(f.progName[j].caption(), u"Program " + DecimalText(j));
            EXPECT_TRUE(f.progIcon[j].visible && f.progName[j].visible);
            EXPECT_GT(f.progHolder.ZIndexOf(f.prVidBut[j]), highestPictureOrName);
            EXPECT_EQ(
                (std::array{f.progIcon[j].left, f.progIcon[j].top, f.prVidBut[j].left, f.prVidBut[j].top,
                            f.progName[j].top}),
                (std::array{x - icon / 2, y - icon / 2, x + icon / 2 + 2, y - videoHeight / 2, y + icon / 2 + 8}));
        }
    }
}

TEST(TileGrid, CentresTheNameUnderThePictureRoundingDown) {
    // Arial 14.25 on the headless screen: 9.5 pixels a character, rounded up to a whole width. The cells'
    // centres are 90, 270 and 450 pixels from the left.
    TileScene scene(3);
    scene.prog(0).name = u"abcdefghijklmnopqrstuvwxyzabcd"; // 90 - 142.5: -52.5 rounds down, not towards zero
    scene.prog(1).name = u"Ab";                             // 270 - 9.5 = 260.5
    scene.prog(2).name = u"abcdefghijklmnopqrst";           // 450 - 95: exact
    scene.Fill();
    const Form1& f = scene.form();
    EXPECT_EQ((std::array{f.progName[0].left, f.progName[1].left, f.progName[2].left}),
              (std::array{-53.0, 260.0, 355.0}));
}

// ---- which programs get slots, and the scroll offset ----

TEST(TileGrid, TheScrollEventsRefillFromAnOffsetThatCountsDisplayPositionsNotTiles) {
    // What happens; whether it is a thumb drag (the scroll event), else a change of value; the id with show
    // False; whether the display order is reversed (11, 10, ..., 0); the scroll value; the ids shown.
    const std::tuple<const char*, bool, int, bool, Int16, std::vector<int>> cases[] = {
        {"scrolled one row past an unlisted one", false, 2, false, 1, {4, 5, 6, 7, 8, 9, 10, 11}},
        {"unlisted inside the scrolled part", true, 5, false, 1, {4, 6, 7, 8, 9, 10, 11}},
        {"past the end", false, 2, false, 3, {}},
        {"follows the display order", true, 10, true, 1, {7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (const auto& [what, thumb, hidden, reversed, scroll, ids] : cases) {
        SCOPED_TRACE(what);
        TileScene scene(12, 809, 300); // 4 columns, 3 rows: the scroll bar shows
        scene.prog(hidden).show = kFalse;
        for (int pos = 0; reversed && pos < 12; ++pos) {
            scene.cat().order[static_cast<std::size_t>(pos)] = static_cast<Int16>(11 - pos);
        }
        scene.Fill();
        scene.form().focused = &scene.form().VScroll;
        if (thumb) {
            ASSERT_TRUE(scene.driver.Scroll(scene.form().VScroll, scroll));
        } else {
            ASSERT_TRUE(scene.form().VScroll.SetValue(scroll));
        }
        EXPECT_EQ(scene.ShownIds(), ids);
        EXPECT_EQ(scene.form().focused, &scene.form().progHolder);
    }
}

TEST(TileGrid, ListsShownProgramsThatAreInstalledOrAllWithShowAll) {
    // Program 1 is missing, 3 is hidden, 4 is a web address (installed without a lookup), 5 lies on a drive
    // that is not ready: the failed lookup skips it whatever showall says.
    for (const catalogue::Bool16 showall : {kFalse, kTrue}) {
        TileScene scene(6);
        scene.cat().showall = showall;
        ASSERT_TRUE(scene.files.EraseFile(ExePath(1)));
        scene.prog(3).show = kFalse;
        scene.prog(4).path = u"http://www.example.com/help";
        scene.prog(5).path = u"D:\\Suite\\maths.exe";
        scene.files.SetDriveNotReady(u"D:");
        scene.Fill();
        EXPECT_EQ(scene.ShownIds(), (showall ? std::vector<int>{0, 1, 2, 4} : std::vector<int>{0, 2, 4}))
            << "showall " << showall;
        EXPECT_FALSE(scene.LookedUp(scene.prog(4).path));
    }
}

// ---- the video button ----

TEST(TileVideoButton, ShowsForAnExistingPlayerOfAnInstalledProgramAndKeepsItsStateWhenTheLookupFails) {
    enum Drive { Ready, FailsOnSecondFill, FailsFromTheStart };
    // What happens, program 1's player, whether it exists, its drive, and whether the button shows after the
    // second fill.
    const std::tuple<const char*, const char16_t*, bool, Drive, bool> cases[] = {
        {"no player", u"", false, Ready, false},
        {"player missing", u"C:\\Suite\\Videos\\gone.exe", false, Ready, false},
        {"player present", u"C:\\Suite\\Videos\\vid.exe", true, Ready, true},
        {"lookup fails, was shown", u"D:\\Videos\\vid.exe", true, FailsOnSecondFill, true},
        {"lookup fails on a new slot", u"D:\\Videos\\vid.exe", true, FailsFromTheStart, false},
    };
    for (const auto& [what, videopath, playerExists, drive, shown] : cases) {
        SCOPED_TRACE(what);
        TileScene scene(2);
        scene.prog(1).videopath = videopath;
        if (playerExists) {
            scene.files.AddFile(videopath);
        }
        scene.files.SetDriveNotReady(u"D:", drive == FailsFromTheStart);
        scene.form().prVidBut[0].visible = true; // slot 0 is designed visible
        scene.Fill();
        scene.files.SetDriveNotReady(u"D:", drive != Ready);
        scene.Fill();
        EXPECT_EQ(scene.form().prVidBut[1].visible, shown);
        EXPECT_TRUE(scene.form().progName[1].visible);
        EXPECT_FALSE(scene.form().prVidBut[0].visible) << "program 0 has no player";
        // An empty path is never handed to the lookup: on the real platform it could match any file.
        EXPECT_FALSE(scene.LookedUp(Text()));
    }
}

// ---- pictures and greying ----

TEST(TilePictures, APictureFileOrTheIconOnWhiteAndTheMissingProgramPictureUntilItIsInstalled) {
    TileScene scene(5);
    scene.cat().showall = kTrue;
    Bitmap picture(100, 60, platform::kWhite);
    platform::CopyBlock(picture, 0, 0, *artwork::Logo(), 0, 0, 100, 60);
    scene.GivePicture(0, picture);
    scene.system.SetIcon(ExePath(0), RedIcon()); // not used: the picture file wins
    scene.system.SetIcon(ExePath(1), RedIcon());
    scene.prog(2).path = u"http://www.example.com/help"; // no icon: a white square
    // Program 3 is not installed: greyed, whatever its picture and player.
    scene.GivePicture(3, *artwork::OptionsBadge());
    scene.prog(3).videopath = u"C:\\Suite\\Videos\\vid.exe";
    scene.files.AddFile(u"C:\\Suite\\Videos\\vid.exe");
    ASSERT_TRUE(scene.files.EraseFile(ExePath(3)));
    // Regression: a missing picture file kept the picture the slot had, another program's after a scroll;
    // program 4's own icon shows instead.
    scene.prog(4).picpath = u"C:\\Launcher\\data\\nowhere.bmp";
    Bitmap sharp = RedIcon(); // with the system's rendering at the screen's resolution
    sharp.detail = std::make_shared<const Bitmap>(RedIcon());
    scene.system.SetIcon(ExePath(4), sharp);
    scene.Fill();
    Form1& f = scene.form();
    EXPECT_EQ(*f.progIcon[0].picture, picture);
    EXPECT_EQ((std::array{f.progIcon[0].width, f.progIcon[0].height}), (std::array{64.0, 64.0})) << "stretched";
    EXPECT_EQ(*f.progIcon[1].picture, RedIcon(platform::Argb(platform::kWhite)));
    EXPECT_EQ(*f.progIcon[2].picture, Bitmap(32, 32, platform::kWhite));
    EXPECT_EQ(*f.progIcon[3].picture, f.dumFader.surface());
    EXPECT_EQ(f.progIcon[4].picture->pixels, RedIcon(platform::Argb(platform::kWhite)).pixels);
    EXPECT_EQ(f.progIcon[4].picture->detail->pixels, RedIcon(platform::Argb(platform::kWhite)).pixels) << "on white";
    EXPECT_EQ((std::array{f.progName[2].foreColor, f.progName[3].foreColor}),
              (std::array{platform::Rgb{0, 0, 0}, kGreyedName}));
    EXPECT_FALSE(f.prVidBut[3].visible);
    EXPECT_FALSE(f.dumStuff.visible) << "the scratch surfaces would cover the tiles";

    // Installed now: the next fill undoes the greying.
    scene.files.AddFile(ExePath(3));
    scene.Fill();
    EXPECT_EQ(*f.progIcon[3].picture, *artwork::OptionsBadge());
    EXPECT_EQ(f.progName[3].foreColor, (platform::Rgb{0, 0, 0}));
    EXPECT_TRUE(f.prVidBut[3].visible);

    // A picture file is decoded once: refills and refreshes show the very same picture, whatever the file
    // holds by then.
    const platform::Picture first = f.progIcon[0].picture;
    scene.files.AddFile(PicturePath(0), "not a bitmap");
    scene.Fill();
    EXPECT_EQ(f.progIcon[0].picture, first);

    // A lookup that fails greys like a missing program; a web address never greys.
    scene.files.SetDriveNotReady(u"D:");
    for (const auto& [path, greyed] : {std::pair{u"D:\\Suite\\prog.exe", true}, {u"www.example.com", false}}) {
        scene.prog(0).path = path;
        f.progName[0].foreColor = {1, 2, 3};
        EXPECT_EQ(MarkNotInstalled(*scene.app, 0, 0), greyed);
        EXPECT_EQ(f.progName[0].foreColor, (greyed ? kGreyedName : platform::Rgb{1, 2, 3}));
    }
}

// Regression: ids outside the catalogue's slots and counts beyond them were read without a bound, and a
// negative scroll value (a reversed range) read before the display order.
TEST(TileGrid, OutOfRangeIdsCountsAndScrollValuesAreSkippedSafely) {
    TileScene bad(4);
    bad.cat().order[1] = 99;
    bad.cat().order[2] = -1;
    bad.Fill();
    EXPECT_EQ(bad.ShownIds(), (std::vector<int>{0, 3}));

    TileScene many(51);
    many.cat().progCount = 60;
    many.Fill();
    EXPECT_EQ(many.form().progName.Count(), 51);

    TileScene reversed(12);
    reversed.form().VScroll.SetMax(-1);
    reversed.form().VScroll.Scroll(-1);
    ASSERT_EQ(reversed.form().VScroll.value(), -1);
    reversed.Fill();
    EXPECT_EQ(reversed.ShownIds(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    TileScene slots(1);
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 5, 0));
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 0, 51));
    DrawTilePicture(*slots.app, -1, 0);
    DrawTilePicture(*slots.app, 0, 200);
    EXPECT_EQ(slots.form().progIcon.Count(), 1);
}

} // namespace
} // namespace launcher
