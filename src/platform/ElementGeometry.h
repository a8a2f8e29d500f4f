// Element geometry, the same for every backend: what is shown, where an element lies in its window's
// client area, which element is under a point, the pointer event in the element's own units, and how a
// scroll bar element maps onto a scroll-bar control. Standard library only: it is tested on the host, and
// the Win32 window and the headless driver both use it.
#pragma once

#include "platform/Elements.h"

#include <cstdint>
#include <optional>

namespace platform {

// An element's rectangle in its window's client area, in pixels, as real numbers.
struct ClientBox {
    double left = 0, top = 0, width = 0, height = 0;
    bool Contains(double x, double y) const { return x >= left && y >= top && x < left + width && y < top + height; }
};

// Whether the element shows: it and every picture box around it are visible.
bool Shown(const Element& element);

// Whether the element is drawn by a control of its own (scroll bar, check box, push button).
bool IsControl(const Element& element);

// Where the element lies in the window's client area (its own Left and Top plus those of the picture boxes
// around it); nothing when it is not inside `window`.
std::optional<ClientBox> BoxInWindow(const Container& window, const Element& element);

// The front-most shown element under the point (client pixels), looking into picture boxes, whose children
// lie in front of them and are clipped to them. Controls are skipped: they take their own pointer events.
// Nothing when the point is on the window's own background.
Element* ElementAt(const Container& window, double x, double y);

// The keyboard focus ring: the union of the shown elements that carry the ring, and the box of the picture
// box around them that clips it (the window's own area when they lie directly in it, clip nothing then).
// Nothing while the window hides its keyboard cues or no shown element carries the ring.
struct FocusRing {
    ClientBox box;
    std::optional<ClientBox> clip;
};
std::optional<FocusRing> FocusRingOf(const Window& window);

// Whether the element is still part of the window's tree (an element removed from a control array is not).
bool Contains(const Container& window, const Element* element);

// A pointer event for the element at (x, y) pixels from its top-left corner, in the element's own units:
// twips for labels and images (Element::ReportsTwips), pixels for picture boxes; and the point in the
// client area of the window the element lies in.
PointerEvent PointerEventAt(const Element& element, double x, double y, int button, int shift, double twipsPerPixelX,
                            double twipsPerPixelY);

// The same from a point in the window's client pixels.
PointerEvent PointerEventFor(const Container& window, const Element& element, double clientX, double clientY,
                             int button, int shift, double twipsPerPixelX, double twipsPerPixelY);

// How a scroll bar element maps onto a scroll-bar control, whose positions run from 0 at the top.
// The element's range may be reversed (maximum below minimum); its value then grows towards the top.
struct ScrollMapping {
    int maximum = 0;  // the control's range is 0..maximum, with a page of `page`
    int page = 1;     // the thumb's share of the track: the large step, at least 1
    int position = 0; // the element's value as a position
    bool operator==(const ScrollMapping&) const = default;
};
ScrollMapping MapScrollBar(const ScrollBar& bar);
// The element value for a control position (clamped into the element's range).
std::int16_t ScrollValueAt(const ScrollBar& bar, int position);
// The element value after a line or page step (`steps` of -1 towards the top, +1 towards the bottom).
std::int16_t ScrollValueAfterStep(const ScrollBar& bar, int steps, bool page);

} // namespace platform
