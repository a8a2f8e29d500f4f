#include "LauncherScene.h"
#include "catalogue/Misc.h"
#include "launcher/Module1.h"
#include "platform/headless/HeadlessDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace launcher {
namespace {

using platform::HeadlessDriver;
using platform::kLeftButton;
using platform::kRightButton;
using platform::MousePointer;
using Start = platform::HeadlessSystem::Start;
using Open = platform::HeadlessSystem::Open;

constexpr char16_t kNotInstalled[] = u"This program has not been installed.";
constexpr char16_t kMaths[] = u"C:\\Tessaly\\Maths\\maths.exe";
constexpr char16_t kPlayer[] = u"C:\\Tessaly\\Maths\\Video\\player.exe";

enum class Part { Icon, Name, Video };

// A wired launcher window with tiles put on it by hand (the grid is not run), a driver that acts as the
// user, and the launcher's current folder at C:\Launcher.
struct TileScene {
    testing_support::LauncherScene scene;
    Launcher& app = *scene.app;
    Form1& f = app.form;
    HeadlessDriver driver{scene.system};

    TileScene() {
        WireForm1(app);
        driver.Watch(f.SameProgWaitTimer);
        scene.system.SetCurrentDriveAndFolder(u"C:", u"C:\\Launcher");
    }
    // A catalogue entry; `installed` creates the executable's file.
    void Program(int id, Text path, Text desc, Text video = u"", bool installed = false) {
        if (installed) {
            scene.files.AddFile(path);
        }
        app.cat.progList.at(static_cast<std::size_t>(id)) = {
            u"P", std::move(path), u"", std::move(desc), std::move(video), catalogue::kTrue};
        app.cat.progCount = std::max<Int16>(app.cat.progCount, static_cast<Int16>(id + 1));
    }
    // Shows the program named by `tag` on slot k, creating the slots up to k as the grid does.
    void Tile(int k, Text tag) {
        while (f.progName.Count() <= k) {
            f.progName.Append();
            f.progIcon.Append();
            f.prVidBut.Append();
        }
        f.progName[k].tag = std::move(tag);
        f.progIcon[k].visible = f.progName[k].visible = f.prVidBut[k].visible = true;
    }
    platform::Element& At(Part part, int k) {
        return part == Part::Icon   ? static_cast<platform::Element&>(f.progIcon[k])
               : part == Part::Name ? static_cast<platform::Element&>(f.progName[k])
                                    : static_cast<platform::Element&>(f.prVidBut[k]);
    }
    void Click(Part part, int k) { driver.Click(At(part, k), 5, 5); }
    bool Busy() const { return f.mousePointer == MousePointer::Hourglass && f.SameProgWaitTimer.enabled; }
    bool Idle() const { return f.mousePointer == MousePointer::Default && !f.SameProgWaitTimer.enabled; }
    const std::vector<Start>& Starts() const { return scene.system.Starts(); }
};

TEST(TileProgramId, IsTheLeadingNumberOfTheNamesTagToTheNearest16BitInteger) {
    const struct {
        const char16_t* tag;
        Int16 id;
    } cases[] = {
        {u"7", 7},      {u"7abc", 7},        {u"  12", 12}, {u"", 0},     {u"abc", 0},       {u"+5", 5},
        {u"-3", -3},    {u"3.5", 4},         {u"2.5", 2},   {u"0.4x", 0}, {u"32767", 32767}, {u"32767.5", -1},
        {u"40000", -1}, {u"-32768", -32768}, {u"7 8", 7},
    };
    TileScene s;
    for (const auto& c : cases) {
        s.Tile(1, c.tag);
        EXPECT_EQ(TileProgramId(s.app, 1), c.id) << platform::ToUtf8(c.tag);
    }
    EXPECT_EQ(TileProgramId(s.app, 2), -1) << "a slot that does not exist names no program";
}

TEST(Hover, EveryPartOfATileShowsItsProgramsDescriptionOrTheNotInstalledText) {
    TileScene s;
    s.Program(3, kMaths, u"Sums", kPlayer, true);
    // The player exists but the program does not: the test looks at the program only.
    s.Program(4, u"C:\\Tessaly\\Words\\words.exe", u"Words", kPlayer);
    s.scene.files.AddFile(kPlayer);
    s.Program(5, u"http://tessaly.example/quiz", u"Quiz");
    s.Program(50, u"http://tessaly.example/last", u"Last"); // the last catalogue slot
    const struct {
        const char16_t* tag;
        const char16_t* caption;
    } cases[] = {
        {u"3", u"Sums"},  {u"4", kNotInstalled},  {u"5", u"Quiz"},
        {u"50", u"Last"}, {u"51", kNotInstalled}, {u"-1", kNotInstalled},
    };
    for (const Part part : {Part::Icon, Part::Name, Part::Video}) {
        for (const auto& c : cases) {
            s.Tile(2, c.tag);
            s.f.progInfo.SetCaption(u"before");
            s.driver.Move(s.At(part, 2), 3, 3);
            EXPECT_EQ(s.f.progInfo.caption(), c.caption)
                << "tag " << platform::ToUtf8(c.tag) << ", part " << static_cast<int>(part);
        }
    }
    EXPECT_TRUE(s.Starts().empty() && s.scene.system.Opens().empty()) << "pointing starts nothing";
}

TEST(Launch, ReleasingAPictureOrNameStartsFromTheProgramsFolderOrOpensThroughTheShell) {
    enum Outcome { kStarted, kOpened, kNothing };
    const struct {
        const char* what;
        const char16_t* path;
        bool installed;
        Part part;
        int button;
        bool dragOff; // the pointer leaves the tile before the release
        Outcome outcome;
    } cases[] = {
        {"lettered drive", u"D:\\Tessaly\\Maths\\maths.exe", true, Part::Icon, kLeftButton, false, kStarted},
        {"right button on the name", kMaths, true, Part::Name, kRightButton, false, kStarted},
        {"released off the tile", kMaths, true, Part::Icon, kLeftButton, true, kStarted},
        {"web address", u"http://tessaly.example/quiz", false, Part::Icon, kLeftButton, false, kOpened},
        {"local page in capitals", u"D:\\Docs\\GUIDE.HTM", true, Part::Icon, kLeftButton, false, kOpened},
        {"missing program", kMaths, false, Part::Icon, kLeftButton, false, kNothing},
    };
    for (const auto& c : cases) {
        TileScene s;
        s.Program(5, c.path, u"desc", u"", c.installed);
        // Slot 0 shows another installed program: an event routed to the wrong slot would start it.
        s.Program(2, u"C:\\Other\\other.exe", u"other", u"", true);
        s.Tile(0, u"2");
        s.Tile(1, u"5");

        platform::Element& element = s.At(c.part, 1);
        s.driver.Press(element, 5, 5, c.button);
        const double x = c.dragOff ? -250 : 5;
        s.driver.Move(element, x, x);
        s.driver.Release(element, x, x, c.button);

        const auto starts = c.outcome == kStarted ? std::vector<Start>{{c.path, 1, catalogue::GetFolder(c.path)}}
                                                  : std::vector<Start>{};
        const auto opens = c.outcome == kOpened ? std::vector<Open>{{c.path, 3}} : std::vector<Open>{};
        EXPECT_EQ(s.Starts(), starts) << c.what;
        EXPECT_EQ(s.scene.system.Opens(), opens) << c.what;
        EXPECT_EQ(s.scene.system.FolderChanges().empty(), c.outcome != kStarted) << c.what;
        EXPECT_EQ(s.Busy(), c.outcome != kNothing) << c.what;
        EXPECT_EQ(s.Idle(), c.outcome == kNothing) << c.what << ": the pointer is unchanged when nothing started";
    }
}

TEST(BusySecond, APressPushesPictureAndNameAndItsReleaseStartsTheProgramOncePerSecond) {
    TileScene s;
    s.Program(4, kMaths, u"Sums", u"", true);
    s.Tile(0, u"4");
    platform::Element& icon = s.f.progIcon[0]; // at 58, 28
    platform::Element& name = s.f.progName[0];
    name.left = 50;
    name.top = 100;
    const auto places = [&] { return std::array{icon.left, icon.top, name.left, name.top}; };
    const std::array<double, 4> home{58, 28, 50, 100};
    for (const Part part : {Part::Icon, Part::Name}) {
        SCOPED_TRACE(static_cast<int>(part));
        s.driver.Press(s.At(part, 0), 5, 5);
        EXPECT_EQ(places(), (std::array<double, 4>{60, 30, 52, 102}));
        s.driver.Release(s.At(part, 0), 5, 5);
        EXPECT_EQ(places(), home);
        EXPECT_TRUE(s.Busy());
        // During the busy second presses and releases do nothing at all: no push, no start.
        s.driver.Advance(500);
        s.driver.Press(s.At(part, 0), 5, 5);
        EXPECT_EQ(places(), home);
        s.driver.Release(s.At(part, 0), 5, 5);
        s.driver.Advance(499);
        s.Click(Part::Icon, 0);
        // 1000 ms after the start the tick ends the busy state.
        s.driver.Advance(1);
        EXPECT_TRUE(s.Idle());
        EXPECT_EQ(s.Starts().size(), part == Part::Icon ? 1u : 2u);
    }
}

TEST(BusySecond, EveryVideoButtonMakesTheWindowBusyWorksWhileBusyAndDoesNotProlongTheSecond) {
    TileScene s;
    s.Program(4, kMaths, u"Sums", kPlayer, true);
    s.scene.files.AddFile(kPlayer);
    s.Program(6, u"http://tessaly.example/art", u"Art", u"https://videos.example/art");
    s.Program(7, u"C:\\Tessaly\\Words\\words.exe", u"Words", u"C:\\Tessaly\\Words\\gone.exe", true);
    s.Tile(0, u"4");
    s.Tile(1, u"6");
    s.Tile(2, u"7");

    s.Click(Part::Video, 2); // the player is missing: nothing starts, yet the window is busy
    EXPECT_TRUE(s.Starts().empty() && s.scene.system.Opens().empty() && s.scene.system.FolderChanges().empty());
    EXPECT_TRUE(s.Busy());
    s.Click(Part::Icon, 0);
    EXPECT_TRUE(s.Starts().empty()) << "the picture is blocked for the second";
    s.driver.Advance(600);
    s.driver.Move(s.f.progIcon[1], 5, 5);
    EXPECT_EQ(s.f.progInfo.caption(), u"Art") << "pointing still works while busy";
    s.Click(Part::Video, 0);
    s.Click(Part::Video, 1);
    EXPECT_EQ(s.Starts(), (std::vector<Start>{{kPlayer, 1, u"C:\\Tessaly\\Maths\\Video\\"}}));
    EXPECT_EQ(s.scene.system.Opens(), (std::vector<Open>{{u"https://videos.example/art", 3}}));
    // Switching the running timer on again does not restart it: the busy second counts from the first.
    s.driver.Advance(399);
    EXPECT_TRUE(s.Busy());
    s.driver.Advance(1);
    EXPECT_TRUE(s.Idle());
    s.Click(Part::Icon, 0);
    EXPECT_EQ(s.Starts().size(), 2u);
}

TEST(ChangeToProgramFolder, LetteredPathsChangeDriveAndFolderNetworkPathsTheFolderOnly) {
    const struct {
        const char16_t* path;
        std::vector<Text> changes;
    } cases[] = {
        {u"D:\\Maths\\maths.exe", {u"drive:D:", u"folder:D:\\Maths\\"}},
        {u"\\\\school\\apps\\maths.exe", {u"folder:\\\\school\\apps\\"}},
        // No drive letter: the drive change fails and the folder change applies to the current drive.
        {u"Tools\\maths.exe", {u"drive:To", u"folder:Tools\\"}},
        {u"maths.exe", {u"drive:ma"}}, // no folder part: nothing to change to
    };
    for (const auto& c : cases) {
        TileScene s;
        ChangeToProgramFolder(s.app, c.path);
        EXPECT_EQ(s.scene.system.FolderChanges(), c.changes) << platform::ToUtf8(c.path);
    }
}

TEST(WireForm1, ConnectsEveryHandledEventAndLeavesTheLogoAlone) {
    constexpr unsigned kDown = 1, kMove = 2, kUp = 4, kAll = 7;
    TileScene s;
    s.Tile(2, u"1"); // copies made after wiring
    Form1& f = s.f;
    const struct {
        const platform::Element* element;
        unsigned wired;
    } cases[] = {
        {&f.topBar, kDown | kMove}, {&f.topSmoother, kDown | kMove}, {&f.topText, kDown | kMove},
        {&f.MinBut, kDown | kUp},   {&f.restoreBut, kDown | kUp},    {&f.ExitBut, kDown | kUp},
        {&f.leftBorder, kAll},      {&f.rightBorder, kAll},          {&f.botBar, kAll},
        {&f.progIcon[2], kAll},     {&f.progName[2], kAll},          {&f.prVidBut[2], kAll},
        {&f.tessalyLogo, 0},
    };
    for (const auto& c : cases) {
        const auto& h = c.element->handlers;
        const unsigned wired = (h.down ? kDown : 0u) | (h.move ? kMove : 0u) | (h.up ? kUp : 0u);
        EXPECT_EQ(wired, c.wired) << c.element->name();
        EXPECT_FALSE(h.doubleClick) << c.element->name();
    }
    EXPECT_TRUE(f.VScroll.onChange && f.VScroll.onScroll && f.SameProgWaitTimer.onTick);

    // Slots that exist before the wiring are wired too.
    testing_support::LauncherScene other;
    other.form().progName.Append();
    WireForm1(*other.app);
    EXPECT_TRUE(other.form().progName[1].handlers.up);
}

// ---- the headless driver itself ----

TEST(HeadlessDriver, DeliversPositionsInTheElementsUnitsWithTheHeldButtonsToShownElements) {
    platform::HeadlessSystem system;
    system.SetScreen({1024 * 12.0, 768 * 15.0, 12, 15}); // unequal axes show a mixed-up factor
    platform::Image image("image");
    platform::Label label("label", system, true);
    platform::PictureBox box("box", system);
    std::vector<std::array<double, 4>> seen; // x, y, buttons, shift
    for (platform::Element* e : {static_cast<platform::Element*>(&image), static_cast<platform::Element*>(&label),
                                 static_cast<platform::Element*>(&box)}) {
        e->handlers.down = e->handlers.move = e->handlers.up = [&](const platform::PointerEvent& p) {
            seen.push_back({p.x, p.y, static_cast<double>(p.button), static_cast<double>(p.shift)});
        };
    }
    HeadlessDriver driver(system);
    driver.Press(image, 10, 20, kRightButton, platform::kCtrlMask);
    driver.Press(label, 10, 20, kLeftButton);
    driver.Move(box, 10, 20);
    driver.Release(box, 10, 20, kRightButton);
    driver.Move(box, 1, 2);
    const std::vector<std::array<double, 4>> expected = {{120, 300, kRightButton, platform::kCtrlMask},
                                                         {120, 300, kLeftButton, 0},
                                                         {10, 20, kLeftButton | kRightButton, 0},
                                                         {10, 20, kRightButton, 0},
                                                         {1, 2, kLeftButton, 0}};
    EXPECT_EQ(seen, expected);

    // Hidden elements, and elements inside a hidden picture box, receive nothing.
    platform::Label inside("inside", system, true);
    box.Add(inside);
    inside.handlers.up = image.handlers.up;
    image.visible = false;
    EXPECT_FALSE(driver.Release(image, 1, 1));
    box.visible = false;
    EXPECT_FALSE(driver.Release(inside, 1, 1));
    EXPECT_EQ(seen.size(), expected.size());
}

TEST(HeadlessDriver, TimersTickEveryIntervalFromWhenTheyWereFirstSeenOn) {
    platform::HeadlessSystem system;
    HeadlessDriver driver(system);
    std::vector<std::pair<char, long long>> ticks;
    platform::Timer a{300, false, {}};
    platform::Timer once{500, true, {}};
    a.onTick = [&] { ticks.emplace_back('a', driver.Now()); };
    once.onTick = [&] {
        ticks.emplace_back('o', driver.Now());
        once.enabled = false; // a one-shot, like the wait timer
    };
    driver.Watch(a);
    driver.Watch(once);

    driver.Advance(100);
    a.enabled = true;
    driver.Advance(1000); // `a` is seen switched on at 100
    EXPECT_EQ(ticks, (std::vector<std::pair<char, long long>>{{'a', 400}, {'o', 500}, {'a', 700}, {'a', 1000}}));

    // Off and on again between two looks keeps the running period; an interval of 0 never ticks.
    ticks.clear();
    a.enabled = false;
    a.enabled = true;
    driver.Advance(200);
    EXPECT_EQ(ticks, (std::vector<std::pair<char, long long>>{{'a', 1300}}));
    a.interval = 0;
    driver.Advance(5000);
    EXPECT_EQ(ticks.size(), 1u);
}

} // namespace
} // namespace launcher
