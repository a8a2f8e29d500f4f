// Hover information and launching: what pointing at and clicking a tile does, the busy second after every
// start, and the connection of the tile slots' events to their handlers.
#include "launcher/Launching.h"

#include "catalogue/Misc.h"
#include "launcher/Moves.h"
#include "launcher/TileFiles.h"

#include <string>

namespace launcher {

namespace {

using platform::MousePointer;
using platform::PointerEvent;
using platform::Text;
using platform::TextView;

// Slot k exists in all three tile arrays.
bool HasSlot(const Launcher& app, int k) {
    const Form1& f = app.form;
    return k >= 0 && k < f.progIcon.Count() && k < f.progName.Count() && k < f.prVidBut.Count();
}

// The record of tile k's program; nothing when the slot does not exist or its tag names no catalogue
// slot. Such a tile is treated as a program with no executable and no video player.
const catalogue::ProgramRecord* TileProgram(const Launcher& app, Int16 k) {
    const Int16 id = TileProgramId(app, k);
    if (id < 0 || id >= catalogue::kSlotCount) {
        return nullptr;
    }
    return &app.cat.progList[static_cast<std::size_t>(id)];
}

// The shared installed test, on what is kept: a web address, or a path that names an existing file.
bool Installed(const Launcher& app, TextView path) {
    return KeptInstalled(app, path);
}

bool Busy(const Launcher& app) {
    return app.form.mousePointer == MousePointer::Hourglass;
}

// The busy second: the hourglass shows until the wait timer's first tick. Switching on a timer that is
// already running does not restart it, so the second counts from the first start that made the window
// busy.
void EnterBusy(Launcher& app) {
    app.form.mousePointer = MousePointer::Hourglass;
    app.form.SameProgWaitTimer.enabled = true;
}

// Starts an executable from its own folder, or hands a web address or a page to the shell. A web address
// that the shell may not be handed (ShellTarget) and a batch file whose name the command interpreter would
// read as commands are starts that fail before anything happens. No failure is reported: whatever did not
// work is simply skipped.
void StartOrOpen(Launcher& app, TextView path) {
    if (catalogue::IsWebAddress(path)) {
        if (const std::optional<Text> target = catalogue::ShellTarget(path, app.files)) {
            (void)app.system.ShellOpen(*target, platform::kShowMaximised);
        }
        return;
    }
    if (catalogue::IsRefusedBatchFile(path)) {
        return;
    }
    ChangeToProgramFolder(app, path);
    (void)app.system.StartExecutable(path, platform::kNormalFocus);
}

// Press and release on a tile's picture or name: both elements take the press nudge, the picture in the
// first slot and the name in the second. While the window is busy they do nothing at all.
void PressTile(Launcher& app, const PointerEvent& e) {
    if (Busy(app) || !HasSlot(app, e.index)) {
        return;
    }
    PressButton(app, app.form.progIcon[e.index]);
    PressButton2(app, app.form.progName[e.index]);
}

// The release starts the program wherever the pointer is now: there is no hit test.
void ReleaseTile(Launcher& app, const PointerEvent& e) {
    if (Busy(app) || !HasSlot(app, e.index)) {
        return;
    }
    ReleaseButton(app, app.form.progIcon[e.index]);
    ReleaseButton2(app, app.form.progName[e.index]);
    LaunchProgram(app, static_cast<Int16>(e.index));
}

void HoverTile(Launcher& app, const PointerEvent& e) {
    if (HasSlot(app, e.index)) {
        ShowProgramInfo(app, static_cast<Int16>(e.index));
    }
}

} // namespace

Int16 TileProgramId(const Launcher& app, Int16 k) {
    if (k < 0 || k >= app.form.progName.Count()) {
        return -1;
    }
    // A tag whose number does not fit 16 bits names no program.
    const auto number = catalogue::LeadingNumber(app.form.progName[k].tag);
    const auto id = number ? catalogue::Nearest(*number) : std::nullopt;
    return id.value_or(Int16{-1});
}

void ShowProgramInfo(Launcher& app, Int16 k) {
    // The test looks at the program's executable, also for the video button.
    const catalogue::ProgramRecord* program = TileProgram(app, k);
    if (program == nullptr || !Installed(app, program->path)) {
        app.form.progInfo.SetCaption(kNotInstalled);
        return;
    }
    app.form.progInfo.SetCaption(program->desc);
}

void LaunchProgram(Launcher& app, Int16 k) {
    const catalogue::ProgramRecord* program = TileProgram(app, k);
    // A program that is not installed: the tile does nothing, and the window does not turn busy. A start
    // that fails turns it busy all the same.
    if (program == nullptr || !Installed(app, program->path)) {
        return;
    }
    StartOrOpen(app, program->path);
    EnterBusy(app);
}

void LaunchVideos(Launcher& app, Int16 k) {
    const catalogue::ProgramRecord* program = TileProgram(app, k);
    if (program != nullptr && Installed(app, program->videopath)) {
        StartOrOpen(app, program->videopath);
    }
    // Busy in every case, also when no player was found.
    EnterBusy(app);
}

void ChangeToProgramFolder(Launcher& app, TextView path) {
    // A network path (two leading backslashes) has no drive to change to; any other path names its drive
    // in its first two characters. A failed drive change leaves the folder change to the current drive.
    if (!path.starts_with(u"\\\\")) {
        (void)app.system.SetCurrentDrive(path.substr(0, 2));
    }
    // A path without a backslash has no folder part; there is nothing to change to.
    const Text folder = catalogue::GetFolder(path);
    if (!folder.empty()) {
        (void)app.system.SetCurrentFolder(folder);
    }
}

namespace {

// ---- the video button's and the timer's events ----

// The video button works busy or not: each release starts the player again.
void prVidBut_MouseDown(Launcher& app, const PointerEvent& e) {
    if (HasSlot(app, e.index)) {
        PressButton(app, app.form.prVidBut[e.index]);
    }
}

void prVidBut_MouseUp(Launcher& app, const PointerEvent& e) {
    if (HasSlot(app, e.index)) {
        ReleaseButton(app, app.form.prVidBut[e.index]);
        LaunchVideos(app, static_cast<Int16>(e.index));
    }
}

void SameProgWaitTimer_Timer(Launcher& app) {
    app.form.SameProgWaitTimer.enabled = false;
    app.form.mousePointer = MousePointer::Default;
}

} // namespace

void ConnectTiles(Launcher& app) {
    using Handler = void (*)(Launcher&, const PointerEvent&);
    struct Wiring {
        Handler move, down, up;
    };
    // The picture and the name act as one; the video button has its own press and release.
    constexpr Wiring kTile{HoverTile, PressTile, ReleaseTile};
    constexpr Wiring kVideo{HoverTile, prVidBut_MouseDown, prVidBut_MouseUp};
    const auto to = [&app](Handler handler) { return [&app, handler](const PointerEvent& e) { handler(app, e); }; };
    const auto wire = [&](auto& slots, const Wiring& wiring) {
        for (int k = 0; k < slots.Count(); ++k) {
            slots[k].handlers.move = to(wiring.move);
            slots[k].handlers.down = to(wiring.down);
            slots[k].handlers.up = to(wiring.up);
        }
    };
    Form1& f = app.form;
    // Slots created later are copies of slot 0 and carry these handlers; the handlers find their slot in
    // the event's index. Slots that already exist are connected here as well.
    wire(f.progIcon, kTile);
    wire(f.progName, kTile);
    wire(f.prVidBut, kVideo);
    f.SameProgWaitTimer.onTick = [&app] { SameProgWaitTimer_Timer(app); };
}

} // namespace launcher
