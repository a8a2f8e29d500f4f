#include "LauncherScene.h"
#include "launcher/Module1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace launcher {
namespace {

using catalogue::kFalse;
using catalogue::kTrue;
using platform::Bitmap;
using platform::DecimalText;
using testing_support::LauncherScene;

constexpr platform::Rgb kBlackName{0, 0, 0};
constexpr platform::Rgb kRed{255, 0, 0};

Text ExePath(int id) {
    return u"C:\\Suite\\Prog" + DecimalText(id) + u"\\prog.exe";
}
Text VideoPath(int id) {
    return u"C:\\Suite\\Prog" + DecimalText(id) + u"\\Videos\\vid.exe";
}
Text PicturePath(int id) {
    return u"C:\\Launcher\\data\\prog" + DecimalText(id) + u".bmp";
}

// A picture whose every pixel differs from its neighbours, so that a wrong picture cannot pass for it.
Bitmap Pattern(int width, int height, int seed = 0) {
    Bitmap b(width, height, platform::kWhite);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            b.Set(x, y,
                  platform::Argb({static_cast<std::uint8_t>(x * 7 + seed), static_cast<std::uint8_t>(y * 5),
                                  static_cast<std::uint8_t>(x + y + seed * 3)}));
        }
    }
    return b;
}

// A 32 x 32 icon: the left half opaque red, the right half fully transparent.
Bitmap HalfRedIcon() {
    Bitmap icon(32, 32, kRed);
    for (int y = 0; y < 32; ++y) {
        for (int x = 16; x < 32; ++x) {
            icon.Set(x, y, 0x00000000);
        }
    }
    return icon;
}

std::uint32_t RgbAt(const Bitmap& b, int x, int y) {
    return b.At(x, y) & 0x00FFFFFFu;
}

// `count` programs, installed and shown, each at the display position of its id, in a tile area of the
// given size (pixels) with the columns that the frame layout would give it.
struct TileScene : LauncherScene {
    explicit TileScene(int count, double width = 809, double height = 521,
                       platform::ScreenInfo screen = {1024 * 15.0, 768 * 15.0, 15, 15})
        : LauncherScene(screen) {
        SetHolder(width, height);
        cat().progCount = static_cast<Int16>(count);
        for (int id = 0; id < count; ++id) {
            cat().order[static_cast<std::size_t>(id)] = static_cast<Int16>(id);
            catalogue::ProgramRecord& p = prog(id);
            p.name = u"Program " + DecimalText(id);
            p.path = ExePath(id);
            p.show = kTrue;
            files.AddFile(p.path);
        }
    }

    void SetHolder(double width, double height) {
        form().progHolder.width = width;
        form().progHolder.height = height;
        app->values.gridColumns = static_cast<Int16>(std::floor(width / 180));
    }
    catalogue::ProgramRecord& prog(int id) { return cat().progList[static_cast<std::size_t>(id)]; }
    void Fill() { LayoutTiles(*app); }
    void ScrollTo(Int16 rows) {
        (void)form().VScroll.SetValue(rows);
        Fill();
    }
    void GiveVideo(int id) {
        prog(id).videopath = VideoPath(id);
        files.AddFile(VideoPath(id));
    }
    void GivePicture(int id, const Bitmap& picture) {
        prog(id).picpath = PicturePath(id);
        files.AddFile(PicturePath(id), platform::EncodeBmp(picture));
    }

    // The tags of the shown slots, slot by slot.
    std::vector<Text> ShownTags() {
        std::vector<Text> tags;
        for (int k = 0; k < form().progName.Count(); ++k) {
            if (form().progName[k].visible) {
                tags.push_back(form().progName[k].tag);
            }
        }
        return tags;
    }
};

std::vector<Text> Tags(std::initializer_list<int> ids) {
    std::vector<Text> tags;
    for (const int id : ids) {
        tags.push_back(DecimalText(id));
    }
    return tags;
}

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

