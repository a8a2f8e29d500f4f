// Headless driver: what a test uses to act like a user on the headless platform.
// Implements: pointer presses, moves and releases on an element (positions given in pixels from the
// element's top-left corner, delivered in the element's own units; from the mouse, a finger or a pen), key presses and
// wheel turns handed to the window, thumb drags on a scroll bar, and a manual clock that fires the enabled timers it
// watches. The Win32 backend delivers the same events for real; like it, the driver hands an element nothing while it
// or a picture box around it is hidden.
//
// Timers: a timer's period counts from the moment the driver first sees it enabled. The driver looks at
// its timers after every action it performs (and after every tick it fires), so a handler that switches
// a running timer off and on again within one event does not restart its period, and switching on a
// timer that already runs changes nothing.
//
// Repaints: for a window it was told to watch, the driver works out after every action what the Win32
// backend would repaint (RepaintBetween the window's looks before and after).
#pragma once

#include "platform/Elements.h"
#include "platform/Repaint.h"
#include "platform/System.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

class HeadlessDriver {
public:
    // The system gives the screen's twips per pixel, read at every event.
    explicit HeadlessDriver(const System& system) : system_(&system) {}

    // Starts watching a timer; the driver keeps a pointer to it, so the timer must outlive the driver.
    void Watch(Timer& timer);

    // Starts watching what the window's actions repaint; the window must outlive the driver.
    void WatchRepaints(const Window& window);
    // What the last action repainted in the watched window (all of it before the first action).
    const Repaint& LastRepaint() const { return repaint_; }

    // Pointer events at (x, y) pixels from the element's top-left corner; they may lie outside the element,
    // as when the pointer has left an element that holds the capture. Press and Release take the button
    // that changed; Move reports the buttons held since the presses that are not yet released. Each
    // returns false when the element was hidden and received nothing.
    bool Press(Element& element, double x, double y, int button = kLeftButton, int shift = 0);
    bool Move(Element& element, double x, double y, int shift = 0);
    bool Release(Element& element, double x, double y, int button = kLeftButton, int shift = 0);
    // Press and release at the same place.
    bool Click(Element& element, double x, double y, int button = kLeftButton, int shift = 0);
    // What the pointer events that follow come from (the mouse until a test says otherwise); they carry the
    // driver's clock as their time.
    void UsePointer(PointerSource source) { source_ = source; }

    // A key press, seen by the window's key-down handler as the backend's key preview hands it on.
    void Key(Window& window, int keyCode, int shift = 0);
    // The wheel turned by `delta` (kWheelNotch a notch away from the user) with the pointer at (x, y)
    // client pixels.
    void Wheel(Window& window, int delta, double x = 0, double y = 0);

    // The user drags the scroll bar's thumb to `value`: the scroll event, without the change event.
    bool Scroll(ScrollBar& bar, std::int16_t value);

    // Moves the clock on by `ms` milliseconds (not negative), firing each due tick in time order. Timers
    // that the test switched on or off directly are seen at the start, as after any other action.
    void Advance(long long ms);
    long long Now() const { return now_; }

private:
    struct Watched {
        Timer* timer;
        std::optional<long long> since; // when the current period started; nothing while off
    };

    bool Deliver(Element& element, double x, double y, int button, int shift,
                 std::function<void(const PointerEvent&)> PointerHandlers::*which);
    void LookAtTimers();
    // After every action: the timers, and what the action repainted.
    void AfterAction();

    const System* system_;
    std::vector<Watched> timers_;
    long long now_ = 0;
    int held_ = 0; // mask of the buttons pressed and not yet released
    const Window* window_ = nullptr;
    WindowLooks looks_;
    Repaint repaint_{true, {}};
    PointerSource source_ = PointerSource::Mouse;
};

} // namespace platform
