// System libraries loaded when first needed: LoadLibraryExW from the system folder, GetProcAddress, and
// the calls of the common controls, the shell, the common dialogs, the accessibility libraries and COM
// made through them.
#include "platform/win32/Win32Libraries.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <oleacc.h>
#include <shellapi.h>

#include <string>

namespace platform {

namespace {

// A function of a library the process has loaded already, looked up at run time: a Windows without it
// still starts. Nothing when the library or the function is missing.
template <class Function>
Function* LoadedFunction(const wchar_t* library, const char* function) {
    HMODULE module = GetModuleHandleW(library);
    return module != nullptr
               ? reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, function)))
               : nullptr;
}

} // namespace

void SearchSystemFolderOnly() {
    if (const auto set = LoadedFunction<BOOL WINAPI(DWORD)>(L"kernel32.dll", "SetDefaultDllDirectories")) {
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

int ReadDpiY() {
    const WindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

int WindowDpi(HWND hwnd) {
    const auto get = LoadedFunction<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = get != nullptr && hwnd != nullptr ? get(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : ReadDpiY();
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

void SystemLibraries::JoinComApartment() {
    if (!com_) {
        com_.emplace(ole32_);
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
    JoinComApartment();
    return reinterpret_cast<std::intptr_t>(execute(nullptr, L"open", target, nullptr, nullptr, showCommand));
}

bool SystemLibraries::ShowOpenDialog(OPENFILENAMEW& dialog) {
    const auto open = comdlg32_.Find<BOOL WINAPI(OPENFILENAMEW*)>("GetOpenFileNameW");
    if (open == nullptr) {
        return false;
    }
    // The dialog shows the shell's namespace through COM.
    JoinComApartment();
    return open(&dialog) != 0;
}

std::intptr_t SystemLibraries::AccessibleAnswer(const GUID& iid, std::uintptr_t wParam, IUnknown* object) {
    const auto answer = oleacc_.Find<LRESULT WINAPI(REFIID, WPARAM, LPUNKNOWN)>("LresultFromObject");
    if (answer == nullptr) {
        return 0;
    }
    // The object is handed over through COM.
    JoinComApartment();
    const LRESULT result = answer(iid, wParam, object);
    return FAILED(static_cast<HRESULT>(result)) ? 0 : result;
}

long SystemLibraries::FrameAccessible(HWND hwnd, const GUID& iid, void** object) {
    const auto fromWindow = oleacc_.Find<HRESULT WINAPI(HWND, DWORD, REFIID, void**)>("AccessibleObjectFromWindow");
    return fromWindow != nullptr ? fromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW), iid, object) : S_FALSE;
}

wchar_t* SystemLibraries::AllocateString(const wchar_t* text) {
    const auto allocate = oleaut32_.Find<BSTR WINAPI(const OLECHAR*)>("SysAllocString");
    return allocate != nullptr ? allocate(text) : nullptr;
}

} // namespace platform
