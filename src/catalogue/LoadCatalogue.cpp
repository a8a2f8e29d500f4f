// The load sequence that start-up and the teacher's reset both run: settings file, catalogue, discovery
// and trimming.
#include "catalogue/LoadCatalogue.h"
#include "catalogue/Defaults.h"
#include "catalogue/Discovery.h"
#include "catalogue/Settings.h"

namespace catalogue {

void LoadCatalogue(Catalogue& cat, platform::FileSystem& files) {
    EnsureSettingsFile(cat, files);
    LoadSettings(cat, files);
    DiscoverPrograms(cat, files);
    TrimPaths(cat);
}

} // namespace catalogue
