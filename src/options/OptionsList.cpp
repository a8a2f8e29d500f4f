// The program list of the options dialog.
//
// Rows are elements of the dialog itself, one label and one check box each, placed one label height less
// one pixel apart from the first row's top (48 pixels). The list's scroll value is the index of the first
// row shown; every row keeps a place in that one column, so rows scrolled out of the list lie above or
// below it, hidden, and a drop still orders all rows by where they stand. With up to kRowsShown rows the
// scroll bar stays hidden and the value stays 0: the rows stand where the design puts them.
#include "options/OptionsList.h"

#include "catalogue/Misc.h"
#include "platform/ElementGeometry.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace options {

namespace {

using platform::Text;
using Int16 = std::int16_t;

constexpr double kFirstRowTop = 48; // pixels

// The rows in use: the catalogue's programs (the design row is not one when there are none).
int Rows(const optForm& form) {
    return std::clamp(form.rowCount, 0, form.progLabel.Count());
}

double RowStep(const platform::Label& label) {
    return label.height - 1;
}

// Where the list's shown rows end: the bottom of the last one that fits.
double ListBottom(const optForm& form) {
    const platform::Label& label = form.progLabel[0];
    return kFirstRowTop + kRowsShown * RowStep(label);
}

void Focus(optForm& form, int row) {
    if (row >= 0 && row < Rows(form) && row < form.progCheck.Count()) {
        form.focused = &form.progCheck[row];
        ScrollRowIntoView(form, row);
    }
}

// Up and Down a row, Home and End to the first and last, Page Up and Page Down by the rows shown.
void MoveFocus(optForm& form, int keyCode) {
    const int row = FocusedRow(form);
    const int last = Rows(form) - 1;
    if (row < 0) {
        return; // a button has the focus: the arrows are not the list's
    }
    int target = row;
    switch (keyCode) {
    case platform::kKeyUp:
        target = row - 1;
        break;
    case platform::kKeyDown:
        target = row + 1;
        break;
    case platform::kKeyHome:
        target = 0;
        break;
    case platform::kKeyEnd:
        target = last;
        break;
    case platform::kKeyPageUp:
        target = row - kRowsShown;
        break;
    case platform::kKeyPageDown:
        target = row + kRowsShown;
        break;
    default:
        break;
    }
    Focus(form, std::clamp(target, 0, last));
}

void ToggleRow(optForm& form, int row) {
    if (row >= 0 && row < Rows(form) && row < form.progCheck.Count()) {
        platform::CheckBox& box = form.progCheck[row];
        box.value = box.value == 1 ? 0 : 1;
    }
}

// Moves the focused row's program one place up (-1) or down (+1), as a drag of its name that is dropped
// just beyond the neighbouring row's top.
void MoveFocusedRow(optForm& form, int step) {
    const int row = FocusedRow(form);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= Rows(form)) {
        return;
    }
    platform::Label& label = form.progLabel[row];
    label.top = RowTop(form, label, target) + step;
    DropRows(form);
    Focus(form, target);
}

void Tab(optForm& form, bool back) {
    std::vector<platform::Element*> stops;
    for (int i = 0; i < Rows(form) && i < form.progCheck.Count(); ++i) {
        stops.push_back(&form.progCheck[i]);
    }
    stops.push_back(&form.OKbut);
    stops.push_back(&form.cancelBut);
    stops.push_back(&form.Command1);
    const auto at = std::find(stops.begin(), stops.end(), form.focused);
    const int n = static_cast<int>(stops.size());
    int next = back ? n - 1 : 0;
    if (at != stops.end()) {
        next = (static_cast<int>(at - stops.begin()) + (back ? n - 1 : 1)) % n;
    }
    if (next < Rows(form)) {
        Focus(form, next);
    } else {
        form.focused = stops[static_cast<std::size_t>(next)];
    }
}

// -1 while the dragged name stands more than half a row above the first shown row, +1 while it stands as
// far below the last one, 0 otherwise.
int EdgeDirection(const optForm& form, int row) {
    const platform::Label& label = form.progLabel[row];
    const double half = RowStep(label) / 2;
    if (label.top < kFirstRowTop - half) {
        return -1;
    }
    if (label.top > ListBottom(form) - RowStep(label) + half) {
        return 1;
    }
    return 0;
}

