// Connects the events of the launcher window: the frame and the tile slots through the procedure files
// that handle them, the scroll bar here.
#include "launcher/Form1Events.h"

#include "launcher/Launching.h"
#include "launcher/Moves.h"
#include "launcher/Tiles.h"

#include <utility>

namespace launcher {

void WireForm1(Launcher& app, std::function<void()> quit) {
    ConnectFrame(app, std::move(quit));
    ConnectTiles(app);
    app.form.VScroll.onChange = [&app] { VScroll_Change(app); };
    app.form.VScroll.onScroll = [&app] { VScroll_Scroll(app); };
    // A click on the logo does nothing, so tessalyLogo gets no handlers.
}

} // namespace launcher
