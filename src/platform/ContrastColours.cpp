// The design's colours mapped to the system's under high contrast.
#include "platform/ContrastColours.h"

namespace platform {

Rgb SchemeColour(Rgb design, ColourUse use, const std::optional<SystemColours>& highContrast) {
    if (!highContrast) {
        return design;
    }
    const SystemColours& system = *highContrast;
    switch (use) {
    case ColourUse::Ground:
        return design == kCaptionNavy ? system.activeCaption : system.window;
    case ColourUse::Text:
        if (design == kWhite) {
            return system.captionText; // the only white text is the title on the title bar
        }
        return design == kGreyedText ? system.grayText : system.windowText;
    case ColourUse::ButtonFace:
        return system.buttonFace;
    case ColourUse::ButtonText:
        return system.buttonText;
    }
    return design;
}

} // namespace platform
