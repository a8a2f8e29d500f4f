// The teacher options: opening the dialog with Ctrl+Shift+K, dragging names into a new order, applying the
// rows to the catalogue, locating a program's executable, and resetting the launcher to its first start.
#pragma once

#include "launcher/Launcher.h"
#include "options/optForm.h"

namespace options {

using launcher::Int16;
using launcher::Launcher;

inline constexpr int kKeyK = 'K';
inline constexpr int kKeyL = 'L'; // Ctrl+L in the options dialog locates the focused row's program
inline constexpr int kCtrlShift = platform::kShiftMask | platform::kCtrlMask;

// Key-down of the launcher window: Ctrl+Shift+K (and nothing else held) opens the options; every other key
// goes to the keyboard use of the window.
void Form1_KeyDown(Launcher& app, int keyCode, int shift);
// Builds the rows from the catalogue and shows the dialog modally; returns when it has been closed. A name
// dragged up or down moves its row there, a double click on it locates its program, OK applies the rows,
// Cancel and the close box drop them, Reset resets the launcher.
void ShowOptions(Launcher& app);

// Puts the rows into the order and the show flags, then refills the tile grid.
void ApplyOptions(Launcher& app, optForm& form);
// Removes every tile slot but the first.
void ClearTiles(Launcher& app);
// Asks first; then deletes the settings file and rebuilds the catalogue, the frame and the grid.
void ResetLauncher(Launcher& app, optForm& form);
// Deletes a file; every failure is ignored.
void RemoveFile(Launcher& app, platform::TextView path);
// Lets the teacher choose the executable of row i's program.
void LocateProgram(Launcher& app, optForm& form, Int16 i);

} // namespace options
