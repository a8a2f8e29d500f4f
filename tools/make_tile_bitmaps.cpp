// Draws the 29 tile pictures of the built-in catalogue and writes them as 64 x 64 pixel, 24-bit bitmap files
// into the given data folder. Each tile has its own colours, a small motif of what the program is about and two
// letters in a band along the bottom, so that a teacher can tell the tiles apart at a glance.
//
// Built by hand, not by the project's build:
//   g++ -std=c++20 -Wall -Wextra -Isrc tools/make_tile_bitmaps.cpp src/platform/Canvas.cpp src/platform/Picture.cpp -o
//   make_tile_bitmaps
//   ./make_tile_bitmaps data
#include "platform/Canvas.h"
#include "platform/Picture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace {

using platform::Bitmap;
using platform::Canvas;
using platform::Rgb;

constexpr int kSize = 64;    // pixels, both ways
constexpr int kBandTop = 46; // the band with the letters starts here; the motif keeps above it
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// A 5 x 7 pixel font of the capitals the tiles use.
constexpr std::array<platform::PixelGlyph, 21> kGlyphs{{
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
}};

constexpr platform::PixelFont kFont{5, 7, 1, kGlyphs};

Rgb Darker(Rgb c) {
    return Rgb{static_cast<std::uint8_t>(c.r * 3 / 5), static_cast<std::uint8_t>(c.g * 3 / 5),
               static_cast<std::uint8_t>(c.b * 3 / 5)};
}

struct Tile {
    std::string_view file;    // as the built-in catalogue names it
    std::string_view letters; // two capitals for the band
    Rgb ground;
    std::function<void(Canvas&)> motif;
};

// Colours the motifs share.
constexpr Rgb kSky{150, 205, 245}, kGrass{70, 160, 60}, kLeaf{30, 120, 40}, kSun{250, 210, 40};
constexpr Rgb kWood{150, 95, 45}, kRed{210, 40, 40}, kBlue{40, 90, 210}, kNavy{20, 30, 110};
constexpr Rgb kGold{235, 180, 30}, kPaper{250, 245, 225}, kGrey{120, 120, 120};

