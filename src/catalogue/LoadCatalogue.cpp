// The load sequence that start-up and the teacher's reset both run: settings file, catalogue, discovery
// and trimming.
#include "catalogue/XMLsettingStuff.h"

namespace catalogue {

void LoadCatalogue(Catalogue& cat, platform::FileSystem& files) {
    EnsureSettingsFile(cat, files);
    LoadSettings(cat, files);
    DiscoverPrograms(cat, files);
    TrimPaths(cat);
}

} // namespace catalogue
