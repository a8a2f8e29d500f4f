// Element geometry: visibility through the picture boxes around an element, boxes in client pixels, hit
// testing in z-order with clipping to picture boxes, pointer units, and the scroll-bar mapping.
#include "platform/ElementGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

Element* HitIn(const Container& container, double originX, double originY, double x, double y) {
    const auto& children = container.children();
    // Front to back: the last child is drawn last, so it is the one the pointer is on.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Element* element = *it;
        if (!element->visible || IsControl(*element)) {
            continue;
        }
        const ClientBox box{originX + element->left, originY + element->top, element->width, element->height};
        if (!box.Contains(x, y)) {
            continue; // outside it, and so outside its children too: a picture box clips them
        }
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(element)) {
            if (Element* inner = HitIn(*pictureBox, box.left, box.top, x, y)) {
                return inner;
            }
        }
        return element;
    }
    return nullptr;
}

} // namespace

bool Shown(const Element& element) {
    for (const Element* e = &element; e != nullptr; e = dynamic_cast<const Element*>(e->container())) {
        if (!e->visible) {
            return false;
        }
    }
    return true;
}

bool IsControl(const Element& element) {
    const Element::Kind kind = element.kind();
    return kind == Element::Kind::ScrollBar || kind == Element::Kind::CheckBox || kind == Element::Kind::Button;
}

std::optional<ClientBox> BoxInWindow(const Container& window, const Element& element) {
    ClientBox box{element.left, element.top, element.width, element.height};
    const Container* container = element.container();
    while (container != &window) {
        const auto* pictureBox = dynamic_cast<const PictureBox*>(container);
        if (pictureBox == nullptr) {
            return std::nullopt; // detached, or in another window
        }
        box.left += pictureBox->left;
        box.top += pictureBox->top;
        container = pictureBox->container();
    }
    return box;
}

Element* ElementAt(const Container& window, double x, double y) {
    return HitIn(window, 0, 0, x, y);
}

namespace {

void UniteRing(const Window& window, const Container& container, std::optional<FocusRing>& ring) {
    for (const Element* child : container.children()) {
        if (child->focusRing && Shown(*child)) {
            if (const std::optional<ClientBox> box = BoxInWindow(window, *child)) {
                if (!ring) {
                    ring = FocusRing{*box, std::nullopt};
                    if (const auto* holder = dynamic_cast<const PictureBox*>(&container)) {
                        ring->clip = BoxInWindow(window, *holder);
                    }
                } else {
                    const double right = std::max(ring->box.left + ring->box.width, box->left + box->width);
                    const double bottom = std::max(ring->box.top + ring->box.height, box->top + box->height);
                    ring->box.left = std::min(ring->box.left, box->left);
                    ring->box.top = std::min(ring->box.top, box->top);
                    ring->box.width = right - ring->box.left;
                    ring->box.height = bottom - ring->box.top;
                }
            }
        }
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(child)) {
            UniteRing(window, *pictureBox, ring);
        }
    }
}

} // namespace

std::optional<FocusRing> FocusRingOf(const Window& window) {
    std::optional<FocusRing> ring;
    if (window.keyboardCues) {
        UniteRing(window, window, ring);
    }
    return ring;
}

bool Contains(const Container& window, const Element* element) {
    if (element == nullptr) {
        return false;
    }
    for (const Element* child : window.children()) {
        if (child == element) {
            return true;
        }
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(child)) {
            if (Contains(*pictureBox, element)) {
                return true;
            }
        }
    }
    return false;
}

PointerEvent PointerEventAt(const Element& element, double x, double y, int button, int shift, double twipsPerPixelX,
                            double twipsPerPixelY) {
    PointerEvent event{element.index(), button, shift, x, y};
    // The element's place in its window: its own Left and Top and those of the picture boxes around it.
    event.windowX = x + element.left;
    event.windowY = y + element.top;
    for (const auto* box = dynamic_cast<const PictureBox*>(element.container()); box != nullptr;
         box = dynamic_cast<const PictureBox*>(box->container())) {
        event.windowX += box->left;
        event.windowY += box->top;
    }
    if (element.ReportsTwips()) {
        event.x *= twipsPerPixelX;
        event.y *= twipsPerPixelY;
    }
    return event;
}

PointerEvent PointerEventFor(const Container& window, const Element& element, double clientX, double clientY,
                             int button, int shift, double twipsPerPixelX, double twipsPerPixelY) {
    const ClientBox box = BoxInWindow(window, element).value_or(ClientBox{});
    return PointerEventAt(element, clientX - box.left, clientY - box.top, button, shift, twipsPerPixelX,
                          twipsPerPixelY);
}

ScrollMapping MapScrollBar(const ScrollBar& bar) {
    const int low = bar.min();
    const int high = bar.max();
    const int span = std::abs(high - low);
    const int page = std::max<int>(1, bar.largeChange);
    const int position = std::clamp(std::abs(bar.value() - low), 0, span);
    // With a page of `page`, the highest position a control reaches is maximum - page + 1 = span.
    return ScrollMapping{span + page - 1, page, position};
}

std::int16_t ScrollValueAt(const ScrollBar& bar, int position) {
    const int low = bar.min();
    const int high = bar.max();
    const int span = std::abs(high - low);
    const int sign = high >= low ? 1 : -1;
    return static_cast<std::int16_t>(low + sign * std::clamp(position, 0, span));
}

std::int16_t ScrollValueAfterStep(const ScrollBar& bar, int steps, bool page) {
    const int low = bar.min();
    const int high = bar.max();
    const int sign = high >= low ? 1 : -1;
    const int step = page ? bar.largeChange : bar.smallChange;
    const int target = bar.value() + sign * steps * step;
    return static_cast<std::int16_t>(std::clamp(target, std::min(low, high), std::max(low, high)));
}

} // namespace platform
