// The program list of the options dialog: where its rows stand, the drop that reorders them, and its use
// when it holds more rows than the dialog shows (the scroll bar, the wheel, a drag held at an edge) or
// without a mouse (Tab, Alt+Up and Alt+Down, Enter and Escape).
#pragma once

#include "options/optForm.h"

#include <vector>

namespace options {

// The rows the dialog shows at once; a longer list scrolls.
inline constexpr int kRowsShown = 29;
// Rows a wheel notch scrolls the list.
inline constexpr int kRowsPerNotch = 3;

// Row i's place in the dialog (pixels) at the list's scroll value; rows above the first shown one lie
// above the list.
double RowTop(const optForm& form, const platform::Label& label, int i);
// Gives the scroll bar its range for `rows` rows (shown only when they do not all fit) and places them.
void SetUpList(optForm& form, int rows);
// Places every row but the one being dragged at its place, showing the rows inside the list.
void PlaceRows(optForm& form);
// Puts every row in order of where its label now stands, ties kept in row order, and places the rows.
void DropRows(optForm& form);
// Scrolls the list as little as brings row i into it.
void ScrollRowIntoView(optForm& form, int i);
// The row whose check box has the keyboard focus; -1 when none has.
int FocusedRow(const optForm& form);

// A drag of row `row`'s name moved: while the name is held beyond the shown rows, the list scrolls that
// way on the edge timer, a row a tick.
void FollowDrag(optForm& form, int row);
void EndDrag(optForm& form);

// Gives row `row` the keyboard focus (scrolled into view) and its ring.
void FocusRow(optForm& form, int row);
// The focus ring goes round the focused row's name and tick.
void ShowFocusRing(optForm& form);
// What a screen reader is told of the dialog: the list, named by its heading and described by the drag
// instruction; each row a check box named by its program, with its place ("3 of 51"), its tick, its keys,
// and whether it is scrolled out of view; then the push buttons.
std::vector<platform::AccessibleItem> AccessibleRows(optForm& form);

// The wheel over the dialog at (x, y) client pixels: over the list, it scrolls the list.
void WheelOverList(optForm& form, int delta, double x, double y);
// A key in the dialog (Ctrl+L, which locates, is wired with the launcher): Tab and Shift+Tab go round the rows' check
// boxes and the buttons; Up, Down, Home, End, Page Up and Page Down move the focus over the rows; Space ticks or
// clears the focused row; Alt+Up and Alt+Down move the focused row's program one place; Enter is OK (or the focused
// button), Escape is Cancel.
void OptionsKeyDown(optForm& form, int keyCode, int shift);

} // namespace options
