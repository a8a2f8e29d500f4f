// Win32 window host, the Windows backend of a platform::Window (the launcher's main window or a modal dialog).
// The host is split by job: Win32WindowClass.cpp registers the window class and its procedure, which only
// translates each message into one call below (OnPointerDown, OnKeyDown, ...); Win32Window.cpp carries
// those calls out on element state (pointer capture, tooltips, timers, focus, the pointer shape) and
// repaints; painting is Win32Paint, the child controls Win32Controls, the loops Win32MessageLoop.
// No message parameter travels past these files; <windows.h> stays in the .cpp files.
#pragma once

#include "platform/ElementGeometry.h"
#include "platform/win32/Win32Accessible.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Shared.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Win32Window {
public:
    enum class Role { Main, Dialog };

    // `owner`: the window that a dialog belongs to (nothing for the main window). `normalWidth` and
    // `normalHeight`: the main window's client size in its normal state, in design pixels (a dialog takes
    // its own fixed client size). `twipsPerPixel`: the design's, for pointer positions reported in twips.
    // `shared`: the display scale, fonts and libraries of the process, which outlive the window. Everything
    // the window sizes, places and draws is mapped from design to device pixels at the shared scale, and
    // pointer positions back.
    Win32Window(Window& window, Role role, HWND__* owner, double normalWidth, double normalHeight,
                double twipsPerPixelX, double twipsPerPixelY, Win32Shared& shared);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // A private message that wakes the window's thread, posted from any thread: work handed back from the
    // workers is waiting, and onWoken runs it.
    static constexpr unsigned kWakeMessage = 0x8000 + 0x42; // WM_APP + 0x42
    std::function<void()> onWoken;

    // Creates the window, hidden. False when the system refused.
    [[nodiscard]] bool Create();
    HWND__* Handle() const { return hwnd_.Get(); }
    const Window& window() const { return *window_; }
    // Shows the window with a ShowWindow command (SW_SHOWMAXIMIZED, SW_SHOW, ...).
    void Show(int showCommand);
    // Element state changed outside an event of this window (start-up, a dialog that closed): repaint and
    // bring the controls, the timers and the pointer into step.
    void Refresh();

    // ---- what the window procedure turns messages into (positions in client device pixels) ----
    void OnCreated(HWND__* hwnd);
    void OnPointerDown(int x, int y, int button, int shift);
    void OnPointerMove(int x, int y, int heldButtons, int shift);
    void OnPointerUp(int x, int y, int button, int shift);
    void OnDoubleClick(int x, int y, int shift);
    void OnCaptureLost();
    void OnKeyDown(int keyCode, int shift);
    // The wheel turned by `delta` with the pointer at (screenX, screenY), screen pixels.
    void OnWheel(int delta, int screenX, int screenY);
    // WM_ACTIVATE that makes the window the active one, and the wake message.
    void OnActivated();
    void OnWoken();
    // WM_GETOBJECT for the client area: the accessible object's answer, or 0 to leave it to the system.
    std::intptr_t OnGetObject(std::uintptr_t wParam);
    // A reader's default action on child `childId`, posted by the accessible object.
    void OnAccessibleAction(long childId);
    void OnTimer(std::uintptr_t id);
    void OnScrollControl(HWND__* control, int code);
    void OnControlClicked(HWND__* control);
    void OnSystemClose();
    void OnPaint();
    void OnSize();
    // The window went to a screen of another resolution (or the resolution changed): fonts and pictures are
    // made at the new one and the window takes the place and size the system suggests, in device pixels.
    // Its size in design pixels stays, so the core sees no more than a repaint.
    void OnDpiChanged(int dpi, int left, int top, int right, int bottom);
    // An owner-drawn push button is to be drawn (see ChildControls::DrawButton).
    void OnDrawButton(HWND__* control, HDC__* dc, int width, int height, bool pressed, bool focused) {
        controls_.DrawButton(control, dc, width, height, pressed, focused);
    }
    // The pointer shape over the client area; false when a control's own pointer should show.
    bool OnSetCursor(HWND__* over);
    HBRUSH__* OnControlColour(HWND__* control, HDC__* dc) { return controls_.Ground(control, dc); }
    // The text of the tooltip now showing.
    const wchar_t* TooltipText() const { return tooltipText_.c_str(); }
    void OnDestroyed();

    // The host of a top-level window of this process, or nothing.
    static Win32Window* FromHandle(HWND__* hwnd);

private:
    struct RunningTimer {
        const Timer* timer = nullptr;
        int interval = 0;
    };

    void AfterEvent();
    void SyncTimers();
    void SyncCursor();
    void SyncFocus();
    // Tells readers when the focused accessible part changed.
    void NotifyFocusMove();
    // The tip of the element under the pointer at (x, y), client device pixels.
    void UpdateTooltip(Element* hovered, int x, int y);
    // The tip's text follows its element's when that changed under a still pointer.
    void SyncTooltipText();
    void MakeTooltip(int x, int y);
    // The element that a press at (x, y), client design pixels, goes to, taking the capture for it.
    Element* Capture(double x, double y, int button);
    void Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, double x, double y,
                 int button, int shift);
    const DisplayScale& Scale() const { return shared_->Scale(); }

    Window* window_;
    Role role_;
    HWND__* owner_;
    double normalWidth_, normalHeight_;
    double twipsPerPixelX_, twipsPerPixelY_;
    Win32Shared* shared_;
    WindowHandle hwnd_;
    WindowHandle tooltip_; // owned by the window: the system destroys it with the window
    std::wstring tooltipText_;
    const Element* tooltipElement_ = nullptr;
    ChildControls controls_;

    // The paint's buffer: a DIB section as wide as the client area and kPaintBandRows high, kept between
    // paints.
    std::unique_ptr<DibSection> band_;

    // Pointer capture: the element that took the press receives every pointer event until the last held
    // button comes up.
    Element* captured_ = nullptr;
    int held_ = 0;

    std::vector<RunningTimer> timers_;                  // by index into window.timers; the timer id is the index + 1
    std::unique_ptr<Win32Accessibility> accessibility_; // made at the first WM_GETOBJECT
    long accessibleFocus_ = 0;                          // the focused part's child id readers were told of
    bool destroying_ = false;
};

// Where a width x height dialog goes (device pixels): centred on the screen, then moved so that it lies
// wholly on the work area when it fits there; a side that does not fit starts at the work area's edge, so
// that the caption and the top-left controls stay reachable.
PixelRect PlaceDialog(int width, int height, const PixelRect& screen, const PixelRect& workArea);

// Registers the class of the host's windows (once per process; later calls find it registered). False
// when the system refused.
[[nodiscard]] bool RegisterWindowClass();
// The name of that class.
const wchar_t* WindowClassName();

// The shift mask (1 Shift, 2 Ctrl, 4 Alt) of the keys held now.
int KeyShiftState();

// Runs the message loop until WM_QUIT and returns its exit code. Key presses go to the window's onKeyDown
// before any control of the window sees them.
int RunMessageLoop();
// Runs messages until `done` gives true; false when WM_QUIT came first (it is posted again for the outer
// loop).
bool RunModalLoop(const std::function<bool()>& done);

} // namespace platform