void EdgeTick(optForm& form) {
    const int row = form.dragRow;
    const int direction = row >= 0 && row < Rows(form) ? EdgeDirection(form, row) : 0;
    platform::ScrollBar& bar = form.listScroll;
    const int value = bar.value() + direction;
    if (direction == 0 || value < bar.min() || value > bar.max()) {
        form.edgeScroll.enabled = false;
        return;
    }
    static_cast<void>(bar.SetValue(static_cast<Int16>(value)));
}

} // namespace

int FocusedRow(const optForm& form) {
    for (int i = 0; i < Rows(form) && i < form.progCheck.Count(); ++i) {
        if (form.focused == &form.progCheck[i]) {
            return i;
        }
    }
    return -1;
}

double RowTop(const optForm& form, const platform::Label& label, int i) {
    const int first = form.listScroll.visible ? form.listScroll.value() : 0;
    return kFirstRowTop + (i - first) * (label.height - 1);
}

void SetUpList(optForm& form, int rows) {
    form.rowCount = rows;
    platform::ScrollBar& bar = form.listScroll;
    bar.onChange = [&form] { PlaceRows(form); };
    bar.onScroll = [&form] { PlaceRows(form); };
    bar.smallChange = 1;
    bar.largeChange = kRowsShown;
    bar.SetMin(0);
    bar.SetMax(static_cast<Int16>(std::max(0, rows - kRowsShown)));
    bar.visible = rows > kRowsShown;
    form.edgeScroll.interval = 150;
    form.edgeScroll.onTick = [&form] { EdgeTick(form); };
    PlaceRows(form);
}

void PlaceRows(optForm& form) {
    const int first = form.listScroll.visible ? form.listScroll.value() : 0;
    for (int i = 0; i < Rows(form); ++i) {
        const bool inList = i >= first && i < first + kRowsShown;
        platform::Label& label = form.progLabel[i];
        if (i != form.dragRow) {
            label.top = RowTop(form, label, i);
            label.visible = inList;
        }
        if (i < form.progCheck.Count()) {
            form.progCheck[i].top = RowTop(form, label, i);
            form.progCheck[i].visible = inList;
        }
    }
}

void DropRows(optForm& form) {
    // Every row is put in order of where its label now stands, ties kept in row order: the dragged name
    // lands where it was dropped and the rows in between move by one.
    struct Row {
        Text caption;
        Text tag;
        int top = 0;
        int value = 0;
        int index = 0;
    };
    const int n = form.progLabel.Count();
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
        const platform::Label& label = form.progLabel[j];
        const int value = j < form.progCheck.Count() ? form.progCheck[j].value : 0;
        rows.push_back(Row{label.caption(), label.tag, catalogue::Nearest(label.top).value_or(0), value, j});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.top < b.top; });
    for (int i = 0; i < n; ++i) {
        const Row& row = rows[static_cast<std::size_t>(i)];
        platform::Label& label = form.progLabel[i];
        label.SetCaption(row.caption);
        label.tag = row.tag;
        if (i < form.progCheck.Count()) {
            form.progCheck[i].value = row.value;
        }
        label.top = RowTop(form, label, i);
    }
    PlaceRows(form);
}

void ScrollRowIntoView(optForm& form, int i) {
    platform::ScrollBar& bar = form.listScroll;
    if (!bar.visible) {
        return;
    }
    if (i < bar.value()) {
        static_cast<void>(bar.SetValue(static_cast<Int16>(i)));
    } else if (i >= bar.value() + kRowsShown) {
        static_cast<void>(bar.SetValue(static_cast<Int16>(i - kRowsShown + 1)));
    }
}

void FollowDrag(optForm& form, int row) {
    form.dragRow = row;
    // Only a list that scrolls has edges to hold a name at.
    form.edgeScroll.enabled = form.listScroll.visible && EdgeDirection(form, row) != 0;
}

void EndDrag(optForm& form) {
    form.dragRow = -1;
    form.edgeScroll.enabled = false;
}

