#include "platform/Elements.h"

#include <algorithm>
#include <cmath>

namespace platform {

void Container::Add(Element& child) {
    if (child.container_ != nullptr && child.container_ != this) {
        child.container_->Remove(child);
    }
    child.container_ = this;
    if (std::find(children_.begin(), children_.end(), &child) == children_.end()) {
        children_.push_back(&child);
    }
}

void Container::Remove(Element& child) {
    children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
    if (child.container_ == this) {
        child.container_ = nullptr;
    }
}

void Container::ZOrderFront(Element& child) {
    const auto it = std::find(children_.begin(), children_.end(), &child);
    if (it != children_.end()) {
        std::rotate(it, it + 1, children_.end());
    }
}

int Container::ZIndexOf(const Element& child) const {
    const auto it = std::find(children_.begin(), children_.end(), &child);
    return it == children_.end() ? -1 : static_cast<int>(it - children_.begin());
}

Label::Label(std::string name, const TextMeasurer& measurer, bool autoSize)
    : Element(Kind::Label, std::move(name)), measurer_(&measurer), autoSize_(autoSize) {}

void Label::SetCaption(Text caption) {
    caption_ = std::move(caption);
    Fit();
}

void Label::SetFont(Font font) {
    font_ = std::move(font);
    Fit();
}

void Label::SetFontSize(double points) {
    font_.size = points;
    Fit();
}

void Label::Fit() {
    if (autoSize_) {
        const TextSize size = measurer_->MeasureText(font_, caption_);
        width = size.width;
        height = size.height;
    }
}

void PictureBox::Cls() {
    const int w = std::max(0, static_cast<int>(std::lround(width)));
    const int h = std::max(0, static_cast<int>(std::lround(height)));
    surface_ = Bitmap(w, h, backColor);
}

std::int16_t ScrollBar::Clamped(std::int16_t value) const {
    const auto low = std::min(min_, max_);
    const auto high = std::max(min_, max_);
    return std::clamp(value, low, high);
}

bool ScrollBar::SetValue(std::int16_t value) {
    if (Clamped(value) != value) {
        return false;
    }
    if (value != value_) {
        value_ = value;
        if (onChange) {
            onChange();
        }
    }
    return true;
}

void TurnWheel(ScrollBar& bar, int& rest, int delta, int step) {
    rest += std::clamp(delta, -100 * kWheelNotch, 100 * kWheelNotch);
    const int notches = rest / kWheelNotch;
    rest -= notches * kWheelNotch;
    if (notches == 0 || !bar.visible || bar.max() < bar.min()) {
        return;
    }
    const int value = std::clamp<int>(bar.value() - notches * step, bar.min(), bar.max());
    static_cast<void>(bar.SetValue(static_cast<std::int16_t>(value)));
}

void ScrollBar::SetMin(std::int16_t min) {
    min_ = min;
    (void)SetValue(Clamped(value_));
}

void ScrollBar::SetMax(std::int16_t max) {
    max_ = max;
    (void)SetValue(Clamped(value_));
}

void ScrollBar::Scroll(std::int16_t value) {
    value_ = Clamped(value);
    if (onScroll) {
        onScroll();
    }
}

} // namespace platform
