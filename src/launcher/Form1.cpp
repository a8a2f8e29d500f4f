#include "launcher/Form1.h"

#include "launcher/Artwork.h"

#include <memory>

namespace launcher {

namespace {

using platform::Element;

// Places an element at its designed position and size, given in twips.
void Design(Element& element, const Form1& form, double left, double top, double width, double height) {
    element.left = form.PixelsX(left);
    element.top = form.PixelsY(top);
    element.width = form.PixelsX(width);
    element.height = form.PixelsY(height);
}

platform::Font Arial(double size, bool bold = false) {
    return platform::Font{u"Arial", size, bold};
}

} // namespace

Form1::Form1(const platform::TextMeasurer& measurer, double twipsPerPixelX, double twipsPerPixelY)
    : Window(u"Tessaly Collection", kWindowGrey), topBar("topBar", measurer), topSmoother("topSmoother"),
      topText("topText", measurer, true), MinBut("MinBut"), restoreBut("restoreBut"), ExitBut("ExitBut"),
      progHolder("progHolder", measurer), VScroll("VScroll"), dumFader("dumFader", measurer), leftBorder("leftBorder"),
      rightBorder("rightBorder"), botBar("botBar"), tessalyLogo("tessalyLogo"), verLabel("verLabel", measurer, true),
      progInfo("progInfo", measurer, false), dumStuff("dumStuff", measurer), dumIcon("dumIcon", measurer),
      dumberIcon("dumberIcon", measurer), progIcon(std::make_unique<platform::Image>("progIcon")),
      progName(std::make_unique<platform::Label>("progName", measurer, true)),
      prVidBut(std::make_unique<platform::Image>("prVidBut")), twipsPerPixelX_(twipsPerPixelX),
      twipsPerPixelY_(twipsPerPixelY) {
    // Back to front, as the window stacks them.
    Add(topBar);
    Add(progHolder);
    Add(leftBorder);
    Add(rightBorder);
    Add(botBar);
    Add(tessalyLogo);
    Add(verLabel);
    Add(progInfo);
    Add(dumStuff);

    Design(topBar, *this, 0, 0, 11655, 930);
    topBar.backColor = kNavy;
    topBar.font = Arial(36, true);
    topBar.Add(topSmoother);
    topBar.Add(topText);
    topBar.Add(MinBut);
    topBar.Add(restoreBut);
    topBar.Add(ExitBut);

    Design(topSmoother, *this, 0, 0, 8010, 90);
    topSmoother.picture = artwork::TopStrip();

    topText.left = PixelsX(120);
    topText.top = PixelsY(30);
    topText.foreColor = platform::kWhite;
    topText.SetFont(Arial(36, true));
    topText.SetCaption(u"Tessaly Software - The Collection");

    Design(MinBut, *this, 6585, 180, 555, 555);
    MinBut.picture = artwork::MinimiseButton();
    MinBut.toolTipText = u"Minimise";
    Design(restoreBut, *this, 7200, 180, 555, 555);
    restoreBut.picture = artwork::RestoreButton();
    Design(ExitBut, *this, 7800, 180, 555, 555);
    ExitBut.picture = artwork::ExitButton();
    ExitBut.toolTipText = u"Exit";

    Design(progHolder, *this, 210, 1080, 12135, 7815);
    progHolder.backColor = platform::kWhite;
    progHolder.Add(dumFader);
    progHolder.Add(VScroll);
    Design(VScroll, *this, 11760, 0, 375, 6855);

    Design(dumFader, *this, 0, 0, 960, 960);
    dumFader.visible = false;
    dumFader.Cls();
    platform::DrawOver(dumFader.surface(), *artwork::MissingProgram(), 0, 0);

    Design(leftBorder, *this, 0, 0, 90, 4935);
    leftBorder.picture = artwork::SideStrip();
    Design(rightBorder, *this, 12480, 0, 90, 4935);
    rightBorder.picture = artwork::SideStrip();
    Design(botBar, *this, 0, 9000, 2415, 90);
    botBar.picture = artwork::BottomStrip();
    Design(tessalyLogo, *this, 10440, 8880, 2310, 900);
    tessalyLogo.picture = artwork::Logo();

    verLabel.left = PixelsX(240);
    verLabel.top = PixelsY(9240);
    verLabel.foreColor = kVersionGrey;
    verLabel.SetFont(Arial(8.25));
    verLabel.SetCaption(u"v");

    Design(progInfo, *this, 1680, 8880, 6255, 1020);
    progInfo.foreColor = kDescriptionGrey;
    progInfo.SetFont(Arial(14.25));
    progInfo.SetCaption(u"info");

    // The scratch surfaces are never shown but while an icon is drawn.
    Design(dumStuff, *this, 0, 0, 960, 480);
    dumStuff.visible = false;
    dumStuff.backColor = kWindowGrey;
    dumStuff.Add(dumIcon);
    dumStuff.Add(dumberIcon);
    Design(dumIcon, *this, 0, 0, 480, 480);
    Design(dumberIcon, *this, 480, 0, 480, 480);
    dumIcon.Cls();
    dumberIcon.Cls();

    // Tile slot 0; further slots are copies of it.
    progHolder.Add(progIcon[0]);
    progHolder.Add(progName[0]);
    progHolder.Add(prVidBut[0]);
    Design(progIcon[0], *this, 870, 420, 960, 960);
    progIcon[0].picture = artwork::DefaultTile();
    progName[0].left = PixelsX(870);
    progName[0].top = PixelsY(1500);
    progName[0].SetFont(Arial(14.25));
    progName[0].SetCaption(u"prog title");
    Design(prVidBut[0], *this, 1860, 742.5, 300, 315);
    prVidBut[0].picture = artwork::VideoButton();

    SameProgWaitTimer.interval = 1000;
    timers.push_back(&SameProgWaitTimer);
}

} // namespace launcher
