// The teacher options dialog: one row per program (its name, which can be dragged to a new place, and a
// tick for whether it is shown), and the OK, Cancel and Reset buttons. It is built afresh at every opening
// and discarded at every closing. Design sizes are twips converted to pixels at the screen's resolution.
#pragma once

#include "platform/Elements.h"
#include "platform/TouchGesture.h"
#include "platform/TwipsScale.h"

#include <cstdint>

namespace options {

class optForm : public platform::Dialog {
public:
    optForm(const platform::TextMeasurer& measurer, double twipsPerPixelX, double twipsPerPixelY);
    optForm(const optForm&) = delete;
    optForm& operator=(const optForm&) = delete;

    platform::Label Label1;
    platform::Shape Shape1; // the white ground of the program list
    platform::ControlArray<platform::Label> progLabel;
    platform::ControlArray<platform::CheckBox> progCheck;
    platform::Button OKbut;
    platform::Button cancelBut;
    platform::Label Label2;
    platform::Button Command1; // Reset
    platform::Image Image4;
    platform::ScrollBar listScroll; // shown when the rows do not all fit the list
    platform::Label saveNote;       // shown only when changes made here cannot be saved, saying why
    platform::Timer edgeScroll;     // scrolls the list while a dragged name is held beyond its shown rows

    // The list's state while the dialog is open: the rows in use, the row whose name is being dragged (-1:
    // none), and wheel units turned and not yet scrolled.
    int rowCount = 0;
    int dragRow = -1;
    int wheelRest = 0;
    // A finger or pen on a name: it scrolls the list, or, held still first, picks the name up to drag it.
    platform::TouchGesture touch;
    bool touchDrag = false;

    // Where the last press on a name was, in the name's twips: the origin of its drag.
    std::int32_t downX = 0;
    std::int32_t downY = 0;

    // Pixels from twips at this dialog's resolution.
    const platform::TwipsScale scale;
};

} // namespace options
