// Moving and resizing the borderless window through its title bar and border strips, the caption buttons
// (minimise, maximise/restore, exit) and the press nudge that makes a pressed element look pushed.
#pragma once

#include "launcher/Launcher.h"
#include "platform/Elements.h"

#include <functional>

namespace launcher {

// The press nudge, in two independent slots: the press pushes the element 2 units right and down, the
// release puts it back unless something else has moved it further since.
void PressButton(Launcher& app, platform::Element& element);
void ReleaseButton(Launcher& app, platform::Element& element);
void PressButton2(Launcher& app, platform::Element& element);
void ReleaseButton2(Launcher& app, platform::Element& element);

// The two actions of the maximise/restore button; both lay the window out anew from the first tile row.
void MaximiseWindow(Launcher& app);
void RestoreWindow(Launcher& app);

// Connects the pointer events of the title bar, the top strip, the title text, the border strips and the
// caption buttons, and the window's system menu to the caption buttons' actions. The exit button's release
// calls `quit`, which saves and ends the launcher.
void ConnectFrame(Launcher& app, std::function<void()> quit);

} // namespace launcher
