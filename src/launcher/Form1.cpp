#include "launcher/Form1.h"

#include "launcher/Artwork.h"

#include <memory>

namespace launcher {

namespace {

using platform::Element;

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
      prVidBut(std::make_unique<platform::Image>("prVidBut")), scale{twipsPerPixelX, twipsPerPixelY} {
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

    scale.Design(topBar, 0, 0, 11655, 930);
    topBar.backColor = kNavy;
    topBar.font = Arial(36, true);
    topBar.Add(topSmoother);
    topBar.Add(topText);
    topBar.Add(MinBut);
    topBar.Add(restoreBut);
    topBar.Add(ExitBut);

    scale.Design(topSmoother, 0, 0, 8010, 90);
    topSmoother.picture = artwork::TopStrip();

    topText.left = scale.PixelsX(120);
    topText.top = scale.PixelsY(30);
    topText.foreColor = platform::kWhite;
    topText.SetFont(Arial(36, true));
    topText.SetCaption(u"Tessaly Software - The Collection");

    scale.Design(MinBut, 6585, 180, 555, 555);
    MinBut.picture = artwork::MinimiseButton();
    MinBut.toolTipText = u"Minimise";
    scale.Design(restoreBut, 7200, 180, 555, 555);
    restoreBut.picture = artwork::RestoreButton();
    scale.Design(ExitBut, 7800, 180, 555, 555);
    ExitBut.picture = artwork::ExitButton();
    ExitBut.toolTipText = u"Exit";

    scale.Design(progHolder, 210, 1080, 12135, 7815);
    progHolder.backColor = platform::kWhite;
    progHolder.Add(dumFader);
    progHolder.Add(VScroll);
    scale.Design(VScroll, 11760, 0, 375, 6855);

    scale.Design(dumFader, 0, 0, 960, 960);
    dumFader.visible = false;
    dumFader.Cls();
    platform::DrawOver(dumFader.surface(), *artwork::MissingProgram(), 0, 0);

    scale.Design(leftBorder, 0, 0, 90, 4935);
    leftBorder.picture = artwork::SideStrip();
    scale.Design(rightBorder, 12480, 0, 90, 4935);
    rightBorder.picture = artwork::SideStrip();
    scale.Design(botBar, 0, 9000, 2415, 90);
    botBar.picture = artwork::BottomStrip();
    scale.Design(tessalyLogo, 10440, 8880, 2310, 900);
    tessalyLogo.picture = artwork::Logo();

    verLabel.left = scale.PixelsX(240);
    verLabel.top = scale.PixelsY(9240);
    verLabel.foreColor = kVersionGrey;
    verLabel.SetFont(Arial(8.25));
    verLabel.SetCaption(u"v");

    scale.Design(progInfo, 1680, 8880, 6255, 1020);
    progInfo.foreColor = kDescriptionGrey;
    progInfo.SetFont(Arial(14.25));
    progInfo.SetCaption(u"info");

    // The scratch surfaces are never shown but while an icon is drawn.
    scale.Design(dumStuff, 0, 0, 960, 480);
    dumStuff.visible = false;
    dumStuff.backColor = kWindowGrey;
    dumStuff.Add(dumIcon);
    dumStuff.Add(dumberIcon);
    scale.Design(dumIcon, 0, 0, 480, 480);
    scale.Design(dumberIcon, 480, 0, 480, 480);
    dumIcon.Cls();
    dumberIcon.Cls();

    // Tile slot 0; further slots are copies of it.
    progHolder.Add(progIcon[0]);
    progHolder.Add(progName[0]);
    progHolder.Add(prVidBut[0]);
    scale.Design(progIcon[0], 870, 420, 960, 960);
    progIcon[0].picture = artwork::DefaultTile();
    progName[0].left = scale.PixelsX(870);
    progName[0].top = scale.PixelsY(1500);
    progName[0].SetFont(Arial(14.25));
    progName[0].SetCaption(u"prog title");
    scale.Design(prVidBut[0], 1860, 742.5, 300, 315);
    prVidBut[0].picture = artwork::VideoButton();

    SameProgWaitTimer.interval = 1000;
    timers.push_back(&SameProgWaitTimer);
}

} // namespace launcher
