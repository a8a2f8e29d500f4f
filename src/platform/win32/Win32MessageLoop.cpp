// The message loops of the Win32 backend: the main loop, and the modal loop a dialog runs until it closes.
// Both hand a key press to the window it is meant for before its controls see it (key preview); like the
// window procedure, that call lets no exception through.
#include "platform/win32/Win32Window.h"

#include <windows.h>

namespace platform {
namespace {

void Dispatch(MSG& msg) {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.hwnd != nullptr) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (Win32Window* host = Win32Window::FromHandle(root); host != nullptr && IsWindowEnabled(root)) {
            try {
                host->OnKeyDown(static_cast<int>(msg.wParam), KeyShiftState());
            } catch (...) { // the key press whose handling failed is dropped; the loop goes on
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (got < 0) {
            return 1;
        }
        Dispatch(msg);
    }
}

bool RunModalLoop(const std::function<bool()>& done) {
    MSG msg{};
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got < 0) {
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

} // namespace platform
