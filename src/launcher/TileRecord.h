// What reads the grid's record of its last fill alone, with no look-up: the slot that shows a display
// position, and the focus ring placed on it.
#pragma once

#include "launcher/Launcher.h"

#include <optional>
#include <vector>

namespace launcher {

// The display position each shown tile slot shows, slot by slot.
std::vector<int> PositionsBySlot(const Launcher& app);
// The tile slot that shows display position `position` now; nothing when it is not laid out.
std::optional<int> SlotOfPosition(const Launcher& app, int position);
// Puts the focus ring where the focus now is (the slot that shows the focused program may have changed).
void ShowFocus(Launcher& app);

} // namespace launcher
