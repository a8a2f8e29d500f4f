#include "platform/headless/HeadlessDriver.h"

#include "platform/ElementGeometry.h"

#include <cassert>

namespace platform {

void HeadlessDriver::Watch(Timer& timer) {
    timers_.push_back(Watched{&timer, std::nullopt});
    LookAtTimers();
}

bool HeadlessDriver::Deliver(Element& element, double x, double y, int button, int shift,
                             std::function<void(const PointerEvent&)> PointerHandlers::*which) {
    if (!Shown(element)) {
        return false;
    }
    const ScreenInfo screen = system_->Screen();
    PointerEvent event = PointerEventAt(element, x, y, button, shift, screen.twipsPerPixelX, screen.twipsPerPixelY);
    event.source = source_;
    event.time = now_;
    // A copy, so that a handler may replace the element's handlers while it runs.
    const auto handler = element.handlers.*which;
    if (handler) {
        handler(event);
    }
    AfterAction();
    return true;
}

bool HeadlessDriver::Press(Element& element, double x, double y, int button, int shift) {
    held_ |= button;
    return Deliver(element, x, y, button, shift, &PointerHandlers::down);
}

bool HeadlessDriver::Move(Element& element, double x, double y, int shift) {
    return Deliver(element, x, y, held_, shift, &PointerHandlers::move);
}

bool HeadlessDriver::Release(Element& element, double x, double y, int button, int shift) {
    held_ &= ~button;
    return Deliver(element, x, y, button, shift, &PointerHandlers::up);
}

void HeadlessDriver::Key(Window& window, int keyCode, int shift) {
    const auto handler = window.onKeyDown;
    if (handler) {
        handler(keyCode, shift);
    }
    AfterAction();
}

void HeadlessDriver::Wheel(Window& window, int delta, double x, double y) {
    const auto handler = window.onWheel;
    if (handler) {
        handler(delta, x, y);
    }
    AfterAction();
}

bool HeadlessDriver::Click(Element& element, double x, double y, int button, int shift) {
    const bool pressed = Press(element, x, y, button, shift);
    const bool released = Release(element, x, y, button, shift);
    return pressed && released;
}

bool HeadlessDriver::Scroll(ScrollBar& bar, std::int16_t value) {
    if (!Shown(bar)) {
        return false;
    }
    bar.Scroll(value);
    AfterAction();
    return true;
}

void HeadlessDriver::LookAtTimers() {
    for (Watched& w : timers_) {
        if (!w.timer->enabled) {
            w.since.reset();
        } else if (!w.since) {
            w.since = now_;
        }
    }
}

void HeadlessDriver::Advance(long long ms) {
    assert(ms >= 0 && "the clock only moves forward");
    // Timers the test itself switched on or off since the last action count from now.
    LookAtTimers();
    const long long end = now_ + ms;
    for (;;) {
        // The earliest tick due by the end; a timer with no interval never ticks.
        Watched* next = nullptr;
        long long due = 0;
        for (Watched& w : timers_) {
            if (w.since && w.timer->interval > 0) {
                const long long at = *w.since + w.timer->interval;
                if (at <= end && (next == nullptr || at < due)) {
                    next = &w;
                    due = at;
                }
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = due;
        next->since = due; // the next period counts from this tick
        const auto tick = next->timer->onTick;
        if (tick) {
            tick();
        }
        LookAtTimers();
    }
    now_ = end;
    AfterAction();
}

void HeadlessDriver::WatchRepaints(const Window& window) {
    window_ = &window;
    looks_ = LooksOf(window);
    repaint_ = Repaint{true, {}};
}

void HeadlessDriver::AfterAction() {
    LookAtTimers();
    if (window_ != nullptr) {
        WindowLooks now = LooksOf(*window_);
        repaint_ = RepaintBetween(looks_, now);
        looks_ = std::move(now);
    }
}

} // namespace platform
