// System libraries that only some actions need, loaded from the system folder when first needed instead of
// at start: the common controls (tooltips, and the system's look of scroll bars, check boxes and push
// buttons), the shell (program icons, opening documents and web addresses), the common dialogs (the
// file-open dialog), the accessibility libraries that screen readers are answered through, and COM, which
// the last three may hand work to. The executable itself imports only kernel32, user32, gdi32 and the C
// runtime, so a start pays for nothing else.
#pragma once

#include "platform/win32/Win32Handles.h"

#include <cstdint>
#include <optional>
#include <string_view>

struct HINSTANCE__;
struct HICON__;
struct HWND__;
struct tagOFNW;
struct _GUID;
struct IUnknown;

namespace platform {

// Libraries that the system's own libraries load later (the shell's extensions, the dialogs' helpers)
// come from the system folder only, never from the folder the launcher was started from, which may be a
// shared drive. Looked up at run time: a Windows without SetDefaultDllDirectories still starts.
void SearchSystemFolderOnly();

// The system's vertical resolution in dots per inch (the screen's LOGPIXELSY), 96 when it cannot be read.
int ReadDpiY();
// The resolution of the screen the window is on: GetDpiForWindow, looked up at run time, where the system
// has it (Windows 10 from 1607), else the system's, which older systems draw every window at.
int WindowDpi(HWND__* hwnd);

// One library of the system folder, loaded when a function of it is first asked for and kept until the
// process ends: the shell and COM may still run its code on threads of their own.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* name) : name_(name) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The function's address, or nothing when the library or the function is missing.
    template <class Function>
    Function* Find(const char* function) {
        return reinterpret_cast<Function*>(Address(function));
    }

private:
    using AnyFunction = void (*)();
    AnyFunction Address(const char* function);

    const wchar_t* name_;
    HINSTANCE__* module_ = nullptr;
    bool tried_ = false;
};

// The libraries of the actions that need them, each loaded at its first use. Each call does nothing and
// reports failure when its library cannot be loaded.
class SystemLibraries {
public:
    SystemLibraries() = default;
    SystemLibraries(const SystemLibraries&) = delete;
    SystemLibraries& operator=(const SystemLibraries&) = delete;

    // Registers the common control classes, once; to be called before a tooltip or control is made.
    bool CommonControls();
    // ExtractIconW: NULL, or 1 for a file that holds no icons, when there is none.
    HICON__* ExtractFileIcon(const wchar_t* file, unsigned index);
    // ShellExecuteW's "open" with no parameters and no working folder: above 32 means success.
    std::intptr_t ShellOpen(const wchar_t* target, int showCommand);
    // GetOpenFileNameW.
    bool ShowOpenDialog(tagOFNW& dialog);
    // Screen readers (oleacc, oleaut32, and COM, which hands the objects over). LresultFromObject: the
    // answer to WM_GETOBJECT that hands `object` to the reader asking, as interface `iid`; 0 when that
    // failed.
    std::intptr_t AccessibleAnswer(const _GUID& iid, std::uintptr_t wParam, IUnknown* object);
    // AccessibleObjectFromWindow for the window's frame (OBJID_WINDOW) as interface `iid`: S_OK, an error,
    // or S_FALSE when the library is missing.
    long FrameAccessible(HWND__* hwnd, const _GUID& iid, void** object);
    // SysAllocString: a reader's copy of the text; NULL when it could not be made.
    wchar_t* AllocateString(const wchar_t* text);

private:
    // Joins a COM apartment on this thread for the shell, the common dialogs and readers, once.
    void JoinComApartment();

    SystemLibrary comctl32_{L"comctl32.dll"};
    SystemLibrary shell32_{L"shell32.dll"};
    SystemLibrary comdlg32_{L"comdlg32.dll"};
    SystemLibrary ole32_{L"ole32.dll"};
    SystemLibrary oleacc_{L"oleacc.dll"};
    SystemLibrary oleaut32_{L"oleaut32.dll"};
    bool commonControls_ = false;
    std::optional<ComApartment> com_; // joined at the first need, left when the libraries go
};

} // namespace platform
