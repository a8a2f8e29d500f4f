// Fonts of the Win32 backend: one cache of GDI fonts made from element fonts, shared by the system's text
// measuring and by every window that draws text or gives its controls a font. Each window has a display
// scale of its own, so the cache makes a font once per resolution: fonts are made at the device resolution
// of the window they are for, so that text is sharp at every scale, and text is measured in design
// pixels, so that the core sizes labels as at 96 dpi.
#pragma once

#include "platform/DisplayScale.h"
#include "platform/Elements.h"
#include "platform/win32/Win32Handles.h"

#include <map>
#include <tuple>

namespace platform {

// GDI fonts made from element fonts (face, size in points, bold) at a display scale, each made once per
// resolution and kept for the life of the cache (a control may still hold one made before its window's
// resolution changed).
class GdiFonts {
public:
    GdiFonts();

    // The font's height in device pixels: its size in points at the scale's resolution, rounded to the
    // nearest.
    static int PixelHeight(const Font& font, const DisplayScale& scale);
    // The GDI font at the scale's resolution, owned by the cache; the system's default GUI font when GDI
    // refused.
    HFONT__* Get(const Font& font, const DisplayScale& scale) const;
    // Width and height of one line of text in design pixels (device pixels at the scale over the scale); an
    // empty text is as high as a line and 0 wide.
    TextSize Measure(const Font& font, TextView text, const DisplayScale& scale) const;

private:
    MemoryDc measuringDc_;
    mutable std::map<std::tuple<int, Text, double, bool>, FontHandle> fonts_;
};

} // namespace platform
