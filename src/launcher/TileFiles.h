// The grid's files: which of the catalogue's paths the grid asks about, asked for at start and refreshed in
// the background (when the window is activated again, after the options dialog's changes), and the
// installed check read from what is kept, so that a fill, a key, a hover or a screen reader's question
// touches no file.
#pragma once

#include "launcher/Launcher.h"

#include <chrono>

namespace launcher {

// How long start-up waits for a look-up: one slower than this (a server gone) counts as absent for the
// start, and its answer is taken in when it comes.
inline constexpr std::chrono::milliseconds kSlowLookup{3000};

// The kept answer for a path; absent while it was never answered.
platform::FileLookup KeptLookup(const Launcher& app, TextView path);
// The installed check of the grid and of launching: a web address, or a path that names an existing file.
bool KeptInstalled(const Launcher& app, TextView path);
// Asks the workers afresh about every path of the catalogue, and for the pictures not yet kept; the grid
// is filled again when an answer changes what it shows.
void AskTileFiles(Launcher& app);
// Start-up's question: asks as AskTileFiles for what is not kept yet and waits up to kSlowLookup; whether
// every answer came.
bool FillTileFiles(Launcher& app);
// The load of the catalogue (settings file, discovery) for start-up and the teacher's reset, on answers the
// workers fetch side by side: rehearsals of the single-threaded load note what it asks, and the load runs
// for real on the answers; what it found of the files is kept, and the grid's pictures are asked for the
// same way (FillTileFiles).
void LoadSideBySide(Launcher& app);
// A change of what is kept fills the grid again; the window activated again asks afresh.
void ConnectTileFiles(Launcher& app);

} // namespace launcher
