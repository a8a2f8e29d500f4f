// Start-up of the launcher: the values computed once, and the catalogue sequence that start-up and the
// teacher's reset both run.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

namespace app {

// appDrive from the launcher's folder, and the tile cell size.
void InitSystemInfo(catalogue::Catalogue& cat, const platform::FileSystem& files);

// EnsureSettingsFile, LoadSettings, DiscoverPrograms, TrimPaths: afterwards the catalogue is complete.
void LoadCatalogue(catalogue::Catalogue& cat, platform::FileSystem& files);

} // namespace app
