// Start-up and exit of the launcher.
#pragma once

#include "launcher/Launcher.h"

namespace app {

// Refuses a second instance, loads or builds the catalogue, then shows the window maximised and fills it.
// Returns false when another instance was running (nothing was touched).
bool Main(launcher::Launcher& launcher);
void ClearInfoText(launcher::Launcher& launcher);
// Writes the catalogue to the settings file and ends the process: the exit button, closing the window
// through the system and the end of the session all leave through it.
void QuitLauncher(launcher::Launcher& launcher);

} // namespace app
