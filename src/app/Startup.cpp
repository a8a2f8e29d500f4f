// Start-up values: the launcher's drive, the screen width in pixels and the tile cell size.
#include "app/Startup.h"

#include "catalogue/Misc.h"

namespace app {

void InitSystemInfo(catalogue::Catalogue& cat, const platform::FileSystem& files, const platform::ScreenInfo& screen) {
    cat.appDrive = files.AppFolder().substr(0, 2);
    // Twips over twips per pixel gives pixels. A screen that reports no resolution, or a width that does
    // not fit 16 bits in pixels, skips the step and leaves the old value.
    if (screen.twipsPerPixelX > 0) {
        if (const auto pixels = catalogue::Nearest(screen.widthTwips / screen.twipsPerPixelX)) {
            cat.screenWidthPx = *pixels;
        }
    }
    cat.cellWidth = 180;
    cat.cellHeight = 120;
}

} // namespace app