void WheelOverList(optForm& form, int delta, double x, double y) {
    const auto list = platform::BoxInWindow(form, form.Shape1);
    platform::ScrollBar& bar = form.listScroll;
    if (!list || !list->Contains(x, y) || !bar.visible) {
        return;
    }
    platform::TurnWheel(bar, form.wheelRest, delta, kRowsPerNotch);
}

void OptionsKeyDown(optForm& form, int keyCode, int shift) {
    const bool rowKey = keyCode == platform::kKeyUp || keyCode == platform::kKeyDown || keyCode == platform::kKeyHome ||
                        keyCode == platform::kKeyEnd || keyCode == platform::kKeyPageUp ||
                        keyCode == platform::kKeyPageDown;
    if (keyCode == platform::kKeyTab && (shift & ~platform::kShiftMask) == 0) {
        Tab(form, shift == platform::kShiftMask);
    } else if (rowKey && shift == 0) {
        MoveFocus(form, keyCode);
    } else if (keyCode == platform::kKeySpace && shift == 0) {
        ToggleRow(form, FocusedRow(form));
    } else if ((keyCode == platform::kKeyUp || keyCode == platform::kKeyDown) && shift == platform::kAltMask) {
        MoveFocusedRow(form, keyCode == platform::kKeyUp ? -1 : 1);
    } else if (keyCode == platform::kKeyEnter && shift == 0) {
        // A focused push button takes Enter as its click; anywhere else Enter is OK.
        auto* button = dynamic_cast<platform::Button*>(form.focused);
        const auto click = button != nullptr ? button->onClick : form.OKbut.onClick;
        if (click) {
            click();
        }
    } else if (keyCode == platform::kKeyEscape && shift == 0) {
        const auto click = form.cancelBut.onClick;
        if (click) {
            click();
        }
    }
    ShowFocusRing(form);
}

void FocusRow(optForm& form, int row) {
    Focus(form, row);
    ShowFocusRing(form);
}

void ShowFocusRing(optForm& form) {
    const int focused = FocusedRow(form);
    for (int i = 0; i < form.progLabel.Count(); ++i) {
        form.progLabel[i].focusRing = i == focused;
        if (i < form.progCheck.Count()) {
            form.progCheck[i].focusRing = i == focused;
        }
    }
}

std::vector<platform::AccessibleItem> AccessibleRows(optForm& form) {
    using platform::AccessibleItem;
    std::vector<AccessibleItem> parts;
    AccessibleItem list;
    list.role = AccessibleItem::Role::List;
    list.name = form.Label1.caption();
    list.description = form.Label2.caption();
    list.element = &form.Shape1;
    parts.push_back(std::move(list));
    const int rows = std::min(Rows(form), form.progCheck.Count());
    const int first = form.listScroll.visible ? form.listScroll.value() : 0;
    for (int i = 0; i < rows; ++i) {
        AccessibleItem row;
        row.role = AccessibleItem::Role::CheckBox;
        row.name = form.progLabel[i].caption();
        row.description = platform::DecimalText(i + 1) + u" of " + platform::DecimalText(rows);
        row.help = u"Space ticks or clears it; Alt+Up and Alt+Down move it; Ctrl+L locates its program.";
        row.focusable = true;
        row.focused = form.focused == &form.progCheck[i];
        row.checked = form.progCheck[i].value == 1;
        row.offscreen = i < first || i >= first + kRowsShown;
        row.element = &form.progLabel[i];
        row.element2 = &form.progCheck[i];
        row.defaultAction = row.checked ? u"Uncheck" : u"Check";
        row.doDefaultAction = [&form, i] { ToggleRow(form, i); };
        parts.push_back(std::move(row));
    }
    for (platform::Button* button : {&form.OKbut, &form.cancelBut, &form.Command1}) {
        AccessibleItem item;
        item.name = button->caption;
        item.focusable = true;
        item.focused = form.focused == button;
        item.element = button;
        item.defaultAction = u"Press";
        item.doDefaultAction = [button] {
            const auto click = button->onClick;
            if (click) {
                click();
            }
        };
        parts.push_back(std::move(item));
    }
    return parts;
}

} // namespace options
