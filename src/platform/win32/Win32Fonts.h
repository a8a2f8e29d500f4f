// Fonts of the Win32 backend: one cache of GDI fonts made from element fonts, shared by the system's text
// measuring and by every window that draws text or gives its controls a font.
#pragma once

#include "platform/Elements.h"
#include "platform/win32/Win32Handles.h"

#include <map>
#include <tuple>

namespace platform {

// GDI fonts made from element fonts (face, size in points, bold) at one resolution, each made once and kept
// for the life of the cache.
class GdiFonts {
public:
    // `dpi`: pixels per inch of the screen the text is drawn on (96 at 15 twips per pixel).
    explicit GdiFonts(int dpi);

    // The font's height in pixels: its size in points at this resolution, rounded to the nearest pixel.
    int PixelHeight(const Font& font) const;
    // The GDI font, owned by the cache; the system's default GUI font when GDI refused to make it.
    HFONT__* Get(const Font& font) const;
    // Width and height of one line of text in pixels; an empty text is as high as a line and 0 wide.
    TextSize Measure(const Font& font, TextView text) const;

private:
    int dpi_;
    MemoryDc measuringDc_;
    mutable std::map<std::tuple<Text, double, bool>, FontHandle> fonts_;
};

} // namespace platform
