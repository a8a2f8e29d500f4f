// Moving and resizing the borderless window through its own title bar and border strips, the caption
// buttons (minimise, maximise/restore, exit) and the press nudge that makes a pressed element look pushed.
// The elements' event handlers are file-local; ConnectFrame gives the elements them.
//
// Units: the window's Left, Top, Width and Height and the screen's size are twips; element positions are
// pixels inside their container. The title bar reports pointer positions in pixels, the top strip, the
// title text and the border strips in twips.
//
// Window positions and sizes are worked out in 32-bit integers rather than 16-bit ones, so that screens
// and windows beyond 32767 twips (about 2184 pixels at 15 twips per pixel) move and resize like any other;
// the rounding is the same (nearest integer, ties to the even one).
#include "launcher/Moves.h"

#include "catalogue/Misc.h"
#include "launcher/Frame.h"
#include "launcher/Tiles.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

namespace launcher {

namespace {

using catalogue::Clamp;
using catalogue::MaxInt;
using catalogue::Nearest;
using catalogue::NearestAs;
using platform::PointerEvent;
using platform::WindowState;
using Twips = std::int32_t;

// The smallest window the border strips leave, in pixels.
constexpr double kMinimumWidthPx = 360;
constexpr double kMinimumHeightPx = 290;

// How far the press nudge pushes an element, and how far it may have moved before the release still puts
// it back, in its container's units.
constexpr double kNudge = 2;
constexpr double kReleaseTolerance = 2;

bool IsMaximised(const Launcher& app) {
    return app.system.GetWindowState() == WindowState::Maximised;
}

// A move drags only with a mouse button held and only while the window is not maximised.
bool IsActiveMove(const Launcher& app, const PointerEvent& e) {
    return !IsMaximised(app) && e.button != 0;
}

// Remembers where the pointer went down in the pressed element, in that element's units.
void RecordPress(Launcher& app, const PointerEvent& e) {
    if (const auto x = NearestAs<Twips>(e.x)) {
        app.values.downX = *x;
    }
    if (const auto y = NearestAs<Twips>(e.y)) {
        app.values.downY = *y;
    }
}

// The pointer's movement since the press, in twips. The element moves with the window, so this is how far
// the pointer has travelled from the point that was pressed.
struct Displacement {
    double dx = 0, dy = 0;
};

Displacement TwipsMoved(const Launcher& app, const PointerEvent& e) {
    return Displacement{e.x - app.values.downX, e.y - app.values.downY};
}

Displacement PixelsMovedInTwips(const Launcher& app, const PointerEvent& e) {
    const platform::ScreenInfo screen = app.system.Screen();
    return Displacement{(e.x - app.values.downX) * screen.twipsPerPixelX,
                        (e.y - app.values.downY) * screen.twipsPerPixelY};
}

// Moves the window by the displacement, keeping it on the screen. Left is set before Top is worked out.
void MoveWindow(Launcher& app, Displacement d) {
    platform::System& system = app.system;
    const platform::ScreenInfo screen = system.Screen();
    {
        const auto newLeft = NearestAs<Twips>(system.WindowLeft() + d.dx);
        const auto highestLeft = NearestAs<Twips>(screen.widthTwips - system.WindowWidth());
        if (newLeft && highestLeft) {
            // A refused position leaves the window where it was.
            static_cast<void>(system.SetWindowLeft(Clamp<Twips>(*newLeft, 0, *highestLeft)));
        }
    }
    {
        const auto newTop = NearestAs<Twips>(system.WindowTop() + d.dy);
        const auto highestTop = NearestAs<Twips>(screen.heightTwips - system.WindowHeight());
        if (newTop && highestTop) {
            static_cast<void>(system.SetWindowTop(Clamp<Twips>(*newTop, 0, *highestTop)));
        }
    }
}

void DragWindow(Launcher& app, const PointerEvent& e, bool reportsPixels) {
    if (IsActiveMove(app, e)) {
        MoveWindow(app, reportsPixels ? PixelsMovedInTwips(app, e) : TwipsMoved(app, e));
    }
}

// A release over a border strip re-flows the tiles to the new size from the first row.
void BorderRelease(Launcher& app, const PointerEvent& /*e*/) {
    if (IsMaximised(app)) {
        return;
    }
    // 0 always lies in the scroll range, whose minimum is 0; a change of value rebuilds the tiles itself.
    static_cast<void>(app.form.VScroll.SetValue(0));
    LayoutTiles(app);
}

// One press-nudge slot: where the element was before the nudge (nearest whole unit) and, exactly, where
// the nudge left it.
struct NudgeSlot {
    Int16& pressLeft;
    Int16& pressTop;
    double& nudgedLeft;
    double& nudgedTop;
};

NudgeSlot FirstSlot(Launcher& app) {
    ModuleValues& v = app.values;
    return NudgeSlot{v.pressLeft, v.pressTop, v.nudgedLeft, v.nudgedTop};
}

NudgeSlot SecondSlot(Launcher& app) {
    ModuleValues& v = app.values;
    return NudgeSlot{v.pressLeft2, v.pressTop2, v.nudgedLeft2, v.nudgedTop2};
}

void Press(platform::Element& element, NudgeSlot slot) {
    const auto left = Nearest(element.left);
    const auto top = Nearest(element.top);
    if (left) {
        slot.pressLeft = *left;
    }
    if (top) {
        slot.pressTop = *top;
    }
    element.left += kNudge;
    element.top += kNudge;
    // A press point that did not fit 16 bits is no place to go back to.
    const double nowhere = std::numeric_limits<double>::quiet_NaN();
    slot.nudgedLeft = left && top ? element.left : nowhere;
    slot.nudgedTop = left && top ? element.top : nowhere;
}

void Release(platform::Element& element, NudgeSlot slot) {
    const bool withinTolerance = std::abs(element.left - slot.pressLeft) <= kReleaseTolerance &&
                                 std::abs(element.top - slot.pressTop) <= kReleaseTolerance;
    // An element at a fractional place (below the half) lies more than 2 units from its rounded press point
    // once nudged; it still goes back when nothing else has moved it.
    const bool untouched = element.left == slot.nudgedLeft && element.top == slot.nudgedTop;
    if (!withinTolerance && !untouched) {
        // Something else moved the element since the press: it stays where it is now.
        return;
    }
    element.left = slot.pressLeft;
    element.top = slot.pressTop;
}

// ---- dragging the window by the title bar, the top strip and the title text ----

// The title bar reports pixels, the top strip and the title text twips.
void DragByTitleBar(Launcher& app, const PointerEvent& e) {
    DragWindow(app, e, true);
}

void DragByStripOrText(Launcher& app, const PointerEvent& e) {
    DragWindow(app, e, false);
}

// ---- resizing by the border strips ----

// The right edge and the bottom edge follow the pointer: the window's width (or height) grows by the
// pointer's displacement, never below the minimum size, and the frame is laid out again.
void ResizeByEdge(Launcher& app, const PointerEvent& e, bool width) {
    if (!IsActiveMove(app, e)) {
        return;
    }
    platform::System& system = app.system;
    const platform::ScreenInfo& screen = system.Screen();
    const auto newSize = NearestAs<Twips>(width ? system.WindowWidth() + TwipsMoved(app, e).dx
                                                : system.WindowHeight() + TwipsMoved(app, e).dy);
    const auto lowest =
        NearestAs<Twips>(width ? kMinimumWidthPx * screen.twipsPerPixelX : kMinimumHeightPx * screen.twipsPerPixelY);
    if (newSize && lowest) {
        const Twips size = MaxInt<Twips>(*newSize, *lowest);
        static_cast<void>(width ? system.SetWindowWidth(size) : system.SetWindowHeight(size));
    }
    LayoutFrame(app, catalogue::kFalse);
}

void rightBorder_MouseMove(Launcher& app, const PointerEvent& e) {
    ResizeByEdge(app, e, true);
}

void botBar_MouseMove(Launcher& app, const PointerEvent& e) {
    ResizeByEdge(app, e, false);
}

void leftBorder_MouseMove(Launcher& app, const PointerEvent& e) {
    if (!IsActiveMove(app, e)) {
        return;
    }
    platform::System& system = app.system;
    if (system.ScaleWidth() < kMinimumWidthPx) {
        // The previous move took the window below the minimum: widen it again to the right, keeping the
        // left edge where the pointer put it; this move's displacement is not applied.
        static_cast<void>(system.SetWindowWidth(kMinimumWidthPx * system.Screen().twipsPerPixelX));
    } else {
        // The left edge follows the pointer and the right edge stays put. The two settings go together: a
        // width the window refuses (the pointer crossed the right edge) would otherwise shift the whole
        // window instead of resizing it.
        const double dx = TwipsMoved(app, e).dx;
        const double oldLeft = system.WindowLeft();
        const double newWidth = system.WindowWidth() - dx;
        if (newWidth >= 0 && system.SetWindowLeft(oldLeft + dx) && !system.SetWindowWidth(newWidth)) {
            static_cast<void>(system.SetWindowLeft(oldLeft));
        }
    }
    LayoutFrame(app, catalogue::kFalse);
}

} // namespace

// ---- the press nudge ----

void PressButton(Launcher& app, platform::Element& element) {
    Press(element, FirstSlot(app));
}

void ReleaseButton(Launcher& app, platform::Element& element) {
    Release(element, FirstSlot(app));
}

void PressButton2(Launcher& app, platform::Element& element) {
    Press(element, SecondSlot(app));
}

void ReleaseButton2(Launcher& app, platform::Element& element) {
    Release(element, SecondSlot(app));
}

// ---- maximise and restore ----

void MaximiseWindow(Launcher& app) {
    app.system.SetWindowState(WindowState::Maximised);
    LayoutFrame(app, catalogue::kTrue);
    static_cast<void>(app.form.VScroll.SetValue(0));
    LayoutTiles(app);
}

void RestoreWindow(Launcher& app) {
    platform::System& system = app.system;
    const platform::ScreenInfo screen = system.Screen();
    // The platform gives back the size the window had before it was maximised.
    system.SetWindowState(WindowState::Normal);
    if (system.ScaleWidth() < kMinimumWidthPx) {
        static_cast<void>(system.SetWindowWidth(kMinimumWidthPx * screen.twipsPerPixelX));
    }
    // No taller than 90% of the screen, in whole twips; the width has no cap but the minimum.
    const double heightCap = std::floor(0.9 * screen.heightTwips);
    if (std::isfinite(heightCap) && heightCap < system.WindowHeight()) {
        static_cast<void>(system.SetWindowHeight(heightCap));
    }
    // A restored window always goes to the screen's top-left corner.
    static_cast<void>(system.SetWindowLeft(0));
    static_cast<void>(system.SetWindowTop(0));
    LayoutFrame(app, catalogue::kFalse);
    static_cast<void>(app.form.VScroll.SetValue(0));
    LayoutTiles(app);
}

namespace {

// ---- caption buttons: any mouse button; the release acts wherever the pointer is ----

void MinBut_MouseDown(Launcher& app, const PointerEvent& /*e*/) {
    PressButton(app, app.form.MinBut);
}

void MinBut_MouseUp(Launcher& app, const PointerEvent& /*e*/) {
    ReleaseButton(app, app.form.MinBut);
    // The platform keeps the state and layout the window comes back with; nothing is laid out here.
    app.system.SetWindowState(WindowState::Minimised);
}

void restoreBut_MouseDown(Launcher& app, const PointerEvent& /*e*/) {
    PressButton(app, app.form.restoreBut);
}

void restoreBut_MouseUp(Launcher& app, const PointerEvent& /*e*/) {
    ReleaseButton(app, app.form.restoreBut);
    if (IsMaximised(app)) {
        RestoreWindow(app);
    } else {
        MaximiseWindow(app);
    }
}

void ExitBut_MouseDown(Launcher& app, const PointerEvent& /*e*/) {
    PressButton(app, app.form.ExitBut);
}

void ExitBut_MouseUp(Launcher& app, const std::function<void()>& quit) {
    ReleaseButton(app, app.form.ExitBut);
    quit();
}

// The system menu runs what the caption buttons run, so the window always gets its layout and the
// buttons' tips. A minimised window coming back is left to the system: it returns as it was.
bool Form1_SystemCommand(Launcher& app, platform::SystemCommand command) {
    switch (command) {
    case platform::SystemCommand::Restore:
        if (IsMaximised(app)) {
            RestoreWindow(app);
            return true;
        }
        return false;
    case platform::SystemCommand::Maximise:
        MaximiseWindow(app);
        return true;
    case platform::SystemCommand::Minimise:
        app.system.SetWindowState(WindowState::Minimised);
        return true;
    }
    return false;
}

} // namespace

void ConnectFrame(Launcher& app, std::function<void()> quit) {
    using Handler = void (*)(Launcher&, const PointerEvent&);
    struct Wiring {
        platform::Element& element;
        Handler down, move, up;
    };
    Form1& f = app.form;
    const Wiring wiring[] = {
        // Title bar: drag handles and caption buttons (the exit button's release is wired below).
        {f.topBar, RecordPress, DragByTitleBar, nullptr},
        {f.topSmoother, RecordPress, DragByStripOrText, nullptr},
        {f.topText, RecordPress, DragByStripOrText, nullptr},
        {f.MinBut, MinBut_MouseDown, nullptr, MinBut_MouseUp},
        {f.restoreBut, restoreBut_MouseDown, nullptr, restoreBut_MouseUp},
        {f.ExitBut, ExitBut_MouseDown, nullptr, nullptr},
        // Border strips: resize handles.
        {f.rightBorder, RecordPress, rightBorder_MouseMove, BorderRelease},
        {f.botBar, RecordPress, botBar_MouseMove, BorderRelease},
        {f.leftBorder, RecordPress, leftBorder_MouseMove, BorderRelease},
    };
    const auto to = [&app](Handler handler) -> std::function<void(const PointerEvent&)> {
        if (handler == nullptr) {
            return nullptr;
        }
        return [&app, handler](const PointerEvent& e) { handler(app, e); };
    };
    for (const Wiring& w : wiring) {
        w.element.handlers.down = to(w.down);
        w.element.handlers.move = to(w.move);
        w.element.handlers.up = to(w.up);
    }
    f.ExitBut.handlers.up = [&app, quit = std::move(quit)](const PointerEvent&) { ExitBut_MouseUp(app, quit); };
    f.onSystemCommand = [&app](platform::SystemCommand command) { return Form1_SystemCommand(app, command); };
}

} // namespace launcher
