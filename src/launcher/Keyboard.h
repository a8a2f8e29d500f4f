// The launcher window without a mouse: the keyboard focus over the tiles, their video buttons and the
// caption buttons, Enter and Space acting as a click, the focus ring, and the mouse wheel over the grid.
#pragma once

#include "launcher/Launcher.h"
#include "launcher/TileRecord.h"

#include <optional>
#include <vector>

namespace launcher {

// Every key of the launcher window but the options' own combination: the focus moves (arrows, Home, End,
// Page Up and Down, Tab and Shift+Tab) and Enter or Space on the focused element. The first key press
// shows the keyboard cues.
void KeyboardKeyDown(Launcher& app, int keyCode, int shift);
// The wheel turned by `delta` units over the window: each whole notch scrolls the grid one row, and a focused
// tile scrolled out of view gives the focus to the nearest tile in view.
void WheelOverGrid(Launcher& app, int delta);
// What Enter and Space do: the press and the release of a click on the element `target` names (a tile's
// picture, a video button, a caption button); nothing when it is not laid out.
void ClickFocusTarget(Launcher& app, const KeyboardFocus& target);

} // namespace launcher