TEST(TileGrid, PlacesTilesLeftToRightTopToBottomOnTheCellGrid) {
    struct Case {
        double width;
        int count;
        int columns; // tiles a row
    } const cases[] = {
        {809, 29, 4}, {720, 9, 4}, {719, 9, 3}, {360, 5, 2}, {359, 3, 1}, {180, 3, 1}, {179, 3, 1}, {100, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "holder width " << c.width);
        TileScene scene(c.count, c.width, 2000);
        scene.Fill();
        Form1& f = scene.form();
        ASSERT_EQ(f.progName.Count(), c.count);
        for (int j = 0; j < c.count; ++j) {
            const double x = 90 + 180 * (j % c.columns);
            const double y = 60 + 120 * (j / c.columns);
            EXPECT_EQ(f.progName[j].tag, DecimalText(j)) << "slot " << j;
            EXPECT_EQ(f.progName[j].caption(), u"Program " + DecimalText(j));
            EXPECT_TRUE(f.progIcon[j].visible && f.progName[j].visible) << "slot " << j;
            EXPECT_DOUBLE_EQ(f.progIcon[j].left, x - 32) << "slot " << j;
            EXPECT_DOUBLE_EQ(f.progIcon[j].top, y - 32) << "slot " << j;
            EXPECT_DOUBLE_EQ(f.prVidBut[j].left, x + 34) << "slot " << j;
            EXPECT_DOUBLE_EQ(f.prVidBut[j].top, y - 10.5) << "slot " << j;
            EXPECT_DOUBLE_EQ(f.progName[j].top, y + 40) << "slot " << j;
        }
    }
}

TEST(TileGrid, CentresTheNameUnderThePictureRoundingDown) {
    // Arial 14.25 on the headless screen: 9.5 pixels a character, rounded up to a whole width.
    struct Case {
        const char16_t* name;
        double width;
        double left;
    } const cases[] = {
        {u"Ab", 19, 80},                               // 90 - 9.5 = 80.5
        {u"Animal Habitats", 143, 18},                 // 90 - 71.5 = 18.5
        {u"Program 10", 95, 42},                       // 90 - 47.5 = 42.5
        {u"abcdefghijklmnopqrst", 190, -5},            // exact
        {u"abcdefghijklmnopqrstuvwxyzabcd", 285, -53}, // -52.5 rounds down, not towards zero
    };
    for (const Case& c : cases) {
        TileScene scene(1);
        scene.prog(0).name = c.name;
        scene.Fill();
        const platform::Label& name = scene.form().progName[0];
        EXPECT_DOUBLE_EQ(name.width, c.width) << platform::ToUtf8(c.name);
        EXPECT_DOUBLE_EQ(name.left, c.left) << platform::ToUtf8(c.name);
    }
}

TEST(TileGrid, ReadsElementSizesAtRunTimeSoOtherResolutionsKeepTheCellStep) {
    // 10 twips a pixel: the 64 x 64 picture is 96 x 96 and the 20 x 21 button is 30 x 31.5; the cells stay
    // 180 x 120.
    TileScene scene(2, 809, 521, {1024 * 10.0, 768 * 10.0, 10, 10});
    scene.Fill();
    Form1& f = scene.form();
    EXPECT_DOUBLE_EQ(f.progIcon[1].left, 270 - 48);
    EXPECT_DOUBLE_EQ(f.progIcon[1].top, 60 - 48);
    EXPECT_DOUBLE_EQ(f.prVidBut[1].left, 270 + 48 + 2);
    EXPECT_DOUBLE_EQ(f.prVidBut[1].top, 60 - 48 + 48 - 15.75);
    EXPECT_DOUBLE_EQ(f.progName[1].top, 60 - 48 + 96 + 8);
}

// ---- which programs get slots, and the scroll offset ----

