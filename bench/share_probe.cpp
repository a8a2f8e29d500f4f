// The share benchmark's probe (bench/share.sh): times what the launcher window does on its own thread, from
// another process, as the user and a screen reader meet it. Prints one line, milliseconds: "wheel question
// walk" - the medians of SAMPLES (5 unless given) wheel notches (WM_MOUSEWHEEL sent, which returns when the
// window has handled it) and screen reader questions (get_accName of the first tile), and one full reader
// walk (every child's name, description, role, state, default action and place), each printed as soon as
// it is measured. Exits 1 when the window or its accessible object cannot be had.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Spelled out: the static import library's IID_IAccessible is no GUID.
constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

double Ms(const std::function<void()>& act) {
    const auto start = std::chrono::steady_clock::now();
    act();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

int samples = 5;

double Median(const std::function<void()>& act) {
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        times.push_back(Ms(act));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Print(double ms) {
    std::printf("%.1f ", ms);
    std::fflush(stdout);
}

VARIANT Child(long id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    samples = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND window = FindWindowW(nullptr, L"Tessaly Collection");
    IAccessible* client = nullptr;
    if (window == nullptr ||
        FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&client)))) {
        std::fputs("no accessible object\n", stderr);
        return 1;
    }
    RECT box{};
    GetWindowRect(window, &box);
    const LPARAM middle = MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    bool down = true;
    Print(Median([&] {
        // Down and up in turn, so that the grid always has a row to scroll to.
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA), middle);
        down = !down;
    }));
    Print(Median([&] {
        BSTR name = nullptr;
        client->get_accName(Child(1), &name);
        SysFreeString(name);
    }));
    Print(Ms([&] {
        long count = 0;
        client->get_accChildCount(&count);
        for (long id = 1; id <= count; ++id) {
            BSTR name = nullptr, description = nullptr, action = nullptr;
            VARIANT role{}, state{};
            long x = 0, y = 0, w = 0, h = 0;
            client->get_accName(Child(id), &name);
            client->get_accDescription(Child(id), &description);
            client->get_accDefaultAction(Child(id), &action);
            client->get_accRole(Child(id), &role);
            client->get_accState(Child(id), &state);
            client->accLocation(&x, &y, &w, &h, Child(id));
            SysFreeString(name);
            SysFreeString(description);
            SysFreeString(action);
        }
    }));
    client->Release();
    std::puts("");
    return 0;
}
