// Win32 window host: what each message becomes on element state. Creating the window, pointer events
// with capture and double clicks, key preview, timers, the child controls' reports, the keyboard focus,
// the wheel, screen readers' questions and focus events, the pointer shape, a change of resolution, and
// painting band by band; after every event the window is repainted and brought into step with element
// state. The pointer's tooltip is in Win32Tooltips.cpp.
#include "platform/win32/Win32Window.h"

#include "platform/win32/Win32Paint.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

namespace platform {
namespace {

HCURSOR CursorFor(MousePointer pointer) {
    switch (pointer) {
    case MousePointer::Hourglass:
        return LoadCursorW(nullptr, IDC_WAIT);
    case MousePointer::SizeWE:
        return LoadCursorW(nullptr, IDC_SIZEWE);
    case MousePointer::SizeNS:
        return LoadCursorW(nullptr, IDC_SIZENS);
    case MousePointer::Default:
        break;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

} // namespace

PixelRect PlaceDialog(int width, int height, const PixelRect& screen, const PixelRect& workArea) {
    const auto place = [](int size, int screenFrom, int screenTo, int workFrom, int workTo) {
        const int centred = screenFrom + (screenTo - screenFrom - size) / 2;
        return size <= workTo - workFrom ? std::clamp(centred, workFrom, workTo - size) : workFrom;
    };
    const int left = place(width, screen.left, screen.right, workArea.left, workArea.right);
    const int top = place(height, screen.top, screen.bottom, workArea.top, workArea.bottom);
    return PixelRect{left, top, left + width, top + height};
}

Win32Window::Win32Window(Window& window, Role role, HWND owner, double normalWidth, double normalHeight,
                         double twipsPerPixelX, double twipsPerPixelY, Win32Shared& shared)
    : window_(&window), role_(role), owner_(owner), normalWidth_(normalWidth), normalHeight_(normalHeight),
      twipsPerPixelX_(twipsPerPixelX), twipsPerPixelY_(twipsPerPixelY), shared_(&shared), controls_(window, shared) {}

Win32Window::~Win32Window() {
    destroying_ = true;
    accessibility_.reset();
    // Its controls and tooltip go with it.
    static_cast<void>(hwnd_.Close());
}

bool Win32Window::Create() {
    if (hwnd_.Valid()) {
        return true;
    }
    if (!RegisterWindowClass()) {
        return false;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const std::wstring caption = Wide(window_->caption);
    // The handle arrives through OnCreated, before CreateWindowExW returns.
    if (role_ == Role::Main) {
        // Borderless: the window draws its own title bar and border strips, so its client area is the whole
        // window. The minimise box and system menu only give the task bar button its usual menu and minimise.
        const DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_SYSMENU;
        CreateWindowExW(0, WindowClassName(), caption.c_str(), style, 0, 0, std::max(1, Scale().ToDevice(normalWidth_)),
                        std::max(1, Scale().ToDevice(normalHeight_)), owner_, nullptr, instance, this);
    } else {
        // An owned window has no task bar button; the modal frame gives it the look of a dialog.
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        const DWORD exStyle = WS_EX_DLGMODALFRAME;
        const auto* dialog = dynamic_cast<const Dialog*>(window_);
        RECT frame{0, 0, Scale().ToDevice(dialog != nullptr ? dialog->clientWidth : normalWidth_),
                   Scale().ToDevice(dialog != nullptr ? dialog->clientHeight : normalHeight_)};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        // On the screen of the window it belongs to (the primary one for none).
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        PixelRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        PixelRect work = screen;
        if (GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            screen = PixelRect{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right,
                               monitor.rcMonitor.bottom};
            work = PixelRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
        }
        const PixelRect place = PlaceDialog(frame.right - frame.left, frame.bottom - frame.top, screen, work);
        CreateWindowExW(exStyle, WindowClassName(), caption.c_str(), style, place.left, place.top, place.Width(),
                        place.Height(), owner_, nullptr, instance, this);
    }
    if (!hwnd_.Valid()) {
        return false;
    }
    controls_.Sync(hwnd_.Get());
    return true;
}

void Win32Window::OnCreated(HWND hwnd) {
    hwnd_ = WindowHandle(hwnd);
}

void Win32Window::OnDestroyed() {
    // The main window gone by any way but the host's own end (the system destroyed it): the process ends.
    if (role_ == Role::Main && !destroying_) {
        PostQuitMessage(0);
    }
    // The system has destroyed the window, and its controls and tooltip with it.
    static_cast<void>(hwnd_.Release());
    static_cast<void>(tooltip_.Release());
    controls_.Forget();
    accessibility_.reset();
    timers_.clear();
    captured_ = nullptr;
    held_ = 0;
}

void Win32Window::Show(int showCommand) {
    if (!hwnd_.Valid()) {
        return;
    }
    controls_.Sync(hwnd_.Get());
    ShowWindow(hwnd_.Get(), showCommand);
    AfterEvent();
}

void Win32Window::Refresh() {
    AfterEvent();
}

void Win32Window::AfterEvent() {
    if (!hwnd_.Valid()) {
        return;
    }
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    controls_.Sync(hwnd_.Get());
    SyncTimers();
    SyncFocus();
    SyncCursor();
    SyncTooltipText();
}

// ---- pointer events ----

void Win32Window::Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, double x,
                          double y, int button, int shift) {
    // Hidden elements, and elements inside a hidden picture box, receive nothing.
    if (!Shown(element)) {
        return;
    }
    const PointerEvent event =
        PointerEventFor(*window_, element, x, y, button, shift, twipsPerPixelX_, twipsPerPixelY_);
    // A copy: the handler may replace the element's handlers while it runs.
    const auto handler = element.handlers.*which;
    if (handler) {
        handler(event);
    }
}

Element* Win32Window::Capture(double x, double y, int button) {
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    // While a button is held, further presses go to the element that took the first one.
    Element* target = captured_ != nullptr ? captured_ : ElementAt(*window_, x, y);
    held_ |= button;
    if (captured_ == nullptr && target != nullptr) {
        captured_ = target;
        SetCapture(hwnd_.Get());
    }
    return target;
}

void Win32Window::OnPointerDown(int deviceX, int deviceY, int button, int shift) {
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    if (Element* target = Capture(x, y, button)) {
        Deliver(*target, &PointerHandlers::down, x, y, button, shift);
    }
    AfterEvent();
}

void Win32Window::OnDoubleClick(int deviceX, int deviceY, int shift) {
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    // The second press of a double click raises the double click instead of a press; the release that
    // follows still goes to the element.
    if (Element* target = Capture(x, y, kLeftButton)) {
        Deliver(*target, &PointerHandlers::doubleClick, x, y, kLeftButton, shift);
    }
    AfterEvent();
}

void Win32Window::OnPointerMove(int deviceX, int deviceY, int heldButtons, int shift) {
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    Element* hovered = ElementAt(*window_, x, y);
    UpdateTooltip(hovered, deviceX, deviceY);
    Element* target = captured_ != nullptr ? captured_ : hovered;
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::move, x, y, heldButtons, shift);
    }
    AfterEvent();
}

void Win32Window::OnPointerUp(int deviceX, int deviceY, int button, int shift) {
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    Element* target = captured_ != nullptr && Contains(*window_, captured_) ? captured_ : nullptr;
    held_ &= ~button;
    if (held_ == 0) {
        // Released before the handler runs: a handler that opens a dialog must not find the pointer held.
        captured_ = nullptr;
        if (GetCapture() == hwnd_.Get()) {
            ReleaseCapture();
        }
    }
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::up, x, y, button, shift);
    }
    AfterEvent();
}

