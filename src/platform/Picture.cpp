// Pixel blocks: the bitmap of a picture, the 24-bit encoder used for shipped artwork and tests, and the two
// ways of putting one bitmap onto another. The decoder is in BmpDecoder.cpp.
#include "platform/Picture.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>

namespace platform {

Bitmap::Bitmap(int w, int h, Rgb fill)
    : width(std::max(0, w)), height(std::max(0, h)),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Argb(fill)) {}

Rgb Bitmap::ColourAt(int x, int y) const {
    const std::uint32_t argb = At(x, y);
    return Rgb{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
               static_cast<std::uint8_t>(argb)};
}

namespace {

// Sizes of the two headers at the front of every bitmap file, in bytes.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;

void PutU16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

} // namespace

std::string EncodeBmp(const Bitmap& bitmap) {
    assert(bitmap.pixels.size() == static_cast<std::size_t>(bitmap.width) * static_cast<std::size_t>(bitmap.height));
    const std::uint32_t width = static_cast<std::uint32_t>(bitmap.width);
    const std::uint32_t height = static_cast<std::uint32_t>(bitmap.height);
    const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * height;
    const std::uint32_t pixelsAt = kFileHeaderSize + kInfoHeaderSize;

    std::string out;
    out.reserve(pixelsAt + imageSize);
    out += "BM";
    PutU32(out, pixelsAt + imageSize);
    PutU32(out, 0); // reserved
    PutU32(out, pixelsAt);

    PutU32(out, kInfoHeaderSize);
    PutU32(out, width);
    PutU32(out, height); // positive: rows are stored bottom-up
    PutU16(out, 1);      // planes
    PutU16(out, 24);     // bits per pixel
    PutU32(out, kBiRgb);
    PutU32(out, imageSize);
    PutU32(out, 2835); // 72 dots per inch, in pixels per metre
    PutU32(out, 2835);
    PutU32(out, 0); // no palette
    PutU32(out, 0);

    for (int y = bitmap.height - 1; y >= 0; --y) {
        for (int x = 0; x < bitmap.width; ++x) {
            // The alpha is dropped: the file keeps the colour as it is, not as it would look on some ground.
            const std::uint32_t argb = bitmap.At(x, y);
            out.push_back(static_cast<char>(argb & 0xFF));
            out.push_back(static_cast<char>((argb >> 8) & 0xFF));
            out.push_back(static_cast<char>((argb >> 16) & 0xFF));
        }
        out.append(stride - width * 3, '\0');
    }
    return out;
}

namespace {

// The part of a width x height block placed at (tx, ty) in the target and read from (sx, sy) in the source
// that lies inside both bitmaps. Empty when nothing overlaps.
struct Span {
    int tx = 0, ty = 0, sx = 0, sy = 0, width = 0, height = 0;
};

Span Clip(const Bitmap& target, std::int64_t tx, std::int64_t ty, const Bitmap& source, std::int64_t sx,
          std::int64_t sy, std::int64_t width, std::int64_t height) {
    // Move the start right or down until both corners are inside their bitmaps.
    const std::int64_t skipX = std::max<std::int64_t>({0, -tx, -sx});
    const std::int64_t skipY = std::max<std::int64_t>({0, -ty, -sy});
    tx += skipX;
    sx += skipX;
    ty += skipY;
    sy += skipY;
    width = std::min({width - skipX, std::int64_t{target.width} - tx, std::int64_t{source.width} - sx});
    height = std::min({height - skipY, std::int64_t{target.height} - ty, std::int64_t{source.height} - sy});
    if (width <= 0 || height <= 0) {
        return {};
    }
    return Span{static_cast<int>(tx), static_cast<int>(ty),    static_cast<int>(sx),
                static_cast<int>(sy), static_cast<int>(width), static_cast<int>(height)};
}

} // namespace

std::uint32_t BlendOver(std::uint32_t over, std::uint32_t under) {
    const std::uint32_t alpha = over >> 24;
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t o = (over >> shift) & 0xFF;
        const std::uint32_t u = (under >> shift) & 0xFF;
        out |= ((o * alpha + u * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

void DrawOver(Bitmap& target, const Bitmap& source, int x, int y) {
    const Span span = Clip(target, x, y, source, 0, 0, source.width, source.height);
    for (int row = 0; row < span.height; ++row) {
        for (int col = 0; col < span.width; ++col) {
            const std::uint32_t over = source.At(span.sx + col, span.sy + row);
            const std::uint32_t under = target.At(span.tx + col, span.ty + row);
            target.Set(span.tx + col, span.ty + row, BlendOver(over, under));
        }
    }
}

void CopyBlock(Bitmap& target, int tx, int ty, const Bitmap& source, int sx, int sy, int width, int height) {
    const Span span = Clip(target, tx, ty, source, sx, sy, width, height);
    if (span.width == 0) {
        return;
    }
    // A copy within one bitmap may overlap itself: read the whole block before writing any of it.
    Bitmap block(span.width, span.height, kBlack);
    for (int row = 0; row < span.height; ++row) {
        for (int col = 0; col < span.width; ++col) {
            block.Set(col, row, source.At(span.sx + col, span.sy + row));
        }
    }
    for (int row = 0; row < span.height; ++row) {
        for (int col = 0; col < span.width; ++col) {
            target.Set(span.tx + col, span.ty + row, block.At(col, row));
        }
    }
}

} // namespace platform
