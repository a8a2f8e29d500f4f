// The design-time pictures, drawn once each from a few flat shapes and a small pixel font. All sizes and
// positions here are pixels of the picture itself; the window stretches the strips to their elements' sizes.
#include "launcher/Artwork.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>

namespace launcher::artwork {

namespace {

using platform::Bitmap;
using platform::Canvas;
using platform::Rgb;

// Colours shared by several pictures.
constexpr Rgb kNavy{0, 0, 128};
constexpr Rgb kWindowGrey{192, 192, 192};
constexpr Rgb kLightGrey{224, 224, 224};
constexpr Rgb kShadowGrey{128, 128, 128};
constexpr Rgb kDarkGrey{64, 64, 64};
constexpr Rgb kPaleGrey{208, 208, 208}; // the missing-program outline: visible on white, but faint
constexpr Rgb kButtonFace{24, 40, 168}; // a shade lighter than the title bar, so the buttons stand out on it
constexpr Rgb kButtonLight{104, 120, 232};
constexpr Rgb kButtonShadow{0, 0, 72};
constexpr Rgb kFilm{40, 40, 40};
constexpr Rgb kFilmFrame{160, 200, 255};

// The colours of the small squares under the name: the collection's tiles, in miniature.
constexpr std::array<Rgb, 5> kTessera{{{200, 40, 40}, {240, 184, 0}, {40, 152, 64}, {32, 96, 200}, {0, 0, 128}}};

// A 5 x 9 pixel font: capitals and the tall parts of letters use rows 0 to 6, descenders rows 7 and 8. Only
// the characters the pictures use are here.
constexpr std::array<platform::PixelGlyph, 7> kGlyphs{{
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#..", ".....", "....."}},
    {'a', {".....", ".....", ".###.", "....#", ".####", "#...#", ".####", ".....", "....."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."}},
    {'l', {".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {'y', {".....", ".....", "#...#", "#...#", "#...#", ".####", "....#", "#...#", ".###."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#..", ".....", "....."}},
}};

constexpr platform::PixelFont kFont{5, 9, 1, kGlyphs};

// A caption button: a raised face with a one-pixel bevel, ready for its white symbol.
Canvas ButtonFace() {
    Canvas canvas(37, 37, kButtonFace);
    canvas.Fill(0, 0, 37, 1, kButtonLight);
    canvas.Fill(0, 0, 1, 37, kButtonLight);
    canvas.Fill(0, 36, 37, 1, kButtonShadow);
    canvas.Fill(36, 0, 1, 37, kButtonShadow);
    return canvas;
}

// The collection's name with a row of small squares under it, centred on window grey. `top` is where the
// letters start and `squaresTop` where the squares do.
void DrawName(Canvas& canvas, int canvasWidth, int scale, int top, int squareSize, int squareCount, int squaresTop) {
    constexpr std::string_view kName = "Tessaly";
    const int left = (canvasWidth - Canvas::TextWidth(kFont, kName, scale)) / 2;
    // A one-pixel shadow down and to the right lifts the letters off the grey.
    canvas.Write(kFont, kName, left + 1, top + 1, scale, kShadowGrey);
    canvas.Write(kFont, kName, left, top, scale, kNavy);

    const int gap = 2;
    const int rowWidth = squareCount * squareSize + (squareCount - 1) * gap;
    int x = (canvasWidth - rowWidth) / 2;
    for (int i = 0; i < squareCount; ++i) {
        canvas.Fill(x, squaresTop, squareSize, squareSize, kTessera[static_cast<std::size_t>(i) % kTessera.size()]);
        x += squareSize + gap;
    }
}

platform::Picture DrawMinimiseButton() {
    Canvas canvas = ButtonFace();
    canvas.Fill(10, 24, 17, 4, platform::kWhite); // a bar along the bottom: the window goes down to the task bar
    return canvas.Done();
}

platform::Picture DrawRestoreButton() {
    Canvas canvas = ButtonFace();
    canvas.Frame(9, 9, 19, 19, 2, platform::kWhite);
    canvas.Fill(9, 9, 19, 4, platform::kWhite); // the window's title bar
    return canvas.Done();
}

platform::Picture DrawExitButton() {
    Canvas canvas = ButtonFace();
    canvas.Stroke(10, 10, 27, 27, 1.8, platform::kWhite);
    canvas.Stroke(27, 10, 10, 27, 1.8, platform::kWhite);
    return canvas.Done();
}

platform::Picture DrawTopStrip() {
    // Stretched across the top of the title bar: a highlight fading into the navy, row by row.
    Canvas canvas(6, 6, kNavy);
    canvas.Fill(0, 0, 6, 1, {96, 96, 208});
    canvas.Fill(0, 1, 6, 1, {48, 48, 168});
    canvas.Fill(0, 2, 6, 1, {16, 16, 144});
    return canvas.Done();
}

platform::Picture DrawSideStrip() {
    // Stretched along both side edges, so each column is one shade: light outside, grey, dark inside.
    constexpr std::array<Rgb, 9> columns{{platform::kWhite, kLightGrey, kWindowGrey, kWindowGrey, kWindowGrey,
                                          kWindowGrey, kWindowGrey, kShadowGrey, kDarkGrey}};
    Canvas canvas(9, 9, kWindowGrey);
    for (int x = 0; x < 9; ++x) {
        canvas.Fill(x, 0, 1, 9, columns[static_cast<std::size_t>(x)]);
    }
    return canvas.Done();
}

platform::Picture DrawBottomStrip() {
    // Stretched along the bottom edge, so each row is one shade, darkening towards the outside.
    Canvas canvas(18, 6, kWindowGrey);
    canvas.Fill(0, 0, 18, 1, kLightGrey);
    canvas.Fill(0, 4, 18, 1, kShadowGrey);
    canvas.Fill(0, 5, 18, 1, kDarkGrey);
    return canvas.Done();
}

platform::Picture DrawLogo() {
    Canvas canvas(154, 60, kWindowGrey);
    DrawName(canvas, 154, 3, 7, 7, 14, 44);
    return canvas.Done();
}

platform::Picture DrawDefaultTile() {
    // A small program window on the tile area's white: grey outline, navy title bar, four coloured panes.
    Canvas canvas(32, 32, platform::kWhite);
    canvas.Frame(3, 5, 26, 22, 1, kShadowGrey);
    canvas.Fill(4, 6, 24, 4, kNavy);
    for (int i = 0; i < 4; ++i) {
        canvas.Fill(7 + (i % 2) * 10, 12 + (i / 2) * 7, 8, 5, kTessera[static_cast<std::size_t>(i)]);
    }
    return canvas.Done();
}

platform::Picture DrawVideoButton() {
    // A strip of film running down the button: sprocket holes at both edges and two frames between them.
    Canvas canvas(20, 21, kFilm);
    for (int y = 1; y < 21; y += 4) {
        canvas.Fill(1, y, 2, 2, platform::kWhite);
        canvas.Fill(17, y, 2, 2, platform::kWhite);
    }
    canvas.Fill(5, 2, 10, 8, kFilmFrame);
    canvas.Fill(5, 11, 10, 8, kFilmFrame);
    return canvas.Done();
}

platform::Picture DrawMissingProgram() {
    // The outline of a folder (its tab at the top left) with a question mark inside, all in one pale grey.
    Canvas canvas(64, 64, platform::kWhite);
    canvas.Frame(8, 17, 48, 36, 2, kPaleGrey);
    canvas.Fill(8, 11, 16, 2, kPaleGrey);
    canvas.Fill(8, 11, 2, 7, kPaleGrey);
    canvas.Stroke(23, 12, 28, 18, 1.0, kPaleGrey);
    canvas.Write(kFont, "?", 24, 24, 3, kPaleGrey);
    return canvas.Done();
}

platform::Picture DrawOptionsBadge() {
    Canvas canvas(104, 40, kWindowGrey);
    DrawName(canvas, 104, 2, 4, 6, 12, 29);
    // A raised edge, as the dialog's own buttons have.
    canvas.Fill(0, 0, 104, 1, platform::kWhite);
    canvas.Fill(0, 0, 1, 40, platform::kWhite);
    canvas.Fill(0, 39, 104, 1, kShadowGrey);
    canvas.Fill(103, 0, 1, 40, kShadowGrey);
    return canvas.Done();
}

} // namespace

// Each picture is drawn on first use and then shared: the elements only ever hold pointers to const bitmaps.
platform::Picture MinimiseButton() {
    static const platform::Picture picture = DrawMinimiseButton();
    return picture;
}

platform::Picture RestoreButton() {
    static const platform::Picture picture = DrawRestoreButton();
    return picture;
}

platform::Picture ExitButton() {
    static const platform::Picture picture = DrawExitButton();
    return picture;
}

platform::Picture TopStrip() {
    static const platform::Picture picture = DrawTopStrip();
    return picture;
}

platform::Picture SideStrip() {
    static const platform::Picture picture = DrawSideStrip();
    return picture;
}

platform::Picture BottomStrip() {
    static const platform::Picture picture = DrawBottomStrip();
    return picture;
}

platform::Picture Logo() {
    static const platform::Picture picture = DrawLogo();
    return picture;
}

platform::Picture DefaultTile() {
    static const platform::Picture picture = DrawDefaultTile();
    return picture;
}

platform::Picture VideoButton() {
    static const platform::Picture picture = DrawVideoButton();
    return picture;
}

platform::Picture MissingProgram() {
    static const platform::Picture picture = DrawMissingProgram();
    return picture;
}

platform::Picture OptionsBadge() {
    static const platform::Picture picture = DrawOptionsBadge();
    return picture;
}

} // namespace launcher::artwork
