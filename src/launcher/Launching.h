// Hover information and launching: what pointing at and clicking a tile does, and the busy second after
// every start.
#pragma once

#include "launcher/Launcher.h"
#include "platform/Text.h"

namespace launcher {

// What the description label says of a program that is not installed.
inline constexpr char16_t kNotInstalled[] = u"This program has not been installed.";

// The program id in the tag of progName(k): its leading decimal number, to the nearest 16-bit integer;
// -1 when the slot does not exist or the number does not fit.
Int16 TileProgramId(const Launcher& app, Int16 k);
// Puts the description of tile k's program into the description label, or the not-installed text.
void ShowProgramInfo(Launcher& app, Int16 k);
// Starts tile k's program (or opens its web address) when it is installed, then makes the window busy.
void LaunchProgram(Launcher& app, Int16 k);
// Starts tile k's help-video player when it exists; the window turns busy either way.
void LaunchVideos(Launcher& app, Int16 k);
// Makes the folder of `path` current (and its drive, unless it is a network path).
void ChangeToProgramFolder(Launcher& app, platform::TextView path);

// Connects the pointer events of every tile slot (picture, name, video button) and the wait timer's tick.
void ConnectTiles(Launcher& app);

} // namespace launcher
