// The launcher window without a mouse.
//
// The focus moves over the listed tiles in display order, as the grid shows them: a row holds
// TilesPerRow tiles, counted from the first position the scroll value shows, and the same count carries on
// above it for the rows scrolled out of view. A focused tile is brought into view, whole row and all,
// through the scroll bar's value, so the grid is refilled by VScroll_Change as for any scroll. Enter and
// Space hand the focused element the press and the release that a click gives it, so they run exactly the
// click's procedures (the nudge, LaunchProgram and its busy second, LaunchVideos, the caption buttons).
#include "launcher/Keyboard.h"

#include "catalogue/Catalogue.h"
#include "launcher/Launching.h"

#include <algorithm>
#include <vector>

namespace launcher {

namespace {

using platform::Element;

// The first display position the grid shows at scroll value `value`, as LayoutTiles counts it.
int OffsetAt(const Launcher& app, int value) {
    return std::max(0, value * app.values.gridColumns);
}

// The index in `listed` of the first tile the grid shows at scroll value `value`.
int FirstShown(const std::vector<int>& listed, int offset) {
    return static_cast<int>(std::lower_bound(listed.begin(), listed.end(), offset) - listed.begin());
}

// Rounds towards minus infinity: rows above the first shown one are negative.
int FloorDiv(int a, int b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}

// The grid row of listed[j] when scrolled to `value`, counted from the top of the tile area.
int RowAt(const Launcher& app, const std::vector<int>& listed, int j, int value) {
    return FloorDiv(j - FirstShown(listed, OffsetAt(app, value)), app.grid.tilesPerRow);
}

// The index in `listed` of the focused tile (or of the tile whose video button is focused); nothing when
// the focus is elsewhere or its program is no longer listed.
std::optional<int> FocusedIndex(const Launcher& app, const std::vector<int>& listed) {
    const KeyboardFocus& focus = app.values.focus;
    if (focus.kind != FocusKind::Tile && focus.kind != FocusKind::Video) {
        return std::nullopt;
    }
    const auto at = std::find(listed.begin(), listed.end(), focus.position);
    if (at == listed.end()) {
        return std::nullopt;
    }
    return static_cast<int>(at - listed.begin());
}

// The tile one row below j (up when `down` is false), or the last (first) tile when the row beyond is
// shorter; j itself when there is no row beyond.
int RowStep(const Launcher& app, const std::vector<int>& listed, int j, bool down) {
    const int n = static_cast<int>(listed.size());
    const int perRow = app.grid.tilesPerRow;
    const int value = app.form.VScroll.value();
    if (down) {
        if (j + perRow < n) {
            return j + perRow;
        }
        return RowAt(app, listed, n - 1, value) > RowAt(app, listed, j, value) ? n - 1 : j;
    }
    if (j - perRow >= 0) {
        return j - perRow;
    }
    return RowAt(app, listed, 0, value) < RowAt(app, listed, j, value) ? 0 : j;
}

// Scrolls the grid, through the scroll bar, so that the whole row of listed[j] shows; the smallest move
// that does it, within the scroll range.
void ScrollIntoView(Launcher& app, const std::vector<int>& listed, int j) {
    platform::ScrollBar& bar = app.form.VScroll;
    if (bar.max() < bar.min()) {
        return; // everything fits: there is nothing to scroll
    }
    const int rowsShown = std::max<int>(1, app.values.gridRows);
    const auto inView = [&](int value) {
        const int row = RowAt(app, listed, j, value);
        return row >= 0 && row < rowsShown;
    };
    int value = bar.value();
    if (inView(value)) {
        return;
    }
    const int step = RowAt(app, listed, j, value) < 0 ? -1 : 1;
    do {
        value += step;
    } while (value > bar.min() && value < bar.max() && !inView(value));
    static_cast<void>(bar.SetValue(static_cast<Int16>(std::clamp<int>(value, bar.min(), bar.max()))));
}

// Hands an element the press and the release of a left click at its top-left corner.
void Click(Element& element, int index) {
    const platform::PointerEvent event{index, platform::kLeftButton, 0, 0, 0};
    const auto down = element.handlers.down;
    if (down) {
        down(event);
    }
    const auto up = element.handlers.up;
    if (up) {
        up(event);
    }
}

Element* CaptionButton(Form1& form, FocusKind kind) {
    switch (kind) {
    case FocusKind::Minimise:
        return &form.MinBut;
    case FocusKind::Maximise:
        return &form.restoreBut;
    case FocusKind::Exit:
        return &form.ExitBut;
    default:
        return nullptr;
    }
}

// The Tab order: each listed tile followed by its video button when it shows one, then the caption
// buttons from left to right.
std::vector<KeyboardFocus> TabStops(Launcher& app, const std::vector<int>& listed) {
    std::vector<KeyboardFocus> stops;
    const std::vector<bool>& video = app.grid.listedVideo;
    for (std::size_t j = 0; j < listed.size(); ++j) {
        const int pos = listed[j];
        stops.push_back(KeyboardFocus{FocusKind::Tile, pos});
        if (j < video.size() && video[j]) {
            stops.push_back(KeyboardFocus{FocusKind::Video, pos});
        }
    }
    for (const FocusKind kind : {FocusKind::Minimise, FocusKind::Maximise, FocusKind::Exit}) {
        stops.push_back(KeyboardFocus{kind, -1});
    }
    return stops;
}

// Moves the focus and shows it: the grid scrolls to a tile, and the description label tells of it.
void MoveFocus(Launcher& app, const std::vector<int>& listed, KeyboardFocus focus) {
    app.values.focus = focus;
    if (focus.kind == FocusKind::Tile || focus.kind == FocusKind::Video) {
        const auto j = std::find(listed.begin(), listed.end(), focus.position) - listed.begin();
        ScrollIntoView(app, listed, static_cast<int>(j));
        if (const auto slot = SlotOfPosition(app, focus.position)) {
            ShowProgramInfo(app, static_cast<Int16>(*slot));
        }
    }
    ShowFocus(app);
}

void Tab(Launcher& app, const std::vector<int>& listed, bool back) {
    const std::vector<KeyboardFocus> stops = TabStops(app, listed);
    const auto at = std::find(stops.begin(), stops.end(), app.values.focus);
    const int n = static_cast<int>(stops.size());
    int next = 0; // from nowhere, the first stop
    if (at != stops.end()) {
        const int here = static_cast<int>(at - stops.begin());
        next = (here + (back ? n - 1 : 1)) % n;
    }
    MoveFocus(app, listed, stops[static_cast<std::size_t>(next)]);
}

// An arrow, Home, End, Page Up or Page Down over the tiles.
void MoveOverTiles(Launcher& app, const std::vector<int>& listed, int keyCode) {
    if (listed.empty()) {
        return;
    }
    const std::optional<int> here = FocusedIndex(app, listed);
    if (!here) {
        if (app.values.focus.kind == FocusKind::None || app.values.focus.kind == FocusKind::Tile ||
            app.values.focus.kind == FocusKind::Video) {
            MoveFocus(app, listed, KeyboardFocus{FocusKind::Tile, listed.front()});
        }
        return; // a caption button keeps the focus
    }
    const int last = static_cast<int>(listed.size()) - 1;
    const int page = std::max<int>(1, app.values.gridRows);
    int j = *here;
    switch (keyCode) {
    case platform::kKeyRight:
        j = std::min(j + 1, last);
        break;
    case platform::kKeyLeft:
        j = std::max(j - 1, 0);
        break;
    case platform::kKeyDown:
    case platform::kKeyUp:
        j = RowStep(app, listed, j, keyCode == platform::kKeyDown);
        break;
    case platform::kKeyPageDown:
    case platform::kKeyPageUp:
        for (int row = 0; row < page; ++row) {
            j = RowStep(app, listed, j, keyCode == platform::kKeyPageDown);
        }
        break;
    case platform::kKeyHome:
        j = 0;
        break;
    case platform::kKeyEnd:
        j = last;
        break;
    default:
        return;
    }
    MoveFocus(app, listed, KeyboardFocus{FocusKind::Tile, listed[static_cast<std::size_t>(j)]});
}

} // namespace

void ClickFocusTarget(Launcher& app, const KeyboardFocus& target) {
    Form1& form = app.form;
    if (Element* button = CaptionButton(form, target.kind)) {
        Click(*button, 0);
        return;
    }
    const std::optional<int> slot = SlotOfPosition(app, target.position);
    if (!slot) {
        return;
    }
    if (target.kind == FocusKind::Tile) {
        Click(form.progIcon[*slot], *slot);
    } else if (target.kind == FocusKind::Video && form.prVidBut[*slot].visible) {
        Click(form.prVidBut[*slot], *slot);
    }
}

void KeyboardKeyDown(Launcher& app, int keyCode, int shift) {
    // Only plain keys and Shift+Tab act; combinations with Ctrl or Alt belong to others.
    if ((shift & (platform::kCtrlMask | platform::kAltMask)) != 0) {
        return;
    }
    app.form.keyboardCues = true;
    const std::vector<int> listed = app.grid.listed;
    switch (keyCode) {
    case platform::kKeyTab:
        Tab(app, listed, (shift & platform::kShiftMask) != 0);
        break;
    case platform::kKeyEnter:
    case platform::kKeySpace:
        ClickFocusTarget(app, app.values.focus);
        break;
    default:
        MoveOverTiles(app, listed, keyCode);
        break;
    }
}

void WheelOverGrid(Launcher& app, int delta) {
    platform::TurnWheel(app.form.VScroll, app.values.wheelRest, delta, 1); // a row a notch
    // A focused tile that the wheel scrolled out of view hands the focus to the nearest tile in view, in its
    // column: the focus stays where the user can see it.
    const std::vector<int> listed = app.grid.listed;
    const std::optional<int> j = FocusedIndex(app, listed);
    if (!j) {
        return;
    }
    const int rowsShown = std::max<int>(1, app.values.gridRows);
    const int row = RowAt(app, listed, *j, app.form.VScroll.value());
    if (row >= 0 && row < rowsShown) {
        return;
    }
    const int rows = row < 0 ? row : row - rowsShown + 1; // how far out of view, in rows
    const int target = std::clamp(*j - rows * app.grid.tilesPerRow, 0, static_cast<int>(listed.size()) - 1);
    MoveFocus(app, listed, KeyboardFocus{FocusKind::Tile, listed[static_cast<std::size_t>(target)]});
}

} // namespace launcher
