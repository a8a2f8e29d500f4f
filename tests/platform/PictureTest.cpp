#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
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
    std::vector<std::uint32_t> masks;   // written after the 40 bytes the header always has
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, written as blue, green, red, 0
    std::string pixels;                 // the rows as they stand in the file
    std::int64_t pixelsAt = -1;         // -1: right after the palette

    std::string Bytes() const {
        std::string header;
        Put32(header, claimedHeaderSize == 0 ? headerSize : claimedHeaderSize);
        Put32(header, static_cast<std::uint32_t>(width));
        Put32(header, static_cast<std::uint32_t>(height));
        Put16(header, planes);
        Put16(header, bitCount);
        Put32(header, compression);
        Put32(header, static_cast<std::uint32_t>(pixels.size()));
        Put32(header, 0);
        Put32(header, 0);
        Put32(header, coloursUsed);
        Put32(header, 0);
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

    static void Put16(std::string& out, std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>((v >> 8) & 0xFF));
    }
    static void Put32(std::string& out, std::uint32_t v) {
        Put16(out, v & 0xFFFF);
        Put16(out, v >> 16);
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

std::uint32_t Field32(const std::string& file, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = v << 8 | static_cast<unsigned char>(file[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

TEST(Bitmap, IsFilledOpaqueAndGivesColoursWithoutAlpha) {
    Bitmap bitmap(3, 2, Rgb{1, 2, 3});
    EXPECT_EQ(bitmap.pixels.size(), 6u);
    EXPECT_EQ(bitmap.At(2, 1), 0xFF010203u);
    bitmap.Set(1, 1, 0x80FF8040u);
    EXPECT_EQ(bitmap.ColourAt(1, 1), (Rgb{255, 128, 64}));

    const Bitmap negative(-4, 5, kWhite); // a size computed from a shrunken element
    EXPECT_EQ(negative.width, 0);
    EXPECT_TRUE(negative.pixels.empty());
}

TEST(EncodeBmp, WritesA24BitBottomUpFileWithPaddedRows) {
    Bitmap bitmap(2, 2, kBlack);
    bitmap.Set(0, 0, Argb({10, 20, 30}));
    bitmap.Set(1, 0, Argb({40, 50, 60}));
    bitmap.Set(0, 1, Argb({70, 80, 90}));
    bitmap.Set(1, 1, Argb({100, 110, 120}, 0)); // the alpha is not written
    const std::string file = EncodeBmp(bitmap);

    ASSERT_EQ(file.size(), 54u + 2 * 8);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Field32(file, 2), 70u) << "file size";
    EXPECT_EQ(Field32(file, 10), 54u) << "pixel offset";
    EXPECT_EQ(Field32(file, 14), 40u) << "header size";
    EXPECT_EQ(Field32(file, 18), 2u);
    EXPECT_EQ(Field32(file, 22), 2u) << "positive height: bottom-up";
    EXPECT_EQ(Field32(file, 26), 1u | 24u << 16) << "one plane, 24 bits";
    EXPECT_EQ(Field32(file, 30), 0u) << "uncompressed";
    // The bottom row comes first, blue green red, then two bytes of padding.
    EXPECT_EQ(file.substr(54), Raw({90, 80, 70, 120, 110, 100, 0, 0, 30, 20, 10, 60, 50, 40, 0, 0}));
}

TEST(EncodeBmp, DecodesBackToTheSamePictureAtEveryRowPadding) {
    for (int width = 1; width <= 5; ++width) {
        for (int height = 1; height <= 3; ++height) {
            const Bitmap original = Gradient(width, height);
            const auto decoded = DecodeBmp(EncodeBmp(original));
            ASSERT_TRUE(decoded.has_value()) << width << " x " << height;
            EXPECT_EQ(*decoded, original) << width << " x " << height;
        }
    }
}

TEST(DecodeBmp, ReadsEveryPixelFormat) {
    constexpr std::uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF;
    struct Case {
        const char* what;
        BmpFile file;
        std::vector<std::uint32_t> expected; // top-down, 0xAARRGGBB
    };
    const auto bits = [](std::uint16_t bitCount, std::vector<std::uint32_t> palette, std::string pixels) {
        BmpFile f;
        f.width = 3;
        f.height = 1;
        f.bitCount = bitCount;
        f.palette = std::move(palette);
        f.coloursUsed = static_cast<std::uint32_t>(f.palette.size());
        f.pixels = std::move(pixels);
        return f;
    };
    BmpFile topDown;
    topDown.width = 1;
    topDown.height = -2;
    topDown.pixels = Raw({255, 0, 0, 0, 0, 0, 255, 0}); // blue on top, then red
    BmpFile bottomUp = topDown;
    bottomUp.height = 2;
    BmpFile rgb32;
    rgb32.width = 2;
    rgb32.height = 1;
    rgb32.bitCount = 32;
    rgb32.pixels = Raw({0x30, 0x20, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0x7F}); // the fourth byte is no alpha
    BmpFile fields = rgb32;
    fields.compression = 3;
    fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red in the low byte
    BmpFile fieldsInV4Header = fields;
    fieldsInV4Header.headerSize = 108;
    BmpFile fiveBitFields = fields;
    fiveBitFields.width = 1;
    fiveBitFields.masks = {0x7C00, 0x03E0, 0x001F};
    fiveBitFields.pixels = Raw({0xE0, 0x7F, 0, 0}); // red 31 of 31, green 31, blue 0

    const Case cases[] = {
        // 1 bit: the leftmost pixel is the highest bit.
        {"1 bit", bits(1, {red, white}, Raw({0b10100000, 0, 0, 0})), {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF}},
        {"4 bits", bits(4, {red, green, blue}, Raw({0x21, 0x00, 0, 0})), {0xFF0000FF, 0xFF00FF00, 0xFFFF0000}},
        {"8 bits", bits(8, {red, green, blue}, Raw({2, 0, 1, 0})), {0xFF0000FF, 0xFFFF0000, 0xFF00FF00}},
        {"an index past a short palette shows black",
         bits(8, {red, green}, Raw({1, 7, 255, 0})),
         {0xFF00FF00, 0xFF000000, 0xFF000000}},
        {"24 bits top-down", topDown, {0xFF0000FF, 0xFFFF0000}},
        {"24 bits bottom-up", bottomUp, {0xFFFF0000, 0xFF0000FF}},
        {"32 bits", rgb32, {0xFF102030, 0xFFFFFFFF}},
        {"32 bits with masks after the header", fields, {0xFF302010, 0xFFFFFFFF}},
        {"32 bits with masks inside a later header", fieldsInV4Header, {0xFF302010, 0xFFFFFFFF}},
        {"narrow masks widen to 8 bits", fiveBitFields, {0xFFFFFF00}},
    };
    for (const auto& c : cases) {
        const auto decoded = DecodeBmp(c.file.Bytes());
        ASSERT_TRUE(decoded.has_value()) << c.what;
        EXPECT_EQ(decoded->pixels, c.expected) << c.what;
    }
}

TEST(DecodeBmp, AcceptsALastRowWithoutItsPadding) {
    BmpFile f;
    f.width = 1;
    f.height = 2;
    f.pixels = Raw({1, 2, 3, 0, 4, 5, 6}); // the top row stops after its pixel
    const auto decoded = DecodeBmp(f.Bytes());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->ColourAt(0, 0), (Rgb{6, 5, 4}));
}

TEST(DecodeBmp, RefusesBrokenAndHostileFiles) {
    const auto with = [](auto change) {
        BmpFile f;
        f.pixels = std::string(16, '\x40');
        change(f);
        return f.Bytes();
    };
    const std::string valid = with([](BmpFile&) {});
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"nothing", ""},
        {"only the magic", "BM"},
        {"headers cut short", valid.substr(0, 53)},
        {"not a bitmap", "PK" + valid.substr(2)},
        {"zero width", with([](BmpFile& f) { f.width = 0; })},
        {"negative width", with([](BmpFile& f) { f.width = -2; })},
        {"width past the limit", with([](BmpFile& f) { f.width = 16385; })},
        {"zero height", with([](BmpFile& f) { f.height = 0; })},
        {"height past the limit upwards", with([](BmpFile& f) { f.height = -16385; })},
        {"the most negative height", with([](BmpFile& f) { f.height = INT32_MIN; })},
        {"huge sides, few bytes", with([](BmpFile& f) {
             f.width = 16384;
             f.height = 16384;
             f.bitCount = 1;
         })},
        {"two planes", with([](BmpFile& f) { f.planes = 2; })},
        {"16 bits", with([](BmpFile& f) { f.bitCount = 16; })},
        {"no bits", with([](BmpFile& f) { f.bitCount = 0; })},
        {"run-length compressed", with([](BmpFile& f) { f.compression = 1; })},
        {"masks on 24 bits", with([](BmpFile& f) { f.compression = 3; })},
        {"masks in a header too short to hold them", with([](BmpFile& f) {
             f.bitCount = 32;
             f.compression = 3;
             f.headerSize = 44;
             f.masks = {0xFF0000};
         })},
        {"broken mask", with([](BmpFile& f) {
             f.bitCount = 32;
             f.compression = 3;
             f.masks = {0xF0F000, 0xFF00, 0xFF};
         })},
        {"the old small header", with([](BmpFile& f) { f.claimedHeaderSize = 12; })},
        {"header larger than the file", with([](BmpFile& f) { f.claimedHeaderSize = 0xFFFFFFF0; })},
        {"header just past the file's end", with([](BmpFile& f) { f.claimedHeaderSize = 57; })},
        {"pixels past the end", with([](BmpFile& f) { f.pixelsAt = 60; })},
        {"pixel offset far out", with([](BmpFile& f) { f.pixelsAt = 0xFFFFFFF0; })},
        {"pixel offset inside the headers", with([](BmpFile& f) { f.pixelsAt = 20; })},
        {"one row short", with([](BmpFile& f) { f.height = 3; })},
        {"palette missing", with([](BmpFile& f) {
             f.bitCount = 8;
             f.coloursUsed = 0; // the full 256 entries, of which the file holds none
             f.pixelsAt = 54;
         })},
        {"palette count beyond the file", with([](BmpFile& f) {
             f.bitCount = 4;
             f.coloursUsed = 0xFFFFFFFF;
         })},
    };
    ASSERT_TRUE(DecodeBmp(valid).has_value()) << "the file the cases break";
    for (const auto& c : cases) {
        EXPECT_FALSE(DecodeBmp(c.bytes).has_value()) << c.what;
    }
}

