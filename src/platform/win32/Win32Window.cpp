// Win32 window host: what each message becomes on element state. Pointer events with capture and double
// clicks, key preview, timers, the child controls' reports, the keyboard focus,
// the wheel, screen readers' questions and focus events, the pointer shape, a change of resolution, and
// painting band by band; after every event the window is repainted and brought into step with element
// state. The pointer's tooltip is in Win32Tooltips.cpp; making the window, at its scale, in
// Win32WindowClass.cpp.
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
    tipPhase_ = TipPhase::None;
    tooltipElement_ = nullptr;
    watchingLeave_ = false;
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
    SyncControls();
    ShowWindow(hwnd_.Get(), showCommand);
    AfterEvent();
    NotifyFocusMove(); // a dialog opens with the focus on a part of its own
}

void Win32Window::Refresh() {
    AfterEvent();
}

void Win32Window::AfterEvent() {
    if (!hwnd_.Valid()) {
        return;
    }
    InvalidateChanges(false);
    SyncControls();
    SyncTimers();
    SyncFocus();
    SyncCursor();
    SyncTooltipText();
    NotifyNameChanges();
}

// ---- pointer events ----

void Win32Window::Deliver(Element& element, std::function<void(const PointerEvent&)> PointerHandlers::*which, double x,
                          double y, int button, int shift, PointerSource source) {
    // Hidden elements, and elements inside a hidden picture box, receive nothing.
    if (!Shown(element)) {
        return;
    }
    PointerEvent event = PointerEventFor(*window_, element, x, y, button, shift, twipsPerPixelX_, twipsPerPixelY_);
    event.source = source;
    event.time = static_cast<long long>(static_cast<DWORD>(GetMessageTime()));
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

void Win32Window::OnPointerDown(int deviceX, int deviceY, int button, int shift, PointerSource source) {
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    PressEndsTooltip();
    if (Element* target = Capture(x, y, button)) {
        Deliver(*target, &PointerHandlers::down, x, y, button, shift, source);
    }
    AfterEvent();
}

void Win32Window::OnDoubleClick(int deviceX, int deviceY, int shift, PointerSource source) {
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    // The second press of a double click raises the double click instead of a press; the release that
    // follows still goes to the element.
    PressEndsTooltip();
    if (Element* target = Capture(x, y, kLeftButton)) {
        Deliver(*target, &PointerHandlers::doubleClick, x, y, kLeftButton, shift, source);
    }
    AfterEvent();
}

void Win32Window::OnPointerMove(int deviceX, int deviceY, int heldButtons, int shift, PointerSource source) {
    if (captured_ != nullptr && !Contains(*window_, captured_)) {
        captured_ = nullptr;
    }
    const double x = Scale().ToDesign(deviceX);
    const double y = Scale().ToDesign(deviceY);
    Element* hovered = ElementAt(*window_, x, y);
    UpdateTooltip(hovered);
    Element* target = captured_ != nullptr ? captured_ : hovered;
    if (target != nullptr) {
        Deliver(*target, &PointerHandlers::move, x, y, heldButtons, shift, source);
    }
    AfterEvent();
}

void Win32Window::OnPointerUp(int deviceX, int deviceY, int button, int shift, PointerSource source) {
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
        Deliver(*target, &PointerHandlers::up, x, y, button, shift, source);
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
    NotifyFocusMove(); // the wheel may have moved the focus into view
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
        accessibility_ = std::make_unique<Win32Accessibility>(*window_, hwnd_.Get(), Scale(), shared_->libraries);
        NotifyNameChanges(); // the texts as the reader first finds them
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

void Win32Window::NotifyNameChanges() {
    if (!accessibility_ || !window_->accessibleChildren || !hwnd_.Valid()) {
        return; // no reader has asked: nobody listens
    }
    const std::vector<AccessibleItem> parts = window_->accessibleChildren();
    std::vector<std::pair<const Element*, Text>> texts;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].role != AccessibleItem::Role::StaticText) {
            continue;
        }
        const auto before = std::find_if(accessibleTexts_.begin(), accessibleTexts_.end(),
                                         [&](const auto& text) { return text.first == parts[i].element; });
        if (before != accessibleTexts_.end() && before->second != parts[i].name) {
            NotifyAccessibleNameChange(hwnd_.Get(), IdOf(parts, i));
        }
        texts.emplace_back(parts[i].element, parts[i].name);
    }
    accessibleTexts_ = std::move(texts);
}

