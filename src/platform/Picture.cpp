// Bitmap files and pixel blocks: the bounded reader and the decoder for the tile pictures a teacher may point
// the launcher at, the
// 24-bit encoder used for shipped artwork and tests, and the two ways of putting one bitmap onto another.
//
// The decoder treats every file as hostile: each header field and each size is checked against the bytes
// actually present before anything is read or allocated, and all size arithmetic is done in 64 bits.
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

constexpr std::size_t kCoreHeaderSize = 12; // the old header of 16-bit sizes and 3-byte palette entries

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t ReadU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(bytes, at));
}

void PutU16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// One colour channel of a BI_BITFIELDS pixel: where its bits sit and how to widen them to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0; // the largest value the channel's bits can hold

    static std::optional<Channel> From(std::uint32_t mask) {
        if (mask == 0) {
            return Channel{}; // an absent channel reads as 0
        }
        const int shift = std::countr_zero(mask);
        const std::uint32_t bits = mask >> shift;
        if ((bits & (bits + 1)) != 0) {
            return std::nullopt; // the bits of a channel must be contiguous
        }
        return Channel{mask, shift, bits};
    }

    std::uint8_t Of(std::uint32_t pixel) const {
        if (max == 0) {
            return 0;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
    }
};

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kBiRgb; // kBiRle8 or kBiRle4: the pixels are a run-length stream
    std::size_t stride = 0;             // bytes per row in the file, padded to 4
    std::size_t pixelsAt = 0;
    std::vector<std::uint32_t> palette; // opaque 0xAARRGGBB
    Channel red, green, blue;           // 16- and 32-bit pixels only
};

// Reads `entries` palette entries of `entrySize` bytes (blue, green, red, and a reserved byte in the 4-byte
// entries) from `tableAt`; false when the file ends first.
bool ReadPalette(std::string_view bytes, std::size_t tableAt, std::uint32_t entries, std::size_t entrySize,
                 Layout& layout) {
    if (tableAt > bytes.size() || std::uint64_t{entries} * entrySize > bytes.size() - tableAt) {
        return false;
    }
    layout.palette.reserve(entries);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::size_t at = tableAt + std::size_t{i} * entrySize;
        layout.palette.push_back(
            Argb(Rgb{static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
                     static_cast<std::uint8_t>(bytes[at])}));
    }
    return true;
}

// Sets the row stride and the pixels' offset; false when the offset or the rows lie outside the file. A
// run-length stream is of no fixed length: it only has to begin inside the file.
bool PlaceRows(std::string_view bytes, std::uint32_t pixelsAt, std::size_t headersEnd, Layout& layout) {
    // Rows are padded to whole 32-bit words. The last row's padding may be missing: some writers stop at the
    // last pixel, and nothing past it is read.
    const std::uint64_t rowBits =
        static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.bitCount);
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    const std::uint64_t lastRow = (rowBits + 7) / 8;
    const bool runLength = layout.compression == kBiRle8 || layout.compression == kBiRle4;
    const std::uint64_t needed = runLength ? 0 : stride * static_cast<std::uint64_t>(layout.height - 1) + lastRow;
    if (pixelsAt < headersEnd || pixelsAt > bytes.size() || needed > bytes.size() - pixelsAt) {
        return false;
    }
    layout.stride = static_cast<std::size_t>(stride);
    layout.pixelsAt = pixelsAt;
    return true;
}

// The old 12-byte header (BITMAPCOREHEADER): 16-bit sizes, rows always bottom-up, 1, 4, 8 or 24 bits, no
// compression, and a full palette of 3-byte entries for 8 bits and fewer.
std::optional<Layout> ReadCoreLayout(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + kCoreHeaderSize) {
        return std::nullopt;
    }
    Layout layout;
    layout.width = static_cast<int>(ReadU16(bytes, 18));
    layout.height = static_cast<int>(ReadU16(bytes, 20));
    layout.bitCount = static_cast<int>(ReadU16(bytes, 24));
    if (layout.width == 0 || layout.width > kMaxPictureSide || layout.height == 0 || layout.height > kMaxPictureSide ||
        ReadU16(bytes, 22) != 1) {
        return std::nullopt;
    }
    if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 24) {
        return std::nullopt;
    }
    const std::size_t tableAt = kFileHeaderSize + kCoreHeaderSize;
    if (layout.bitCount <= 8 && !ReadPalette(bytes, tableAt, 1u << layout.bitCount, 3, layout)) {
        return std::nullopt;
    }
    if (!PlaceRows(bytes, ReadU32(bytes, 10), tableAt, layout)) {
        return std::nullopt;
    }
    return layout;
}

