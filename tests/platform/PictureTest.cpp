#include "platform/Picture.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Hand-made bitmap files, field by field, so that each test can break exactly one thing.
struct BmpFile {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t claimedHeaderSize = 0; // what the header says of its size; 0: its real size
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks{};   // written after the 40 bytes the header always has
    std::vector<std::uint32_t> palette{}; // 0x00RRGGBB, written as blue, green, red, 0
    std::string pixels{};                 // the rows as they stand in the file
    std::int64_t pixelsAt = -1;           // -1: right after the palette

    std::string Bytes() const {
        std::string header;
        for (const std::uint32_t field :
             {claimedHeaderSize == 0 ? headerSize : claimedHeaderSize, static_cast<std::uint32_t>(width),
              static_cast<std::uint32_t>(height), planes | std::uint32_t{bitCount} << 16, compression,
              static_cast<std::uint32_t>(pixels.size()), 0u, 0u, coloursUsed, 0u}) {
            Put32(header, field);
        }
        for (const auto mask : masks) {
            Put32(header, mask);
        }
        while (header.size() < headerSize) {
            header.push_back('\0');
        }
        for (const auto entry : palette) {
            Put32(header, entry);
        }
        const std::uint32_t offset =
            pixelsAt < 0 ? static_cast<std::uint32_t>(14 + header.size()) : static_cast<std::uint32_t>(pixelsAt);
        std::string file = "BM";
        Put32(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()));
        Put32(file, 0);
        Put32(file, offset);
        return file + header + pixels;
    }

    static void Put32(std::string& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.push_back(static_cast<char>(v >> (8 * i)));
        }
    }
};

std::string Raw(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) {
        out.push_back(static_cast<char>(b));
    }
    return out;
}

// A picture whose every pixel differs, so that swapped rows or columns show.
Bitmap Gradient(int width, int height) {
    Bitmap bitmap(width, height, kBlack);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.Set(x, y,
                       Argb(Rgb{static_cast<std::uint8_t>(x * 37), static_cast<std::uint8_t>(y * 53),
                                static_cast<std::uint8_t>(x * 11 + y * 7 + 1)}));
        }
    }
    return bitmap;
}

