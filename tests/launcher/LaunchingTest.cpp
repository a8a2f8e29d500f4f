#include "launcher/Launching.h"
#include "LauncherScene.h"
#include "catalogue/Misc.h"
#include "launcher/TileFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace launcher {
namespace {

using platform::kLeftButton;
using platform::kRightButton;
using platform::MousePointer;
using platform::Text;
using Start = platform::HeadlessSystem::Start;
using Open = platform::HeadlessSystem::Open;

constexpr char16_t kNotInstalled[] = u"This program has not been installed.";
constexpr char16_t kMaths[] = u"C:\\Tessaly\\Maths\\maths.exe";
constexpr char16_t kPlayer[] = u"C:\\Tessaly\\Maths\\Video\\player.exe";

enum Part { kIcon, kName, kVideo };

// A launcher window with tiles put on it by hand (the grid is not run), and its current folder at
// C:\Launcher.
struct TileScene : testing_support::LauncherScene {
    Form1& f = form();

    TileScene() { system.SetCurrentDriveAndFolder(u"C:", u"C:\\Launcher"); }
    // A catalogue entry; `installed` creates the executable's file.
    void Program(int id, Text path, Text desc, Text video = u"", bool installed = false) {
        if (installed) {
            files.AddFile(path);
        }
        cat().progList.at(static_cast<std::size_t>(id)) = {
            u"P", std::move(path), u"", std::move(desc), std::move(video), catalogue::kTrue};
        cat().progCount = std::max<Int16>(cat().progCount, static_cast<Int16>(id + 1));
        AskTileFiles(*app);
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
        return part == kIcon   ? static_cast<platform::Element&>(f.progIcon[k])
               : part == kName ? static_cast<platform::Element&>(f.progName[k])
                               : static_cast<platform::Element&>(f.prVidBut[k]);
    }
    bool Busy() const { return f.mousePointer == MousePointer::Hourglass && f.SameProgWaitTimer.enabled; }
    bool Idle() const { return f.mousePointer == MousePointer::Default && !f.SameProgWaitTimer.enabled; }
};

TEST(TileProgramId, IsTheLeadingNumberOfTheNamesTagToTheNearest16BitInteger) {
    const std::pair<const char16_t*, Int16> cases[] = {
        {u"7", 7},      {u"7abc", 7},        {u"  12", 12}, {u"", 0},     {u"abc", 0},       {u"+5", 5},
        {u"-3", -3},    {u"3.5", 4},         {u"2.5", 2},   {u"0.4x", 0}, {u"32767", 32767}, {u"32767.5", -1},
        {u"40000", -1}, {u"-32768", -32768}, {u"7 8", 7},
    };
    TileScene s;
    for (const auto& [tag, id] : cases) {
        s.Tile(1, tag);
        EXPECT_EQ(TileProgramId(*s.app, 1), id) << platform::ToUtf8(tag);
    }
    EXPECT_EQ(TileProgramId(*s.app, 2), -1) << "a slot that does not exist names no program";
}

TEST(Hover, EveryPartOfATileShowsItsProgramsDescriptionOrTheNotInstalledText) {
    TileScene s;
    s.Program(3, kMaths, u"Sums", kPlayer, true);
    // The player exists but the program does not: the test looks at the program only.
    s.Program(4, u"C:\\Tessaly\\Words\\words.exe", u"Words", kPlayer);
    s.files.AddFile(kPlayer);
    s.Program(5, u"http://tessaly.example/quiz", u"Quiz");
    s.Program(50, u"http://tessaly.example/last", u"Last"); // the last catalogue slot
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"3", u"Sums"},  {u"4", kNotInstalled},  {u"5", u"Quiz"},
        {u"50", u"Last"}, {u"51", kNotInstalled}, {u"-1", kNotInstalled},
    };
    for (const Part part : {kIcon, kName, kVideo}) {
        for (const auto& [tag, caption] : cases) {
            s.Tile(2, tag);
            s.f.progInfo.SetCaption(u"before");
            s.driver.Move(s.At(part, 2), 3, 3);
            EXPECT_EQ(s.f.progInfo.caption(), caption) << "tag " << platform::ToUtf8(tag) << ", part " << part;
        }
    }
    EXPECT_TRUE(s.system.Starts().empty() && s.system.Opens().empty()) << "pointing starts nothing";
}

