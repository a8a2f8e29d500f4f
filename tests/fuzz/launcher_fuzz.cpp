// Fuzz harness: a whole launcher on the headless platform, started on a fuzzed settings file (or none) and
// driven by a fuzzed script of events: scrolling, pointing at and clicking tiles, names and video buttons,
// timer ticks, drags on the title bar and the border strips, the caption buttons, keys, and the options
// dialog with its drags, ticks, locate, Reset, OK, Cancel and close box; it ends with the exit button.
// Holds: no sanitizer report; only files that exist are started; only web addresses and existing local
// pages reach the shell; the exit leaves the whole settings file of the catalogue and no temporary file.
#include "FuzzSupport.h"
#include "app/Main.h"
#include "catalogue/XMLsettingStuff.h"
#include "launcher/Launcher.h"
#include "options/opsFormStuff.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

using platform::Element;
using platform::Text;

constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";

// Paths a script may point the file dialog at (settings files in the seed corpus name them too).
constexpr const char16_t* kChoices[] = {
    u"C:\\Apps\\maths.exe", u"C:\\nowhere.exe",       u"C:\\Docs\\help.htm",       u"ms-msdt:/id x.htm",
    u"http://example.org/", u"www.example.org/a.htm", u"\\\\server\\share\\x.htm", u"httpd\\..\\evil.vbs",
};

// The disk: programs, a video player, local pages, a picture and a candidate file.
void SetTheScene(platform::HeadlessFileSystem& files) {
    for (const char16_t* path : {u"C:\\Apps\\maths.exe", u"C:\\Apps\\paint.exe", u"C:\\Apps\\video.exe",
                                 u"C:\\Docs\\help.htm", u"D:\\Pages\\quiz.HTML", u"C:\\Docs\\evil.vbs"}) {
        files.AddFile(path);
    }
    files.AddFile(u"C:\\Launcher\\data\\maths.bmp", platform::EncodeBmp(platform::Bitmap(64, 64, platform::kWhite)));
    files.AddTextFile(u"C:\\Launcher\\data\\poss paths.xml", u"<program name='Paint' p1='\\Apps\\paint.exe' />\r\n");
}

// What may reach the shell, said independently of the launcher's own gate: an http or https address with
// something after the scheme and no blank, quote or angle bracket, or an existing page on a lettered drive.
bool MayReachTheShell(const Text& target, platform::HeadlessFileSystem& files) {
    const Text lower = platform::LowerCase(target);
    for (const platform::TextView scheme : {u"http://", u"https://"}) {
        if (lower.starts_with(scheme)) {
            return lower.size() > scheme.size() && target.find_first_of(u" \"<>") == Text::npos;
        }
    }
    return target.size() > 3 && target[1] == u':' && target[2] == u'\\' &&
           (lower.ends_with(u".htm") || lower.ends_with(u".html")) && files.LookupFile(target).Found();
}

struct Script {
    Script(const std::uint8_t* data, std::size_t size) : input(data, size) {}

    FuzzedDataProvider input;
    platform::HeadlessSystem system;
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    launcher::Launcher app{system, files};
    platform::HeadlessDriver driver{system};

    double Coordinate() { return input.ConsumeIntegralInRange(-400, 1400); } // pixels
    int Button() { return input.PickValueInArray({platform::kLeftButton, platform::kRightButton}); }

    // Press, move and release on one element, as a click or a drag.
    void Drag(Element& element) {
        const int button = Button();
        const double x = Coordinate(), y = Coordinate();
        driver.Press(element, x, y, button);
        const double toX = input.ConsumeBool() ? x : Coordinate(), toY = input.ConsumeBool() ? y : Coordinate();
        driver.Move(element, toX, toY);
        driver.Release(element, toX, toY, button);
    }

    Element& TileElement() {
        launcher::Form1& f = app.form;
        const int k =
            input.ConsumeIntegralInRange(0, std::min({f.progIcon.Count(), f.progName.Count(), f.prVidBut.Count()}) - 1);
        const int part = input.ConsumeIntegralInRange(0, 2);
        return part == 0   ? static_cast<Element&>(f.progIcon[k])
               : part == 1 ? static_cast<Element&>(f.progName[k])
                           : static_cast<Element&>(f.prVidBut[k]);
    }

