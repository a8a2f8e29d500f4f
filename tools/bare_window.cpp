// The smallest Win32 program that shows what the launcher shows first: a borderless window, maximised, with
// a navy title strip over a white area. It is the yardstick of the start-up benchmark (bench/startup.sh):
// the time from process start to this window on screen is what any Win32 program pays, so the launcher's
// own cost is what it takes beyond it. It stays open until it is closed (Alt+F4) or its process is ended.
#include <windows.h>

namespace {

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client{};
        GetClientRect(hwnd, &client);
        // The same two colours the launcher's start-up check looks for: title bar navy, tile area white.
        HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
        RECT title{client.left, client.top, client.right, client.top + 62};
        FillRect(dc, &title, navy);
        DeleteObject(navy);
        RECT area{client.left, client.top + 62, client.right, client.bottom};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"BareWindow";
    if (RegisterClassExW(&wc) == 0) {
        return 1;
    }
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare Window", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, 0, 0, 1000,
                                652, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
