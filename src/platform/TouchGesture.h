// One finger or pen on the screen, from its press to its lift, as the lists that it pans see it: whether it
// has moved beyond a small slop, whether it was held still, and how many rows its travel makes. Standard
// library only, for the launcher's grid and the options list alike.
#pragma once

#include "platform/Elements.h"

namespace platform {

// Design pixels a finger may wander before its touch counts as a drag rather than a tap.
inline constexpr double kTouchSlop = 10;
// Milliseconds a finger held still takes to count as held.
inline constexpr long long kTouchHoldMs = 500;

// Whether the event comes from a finger or a pen rather than the mouse.
inline bool IsTouch(const PointerEvent& e) {
    return e.source != PointerSource::Mouse;
}

struct TouchGesture {
    bool down = false;  // a finger is on the screen
    bool moved = false; // it has gone beyond the slop since it came down
    PointerEvent start; // its press
    int startValue = 0; // the scroll value of the list at the press

    void Begin(const PointerEvent& e, int scrollValue);
    void End() { down = false; }
    // Looks at a move: true once the finger has gone beyond the slop (and from then on for this touch).
    bool Moves(const PointerEvent& e);
    // Whether the finger stayed still for the hold time from its press to the event.
    bool HeldAt(const PointerEvent& e) const { return !moved && e.time - start.time >= kTouchHoldMs; }
    // The scroll value that keeps the rows under the finger: the press's value plus one row for every
    // `rowHeight` pixels the finger went up (less one for every row down), to the nearest row.
    int ValueFollowing(const PointerEvent& e, double rowHeight) const;
};

} // namespace platform
