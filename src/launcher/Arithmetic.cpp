// The window's 16-bit integer arithmetic.
#include "launcher/Module1.h"

#include <cmath>

namespace launcher {

namespace {

std::optional<Int16> Fit16(double whole) {
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<Int16>(whole);
}

} // namespace

std::optional<Int16> Nearest(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    double whole = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) {
        whole = floor + 1;
    }
    return Fit16(whole);
}

std::optional<Int16> Floor16(double value) {
    return Fit16(std::floor(value));
}

Int16 MaxInt(Int16 first, Int16 second) {
    return first < second ? second : first;
}

Int16 Clamp(Int16 value, Int16 low, Int16 high) {
    if (value < low) {
        value = low;
    }
    if (value > high) {
        value = high;
    }
    return value;
}

} // namespace launcher
