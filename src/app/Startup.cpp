#include "app/Startup.h"

#include "catalogue/XMLsettingStuff.h"

namespace app {

void InitSystemInfo(catalogue::Catalogue& cat, const platform::FileSystem& files) {
    cat.appDrive = files.AppFolder().substr(0, 2);
    cat.cellWidth = 180;
    cat.cellHeight = 120;
}

void LoadCatalogue(catalogue::Catalogue& cat, platform::FileSystem& files) {
    catalogue::EnsureSettingsFile(cat, files);
    catalogue::LoadSettings(cat, files);
    catalogue::DiscoverPrograms(cat, files);
    catalogue::TrimPaths(cat);
}

} // namespace app
