// Connects the events of the launcher window's elements to the window's procedures.
#pragma once

#include "launcher/Launcher.h"

#include <functional>

namespace launcher {

// Gives every element of Form1 its event handlers: the frame's drags and caption buttons, the tile slots,
// the scroll bar, the wheel and the wait timer. The exit button's release calls `quit`. The window's key-down is
// left to the caller.
void WireForm1(Launcher& app, std::function<void()> quit);

} // namespace launcher
