// Fingers and pens on the tile grid: a pan, a tap or a hold, told apart between the press and the lift.
#include "launcher/Touch.h"

#include <algorithm>
#include <utility>

namespace launcher {

namespace {

using platform::PointerEvent;
using platform::PointerHandlers;

void Call(const std::function<void(const PointerEvent&)>& handler, const PointerEvent& e) {
    if (handler) {
        handler(e);
    }
}

// The rows follow the finger: the value it would take, kept in the bar's range. A bar that is not shown
// scrolls nothing, as with the wheel.
void PanGrid(Launcher& app, const PointerEvent& e) {
    platform::ScrollBar& bar = app.form.VScroll;
    if (!bar.visible) {
        return;
    }
    const int low = std::min(bar.min(), bar.max());
    const int high = std::max(bar.min(), bar.max());
    const int value = std::clamp(app.values.touch.ValueFollowing(e, app.cat.cellHeight), low, high);
    if (value != bar.value()) {
        static_cast<void>(bar.SetValue(static_cast<Int16>(value)));
    }
}

// `mouse`: the element's own handlers, which the mouse keeps and a tap runs.
PointerHandlers TouchOrMouse(Launcher& app, PointerHandlers mouse) {
    PointerHandlers both = mouse;
    both.down = [&app, mouse](const PointerEvent& e) {
        if (!platform::IsTouch(e)) {
            Call(mouse.down, e);
            return;
        }
        // Only the finger itself presses; a right button from a touch (the system's press-and-hold) does
        // nothing.
        if (e.button != platform::kLeftButton) {
            return;
        }
        app.values.touch.Begin(e, app.form.VScroll.value());
        Call(mouse.move, e); // a finger has no hover: its press shows the tile's description
    };
    both.move = [&app, mouse](const PointerEvent& e) {
        if (!platform::IsTouch(e)) {
            Call(mouse.move, e);
        } else if (app.values.touch.Moves(e)) {
            PanGrid(app, e);
        }
    };
    both.up = [&app, mouse](const PointerEvent& e) {
        if (!platform::IsTouch(e)) {
            Call(mouse.up, e);
            return;
        }
        platform::TouchGesture& touch = app.values.touch;
        if (!touch.down || e.button != platform::kLeftButton) {
            return;
        }
        const bool held = touch.HeldAt(e);
        const bool moved = touch.Moves(e);
        touch.End();
        if (moved) {
            PanGrid(app, e);
        }
        const bool tap = !moved && !held;
        if (tap) {
            // A tap is a click: the press where the finger came down, the release where it left.
            Call(mouse.down, touch.start);
            Call(mouse.up, e);
        }
    };
    // A double tap is two taps, never the mouse's double click.
    both.doubleClick = [mouse, down = both.down](const PointerEvent& e) {
        Call(platform::IsTouch(e) ? down : mouse.doubleClick, e);
    };
    return both;
}

} // namespace

void ConnectTouch(Launcher& app) {
    Form1& f = app.form;
    const auto wrap = [&app](platform::Element& element) {
        element.handlers = TouchOrMouse(app, std::move(element.handlers));
    };
    // Slots made later are copies of slot 0, wrapped handlers and all.
    for (int k = 0; k < f.progIcon.Count(); ++k) {
        wrap(f.progIcon[k]);
    }
    for (int k = 0; k < f.progName.Count(); ++k) {
        wrap(f.progName[k]);
    }
    for (int k = 0; k < f.prVidBut.Count(); ++k) {
        wrap(f.prVidBut[k]);
    }
    wrap(f.progHolder); // between the tiles
}

} // namespace launcher
