// The display scale: the portable core lays everything out in design pixels (15 twips each, 96 to the
// inch) at every resolution, and a backend maps them to the screen's device pixels at dpi / 96 device
// pixels a design pixel. Standard library only, so that the rounding is tested on the host.
#pragma once

#include "platform/ElementGeometry.h"

namespace platform {

// A box in whole device pixels, right and bottom exclusive.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// A value rounded to the nearest whole pixel, far-off and undefined values pulled in so that the arithmetic
// of rectangles cannot overflow.
int Px(double value);

class DisplayScale {
public:
    static constexpr int kDesignDpi = 96;

    // A resolution that cannot be right (0, negative) is taken as the design resolution.
    explicit DisplayScale(int dpi = kDesignDpi);

    int dpi() const { return dpi_; }
    // Device pixels a design pixel.
    double Factor() const { return factor_; }
    bool IsDesign() const { return dpi_ == kDesignDpi; }

    // A design length or coordinate in whole device pixels.
    int ToDevice(double design) const { return Px(design * factor_); }
    // A design box in device pixels: each edge is rounded on its own, not the size, so that boxes that abut
    // in design pixels abut in device pixels, without gaps or overlaps.
    PixelRect ToDevice(const ClientBox& box) const;
    // A device coordinate (a pointer position, a client size) in design pixels, as a real number; the
    // device pixel it came from is its nearest.
    double ToDesign(double device) const { return device / factor_; }

    bool operator==(const DisplayScale& other) const { return dpi_ == other.dpi_; }

private:
    int dpi_;
    double factor_;
};

} // namespace platform
