// The window frame: places the title bar, caption buttons, border strips, tile area, logo, version label
// and description label from the window's current size, and fits the title text to the title bar.
//
// Every position and size here is in pixels inside the element's container (the title bar and the window
// share their origin, so title-bar coordinates are window coordinates). Each step stands on its own: when
// a step cannot be done (a 16-bit conversion overflows, a division by zero, a size that would be negative)
// the element keeps its previous value and the layout goes on with the next step.
#include "launcher/Frame.h"

#include "catalogue/Misc.h"

#include <cmath>
#include <optional>

namespace launcher {

namespace {

using catalogue::Floor16;
using catalogue::MaxInt;
using catalogue::Nearest;
using platform::MousePointer;

// Sets an element's width or height; a negative or non-finite size is refused and the old one stays.
void SetSize(double& field, double pixels) {
    if (std::isfinite(pixels) && pixels >= 0) {
        field = pixels;
    }
}

// Sets an element's left or top; a non-finite position is refused and the old one stays.
void SetPosition(double& field, double pixels) {
    if (std::isfinite(pixels)) {
        field = pixels;
    }
}

// The whole number of cells of `cell` pixels that fit `extent` pixels; nothing for a zero cell or when the
// count does not fit 16 bits.
std::optional<Int16> WholeCells(double extent, Int16 cell) {
    if (cell == 0) {
        return std::nullopt;
    }
    return Floor16(extent / cell);
}

// The description label's font size, in points, for the window's inner width in pixels.
double DescriptionFontSize(int innerWidth) {
    if (innerWidth >= 1024) {
        return 14;
    }
    if (innerWidth >= 900) {
        return 12;
    }
    if (innerWidth >= 601) {
        return 11;
    }
    if (innerWidth >= 540) {
        return 10;
    }
    if (innerWidth >= 480) {
        return 9;
    }
    return 8;
}

// The title text is tried from its design size down to this floor; at the floor it is kept even when it
// still does not fit.
constexpr int kLargestTitleSize = 36;
constexpr int kSmallestTitleSize = 10;

} // namespace

void LayoutFrame(Launcher& app, catalogue::Bool16 maximised) {
    Form1& f = app.form;
    platform::System& system = app.system;
    const bool isMaximised = maximised == catalogue::kTrue;

    // 1. The mode shows itself: sizing pointers and "Maximise" in the normal window; in the maximised one
    // the title bar spans the screen width measured at start-up and the strips cannot resize.
    const double titleWidth = isMaximised ? static_cast<double>(app.cat.screenWidthPx) : system.ScaleWidth();
    SetSize(f.topBar.width, titleWidth);
    SetSize(f.topSmoother.width, titleWidth);
    f.leftBorder.mousePointer = isMaximised ? MousePointer::Default : MousePointer::SizeWE;
    f.rightBorder.mousePointer = isMaximised ? MousePointer::Default : MousePointer::SizeWE;
    f.botBar.mousePointer = isMaximised ? MousePointer::Default : MousePointer::SizeNS;
    f.restoreBut.toolTipText = isMaximised ? u"Restore down" : u"Maximise";

    // W is the title bar's width as it now stands (its old width when the new one was refused).
    const double W = f.topBar.width;

    // 2-4. Caption buttons from the right: exit 12 pixels in, the others 4 pixels apart.
    SetPosition(f.ExitBut.left, W - f.ExitBut.width - 12);
    SetPosition(f.restoreBut.left, f.ExitBut.left - f.restoreBut.width - 4);
    SetPosition(f.MinBut.left, f.restoreBut.left - f.MinBut.width - 4);

    // 5-6. Tile area: the same margin right as left; it ends 81 pixels above the bottom.
    SetSize(f.progHolder.width, W - 2 * f.progHolder.left);
    SetSize(f.progHolder.height, system.ScaleHeight() - 81 - f.progHolder.top);

    // 7-8. Logo 16 pixels from the right, 8 pixels below the tile area.
    SetPosition(f.tessalyLogo.left, W - f.tessalyLogo.width - 16);
    SetPosition(f.tessalyLogo.top, f.progHolder.top + f.progHolder.height + 8);

    // 9-10. Version label centred on the logo's height; it sizes itself to its new caption.
    SetPosition(f.verLabel.top, f.tessalyLogo.top + f.tessalyLogo.height / 2 - f.verLabel.height / 2);
    const platform::Version version = system.AppVersion();
    f.verLabel.SetCaption(u"v " + platform::DecimalText(version.major) + u"." + platform::DecimalText(version.minor) +
                          u"." + platform::DecimalText(version.revision));

    // 11-15. Border strips: the sides span the full height, the bottom strip the full width. The right
    // strip's last pixel column lies one pixel beyond the title bar's right edge.
    SetSize(f.leftBorder.height, system.ScaleHeight());
    SetSize(f.rightBorder.height, f.leftBorder.height);
    SetPosition(f.rightBorder.left, W + 1 - f.rightBorder.width);
    SetSize(f.botBar.width, W);
    SetPosition(f.botBar.top, system.ScaleHeight() - f.botBar.height);

    // 16-17. Scroll bar along the tile area's right edge (tile-area coordinates).
    SetPosition(f.VScroll.left, f.progHolder.width - f.VScroll.width - 2);
    SetSize(f.VScroll.height, f.progHolder.height - 2);

    // 18-20. Description label between the version label and the logo, 32 pixels from each, at least 10
    // pixels wide.
    SetPosition(f.progInfo.left, f.verLabel.left + f.verLabel.width + 32);
    if (const auto room = Nearest(f.tessalyLogo.left - 32 - f.progInfo.left)) {
        f.progInfo.width = MaxInt<Int16>(*room, 10);
    }
    SetPosition(f.progInfo.top, f.tessalyLogo.top);

    // 21-25. The grid's whole cells and the scroll range, which counts rows of the whole catalogue
    // (hidden programs too).
    f.VScroll.smallChange = 1;
    if (const auto columns = WholeCells(f.progHolder.width, app.cat.cellWidth)) {
        app.values.gridColumns = *columns;
    }
    if (const auto rows = WholeCells(f.progHolder.height, app.cat.cellHeight)) {
        app.values.gridRows = *rows;
    }
    if (const auto rowsLessOne = Nearest(app.values.gridRows - 1)) {
        f.VScroll.largeChange = MaxInt<Int16>(*rowsLessOne, 1);
    }
    if (app.values.gridColumns != 0) {
        const double rowsOfCatalogue = static_cast<double>(app.cat.progCount) / app.values.gridColumns;
        if (const auto maximum = Nearest(rowsOfCatalogue - app.values.gridRows + 1)) {
            f.VScroll.SetMax(*maximum);
        }
    }

    // 26. The title text and the description font follow the new width.
    FitTitleText(app);
}

void FitTitleText(Launcher& app) {
    Form1& f = app.form;

    // The title bar shares the title text's face and weight, so it measures the caption at each size
    // tried; the text must end strictly before the minimise button.
    int size = kLargestTitleSize;
    f.topBar.font.size = size;
    const double room = f.MinBut.left - f.topText.left;
    while (size > kSmallestTitleSize && !(room > f.topBar.TextWidth(f.topText.caption()))) {
        --size;
        f.topBar.font.size = size;
    }
    f.topText.SetFontSize(size);
    SetPosition(f.topText.top, f.topBar.height / 2 - f.topText.height / 2);

    // The description's font steps down with the window's inner width (whole pixels).
    if (const auto innerWidth = Nearest(app.system.ScaleWidth())) {
        f.progInfo.SetFontSize(DescriptionFontSize(*innerWidth));
    }
}

} // namespace launcher
