// Win32 window host, the Windows backend of a platform::Window (the launcher's main window or a modal dialog).
// The host is split by job: Win32WindowClass.cpp registers the window class and its procedure, which only
// translates each message into one call below (OnPointerDown, OnKeyDown, ...), and makes the window at the
// display scale of its screen; Win32Window.cpp carries those calls out on element state (pointer capture,
// tooltips, timers, focus, the pointer shape) and repaints; painting is Win32Paint, the child controls
// Win32Controls, the loops Win32MessageLoop.
// No message parameter travels past these files; <windows.h> stays in the .cpp files.
#pragma once

#include "platform/ElementGeometry.h"
#include "platform/Repaint.h"
#include "platform/win32/Win32Accessible.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Handles.h"
#include "platform/win32/Win32Shared.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class Win32Window {
public:
    enum class Role { Main, Dialog };

    // `owner`: the window that a dialog belongs to (nothing for the main window). `normalWidth` and
    // `normalHeight`: the main window's client size in its normal state, in design pixels (a dialog takes
    // its own fixed client size). `twipsPerPixel`: the design's, for pointer positions reported in twips.
    // `shared`: the fonts, pictures and libraries of the process, which outlive the window. The window has
    // a display scale of its own, that of the screen it is on: everything it sizes, places and draws is
    // mapped from design to device pixels at that scale, and pointer positions back.
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
    // The window's display scale: until it is made, that of its owner (the system's for none); then that
    // of its screen, which a change of resolution reaching this window changes.
    const DisplayScale& Scale() const { return scale_; }
    // Shows the window with a ShowWindow command (SW_SHOWMAXIMIZED, SW_SHOW, ...).
    void Show(int showCommand);
    // Element state changed outside an event of this window (start-up, a dialog that closed): repaint and
    // bring the controls, the timers and the pointer into step.
    void Refresh();

    // ---- what the window procedure turns messages into (positions in client device pixels) ----
    void OnCreated(HWND__* hwnd);
    void OnPointerDown(int x, int y, int button, int shift, PointerSource source);
    void OnPointerMove(int x, int y, int heldButtons, int shift, PointerSource source);
    void OnPointerUp(int x, int y, int button, int shift, PointerSource source);
    void OnDoubleClick(int x, int y, int shift, PointerSource source);
    void OnCaptureLost();
    // The pointer left the client area (reported only while a tip waits or shows).
    void OnPointerLeave();
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
    void OnEndSession();
    // A command of the system menu; false when the window leaves it to the system.
    bool OnSystemCommand(SystemCommand command);
    void OnPaint();
    // The system's colours or its high contrast changed: everything is drawn again in the colours now due.
    void OnColoursChanged();
    void OnSize();
    // The window went to a screen of another resolution (or the resolution changed): its scale, fonts and
    // pictures are made at the new one and it takes the place and size the system suggests, in device
    // pixels. Its size in design pixels stays, so the core sees no more than a repaint. Other windows of
    // the process keep their own scales.
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

    // The tooltip's own timer, apart from the window's timers (numbered from 1 by their index).
    static constexpr std::uintptr_t kTooltipTimer = 0x7FFF;

    void AfterEvent();
    // Invalidates the areas whose look changed since the last look taken (all of it when told to).
    void InvalidateChanges(bool all);
    void SyncTimers();
    void SyncControls();
    void SyncCursor();
    void SyncFocus();
    // Tells readers when the focused accessible part changed.
    void NotifyFocusMove();
    // Tells readers when a text part's name changed; only once a reader has asked about the window.
    void NotifyNameChanges();
    // The pointer is over `hovered`: a tip of another element goes, and this one's is due after the pause.
    void UpdateTooltip(Element* hovered);
    // The pause before the tip of the element under the pointer starts, when it has one.
    void WaitForTooltip();
    // A press ends the tip; it shows again once the pointer has been on another element.
    void PressEndsTooltip();
    // The tip's text follows its element's when that changed under a still pointer.
    void SyncTooltipText();
    // The pause before the tip ended (it shows), or the time it shows did (it goes).
    void OnTooltipTimer();
    // The tip goes and waits for the pointer's next element; `phase` is what it waits in.
    enum class TipPhase { None, Waiting, Showing, Done };
    void EndTooltip(TipPhase phase);
    // Whether the system reports the pointer leaving the window (only while a tip waits or shows).
    void WatchLeave(bool watch);
    bool MakeTooltip();
    // The element that a press at (x, y), client design pixels, goes to, taking the capture for it.
    Element* Capture(double x, double y, int button);
    void Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, double x, double y,
                 int button, int shift, PointerSource source);
    // Where the window goes and how big it is, device pixels, at its scale: the main window at the screen's
    // origin with its normal size, a dialog placed on its owner's screen (PlaceDialog).
    PixelRect Frame() const;

    Window* window_;
    Role role_;
    HWND__* owner_;
    double normalWidth_, normalHeight_;
    double twipsPerPixelX_, twipsPerPixelY_;
    Win32Shared* shared_;
    DisplayScale scale_; // before the controls, which map their places at it
    WindowHandle hwnd_;
    WindowHandle tooltip_; // owned by the window: the system destroys it with the window
    std::wstring tooltipText_;
    const Element* tooltipElement_ = nullptr; // under the pointer
    TipPhase tipPhase_ = TipPhase::None;
    bool watchingLeave_ = false;
    ChildControls controls_;

    // The paint's buffer: a DIB section as wide as the client area and kPaintBandRows high, kept between
    // paints.
    std::unique_ptr<DibSection> band_;
    // The elements' looks as last invalidated: what the window shows once the pending paint is done.
    WindowLooks looks_;
    bool painted_ = false; // whether the window has been painted once

    // Pointer capture: the element that took the press receives every pointer event until the last held
    // button comes up.
    Element* captured_ = nullptr;
    int held_ = 0;

    std::vector<RunningTimer> timers_;                  // by index into window.timers; the timer id is the index + 1
    std::unique_ptr<Win32Accessibility> accessibility_; // made at the first WM_GETOBJECT
    long accessibleFocus_ = 0;                          // the focused part's child id readers were told of
    std::vector<std::pair<const Element*, Text>> accessibleTexts_; // the text parts' names readers last saw
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