TEST(DecodeBmp, SurvivesEveryTruncationAndScatteredDamage) {
    BmpFile paletted;
    paletted.width = 5;
    paletted.height = 3;
    paletted.bitCount = 8;
    paletted.palette = {0x102030, 0x405060, 0x708090};
    paletted.coloursUsed = 3;
    paletted.pixels = Raw({0, 1, 2, 1, 0, 0, 0, 0, 2, 2, 2, 2, 2, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0});
    const std::string files[] = {paletted.Bytes(), EncodeBmp(Gradient(7, 5))};

    for (const auto& file : files) {
        const auto whole = DecodeBmp(file);
        ASSERT_TRUE(whole.has_value());
        // The last row's padding is the only part that may be cut off.
        const std::size_t rowBytes = static_cast<std::size_t>(whole->width) * (file == files[0] ? 1 : 3);
        const std::size_t padding = (4 - rowBytes % 4) % 4;
        for (std::size_t length = 0; length < file.size(); ++length) {
            const auto cut = DecodeBmp(std::string_view(file).substr(0, length));
            if (length + padding >= file.size()) {
                ASSERT_TRUE(cut.has_value()) << length;
                EXPECT_EQ(*cut, *whole) << length;
            } else {
                EXPECT_FALSE(cut.has_value()) << length;
            }
        }
        // Damaged bytes anywhere must never read outside the buffer; the sanitizers watch this loop.
        std::uint32_t seed = 12345;
        for (int round = 0; round < 2000; ++round) {
            std::string damaged = file;
            for (int hit = 0; hit < 3; ++hit) {
                seed = seed * 1103515245u + 12345u;
                damaged[(seed >> 8) % damaged.size()] = static_cast<char>(seed >> 24);
            }
            const auto decoded = DecodeBmp(damaged);
            if (decoded) {
                EXPECT_EQ(decoded->pixels.size(),
                          static_cast<std::size_t>(decoded->width) * static_cast<std::size_t>(decoded->height));
            }
        }
    }
}

