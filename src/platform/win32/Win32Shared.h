// What the system and every window of the process share: the display scale with the one font cache made at
// it, the pictures scaled for it, and the system libraries loaded when first needed. Owned by the Win32
// system, which outlives every window.
#pragma once

#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Paint.h"

namespace platform {

struct Win32Shared {
    // `dpi`: the screen's device pixels per inch, which the fonts are made at and the design pixels scaled to.
    explicit Win32Shared(int dpi) : fonts(dpi), highContrast(ReadHighContrast()) {}
    const DisplayScale& Scale() const { return fonts.Scale(); }
    GdiFonts fonts;
    ScaledPictures pictures;
    SystemLibraries libraries;
    // The system's colours while high contrast is on, read again whenever the system's settings change.
    std::optional<SystemColours> highContrast;
};

} // namespace platform
