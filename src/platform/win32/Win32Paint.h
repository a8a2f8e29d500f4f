// Painting the element tree of a window with GDI: back to front in z-order, each picture box clipping its
// children, text through the shared font cache, pictures stretched and blended by their alpha. Element
// boxes are design pixels, mapped to device pixels at the fonts' display scale; above the design
// resolution pictures are drawn from copies scaled once to their device size (ScaledPictures). Controls are
// not painted here: they are child windows of their own (Win32Controls).
#pragma once

#include "platform/ContrastColours.h"
#include "platform/DisplayScale.h"
#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Handles.h"

#include <map>
#include <memory>
#include <tuple>

namespace platform {

// Pictures scaled to device sizes (ScalePicture), each made once per picture and size: a fill during a
// thumb drag redraws every tile, and scaling 50 pictures on every paint would make the drag lag.
class ScaledPictures {
public:
    // The picture at width x height device pixels.
    const Bitmap& Get(const Picture& picture, int width, int height);

private:
    struct Entry {
        std::weak_ptr<const Bitmap> source; // a copy made of a picture since freed is not used for another
        Bitmap scaled;
    };
    std::map<std::tuple<const Bitmap*, int, int>, Entry> entries_;
};

// The window is painted in bands of this many rows, each through one band-sized surface and then onto the
// screen: no flicker, yet the buffer is a small part of a maximised window's (64 rows of 1024 pixels take
// 256 KB, the whole client area 3 MB).
inline constexpr int kPaintBandRows = 64;

// Paints the window's rows from `top` (client device pixels) into the surface, as many as it is high, in the
// system's colours when `highContrast` holds them.
void PaintWindow(const Window& window, DibSection& surface, int top, const GdiFonts& fonts, ScaledPictures& pictures,
                 const std::optional<SystemColours>& highContrast = std::nullopt);

// Draws the window's elements (not its controls) into a width x height device-pixel picture, band by band
// exactly as the window paints itself; used by tests.
Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts,
                    const std::optional<SystemColours>& highContrast = std::nullopt);

// The system's colours while its high contrast is on; nothing while it is off.
std::optional<SystemColours> ReadHighContrast();

} // namespace platform
