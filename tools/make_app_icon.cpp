// Draws the launcher's application icon and writes it as a Windows icon file with 16, 20, 24, 32, 40, 48 and
// 64 pixel images (32-bit with alpha, each with its AND mask). The icon is the collection's mosaic: four
// rounded tiles in the collection's colours on a rounded navy square, so that it reads at 16 pixels in the
// task bar as well as at 48 on the desktop. Edges are smoothed by sampling each pixel 4 x 4 times.
//
// Built by hand, not by the project's build:
//   g++ -std=c++20 -Wall -Wextra -Isrc tools/make_app_icon.cpp src/platform/Picture.cpp -o make_app_icon
//   ./make_app_icon src/platform/win32/launcher.ico
#include "platform/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::Bitmap;
using platform::Rgb;

// Shapes are laid out on a unit square: (0, 0) top left, (1, 1) bottom right.
struct RoundedSquare {
    double x0, y0, x1, y1, radius;

    bool Contains(double x, double y) const {
        const double dx = std::max({x0 + radius - x, 0.0, x - (x1 - radius)});
        const double dy = std::max({y0 + radius - y, 0.0, y - (y1 - radius)});
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && dx * dx + dy * dy <= radius * radius;
    }
};

struct Colour {
    double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr RoundedSquare kGround{0.03, 0.03, 0.97, 0.97, 0.20};
constexpr Colour kGroundTop{40, 56, 184}; // the title bar's navy, lit from above
constexpr Colour kGroundBottom{0, 0, 128};
constexpr Colour kRim{150, 170, 255};
constexpr double kRimWidth = 0.035;

struct Tile {
    RoundedSquare shape;
    Colour colour;
};

// The four tiles: red, yellow, green and sky blue, a small gap between them.
constexpr double kMargin = 0.17;
constexpr double kGap = 0.07;
constexpr double kTileSize = (1.0 - 2 * kMargin - kGap) / 2;
constexpr std::array<Tile, 4> kTiles{{
    {{kMargin, kMargin, kMargin + kTileSize, kMargin + kTileSize, 0.07}, {226, 56, 48}},
    {{1 - kMargin - kTileSize, kMargin, 1 - kMargin, kMargin + kTileSize, 0.07}, {250, 196, 24}},
    {{kMargin, 1 - kMargin - kTileSize, kMargin + kTileSize, 1 - kMargin, 0.07}, {52, 176, 80}},
    {{1 - kMargin - kTileSize, 1 - kMargin - kTileSize, 1 - kMargin, 1 - kMargin, 0.07}, {88, 176, 248}},
}};

// The colour at a point of the unit square, or nothing outside the icon.
bool Sample(double x, double y, Colour& out) {
    if (!kGround.Contains(x, y)) {
        return false;
    }
    for (const Tile& tile : kTiles) {
        if (tile.shape.Contains(x, y)) {
            // A highlight along each tile's top edge gives it a little depth.
            const double fromTop = (y - tile.shape.y0) / (tile.shape.y1 - tile.shape.y0);
            out = fromTop < 0.18 ? Mix(tile.colour, Colour{255, 255, 255}, 0.35) : tile.colour;
            return true;
        }
    }
    const RoundedSquare inner{kGround.x0 + kRimWidth, kGround.y0 + kRimWidth, kGround.x1 - kRimWidth,
                              kGround.y1 - kRimWidth, kGround.radius - kRimWidth};
    out = inner.Contains(x, y) ? Mix(kGroundTop, kGroundBottom, y) : kRim;
    return true;
}

Bitmap Draw(int size) {
    constexpr int kSamples = 4;
    Bitmap bitmap(size, size, Rgb{0, 0, 0});
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples) / size;
                    const double y = (py + (sy + 0.5) / kSamples) / size;
                    Colour c{};
                    if (Sample(x, y, c)) {
                        r += c.r;
                        g += c.g;
                        b += c.b;
                        ++covered;
                    }
                }
            }
            if (covered == 0) {
                bitmap.Set(px, py, 0);
                continue;
            }
            const auto channel = [covered](double sum) {
                return static_cast<std::uint8_t>(std::clamp(std::lround(sum / covered), 0L, 255L));
            };
            const auto alpha = static_cast<std::uint8_t>(covered * 255 / (kSamples * kSamples));
            bitmap.Set(px, py, platform::Argb(Rgb{channel(r), channel(g), channel(b)}, alpha));
        }
    }
    return bitmap;
}

void PutWord(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void PutDword(std::string& out, std::uint32_t value) {
    PutWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(value >> 16));
}

// One icon image: a BITMAPINFOHEADER of twice the height (colour rows, then the mask), the 32-bit rows
// bottom-up, then the AND mask, one bit a pixel, rows padded to 32 bits; a set bit marks a clear pixel.
std::string EncodeImage(const Bitmap& bitmap) {
    const int size = bitmap.width;
    const int maskStride = (size + 31) / 32 * 4;
    std::string out;
    PutDword(out, 40);
    PutDword(out, static_cast<std::uint32_t>(size));
    PutDword(out, static_cast<std::uint32_t>(size * 2));
    PutWord(out, 1);
    PutWord(out, 32);
    PutDword(out, 0);
    PutDword(out, static_cast<std::uint32_t>(size * size * 4 + maskStride * size));
    for (int i = 0; i < 4; ++i) {
        PutDword(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            PutDword(out, bitmap.At(x, y)); // 0xAARRGGBB is B, G, R, A in the file
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(maskStride), '\0');
        for (int x = 0; x < size; ++x) {
            if ((bitmap.At(x, y) >> 24) == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        out += row;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.ico\n", argv[0]);
        return 2;
    }
    constexpr std::array<int, 7> kSizes{16, 20, 24, 32, 40, 48, 64};
    std::vector<std::string> images;
    for (const int size : kSizes) {
        images.push_back(EncodeImage(Draw(size)));
    }
    std::string file;
    PutWord(file, 0);
    PutWord(file, 1); // an icon, not a cursor
    PutWord(file, static_cast<std::uint16_t>(kSizes.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(kSizes.size());
    for (std::size_t i = 0; i < kSizes.size(); ++i) {
        file += static_cast<char>(kSizes[i]);
        file += static_cast<char>(kSizes[i]);
        file += '\0'; // no palette
        file += '\0';
        PutWord(file, 1);
        PutWord(file, 32);
        PutDword(file, static_cast<std::uint32_t>(images[i].size()));
        PutDword(file, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images) {
        file += image;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
