// The launcher's main window: a borderless window that carries its own title bar, caption buttons, border
// strips, tile area, logo, version label and description label, and the tile slots (picture, name and
// video button sharing one index). Element sizes are designed in twips and converted to pixels at the
// screen's resolution when the window is made.
#pragma once

#include "platform/ContrastColours.h"
#include "platform/Elements.h"
#include "platform/System.h"
#include "platform/TwipsScale.h"

namespace launcher {

inline constexpr platform::Rgb kWindowGrey{192, 192, 192};
inline constexpr platform::Rgb kNavy = platform::kCaptionNavy; // a title bar, under high contrast too
inline constexpr platform::Rgb kDescriptionGrey{64, 64, 64};
inline constexpr platform::Rgb kVersionGrey{128, 128, 128};
inline constexpr platform::Rgb kGreyedName = platform::kGreyedText;

class Form1 : public platform::Window {
public:
    // `twipsPerPixel` converts the design sizes (in twips) into pixels.
    Form1(const platform::TextMeasurer& measurer, double twipsPerPixelX, double twipsPerPixelY);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The window's caption, background, pointer (the hourglass also marks the window busy after a program
    // was started), focus and key-down handler come from platform::Window.

    // Title bar and its contents.
    platform::PictureBox topBar;
    platform::Image topSmoother;
    platform::Label topText;
    platform::Image MinBut;
    platform::Image restoreBut;
    platform::Image ExitBut;

    // Tile area.
    platform::PictureBox progHolder;
    platform::ScrollBar VScroll;
    platform::PictureBox dumFader; // holds the missing-program picture

    // Border strips, logo and labels along the bottom.
    platform::Image leftBorder;
    platform::Image rightBorder;
    platform::Image botBar;
    platform::Image tessalyLogo;
    platform::Label verLabel;
    platform::Label progInfo;

    // Scratch surfaces for drawing a program's icon.
    platform::PictureBox dumStuff;
    platform::PictureBox dumIcon;
    platform::PictureBox dumberIcon;

    // Tile slots: element k of each array is slot k.
    platform::ControlArray<platform::Image> progIcon;
    platform::ControlArray<platform::Label> progName;
    platform::ControlArray<platform::Image> prVidBut;

    // Ends the busy second after a program was started.
    platform::Timer SameProgWaitTimer;

    // Pixels from twips at this window's resolution.
    const platform::TwipsScale scale;
};

} // namespace launcher
