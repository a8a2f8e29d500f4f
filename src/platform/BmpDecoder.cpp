// The bitmap file decoder: a Windows bitmap file of any size in pixels, read from its start to its end once,
// a piece at a time, and reduced on the way to at most kMaxPictureSide pixels a side by averaging the
// pixels each output pixel covers. Memory stays that of the output and of one piece of the file; time is
// that of reading the file, a run-length run costing no more than the output columns it covers.
//
// Every file is treated as hostile: each header field and each size is checked before anything is read or
// allocated, and all size arithmetic is done in 64 bits. Pure functions: safe on any thread.
#include "platform/Picture.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

namespace {

// Sizes of the two headers at the front of every bitmap file, in bytes.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

constexpr std::size_t kCoreHeaderSize = 12; // the old header of 16-bit sizes and 3-byte palette entries
// Bytes read from the file at a time.
constexpr std::size_t kPieceBytes = std::size_t{16} << 10;
// The headers and the palette are read from this many bytes at the file's start, at most.
constexpr std::size_t kHeadBytes = std::size_t{64} << 10;

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
    std::int64_t width = 0;
    std::int64_t height = 0;
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

// Sets the row stride and the pixels' offset; false when the rows would end past the file limit. Whether
// the rows are all there shows while they are read. A run-length stream is of no fixed length: it only has
// to begin within the limit.
bool PlaceRows(std::uint32_t pixelsAt, std::size_t headersEnd, Layout& layout) {
    // Rows are padded to whole 32-bit words. The last row's padding may be missing: some writers stop at the
    // last pixel, and nothing past it is read.
    const std::uint64_t rowBits =
        static_cast<std::uint64_t>(layout.width) * static_cast<std::uint64_t>(layout.bitCount);
    const std::uint64_t stride = (rowBits + 31) / 32 * 4;
    const std::uint64_t lastRow = (rowBits + 7) / 8;
    const bool runLength = layout.compression == kBiRle8 || layout.compression == kBiRle4;
    const std::uint64_t needed = runLength ? 1 : stride * static_cast<std::uint64_t>(layout.height - 1) + lastRow;
    if (pixelsAt < headersEnd || pixelsAt > kMaxPictureFileBytes || needed > kMaxPictureFileBytes - pixelsAt) {
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
    if (layout.width == 0 || layout.height == 0 || ReadU16(bytes, 22) != 1) {
        return std::nullopt;
    }
    if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 24) {
        return std::nullopt;
    }
    const std::size_t tableAt = kFileHeaderSize + kCoreHeaderSize;
    if (layout.bitCount <= 8 && !ReadPalette(bytes, tableAt, 1u << layout.bitCount, 3, layout)) {
        return std::nullopt;
    }
    if (!PlaceRows(ReadU32(bytes, 10), tableAt, layout)) {
        return std::nullopt;
    }
    return layout;
}

// Reads and checks the headers and the palette from the first bytes of the file. The pixel rows that the
// layout describes end within the file limit.
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
    if (width <= 0 || height == 0 || height > INT32_MAX || planes != 1) {
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
    layout.width = width;
    layout.height = height;
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
    if (!PlaceRows(pixelsAt, kFileHeaderSize + kInfoHeaderSize, layout)) {
        return std::nullopt;
    }
    return layout;
}

// The bytes of a file in order, a piece at a time, up to the file limit.
class Stream {
public:
    explicit Stream(FileReader& reader) : reader_(reader) {}

