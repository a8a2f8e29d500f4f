#include "app/Main.h"

namespace app {

// TODO: not written yet
bool Main(launcher::Launcher&) { return false; }
void ClearInfoText(launcher::Launcher&) {}
void QuitLauncher(launcher::Launcher&) {}

} // namespace app
