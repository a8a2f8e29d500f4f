// A screen reader's view of the launcher, for tests/e2e/test_access.sh: reads the accessible children of the
// window titled "Tessaly Collection" (or, after "--window TITLE", of that window) and prints one line each,
// "role|name|description|default action|states" (states: "unavailable", "focusable", "focused", "checked",
// "offscreen"). Given a name, it then runs that child's default action. With "--focus SECONDS" it listens
// instead, as a reader does, for the launcher's focus and name-change events and prints
// "focus|name|states|description" or "name|..." for each. With "--ids" it prints "id|name" a child instead,
// and with "--ends" where navigation and the hit test lead from the ends of the id range. Exits 1 when the
// window or its accessible object cannot be had.
#include <windows.h>

#include <oleacc.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Spelled out: the static import library's IID_IAccessible is no GUID.
constexpr GUID kIidAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::wstring Take(BSTR text) {
    std::wstring out = text != nullptr ? text : L"";
    SysFreeString(text);
    return out;
}

std::wstring States(const VARIANT& state) {
    std::wstring states;
    states += (state.lVal & STATE_SYSTEM_UNAVAILABLE) != 0 ? L" unavailable" : L"";
    states += (state.lVal & STATE_SYSTEM_FOCUSABLE) != 0 ? L" focusable" : L"";
    states += (state.lVal & STATE_SYSTEM_FOCUSED) != 0 ? L" focused" : L"";
    states += (state.lVal & STATE_SYSTEM_CHECKED) != 0 ? L" checked" : L"";
    states += (state.lVal & STATE_SYSTEM_OFFSCREEN) != 0 ? L" offscreen" : L"";
    return states;
}

void CALLBACK OnFocus(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (event != EVENT_OBJECT_FOCUS && event != EVENT_OBJECT_NAMECHANGE) {
        return;
    }
    IAccessible* accessible = nullptr;
    VARIANT which{};
    if (FAILED(AccessibleObjectFromEvent(hwnd, object, child, &accessible, &which))) {
        std::puts("focus|?|");
        return;
    }
    BSTR name = nullptr, description = nullptr;
    VARIANT state{};
    accessible->get_accName(which, &name);
    accessible->get_accState(which, &state);
    accessible->get_accDescription(which, &description);
    std::wprintf(L"%ls|%ls|%ls|%ls\n", event == EVENT_OBJECT_FOCUS ? L"focus" : L"name", Take(name).c_str(),
                 States(state).c_str(), Take(description).c_str());
    std::fflush(stdout);
    accessible->Release();
}

// Prints the focus events of the window's process for `seconds`.
int Listen(HWND window, int seconds) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, OnFocus, process, 0,
                        WINEVENT_OUTOFCONTEXT) == nullptr) {
        return 1;
    }
    std::puts("listening");
    std::fflush(stdout);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool other = argc > 2 && std::wstring(argv[1]) == L"--window";
    HWND window = FindWindowW(nullptr, other ? argv[2] : L"Tessaly Collection");
    if (other) {
        argc -= 2;
        argv += 2;
    }
    if (window != nullptr && argc > 2 && std::wstring(argv[1]) == L"--focus") {
        return Listen(window, _wtoi(argv[2]));
    }
    IAccessible* client = nullptr;
    if (window == nullptr ||
        FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&client)))) {
        std::fputs("no accessible object\n", stderr);
        return 1;
    }
    // The children as a reader lists them: their ids are the object's to choose.
    long count = 0;
    client->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long got = 0;
    AccessibleChildren(client, 0, count, children.data(), &got);
    children.resize(static_cast<std::size_t>(got));
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"--ends") {
        // Where each step leads: "-" when nowhere (S_FALSE or a failure).
        const auto step = [&](long direction, long from) {
            VARIANT start{}, end{};
            start.vt = VT_I4;
            start.lVal = from;
            return client->accNavigate(direction, start, &end) == S_OK && end.vt == VT_I4 ? std::to_wstring(end.lVal)
                                                                                          : std::wstring(L"-");
        };
        const long first = children.front().lVal, last = children.back().lVal;
        VARIANT hit{};
        const bool outside = client->accHitTest(-30000, -30000, &hit) == S_FALSE;
        std::wprintf(L"first %ls last %ls next-of-last %ls previous-of-first %ls next-of-max %ls previous-of-max %ls "
                     L"previous-of-unknown %ls hit-outside %ls\n",
                     step(NAVDIR_FIRSTCHILD, CHILDID_SELF).c_str(), step(NAVDIR_LASTCHILD, CHILDID_SELF).c_str(),
                     step(NAVDIR_NEXT, last).c_str(), step(NAVDIR_PREVIOUS, first).c_str(),
                     step(NAVDIR_NEXT, LONG_MAX).c_str(), step(NAVDIR_PREVIOUS, LONG_MAX).c_str(),
                     step(NAVDIR_PREVIOUS, last + 1).c_str(), outside ? L"none" : L"some");
        std::wprintf(L"ends %ld %ld\n", first, last);
        client->Release();
        return 0;
    }
    for (VARIANT& child : children) {
        if (mode == L"--ids") {
            BSTR name = nullptr;
            client->get_accName(child, &name);
            std::wprintf(L"%ld|%ls\n", child.lVal, Take(name).c_str());
            continue;
        }
        BSTR name = nullptr, description = nullptr, action = nullptr;
        VARIANT role{}, state{};
        client->get_accName(child, &name);
        client->get_accDescription(child, &description);
        client->get_accDefaultAction(child, &action);
        client->get_accRole(child, &role);
        client->get_accState(child, &state);
        const std::wstring shown = Take(name);
        std::wprintf(L"%ld|%ls|%ls|%ls|%ls\n", role.lVal, shown.c_str(), Take(description).c_str(),
                     Take(action).c_str(), States(state).c_str());
        if (argc > 1 && shown == argv[1]) {
            client->accDoDefaultAction(child);
        }
    }
    client->Release();
    return 0;
}
