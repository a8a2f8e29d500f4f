// A drawing helper over a bitmap for pictures drawn in code (the window's artwork, the tile pictures):
// flat shapes and text in a small pixel font. Positions and sizes are pixels of the picture itself;
// everything drawn is opaque and clipped at the picture's edges.
#pragma once

#include "platform/Picture.h"

#include <array>
#include <functional>
#include <span>
#include <string_view>

namespace platform {

// A character of a pixel font: its rows from the top, '#' for a font pixel.
struct PixelGlyph {
    char ch;
    std::array<std::string_view, 9> rows;
};

struct PixelFont {
    int width;  // font pixels a character
    int height; // rows a character
    int gap;    // font pixels between characters
    std::span<const PixelGlyph> glyphs;
};

class Canvas {
public:
    Canvas(int width, int height, Rgb ground) : bitmap_(width, height, ground) {}

    void Dot(int x, int y, Rgb c);
    void Fill(int x, int y, int w, int h, Rgb c);
    // The outline of a rectangle, `thickness` pixels wide, inside the rectangle's bounds.
    void Frame(int x, int y, int w, int h, int thickness, Rgb c);
    // Every pixel whose centre passes the test.
    void Shape(const std::function<bool(double, double)>& inside, Rgb c);
    // A straight stroke: every pixel whose centre lies within `halfWidth` of the segment.
    void Stroke(double x0, double y0, double x1, double y1, double halfWidth, Rgb c);
    void Ellipse(double cx, double cy, double rx, double ry, Rgb c);
    void Disc(double cx, double cy, double r, Rgb c) { Ellipse(cx, cy, r, r, c); }
    // A circle's outline, `thickness` pixels wide inside radius r.
    void Ring(double cx, double cy, double r, double thickness, Rgb c);
    void Triangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c);

    // Text, each font pixel drawn as a `scale` x `scale` block; (x, y) is the top-left corner of the first
    // character's cell. A character the font lacks leaves its cell empty and makes the result false.
    bool Write(const PixelFont& font, std::string_view text, int x, int y, int scale, Rgb c);
    static int TextWidth(const PixelFont& font, std::string_view text, int scale);

    const Bitmap& bitmap() const { return bitmap_; }
    Picture Done() { return std::make_shared<const Bitmap>(std::move(bitmap_)); }

private:
    Bitmap bitmap_;
};

} // namespace platform
