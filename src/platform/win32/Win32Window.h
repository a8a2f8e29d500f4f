// Win32 window host, the Windows backend of a platform::Window (the launcher's main window or a modal dialog).
// Implements: the top-level window (a borderless WS_POPUP main window, or an owned dialog with a caption and
// a close box), double-buffered painting of the element tree in z-order (GDI text, StretchDIBits pictures),
// pointer events with capture and double clicks, key preview, the pointer shape, tooltips, timers, and the
// real child controls behind scroll bars, check boxes and push buttons; plus the GDI font cache that the
// system's text measuring shares, and the message loops.
//
// The window procedure only translates: each message becomes one call (OnPointerDown, OnKeyDown, ...) that
// works on element state and then repaints from that state. No message parameter travels past this file.
// <windows.h> stays in the .cpp file; the handle types are declared here by their tag names.
#pragma once

#include "platform/Elements.h"
#include "platform/Picture.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

struct HWND__;
struct HFONT__;
struct HBRUSH__;
struct HDC__;

namespace platform {

// GDI fonts made from element fonts (face, size in points, bold) at one resolution, each made once and kept
// for the life of the cache.
class GdiFonts {
public:
    // `dpi`: pixels per inch of the screen the text is drawn on (96 at 15 twips per pixel).
    explicit GdiFonts(int dpi);
    ~GdiFonts();
    GdiFonts(const GdiFonts&) = delete;
    GdiFonts& operator=(const GdiFonts&) = delete;

    // The font's height in pixels: its size in points at this resolution, rounded to the nearest pixel.
    int PixelHeight(const Font& font) const;
    HFONT__* Get(const Font& font) const;
    // Width and height of one line of text in pixels; an empty text is as high as a line and 0 wide.
    TextSize Measure(const Font& font, TextView text) const;

private:
    int dpi_;
    HDC__* measuringDc_;
    mutable std::map<std::tuple<Text, double, bool>, HFONT__*> fonts_;
};

// An element's rectangle in its window's client area, in pixels, as real numbers.
struct ClientBox {
    double left = 0, top = 0, width = 0, height = 0;
    bool Contains(double x, double y) const { return x >= left && y >= top && x < left + width && y < top + height; }
};

// Where the element lies in the window's client area (its own Left and Top plus those of the picture boxes
// around it); nothing when it is not inside `window`.
std::optional<ClientBox> BoxInWindow(const Container& window, const Element& element);

// Whether the element shows: it and every picture box around it are visible.
bool Shown(const Element& element);

// Whether the element is drawn by a control of its own (scroll bar, check box, push button).
bool IsControl(const Element& element);

// The front-most shown element under the point (client pixels), looking into picture boxes, whose children
// lie in front of them and are clipped to them. Controls are skipped: they take their own pointer events.
// Nothing when the point is on the window's own background.
Element* ElementAt(const Container& window, double x, double y);

// Whether the element is still part of the window's tree (an element removed from a control array is not).
bool Contains(const Container& window, const Element* element);

// A pointer event for the element from a point in client pixels: the position relative to the element, in
// twips for labels and images (Element::ReportsTwips) and in pixels for picture boxes.
PointerEvent PointerEventFor(const Container& window, const Element& element, double clientX, double clientY,
                             int button, int shift, double twipsPerPixelX, double twipsPerPixelY);

// Draws the window's elements (not its controls) into a width x height picture, exactly as the window
// paints itself; used by the window and by tests.
Bitmap RenderWindow(const Window& window, int width, int height, const GdiFonts& fonts);

// How a scroll bar element maps onto a scroll-bar control, whose positions run from 0 at the top.
// The element's range may be reversed (maximum below minimum); its value then grows towards the top.
struct ScrollMapping {
    int maximum = 0;  // the control's range is 0..maximum, with a page of `page`
    int page = 1;     // the thumb's share of the track: the large step, at least 1
    int position = 0; // the element's value as a position
};
ScrollMapping MapScrollBar(const ScrollBar& bar);
// The element value for a control position (clamped into the element's range).
std::int16_t ScrollValueAt(const ScrollBar& bar, int position);
// The element value after a line or page step (`steps` of -1 towards the top, +1 towards the bottom).
std::int16_t ScrollValueAfterStep(const ScrollBar& bar, int steps, bool page);

class Win32Window {
public:
    enum class Role { Main, Dialog };