    // The next byte, or -1 at the end of the file or of the limit, or when reading failed.
    int Next() {
        if (at_ == end_ && !Fill()) {
            return -1;
        }
        return static_cast<unsigned char>(buffer_[at_++]);
    }
    // The bytes read and not yet taken, at least one unless the file has ended; Drop takes them.
    std::string_view Buffered() {
        if (at_ == end_ && !Fill()) {
            return {};
        }
        return std::string_view(buffer_.data() + at_, end_ - at_);
    }
    void Drop(std::size_t count) { at_ += count; }
    // Up to `wanted` bytes from here, fewer at the end.
    std::string Take(std::size_t wanted) {
        std::string out;
        for (int byte = 0; out.size() < wanted && (byte = Next()) >= 0;) {
            out.push_back(static_cast<char>(byte));
        }
        return out;
    }
    // False when the file ends first.
    bool Skip(std::uint64_t count) {
        for (; count > 0; --count) {
            if (Next() < 0) {
                return false;
            }
        }
        return true;
    }
    // Gives these bytes again, before the rest of the file.
    void Replay(std::string_view bytes) {
        std::vector<char> buffer(bytes.begin(), bytes.end());
        buffer.insert(buffer.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(at_),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(end_));
        buffer_ = std::move(buffer);
        at_ = 0;
        end_ = buffer_.size();
    }
    bool Failed() const { return failed_; }

private:
    bool Fill() {
        if (failed_ || total_ >= kMaxPictureFileBytes) {
            return false;
        }
        buffer_.resize(kPieceBytes);
        const std::size_t room = std::min(buffer_.size(), kMaxPictureFileBytes - total_);
        const std::optional<std::size_t> got = reader_.Read(std::span<char>(buffer_.data(), room));
        failed_ = !got;
        if (!got || *got == 0) {
            return false;
        }
        at_ = 0;
        end_ = *got;
        total_ += *got;
        return true;
    }

    FileReader& reader_;
    std::vector<char> buffer_ = std::vector<char>(kPieceBytes);
    std::size_t at_ = 0, end_ = 0, total_ = 0;
    bool failed_ = false;
};

// The output picture's pixels as sums of the source pixels each covers: source column x falls in output
// column x * outWidth / width, and rows likewise, so every output pixel covers a block of whole source
// pixels and is their average. A picture no larger than the output is copied pixel for pixel. Source pixels
// never given are black.
class Reducer {
public:
    Reducer(std::int64_t width, std::int64_t height)
        : width_(width), height_(height), outWidth_(static_cast<int>(std::min<std::int64_t>(width, kMaxPictureSide))),
          outHeight_(static_cast<int>(std::min<std::int64_t>(height, kMaxPictureSide))),
          sums_(static_cast<std::size_t>(outWidth_) * static_cast<std::size_t>(outHeight_) * 3) {}

    std::int64_t Width() const { return width_; }
    int Column(std::int64_t x) const { return static_cast<int>(x * outWidth_ / width_); }
    int Row(std::int64_t y) const { return static_cast<int>(y * outHeight_ / height_); }
    // The first source column of the output column after `column`.
    std::int64_t ColumnEnd(int column) const { return ((column + 1) * width_ + outWidth_ - 1) / outWidth_; }
    std::uint64_t* RowSums(int row) { return &sums_[static_cast<std::size_t>(row) * outWidth_ * 3]; }

    static void Add(std::uint64_t* sums, int column, std::uint32_t argb, std::uint64_t count) {
        std::uint64_t* at = sums + static_cast<std::size_t>(column) * 3;
        at[0] += ((argb >> 16) & 0xFF) * count;
        at[1] += ((argb >> 8) & 0xFF) * count;
        at[2] += (argb & 0xFF) * count;
    }

    // `count` pixels from (x, y) rightwards, source pixel i of them coloured colours[i % 2]; those past the
    // row's end are dropped. The cost is that of the output columns covered, not of the pixels.
    void AddRun(std::int64_t x, std::int64_t y, std::int64_t count, std::uint32_t even, std::uint32_t odd) {
        if (y < 0 || y >= height_ || x >= width_) {
            return;
        }
        std::uint64_t* sums = RowSums(Row(y));
        const std::int64_t end = std::min(x + count, width_);
        for (std::int64_t from = x; from < end;) {
            const int column = Column(from);
            const std::int64_t to = std::min(end, ColumnEnd(column));
            const std::int64_t n = to - from;
            const std::int64_t evens = (n + ((from - x) % 2 == 0 ? 1 : 0)) / 2;
            Add(sums, column, even, static_cast<std::uint64_t>(evens));
            Add(sums, column, odd, static_cast<std::uint64_t>(n - evens));
            from = to;
        }
    }

