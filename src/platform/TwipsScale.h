// The forms' design units: sizes and places are designed in twips and turned into the window's pixels at
// the screen's twips per pixel, both ways.
#pragma once

#include "platform/Elements.h"

namespace platform {

struct TwipsScale {
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;

    double PixelsX(double twips) const { return twips / twipsPerPixelX; }
    double PixelsY(double twips) const { return twips / twipsPerPixelY; }

    // Places an element at its designed position and size, given in twips.
    void Design(Element& element, double left, double top, double width, double height) const {
        element.left = PixelsX(left);
        element.top = PixelsY(top);
        element.width = PixelsX(width);
        element.height = PixelsY(height);
    }
};

} // namespace platform
