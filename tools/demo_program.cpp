// A stand-in for a program of the Tessaly Collection, so that a launcher staged by scripts/run has something
// to start: a plain window that shows the program's name and the folder it was started in. One executable
// serves every demo program; each copy takes its name from the folder it lies in (a copy in a folder named
// Map Skills is Map Skills), or from its own file name when it lies at the root of a drive.
//
// For the end-to-end tests: when the environment variable TESSALY_DEMO_REPORT names a file, the program
// adds one line to it, "<its own path>|<current folder>|<command line>" in UTF-8 with CR LF, before it
// opens its window. The launcher passes its environment on, so a test that starts the launcher with the
// variable set sees every program the launcher starts, where it was started and how.
#include <windows.h>

#include <string>

namespace {

// The window's client size, in pixels.
constexpr int kWidth = 480;
constexpr int kHeight = 240;

struct DemoText {
    std::wstring name;
    std::wstring folder; // the current folder at start: the launcher makes it the program's own
};

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring folder(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, folder.data());
    folder.resize(length < needed ? length : 0);
    return folder;
}

// "C:\Apps\Map Skills\mapskills.exe" gives "Map Skills"; "C:\demo.exe" gives "demo".
std::wstring DemoName(const std::wstring& path) {
    const std::size_t last = path.rfind(L'\\');
    if (last != std::wstring::npos && last > 0) {
        const std::size_t before = path.rfind(L'\\', last - 1);
        if (before != std::wstring::npos && last > before + 1) {
            return path.substr(before + 1, last - before - 1);
        }
    }
    std::wstring file = last == std::wstring::npos ? path : path.substr(last + 1);
    const std::size_t dot = file.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? file : file.substr(0, dot);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

// Adds this start to the report file named by TESSALY_DEMO_REPORT, if any. Several demo programs may start
// at once: each line goes in with one append-only write, and the file is shared for reading and writing.
void ReportStart(const std::wstring& module, const std::wstring& folder) {
    wchar_t report[MAX_PATH * 4] = {};
    const DWORD length = GetEnvironmentVariableW(L"TESSALY_DEMO_REPORT", report, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4) {
        return;
    }
    HANDLE file = CreateFileW(report, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string line = Utf8(module + L"|" + folder + L"|" + GetCommandLineW()) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

void DrawLine(HDC dc, const std::wstring& text, int height, int weight, RECT box) {
    HFONT font = CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void Paint(HWND hwnd, const DemoText& text) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // A navy strip like the launcher's title bar, so that the demo is plainly part of the same suite.
    HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
    RECT strip{client.left, client.top, client.right, client.top + 12};
    FillRect(dc, &strip, navy);
    DeleteObject(navy);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 128));
    const int width = client.right - client.left;
    DrawLine(dc, text.name, 36, FW_BOLD, RECT{12, 40, width - 12, 100});
    SetTextColor(dc, RGB(64, 64, 64));
    DrawLine(dc, L"A demo program of the Tessaly Collection", 16, FW_NORMAL, RECT{12, 110, width - 12, 140});
    DrawLine(dc, L"Started in " + text.folder, 13, FW_NORMAL, RECT{12, 150, width - 12, 176});
    DrawLine(dc, L"Close this window to go back to the launcher.", 13, FW_NORMAL, RECT{12, 190, width - 12, 216});
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    case WM_PAINT: {
        const auto* text = reinterpret_cast<const DemoText*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (text != nullptr) {
            Paint(hwnd, *text);
            return 0;
        }
        break;
    }
    case WM_ERASEBKGND:
        return 1; // WM_PAINT fills the whole client area
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const std::wstring module = ModulePath();
    DemoText text{DemoName(module), CurrentFolder()};
    ReportStart(module, text.folder);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = L"TessalyDemoProgram";
    if (RegisterClassExW(&wc) == 0) {
        return 1;
    }
    // A fixed-size window centred on the screen, clear of the launcher's first row of tiles.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, text.name.c_str(), style, left, top, width, height, nullptr,
                                nullptr, instance, &text);
    if (hwnd == nullptr) {
        return 1;
    }
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