    // `owner`: the window that a dialog belongs to (nothing for the main window). `normalWidth` and
    // `normalHeight`: the main window's client size in its normal state, in pixels (a dialog takes its own
    // fixed client size). `twipsPerPixel`: the screen's, for pointer positions reported in twips.
    Win32Window(Window& window, Role role, HWND__* owner, double normalWidth, double normalHeight,
                double twipsPerPixelX, double twipsPerPixelY, int dpi);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Creates the window, hidden. False when the system refused.
    [[nodiscard]] bool Create();
    HWND__* Handle() const { return hwnd_; }
    const Window& window() const { return *window_; }
    // Shows the window with a ShowWindow command (SW_SHOWMAXIMIZED, SW_SHOW, ...).
    void Show(int showCommand);
    // Element state changed outside an event of this window (start-up, a dialog that closed): repaint and
    // bring the controls, the timers and the pointer into step.
    void Refresh();

    // ---- what the window procedure turns messages into (positions in client pixels) ----
    void OnCreated(HWND__* hwnd);
    void OnPointerDown(int x, int y, int button, int shift);
    void OnPointerMove(int x, int y, int heldButtons, int shift);
    void OnPointerUp(int x, int y, int button, int shift);
    void OnDoubleClick(int x, int y, int shift);
    void OnCaptureLost();
    void OnKeyDown(int keyCode, int shift);
    void OnTimer(std::uintptr_t id);
    void OnScrollControl(HWND__* control, int code);
    void OnControlClicked(HWND__* control);
    void OnSystemClose();
    void OnPaint();
    void OnSize();
    // The pointer shape over the client area; false when a control's own pointer should show.
    bool OnSetCursor(HWND__* over);
    HBRUSH__* OnControlColour(HWND__* control, HDC__* dc);
    // The text of the tooltip now showing.
    const wchar_t* TooltipText() const { return tooltipText_.c_str(); }
    void OnDestroyed();

    // The host of a top-level window of this process, or nothing.
    static Win32Window* FromHandle(HWND__* hwnd);

private:
    struct Control {
        HWND__* hwnd = nullptr;
        int left = 0, top = 0, width = 0, height = 0;
        bool shown = false;
        ScrollMapping scroll{-1, -1, -1};
        std::wstring caption;
        int value = -1;
        HFONT__* font = nullptr;
    };
    struct RunningTimer {
        const Timer* timer = nullptr;
        int interval = 0;
    };

    void AfterEvent();
    void SyncControls();
    void SyncControl(Element& element, Control& control);
    void SyncTimers();
    void SyncCursor();
    void SyncFocus();
    void UpdateTooltip(Element* hovered);
    void Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, int x, int y,
                 int button, int shift);
    Element* ControlElement(HWND__* control);
    HBRUSH__* Brush(Rgb colour);

    Window* window_;
    Role role_;
    HWND__* owner_;
    double normalWidth_, normalHeight_;
    double twipsPerPixelX_, twipsPerPixelY_;
    GdiFonts fonts_;
    HWND__* hwnd_ = nullptr;
    HWND__* tooltip_ = nullptr;
    std::wstring tooltipText_;
    const Element* tooltipElement_ = nullptr;

    // Back buffer: a DIB section as big as the client area, kept between paints.
    struct BackBuffer;
    std::unique_ptr<BackBuffer> back_;

    // Pointer capture: the element that took the press receives every pointer event until the last held
    // button comes up.
    Element* captured_ = nullptr;
    int held_ = 0;

    std::map<const Element*, Control> controls_;
    std::vector<RunningTimer> timers_; // by index into window.timers; the timer id is the index + 1
    std::map<std::uint32_t, HBRUSH__*> brushes_;
    bool destroying_ = false;
};

// Runs the message loop until WM_QUIT and returns its exit code. Key presses go to the window's onKeyDown
// before any control of the window sees them.
int RunMessageLoop();
// Runs messages until `done` gives true; false when WM_QUIT came first (it is posted again for the outer
// loop).
bool RunModalLoop(const std::function<bool()>& done);

} // namespace platform
