// What the system and every window of the process share: the font cache, which makes each font at the
// resolution of the window asking, the pictures scaled to device sizes, and the system libraries loaded
// when first needed. Each window keeps its own display scale. Owned by the Win32 system, which outlives
// every window.
#pragma once

#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Paint.h"

namespace platform {

struct Win32Shared {
    GdiFonts fonts;
    ScaledPictures pictures;
    SystemLibraries libraries;
    // The system's colours while high contrast is on, read again whenever the system's settings change.
    std::optional<SystemColours> highContrast = ReadHighContrast();
};

} // namespace platform
