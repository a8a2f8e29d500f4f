// The window's 16-bit integer arithmetic.
#include "launcher/Module1.h"

#include <cmath>

namespace launcher {

std::optional<Int16> Floor16(double value) {
    const double whole = std::floor(value);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<Int16>(whole);
}

} // namespace launcher