void Win32Window::OnTimer(std::uintptr_t id) {
    if (id == kTooltipTimer) {
        OnTooltipTimer();
        return;
    }
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
    // The arrows and the trough: a line or a page either way.
    struct Step {
        int code, direction;
        bool page;
    };
    constexpr Step kSteps[] = {
        {SB_LINEUP, -1, false}, {SB_LINEDOWN, 1, false}, {SB_PAGEUP, -1, true}, {SB_PAGEDOWN, 1, true}};
    const auto step =
        std::find_if(std::begin(kSteps), std::end(kSteps), [code](const Step& s) { return s.code == code; });
    if (step != std::end(kSteps)) {
        static_cast<void>(bar->SetValue(ScrollValueAfterStep(*bar, step->direction, step->page)));
        AfterEvent();
        return;
    }
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
    const auto handler = window_->onSystemClose;
    if (handler) {
        handler();
    } else if (role_ == Role::Main) {
        PostQuitMessage(0);
        return;
    } else if (auto* dialog = dynamic_cast<Dialog*>(window_)) {
        dialog->Close();
    }
    AfterEvent();
}

void Win32Window::OnEndSession() {
    const auto handler = window_->onEndSession;
    if (handler) {
        handler();
    }
}

void Win32Window::SyncControls() {
    // The main window's first paint comes before its controls: making the scroll bar loads the common
    // controls, which would hold the first sight of the tiles back. A dialog's controls are its content.
    if (role_ == Role::Main && !painted_) {
        return;
    }
    controls_.Sync(hwnd_.Get());
}

bool Win32Window::OnSystemCommand(SystemCommand command) {
    const auto handler = window_->onSystemCommand;
    if (!handler || !handler(command)) {
        return false;
    }
    AfterEvent();
    return true;
}

void Win32Window::SyncFocus() {
    HWND hwnd = hwnd_.Get();
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd && !IsChild(hwnd, focus))) {
        return; // the keyboard is elsewhere: nothing here takes it
    }
    HWND wanted = hwnd;
    // A check box's focus stays with the window, which draws the ring around its row and tells readers of
    // the row as the core describes it; other controls take the focus themselves.
    const Element* focused = window_->focused;
    if (HWND control = controls_.ShownControl(focused);
        control != nullptr && focused->kind() != Element::Kind::CheckBox) {
        wanted = control;
    }
    if (focus != wanted) {
        SetFocus(wanted);
    }
}

// ---- painting and the pointer shape ----

void Win32Window::OnSize() {
    InvalidateChanges(true);
}

void Win32Window::InvalidateChanges(bool all) {
    if (!hwnd_.Valid()) {
        return;
    }
    WindowLooks now = LooksOf(*window_);
    const Repaint repaint = all ? Repaint{true, {}} : RepaintBetween(looks_, now);
    looks_ = std::move(now);
    if (repaint.all) {
        InvalidateRect(hwnd_.Get(), nullptr, FALSE);
        return;
    }
    for (const ClientBox& area : repaint.areas) {
        // A device pixel more on each side: edges round alike, but an element's neighbours may round theirs
        // into the same pixel.
        const PixelRect device = Scale().ToDevice(area);
        const RECT rect{device.left - 1, device.top - 1, device.right + 1, device.bottom + 1};
        InvalidateRect(hwnd_.Get(), &rect, FALSE);
    }
}

void Win32Window::OnDpiChanged(int dpi, int left, int top, int right, int bottom) {
    if (!hwnd_.Valid() || dpi <= 0) {
        return;
    }
    scale_ = DisplayScale(dpi);
    band_.reset();
    looks_ = WindowLooks{}; // everything repaints at the new size
    SetWindowPos(hwnd_.Get(), nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    AfterEvent(); // the controls move and take fonts of the new size
}

void Win32Window::OnColoursChanged() {
    shared_->highContrast = ReadHighContrast();
    if (hwnd_.Valid()) {
        RedrawWindow(hwnd_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

void Win32Window::OnPaint() {
    HWND hwnd = hwnd_.Get();
    {
        const PaintDc paint(hwnd);
        RECT client{};
        GetClientRect(hwnd, &client);
        const int width = std::max<int>(1, client.right - client.left);
        if (!band_ || band_->width() != width) {
            band_.reset();
            band_ = std::make_unique<DibSection>(width, kPaintBandRows);
        }
        if (paint.Get() != nullptr && band_->Valid()) {
            const int bottom = std::min<int>(paint.Bottom(), client.bottom);
            // Only the rows and columns that need it, band by band from the top of the first.
            const int left = std::max(0, paint.Left());
            const int right = std::min(paint.Right(), width);
            for (int top = std::max(0, paint.Top()); top < bottom && left < right; top += kPaintBandRows) {
                PaintWindow(*window_, *band_, top, scale_, shared_->fonts, shared_->pictures, shared_->highContrast,
                            left, right);
                BitBlt(paint.Get(), left, top, right - left, std::min(kPaintBandRows, bottom - top), band_->Dc(), left,
                       0, SRCCOPY);
            }
        }
    }
    if (!painted_) {
        // The main window's controls come after its first paint (see SyncControls).
        painted_ = true;
        SyncControls();
        SyncFocus();
    }
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