// Reads and checks the headers and the palette. Every offset returned lies inside `bytes`, and the pixel rows
// that the layout describes are all present.
std::optional<Layout> ReadLayout(std::string_view bytes) {
    if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const std::uint32_t pixelsAt = ReadU32(bytes, 10);
    const std::uint32_t headerSize = ReadU32(bytes, 14);
    if (headerSize == kCoreHeaderSize) {
        return ReadCoreLayout(bytes);
    }
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
        return std::nullopt;
    }
    // BITMAPINFOHEADER and its later versions all begin with the same 40 bytes.
    if (headerSize < kInfoHeaderSize || headerSize > bytes.size() - kFileHeaderSize) {
        return std::nullopt;
    }
    const std::int64_t width = ReadI32(bytes, 18);
    const std::int64_t signedHeight = ReadI32(bytes, 22); // 64 bits, so that negating INT32_MIN is safe
    const std::uint32_t planes = ReadU16(bytes, 26);
    const std::uint32_t bitCount = ReadU16(bytes, 28);
    const std::uint32_t compression = ReadU32(bytes, 30);
    const std::uint32_t coloursUsed = ReadU32(bytes, 46);

    const std::int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    if (width <= 0 || width > kMaxPictureSide || height == 0 || height > kMaxPictureSide || planes != 1) {
        return std::nullopt;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return std::nullopt;
    }
    const bool bitfields = compression == kBiBitfields && (bitCount == 16 || bitCount == 32);
    // Run-length streams are stored bottom-up only.
    const bool runLength =
        ((compression == kBiRle8 && bitCount == 8) || (compression == kBiRle4 && bitCount == 4)) && signedHeight > 0;
    if (compression != kBiRgb && !bitfields && !runLength) {
        return std::nullopt;
    }

    Layout layout;
    layout.width = static_cast<int>(width);
    layout.height = static_cast<int>(height);
    layout.topDown = signedHeight < 0;
    layout.bitCount = static_cast<int>(bitCount);
    layout.compression = compression;

    // What follows the header: the three colour masks (only when the header is the plain 40-byte one; later
    // headers hold them), then the palette of 4-byte entries.
    std::size_t tableAt = kFileHeaderSize + headerSize;
    if (bitfields) {
        // Headers between the plain one and the one that holds the masks would split the masks in two.
        if (headerSize != kInfoHeaderSize && headerSize < kInfoHeaderSize + 12) {
            return std::nullopt;
        }
        const std::size_t masksAt = headerSize == kInfoHeaderSize ? tableAt : kFileHeaderSize + kInfoHeaderSize;
        if (masksAt + 12 > bytes.size()) {
            return std::nullopt;
        }
        const auto red = Channel::From(ReadU32(bytes, masksAt));
        const auto green = Channel::From(ReadU32(bytes, masksAt + 4));
        const auto blue = Channel::From(ReadU32(bytes, masksAt + 8));
        if (!red || !green || !blue) {
            return std::nullopt;
        }
        layout.red = *red;
        layout.green = *green;
        layout.blue = *blue;
        if (headerSize == kInfoHeaderSize) {
            tableAt += 12;
        }
    } else if (bitCount == 32) {
        layout.red = *Channel::From(0x00FF0000);
        layout.green = *Channel::From(0x0000FF00);
        layout.blue = *Channel::From(0x000000FF);
    } else if (bitCount == 16) {
        // 16 bits without masks: five bits a channel, the top bit unused.
        layout.red = *Channel::From(0x7C00);
        layout.green = *Channel::From(0x03E0);
        layout.blue = *Channel::From(0x001F);
    }

    if (bitCount <= 8) {
        // A colour count of 0 means the full palette; a count above what the bits can index is more than
        // any pixel can use, so only the indexable entries are read.
        const std::uint32_t full = 1u << bitCount;
        const std::uint32_t entries = coloursUsed == 0 ? full : std::min(coloursUsed, full);
        if (!ReadPalette(bytes, tableAt, entries, 4, layout)) {
            return std::nullopt;
        }
    }
    if (!PlaceRows(bytes, pixelsAt, kFileHeaderSize + kInfoHeaderSize, layout)) {
        return std::nullopt;
    }
    return layout;
}