TEST(DecodeBmp, ReadsEveryPixelFormat) {
    constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF;
    const auto bits = [](std::uint16_t bitCount, std::vector<std::uint32_t> palette, std::string pixels) {
        const auto count = static_cast<std::uint32_t>(palette.size());
        return BmpFile{
            .width = 3, .height = 1, .bitCount = bitCount, .coloursUsed = count, .palette = palette, .pixels = pixels};
    };
    const std::string rgb32 = Raw({0x30, 0x20, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0x7F}); // the fourth byte is no alpha
    const std::vector<std::uint32_t> lowRed = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red in the low byte
    const std::string blueRed = Raw({255, 0, 0, 0, 0, 0, 255, 0});                   // stored in this order
    const BmpFile fields{.width = 2, .height = 1, .bitCount = 32, .compression = 3, .masks = lowRed, .pixels = rgb32};
    BmpFile laterHeader = fields;
    laterHeader.headerSize = 108;
    BmpFile overCount = bits(1, {red, white}, Raw({0b10100000, 0, 0, 0}));
    overCount.coloursUsed = 5; // more than 1 bit can index: only the 2 indexable entries are read
    // An absolute run of 3 padded to a word, a move right and up a row, one red pixel, the end.
    BmpFile rle8 = bits(8, {red, green, blue}, Raw({0, 3, 1, 1, 2, 0, 0, 2, 1, 1, 1, 0, 0, 1}));
    rle8.width = 5;
    rle8.height = 2;
    rle8.compression = 1;
    // An absolute run of 0, 1 and 2 padded to a word, then a run of 1 and 2 alternating, then the line's end.
    BmpFile rle4 = bits(4, {red, green, blue}, Raw({0, 3, 0x01, 0x20, 2, 0x12, 0, 0, 0, 1}));
    rle4.width = 5;
    rle4.compression = 2;
    constexpr std::uint32_t K = 0xFF000000, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;
    // What the file is, the file, and its pixels top-down as 0xAARRGGBB.
    const std::tuple<const char*, BmpFile, std::vector<std::uint32_t>> cases[] = {
        // 1 bit: the leftmost pixel is the highest bit.
        {"1 bit", bits(1, {red, white}, Raw({0b10100000, 0, 0, 0})), {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF}},
        {"4 bits", bits(4, {red, green, blue}, Raw({0x21, 0x00, 0, 0})), {0xFF0000FF, 0xFF00FF00, 0xFFFF0000}},
        {"8 bits", bits(8, {red, green, blue}, Raw({2, 0, 1, 0})), {0xFF0000FF, 0xFFFF0000, 0xFF00FF00}},
        {"index past a short palette: black",
         bits(8, {red, green}, Raw({1, 7, 255, 0})),
         {0xFF00FF00, 0xFF000000, 0xFF000000}},
        {"24 bits top-down", {.width = 1, .height = -2, .pixels = blueRed}, {0xFF0000FF, 0xFFFF0000}},
        {"24 bits bottom-up", {.width = 1, .height = 2, .pixels = blueRed}, {0xFFFF0000, 0xFF0000FF}},
        {"32 bits", {.width = 2, .height = 1, .bitCount = 32, .pixels = rgb32}, {0xFF102030, 0xFFFFFFFF}},
        {"masks after the header", fields, {0xFF302010, 0xFFFFFFFF}},
        {"masks in a later header", laterHeader, {0xFF302010, 0xFFFFFFFF}},
        {"colour count above what the bits index", overCount, {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF}},
        // Red 31 of 31, green 16, blue 3: 255, 131.6 and 24.7 to the nearest.
        {"16 bits: 5-5-5 widened",
         {.width = 1, .height = 1, .bitCount = 16, .pixels = Raw({0x03, 0x7E, 0, 0})},
         {0xFFFF8419}},
        {"16 bits: 5-6-5 fields",
         {.width = 1,
          .height = 1,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = Raw({0xE0, 0x07, 0, 0})},
         {G}},
        // Skipped pixels are black; the rows run bottom-up.
        {"RLE8 absolute and a move", rle8, {K, K, K, K, R, G, G, B, K, K}},
        {"RLE4 absolute and encoded", rle4, {R, G, B, G, B}},
    };
    for (const auto& [what, file, expected] : cases) {
        const auto decoded = DecodeBmp(file.Bytes());
        ASSERT_TRUE(decoded.has_value()) << what;
        EXPECT_EQ(decoded->pixels, expected) << what;
    }
    // The old 12-byte header: 2 x 1 pixels at 1 bit, a palette of 3-byte entries (red, blue).
    const auto core = DecodeBmp(Raw({'B', 'M', 36, 0, 0, 0, 0, 0, 0, 0, 32,  0,   0, 0, 12,         0, 0, 0,
                                     2,   0,   1,  0, 1, 0, 1, 0, 0, 0, 255, 255, 0, 0, 0b01000000, 0, 0, 0}));
    ASSERT_TRUE(core.has_value());
    EXPECT_EQ(core->pixels, (std::vector<std::uint32_t>{R, B}));
}

TEST(DecodeBmp, RefusesBrokenAndHostileFiles) {
    const std::string px(16, '\x40'); // two rows of a 2 x 2, 24-bit picture
    const std::string valid = BmpFile{.pixels = px}.Bytes();
    ASSERT_TRUE(DecodeBmp(valid).has_value()) << "the file the cases break";
    EXPECT_FALSE(DecodeBmp("PK" + valid.substr(2)).has_value()) << "not a bitmap";
    const std::pair<const char*, BmpFile> cases[] = {
        {"negative width", {.width = -2, .pixels = px}},
        {"zero height", {.height = 0, .pixels = px}},
        {"the most negative height", {.height = INT32_MIN, .pixels = px}},
        {"huge sides, few bytes", {.width = 16384, .height = 16384, .bitCount = 1, .pixels = px}},
        {"rows ending past 64 MB", {.width = 8192, .height = 8192, .pixels = px}},
        {"two planes", {.planes = 2, .pixels = px}},
        {"run-length on 24 bits", {.compression = 1, .pixels = px}},
        {"masks on 24 bits", {.compression = 3, .pixels = px}},
        {"masks cut by the header",
         {.bitCount = 32, .compression = 3, .headerSize = 44, .masks = {0xFF0000}, .pixels = px}},
        {"broken mask", {.bitCount = 32, .compression = 3, .masks = {0xF0F000, 0xFF00, 0xFF}, .pixels = px}},
        {"a header between the old and the 40-byte one", {.claimedHeaderSize = 16, .pixels = px}},
        {"header larger than the file", {.claimedHeaderSize = 0xFFFFFFF0, .pixels = px}},
        {"header just past the file's end", {.claimedHeaderSize = 57, .pixels = px}},
        {"pixels past the end", {.pixels = px, .pixelsAt = 60}},
        {"pixel offset far out", {.pixels = px, .pixelsAt = 0xFFFFFFF0}},
        {"pixel offset inside the headers", {.pixels = px, .pixelsAt = 20}},
        // A colour count of 0 means the full 256 entries, of which the file holds none.
        {"palette missing", {.bitCount = 8, .pixels = px, .pixelsAt = 54}},
        {"palette count beyond the file", {.bitCount = 4, .coloursUsed = 0xFFFFFFFF, .pixels = px}},
    };
    for (const auto& [what, file] : cases) {
        EXPECT_FALSE(DecodeBmp(file.Bytes()).has_value()) << what;
    }
}