TEST(DrawOver, BlendsBySourceAlphaAndLeavesTheTargetOpaque) {
    struct Case {
        std::uint8_t alpha;
        Rgb expected;
    };
    // Over (100, 100, 100), drawing (200, 0, 50):
    const Case cases[] = {{0, {100, 100, 100}}, {255, {200, 0, 50}}, {128, {150, 50, 75}}, {64, {125, 75, 87}}};
    for (const auto& c : cases) {
        Bitmap target(1, 1, Rgb{100, 100, 100});
        Bitmap source(1, 1, kBlack);
        source.Set(0, 0, Argb(Rgb{200, 0, 50}, c.alpha));
        DrawOver(target, source, 0, 0);
        EXPECT_EQ(target.ColourAt(0, 0), c.expected) << int{c.alpha};
        EXPECT_EQ(target.At(0, 0) >> 24, 0xFFu) << int{c.alpha};
    }
}

TEST(DrawOver, ClipsAtTheTargetsEdges) {
    struct Case {
        int x, y;
        std::vector<std::pair<int, int>> covered; // target pixels the 2 x 2 source lands on
    };
    const Case cases[] = {
        {-1, -1, {{0, 0}}}, {2, 2, {{2, 2}}}, {1, -1, {{1, 0}, {2, 0}}}, {3, 0, {}}, {0, -2, {}}, {-100000, 5, {}},
    };
    for (const auto& c : cases) {
        Bitmap target(3, 3, kWhite);
        const Bitmap source(2, 2, kBlack);
        DrawOver(target, source, c.x, c.y);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 3; ++x) {
                const bool covered = std::find(c.covered.begin(), c.covered.end(), std::pair{x, y}) != c.covered.end();
                EXPECT_EQ(target.ColourAt(x, y), covered ? kBlack : kWhite)
                    << "drawn at " << c.x << "," << c.y << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(CopyBlock, CopiesPixelsUnchangedAndClipsToBothBitmaps) {
    const Bitmap source = Gradient(4, 4);
    struct Case {
        const char* what;
        int tx, ty, sx, sy, width, height;
        int copied; // how many target pixels change
    };
    const Case cases[] = {
        {"inside both", 1, 1, 0, 0, 2, 2, 4},
        {"source corner off the left and top", 0, 0, -1, -1, 3, 3, 4},
        {"target corner off the left and top", -2, -2, 0, 0, 4, 4, 4},
        {"past the source's right edge", 0, 0, 3, 0, 3, 1, 1},
        {"past the target's bottom edge", 0, 4, 0, 0, 2, 2, 2},
        {"nothing left", 0, 0, 4, 4, 2, 2, 0},
        {"negative size", 0, 0, 0, 0, -2, 2, 0},
        {"far out", 2000000000, 0, 0, 0, 2000000000, 2, 0},
    };
    for (const auto& c : cases) {
        Bitmap target(5, 5, kWhite);
        CopyBlock(target, c.tx, c.ty, source, c.sx, c.sy, c.width, c.height);
        int copied = 0;
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                if (target.At(x, y) != Argb(kWhite)) {
                    ++copied;
                    EXPECT_EQ(target.At(x, y), source.At(x - c.tx + c.sx, y - c.ty + c.sy)) << c.what;
                }
            }
        }
        EXPECT_EQ(copied, c.copied) << c.what;
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
