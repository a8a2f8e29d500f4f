// The application object: everything one running launcher owns. Procedures of the launcher window take it
// by reference, so every test starts from a fresh launcher.
#pragma once

#include "catalogue/Catalogue.h"
#include "launcher/Form1.h"
#include "platform/FileSystem.h"
#include "platform/System.h"

#include <cstdint>

namespace launcher {

using Int16 = std::int16_t;

// Values shared by the window's procedures (pixels unless named otherwise).
struct ModuleValues {
    Int16 gridColumns = 0; // whole tile cells that fit the tile area's width
    Int16 gridRows = 0;    // and its height
    Int16 cellX = 0;       // centre of the cell the next tile gets, during a fill
    Int16 cellY = 0;
    Int16 downX = 0; // where the last press on a drag element was, in that element's units
    Int16 downY = 0;
    // The two press-nudge slots: where the element pressed with each was before the nudge.
    Int16 pressLeft = 0, pressTop = 0;
    Int16 pressLeft2 = 0, pressTop2 = 0;
};

struct Launcher {
    Launcher(platform::System& system, platform::FileSystem& files)
        : system(system), files(files),
          form(system, system.Screen().twipsPerPixelX, system.Screen().twipsPerPixelY) {}
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    platform::System& system;
    platform::FileSystem& files;
    catalogue::Catalogue cat;
    ModuleValues values;
    Form1 form;
};

} // namespace launcher
