// The display scale: design pixels to device pixels and back.
#include "platform/DisplayScale.h"

#include <algorithm>
#include <cmath>

namespace platform {

int Px(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int>(std::lround(std::clamp(value, -1.0e7, 1.0e7)));
}

DisplayScale::DisplayScale(int dpi)
    : dpi_(dpi > 0 ? dpi : kDesignDpi), factor_(static_cast<double>(dpi_) / kDesignDpi) {}

PixelRect DisplayScale::ToDevice(const ClientBox& box) const {
    return PixelRect{ToDevice(box.left), ToDevice(box.top), ToDevice(box.left + box.width),
                     ToDevice(box.top + box.height)};
}

} // namespace platform
