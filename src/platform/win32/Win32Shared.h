// What the system and every window of the process share: the one font cache, and the system libraries
// loaded when first needed. Owned by the Win32 system, which outlives every window.
#pragma once

#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Libraries.h"

namespace platform {

struct Win32Shared {
    // `dpi`: the screen's pixels per inch, which the fonts are made at.
    explicit Win32Shared(int dpi) : fonts(dpi) {}
    GdiFonts fonts;
    SystemLibraries libraries;
};

} // namespace platform
