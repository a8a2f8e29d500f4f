// Start-up and exit of the launcher.
#include "app/Main.h"

#include "app/Startup.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Form1Events.h"
#include "launcher/Frame.h"
#include "launcher/TileFiles.h"
#include "launcher/Tiles.h"
#include "options/opsFormStuff.h"

namespace app {

bool Main(launcher::Launcher& launcher) {
    // A second copy leaves the running one alone: nothing is shown, no file is read or written.
    if (launcher.system.AnotherInstanceRunning()) {
        return false;
    }
    ClearInfoText(launcher);
    // The window exists from here on (still hidden); its elements get their event handlers now, before
    // the tile grid copies slot 0 and before anything can raise an event. The exit button leaves through
    // QuitLauncher.
    launcher::WireForm1(launcher, [&launcher] { QuitLauncher(launcher); });
    // Every other way out saves the same way: the window closed through the system (Alt+F4, Close on the
    // task bar or the system menu) and the end of the Windows session (log off, restart, shut down). A
    // teacher's applied changes are kept however the launcher ends, unless its process is killed.
    launcher.form.onSystemClose = [&launcher] { QuitLauncher(launcher); };
    launcher.form.onEndSession = [&launcher] { QuitLauncher(launcher); };
    // Ctrl+Shift+K, seen by the window before any element, opens the teacher options.
    launcher.form.onKeyDown = [&launcher](int keyCode, int shift) { options::Form1_KeyDown(launcher, keyCode, shift); };
    InitSystemInfo(launcher.cat, launcher.files, launcher.system.Screen());
    // Settings file, catalogue, discovery and trimming all happen before the window is shown, so the
    // first thing the user sees is the finished catalogue; what the grid shows of the files is found now
    // too, and kept.
    launcher::LoadSideBySide(launcher);
    launcher.system.ShowWindow();
    // The frame layout below sets the range again; this maximum holds when that step cannot run.
    // progCount lies between 0 and 51, so the difference fits 16 bits.
    launcher.form.VScroll.SetMax(static_cast<launcher::Int16>(launcher.cat.progCount - 1));
    launcher::LayoutFrame(launcher, catalogue::kTrue);
    launcher::LayoutTiles(launcher);
    return true;
}

void ClearInfoText(launcher::Launcher& launcher) {
    launcher.form.progInfo.SetCaption(u"");
}

void QuitLauncher(launcher::Launcher& launcher) {
    // A failed write is not reported: the launcher ends whether the catalogue was saved or not.
    catalogue::SaveSettings(launcher.cat, launcher.files);
    launcher.system.EndProcess();
}

} // namespace app
