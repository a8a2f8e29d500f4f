// Connects the events of the launcher window: the frame and the tile slots through the procedure files
// that handle them, the scroll bar and the wheel here.
#include "launcher/Form1Events.h"

#include "launcher/Accessibility.h"
#include "launcher/Keyboard.h"
#include "launcher/Launching.h"
#include "launcher/Moves.h"
#include "launcher/TileFiles.h"
#include "launcher/Tiles.h"
#include "launcher/Touch.h"

#include <utility>

namespace launcher {

void WireForm1(Launcher& app, std::function<void()> quit) {
    ConnectFrame(app, std::move(quit));
    ConnectTiles(app);
    ConnectTouch(app);
    app.form.VScroll.onChange = [&app] { VScroll_Change(app); };
    app.form.VScroll.onScroll = [&app] { VScroll_Scroll(app); };
    // The wheel anywhere over the window scrolls the grid.
    app.form.onWheel = [&app](int delta, double /*x*/, double /*y*/) { WheelOverGrid(app, delta); };
    ConnectAccessibility(app);
    ConnectTileFiles(app);
    // A click on the logo does nothing, so tessalyLogo gets no handlers.
}

} // namespace launcher
