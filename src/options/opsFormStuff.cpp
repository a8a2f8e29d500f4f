// The teacher options: the key that opens the dialog, its rows and their drag, OK, Cancel and Reset, and
// locating a program's executable.
#include "options/opsFormStuff.h"

#include "options/OptionsList.h"

#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Frame.h"
#include "launcher/Keyboard.h"
#include "launcher/TileFiles.h"
#include "launcher/Tiles.h"

#include <algorithm>
#include <vector>

namespace options {

namespace {

using catalogue::kTrue;
using platform::PointerEvent;
using platform::Text;

constexpr int kTicked = 1;

// The id a row stands for: the leading number of its label's tag; nothing when it names no slot.
std::optional<Int16> RowProgramId(const platform::Label& label) {
    const Int16 id = catalogue::LeadingInt16(label.tag);
    if (id < 0 || id >= catalogue::kSlotCount) {
        return std::nullopt;
    }
    return id;
}

// ---- the dialog's events ----

void progLabel_MouseDown(optForm& form, const PointerEvent& e) {
    form.downX = catalogue::Nearest(e.x).value_or(0);
    form.downY = catalogue::Nearest(e.y).value_or(0);
    form.ZOrderFront(form.progLabel[e.index]);
    form.dragRow = e.index;
}

void progLabel_MouseMove(optForm& form, const PointerEvent& e) {
    if (e.button == 0) {
        return;
    }
    // The label follows the pointer up and down, keeping the pressed point under it; Y is in twips.
    platform::Label& label = form.progLabel[e.index];
    label.top = label.top + (e.y - form.downY) / form.scale.twipsPerPixelY;
    FollowDrag(form, e.index);
}

void progLabel_MouseUp(optForm& form) {
    EndDrag(form);
    DropRows(form);
}

// ---- a finger or pen on a name ----

void progLabel_TouchDown(optForm& form, const PointerEvent& e) {
    if (e.button == platform::kLeftButton) {
        form.touch.Begin(e, form.listScroll.value());
        form.touchDrag = false;
    }
}

// Once the finger leaves the slop, what it does is settled: held still until then, it drags the name as the
// mouse does from where it came down; otherwise the rows follow it as the list scrolls.
void progLabel_TouchMove(optForm& form, const PointerEvent& e) {
    platform::TouchGesture& touch = form.touch;
    if (!touch.moved) {
        const bool held = touch.HeldAt(e);
        if (!touch.Moves(e)) {
            return;
        }
        form.touchDrag = held;
        if (held) {
            progLabel_MouseDown(form, touch.start);
        }
    }
    if (form.touchDrag) {
        progLabel_MouseMove(form, e);
        return;
    }
    platform::ScrollBar& bar = form.listScroll;
    const int value = std::clamp(touch.ValueFollowing(e, form.progLabel[0].height - 1), 0, int{bar.max()});
    if (bar.visible && value != bar.value()) {
        static_cast<void>(bar.SetValue(static_cast<Int16>(value)));
    }
}

void progLabel_TouchUp(optForm& form, const PointerEvent& e) {
    if (!form.touch.down || e.button != platform::kLeftButton) {
        return;
    }
    form.touch.End();
    if (form.touchDrag) {
        form.touchDrag = false;
        progLabel_MouseUp(form);
    }
}

void progLabel_DblClick(Launcher& app, optForm& form, const PointerEvent& e) {
    LocateProgram(app, form, static_cast<Int16>(e.index));
}

void OKbut_Click(Launcher& app, optForm& form) {
    ApplyOptions(app, form);
    form.Close();
}

void cancelBut_Click(Launcher& /*app*/, optForm& form) {
    form.Close();
}

void Command1_Click(Launcher& app, optForm& form) {
    ResetLauncher(app, form);
}

// Tells the teacher, before any change is made, when nothing done here can be kept on this computer. A
// writable folder shows the dialog as ever.
void ShowSaveNote(Launcher& app, optForm& form) {
    const Text start = u"Changes made here will not be saved on this computer: ";
    switch (catalogue::ProbeSettingsSave(app.cat, app.files)) {
    case catalogue::SaveBlock::None:
        return;
    case catalogue::SaveBlock::FolderReadOnly:
        form.saveNote.SetCaption(start + u"the launcher's data folder is read-only.");
        break;
    case catalogue::SaveBlock::FileReadOnly:
        form.saveNote.SetCaption(start + u"the settings file is read-only.");
        break;
    case catalogue::SaveBlock::FileUnreadable:
        form.saveNote.SetCaption(start + u"the settings file cannot be read.");
        break;
    }
    form.saveNote.visible = true;
}

void WireOptForm(Launcher& app, optForm& form) {
    form.progLabel[0].handlers.down = [&form](const PointerEvent& e) {
        platform::IsTouch(e) ? progLabel_TouchDown(form, e) : progLabel_MouseDown(form, e);
    };
    form.progLabel[0].handlers.move = [&form](const PointerEvent& e) {
        platform::IsTouch(e) ? progLabel_TouchMove(form, e) : progLabel_MouseMove(form, e);
    };
    form.progLabel[0].handlers.up = [&form](const PointerEvent& e) {
        platform::IsTouch(e) ? progLabel_TouchUp(form, e) : progLabel_MouseUp(form);
    };
    form.progLabel[0].handlers.doubleClick = [&app, &form](const PointerEvent& e) { progLabel_DblClick(app, form, e); };
    form.OKbut.onClick = [&app, &form] { OKbut_Click(app, form); };
    form.cancelBut.onClick = [&app, &form] { cancelBut_Click(app, form); };
    form.Command1.onClick = [&app, &form] { Command1_Click(app, form); };
    form.onSystemClose = [&app, &form] { cancelBut_Click(app, form); };
    form.onKeyDown = [&app, &form](int keyCode, int shift) {
        // Ctrl+L locates the focused row's program, as a double click on its name does.
        if (keyCode == kKeyL && shift == platform::kCtrlMask) {
            LocateProgram(app, form, static_cast<Int16>(FocusedRow(form)));
            return;
        }
        OptionsKeyDown(form, keyCode, shift);
    };
    form.onWheel = [&form](int delta, double x, double y) { WheelOverList(form, delta, x, y); };
    // A click on a tick puts the focus on its row.
    form.progCheck[0].onClick = [&form](int index) { FocusRow(form, index); };
    form.accessibleChildren = [&form] { return AccessibleRows(form); };
}

} // namespace

void Form1_KeyDown(Launcher& app, int keyCode, int shift) {
    if (keyCode == kKeyK && shift == kCtrlShift) {
        ShowOptions(app);
        return;
    }
    launcher::KeyboardKeyDown(app, keyCode, shift);
}

void ShowOptions(Launcher& app) {
    const platform::ScreenInfo screen = app.system.Screen();
    optForm form(app.system, screen.twipsPerPixelX, screen.twipsPerPixelY);
    WireOptForm(app, form);
    const catalogue::Catalogue& cat = app.cat;
    for (int i = 0; i < cat.progCount && i < catalogue::kSlotCount; ++i) {
        if (i >= form.progLabel.Count()) {
            form.progLabel.Append();
            form.progCheck.Append();
        }
        const Int16 id = cat.order[static_cast<std::size_t>(i)];
        const bool known = id >= 0 && id < catalogue::kSlotCount;
        platform::Label& label = form.progLabel[i];
        form.ZOrderFront(label);
        label.tag = platform::DecimalText(id);
        label.left = form.scale.PixelsX(600);
        label.SetCaption(known ? cat.progList[static_cast<std::size_t>(id)].name : Text());
        label.visible = true;

        platform::CheckBox& check = form.progCheck[i];
        form.ZOrderFront(check);
        check.left = form.scale.PixelsX(2760);
        check.value = known && cat.progList[static_cast<std::size_t>(id)].show == kTrue ? kTicked : 0;
        check.visible = true;
    }
    SetUpList(form, std::clamp<int>(cat.progCount, 0, catalogue::kSlotCount));
    if (cat.progCount <= 0) {
        // No programs, no rows: the design row is not shown.
        form.progLabel[0].visible = false;
        form.progCheck[0].visible = false;
    } else {
        FocusRow(form, 0);
    }
    ShowSaveNote(app, form);
    // Opened from the keyboard: the focus ring shows from the start.
    form.keyboardCues = true;
    app.system.ShowModal(form);
}

void ApplyOptions(Launcher& app, optForm& form) {
    catalogue::Catalogue& cat = app.cat;
    for (int i = 0; i < cat.progCount && i < form.progLabel.Count(); ++i) {
        const platform::Label& label = form.progLabel[i];
        const auto id = RowProgramId(label);
        if (!id) {
            continue;
        }
        cat.order[static_cast<std::size_t>(i)] = *id;
        const bool ticked = i < form.progCheck.Count() && form.progCheck[i].value == kTicked;
        cat.progList[static_cast<std::size_t>(*id)].show = ticked ? kTrue : catalogue::kFalse;
    }
    ClearTiles(app);
    launcher::LayoutTiles(app);
    launcher::AskTileFiles(app);
}

void ClearTiles(Launcher& app) {
    launcher::Form1& f = app.form;
    while (f.progName.Count() > 1) {
        f.progName.RemoveLast();
    }
    while (f.progIcon.Count() > 1) {
        f.progIcon.RemoveLast();
    }
    while (f.prVidBut.Count() > 1) {
        f.prVidBut.RemoveLast();
    }
}

void ResetLauncher(Launcher& app, optForm& form) {
    const Text question = u"This will reset the order of the programs and make the Launcher search for any new "
                          u"videos or programs within the Collection that have been installed.\r\r"
                          u"Are you sure you want to reset the Collection Launcher?";
    if (app.system.ShowMessageBox(question, u"Reset The Launcher", platform::kYesNoExclamation) !=
        platform::kAnswerYes) {
        return;
    }
    form.Close();
    RemoveFile(app, catalogue::SettingsFilePath(app.files));
    launcher::LoadSideBySide(app);
    const bool maximised = app.system.GetWindowState() == platform::WindowState::Maximised;
    launcher::LayoutFrame(app, maximised ? kTrue : catalogue::kFalse);
    launcher::LayoutTiles(app);
}

void RemoveFile(Launcher& app, platform::TextView path) {
    (void)app.files.EraseFile(path);
}

void LocateProgram(Launcher& app, optForm& form, Int16 i) {
    if (i < 0 || i >= form.progLabel.Count()) {
        return;
    }
    const platform::Label& label = form.progLabel[i];
    platform::OpenFileRequest request;
    request.title = u"Find the exe for " + label.caption();
    request.filter = u"Programs|*.exe";
    request.flags = 2101252; // no read-only box, the file must exist, long names
    const auto chosen = app.system.OpenFileDialog(request);
    const auto id = RowProgramId(label);
    if (!chosen || chosen->empty() || !id) {
        return;
    }
    app.cat.progList[static_cast<std::size_t>(*id)].path = *chosen;
    launcher::AskTileFiles(app);
}

} // namespace options