const std::array<Tile, 29> kTiles{{
    {"habitats.bmp", "AH", kSky,
     [](Canvas& c) {
         c.Disc(48, 12, 7, kSun);
         c.Disc(20, 62, 30, kGrass);
         c.Fill(40, 24, 4, 18, kWood);
         c.Disc(42, 20, 8, kLeaf);
     }},
    {"bridges.bmp",
     "BB",
     {120, 180, 230},
     [](Canvas& c) {
         c.Fill(0, 34, 64, 12, {40, 100, 180}); // the river
         c.Fill(4, 22, 56, 4, kWood);
         c.Ring(32, 44, 22, 3, kWood);
         c.Fill(10, 26, 3, 12, kWood);
         c.Fill(51, 26, 3, 12, kWood);
     }},
    {"clock.bmp",
     "CT",
     {120, 60, 40},
     [](Canvas& c) {
         c.Disc(32, 23, 19, kWhite);
         c.Ring(32, 23, 19, 3, kNavy);
         c.Stroke(32, 23, 32, 10, 1.5, kBlack);
         c.Stroke(32, 23, 41, 27, 1.5, kBlack);
         c.Disc(32, 23, 2, kRed);
     }},
    {"coins.bmp",
     "CC",
     {40, 120, 90},
     [](Canvas& c) {
         for (const auto& [x, y] : {std::pair{18.0, 28.0}, {46.0, 28.0}, {32.0, 16.0}}) {
             c.Disc(x, y, 12, kGold);
             c.Ring(x, y, 12, 2, {170, 120, 10});
             c.Disc(x, y, 3, {250, 225, 120});
         }
     }},
    {"colour.bmp", "CM", kWhite,
     [](Canvas& c) {
         c.Disc(22, 16, 12, kRed);
         c.Disc(42, 16, 12, {250, 220, 0});
         c.Disc(32, 32, 12, kBlue);
     }},
    {"crossword.bmp",
     "CW",
     {200, 200, 200},
     [](Canvas& c) {
         for (int row = 0; row < 5; ++row) {
             for (int col = 0; col < 5; ++col) {
                 const bool dark = (row * 5 + col) % 3 == 1;
                 c.Fill(12 + col * 8, 4 + row * 8, 7, 7, dark ? kBlack : kWhite);
             }
         }
     }},
    {"dinodig.bmp",
     "DD",
     {225, 190, 120},
     [](Canvas& c) {
         c.Stroke(14, 34, 50, 10, 3, kPaper);
         for (const auto& [x, y] : {std::pair{12.0, 30.0}, {17.0, 37.0}, {47.0, 7.0}, {52.0, 14.0}}) {
             c.Disc(x, y, 5, kPaper);
         }
         c.Fill(0, 40, 64, 6, {180, 130, 70});
     }},
    {"pizza.bmp",
     "FP",
     {60, 140, 60},
     [](Canvas& c) {
         c.Disc(32, 23, 20, {210, 150, 60});
         c.Disc(32, 23, 16, {230, 90, 40});
         c.Stroke(32, 3, 32, 43, 1, {210, 150, 60});
         c.Stroke(12, 23, 52, 23, 1, {210, 150, 60});
         c.Disc(24, 15, 3, {250, 230, 150});
         c.Disc(40, 31, 3, {250, 230, 150});
     }},
    {"grammar.bmp",
     "GG",
     {190, 230, 170},
     [](Canvas& c) {
         c.Fill(31, 24, 3, 22, kLeaf);
         for (int i = 0; i < 6; ++i) {
             const double a = i * 3.14159265 / 3;
             c.Disc(32.5 + 9 * std::cos(a), 16 + 9 * std::sin(a), 6, {230, 80, 160});
         }
         c.Disc(32.5, 16, 5, kSun);
     }},
    {"handwrite.bmp",
     "HH",
     {250, 240, 200},
     [](Canvas& c) {
         for (int y = 10; y < 46; y += 9) {
             c.Fill(4, y, 56, 1, {150, 180, 230});
         }
         c.Stroke(50, 4, 20, 34, 4, {240, 190, 40});
         c.Triangle(17, 37, 14, 42, 22, 33, {230, 200, 150});
         c.Disc(51, 3, 4, {230, 120, 140});
     }},
    {"island.bmp",
     "IE",
     {40, 140, 210},
     [](Canvas& c) {
         c.Ellipse(32, 40, 24, 10, {240, 215, 140});
         c.Stroke(34, 38, 30, 16, 1.5, kWood);
         c.Ellipse(24, 15, 9, 3, kLeaf);
         c.Ellipse(38, 15, 9, 3, kLeaf);
         c.Fill(0, 0, 64, 2, kWhite);
     }},
    {"mapskills.bmp",
     "MS",
     {100, 150, 110},
     [](Canvas& c) {
         c.Fill(8, 4, 48, 40, {240, 225, 180});
         for (int i = 1; i < 4; ++i) {
             c.Fill(8 + i * 12, 4, 1, 40, {170, 150, 110});
             c.Fill(8, 4 + i * 10, 48, 1, {170, 150, 110});
         }
         c.Stroke(36, 18, 46, 28, 1.5, kRed);
         c.Stroke(46, 18, 36, 28, 1.5, kRed);
     }},
    {"music.bmp",
     "MM",
     {120, 60, 160},
     [](Canvas& c) {
         c.Ellipse(20, 36, 6, 4.5, kWhite);
         c.Ellipse(42, 32, 6, 4.5, kWhite);
         c.Fill(24, 8, 3, 28, kWhite);
         c.Fill(46, 4, 3, 28, kWhite);
         c.Stroke(25, 9, 47, 5, 2.5, kWhite);
     }},
    {"bonds.bmp",
     "NB",
     {250, 140, 40},
     [](Canvas& c) {
         c.Stroke(16, 34, 32, 12, 1.5, kNavy);
         c.Stroke(48, 34, 32, 12, 1.5, kNavy);
         c.Disc(32, 12, 9, kWhite);
         c.Disc(16, 34, 9, kWhite);
         c.Disc(48, 34, 9, kWhite);
         c.Ring(32, 12, 9, 2, kNavy);
         c.Ring(16, 34, 9, 2, kNavy);
         c.Ring(48, 34, 9, 2, kNavy);
     }},
    {"phonics.bmp",
     "PF",
     {255, 235, 170},
     [](Canvas& c) {
         for (int i = 0; i < 6; ++i) {
             const double x0 = 8 + i * 8;
             c.Triangle(32, 4, x0, 42, x0 + 8, 42, i % 2 == 0 ? kRed : kWhite);
         }
         c.Fill(31, 0, 2, 5, kGrey);
         c.Triangle(33, 0, 33, 5, 40, 2, kBlue);
     }},
    {"planets.bmp",
     "PQ",
     {15, 15, 50},
     [](Canvas& c) {
         for (const auto& [x, y] : {std::pair{6, 6}, {54, 8}, {12, 36}, {58, 38}, {40, 3}, {5, 22}}) {
             c.Fill(x, y, 2, 2, kWhite);
         }
         c.Disc(32, 23, 12, {230, 150, 60});
         c.Shape(
             [](double x, double y) {
                 const double d = (x - 32) * (x - 32) / (22.0 * 22.0) + (y - 23) * (y - 23) / (5.0 * 5.0);
                 return d <= 1 && d >= 0.6 && !(y < 23 && std::hypot(x - 32, y - 23) < 12);
             },
             {240, 220, 160});
     }},
    {"poetry.bmp",
     "PS",
     {140, 40, 70},
     [](Canvas& c) {
         c.Fill(14, 4, 36, 40, kPaper);
         for (int y = 10; y < 40; y += 6) {
             c.Fill(18, y, y % 12 == 10 ? 28 : 20, 2, kGrey);
         }
         c.Stroke(52, 2, 38, 30, 1.5, kWhite);
         c.Triangle(52, 2, 58, 6, 45, 20, kWhite);
     }},
    {"rainforest.bmp",
     "RR",
     {20, 90, 40},
     [](Canvas& c) {
         c.Ellipse(18, 16, 14, 7, {60, 170, 70});
         c.Ellipse(44, 24, 15, 7, {90, 200, 80});
         c.Ellipse(22, 34, 13, 6, {40, 140, 50});
         c.Disc(46, 9, 5, kRed);
         c.Triangle(50, 9, 56, 7, 56, 11, kSun);
     }},
    {"shapes.bmp",
     "SS",
     {230, 230, 250},
     [](Canvas& c) {
         c.Triangle(14, 6, 3, 28, 25, 28, kRed);
         c.Fill(36, 6, 22, 22, kBlue);
         c.Disc(32, 36, 9, {40, 170, 70});
     }},
    {"spelling.bmp",
     "SB",
     {120, 200, 240},
     [](Canvas& c) {
         c.Ellipse(24, 12, 8, 6, kWhite);
         c.Ellipse(38, 12, 8, 6, kWhite);
         c.Ellipse(31, 27, 16, 11, kSun);
         for (const int x : {24, 32, 40}) {
             c.Fill(x, 17, 4, 21, kBlack);
         }
         c.Disc(16, 27, 4, kBlack);
     }},
    {"story.bmp",
     "ST",
     {60, 110, 170},
     [](Canvas& c) {
         c.Fill(6, 8, 25, 34, kPaper);
         c.Fill(33, 8, 25, 34, kPaper);
         c.Fill(31, 6, 2, 38, kWood);
         for (int y = 14; y < 38; y += 5) {
             c.Fill(10, y, 17, 1, kGrey);
             c.Fill(37, y, 17, 1, kGrey);
         }
     }},
    {"symmetry.bmp",
     "SY",
     {255, 250, 240},
     [](Canvas& c) {
         for (const double side : {-1.0, 1.0}) {
             c.Ellipse(32 + side * 12, 15, 11, 9, {240, 120, 30});
             c.Ellipse(32 + side * 10, 33, 8, 7, {60, 120, 220});
         }
         for (int y = 0; y < kBandTop; y += 4) {
             c.Fill(31, y, 2, 2, kBlack); // the mirror line
         }
     }},
    {"tables.bmp",
     "TT",
     {40, 60, 140},
     [](Canvas& c) {
         c.Stroke(20, 8, 44, 36, 4, kSun);
         c.Stroke(44, 8, 20, 36, 4, kSun);
         c.Frame(6, 2, 52, 42, 2, kWhite);
     }},
    {"timetravel.bmp",
     "TR",
     {70, 40, 110},
     [](Canvas& c) {
         c.Fill(16, 2, 32, 4, kWood);
         c.Fill(16, 40, 32, 4, kWood);
         c.Triangle(19, 6, 45, 6, 32, 23, {200, 230, 250});
         c.Triangle(19, 40, 45, 40, 32, 23, {200, 230, 250});
         c.Triangle(26, 40, 38, 40, 32, 31, {240, 210, 120});
         c.Triangle(27, 10, 37, 10, 32, 17, {240, 210, 120});
     }},
    {"typing.bmp",
     "TY",
     {90, 90, 100},
     [](Canvas& c) {
         c.Fill(4, 8, 56, 34, {40, 40, 45});
         for (int row = 0; row < 3; ++row) {
             for (int col = 0; col < 6; ++col) {
                 c.Fill(7 + row * 2 + col * 8, 11 + row * 8, 6, 6, kWhite);
             }
         }
         c.Fill(16, 35, 32, 4, kWhite);
     }},
    {"weather.bmp", "WW", kSky,
     [](Canvas& c) {
         c.Disc(40, 16, 12, kSun);
         c.Disc(20, 30, 9, kWhite);
         c.Disc(32, 26, 11, kWhite);
         c.Disc(44, 32, 8, kWhite);
         c.Fill(16, 32, 32, 8, kWhite);
     }},
    {"wordsearch.bmp",
     "WS",
     {255, 225, 120},
     [](Canvas& c) {
         c.Fill(8, 2, 48, 42, kWhite);
         c.Stroke(14, 8, 50, 38, 4, {140, 220, 140});
         for (int row = 0; row < 5; ++row) {
             for (int col = 0; col < 6; ++col) {
                 c.Fill(12 + col * 7, 6 + row * 8, 4, 4, kNavy);
             }
         }
     }},
    {"zookeeper.bmp",
     "ZK",
     {170, 210, 90},
     [](Canvas& c) {
         c.Ellipse(32, 30, 11, 9, kWood);
         c.Ellipse(17, 17, 5, 6, kWood);
         c.Ellipse(27, 10, 5, 6, kWood);
         c.Ellipse(37, 10, 5, 6, kWood);
         c.Ellipse(47, 17, 5, 6, kWood);
     }},
    {"helpvideos.bmp",
     "HV",
     {245, 245, 245},
     [](Canvas& c) {
         c.Fill(8, 6, 48, 34, kRed);
         c.Triangle(26, 13, 26, 33, 42, 23, kWhite);
     }},
}};

Bitmap DrawTile(const Tile& tile, bool& ok) {
    Canvas canvas(kSize, kSize, tile.ground);
    tile.motif(canvas);
    // The band along the bottom with the two letters, scaled twice: 22 x 14 pixels, centred.
    canvas.Fill(0, kBandTop, kSize, kSize - kBandTop, Darker(tile.ground == kWhite ? Rgb{90, 90, 90} : tile.ground));
    ok = canvas.Write(kFont, tile.letters, (kSize - 22) / 2, kBandTop + 2, 2, kWhite) && ok;
    canvas.Frame(0, 0, kSize, kSize, 1, Darker(Darker(tile.ground)));
    return canvas.bitmap();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA-FOLDER\n", argv[0]);
        return 2;
    }
    bool ok = true;
    for (const auto& tile : kTiles) {
        const std::string path = std::string(argv[1]) + "/" + std::string(tile.file);
        const std::string bytes = platform::EncodeBmp(DrawTile(tile, ok));
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (!ok) {
        std::fprintf(stderr, "a tile's letters are missing from the font\n");
        return 1;
    }
    return 0;
}
