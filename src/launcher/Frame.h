// The window frame: the layout of the title bar, caption buttons, border strips, tile area, logo and the
// labels along the bottom, for the window's current size.
#pragma once

#include "catalogue/Catalogue.h"
#include "launcher/Launcher.h"

namespace launcher {

// Places the frame elements for the window's current size; `maximised` -1 selects the maximised layout.
void LayoutFrame(Launcher& app, catalogue::Bool16 maximised);
// Shrinks the title text until it fits before the minimise button and sizes the description text.
void FitTitleText(Launcher& app);

} // namespace launcher