// Decodes a run-length stream (RLE8, or RLE4 with two pixels a byte, the high half first) into a picture of
// the layout's size. Pairs of bytes: a count and an index repeated that many times; or 0 and an escape: 0
// ends the line, 1 the picture, 2 moves right and up by the next two bytes, 3 or more is that many indexes
// as they stand, padded to a 16-bit word. Pixels the stream never reaches (skipped by a move, a line ended
// early, a stream cut short) are black, as Windows decodes such a file into a new picture. Pixels past a
// row's end are dropped.
Bitmap DecodeRunLength(std::string_view bytes, const Layout& layout) {
    Bitmap bitmap(layout.width, layout.height, kBlack);
    const bool nibbles = layout.compression == kBiRle4;
    const auto byteAt = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    std::int64_t x = 0;
    std::int64_t row = 0; // from the bottom
    const auto put = [&](std::uint32_t index) {
        if (x < layout.width && row < layout.height && index < layout.palette.size()) {
            bitmap.Set(static_cast<int>(x), layout.height - 1 - static_cast<int>(row), layout.palette[index]);
        }
        ++x;
    };
    std::size_t at = layout.pixelsAt;
    while (at + 1 < bytes.size() && row < layout.height) {
        const std::uint32_t count = byteAt(at);
        const std::uint32_t value = byteAt(at + 1);
        at += 2;
        if (count > 0) {
            for (std::uint32_t i = 0; i < count; ++i) {
                put(nibbles ? (i % 2 == 0 ? value >> 4 : value & 0xF) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 1 >= bytes.size()) {
                break;
            }
            x += byteAt(at);
            row += byteAt(at + 1);
            at += 2;
        } else {
            const std::size_t used = nibbles ? (value + 1) / 2 : value;
            if (used > bytes.size() - at) {
                break;
            }
            for (std::uint32_t i = 0; i < value; ++i) {
                put(nibbles ? (byteAt(at + i / 2) >> (i % 2 == 0 ? 4 : 0)) & 0xF : byteAt(at + i));
            }
            at += (used + 1) / 2 * 2;
        }
    }
    return bitmap;
}

} // namespace

std::optional<Bitmap> DecodeBmp(std::string_view bytes) {
    const auto layout = ReadLayout(bytes);
    if (!layout) {
        return std::nullopt;
    }
    if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
        return DecodeRunLength(bytes, *layout);
    }
    const int bitCount = layout->bitCount;
    const auto byteAt = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };

    Bitmap bitmap(layout->width, layout->height, kBlack);
    for (int row = 0; row < layout->height; ++row) {
        // File rows run bottom-up unless the height was negative; the bitmap's rows always run top-down.
        const int y = layout->topDown ? row : layout->height - 1 - row;
        const std::size_t rowAt = layout->pixelsAt + static_cast<std::size_t>(row) * layout->stride;
        for (int x = 0; x < layout->width; ++x) {
            std::uint32_t argb = Argb(kBlack);
            if (bitCount <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitCount);
                const std::uint32_t shift =
                    8 - static_cast<std::uint32_t>(bit % 8) - static_cast<std::uint32_t>(bitCount);
                const std::uint32_t index = (byteAt(rowAt + bit / 8) >> shift) & ((1u << bitCount) - 1);
                // An index past the end of a short palette shows black rather than reading beyond it.
                if (index < layout->palette.size()) {
                    argb = layout->palette[index];
                }
            } else if (bitCount == 16) {
                const std::uint32_t pixel = ReadU16(bytes, rowAt + static_cast<std::size_t>(x) * 2);
                argb = Argb(Rgb{layout->red.Of(pixel), layout->green.Of(pixel), layout->blue.Of(pixel)});
            } else if (bitCount == 24) {
                const std::size_t at = rowAt + static_cast<std::size_t>(x) * 3;
                argb = 0xFF000000u | byteAt(at + 2) << 16 | byteAt(at + 1) << 8 | byteAt(at);
            } else {
                const std::uint32_t pixel = ReadU32(bytes, rowAt + static_cast<std::size_t>(x) * 4);
                // Pictures from files are opaque: whatever the fourth byte holds is not an alpha the launcher uses.
                argb = Argb(Rgb{layout->red.Of(pixel), layout->green.Of(pixel), layout->blue.Of(pixel)});
            }
            bitmap.Set(x, y, argb);
        }
    }
    return bitmap;
}

std::optional<Bitmap> LoadBmpFile(FileSystem& files, TextView path) {
    const std::optional<std::string> bytes = files.ReadFileBytes(path, kMaxPictureFileBytes);
    return bytes ? DecodeBmp(*bytes) : std::nullopt;
}

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
