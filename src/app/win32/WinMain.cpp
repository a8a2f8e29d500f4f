// The launcher's entry point on Windows: makes the platform (files, system, the main window's host), hands
// the application object to start-up, and runs the window's messages until the window is closed.
// Closing the window by any means but the exit button (which saves the catalogue and ends the process
// itself) ends the process here without saving.
#include "app/Main.h"
#include "launcher/Launcher.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

namespace {

// The main window's client size in its normal state as designed: 15000 x 9780 twips (1000 x 652 pixels
// at 15 twips per pixel). It is the size a restore gives back after the maximised start.
constexpr double kNormalWidthTwips = 15000;
constexpr double kNormalHeightTwips = 9780;

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Libraries loaded later (by the shell, the common dialogs) come from the system folder only, never
    // from the folder the launcher was started from, which may be a shared drive.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    // The shell and the file-open dialog may hand work to COM components.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        platform::Win32FileSystem files;
        platform::Win32System system(files.AppFolder());
        launcher::Launcher app(system, files);

        const platform::ScreenInfo screen = system.Screen();
        platform::Win32Window host(app.form, platform::Win32Window::Role::Main, nullptr,
                                   kNormalWidthTwips / screen.twipsPerPixelX,
                                   kNormalHeightTwips / screen.twipsPerPixelY, screen.twipsPerPixelX,
                                   screen.twipsPerPixelY, platform::ReadDpiY());
        if (!host.Create()) {
            exitCode = 1;
        } else {
            system.AttachMainWindow(&host);
            // Start-up refuses a second instance (nothing shown, nothing read or written), else loads the
            // catalogue, shows the window maximised and fills it.
            if (app::Main(app)) {
                host.Refresh();
                exitCode = platform::RunMessageLoop();
            }
            system.AttachMainWindow(nullptr);
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
