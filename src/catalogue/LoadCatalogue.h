// The load sequence that start-up and the teacher's reset both run.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

namespace catalogue {

// EnsureSettingsFile, LoadSettings, DiscoverPrograms, TrimPaths: afterwards the catalogue is complete.
void LoadCatalogue(Catalogue& cat, platform::FileSystem& files);

} // namespace catalogue
