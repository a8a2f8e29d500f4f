// Painting the element tree of a window with GDI: back to front in z-order, each picture box clipping its
// children, text through the shared font cache, pictures stretched and blended by their alpha. Controls are
// not painted here: they are child windows of their own (Win32Controls).
#pragma once

#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Handles.h"

namespace platform {

// An element's box in device pixels: each edge rounded on its own, so that neighbours share edges, and
// far-off values pulled in so that the arithmetic of rectangles cannot overflow.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
int Px(double value);
PixelRect ToPixels(const ClientBox& box);

// The window is painted in bands of this many rows, each through one band-sized surface and then onto the
// screen: no flicker, yet the buffer is a small part of a maximised window's (64 rows of 1024 pixels take
// 256 KB, the whole client area 3 MB).
inline constexpr int kPaintBandRows = 64;

// Paints the window's rows from `top` (client pixels) into the surface, as many as it is high.
void PaintWindow(const Window& window, DibSection& surface, int top, const GdiFonts& fonts);

// Draws the window's elements (not its controls) into a width x height picture, band by band exactly as
// the window paints itself; used by tests.
Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts);

} // namespace platform
