// The smallest Win32 program that shows what the launcher shows first: a borderless window, maximised, with
// a navy title strip over a white area. It is the yardstick of the benchmarks (bench/startup.sh,
// bench/idle.sh): the time from process start to this window on screen is what any Win32 program pays, so
// the launcher's own cost is what it takes beyond it. Like the launcher it repaints what a user's action
// changed: a pointer move onto another cell of its 180 x 120 pixel grid repaints the two cells, a wheel
// notch scrolls the grid a row and repaints the area below the strip. It stays open until it is closed
// (Alt+F4) or its process is ended.
#include <windows.h>
#include <windowsx.h>

#include <string>

namespace {

constexpr int kStrip = 62;                         // the title strip's height
constexpr int kCellWidth = 180, kCellHeight = 120; // the grid's cells, below the strip

struct State {
    int firstRow = 0;      // the row at the top of the grid, moved by the wheel
    POINT hovered{-1, -1}; // the cell under the pointer (column, row on screen)
};

RECT CellRect(POINT cell) {
    const int left = cell.x * kCellWidth, top = kStrip + cell.y * kCellHeight;
    return RECT{left, top, left + kCellWidth, top + kCellHeight};
}

void Paint(HWND hwnd, const State& state) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    // The same two colours the launcher's start-up check looks for: title bar navy, tile area white.
    HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
    RECT title{client.left, client.top, client.right, client.top + kStrip};
    FillRect(dc, &title, navy);
    DeleteObject(navy);
    RECT area{client.left, client.top + kStrip, client.right, client.bottom};
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // Each cell in the repainted area: a grey square (the hovered one darker) and its number under it.
    HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
    HBRUSH dark = CreateSolidBrush(RGB(128, 128, 128));
    SetBkMode(dc, TRANSPARENT);
    for (int row = 0; kStrip + row * kCellHeight < client.bottom; ++row) {
        for (int column = 0; column * kCellWidth < client.right; ++column) {
            const RECT cell = CellRect(POINT{column, row});
            RECT visible{};
            if (!IntersectRect(&visible, &cell, &paint.rcPaint)) {
                continue;
            }
            const bool hovered = column == state.hovered.x && row == state.hovered.y;
            RECT square{cell.left + 58, cell.top + 8, cell.left + 122, cell.top + 72};
            FillRect(dc, &square, hovered ? dark : grey);
            const std::wstring name = L"Program " + std::to_wstring((state.firstRow + row) * 100 + column);
            RECT text{cell.left, cell.top + 78, cell.right, cell.bottom};
            DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_CENTER | DT_TOP | DT_NOPREFIX);
        }
    }
    DeleteObject(grey);
    DeleteObject(dark);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (state == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam); // during creation
    }
    switch (message) {
    case WM_PAINT:
        Paint(hwnd, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const POINT cell = y < kStrip ? POINT{-1, -1} : POINT{x / kCellWidth, (y - kStrip) / kCellHeight};
        if (cell.x != state->hovered.x || cell.y != state->hovered.y) {
            for (const POINT changed : {state->hovered, cell}) {
                const RECT rect = CellRect(changed);
                if (changed.x >= 0) {
                    InvalidateRect(hwnd, &rect, FALSE);
                }
            }
            state->hovered = cell;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: {
        state->firstRow += GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1;
        RECT client{};
        GetClientRect(hwnd, &client);
        client.top = kStrip;
        InvalidateRect(hwnd, &client, FALSE);
        return 0;
    }
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
    State state;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare Window", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, 0, 0, 1000,
                                652, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return 1;
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
