// The colours a window draws with while the system's high contrast is on: the system's own colours in place
// of the design's fixed ones, chosen by where a colour is used (the focus ring is drawn in the highlight
// colour); pictures keep their own colours. With high
// contrast off every colour stays the design's. Standard library only: the mapping is tested on the host,
// and the Win32 painter and controls use it.
#pragma once

#include "platform/Picture.h"

#include <optional>

namespace platform {

// The system colours the mapping uses, as the system's colour scheme gives them.
struct SystemColours {
    Rgb window, windowText, grayText; // grounds of windows and lists, their text, greyed text
    Rgb activeCaption, captionText;   // the title bar of the active window and its text
    Rgb buttonFace, buttonText;       // push buttons
    Rgb highlight;                    // the keyboard focus ring
    bool operator==(const SystemColours&) const = default;
};

// Where a colour is used.
enum class ColourUse { Ground, Text, ButtonFace, ButtonText };

// The design colours that stand for a title bar (the navy ground and the white text on it) and for
// greyed text (the names of programs not installed); every other text is the window's text.
inline constexpr Rgb kCaptionNavy{0, 0, 128};
inline constexpr Rgb kGreyedText{192, 192, 192};

// The colour to draw: `design` while `highContrast` holds nothing, else the system colour for its use.
Rgb SchemeColour(Rgb design, ColourUse use, const std::optional<SystemColours>& highContrast);

} // namespace platform
