// Painting the element tree of a window with GDI: back to front in z-order, each picture box clipping its
// children, text through the shared font cache, pictures stretched and blended by their alpha. Element
// boxes are design pixels, mapped to device pixels at the window's display scale; above the design
// resolution pictures are drawn from copies scaled once to their device size (ScaledPictures). Controls are
// not painted here: they are child windows of their own (Win32Controls).
#pragma once

#include "platform/ContrastColours.h"
#include "platform/DisplayScale.h"
#include "platform/ElementGeometry.h"
#include "platform/PictureScale.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Handles.h"

#include <climits>

namespace platform {

// The window is painted in bands of this many rows, each through one band-sized surface and then onto the
// screen: no flicker, yet the buffer is a small part of a maximised window's (64 rows of 1024 pixels take
// 256 KB, the whole client area 3 MB).
inline constexpr int kPaintBandRows = 64;

// Paints the window's rows from `top` (client device pixels) into the surface, as many as it is high, in
// the columns from `left` to `right` (all of them unless told), at the window's display scale, in the
// system's colours when `highContrast` holds them.
void PaintWindow(const Window& window, DibSection& surface, int top, const DisplayScale& scale, const GdiFonts& fonts,
                 ScaledPictures& pictures, const std::optional<SystemColours>& highContrast, int left = 0,
                 int right = INT_MAX);

// Draws the window's elements (not its controls) into a width x height device-pixel picture at `scale` (the
// design resolution unless given), band by band exactly as the window paints itself; used by tests.
Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts,
                    const DisplayScale& scale = DisplayScale(),
                    const std::optional<SystemColours>& highContrast = std::nullopt);

// The system's colours while its high contrast is on; nothing while it is off.
std::optional<SystemColours> ReadHighContrast();

} // namespace platform