void Win32Window::OnCaptureLost() {
    captured_ = nullptr;
    held_ = 0;
}

// ---- keys, timers, controls, closing ----

void Win32Window::OnKeyDown(int keyCode, int shift) {
    const auto handler = window_->onKeyDown;
    if (handler) {
        handler(keyCode, shift);
    }
    AfterEvent();
    NotifyFocusMove();
}

void Win32Window::OnWheel(int delta, int screenX, int screenY) {
    POINT point{screenX, screenY};
    const auto handler = window_->onWheel;
    if (handler && ScreenToClient(hwnd_.Get(), &point)) {
        handler(delta, Scale().ToDesign(point.x), Scale().ToDesign(point.y));
    }
    AfterEvent();
}

// ---- activation and work handed back ----

void Win32Window::OnActivated() {
    const auto handler = window_->onActivate;
    if (handler) {
        handler();
        AfterEvent();
    }
}

void Win32Window::OnWoken() {
    const auto handler = onWoken;
    if (handler) {
        handler();
        AfterEvent();
    }
}

// ---- screen readers ----

std::intptr_t Win32Window::OnGetObject(std::uintptr_t wParam) {
    if (!window_->accessibleChildren || !hwnd_.Valid()) {
        return 0; // the system's own object of a plain client area
    }
    if (!accessibility_) {
        accessibility_ = std::make_unique<Win32Accessibility>(*window_, hwnd_.Get(), Scale());
    }
    return accessibility_->Answer(wParam);
}

