// The catalogue: one record per program of the suite, the display order, the show-all option and the
// values that start-up computes once for the window layout. One application object owns it; every
// procedure that reads or changes it takes it by reference.
#pragma once

#include "platform/Text.h"

#include <array>
#include <cstdint>

namespace catalogue {

using platform::Text;
using platform::TextView;

using Int16 = std::int16_t;
// Booleans kept in the catalogue are 16-bit: True is -1, False is 0. Only -1 counts as True where a
// value is written out.
using Bool16 = std::int16_t;
inline constexpr Bool16 kTrue = -1;
inline constexpr Bool16 kFalse = 0;

inline constexpr int kSlotCount = 51;    // ids 0 to 50
inline constexpr int kDefaultCount = 29; // the built-in suite, ids 0 to 28

struct ProgramRecord {
    Text name;      // shown under the tile and in the options dialog; the key for discovery
    Text path;      // the executable's full path, or a web address
    Text picpath;   // full path of the tile picture (a bitmap file)
    Text desc;      // shown while the pointer is over the tile
    Text videopath; // full path of the help-video player; empty when the program has none
    Bool16 show = kFalse;

    bool operator==(const ProgramRecord&) const = default;
};

struct Catalogue {
    std::array<ProgramRecord, kSlotCount> progList{};
    Int16 progCount = 0;                   // slots 0 to progCount - 1 are the catalogue
    std::array<Int16, kSlotCount> order{}; // order[pos] is the id shown at display position pos
    Bool16 showall = kFalse;               // list programs that are not installed too
    // Set by the last load when the settings file was there but could not be read (another program held
    // it open, access was refused): the catalogue in memory is then not the file's, so saving must not
    // replace the file with it.
    bool settingsUnreadable = false;
    // Set by the last load when the settings file names more programs than were read from it (lines ended
    // by line feeds alone, UTF-16, an indented line, a 52nd program): the file is kept aside before a save.
    bool settingsPartlyRead = false;

    // Set once at start-up.
    Text appDrive;           // first two characters of the launcher's folder, such as "C:"
    Int16 screenWidthPx = 0; // pixels
    Int16 cellWidth = 180;   // pixels, the grid's horizontal step
    Int16 cellHeight = 120;  // pixels, the grid's vertical step
};

} // namespace catalogue
