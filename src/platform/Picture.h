// Pictures as the window elements hold them: plain 32-bit pixel buffers, decoded and drawn in portable
// code so that every picture a tile shows can be checked pixel by pixel in tests.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

// Top-down rows of 0xAARRGGBB pixels. Pictures loaded from bitmap files are opaque (alpha 255); icons carry
// their own alpha.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    // The same picture drawn at more pixels by the system (a program's icon at the screen's resolution),
    // for a backend to draw from when it shows the picture larger than its pixels; nothing for most
    // pictures. The core's pixel arithmetic uses width, height and pixels only.
    std::shared_ptr<const Bitmap> detail;

    Bitmap() = default;
    Bitmap(int w, int h, Rgb fill);
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    Rgb ColourAt(int x, int y) const;
    void Set(int x, int y, std::uint32_t argb) { pixels[static_cast<std::size_t>(y * width + x)] = argb; }
    bool operator==(const Bitmap&) const = default;
};

// Pictures are shared and never changed once made: an element that shows a picture holds a pointer to it.
using Picture = std::shared_ptr<const Bitmap>;

inline std::uint32_t Argb(Rgb c, std::uint8_t alpha = 255) {
    return (std::uint32_t{alpha} << 24) | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

// The largest picture decoded, in pixels a side: a tile shows 64 x 64 design pixels, 128 x 128 device
// pixels at 200%. A larger picture is reduced to this while it is read, each pixel the average of the
// pixels it covers, so 51 tiles of the largest pictures take under 4 MB.
inline constexpr int kMaxPictureSide = 128;
// The most bytes read of a picture file; rows that would end past it make the file unreadable.
inline constexpr std::size_t kMaxPictureFileBytes = std::size_t{64} << 20;

// Decodes a Windows bitmap file of any size in pixels, as a paint program writes them: the old 12-byte header
// with its 3-byte palette, or BITMAPINFOHEADER and later; 1, 4, 8, 16 (5-5-5, or bit fields such as 5-6-5),
// 24 or 32 bits, bottom-up or top-down; RLE8 and RLE4 run-length streams. A side over kMaxPictureSide is
// reduced to it by averaging. Nothing when the bytes are not such a bitmap. Pure: safe on any thread.
std::optional<Bitmap> DecodeBmp(std::string_view bytes);

// Reads a bitmap file a piece at a time, at most kMaxPictureFileBytes, and decodes it as DecodeBmp does;
// nothing when either fails. Safe on any thread with a file system that is.
std::optional<Bitmap> LoadBmpFile(FileSystem& files, TextView path);

// Encodes a 24-bit bitmap file; used to make picture files for tests and to ship artwork.
std::string EncodeBmp(const Bitmap& bitmap);

// Blends an 0xAARRGGBB pixel over an opaque one by its alpha, rounding to nearest; the result is opaque.
std::uint32_t BlendOver(std::uint32_t over, std::uint32_t under);

// Draws `source` onto `target` with its top-left corner at (x, y), blending by the source's alpha and
// clipping at the target's edges.
void DrawOver(Bitmap& target, const Bitmap& source, int x, int y);

// Copies a block of pixels unchanged (a plain copy, no blending); parts outside either bitmap are skipped.
void CopyBlock(Bitmap& target, int tx, int ty, const Bitmap& source, int sx, int sy, int width, int height);

} // namespace platform