    Element& FrameElement() {
        launcher::Form1& f = app.form;
        Element* const elements[] = {&f.topBar,     &f.topText,     &f.MinBut,   &f.restoreBut,
                                     &f.leftBorder, &f.rightBorder, &f.botBar,   &f.tessalyLogo,
                                     &f.progHolder, &f.verLabel,    &f.progInfo, &f.VScroll};
        return *elements[input.ConsumeIntegralInRange<std::size_t>(0, std::size(elements) - 1)];
    }

    void InOptions(options::optForm& form) {
        for (int step = 0; step < 20 && !form.closed() && input.remaining_bytes() > 0; ++step) {
            const int i = input.ConsumeIntegralInRange(0, form.progLabel.Count() - 1);
            switch (input.ConsumeIntegralInRange(0, 6)) {
            case 0:
                Drag(form.progLabel[i]);
                break;
            case 1:
                form.progCheck[i].value = input.ConsumeBool() ? 1 : 0;
                break;
            case 2:
                system.QueueOpenFileChoice(input.ConsumeBool()
                                               ? std::optional<Text>(input.PickValueInArray(kChoices))
                                               : std::optional<Text>(fuzzing::FuzzedText(input, files)));
                if (form.progLabel[i].visible) {
                    form.progLabel[i].handlers.doubleClick(
                        platform::PointerEvent{i, platform::kLeftButton, 0, 150, 120});
                }
                break;
            case 3:
                system.QueueMessageBoxAnswer(input.ConsumeBool() ? platform::kAnswerYes : platform::kAnswerNo);
                form.Command1.onClick();
                break;
            case 4:
                form.OKbut.onClick();
                break;
            case 5:
                form.cancelBut.onClick();
                break;
            default:
                form.onSystemClose();
                break;
            }
        }
    }

    void Event() {
        launcher::Form1& f = app.form;
        switch (input.ConsumeIntegralInRange(0, 9)) {
        case 0:
            driver.Scroll(f.VScroll, input.ConsumeIntegral<std::int16_t>());
            break;
        case 1:
            (void)f.VScroll.SetValue(input.ConsumeIntegralInRange<std::int16_t>(-2, 60));
            break;
        case 2:
            driver.Move(TileElement(), Coordinate(), Coordinate());
            break;
        case 3:
            driver.Press(TileElement(), Coordinate(), Coordinate(), Button());
            break;
        case 4:
            driver.Release(TileElement(), Coordinate(), Coordinate(), Button());
            break;
        case 5:
            Drag(TileElement());
            break;
        case 6:
            driver.Advance(input.ConsumeIntegralInRange(0, 1500));
            break;
        case 7:
            Drag(FrameElement());
            break;
        case 8:
            f.onKeyDown(input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegralInRange(0, 7));
            break;
        default:
            system.QueueModalAction(
                [this](platform::Dialog& dialog) { InOptions(static_cast<options::optForm&>(dialog)); });
            f.onKeyDown(options::kKeyK, options::kCtrlShift);
            break;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script s(data, size);
    SetTheScene(s.files);
    if (s.input.ConsumeBool()) {
        s.files.AddFile(kSettings, s.input.ConsumeRandomLengthString(4096));
    }
    s.driver.Watch(s.app.form.SameProgWaitTimer);
    fuzzing::Check(app::Main(s.app), "the launcher starts");

    std::size_t starts = 0, opens = 0;
    for (int step = 0; step < 100 && s.input.remaining_bytes() > 0; ++step) {
        s.Event();
        for (; starts < s.system.Starts().size(); ++starts) {
            fuzzing::Check(s.files.LookupFile(s.system.Starts()[starts].path).Found(), "only existing files started");
        }
        for (; opens < s.system.Opens().size(); ++opens) {
            fuzzing::Check(MayReachTheShell(s.system.Opens()[opens].target, s.files),
                           "only what passes the gate opened");
        }
    }

    s.driver.Press(s.app.form.ExitBut, 5, 5);
    s.driver.Release(s.app.form.ExitBut, 5, 5);
    fuzzing::Check(s.system.Ended(), "the exit button ends the launcher");
    const std::vector<Text> left = s.files.Files();
    fuzzing::Check(std::none_of(left.begin(), left.end(),
                                [](const Text& path) { return platform::LowerCase(path).ends_with(u".tmp"); }),
                   "no temporary file left");
    fuzzing::Check(s.files.FileBytes(kSettings) == s.files.ToCodePage(catalogue::SettingsText(s.app.cat)),
                   "the settings file is the whole catalogue");
    return 0;
}
