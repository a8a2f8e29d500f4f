#include "launcher/Tiles.h"
#include "LauncherScene.h"
#include "launcher/Artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace launcher {
namespace {

using catalogue::kFalse;
using catalogue::kTrue;
using platform::Bitmap;
using platform::DecimalText;
using platform::Text;
using testing_support::LauncherScene;

constexpr platform::Rgb kBlackName{0, 0, 0};
constexpr platform::Rgb kRed{255, 0, 0};

Text ExePath(int id) {
    return u"C:\\Suite\\Prog" + DecimalText(id) + u"\\prog.exe";
}
Text PicturePath(int id) {
    return u"C:\\Launcher\\data\\prog" + DecimalText(id) + u".bmp";
}

// A 32 x 32 icon: the left half opaque red, the right half `right` (by default fully transparent).
Bitmap HalfRedIcon(std::uint32_t right = 0) {
    Bitmap icon(32, 32, kRed);
    for (int y = 0; y < 32; ++y) {
        for (int x = 16; x < 32; ++x) {
            icon.Set(x, y, right);
        }
    }
    return icon;
}

// `count` programs, installed and shown, each at the display position of its id, in a tile area of the
// given size (pixels) with the columns that the frame layout would give it.
struct TileScene : LauncherScene {
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
    void Fill() { LayoutTiles(*app); }
    void GivePicture(int id, const Bitmap& picture) {
        prog(id).picpath = PicturePath(id);
        files.AddFile(PicturePath(id), platform::EncodeBmp(picture));
    }
    void Hide(int from, int to) {
        for (int id = from; id < to; ++id) {
            prog(id).show = kFalse;
        }
    }

