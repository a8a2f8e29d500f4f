// What reads the grid's record of its last fill alone.
#include "launcher/TileRecord.h"

#include <algorithm>

namespace launcher {

std::vector<int> PositionsBySlot(const Launcher& app) {
    // Only the slots that still exist and show.
    const Form1& form = app.form;
    std::vector<int> positions = app.grid.positionBySlot;
    int shown = 0;
    while (shown < static_cast<int>(positions.size()) && shown < form.progIcon.Count() &&
           shown < form.progName.Count() && shown < form.prVidBut.Count() && form.progIcon[shown].visible) {
        ++shown;
    }
    positions.resize(static_cast<std::size_t>(shown));
    return positions;
}

std::optional<int> SlotOfPosition(const Launcher& app, int position) {
    const std::vector<int> positions = PositionsBySlot(app);
    const auto at = std::find(positions.begin(), positions.end(), position);
    if (at == positions.end()) {
        return std::nullopt;
    }
    return static_cast<int>(at - positions.begin());
}

void ShowFocus(Launcher& app) {
    Form1& form = app.form;
    for (int k = 0; k < form.progIcon.Count(); ++k) {
        form.progIcon[k].focusRing = false;
    }
    for (int k = 0; k < form.progName.Count(); ++k) {
        form.progName[k].focusRing = false;
    }
    for (int k = 0; k < form.prVidBut.Count(); ++k) {
        form.prVidBut[k].focusRing = false;
    }
    form.MinBut.focusRing = false;
    form.restoreBut.focusRing = false;
    form.ExitBut.focusRing = false;

    const KeyboardFocus focus = app.values.focus;
    switch (focus.kind) {
    case FocusKind::Minimise:
        form.MinBut.focusRing = true;
        return;
    case FocusKind::Maximise:
        form.restoreBut.focusRing = true;
        return;
    case FocusKind::Exit:
        form.ExitBut.focusRing = true;
        return;
    case FocusKind::Tile:
    case FocusKind::Video:
        break;
    default:
        return;
    }
    if (const std::optional<int> slot = SlotOfPosition(app, focus.position)) {
        if (focus.kind == FocusKind::Tile) {
            // The ring surrounds the picture and the name together.
            form.progIcon[*slot].focusRing = true;
            form.progName[*slot].focusRing = true;
        } else {
            form.prVidBut[*slot].focusRing = true;
        }
    }
}

} // namespace launcher