// Regression: pictures over 512 pixels a side were not shown. Any size is reduced to at most 128 x 128, each
// pixel the average of the block it covers.
TEST(DecodeBmp, ReducesLargePicturesByAveraging) {
    const auto striped = [](int width, int height, int stripe) {
        Bitmap bitmap(width, height, kBlack);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bitmap.Set(x, y, Argb((x / stripe + y / stripe) % 2 == 0 ? Rgb{251, 0, 11} : Rgb{0, 100, 0}));
            }
        }
        return bitmap;
    };
    // A run-length picture a million pixels wide: its bottom row white, the other never reached.
    std::string runs;
    for (int i = 0; i < 4000; ++i) {
        runs += Raw({255, 1});
    }
    const std::string huge = BmpFile{.width = 1000000,
                                     .height = 2,
                                     .bitCount = 8,
                                     .compression = 1,
                                     .palette = {0, 0xFFFFFF},
                                     .pixels = runs + Raw({0, 1})}
                                 .Bytes();
    const struct {
        const char* what;
        std::string file;
        int width, height;
        std::vector<std::pair<std::array<int, 2>, Rgb>> pixels; // some of the result's
    } cases[] = {
        {"600 x 600 in blocks of 75",
         EncodeBmp(striped(600, 600, 75)),
         128,
         128,
         {{{0, 0}, {251, 0, 11}}, {{15, 0}, {251, 0, 11}}, {{17, 0}, {0, 100, 0}}, {{127, 127}, {251, 0, 11}}}},
        {"2000 x 100 in stripes of 125",
         EncodeBmp(striped(2000, 100, 125)),
         128,
         100,
         {{{0, 0}, {251, 0, 11}}, {{7, 0}, {251, 0, 11}}, {{8, 0}, {0, 100, 0}}}},
        {"256 x 2, every other pixel",
         EncodeBmp(striped(256, 2, 1)),
         128,
         2,
         {{{0, 0}, {126, 50, 6}}, {{127, 1}, {126, 50, 6}}}},
        {"64 x 1000 kept wide", EncodeBmp(striped(64, 1000, 500)), 64, 128, {{{63, 63}, {251, 0, 11}}}},
        {"run-length, a million wide", huge, 128, 2, {{{0, 1}, {255, 255, 255}}, {{127, 1}, kWhite}, {{0, 0}, kBlack}}},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeBmp(c.file);
        ASSERT_TRUE(decoded.has_value()) << c.what;
        EXPECT_EQ((std::array{decoded->width, decoded->height}), (std::array{c.width, c.height})) << c.what;
        for (const auto& [at, colour] : c.pixels) {
            EXPECT_EQ(decoded->ColourAt(at[0], at[1]), colour) << c.what << " at " << at[0] << "," << at[1];
        }
    }
}

TEST(LoadBmpFile, ReadsAPictureFileInPiecesUpTo64MB) {
    HeadlessFileSystem files;
    const std::string picture = EncodeBmp(Gradient(120, 300));
    files.AddFile(u"C:\\pic.bmp", picture);
    EXPECT_EQ(LoadBmpFile(files, u"C:\\pic.bmp"), DecodeBmp(picture));
    EXPECT_EQ(LoadBmpFile(files, u"C:\\pic.bmp")->height, kMaxPictureSide);
    files.AddFile(u"C:\\cut.bmp", picture.substr(0, picture.size() - 1));
    files.AddFile(u"C:\\locked.bmp", picture);
    files.SetUnreadable(u"C:\\locked.bmp");
    EXPECT_FALSE(LoadBmpFile(files, u"C:\\cut.bmp")) << "the last pixel missing";
    EXPECT_FALSE(LoadBmpFile(files, u"C:\\locked.bmp"));
}

