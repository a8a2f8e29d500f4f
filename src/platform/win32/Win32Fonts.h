// Fonts of the Win32 backend: one cache of GDI fonts made from element fonts, shared by the system's text
// measuring and by every window that draws text or gives its controls a font. The cache holds the display
// scale: fonts are made at the device resolution, so that text is sharp at every scale, and text is
// measured in design pixels, so that the core sizes labels as at 96 dpi.
#pragma once

#include "platform/DisplayScale.h"
#include "platform/Elements.h"
#include "platform/win32/Win32Handles.h"

#include <map>
#include <tuple>

namespace platform {

// GDI fonts made from element fonts (face, size in points, bold) at the screen's resolution, each made once
// per resolution and kept for the life of the cache (a control may still hold one made before the
// resolution changed).
class GdiFonts {
public:
    // `dpi`: device pixels per inch of the screen the text is drawn on (96 at the design resolution).
    explicit GdiFonts(int dpi);

    const DisplayScale& Scale() const { return scale_; }
    // The window moved to a screen of another resolution: fonts from now on are made at that one.
    void SetDpi(int dpi) { scale_ = DisplayScale(dpi); }

    // The font's height in device pixels: its size in points at this resolution, rounded to the nearest.
    int PixelHeight(const Font& font) const;
    // The GDI font at this resolution, owned by the cache; the system's default GUI font when GDI refused.
    HFONT__* Get(const Font& font) const;
    // Width and height of one line of text in design pixels (device pixels over the scale); an empty text
    // is as high as a line and 0 wide.
    TextSize Measure(const Font& font, TextView text) const;

private:
    DisplayScale scale_;
    MemoryDc measuringDc_;
    mutable std::map<std::tuple<int, Text, double, bool>, FontHandle> fonts_;
};

} // namespace platform