void Win32Window::OnAccessibleAction(long childId) {
    RunAccessibleAction(*window_, childId);
    AfterEvent();
    NotifyFocusMove();
}

void Win32Window::NotifyFocusMove() {
    if (!hwnd_.Valid() || !window_->accessibleChildren) {
        return;
    }
    const long focused = FocusedAccessibleChild(*window_);
    if (focused != accessibleFocus_ && focused != 0) {
        NotifyAccessibleFocus(hwnd_.Get(), focused);
    }
    accessibleFocus_ = focused;
}

void Win32Window::OnTimer(std::uintptr_t id) {
    const std::size_t index = static_cast<std::size_t>(id) - 1;
    if (id == 0 || index >= window_->timers.size() || window_->timers[index] == nullptr ||
        !window_->timers[index]->enabled) {
        KillTimer(hwnd_.Get(), id);
        if (index < timers_.size()) {
            timers_[index] = RunningTimer{};
        }
        return;
    }
    const auto tick = window_->timers[index]->onTick;
    if (tick) {
        tick();
    }
    AfterEvent();
}

void Win32Window::SyncTimers() {
    if (!hwnd_.Valid()) {
        return;
    }
    HWND hwnd = hwnd_.Get();
    const std::vector<Timer*>& timers = window_->timers;
    // Timers beyond the window's list (it never shrinks in practice) are stopped.
    for (std::size_t i = timers.size(); i < timers_.size(); ++i) {
        if (timers_[i].timer != nullptr) {
            KillTimer(hwnd, i + 1);
        }
    }
    timers_.resize(timers.size());
    for (std::size_t i = 0; i < timers.size(); ++i) {
        const Timer* timer = timers[i];
        RunningTimer& running = timers_[i];
        const bool wanted = timer != nullptr && timer->enabled && timer->interval > 0;
        if (wanted) {
            // A timer switched on while it runs keeps its period; a new interval starts a new one.
            if (running.timer != timer || running.interval != timer->interval) {
                SetTimer(hwnd, i + 1, static_cast<UINT>(timer->interval), nullptr);
                running = RunningTimer{timer, timer->interval};
            }
        } else if (running.timer != nullptr) {
            KillTimer(hwnd, i + 1);
            running = RunningTimer{};
        }
    }
}

void Win32Window::OnScrollControl(HWND control, int code) {
    auto* bar = dynamic_cast<ScrollBar*>(controls_.ElementOf(control));
    if (bar == nullptr) {
        return;
    }
    const auto trackPosition = [control] {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(control, SB_CTL, &info);
        return info.nTrackPos;
    };
    switch (code) {
    case SB_THUMBTRACK: {
        // The thumb is being dragged: the scroll event, for each position it reaches.
        const std::int16_t value = ScrollValueAt(*bar, trackPosition());
        if (value != bar->value()) {
            bar->Scroll(value);
        }
        break;
    }
    case SB_THUMBPOSITION:
        static_cast<void>(bar->SetValue(ScrollValueAt(*bar, trackPosition())));
        break;
    case SB_LINEUP:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, -1, false)));
        break;
    case SB_LINEDOWN:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, 1, false)));
        break;
    case SB_PAGEUP:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, -1, true)));
        break;
    case SB_PAGEDOWN:
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, 1, true)));
        break;
    case SB_TOP:
        static_cast<void>(bar->SetValue(bar->min()));
        break;
    case SB_BOTTOM:
        static_cast<void>(bar->SetValue(bar->max()));
        break;
    default:
        return; // SB_ENDSCROLL: nothing changed
    }
    AfterEvent();
}

