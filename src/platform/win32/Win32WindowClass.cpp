// The window class of the host's windows and its procedure. The procedure only translates: it stores the
// host at WM_NCCREATE, turns each message into one call on it (OnPointerDown, OnTimer, ...) with the
// message's parameters taken apart, and returns. No C++ exception leaves it.
#include "platform/win32/Win32Window.h"

#include <windows.h>
#include <windowsx.h>

#include <commctrl.h>

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
    switch (message) {
    case WM_PAINT:
        host->OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel, band by band
    case WM_SIZE:
        host->OnSize();
        return 0;
    case WM_LBUTTONDOWN:
        host->OnPointerDown(x, y, kLeftButton, MouseShiftState(wParam));
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: // only the left button double-clicks; a quick second right press is a press
        host->OnPointerDown(x, y, kRightButton, MouseShiftState(wParam));
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        host->OnPointerDown(x, y, kMiddleButton, MouseShiftState(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        host->OnDoubleClick(x, y, MouseShiftState(wParam));
        return 0;
    case WM_MOUSEMOVE:
        host->OnPointerMove(x, y, HeldButtons(wParam), MouseShiftState(wParam));
        return 0;
    case WM_LBUTTONUP:
        host->OnPointerUp(x, y, kLeftButton, MouseShiftState(wParam));
        return 0;
    case WM_RBUTTONUP:
        host->OnPointerUp(x, y, kRightButton, MouseShiftState(wParam));
        return 0;
    case WM_MBUTTONUP:
        host->OnPointerUp(x, y, kMiddleButton, MouseShiftState(wParam));
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
    case WM_CLOSE:
        host->OnSystemClose();
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

} // namespace

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
