// The window class of the host's windows and its procedure, and the making of a host's window: its place,
// its size and its display scale, that of the screen it goes to. The procedure only translates: it stores
// the host at WM_NCCREATE, turns each message into one call on it (OnPointerDown, OnTimer, ...) with the
// message's parameters taken apart, and returns. No C++ exception leaves it.
#include "platform/win32/Win32Window.h"

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
namespace {

constexpr wchar_t kClassName[] = L"TessalyLauncherWindow";
// The application icon in the executable's resources (launcher.rc).
constexpr int kAppIconId = 1;

// The shift mask of a mouse message: Shift and Ctrl come with the message, Alt is read from the keyboard.
int MouseShiftState(WPARAM keys) {
    int shift = 0;
    shift |= (keys & MK_SHIFT) != 0 ? kShiftMask : 0;
    shift |= (keys & MK_CONTROL) != 0 ? kCtrlMask : 0;
    shift |= GetKeyState(VK_MENU) < 0 ? kAltMask : 0;
    return shift;
}

// The buttons held (1 left, 2 right, 4 middle) in a mouse message.
int HeldButtons(WPARAM keys) {
    int held = 0;
    held |= (keys & MK_LBUTTON) != 0 ? kLeftButton : 0;
    held |= (keys & MK_RBUTTON) != 0 ? kRightButton : 0;
    held |= (keys & MK_MBUTTON) != 0 ? kMiddleButton : 0;
    return held;
}

// What made the mouse message being handled: the system marks the mouse input it makes of a finger or a
// pen with a signature in the message's extra information, and sets a bit of it for a finger.
PointerSource MessageSource() {
    constexpr std::uint32_t kSignatureMask = 0xFFFFFF00;
    constexpr std::uint32_t kTouchOrPenSignature = 0xFF515700;
    constexpr std::uint32_t kTouchBit = 0x80;
    const auto extra = static_cast<std::uint32_t>(static_cast<std::uintptr_t>(GetMessageExtraInfo()));
    if ((extra & kSignatureMask) != kTouchOrPenSignature) {
        return PointerSource::Mouse;
    }
    return (extra & kTouchBit) != 0 ? PointerSource::Touch : PointerSource::Pen;
}

// Answers to the pen and touch service's question which of its own gestures the window wants: none. A
// finger held still then presses at once instead of becoming a right click when lifted, and a quick pen
// stroke stays a drag instead of a flick.
constexpr UINT kQuerySystemGestureStatus = 0x02CC;
constexpr LRESULT kNoPressAndHoldNoFlicks = 0x00000001 | 0x00010000;

// The presses and releases of the buttons. Only the left button double-clicks (WM_LBUTTONDBLCLK has a call
// of its own); a quick second press of another button is a press.
struct ButtonMessage {
    UINT message;
    void (Win32Window::*call)(int x, int y, int button, int shift, PointerSource source);
    int button;
};
constexpr ButtonMessage kButtonMessages[] = {
    {WM_LBUTTONDOWN, &Win32Window::OnPointerDown, kLeftButton},
    {WM_RBUTTONDOWN, &Win32Window::OnPointerDown, kRightButton},
    {WM_RBUTTONDBLCLK, &Win32Window::OnPointerDown, kRightButton},
    {WM_MBUTTONDOWN, &Win32Window::OnPointerDown, kMiddleButton},
    {WM_MBUTTONDBLCLK, &Win32Window::OnPointerDown, kMiddleButton},
    {WM_LBUTTONUP, &Win32Window::OnPointerUp, kLeftButton},
    {WM_RBUTTONUP, &Win32Window::OnPointerUp, kRightButton},
    {WM_MBUTTONUP, &Win32Window::OnPointerUp, kMiddleButton},
};

LRESULT Translate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* host = static_cast<Win32Window*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
        host->OnCreated(hwnd);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    auto* host = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (host == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    for (const ButtonMessage& press : kButtonMessages) {
        if (press.message == message) {
            (host->*press.call)(x, y, press.button, MouseShiftState(wParam), MessageSource());
            return 0;
        }
    }
    switch (message) {
    case WM_PAINT:
        host->OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel, band by band
    case WM_SIZE:
        host->OnSize();
        return 0;
    case WM_LBUTTONDBLCLK:
        host->OnDoubleClick(x, y, MouseShiftState(wParam), MessageSource());
        return 0;
    case WM_MOUSEMOVE:
        host->OnPointerMove(x, y, HeldButtons(wParam), MouseShiftState(wParam), MessageSource());
        return 0;
    case WM_MOUSELEAVE:
        host->OnPointerLeave();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) {
            host->OnCaptureLost();
        }
        return 0;
    case WM_TIMER:
        host->OnTimer(static_cast<std::uintptr_t>(wParam));
        return 0;
    case WM_VSCROLL:
        if (lParam != 0) {
            host->OnScrollControl(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        }
        break;
    case WM_COMMAND:
        // An owner-drawn push button reports a second click soon after the first as a double click: it is a
        // click all the same.
        if (lParam != 0 && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED)) {
            host->OnControlClicked(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = host->OnControlColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
            return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item != nullptr && item->CtlType == ODT_BUTTON) {
            host->OnDrawButton(item->hwndItem, item->hDC, item->rcItem.right - item->rcItem.left,
                               item->rcItem.bottom - item->rcItem.top, (item->itemState & ODS_SELECTED) != 0,
                               (item->itemState & ODS_FOCUS) != 0);
            return TRUE;
        }
        break;
    }
    case WM_DPICHANGED:
        if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
            host->OnDpiChanged(HIWORD(wParam), suggested->left, suggested->top, suggested->right, suggested->bottom);
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && host->OnSetCursor(reinterpret_cast<HWND>(wParam))) {
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            info->lpszText = const_cast<wchar_t*>(host->TooltipText());
            return 0;
        }
        break;
    }
    case WM_MOUSEWHEEL: // the pointer's place in screen pixels
        host->OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), x, y);
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) {
            if (const std::intptr_t answer = host->OnGetObject(static_cast<std::uintptr_t>(wParam))) {
                return answer;
            }
        }
        break;
    case WM_ACTIVATE: // the system's own handling (the focus) follows
        if (LOWORD(wParam) != WA_INACTIVE) {
            host->OnActivated();
        }
        break;
    case Win32Window::kWakeMessage:
        host->OnWoken();
        return 0;
    case kAccessibleActionMessage:
        host->OnAccessibleAction(static_cast<long>(wParam));
        return 0;
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & 0xFFF0;
        const bool handled = (command == SC_RESTORE && host->OnSystemCommand(SystemCommand::Restore)) ||
                             (command == SC_MAXIMIZE && host->OnSystemCommand(SystemCommand::Maximise)) ||
                             (command == SC_MINIMIZE && host->OnSystemCommand(SystemCommand::Minimise));
        if (handled) {
            return 0;
        }
        break;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        host->OnColoursChanged();
        break;
    case kQuerySystemGestureStatus:
        return kNoPressAndHoldNoFlicks;
    case WM_CLOSE:
        host->OnSystemClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // the launcher never holds the session up
    case WM_ENDSESSION:
        // Only a session that really ends (not one whose end was called off); the process may be ended as
        // soon as this message has been handled, so whatever must happen, happens now.
        if (wParam != FALSE) {
            host->OnEndSession();
        }
        return 0;
    case WM_NCDESTROY:
        host->OnDestroyed();
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The system's code that calls the procedure cannot pass a C++ exception on. A message whose handling
// failed (memory running out, say) is dropped where it failed, and the launcher goes on with the next one.
LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Translate(hwnd, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

// Until the window is made it takes its owner's scale (a dialog goes on its owner's screen), the system's
// for none.
int FirstDpi(HWND owner) {
    const Win32Window* host = Win32Window::FromHandle(owner);
    return host != nullptr ? host->Scale().dpi() : ReadDpiY();
}

// Borderless main window: it draws its own title bar and border strips, so its client area is the whole
// window; the minimise and maximise boxes and the system menu give the task bar button and Alt+Space their
// usual menu, whose commands the window carries out as its own caption buttons do. A dialog: owned, so no
// task bar button; the modal frame gives it the look of a dialog.
constexpr DWORD kMainStyle = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;

// A finger dragged over the window would become the system's pan gesture (which moves no pointer and, at
// the end of a pan, bounces the whole window); with the gestures turned off the window sees the finger as
// mouse input and pans its lists itself. A system without gestures (before Windows 7) needs nothing.
void TakeTouchAsMouse(HWND hwnd) {
    struct GestureConfig {
        DWORD id, want, block;
    };
    using SetGestureConfigFunction = BOOL WINAPI(HWND, DWORD, UINT, GestureConfig*, UINT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC address = user32 != nullptr ? GetProcAddress(user32, "SetGestureConfig") : nullptr;
    if (address == nullptr) {
        return;
    }
    constexpr DWORD kAllGestures = 0x00000001;
    GestureConfig all{0, 0, kAllGestures};
    auto* set = reinterpret_cast<SetGestureConfigFunction*>(reinterpret_cast<void (*)()>(address));
    static_cast<void>(set(hwnd, 0, 1, &all, sizeof(all)));
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
      twipsPerPixelX_(twipsPerPixelX), twipsPerPixelY_(twipsPerPixelY), shared_(&shared), scale_(FirstDpi(owner)),
      controls_(window, scale_, shared) {}

Win32Window::~Win32Window() {
    destroying_ = true;
    accessibility_.reset();
    // Its controls and tooltip go with it.
    static_cast<void>(hwnd_.Close());
}

PixelRect Win32Window::Frame() const {
    if (role_ == Role::Main) {
        return PixelRect{0, 0, std::max(1, scale_.ToDevice(normalWidth_)), std::max(1, scale_.ToDevice(normalHeight_))};
    }
    const auto* dialog = dynamic_cast<const Dialog*>(window_);
    RECT frame{0, 0, scale_.ToDevice(dialog != nullptr ? dialog->clientWidth : normalWidth_),
               scale_.ToDevice(dialog != nullptr ? dialog->clientHeight : normalHeight_)};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    // On the screen of the window it belongs to (the primary one for none).
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    PixelRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    PixelRect work = screen;
    if (GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        screen =
            PixelRect{monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right, monitor.rcMonitor.bottom};
        work = PixelRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    }
    return PlaceDialog(frame.right - frame.left, frame.bottom - frame.top, screen, work);
}

bool Win32Window::Create() {
    if (hwnd_.Valid()) {
        return true;
    }
    if (!RegisterWindowClass()) {
        return false;
    }
    const std::wstring caption = Wide(window_->caption);
    const bool main = role_ == Role::Main;
    const PixelRect frame = Frame();
    // The handle arrives through OnCreated, before CreateWindowExW returns.
    CreateWindowExW(main ? 0 : kDialogExStyle, WindowClassName(), caption.c_str(), main ? kMainStyle : kDialogStyle,
                    frame.left, frame.top, frame.Width(), frame.Height(), owner_, nullptr, GetModuleHandleW(nullptr),
                    this);
    if (!hwnd_.Valid()) {
        return false;
    }
    // Made on a screen of another resolution than the one guessed: the window takes that screen's scale,
    // and the size that gives it there, before it first shows.
    if (const int dpi = WindowDpi(hwnd_.Get()); dpi != scale_.dpi()) {
        scale_ = DisplayScale(dpi);
        const PixelRect again = Frame();
        SetWindowPos(hwnd_.Get(), nullptr, again.left, again.top, again.Width(), again.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TakeTouchAsMouse(hwnd_.Get());
    SyncControls();
    return true;
}

const wchar_t* WindowClassName() {
    return kClassName;
}

bool RegisterWindowClass() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // Double clicks of the left button arrive as their own message; the background is painted by the window.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProcedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconId));
    // The task bar and Alt+Tab take the small size from the icon's own 16-pixel image, not a shrunk copy.
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kAppIconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = nullptr; // set at every WM_SETCURSOR from the element under the pointer
    wc.hbrBackground = nullptr;
    wc.lpszClassName = kClassName;
    // A second window of the process finds the class registered already.
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int KeyShiftState() {
    int shift = 0;
    shift |= GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0;
    shift |= GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0;
    shift |= GetKeyState(VK_MENU) < 0 ? kAltMask : 0;
    return shift;
}

Win32Window* Win32Window::FromHandle(HWND hwnd) {
    wchar_t name[64] = {};
    if (hwnd == nullptr || GetClassNameW(hwnd, name, 64) == 0 || std::wstring_view(name) != kClassName) {
        return nullptr;
    }
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

} // namespace platform