void Win32Window::OnControlClicked(HWND control) {
    Element* element = controls_.ElementOf(control);
    if (auto* box = dynamic_cast<CheckBox*>(element)) {
        // The control ticked or cleared itself; the element follows it.
        box->value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        const auto handler = box->onClick;
        if (handler) {
            handler(box->index());
        }
    } else if (auto* button = dynamic_cast<Button*>(element)) {
        const auto handler = button->onClick;
        if (handler) {
            handler();
        }
    }
    AfterEvent();
}

void Win32Window::OnSystemClose() {
    if (role_ == Role::Main) {
        // Closed by the system (Alt+F4, the task bar): the process ends without saving.
        PostQuitMessage(0);
        return;
    }
    if (auto* dialog = dynamic_cast<Dialog*>(window_)) {
        const auto handler = dialog->onSystemClose;
        if (handler) {
            handler();
        } else {
            dialog->Close();
        }
    }
    AfterEvent();
}

void Win32Window::SyncFocus() {
    HWND hwnd = hwnd_.Get();
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd && !IsChild(hwnd, focus))) {
        return; // the keyboard is elsewhere: nothing here takes it
    }
    HWND wanted = hwnd;
    if (HWND control = controls_.ShownControl(window_->focused)) {
        wanted = control;
    }
    if (focus != wanted) {
        SetFocus(wanted);
    }
}

// ---- painting and the pointer shape ----

void Win32Window::OnSize() {
    if (hwnd_.Valid()) {
        InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    }
}

void Win32Window::OnDpiChanged(int dpi, int left, int top, int right, int bottom) {
    if (!hwnd_.Valid() || dpi <= 0) {
        return;
    }
    shared_->fonts.SetDpi(dpi);
    band_.reset();
    SetWindowPos(hwnd_.Get(), nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    AfterEvent(); // the controls move and take fonts of the new size
}

void Win32Window::OnPaint() {
    HWND hwnd = hwnd_.Get();
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int width = std::max<int>(1, client.right - client.left);
    if (!band_ || band_->width() != width) {
        band_.reset();
        band_ = std::make_unique<DibSection>(width, kPaintBandRows);
    }
    if (target != nullptr && band_->Valid()) {
        // Only the rows that need it, band by band from the top of the first.
        const int bottom = std::min<int>(paint.rcPaint.bottom, client.bottom);
        for (int top = std::max<int>(0, paint.rcPaint.top); top < bottom; top += kPaintBandRows) {
            PaintWindow(*window_, *band_, top, shared_->fonts, shared_->pictures);
            BitBlt(target, 0, top, width, std::min(kPaintBandRows, bottom - top), band_->Dc(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(hwnd, &paint);
    SyncTimers();
}

bool Win32Window::OnSetCursor(HWND over) {
    // The window's own pointer, when it has one, shows over everything (the hourglass after a start).
    if (window_->mousePointer != MousePointer::Default) {
        SetCursor(CursorFor(window_->mousePointer));
        return true;
    }
    if (over != hwnd_.Get()) {
        return false; // a control shows its own pointer
    }
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd_.Get(), &point);
    const Element* element = ElementAt(*window_, Scale().ToDesign(point.x), Scale().ToDesign(point.y));
    SetCursor(CursorFor(element != nullptr ? element->mousePointer : MousePointer::Default));
    return true;
}

void Win32Window::SyncCursor() {
    // A pointer shape that changed without the pointer moving (the hourglass ending) shows at once.
    HWND hwnd = hwnd_.Get();
    POINT point{};
    if (!GetCursorPos(&point) || !IsWindowEnabled(hwnd)) {
        return;
    }
    HWND under = WindowFromPoint(point);
    if (under != hwnd && !IsChild(hwnd, under)) {
        return;
    }
    if (under == hwnd || window_->mousePointer != MousePointer::Default) {
        static_cast<void>(OnSetCursor(hwnd));
    }
}

} // namespace platform
