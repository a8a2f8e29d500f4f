// A finger or pen on a list: the slop, the hold and the rows its travel makes.
#include "platform/TouchGesture.h"

#include <cmath>

namespace platform {

void TouchGesture::Begin(const PointerEvent& e, int scrollValue) {
    down = true;
    moved = false;
    start = e;
    startValue = scrollValue;
}

bool TouchGesture::Moves(const PointerEvent& e) {
    if (down && !moved) {
        moved = std::hypot(e.windowX - start.windowX, e.windowY - start.windowY) > kTouchSlop;
    }
    return down && moved;
}

int TouchGesture::ValueFollowing(const PointerEvent& e, double rowHeight) const {
    if (rowHeight <= 0) {
        return startValue;
    }
    return startValue + static_cast<int>(std::lround((start.windowY - e.windowY) / rowHeight));
}

} // namespace platform
