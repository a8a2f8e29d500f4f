// System libraries loaded when first needed: LoadLibraryExW from the system folder, GetProcAddress, and
// the calls of the common controls, the shell, the common dialogs and COM made through them.
#include "platform/win32/Win32Libraries.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace platform {

void SearchSystemFolderOnly() {
    using SetDirectories = BOOL WINAPI(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto set = kernel != nullptr ? reinterpret_cast<SetDirectories*>(reinterpret_cast<void (*)()>(
                                             GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                       : nullptr;
    if (set != nullptr) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

SystemLibrary::AnyFunction SystemLibrary::Address(const char* function) {
    if (!tried_) {
        tried_ = true;
        module_ = LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module_ == nullptr && GetLastError() == ERROR_INVALID_PARAMETER) {
            // A Windows that does not know the flag: the full path keeps the search in the system folder.
            wchar_t folder[MAX_PATH] = {};
            const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
            if (length > 0 && length < MAX_PATH) {
                const std::wstring path = std::wstring(folder, length) + L"\\" + name_;
                module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
            }
        }
    }
    if (module_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<AnyFunction>(GetProcAddress(module_, function));
}

SystemLibraries::~SystemLibraries() {
    if (comInitialised_) {
        if (const auto uninitialise = ole32_.Find<void WINAPI()>("CoUninitialize")) {
            uninitialise();
        }
    }
}

bool SystemLibraries::CommonControls() {
    if (commonControls_) {
        return true;
    }
    // The controls' manifest dependency makes this the version 6 library, in the system's look.
    const auto initialise = comctl32_.Find<BOOL WINAPI(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
    if (initialise == nullptr) {
        return false;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    commonControls_ = initialise(&controls) != 0;
    return commonControls_;
}

void SystemLibraries::InitialiseCom() {
    if (comTried_) {
        return;
    }
    comTried_ = true;
    if (const auto initialise = ole32_.Find<HRESULT WINAPI(void*, DWORD)>("CoInitializeEx")) {
        comInitialised_ = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }
}

HICON SystemLibraries::ExtractFileIcon(const wchar_t* file, unsigned index) {
    const auto extract = shell32_.Find<HICON WINAPI(HINSTANCE, const wchar_t*, UINT)>("ExtractIconW");
    return extract != nullptr ? extract(GetModuleHandleW(nullptr), file, index) : nullptr;
}

std::intptr_t SystemLibraries::ShellOpen(const wchar_t* target, int showCommand) {
    using Execute = HINSTANCE WINAPI(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, INT);
    const auto execute = shell32_.Find<Execute>("ShellExecuteW");
    if (execute == nullptr) {
        return 0;
    }
    // The shell may hand the work to COM components.
    InitialiseCom();
    return reinterpret_cast<std::intptr_t>(execute(nullptr, L"open", target, nullptr, nullptr, showCommand));
}

bool SystemLibraries::ShowOpenDialog(OPENFILENAMEW& dialog) {
    const auto open = comdlg32_.Find<BOOL WINAPI(OPENFILENAMEW*)>("GetOpenFileNameW");
    if (open == nullptr) {
        return false;
    }
    // The dialog shows the shell's namespace through COM.
    InitialiseCom();
    return open(&dialog) != 0;
}

} // namespace platform
