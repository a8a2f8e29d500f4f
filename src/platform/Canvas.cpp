// Flat shapes and pixel-font text on a bitmap.
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace platform {

void Canvas::Dot(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < bitmap_.width && y < bitmap_.height) {
        bitmap_.Set(x, y, Argb(c));
    }
}

void Canvas::Fill(int x, int y, int w, int h, Rgb c) {
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            Dot(col, row, c);
        }
    }
}

void Canvas::Frame(int x, int y, int w, int h, int thickness, Rgb c) {
    Fill(x, y, w, thickness, c);
    Fill(x, y + h - thickness, w, thickness, c);
    Fill(x, y, thickness, h, c);
    Fill(x + w - thickness, y, thickness, h, c);
}

void Canvas::Shape(const std::function<bool(double, double)>& inside, Rgb c) {
    for (int y = 0; y < bitmap_.height; ++y) {
        for (int x = 0; x < bitmap_.width; ++x) {
            if (inside(x + 0.5, y + 0.5)) {
                Dot(x, y, c);
            }
        }
    }
}

void Canvas::Stroke(double x0, double y0, double x1, double y1, double halfWidth, Rgb c) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double lengthSquared = dx * dx + dy * dy;
    Shape(
        [=](double px, double py) {
            const double t =
                lengthSquared == 0 ? 0 : std::clamp(((px - x0) * dx + (py - y0) * dy) / lengthSquared, 0.0, 1.0);
            const double ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
            return ex * ex + ey * ey <= halfWidth * halfWidth;
        },
        c);
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, Rgb c) {
    Shape([=](double x, double y) { return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1; },
          c);
}

void Canvas::Ring(double cx, double cy, double r, double thickness, Rgb c) {
    Shape(
        [=](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            return d <= r && d > r - thickness;
        },
        c);
}

void Canvas::Triangle(double ax, double ay, double bx, double by, double cx, double cy, Rgb c) {
    Shape(
        [=](double x, double y) {
            const auto side = [&](double px, double py, double qx, double qy) {
                return (qx - px) * (y - py) - (qy - py) * (x - px);
            };
            const double s1 = side(ax, ay, bx, by), s2 = side(bx, by, cx, cy), s3 = side(cx, cy, ax, ay);
            return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
        },
        c);
}

bool Canvas::Write(const PixelFont& font, std::string_view text, int x, int y, int scale, Rgb c) {
    bool complete = true;
    for (const char ch : text) {
        const auto glyph =
            std::find_if(font.glyphs.begin(), font.glyphs.end(), [ch](const PixelGlyph& g) { return g.ch == ch; });
        if (glyph == font.glyphs.end()) {
            complete = false;
        } else {
            for (int row = 0; row < font.height; ++row) {
                const std::string_view pixels = glyph->rows[static_cast<std::size_t>(row)];
                for (int col = 0; col < font.width && col < static_cast<int>(pixels.size()); ++col) {
                    if (pixels[static_cast<std::size_t>(col)] == '#') {
                        Fill(x + col * scale, y + row * scale, scale, scale, c);
                    }
                }
            }
        }
        x += (font.width + font.gap) * scale;
    }
    return complete;
}

int Canvas::TextWidth(const PixelFont& font, std::string_view text, int scale) {
    const int count = static_cast<int>(text.size());
    return count == 0 ? 0 : (count * (font.width + font.gap) - font.gap) * scale;
}

} // namespace platform
