// Start-up of the launcher: the values computed once for the window layout.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"
#include "platform/System.h"

namespace app {

// appDrive from the launcher's folder, the screen's width in pixels (its width in twips over the twips per
// pixel horizontally, to the nearest integer; left as it was when that does not fit 16 bits) and the tile
// cell size.
void InitSystemInfo(catalogue::Catalogue& cat, const platform::FileSystem& files, const platform::ScreenInfo& screen);

} // namespace app
