// Fingers and pens on the tile grid. The system turns a touch into mouse input; told apart by the event's
// source, a finger that moves beyond the slop pans the grid a row per cell height, through the scroll
// bar's change event as any scroll, and starts nothing; a tap does what a click does; a finger held still
// and lifted starts nothing. The mouse keeps its handlers exactly as they are.
#pragma once

#include "launcher/Launcher.h"

namespace launcher {

// Wraps the pointer handlers of the tile slots' elements and the tile area so that a finger's or pen's
// events go through the touch rules above; to run after the tile slots got their handlers.
void ConnectTouch(Launcher& app);

} // namespace launcher
