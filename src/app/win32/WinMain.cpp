// The launcher's entry point on Windows: makes the platform (files, system, the main window's host), hands
// the application object to start-up, and runs the window's messages. Every way out of a running launcher
// (its exit button, closing the window, the end of the session) saves the catalogue and ends the process
// itself; the loop ends here only for a window that start-up left unwired. No C++ exception leaves wWinMain.
#include "app/Main.h"
#include "launcher/Launcher.h"
#include "platform/ThreadPool.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <atomic>

namespace {

// The main window's client size in its normal state as designed: 15000 x 9780 twips (1000 x 652 pixels
// at 15 twips per pixel). It is the size a restore gives back after the maximised start.
constexpr double kNormalWidthTwips = 15000;
constexpr double kNormalHeightTwips = 9780;
// Workers for the look-ups: enough to wait on a slow share side by side, few enough to be light.
constexpr int kWorkerThreads = 8;

// Makes the platform and the application, starts the launcher and runs its messages.
int Run() {
    int exitCode = 0;
    {
        platform::Win32FileSystem files;
        platform::Win32System system(files.AppFolder());
        // The workers wake the main window once it exists; what they hand back runs on its thread.
        std::atomic<HWND> woken{nullptr};
        platform::ThreadPool workers(kWorkerThreads, [&woken] {
            if (const HWND hwnd = woken.load()) {
                PostMessageW(hwnd, platform::Win32Window::kWakeMessage, 0, 0);
            }
        });
        launcher::Launcher app(system, files, &workers);

        const platform::ScreenInfo screen = system.Screen();
        platform::Win32Window host(
            app.form, platform::Win32Window::Role::Main, nullptr, kNormalWidthTwips / screen.twipsPerPixelX,
            kNormalHeightTwips / screen.twipsPerPixelY, screen.twipsPerPixelX, screen.twipsPerPixelY, system.Shared());
        host.onWoken = [&workers] { workers.RunPosted(); };
        if (!host.Create()) {
            exitCode = 1;
        } else {
            woken.store(host.Handle());
            system.AttachMainWindow(&host);
            // Start-up refuses a second instance (nothing shown, nothing read or written), else loads the
            // catalogue, shows the window maximised and fills it.
            if (app::Main(app)) {
                host.Refresh();
                exitCode = platform::RunMessageLoop();
            }
            system.AttachMainWindow(nullptr);
            woken.store(nullptr);
        }
    }
    return exitCode;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Only kernel32, user32 and gdi32 are loaded at start; the common controls, the shell, the common
    // dialogs and COM are loaded when first needed, and they and whatever they load come from the system
    // folder only.
    platform::SearchSystemFolderOnly();
    // The window procedure drops a message whose handling failed; a failure outside it (in start-up,
    // before the message loop) ends the launcher quietly, without saving.
    try {
        return Run();
    } catch (...) {
        return 1;
    }
}
