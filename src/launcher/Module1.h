// The procedures of the launcher window: frame layout, tile grid, tile pictures, moving and resizing,
// caption buttons, hover and launching. Each takes the application object; event handlers are named after
// the element and the event.
#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/Misc.h"
#include "launcher/Launcher.h"
#include "platform/Elements.h"

namespace launcher {

using catalogue::Bool16;
using platform::PointerEvent;
using platform::Text;
using platform::TextView;

// The window's 16-bit arithmetic.
using catalogue::Clamp;
using catalogue::Floor16;
using catalogue::MaxInt;
using catalogue::Nearest;
using catalogue::NearestAs;

// ---- frame layout (Frame.cpp) ----

// Places the frame elements for the window's current size; `maximised` -1 selects the maximised layout.
void LayoutFrame(Launcher& app, Bool16 maximised);
// Shrinks the title text until it fits before the minimise button and sizes the description text.
void FitTitleText(Launcher& app);

// ---- tile grid and pictures (Tiles.cpp) ----

void LayoutTiles(Launcher& app);
void VScroll_Change(Launcher& app);
void VScroll_Scroll(Launcher& app);
void DrawTilePicture(Launcher& app, Int16 k, Int16 id);
// Draws the index-th icon of `file` at (x, y) on `surface`; false when the file gave no icon.
bool DrawFileIcon(Launcher& app, TextView file, int index, platform::Bitmap& surface, int x, int y);
// Greys tile k out when program id is not installed; true when it did.
bool MarkNotInstalled(Launcher& app, Int16 k, Int16 id);
// A picture from a bitmap file; nothing when the file is missing or no bitmap.
platform::Picture LoadPicture(Launcher& app, TextView path);

// ---- moving and resizing (Moves.cpp) ----

void topBar_MouseDown(Launcher& app, const PointerEvent& e);
void topBar_MouseMove(Launcher& app, const PointerEvent& e);
void topSmoother_MouseDown(Launcher& app, const PointerEvent& e);
void topSmoother_MouseMove(Launcher& app, const PointerEvent& e);
void topText_MouseDown(Launcher& app, const PointerEvent& e);
void topText_MouseMove(Launcher& app, const PointerEvent& e);
void rightBorder_MouseDown(Launcher& app, const PointerEvent& e);
void rightBorder_MouseMove(Launcher& app, const PointerEvent& e);
void rightBorder_MouseUp(Launcher& app, const PointerEvent& e);
void botBar_MouseDown(Launcher& app, const PointerEvent& e);
void botBar_MouseMove(Launcher& app, const PointerEvent& e);
void botBar_MouseUp(Launcher& app, const PointerEvent& e);
void leftBorder_MouseDown(Launcher& app, const PointerEvent& e);
void leftBorder_MouseMove(Launcher& app, const PointerEvent& e);
void leftBorder_MouseUp(Launcher& app, const PointerEvent& e);

// ---- caption buttons and the press nudge (Moves.cpp) ----

void PressButton(Launcher& app, platform::Element& element);
void ReleaseButton(Launcher& app, platform::Element& element);
void PressButton2(Launcher& app, platform::Element& element);
void ReleaseButton2(Launcher& app, platform::Element& element);
void MaximiseWindow(Launcher& app);
void RestoreWindow(Launcher& app);
void MinBut_MouseDown(Launcher& app, const PointerEvent& e);
void MinBut_MouseUp(Launcher& app, const PointerEvent& e);
void restoreBut_MouseDown(Launcher& app, const PointerEvent& e);
void restoreBut_MouseUp(Launcher& app, const PointerEvent& e);
void ExitBut_MouseDown(Launcher& app, const PointerEvent& e);
void ExitBut_MouseUp(Launcher& app, const PointerEvent& e);

// ---- hover and launching (Launching.cpp) ----

// The program id in the tag of progName(k): its leading decimal number, to the nearest 16-bit integer.
Int16 TileProgramId(const Launcher& app, Int16 k);
void ShowProgramInfo(Launcher& app, Int16 k);
void LaunchProgram(Launcher& app, Int16 k);
void LaunchVideos(Launcher& app, Int16 k);
void ChangeToProgramFolder(Launcher& app, TextView path);
void progIcon_MouseMove(Launcher& app, const PointerEvent& e);
void progIcon_MouseDown(Launcher& app, const PointerEvent& e);
void progIcon_MouseUp(Launcher& app, const PointerEvent& e);
void progName_MouseMove(Launcher& app, const PointerEvent& e);
void progName_MouseDown(Launcher& app, const PointerEvent& e);
void progName_MouseUp(Launcher& app, const PointerEvent& e);
void prVidBut_MouseMove(Launcher& app, const PointerEvent& e);
void prVidBut_MouseDown(Launcher& app, const PointerEvent& e);
void prVidBut_MouseUp(Launcher& app, const PointerEvent& e);
void SameProgWaitTimer_Timer(Launcher& app);

// Connects every element's events of Form1 to the handlers above (Launching.cpp).
void WireForm1(Launcher& app);

} // namespace launcher
