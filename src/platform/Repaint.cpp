// The looks of a window's elements and the areas where two looks differ.
#include "platform/Repaint.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <type_traits>

namespace platform {
namespace {

// FNV-1a over the bytes of what an element draws: a digest, so that a look holds no copy of text or pixels.
class Digest {
public:
    template <class T>
    Digest& Add(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        return Bytes(bytes, sizeof(T));
    }
    Digest& Add(const Text& text) { return Add(text.size()).Bytes(text.data(), text.size() * sizeof(char16_t)); }
    Digest& Add(const Rgb& colour) { return Add(Argb(colour)); }
    Digest& Add(const Font& font) { return Add(font.face).Add(font.size).Add(font.bold); }
    std::uint64_t Value() const { return hash_; }

private:
    Digest& Bytes(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ bytes[i]) * 0x100000001B3ull;
        }
        return *this;
    }
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

std::optional<ClientBox> Intersection(const ClientBox& a, const ClientBox& b) {
    const double left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const double right = std::min(a.left + a.width, b.left + b.width);
    const double bottom = std::min(a.top + a.height, b.top + b.height);
    if (right <= left || bottom <= top) {
        return std::nullopt;
    }
    return ClientBox{left, top, right - left, bottom - top};
}

ClientBox Union(const ClientBox& a, const ClientBox& b) {
    const double left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    const double right = std::max(a.left + a.width, b.left + b.width);
    const double bottom = std::max(a.top + a.height, b.top + b.height);
    return ClientBox{left, top, right - left, bottom - top};
}

// Digests what the element draws: the painter's inputs for its kind.
void AddAppearance(Digest& digest, const Element& element) {
    switch (element.kind()) {
    case Element::Kind::Label: {
        const auto& label = static_cast<const Label&>(element);
        digest.Add(label.caption()).Add(label.font()).Add(label.foreColor).Add(label.autoSize());
        digest.Add(label.backColor.has_value()).Add(label.backColor.value_or(kBlack));
        break;
    }
    case Element::Kind::Image:
        digest.Add(static_cast<const Image&>(element).picture.get());
        break;
    case Element::Kind::PictureBox: {
        const auto& box = static_cast<const PictureBox&>(element);
        const Bitmap& surface = box.surface();
        digest.Add(box.backColor).Add(surface.width).Add(surface.height);
        for (const std::uint32_t pixel : surface.pixels) {
            digest.Add(pixel);
        }
        break;
    }
    case Element::Kind::Shape:
        digest.Add(static_cast<const Shape&>(element).fillColor);
        break;
    case Element::Kind::ScrollBar:
    case Element::Kind::CheckBox:
    case Element::Kind::Button:
        break; // controls draw themselves
    }
}

void AddLooks(WindowLooks& looks, const Container& container, double originX, double originY, const ClientBox& clip) {
    const std::vector<Element*>& children = container.children();
    for (std::size_t z = 0; z < children.size(); ++z) {
        const Element& element = *children[z];
        if (!element.visible || IsControl(element)) {
            continue;
        }
        const ClientBox box{originX + element.left, originY + element.top, element.width, element.height};
        const std::optional<ClientBox> area = Intersection(box, clip);
        if (!area) {
            continue; // nothing of it, nor of its children, shows
        }
        Digest digest;
        digest.Add(&container).Add(z).Add(box.left).Add(box.top).Add(box.width).Add(box.height);
        digest.Add(element.kind());
        AddAppearance(digest, element);
        looks.elements[&element] = WindowLooks::Look{*area, digest.Value()};
        if (const auto* pictureBox = dynamic_cast<const PictureBox*>(&element)) {
            AddLooks(looks, *pictureBox, box.left, box.top, *area);
        }
    }
}

// The focus ring's dots lie up to two pixels outside its box.
std::optional<ClientBox> RingArea(const std::optional<FocusRing>& ring) {
    if (!ring) {
        return std::nullopt;
    }
    const ClientBox& box = ring->box;
    const ClientBox around{box.left - 2, box.top - 2, box.width + 4, box.height + 4};
    return ring->clip ? Intersection(around, *ring->clip) : around;
}

bool SameRing(const std::optional<FocusRing>& a, const std::optional<FocusRing>& b) {
    const auto area = [](const std::optional<ClientBox>& box) {
        return box ? std::optional{std::tuple{box->left, box->top, box->width, box->height}} : std::nullopt;
    };
    return RingArea(a).has_value() == RingArea(b).has_value() && area(RingArea(a)) == area(RingArea(b));
}

} // namespace

WindowLooks LooksOf(const Window& window) {
    WindowLooks looks;
    looks.taken = true;
    looks.backColor = window.backColor;
    looks.ring = FocusRingOf(window);
    const double everywhere = 1e9;
    AddLooks(looks, window, 0, 0, ClientBox{-everywhere, -everywhere, 2 * everywhere, 2 * everywhere});
    return looks;
}

Repaint RepaintBetween(const WindowLooks& before, const WindowLooks& after) {
    if (!before.taken || !after.taken || before.backColor != after.backColor) {
        return Repaint{true, {}};
    }
    Repaint repaint;
    const auto add = [&repaint](const ClientBox& area) {
        const auto same = [&area](const ClientBox& b) {
            return b.left == area.left && b.top == area.top && b.width == area.width && b.height == area.height;
        };
        if (std::none_of(repaint.areas.begin(), repaint.areas.end(), same)) {
            repaint.areas.push_back(area);
        }
    };
    for (const auto& [element, look] : before.elements) {
        const auto now = after.elements.find(element);
        if (now == after.elements.end() || now->second.digest != look.digest) {
            add(look.area);
        }
    }
    for (const auto& [element, look] : after.elements) {
        const auto then = before.elements.find(element);
        if (then == before.elements.end() || then->second.digest != look.digest) {
            add(look.area);
        }
    }
    if (!SameRing(before.ring, after.ring)) {
        for (const std::optional<ClientBox> area : {RingArea(before.ring), RingArea(after.ring)}) {
            if (area) {
                add(*area);
            }
        }
    }
    if (repaint.areas.size() > kMostRepaintAreas) {
        ClientBox all = repaint.areas.front();
        for (const ClientBox& area : repaint.areas) {
            all = Union(all, area);
        }
        repaint.areas = {all};
    }
    // In reading order, whatever order the elements were looked at in.
    std::sort(repaint.areas.begin(), repaint.areas.end(), [](const ClientBox& a, const ClientBox& b) {
        return std::tie(a.top, a.left, a.height, a.width) < std::tie(b.top, b.left, b.height, b.width);
    });
    return repaint;
}

} // namespace platform
