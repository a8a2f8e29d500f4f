// What a screen reader is told of the launcher window. The parts are read afresh from element state each
// time the reader asks, so they follow every refill; a default action runs the click of Enter and Space.
#include "launcher/Accessibility.h"

#include "launcher/Keyboard.h"
#include "launcher/Launching.h"

namespace launcher {

namespace {

using platform::AccessibleItem;

constexpr char16_t kPress[] = u"Press";

// Child ids by what a part shows: a program's tile and its video button by the program's id, so that they
// keep their ids through scrolls and refills; the frame's parts after them; a tile naming no program (it
// shows nothing a reader could keep) by its slot, past all of these.
long TileId(Int16 program) {
    return 1 + 2L * program;
}
long VideoId(Int16 program) {
    return 2 + 2L * program;
}
// In the order the parts are listed, so that the last part has the highest of these ids.
constexpr long kScrollBarId = 2 * catalogue::kSlotCount + 1;
constexpr long kMinimiseId = kScrollBarId + 1;
constexpr long kMaximiseId = kScrollBarId + 2;
constexpr long kExitId = kScrollBarId + 3;
constexpr long kInfoId = kScrollBarId + 4;
constexpr long kSlotIds = kScrollBarId + 5; // then one for each slot, for tiles that name no program

AccessibleItem Part(Launcher& app, const KeyboardFocus& target, platform::Text name, const platform::Element& element) {
    AccessibleItem item;
    item.name = std::move(name);
    item.focusable = true;
    item.focused = app.values.focus == target;
    item.element = &element;
    item.defaultAction = kPress;
    item.doDefaultAction = [&app, target] { ClickFocusTarget(app, target); };
    return item;
}

} // namespace

std::vector<AccessibleItem> AccessibleParts(Launcher& app) {
    Form1& form = app.form;
    std::vector<AccessibleItem> parts;
    const std::vector<int> positions = PositionsBySlot(app);
    for (int k = 0; k < static_cast<int>(positions.size()); ++k) {
        const int pos = positions[static_cast<std::size_t>(k)];
        const Int16 id = TileProgramId(app, static_cast<Int16>(k));
        const catalogue::ProgramRecord* program =
            id >= 0 && id < catalogue::kSlotCount ? &app.cat.progList[static_cast<std::size_t>(id)] : nullptr;
        AccessibleItem tile =
            Part(app, KeyboardFocus{FocusKind::Tile, pos}, form.progName[k].caption(), form.progIcon[k]);
        tile.element2 = &form.progName[k];
        // Greyed by the fill: not installed, and described as the description label then says it.
        tile.unavailable = form.progName[k].foreColor == kGreyedName;
        tile.description = tile.unavailable     ? platform::Text(kNotInstalled)
                           : program != nullptr ? program->desc
                                                : platform::Text();
        // Laid out below the tile area's bottom edge: scrolled out of view.
        tile.offscreen = form.progIcon[k].top >= form.progHolder.height;
        tile.defaultAction = u"Start";
        const bool offscreen = tile.offscreen;
        tile.id = program != nullptr ? TileId(id) : kSlotIds + 2L * k;
        parts.push_back(std::move(tile));
        if (form.prVidBut[k].visible) {
            parts.push_back(Part(app, KeyboardFocus{FocusKind::Video, pos},
                                 u"Help video: " + form.progName[k].caption(), form.prVidBut[k]));
            parts.back().offscreen = offscreen;
            parts.back().id = program != nullptr ? VideoId(id) : kSlotIds + 2L * k + 1;
        }
    }
    if (form.VScroll.visible) {
        AccessibleItem bar;
        bar.role = AccessibleItem::Role::ScrollBar;
        bar.name = u"Vertical";
        bar.value = platform::DecimalText(form.VScroll.value());
        bar.description = u"Rows scrolled, 0 to " + platform::DecimalText(form.VScroll.max());
        bar.element = &form.VScroll;
        bar.id = kScrollBarId;
        parts.push_back(std::move(bar));
    }
    parts.push_back(Part(app, KeyboardFocus{FocusKind::Minimise, -1}, form.MinBut.toolTipText, form.MinBut));
    parts.back().id = kMinimiseId;
    parts.push_back(Part(app, KeyboardFocus{FocusKind::Maximise, -1}, form.restoreBut.toolTipText, form.restoreBut));
    parts.back().id = kMaximiseId;
    parts.push_back(Part(app, KeyboardFocus{FocusKind::Exit, -1}, form.ExitBut.toolTipText, form.ExitBut));
    parts.back().id = kExitId;

    AccessibleItem info;
    info.role = AccessibleItem::Role::StaticText;
    info.name = form.progInfo.caption();
    info.element = &form.progInfo;
    info.id = kInfoId;
    parts.push_back(std::move(info));
    return parts;
}

void ConnectAccessibility(Launcher& app) {
    app.form.accessibleChildren = [&app] { return AccessibleParts(app); };
}

} // namespace launcher