TEST(DrawOver, BlendsBySourceAlphaAndLeavesTheTargetOpaque) {
    // Over (100, 100, 100), drawing (200, 0, 50) at an alpha:
    const std::pair<std::uint8_t, Rgb> cases[] = {
        {0, {100, 100, 100}}, {255, {200, 0, 50}}, {128, {150, 50, 75}}, {64, {125, 75, 87}}};
    for (const auto& [alpha, expected] : cases) {
        Bitmap target(1, 1, Rgb{100, 100, 100});
        Bitmap source(1, 1, kBlack);
        source.Set(0, 0, Argb(Rgb{200, 0, 50}, alpha));
        DrawOver(target, source, 0, 0);
        EXPECT_EQ(target.ColourAt(0, 0), expected) << int{alpha};
        EXPECT_EQ(target.At(0, 0) >> 24, 0xFFu) << int{alpha};
    }
}

// A whole opaque source drawn over the target is a copy of it: DrawOver clips as CopyBlock does.
TEST(CopyBlock, CopiesPixelsUnchangedAndClipsToBothBitmapsAsDrawOverDoes) {
    const Bitmap source = Gradient(4, 4);
    // What, where the block goes (tx, ty), where it comes from (sx, sy), its size, and how many target pixels
    // change.
    const std::tuple<const char*, int, int, int, int, int, int, int> cases[] = {
        {"inside both", 1, 1, 0, 0, 2, 2, 4},
        {"source corner off the left and top", 0, 0, -1, -1, 3, 3, 4},
        {"target corner off the left and top", -2, -2, 0, 0, 4, 4, 4},
        {"target corner off the right and bottom", 3, 2, 0, 0, 4, 4, 6},
        {"target corner off the right and top", 2, -3, 0, 0, 4, 4, 3},
        {"past the source's right edge", 0, 0, 3, 0, 3, 1, 1},
        {"past the target's bottom edge", 0, 4, 0, 0, 2, 2, 2},
        {"nothing left", 0, 0, 4, 4, 2, 2, 0},
        {"negative size", 0, 0, 0, 0, -2, 2, 0},
        {"far out", 2000000000, 0, 0, 0, 2000000000, 2, 0},
        {"far out the other way", -100000, 1, 0, 0, 4, 4, 0},
    };
    for (const auto& [what, tx, ty, sx, sy, width, height, changed] : cases) {
        Bitmap target(5, 5, kWhite);
        CopyBlock(target, tx, ty, source, sx, sy, width, height);
        int copied = 0;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                if (target.At(x, y) != Argb(kWhite)) {
                    ++copied;
                    EXPECT_EQ(target.At(x, y), source.At(x - tx + sx, y - ty + sy)) << what;
                }
            }
        }
        EXPECT_EQ(copied, changed) << what;
        if (sx == 0 && sy == 0 && width == 4 && height == 4) {
            Bitmap drawn(5, 5, kWhite);
            DrawOver(drawn, source, tx, ty);
            EXPECT_EQ(drawn, target) << what;
        }
    }
}

TEST(CopyBlock, KeepsTheAlphaAndCopiesWithinOneBitmap) {
    Bitmap target(2, 1, kWhite);
    Bitmap translucent(1, 1, kBlack);
    translucent.Set(0, 0, 0x40123456u);
    CopyBlock(target, 1, 0, translucent, 0, 0, 1, 1);
    EXPECT_EQ(target.At(1, 0), 0x40123456u) << "a plain copy does not blend";

    // Shifting a row right by one within the same bitmap must not smear the first pixel along it.
    Bitmap row = Gradient(4, 1);
    const Bitmap before = row;
    CopyBlock(row, 1, 0, row, 0, 0, 3, 1);
    for (int x = 1; x < 4; ++x) {
        EXPECT_EQ(row.At(x, 0), before.At(x - 1, 0)) << x;
    }
}

} // namespace
} // namespace platform