    Bitmap Finish() const {
        Bitmap out(outWidth_, outHeight_, kBlack);
        const auto start = [](int i, std::int64_t source, int output) { return (i * source + output - 1) / output; };
        for (int row = 0; row < outHeight_; ++row) {
            const std::int64_t rows = start(row + 1, height_, outHeight_) - start(row, height_, outHeight_);
            for (int column = 0; column < outWidth_; ++column) {
                const auto count = static_cast<std::uint64_t>(
                    rows * (start(column + 1, width_, outWidth_) - start(column, width_, outWidth_)));
                const std::uint64_t* at = &sums_[(static_cast<std::size_t>(row) * outWidth_ + column) * 3];
                const auto mean = [&](int i) { return static_cast<std::uint8_t>((at[i] + count / 2) / count); };
                out.Set(column, row, Argb(Rgb{mean(0), mean(1), mean(2)}));
            }
        }
        return out;
    }

private:
    std::int64_t width_, height_;
    int outWidth_, outHeight_;
    std::vector<std::uint64_t> sums_; // red, green and blue of each output pixel, row by row
};

// Reads uncompressed rows; false when the file ends before the last row's last pixel.
bool ReadRows(Stream& in, const Layout& layout, Reducer& out) {
    const int bitCount = layout.bitCount;
    const auto colour = [&](std::uint32_t index) {
        // An index past the end of a short palette shows black rather than reading beyond it.
        return index < layout.palette.size() ? layout.palette[index] : Argb(kBlack);
    };
    const std::uint64_t used = (static_cast<std::uint64_t>(layout.width) * bitCount + 7) / 8;
    for (std::int64_t row = 0; row < layout.height; ++row) {
        // File rows run bottom-up unless the height was negative; the bitmap's rows always run top-down.
        const std::int64_t y = layout.topDown ? row : layout.height - 1 - row;
        std::uint64_t* sums = out.RowSums(out.Row(y));
        int column = 0;
        std::int64_t next = out.ColumnEnd(0);
        std::uint32_t byte = 0;
        const int perByte = bitCount <= 8 ? 8 / bitCount : 1;
        int slot = perByte - 1; // of the current pixel in its byte
        // The current output column's sums, and its 1-bit pixels counted by value, added up once a column.
        std::uint64_t red = 0, green = 0, blue = 0, ones = 0, zeros = 0;
        const auto flush = [&] {
            Reducer::Add(sums, column, colour(1), ones);
            Reducer::Add(sums, column, colour(0), zeros);
            std::uint64_t* at = sums + static_cast<std::size_t>(column) * 3;
            at[0] += red;
            at[1] += green;
            at[2] += blue;
            red = green = blue = ones = zeros = 0;
        };
        for (std::int64_t x = 0; x < layout.width; ++x) {
            if (x == next) {
                flush();
                next = out.ColumnEnd(++column);
            }
            std::uint32_t argb = 0;
            if (bitCount <= 8) {
                // Whole bytes of a 1-bit picture inside one output column: their pixels counted at once.
                if (bitCount == 1 && slot + 1 == perByte && x + 8 <= std::min(next, layout.width)) {
                    const std::string_view bytes = in.Buffered();
                    const std::size_t count = std::min<std::size_t>(
                        bytes.size(), static_cast<std::size_t>((std::min(next, layout.width) - x) / 8));
                    if (count == 0) {
                        return false;
                    }
                    std::uint64_t set = 0;
                    for (std::size_t i = 0; i < count; ++i) {
                        set += static_cast<std::uint64_t>(std::popcount(static_cast<unsigned char>(bytes[i])));
                    }
                    in.Drop(count);
                    ones += set;
                    zeros += 8 * count - set;
                    x += static_cast<std::int64_t>(8 * count) - 1;
                    continue;
                }
                slot = slot + 1 == perByte ? 0 : slot + 1;
                if (slot == 0) {
                    const int got = in.Next();
                    if (got < 0) {
                        return false;
                    }
                    byte = static_cast<std::uint32_t>(got);
                }
                const int shift = 8 - (slot + 1) * bitCount;
                argb = colour((byte >> shift) & ((1u << bitCount) - 1));
            } else {
                std::uint32_t pixel = 0;
                for (int i = 0; i < bitCount / 8; ++i) {
                    const int got = in.Next();
                    if (got < 0) {
                        return false;
                    }
                    pixel |= static_cast<std::uint32_t>(got) << (8 * i);
                }
                // Pictures from files are opaque: whatever a fourth byte holds is not an alpha the launcher uses.
                argb = bitCount == 24 ? pixel
                                      : Argb(Rgb{layout.red.Of(pixel), layout.green.Of(pixel), layout.blue.Of(pixel)});
            }
            red += (argb >> 16) & 0xFF;
            green += (argb >> 8) & 0xFF;
            blue += argb & 0xFF;
        }
        flush();
        if (row + 1 < layout.height && !in.Skip(layout.stride - used)) {
            return false;
        }
    }
    return true;
}

// Reads a run-length stream (RLE8, or RLE4 with two pixels a byte, the high half first). Pairs of bytes: a
// count and an index repeated that many times; or 0 and an escape: 0 ends the line, 1 the picture, 2 moves
// right and up by the next two bytes, 3 or more is that many indexes as they stand, padded to a 16-bit
// word. Pixels the stream never reaches (skipped by a move, a line ended early, a stream cut short) are
// black, as Windows decodes such a file into a new picture. Pixels past a row's end are dropped.
void ReadRunLength(Stream& in, const Layout& layout, Reducer& out) {
    const bool nibbles = layout.compression == kBiRle4;
    const auto colour = [&](std::uint32_t index) {
        return index < layout.palette.size() ? layout.palette[index] : Argb(kBlack);
    };
    std::int64_t x = 0;
    std::int64_t row = 0; // from the bottom
    while (row < layout.height) {
        const int count = in.Next();
        const int value = in.Next();
        if (value < 0) {
            return;
        }
        const std::int64_t y = layout.height - 1 - row;
        if (count > 0) {
            const auto v = static_cast<std::uint32_t>(value);
            out.AddRun(x, y, count, colour(nibbles ? v >> 4 : v), colour(nibbles ? v & 0xF : v));
            x += count;
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            const int right = in.Next();
            const int up = in.Next();
            if (up < 0) {
                return;
            }
            x += right;
            row += up;
        } else {
            const int used = nibbles ? (value + 1) / 2 : value;
            std::uint32_t byte = 0;
            for (int i = 0; i < value; ++i) {
                if (!nibbles || i % 2 == 0) {
                    const int got = in.Next();
                    if (got < 0) {
                        return;
                    }
                    byte = static_cast<std::uint32_t>(got);
                }
                const std::uint32_t index = nibbles ? (i % 2 == 0 ? byte >> 4 : byte & 0xF) : byte;
                out.AddRun(x++, y, 1, colour(index), colour(index));
            }
            if (used % 2 == 1 && in.Next() < 0) {
                return;
            }
        }
    }
}

// The bytes of a text as a file.
class TextReader final : public FileReader {
public:
    explicit TextReader(std::string_view bytes) : bytes_(bytes) {}
    std::optional<std::size_t> Read(std::span<char> buffer) override {
        const std::size_t n = std::min(buffer.size(), bytes_.size());
        std::copy_n(bytes_.data(), n, buffer.data());
        bytes_.remove_prefix(n);
        return n;
    }

private:
    std::string_view bytes_;
};

std::optional<Bitmap> Decode(FileReader& reader) {
    Stream in(reader);
    const std::string head = in.Take(kHeadBytes);
    const auto layout = ReadLayout(head);
    if (!layout) {
        return std::nullopt;
    }
    // The pixels begin in the bytes read for the headers, or further on.
    if (layout->pixelsAt < head.size()) {
        in.Replay(std::string_view(head).substr(layout->pixelsAt));
    } else if (!in.Skip(layout->pixelsAt - head.size())) {
        return std::nullopt;
    }
    Reducer out(layout->width, layout->height);
    if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
        ReadRunLength(in, *layout, out);
    } else if (!ReadRows(in, *layout, out)) {
        return std::nullopt;
    }
    if (in.Failed()) {
        return std::nullopt;
    }
    return out.Finish();
}

} // namespace

std::optional<Bitmap> DecodeBmp(std::string_view bytes) {
    TextReader reader(bytes);
    return Decode(reader);
}

std::optional<Bitmap> LoadBmpFile(FileSystem& files, TextView path) {
    const std::unique_ptr<FileReader> reader = files.OpenFile(path);
    return reader ? Decode(*reader) : std::nullopt;
}

} // namespace platform
