#include "options/optForm.h"

#include "launcher/Artwork.h"

#include <memory>

namespace options {

namespace {

constexpr platform::Rgb kDialogGrey{192, 192, 192};

platform::Font Arial(double size) {
    return platform::Font{u"Arial", size, false};
}

} // namespace

optForm::optForm(const platform::TextMeasurer& measurer, double twipsPerPixelX, double twipsPerPixelY)
    : Dialog(u"Tessaly Collection Launcher - Teacher Options", kDialogGrey), Label1("Label1", measurer, false),
      Shape1("Shape1"), progLabel(std::make_unique<platform::Label>("progLabel", measurer, false)),
      progCheck(std::make_unique<platform::CheckBox>("progCheck")), OKbut("OKbut"), cancelBut("cancelBut"),
      Label2("Label2", measurer, false), Command1("Command1"), Image4("Image4"), listScroll("listScroll"),
      saveNote("saveNote", measurer, false), scale{twipsPerPixelX, twipsPerPixelY} {
    clientWidth = scale.PixelsX(5850);
    clientHeight = scale.PixelsY(8280);

    // Back to front.
    Add(Label1);
    Add(Shape1);
    Add(listScroll);
    Add(progLabel[0]);
    Add(progCheck[0]);
    Add(OKbut);
    Add(cancelBut);
    Add(Label2);
    Add(saveNote);
    Add(Command1);
    Add(Image4);

    scale.Design(Label1, 480, 120, 2655, 495);
    Label1.SetFont(Arial(18));
    Label1.SetCaption(u"Program Order");

    scale.Design(Shape1, 480, 600, 3255, 7335);
    Shape1.fillColor = platform::kWhite;

    // Inside the list's right edge, clear of the ticks; hidden until the rows need it.
    scale.Design(listScroll, 3480, 600, 255, 7335);
    listScroll.visible = false;
    timers.push_back(&edgeScroll);

    scale.Design(progLabel[0], 600, 720, 2055, 255);
    progLabel[0].backColor = platform::kWhite;
    progLabel[0].SetFont(Arial(9.75));
    progLabel[0].SetCaption(u"Program name");

    scale.Design(progCheck[0], 2760, 720, 495, 255);
    progCheck[0].caption = u"  ";
    progCheck[0].font = Arial(9.75);
    progCheck[0].backColor = platform::kWhite;

    scale.Design(OKbut, 3960, 600, 1695, 615);
    OKbut.caption = u"OK";
    OKbut.font = Arial(14.25);
    scale.Design(cancelBut, 3960, 1320, 1695, 615);
    cancelBut.caption = u"Cancel";
    cancelBut.font = Arial(14.25);

    scale.Design(Label2, 3960, 2040, 1815, 495);
    Label2.SetFont(Arial(8.25));
    Label2.SetCaption(u"Drag program names around to change order");

    // Under the drag hint, in the hint's font, in dark red; hidden unless ShowOptions finds a save refused.
    scale.Design(saveNote, 3960, 2760, 1815, 1440);
    saveNote.SetFont(Arial(8.25));
    saveNote.foreColor = platform::Rgb{128, 0, 0};
    saveNote.visible = false;

    scale.Design(Command1, 3960, 6720, 1695, 450);
    Command1.caption = u"Reset";
    Command1.font = Arial(14.25);

    scale.Design(Image4, 4080, 7320, 1560, 600);
    Image4.picture = launcher::artwork::OptionsBadge();
}

} // namespace options
