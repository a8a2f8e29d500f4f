// The application object: everything one running launcher owns. Procedures of the launcher window take it
// by reference, so every test starts from a fresh launcher.
#pragma once

#include "catalogue/Catalogue.h"
#include "launcher/Form1.h"
#include "launcher/KeptFiles.h"
#include "platform/FileSystem.h"
#include "platform/System.h"
#include "platform/TouchGesture.h"
#include "platform/Workers.h"

#include <cstdint>
#include <vector>

namespace launcher {

using Int16 = std::int16_t;

// What has the keyboard focus in the launcher window. A tile and its video button are named by the
// display position of their program, so that the focus stays with the program when a refill or a scroll
// gives it another slot.
enum class FocusKind : std::int8_t { None, Tile, Video, Minimise, Maximise, Exit };
struct KeyboardFocus {
    FocusKind kind = FocusKind::None;
    int position = -1; // display position, for a tile or a video button
    bool operator==(const KeyboardFocus&) const = default;
};

// Values shared by the window's procedures (pixels unless named otherwise).
struct ModuleValues {
    Int16 gridColumns = 0; // whole tile cells that fit the tile area's width
    Int16 gridRows = 0;    // and its height
    Int16 cellX = 0;       // centre of the cell the next tile gets, during a fill
    Int16 cellY = 0;
    // Where the last press on a drag element was, in that element's units. 32-bit: the top strip spans the
    // window, and on a wide screen a press on it lies beyond 32767 twips.
    std::int32_t downX = 0;
    std::int32_t downY = 0;
    // The two press-nudge slots: where the element pressed with each was before the nudge.
    Int16 pressLeft = 0, pressTop = 0;
    Int16 pressLeft2 = 0, pressTop2 = 0;
    // Where each slot's nudge left its element, exactly (pixels): an element still standing there has not been
    // moved by anything else, whatever the fractional part of its place.
    double nudgedLeft = 0, nudgedTop = 0;
    double nudgedLeft2 = 0, nudgedTop2 = 0;
    KeyboardFocus focus;
    // Wheel units turned and not yet scrolled: less than a notch either way.
    int wheelRest = 0;
    // A finger or pen on the tile grid.
    platform::TouchGesture touch;
};

// What the last fill of the grid showed, which the keyboard and the screen reader read instead of walking
// the catalogue again: the display position each filled tile slot shows, slot by slot, and whether the
// slot's cell starts inside the tile area; every listed display position in display order, and whether its
// tile shows the video button; the tiles a row holds.
struct GridRecord {
    std::vector<int> positionBySlot;
    std::vector<bool> inView;
    std::vector<int> listed;
    std::vector<bool> listedVideo;
    int tilesPerRow = 1;
    bool filled = false; // a fill has run
};

struct Launcher {
    // Without workers of its own, the launcher answers every look-up at once on its own thread.
    Launcher(platform::System& system, platform::FileSystem& files, platform::Workers* workers = nullptr)
        : system(system), files(files), workers(workers != nullptr ? *workers : inlineWorkers_),
          kept(files, this->workers), form(system, system.Screen().twipsPerPixelX, system.Screen().twipsPerPixelY) {}
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

private:
    platform::InlineWorkers inlineWorkers_;

public:
    platform::System& system;
    platform::FileSystem& files;
    platform::Workers& workers;
    KeptFiles kept;
    catalogue::Catalogue cat;
    ModuleValues values;
    GridRecord grid;
    Form1 form;
};

} // namespace launcher