    // The program ids in the tags of the shown slots, slot by slot.
    std::vector<int> Shown() {
        std::vector<int> ids;
        for (int k = 0; k < form().progName.Count(); ++k) {
            if (form().progName[k].visible) {
                ids.push_back(std::stoi(platform::ToUtf8(form().progName[k].tag)));
            }
        }
        return ids;
    }
};

// Everything a fill decides about one slot: what shows, where, and the name and picture.
struct SlotState {
    std::array<bool, 3> shown;    // picture, name, video button
    std::array<double, 6> places; // left and top of each
    Text caption, tag;
    platform::Rgb colour;
    Bitmap picture;
    bool operator==(const SlotState&) const = default;
};

SlotState StateOf(Form1& f, int k) {
    const platform::Image &icon = f.progIcon[k], &video = f.prVidBut[k];
    const platform::Label& name = f.progName[k];
    return {{icon.visible, name.visible, video.visible},
            {icon.left, icon.top, name.left, name.top, video.left, video.top},
            name.caption(),
            name.tag,
            name.foreColor,
            icon.picture ? *icon.picture : Bitmap()};
}

// ---- grid geometry ----

TEST(TileGrid, PlacesTilesOnTheCellGridWithElementSizesReadAtRunTime) {
    // The cell step is 180 x 120 pixels at any resolution; the 960-twip picture and the 315-twip-high video
    // button are measured in pixels at the screen's resolution. The first tile of a row is always placed.
    const struct {
        double width;
        int count, columns;
        double twipsPerPixel;
    } cases[] = {{809, 29, 4, 15}, {720, 9, 4, 15}, {719, 9, 3, 15}, {179, 3, 1, 15}, {809, 6, 4, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "holder width " << c.width << ", " << c.twipsPerPixel << " twips a pixel");
        const double tpp = c.twipsPerPixel;
        TileScene scene(c.count, c.width, 2000, {1024 * tpp, 768 * tpp, tpp, tpp});
        scene.Fill();
        Form1& f = scene.form();
        ASSERT_EQ(f.progName.Count(), c.count);
        const double icon = 960 / tpp, videoHeight = 315 / tpp;
        for (int j = 0; j < c.count; ++j) {
            SCOPED_TRACE(testing::Message() << "slot " << j);
            const double x = 90 + 180 * (j % c.columns);
            const double y = 60 + 120 * (j / c.columns);
            EXPECT_EQ(f.progName[j].tag, DecimalText(j));
            EXPECT_EQ(f.progName[j].caption(), u"Program " + DecimalText(j));
            EXPECT_TRUE(f.progIcon[j].visible && f.progName[j].visible);
            EXPECT_EQ(
                (std::array{f.progIcon[j].left, f.progIcon[j].top, f.prVidBut[j].left, f.prVidBut[j].top,
                            f.progName[j].top}),
                (std::array{x - icon / 2, y - icon / 2, x + icon / 2 + 2, y - videoHeight / 2, y + icon / 2 + 8}));
        }
    }
}

TEST(TileGrid, CentresTheNameUnderThePictureRoundingDown) {
    // Arial 14.25 on the headless screen: 9.5 pixels a character, rounded up to a whole width.
    const struct {
        const char16_t* name;
        double left;
    } cases[] = {
        {u"Ab", 80},                              // 90 - 9.5 = 80.5
        {u"abcdefghijklmnopqrst", -5},            // exact
        {u"abcdefghijklmnopqrstuvwxyzabcd", -53}, // -52.5 rounds down, not towards zero
    };
    for (const auto& c : cases) {
        TileScene scene(1);
        scene.prog(0).name = c.name;
        scene.Fill();
        EXPECT_DOUBLE_EQ(scene.form().progName[0].left, c.left) << platform::ToUtf8(c.name);
    }
}

// ---- which programs get slots, and the scroll offset ----

TEST(TileGrid, TheScrollEventsRefillFromAnOffsetThatCountsDisplayPositionsNotTiles) {
    const struct {
        const char* what;
        void (*event)(Launcher&);
        int hidden;    // id with show False
        bool reversed; // display order 11, 10, ..., 0
        Int16 scroll;
        std::vector<int> ids;
    } cases[] = {
        {"scrolled one row past an unlisted one", VScroll_Change, 2, false, 1, {4, 5, 6, 7, 8, 9, 10, 11}},
        {"unlisted inside the scrolled part", VScroll_Scroll, 5, false, 1, {4, 6, 7, 8, 9, 10, 11}},
        {"past the end", VScroll_Change, 2, false, 3, {}},
        {"follows the display order", VScroll_Scroll, 10, true, 1, {7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TileScene scene(12); // 4 columns
        scene.Hide(c.hidden, c.hidden + 1);
        for (int pos = 0; c.reversed && pos < 12; ++pos) {
            scene.cat().order[static_cast<std::size_t>(pos)] = static_cast<Int16>(11 - pos);
        }
        scene.Fill();
        (void)scene.form().VScroll.SetValue(c.scroll);
        scene.form().focused = &scene.form().VScroll;
        c.event(*scene.app);
        EXPECT_EQ(scene.Shown(), c.ids);
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
        scene.Hide(3, 4);
        scene.prog(4).path = u"http://www.example.com/help";
        scene.prog(5).path = u"D:\\Suite\\maths.exe";
        scene.files.SetDriveNotReady(u"D:");
        scene.Fill();
        EXPECT_EQ(scene.Shown(), (showall ? std::vector<int>{0, 1, 2, 4} : std::vector<int>{0, 2, 4}))
            << "showall " << showall;
        const std::vector<Text>& lookups = scene.files.Lookups();
        EXPECT_EQ(std::find(lookups.begin(), lookups.end(), scene.prog(4).path), lookups.end());
    }
}

// ---- slots: created on demand, never destroyed, hidden slots keep their state ----

TEST(TileSlots, AFillCreatesOnlyTheSlotsItNeedsAndHidesTheRestWhereTheyWere) {
    TileScene scene(35);
    Form1& f = scene.form();
    const auto counts = [&f] { return std::array{f.progName.Count(), f.progIcon.Count(), f.prVidBut.Count()}; };
    scene.Hide(29, 35);
    scene.Fill();
    std::vector<SlotState> before;
    std::vector<const platform::Element*> elements;
    for (int k = 0; k < 29; ++k) {
        before.push_back(StateOf(f, k));
        elements.push_back(&f.progName[k]);
    }

    // Fewer listed, then none: the same 29 slots, the extras hidden with their old place, caption, tag,
    // colour and picture.
    for (const int listed : {5, 0}) {
        scene.Hide(listed, 29);
        scene.Fill();
        ASSERT_EQ(counts(), (std::array{29, 29, 29}));
        for (int k = 0; k < 29; ++k) {
            EXPECT_EQ(&f.progName[k], elements[static_cast<std::size_t>(k)]) << "slot " << k << " was re-created";
            SlotState expected = before[static_cast<std::size_t>(k)];
            if (k >= listed) {
                expected.shown = {false, false, false};
            }
            EXPECT_EQ(StateOf(f, k), expected) << listed << " listed, slot " << k;
        }
        EXPECT_TRUE(f.VScroll.visible) << "hidden slot 28 still lies below the holder";
    }

    // More listed than ever before: only the missing slots are added.
    for (int id = 0; id < 35; ++id) {
        scene.prog(id).show = kTrue;
    }
    scene.Fill();
    EXPECT_EQ(counts(), (std::array{35, 35, 35}));
    EXPECT_EQ(&f.progName[3], elements[3]);

    // Nothing listed on the first fill: slot 0 is hidden too.
    TileScene none(1);
    none.Hide(0, 1);
    none.Fill();
    EXPECT_FALSE(none.form().progIcon[0].visible || none.form().progName[0].visible || none.form().prVidBut[0].visible);
}

// ---- the scroll bar ----

TEST(TileScrollBar, ShowsOnlyWhenTheHighestNameReachesBelowTheHolder) {
    // A name label is 22 pixels high, its top 40 below the cell centre: row r ends at 122 + 120 r.
    const struct {
        int tiles;
        double height;
        bool shown;
    } cases[] = {{1, 121, true}, {1, 122, false}, {5, 241, true}, {4, 241, false}};
    for (const auto& c : cases) {
        TileScene scene(c.tiles, 809, c.height);
        scene.form().VScroll.visible = !c.shown;
        scene.Fill();
        EXPECT_EQ(scene.form().VScroll.visible, c.shown) << c.tiles << " tiles, holder " << c.height << " high";
    }
}

// ---- the video button ----

TEST(TileVideoButton, ShowsForAnExistingPlayerOfAnInstalledProgramAndKeepsItsStateWhenTheLookupFails) {
    enum Drive { Ready, FailsOnSecondFill, FailsFromTheStart };
    const struct {
        const char* what;
        const char16_t* videopath;
        bool playerExists;
        Drive drive;
        bool shown; // after the second fill
    } cases[] = {
        {"no player", u"", false, Ready, false},
        {"player missing", u"C:\\Suite\\Videos\\gone.exe", false, Ready, false},
        {"player present", u"C:\\Suite\\Videos\\vid.exe", true, Ready, true},
        {"lookup fails, was shown", u"D:\\Videos\\vid.exe", true, FailsOnSecondFill, true},
        {"lookup fails on a new slot", u"D:\\Videos\\vid.exe", true, FailsFromTheStart, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TileScene scene(2);
        scene.prog(1).videopath = c.videopath;
        if (c.playerExists) {
            scene.files.AddFile(c.videopath);
        }
        scene.files.SetDriveNotReady(u"D:", c.drive == FailsFromTheStart);
        scene.form().prVidBut[0].visible = true; // slot 0 is designed visible
        scene.Fill();
        scene.files.SetDriveNotReady(u"D:", c.drive != Ready);
        scene.Fill();
        EXPECT_EQ(scene.form().prVidBut[1].visible, c.shown);
        EXPECT_TRUE(scene.form().progName[1].visible);
        EXPECT_FALSE(scene.form().prVidBut[0].visible) << "program 0 has no player";
        // An empty path is never handed to the lookup: on the real platform it could match any file.
        const std::vector<Text>& lookups = scene.files.Lookups();
        EXPECT_EQ(std::find(lookups.begin(), lookups.end(), Text()), lookups.end());
    }
}

TEST(TileVideoButton, EveryButtonIsBroughtInFrontOfTheOtherTileElements) {
    TileScene scene(6);
    Form1& f = scene.form();
    const platform::PictureBox& holder = f.progHolder;
    // Once the slots exist, a fill leaves every button above every picture and name.
    scene.Fill();
    scene.Fill();
    for (int k = 0; k < 6; ++k) {
        for (int j = 0; j < 6; ++j) {
            EXPECT_GT(holder.ZIndexOf(f.prVidBut[k]), holder.ZIndexOf(f.progName[j])) << k << " over " << j;
            EXPECT_GT(holder.ZIndexOf(f.prVidBut[k]), holder.ZIndexOf(f.progIcon[j])) << k << " over " << j;
        }
    }
}

// ---- pictures ----

TEST(TilePictures, APictureFileIsHeldAsItIsOtherwiseTheExecutablesIconIsDrawnOnWhite) {
    TileScene scene(4);
    const Bitmap picture = *artwork::Logo();
    scene.GivePicture(0, picture);
    scene.system.SetIcon(ExePath(0), HalfRedIcon()); // not used: the picture file wins
    scene.system.SetIcon(ExePath(1), HalfRedIcon());
    scene.prog(2).path = u"http://www.example.com/help"; // no icon: a white square
    // Program 3 has an executable without an icon: a white square too.
    scene.Fill();
    Form1& f = scene.form();
    EXPECT_EQ(*f.progIcon[0].picture, picture);
    EXPECT_EQ((std::array{f.progIcon[0].width, f.progIcon[0].height}), (std::array{64.0, 64.0})) << "stretched";
    EXPECT_EQ(*f.progIcon[1].picture, HalfRedIcon(platform::Argb(platform::kWhite)));
    for (const int k : {2, 3}) {
        EXPECT_EQ(*f.progIcon[k].picture, Bitmap(32, 32, platform::kWhite)) << "slot " << k;
    }
    EXPECT_FALSE(f.dumStuff.visible) << "the scratch surfaces would cover the tiles";
}

TEST(TilePictures, APictureFileThatCannotBeLoadedKeepsTheOldPicture) {
    for (const bool deleted : {true, false}) {
        TileScene scene(1);
        scene.GivePicture(0, *artwork::MissingProgram());
        scene.Fill();
        const platform::Picture before = scene.form().progIcon[0].picture;
        ASSERT_NE(before, nullptr);
        if (deleted) {
            ASSERT_TRUE(scene.files.EraseFile(PicturePath(0)));
        } else {
            scene.files.AddFile(PicturePath(0), "not a bitmap");
        }
        scene.system.SetIcon(ExePath(0), HalfRedIcon()); // not tried when the picture file fails
        EXPECT_EQ(LoadPicture(*scene.app, PicturePath(0)), nullptr) << deleted;
        DrawTilePicture(*scene.app, 0, 0);
        EXPECT_EQ(scene.form().progIcon[0].picture, before) << deleted;
    }

    // A slot created by the fill keeps what it was copied from: slot 0 as that fill had just drawn it.
    TileScene scene(2);
    const Bitmap picture = *artwork::OptionsBadge();
    scene.GivePicture(0, picture);
    scene.prog(1).picpath = u"C:\\Launcher\\data\\nowhere.bmp";
    scene.Fill();
    ASSERT_NE(scene.form().progIcon[1].picture, nullptr);
    EXPECT_EQ(*scene.form().progIcon[1].picture, picture);
}

// ---- greying ----

TEST(TileGreying, AListedProgramThatIsNotInstalledIsGreyedUntilItIsInstalled) {
    TileScene scene(2);
    scene.cat().showall = kTrue;
    const Bitmap picture = *artwork::Logo();
    scene.GivePicture(1, picture);
    scene.prog(1).videopath = u"C:\\Suite\\Videos\\vid.exe";
    scene.files.AddFile(u"C:\\Suite\\Videos\\vid.exe");
    ASSERT_TRUE(scene.files.EraseFile(ExePath(1)));
    Form1& f = scene.form();

    scene.Fill();
    EXPECT_EQ(f.progName[1].foreColor, kGreyedName);
    EXPECT_FALSE(f.prVidBut[1].visible);
    EXPECT_EQ(*f.progIcon[1].picture, f.dumFader.surface());
    EXPECT_EQ(f.progName[0].foreColor, kBlackName);

    scene.files.AddFile(ExePath(1));
    scene.Fill();
    EXPECT_EQ(f.progName[1].foreColor, kBlackName);
    EXPECT_TRUE(f.prVidBut[1].visible);
    EXPECT_EQ(*f.progIcon[1].picture, picture);
}

TEST(TileGreying, MarkNotInstalledGreysExactlyTheTilesWithoutAProgram) {
    const struct {
        const char* what;
        const char16_t* path;
        bool greyed;
    } cases[] = {
        {"installed", u"C:\\Suite\\Prog0\\prog.exe", false},
        {"web address", u"www.example.com", false},
        {"drive not ready", u"D:\\Suite\\prog.exe", true}, // a failed lookup greys like a missing program
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TileScene scene(1);
        scene.files.SetDriveNotReady(u"D:");
        scene.prog(0).path = c.path;
        Form1& f = scene.form();
        const platform::Picture before = f.progIcon[0].picture;
        f.progName[0].foreColor = {1, 2, 3};
        f.prVidBut[0].visible = true;

        EXPECT_EQ(MarkNotInstalled(*scene.app, 0, 0), c.greyed);
        EXPECT_EQ(f.progName[0].foreColor, (c.greyed ? kGreyedName : platform::Rgb{1, 2, 3}));
        EXPECT_EQ(f.prVidBut[0].visible, !c.greyed);
        EXPECT_TRUE(c.greyed ? *f.progIcon[0].picture == f.dumFader.surface() : f.progIcon[0].picture == before);
    }
}

TEST(TileIcons, DrawFileIconBlendsTheFirstIconWhereItIsToldOrDrawsNothing) {
    TileScene scene(1);
    scene.system.SetIcon(ExePath(0), HalfRedIcon());
    Bitmap surface(48, 48, platform::kWhite);
    EXPECT_FALSE(DrawFileIcon(*scene.app, ExePath(0), 1, surface, 10, 4)) << "only the first icon";
    EXPECT_FALSE(DrawFileIcon(*scene.app, u"C:\\Suite\\none.exe", 0, surface, 10, 4));
    EXPECT_EQ(surface, Bitmap(48, 48, platform::kWhite));
    EXPECT_TRUE(DrawFileIcon(*scene.app, ExePath(0), 0, surface, 10, 4));
    EXPECT_EQ(surface.ColourAt(10, 4), kRed);
    EXPECT_EQ(surface.ColourAt(9, 4), platform::kWhite);
    EXPECT_EQ(surface.ColourAt(10, 3), platform::kWhite);
    EXPECT_EQ(surface.ColourAt(30, 4), platform::kWhite) << "transparent part of the icon";
}

// ---- odd catalogue states the walk must survive ----

// Regression: ids outside the catalogue's slots and counts beyond them were read without a bound, and a
// negative scroll value (a reversed range) read before the display order.
TEST(TileGrid, OutOfRangeIdsCountsAndScrollValuesAreSkippedSafely) {
    TileScene bad(4);
    bad.cat().order[1] = 99;
    bad.cat().order[2] = -1;
    bad.Fill();
    EXPECT_EQ(bad.Shown(), (std::vector<int>{0, 3}));

    TileScene many(51);
    many.cat().progCount = 60;
    many.Fill();
    EXPECT_EQ(many.form().progName.Count(), 51);

    TileScene reversed(12);
    reversed.form().VScroll.SetMax(-1);
    reversed.form().VScroll.Scroll(-1);
    ASSERT_EQ(reversed.form().VScroll.value(), -1);
    reversed.Fill();
    EXPECT_EQ(reversed.Shown(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    TileScene slots(1);
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 5, 0));
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 0, 51));
    DrawTilePicture(*slots.app, -1, 0);
    DrawTilePicture(*slots.app, 0, 200);
    EXPECT_EQ(slots.form().progIcon.Count(), 1);
}

} // namespace
} // namespace launcher
