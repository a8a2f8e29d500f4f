// What a window repaints after its elements changed: the look of each shown element (where it shows and a
// digest of what it draws) is taken after every event, and only the areas where two takes differ are
// repainted. A pointer move that changes no element's look repaints nothing; a hover repaints the elements
// it changed; a scroll, the tiles that moved. Standard library only: the Win32 window and the headless
// driver both use it, and it is tested on the host.
#pragma once

#include "platform/ElementGeometry.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace platform {

// How a window looks, element by element: enough to tell what changed, not to draw it.
struct WindowLooks {
    struct Look {
        ClientBox area;           // the part of the element that shows, clipped by the picture boxes around it
        std::uint64_t digest = 0; // its place among its siblings, its box and what it draws
    };
    bool taken = false; // false: nothing is known, so everything repaints
    Rgb backColor;
    std::optional<FocusRing> ring;
    std::unordered_map<const Element*, Look> elements; // the shown elements that the window draws itself
};

WindowLooks LooksOf(const Window& window);

// The areas to repaint in client pixels, or the whole window.
struct Repaint {
    bool all = false;
    std::vector<ClientBox> areas;
    bool operator==(const Repaint&) const = default;
};

// Above this many areas, their bounding box is repainted instead (a scroll moves every tile).
inline constexpr std::size_t kMostRepaintAreas = 16;

// What changed between two looks of the same window: the areas of elements that came, went or changed
// (both where they were and where they are), and the focus ring's old and new places.
Repaint RepaintBetween(const WindowLooks& before, const WindowLooks& after);

} // namespace platform
