// A program for the end-to-end tests: plays a finger on the screen as Windows hands a finger to a program
// that does not ask for touch input, that is as mouse input marked with the touch signature in its extra
// information.
//
// Usage: win32_touch_player X Y DX DY (screen pixels): presses at (X, Y), moves by (DX, DY) in 20 steps
// 15 ms apart and lifts there (0, 0: a tap). Ends with 0 once every input was accepted, 1 when the system
// refused one.
#include <windows.h>

#include <cstdio>

namespace {

// The system's mark of mouse input made from a finger (a pen's lacks the 0x80 bit).
constexpr ULONG_PTR kFingerSignature = 0xFF515780;

bool Send(DWORD flags, int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute positions run from 0 to 65535 over the primary screen.
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dwExtraInfo = kFingerSignature;
    return SendInput(1, &input, sizeof(input)) == 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fputs("usage: win32_touch_player X Y DX DY\n", stderr);
        return 2;
    }
    const int x = _wtoi(argv[1]), y = _wtoi(argv[2]), dx = _wtoi(argv[3]), dy = _wtoi(argv[4]);
    constexpr int kSteps = 20;
    bool ok = Send(0, x, y) && Send(MOUSEEVENTF_LEFTDOWN, x, y);
    for (int i = 1; ok && i <= kSteps; ++i) {
        Sleep(15);
        ok = Send(0, x + dx * i / kSteps, y + dy * i / kSteps);
    }
    return ok && Send(MOUSEEVENTF_LEFTUP, x + dx, y + dy) ? 0 : 1;
}