TEST(TileGrid, ScrollOffsetCountsDisplayPositionsNotTiles) {
    struct Case {
        const char* what;
        std::vector<int> hidden; // ids with show False
        bool reversed;           // display order 11, 10, ..., 0
        Int16 scroll;
        std::vector<Text> tags;
    } const cases[] = {
        {"position 2 unlisted", {2}, false, 0, Tags({0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11})},
        {"scrolled one row past it", {2}, false, 1, Tags({4, 5, 6, 7, 8, 9, 10, 11})},
        {"unlisted inside the scrolled part", {5}, false, 1, Tags({4, 6, 7, 8, 9, 10, 11})},
        {"two rows", {}, false, 2, Tags({8, 9, 10, 11})},
        {"past the end", {}, false, 3, {}},
        {"follows the display order", {10}, true, 0, Tags({11, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0})},
        {"display order scrolled", {10}, true, 1, Tags({7, 6, 5, 4, 3, 2, 1, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TileScene scene(12); // 4 columns
        for (const int id : c.hidden) {
            scene.prog(id).show = kFalse;
        }
        if (c.reversed) {
            for (int pos = 0; pos < 12; ++pos) {
                scene.cat().order[static_cast<std::size_t>(pos)] = static_cast<Int16>(11 - pos);
            }
        }
        scene.ScrollTo(c.scroll);
        EXPECT_EQ(scene.ShownTags(), c.tags);
    }
}

TEST(TileGrid, ListsShownProgramsThatAreInstalledOrAllWithShowAll) {
    // Program 1 is missing, 3 is hidden, 4 is a web address (installed without a lookup), 5 lies on a drive
    // that is not ready: the failed lookup skips it whatever showall says.
    for (const Bool16 showall : {kFalse, kTrue}) {
        TileScene scene(6);
        scene.cat().showall = showall;
        ASSERT_TRUE(scene.files.EraseFile(ExePath(1)));
        scene.prog(3).show = kFalse;
        scene.prog(4).path = u"http://www.example.com/help";
        scene.prog(5).path = u"D:\\Suite\\maths.exe";
        scene.files.SetDriveNotReady(u"D:");
        scene.Fill();
        EXPECT_EQ(scene.ShownTags(), showall ? Tags({0, 1, 2, 4}) : Tags({0, 2, 4})) << "showall " << showall;
        for (const Text& looked : scene.files.Lookups()) {
            EXPECT_NE(looked, scene.prog(4).path);
        }
    }
}

// ---- slots: created on demand, never destroyed, hidden slots keep their state ----

TEST(TileSlots, AFillCreatesOnlyTheSlotsItNeedsAndHidesTheRestWhereTheyWere) {
    TileScene scene(35);
    for (int id = 29; id < 35; ++id) {
        scene.prog(id).show = kFalse;
    }
    Form1& f = scene.form();
    scene.Fill();
    ASSERT_EQ(f.progName.Count(), 29);
    EXPECT_EQ(f.progIcon.Count(), 29);
    EXPECT_EQ(f.prVidBut.Count(), 29);
    std::vector<SlotState> before;
    std::vector<const platform::Element*> elements;
    for (int k = 0; k < 29; ++k) {
        before.push_back(StateOf(f, k));
        elements.push_back(&f.progName[k]);
    }

    // Fewer listed: the same 29 slots, the extras hidden with their old place, caption and tag.
    for (int id = 5; id < 29; ++id) {
        scene.prog(id).show = kFalse;
    }
    scene.Fill();
    EXPECT_EQ(f.progName.Count(), 29);
    EXPECT_EQ(f.progIcon.Count(), 29);
    EXPECT_EQ(f.prVidBut.Count(), 29);
    for (int k = 0; k < 29; ++k) {
        EXPECT_EQ(&f.progName[k], elements[static_cast<std::size_t>(k)]) << "slot " << k << " was re-created";
        SlotState expected = before[static_cast<std::size_t>(k)];
        if (k >= 5) {
            expected.shown = {false, false, false};
        }
        EXPECT_EQ(StateOf(f, k), expected) << "slot " << k;
    }
    EXPECT_TRUE(f.VScroll.visible) << "slot 28 still lies below the holder";

    // More listed than ever before: only the missing slots are added.
    for (int id = 0; id < 35; ++id) {
        scene.prog(id).show = kTrue;
    }
    scene.Fill();
    EXPECT_EQ(f.progName.Count(), 35);
    EXPECT_EQ(f.progIcon.Count(), 35);
    EXPECT_EQ(f.prVidBut.Count(), 35);
    EXPECT_EQ(&f.progName[3], elements[3]);
}

TEST(TileSlots, WhenNothingIsListedEverySlotIsHiddenSlotZeroToo) {
    for (const int earlier : {0, 7}) {
        TileScene scene(7);
        if (earlier > 0) {
            scene.Fill();
        }
        for (int id = 0; id < 7; ++id) {
            scene.prog(id).show = kFalse;
        }
        scene.Fill();
        Form1& f = scene.form();
        EXPECT_EQ(f.progName.Count(), std::max(earlier, 1));
        for (int k = 0; k < f.progName.Count(); ++k) {
            EXPECT_FALSE(f.progIcon[k].visible || f.progName[k].visible || f.prVidBut[k].visible) << "slot " << k;
        }
    }
}

TEST(TileSlots, ScrollingBackToTheTopRestoresEverySlotAsItWas) {
    TileScene scene(12);
    scene.cat().showall = kTrue;
    scene.GivePicture(0, Pattern(40, 40));
    scene.system.SetIcon(ExePath(1), HalfRedIcon());
    scene.GiveVideo(1);
    scene.GiveVideo(2);
    ASSERT_TRUE(scene.files.EraseFile(ExePath(2))); // greyed
    scene.GivePicture(5, Pattern(20, 20, 9));
    Form1& f = scene.form();

    scene.ScrollTo(0);
    std::vector<SlotState> top;
    for (int k = 0; k < f.progName.Count(); ++k) {
        top.push_back(StateOf(f, k));
    }
    scene.ScrollTo(1);
    EXPECT_NE(StateOf(f, 0), top[0]);
    EXPECT_NE(StateOf(f, 1), top[1]);
    EXPECT_NE(StateOf(f, 2), top[2]);
    scene.ScrollTo(0);
    for (int k = 0; k < f.progName.Count(); ++k) {
        EXPECT_EQ(StateOf(f, k), top[static_cast<std::size_t>(k)]) << "slot " << k;
    }
    EXPECT_EQ(f.progName[2].foreColor, kGreyedName);
    EXPECT_EQ(f.progName[1].foreColor, kBlackName);
}

// ---- the scroll bar ----

TEST(TileScrollBar, ShowsOnlyWhenTheHighestNameReachesBelowTheHolder) {
    // A name label is 22 pixels high, its top 40 below the cell centre: row r ends at 122 + 120 r.
    struct Case {
        int tiles;
        double height;
        bool shown;
    } const cases[] = {
        {1, 121, true},  {1, 122, false}, {1, 123, false}, {5, 241, true},
        {5, 242, false}, {4, 241, false}, {29, 521, true}, // the designed holder: 8 rows, the last name ends at 962
    };
    for (const Case& c : cases) {
        TileScene scene(c.tiles, 809, c.height);
        scene.form().VScroll.visible = !c.shown;
        scene.Fill();
        EXPECT_EQ(scene.form().VScroll.visible, c.shown) << c.tiles << " tiles, holder " << c.height << " high";
    }
}

TEST(TileScrollBar, ChangeAndScrollEventsRefillAndFocusTheTileArea) {
    const std::function<void(Launcher&)> handlers[] = {VScroll_Change, VScroll_Scroll};
    for (const auto& handler : handlers) {
        TileScene scene(12);
        scene.Fill();
        (void)scene.form().VScroll.SetValue(1);
        scene.form().focused = &scene.form().VScroll;
        handler(*scene.app);
        EXPECT_EQ(scene.ShownTags(), Tags({4, 5, 6, 7, 8, 9, 10, 11}));
        EXPECT_EQ(scene.form().focused, &scene.form().progHolder);
    }
}

// ---- the video button ----

TEST(TileVideoButton, ShowsForAnExistingPlayerOfAnInstalledProgramAndKeepsItsStateWhenTheLookupFails) {
    enum Drive { Ready, FailsOnSecondFill, FailsFromTheStart };
    struct Case {
        const char* what;
        const char16_t* videopath;
        bool playerExists, installed;
        Drive drive;
        bool shown; // after the second fill
    } const cases[] = {
        {"no player", u"", false, true, Ready, false},
        {"player missing", u"C:\\Suite\\Videos\\gone.exe", false, true, Ready, false},
        {"player present", u"C:\\Suite\\Videos\\vid.exe", true, true, Ready, true},
        {"program missing", u"C:\\Suite\\Videos\\vid.exe", true, false, Ready, false},
        {"lookup fails, was shown", u"D:\\Videos\\vid.exe", true, true, FailsOnSecondFill, true},
        {"lookup fails, was hidden", u"D:\\Videos\\vid.exe", false, true, FailsOnSecondFill, false},
        {"lookup fails on a new slot", u"D:\\Videos\\vid.exe", true, true, FailsFromTheStart, false},
    };
    for (const Case& c : cases) {
        TileScene scene(2);
        scene.cat().showall = kTrue;
        scene.prog(1).videopath = c.videopath;
        if (c.playerExists) {
            scene.files.AddFile(c.videopath);
        }
        if (!c.installed) {
            ASSERT_TRUE(scene.files.EraseFile(ExePath(1)));
        }
        scene.files.SetDriveNotReady(u"D:", c.drive == FailsFromTheStart);
        scene.form().prVidBut[0].visible = true; // slot 0 is designed visible
        scene.Fill();
        scene.files.SetDriveNotReady(u"D:", c.drive != Ready);
        scene.Fill();
        EXPECT_EQ(scene.form().prVidBut[1].visible, c.shown) << c.what;
        EXPECT_TRUE(scene.form().progName[1].visible) << c.what;
        EXPECT_FALSE(scene.form().prVidBut[0].visible) << c.what << ": program 0 has no player";
        // An empty path is never handed to the lookup: on the real platform it could match any file.
        const std::vector<Text>& lookups = scene.files.Lookups();
        EXPECT_EQ(std::find(lookups.begin(), lookups.end(), Text()), lookups.end()) << c.what;
    }
}

TEST(TileVideoButton, EveryButtonIsBroughtInFrontOfTheOtherTileElements) {
    TileScene scene(6);
    Form1& f = scene.form();
    const platform::PictureBox& holder = f.progHolder;
    // The first fill creates slot k + 1 after slot k's button came to the front, so a button is only sure
    // to be above its own slot; once the slots exist, every button ends above every picture and name.
    for (const bool slotsExist : {false, true}) {
        scene.Fill();
        for (int k = 0; k < 6; ++k) {
            EXPECT_GT(holder.ZIndexOf(f.prVidBut[k]), holder.ZIndexOf(f.VScroll)) << "slot " << k;
            for (int j = slotsExist ? 0 : k; j < (slotsExist ? 6 : k + 1); ++j) {
                EXPECT_GT(holder.ZIndexOf(f.prVidBut[k]), holder.ZIndexOf(f.progName[j])) << k << " over " << j;
                EXPECT_GT(holder.ZIndexOf(f.prVidBut[k]), holder.ZIndexOf(f.progIcon[j])) << k << " over " << j;
            }
        }
    }
}

// ---- pictures ----

TEST(TilePictures, APictureFileIsHeldAsItIsAndStretchedByTheElement) {
    for (const auto& [w, h] : {std::pair{64, 64}, std::pair{100, 50}, std::pair{16, 16}}) {
        TileScene scene(1);
        const Bitmap picture = Pattern(w, h);
        scene.GivePicture(0, picture);
        scene.system.SetIcon(ExePath(0), HalfRedIcon()); // not used: the picture file wins
        scene.Fill();
        const platform::Image& icon = scene.form().progIcon[0];
        ASSERT_NE(icon.picture, nullptr);
        EXPECT_EQ(*icon.picture, picture) << w << " x " << h;
        EXPECT_DOUBLE_EQ(icon.width, 64);
        EXPECT_DOUBLE_EQ(icon.height, 64);
    }
}

TEST(TilePictures, WithoutAPictureFileTheExecutablesIconIsDrawnOnWhite) {
    TileScene scene(3);
    scene.system.SetIcon(ExePath(0), HalfRedIcon());
    scene.prog(1).path = u"http://www.example.com/help"; // no icon: a white square
    // Program 2 has an executable without an icon: a white square too.
    scene.Fill();
    Form1& f = scene.form();

    const Bitmap& icon = *f.progIcon[0].picture;
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    EXPECT_EQ(RgbAt(icon, 0, 0), 0xFF0000u);
    EXPECT_EQ(RgbAt(icon, 15, 31), 0xFF0000u);
    EXPECT_EQ(RgbAt(icon, 16, 0), 0xFFFFFFu);
    EXPECT_EQ(RgbAt(icon, 31, 31), 0xFFFFFFu);

    for (const int k : {1, 2}) {
        const Bitmap& white = *f.progIcon[k].picture;
        ASSERT_EQ(white.width, 32) << "slot " << k;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                ASSERT_EQ(RgbAt(white, x, y), 0xFFFFFFu) << "slot " << k << " at " << x << ", " << y;
            }
        }
    }
    EXPECT_FALSE(f.dumStuff.visible);
    EXPECT_DOUBLE_EQ(f.dumStuff.left, f.progHolder.left);
    EXPECT_DOUBLE_EQ(f.dumStuff.top, f.progHolder.top);
}

TEST(TilePictures, TheScratchSurfacesAreShownOverTheTileAreaOnlyWhileAnIconIsDrawn) {
    struct WatchingSystem : platform::HeadlessSystem {
        std::function<void()> onIcon;
        std::optional<Bitmap> FileIcon(TextView file, int index) override {
            onIcon();
            return HeadlessSystem::FileIcon(file, index);
        }
    } system;
    platform::HeadlessFileSystem files;
    Launcher app(system, files);
    app.form.progHolder.left = 14;
    app.form.progHolder.top = 72;
    app.cat.progList[0] = {u"Maths", ExePath(0), u"", u"", u"", kTrue};
    files.AddFile(ExePath(0));
    app.cat.progCount = 1;

    int calls = 0;
    system.onIcon = [&] {
        ++calls;
        EXPECT_TRUE(app.form.dumStuff.visible);
        EXPECT_DOUBLE_EQ(app.form.dumStuff.left, 14);
        EXPECT_DOUBLE_EQ(app.form.dumStuff.top, 72);
    };
    DrawTilePicture(app, 0, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(app.form.dumStuff.visible);

    app.cat.progList[0].picpath = u"C:\\Launcher\\data\\missing.bmp";
    DrawTilePicture(app, 0, 0);
    EXPECT_EQ(calls, 1) << "a picture file that cannot be loaded does not fall back to the icon";
}

TEST(TilePictures, APictureFileThatCannotBeLoadedKeepsTheOldPicture) {
    struct Case {
        const char* what;
        std::function<void(TileScene&)> breakIt;
    } const cases[] = {
        {"file deleted", [](TileScene& s) { (void)s.files.EraseFile(PicturePath(0)); }},
        {"file unreadable", [](TileScene& s) { s.files.SetUnreadable(PicturePath(0)); }},
        {"not a bitmap", [](TileScene& s) { s.files.AddFile(PicturePath(0), "not a picture"); }},
        {"drive not ready", [](TileScene& s) { s.files.SetDriveNotReady(u"C:"); }},
    };
    for (const Case& c : cases) {
        TileScene scene(1);
        scene.GivePicture(0, Pattern(64, 64));
        scene.Fill();
        const platform::Picture before = scene.form().progIcon[0].picture;
        ASSERT_NE(before, nullptr);
        c.breakIt(scene);
        EXPECT_EQ(LoadPicture(*scene.app, PicturePath(0)), nullptr) << c.what;
        DrawTilePicture(*scene.app, 0, 0);
        EXPECT_EQ(scene.form().progIcon[0].picture, before) << c.what;
    }

    // A slot created by the fill keeps what it was copied from: slot 0 as that fill had just drawn it.
    TileScene scene(2);
    const Bitmap picture = Pattern(64, 64, 5);
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
    const Bitmap picture = Pattern(48, 48);
    scene.GivePicture(1, picture);
    scene.GiveVideo(1);
    ASSERT_TRUE(scene.files.EraseFile(ExePath(1)));
    Form1& f = scene.form();

    scene.Fill();
    EXPECT_EQ(f.progName[1].foreColor, kGreyedName);
    EXPECT_FALSE(f.prVidBut[1].visible);
    ASSERT_NE(f.progIcon[1].picture, nullptr);
    EXPECT_EQ(*f.progIcon[1].picture, f.dumFader.surface());
    EXPECT_EQ(f.progName[0].foreColor, kBlackName);

    scene.files.AddFile(ExePath(1));
    scene.Fill();
    EXPECT_EQ(f.progName[1].foreColor, kBlackName);
    EXPECT_TRUE(f.prVidBut[1].visible);
    EXPECT_EQ(*f.progIcon[1].picture, picture);
}

TEST(TileGreying, MarkNotInstalledGreysExactlyTheTilesWithoutAProgram) {
    struct Case {
        const char* what;
        const char16_t* path;
        bool greyed;
    } const cases[] = {
        {"installed", u"C:\\Suite\\Prog0\\prog.exe", false},
        {"web address", u"www.example.com", false},
        {"missing", u"C:\\Suite\\gone.exe", true},
        {"drive not ready", u"D:\\Suite\\prog.exe", true},
        {"empty path", u"", true},
    };
    for (const Case& c : cases) {
        TileScene scene(1);
        scene.files.SetDriveNotReady(u"D:");
        scene.prog(0).path = c.path;
        Form1& f = scene.form();
        const platform::Picture before = f.progIcon[0].picture;
        f.progName[0].foreColor = {1, 2, 3};
        f.prVidBut[0].visible = true;

        EXPECT_EQ(MarkNotInstalled(*scene.app, 0, 0), c.greyed) << c.what;
        EXPECT_EQ(f.progName[0].foreColor, (c.greyed ? kGreyedName : platform::Rgb{1, 2, 3})) << c.what;
        EXPECT_EQ(f.prVidBut[0].visible, !c.greyed) << c.what;
        if (c.greyed) {
            EXPECT_EQ(*f.progIcon[0].picture, f.dumFader.surface()) << c.what;
        } else {
            EXPECT_EQ(f.progIcon[0].picture, before) << c.what;
        }
    }
}

TEST(TileIcons, DrawFileIconDrawsTheFirstIconWhereItIsToldOrNothing) {
    struct Case {
        const char16_t* file;
        int index;
        int x, y;
        bool drawn;
    } const cases[] = {
        {u"C:\\Suite\\Prog0\\prog.exe", 0, 0, 0, true},  {u"c:\\SUITE\\prog0\\PROG.EXE", 0, 10, 4, true},
        {u"C:\\Suite\\Prog0\\prog.exe", 1, 0, 0, false}, {u"C:\\Suite\\none.exe", 0, 0, 0, false},
        {u"http://www.example.com", 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        TileScene scene(1);
        scene.system.SetIcon(ExePath(0), HalfRedIcon());
        Bitmap surface(48, 48, platform::kWhite);
        EXPECT_EQ(DrawFileIcon(*scene.app, c.file, c.index, surface, c.x, c.y), c.drawn);
        EXPECT_EQ(RgbAt(surface, c.x, c.y), c.drawn ? 0xFF0000u : 0xFFFFFFu);
        EXPECT_EQ(RgbAt(surface, c.x + 20, c.y), 0xFFFFFFu) << "transparent part of the icon";
        if (c.x > 0) {
            EXPECT_EQ(RgbAt(surface, c.x - 1, c.y), 0xFFFFFFu);
        }
    }
}

// ---- odd catalogue states the walk must survive ----

// Regression: ids outside the catalogue's slots and counts beyond them were read without a bound, and a
// negative scroll value (a reversed range) read before the display order.
TEST(TileGrid, OutOfRangeIdsCountsAndScrollValuesAreSkippedSafely) {
    TileScene bad(4);
    bad.cat().order[1] = 99;
    bad.cat().order[2] = -1;
    bad.Fill();
    EXPECT_EQ(bad.ShownTags(), Tags({0, 3}));

    TileScene many(51);
    many.cat().progCount = 60;
    many.Fill();
    EXPECT_EQ(many.form().progName.Count(), 51);

    TileScene reversed(12);
    reversed.form().VScroll.SetMax(-1);
    reversed.form().VScroll.Scroll(-1);
    ASSERT_EQ(reversed.form().VScroll.value(), -1);
    reversed.Fill();
    EXPECT_EQ(reversed.ShownTags(), Tags({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    TileScene slots(1);
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 5, 0));
    EXPECT_FALSE(MarkNotInstalled(*slots.app, 0, 51));
    DrawTilePicture(*slots.app, -1, 0);
    DrawTilePicture(*slots.app, 0, 200);
    EXPECT_EQ(slots.form().progIcon.Count(), 1);
}

} // namespace
} // namespace launcher
