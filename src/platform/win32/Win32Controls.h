// Native child controls of a window: a scroll-bar control behind each scroll bar element, a check box or
// push button behind each check box and button element. They are kept in step with element state (place,
// visibility, range and position, tick, caption, font) and lead back to their element when they report.
// Places and fonts are mapped from design to device pixels at the window's display scale.
#pragma once

#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Shared.h"

#include <cstdint>
#include <map>
#include <string>

namespace platform {

class ChildControls {
public:
    // `scale`: the window's display scale, which must outlive the controls.
    ChildControls(const Window& window, const DisplayScale& scale, Win32Shared& shared)
        : window_(&window), scale_(&scale), shared_(&shared) {}

    // Makes, moves, shows, hides and fills the controls of every control element of the window, in
    // z-order; a control is made when its element first shows, and destroyed when its element leaves the
    // tree.
    void Sync(HWND__* parent);
    // The element whose control this is, while it is still part of the window; nothing otherwise.
    Element* ElementOf(HWND__* control) const;
    // The element's control while it shows; nothing otherwise.
    HWND__* ShownControl(const Element* element) const;
    // The brush for a control's ground (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN): a check box's own back colour,
    // the window's colour around a push button. Nothing for a control that is not one of these.
    HBRUSH__* Ground(HWND__* control, HDC__* dc);
    // Draws a push button (owner-drawn: version 6 of the common controls draws push buttons white whatever
    // the ground brush, and the form's buttons are designed on its own light grey) in its `width` x
    // `height` device pixels: the window's colour with a raised edge (sunken while pressed), the caption
    // centred in the button's font, and the focus rectangle inside the edge.
    void DrawButton(HWND__* control, HDC__* dc, int width, int height, bool pressed, bool focused);
    // The parent window is gone, and its controls with it.
    void Forget();

private:
    struct Control {
        WindowHandle hwnd;
        int left = 0, top = 0, width = 0, height = 0;
        bool shown = false;
        ScrollMapping scroll{-1, -1, -1};
        std::wstring caption;
        int value = -1;
        HFONT__* font = nullptr;
    };

    void SyncControl(HWND__* parent, const Element& element, Control& control);
    HBRUSH__* Brush(Rgb colour);

    const Window* window_;
    const DisplayScale* scale_;
    Win32Shared* shared_;
    std::map<const Element*, Control> controls_;
    std::map<std::uint32_t, BrushHandle> brushes_; // by colour, made once
};

} // namespace platform
