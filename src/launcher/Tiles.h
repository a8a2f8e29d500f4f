// The tile grid and the tile pictures: the fill of the tile slots from the catalogue, its scroll events,
// and what each tile shows (picture file, the executable's icon, or greyed as not installed).
#pragma once

#include "launcher/Launcher.h"
#include "platform/Picture.h"
#include "platform/Text.h"

namespace launcher {

// Rebuilds the whole grid from the catalogue, the scroll value and the tile area's size.
void LayoutTiles(Launcher& app);
// The scroll bar's change and scroll (thumb drag) events: both refill the grid.
void VScroll_Change(Launcher& app);
void VScroll_Scroll(Launcher& app);

// Gives tile k the picture of program id: its picture file, else its executable's first icon.
void DrawTilePicture(Launcher& app, Int16 k, Int16 id);
// Greys tile k out when program id is not installed; true when it did.
bool MarkNotInstalled(Launcher& app, Int16 k, Int16 id);
// A picture from a bitmap file; nothing when the file is missing or no bitmap.
platform::Picture LoadPicture(Launcher& app, platform::TextView path);

} // namespace launcher
