// System libraries that only some actions need, loaded from the system folder when first needed instead of
// at start: the common controls (tooltips, and the system's look of scroll bars, check boxes and push
// buttons), the shell (program icons, opening documents and web addresses), the common dialogs (the
// file-open dialog) and COM, which the last two may hand work to. The executable itself imports only
// kernel32, user32, gdi32 and the C runtime, so a start pays for nothing else.
#pragma once

#include <cstdint>
#include <string_view>

struct HINSTANCE__;
struct HICON__;
struct tagOFNW;

namespace platform {

// Libraries that the system's own libraries load later (the shell's extensions, the dialogs' helpers)
// come from the system folder only, never from the folder the launcher was started from, which may be a
// shared drive. Looked up at run time: a Windows without SetDefaultDllDirectories still starts.
void SearchSystemFolderOnly();

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
    ~SystemLibraries();
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

private:
    // Initialises COM on this thread for the shell and the common dialogs, once.
    void InitialiseCom();

    SystemLibrary comctl32_{L"comctl32.dll"};
    SystemLibrary shell32_{L"shell32.dll"};
    SystemLibrary comdlg32_{L"comdlg32.dll"};
    SystemLibrary ole32_{L"ole32.dll"};
    bool commonControls_ = false;
    bool comTried_ = false;
    bool comInitialised_ = false; // balanced by CoUninitialize when the libraries go
};

} // namespace platform