TEST(Launch, ReleasingAPictureOrNameStartsFromTheProgramsFolderOrOpensThroughTheShell) {
    enum Outcome { kStarted, kOpened, kFailed, kNothing }; // kFailed: nothing starts, yet the window is busy
    const struct {
        const char* what;
        const char16_t* path;
        bool installed;
        Part part;
        int button;
        bool dragOff; // the pointer leaves the tile before the release
        Outcome outcome;
        std::size_t folderChanges;        // the drive and the folder, or the folder alone
        bool hidden = false;              // the tile is not shown: it receives nothing
        const char16_t* opened = nullptr; // what the shell opens, when not the path
    } cases[] = {
        {"lettered drive", u"D:\\Maths\\maths.exe", true, kIcon, kLeftButton, false, kStarted, 2},
        {"network path: no drive to change to", u"\\\\school\\apps\\maths.exe", true, kIcon, kLeftButton, false,
         kStarted, 1},
        {"right button on the name", kMaths, true, kName, kRightButton, false, kStarted, 2},
        {"released off the tile", kMaths, true, kIcon, kLeftButton, true, kStarted, 2},
        {"web address", u"http://tessaly.example/quiz", false, kIcon, kLeftButton, false, kOpened, 0},
        {"local page in capitals", u"D:\\Docs\\GUIDE.HTM", true, kIcon, kLeftButton, false, kOpened, 0},
        {"missing program", kMaths, false, kIcon, kLeftButton, false, kNothing, 0},
        {"hidden tile", kMaths, true, kName, kLeftButton, false, kNothing, 0, true},
        {"www address", u"www.tessaly.example", false, kIcon, kLeftButton, false, kOpened, 0, false,
         u"http://www.tessaly.example"},
        {"page on a share", u"\\\\server\\share\\help\\index.htm", true, kIcon, kLeftButton, false, kOpened, 0},
        {"file: address of a page", u"file:///T:/help/my%20index.htm", false, kIcon, kLeftButton, false, kOpened, 0,
         false, u"T:\\help\\my index.htm"},
        {"batch file", u"C:\\rt\\run.cmd", true, kIcon, kLeftButton, false, kStarted, 2},
        // Regressions: whatever looked like a web address was handed to the shell; a refused address skipped
        // the busy second; a batch file's name was read as commands by the command interpreter.
        {"refused by the shell's gate", u"ms-msdt:/id x.htm", false, kIcon, kLeftButton, false, kFailed, 0},
        {"batch file with &", u"C:\\rt\\amp&mkdir INJECTED&.bat", true, kIcon, kLeftButton, false, kFailed, 0},
        {"batch file with %", u"C:\\rt\\pct%OS%.BAT. ", true, kIcon, kLeftButton, false, kFailed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TileScene s;
        s.Program(5, c.path, u"desc", u"", c.installed);
        s.files.AddFile(u"T:\\help\\my index.htm");
        // Slot 0 shows another installed program: an event routed to the wrong slot would start it.
        s.Program(2, u"C:\\Other\\other.exe", u"other", u"", true);
        s.Tile(0, u"2");
        s.Tile(1, u"5");
        s.f.progName[1].visible = s.f.progIcon[1].visible = !c.hidden;

        platform::Element& element = s.At(c.part, 1);
        s.driver.Press(element, 5, 5, c.button);
        const double x = c.dragOff ? -250 : 5;
        s.driver.Move(element, x, x);
        s.driver.Release(element, x, x, c.button);

        const auto starts = c.outcome == kStarted ? std::vector<Start>{{c.path, 1, catalogue::GetFolder(c.path)}}
                                                  : std::vector<Start>{};
        const auto opens =
            c.outcome == kOpened ? std::vector<Open>{{c.opened ? c.opened : c.path, 3}} : std::vector<Open>{};
        EXPECT_EQ(s.system.Starts(), starts);
        EXPECT_EQ(s.system.Opens(), opens);
        EXPECT_EQ(s.system.FolderChanges().size(), c.folderChanges);
        EXPECT_EQ(s.Busy(), c.outcome != kNothing);
        EXPECT_EQ(s.Idle(), c.outcome == kNothing) << "the pointer is unchanged when nothing started";
    }
}

TEST(BusySecond, PicturesAndNamesRestForASecondAfterEachStartWhileVideoButtonsWorkWithoutProlongingIt) {
    TileScene s;
    s.Program(4, kMaths, u"Sums", kPlayer, true);
    s.files.AddFile(kPlayer);
    s.Program(6, u"http://tessaly.example/art", u"Art", u"https://videos.example/art");
    s.Program(7, u"C:\\Tessaly\\Words\\words.exe", u"Words", u"C:\\Tessaly\\Words\\gone.exe", true);
    s.Tile(0, u"4");
    s.Tile(1, u"6");
    s.Tile(2, u"7");
    s.f.progName[0].left = 50;
    s.f.progName[0].top = 100;
    enum Action { kPress, kRelease, kClick, kAdvance };
    const struct {
        const char* what;
        Action action;
        Part part;
        int slot;   // or milliseconds for kAdvance
        bool busy;  // afterwards
        bool moved; // picture and name of slot 0 pushed
        std::size_t starts, opens;
    } steps[] = {
        {"press pushes picture and name", kPress, kIcon, 0, false, true, 0, 0},
        {"release starts, puts back, turns busy", kRelease, kIcon, 0, true, false, 1, 0},
        {"half a second", kAdvance, kIcon, 500, true, false, 1, 0},
        {"busy: no push", kPress, kName, 0, true, false, 1, 0},
        {"busy: no start", kRelease, kName, 0, true, false, 1, 0},
        {"video button works while busy", kClick, kVideo, 0, true, false, 2, 0},
        {"and does not restart the second", kAdvance, kIcon, 499, true, false, 2, 0},
        {"the second ends 1000 ms after the start", kAdvance, kIcon, 1, false, false, 2, 0},
        {"missing player: nothing starts, yet busy", kClick, kVideo, 2, true, false, 2, 0},
        {"web video opened", kClick, kVideo, 1, true, false, 2, 1},
        {"second over", kAdvance, kIcon, 1000, false, false, 2, 1},
        {"the name starts the program", kClick, kName, 0, true, false, 3, 1},
    };
    const std::array<double, 4> home{58, 28, 50, 100};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        switch (step.action) {
        case kPress:
            s.driver.Press(s.At(step.part, step.slot), 5, 5);
            break;
        case kRelease:
            s.driver.Release(s.At(step.part, step.slot), 5, 5);
            break;
        case kClick:
            s.driver.Click(s.At(step.part, step.slot), 5, 5);
            break;
        case kAdvance:
            s.driver.Advance(step.slot);
            break;
        }
        EXPECT_TRUE(step.busy ? s.Busy() : s.Idle());
        const double push = step.moved ? 2 : 0;
        EXPECT_EQ((std::array{s.f.progIcon[0].left, s.f.progIcon[0].top, s.f.progName[0].left, s.f.progName[0].top}),
                  (std::array{home[0] + push, home[1] + push, home[2] + push, home[3] + push}));
        EXPECT_EQ(s.system.Starts().size(), step.starts);
        EXPECT_EQ(s.system.Opens().size(), step.opens);
    }
    const Start maths{kMaths, 1, u"C:\\Tessaly\\Maths\\"};
    EXPECT_EQ(s.system.Starts(), (std::vector<Start>{maths, {kPlayer, 1, u"C:\\Tessaly\\Maths\\Video\\"}, maths}));
    EXPECT_EQ(s.system.Opens(), (std::vector<Open>{{u"https://videos.example/art", 3}}));
}

} // namespace
} // namespace launcher
