// The tile grid and the tile pictures: the fill of the tile slots from the catalogue and what is kept of
// its files, its scroll events, and what each tile shows (picture file, the executable's icon, or greyed
// as not installed). A fill touches no file but, once per executable, the icon it draws.
#pragma once

#include "launcher/Launcher.h"
#include "platform/Picture.h"
#include "platform/Text.h"

namespace launcher {

// Whether display position `pos` gets a tile in a fill: a known program, not hidden, and installed or
// shown greyed; a program whose installed test failed outright is not listed.
bool ListedAt(const Launcher& app, int pos);
// Whether program id's tile shows its video button: it has a player and is installed.
bool HasVideoButton(const Launcher& app, Int16 id);
// How many tiles a row of the grid holds at the tile area's present width (at least one).
int TilesPerRow(const Launcher& app);

// Rebuilds the whole grid from the catalogue, the scroll value and the tile area's size.
void LayoutTiles(Launcher& app);
// The scroll bar's change and scroll (thumb drag) events: both refill the grid.
void VScroll_Change(Launcher& app);
void VScroll_Scroll(Launcher& app);

// Gives tile k the picture of program id: its picture file, else its executable's first icon.
void DrawTilePicture(Launcher& app, Int16 k, Int16 id);
// Greys tile k out when program id is not installed; true when it did.
bool MarkNotInstalled(Launcher& app, Int16 k, Int16 id);

} // namespace launcher
