// What a screen reader is told of the launcher window: its tiles, video buttons, caption buttons and
// description text as accessible parts, each with its name, state, place and default action.
#pragma once

#include "launcher/Launcher.h"

#include <vector>

namespace launcher {

// The window's accessible parts in reading order: each shown tile (a push button named with its program,
// described with its description, unavailable when not installed, default action "Start") followed by its
// shown video button ("Help video: " and the name), the three caption buttons named with their tips, and
// the description text. Each carries a child id of what it shows: a tile and its video button that of
// their program, whatever their place.
std::vector<platform::AccessibleItem> AccessibleParts(Launcher& app);
// Gives the window its list of accessible parts.
void ConnectAccessibility(Launcher& app);

} // namespace launcher
