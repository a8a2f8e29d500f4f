// Fuzz harness: a whole launcher on the headless platform, started on a fuzzed settings file (or none) and
// driven by a fuzzed script of events: presses, moves and releases on the tiles, the title bar, the border
// strips, the caption buttons and the scroll bar, scroll events, timer ticks, keys, and the options dialog
// with its drags, ticks, locate, Reset, OK, Cancel and close box; it ends with the exit button. Holds: no
// sanitizer report; only files that exist are started; only web addresses and existing local pages reach
// the shell; the exit leaves the whole settings file of the catalogue and no temporary file.
#include "FuzzSupport.h"
#include "app/Main.h"
#include "catalogue/XMLsettingStuff.h"
#include "options/opsFormStuff.h"
#include "platform/headless/HeadlessDriver.h"
#include "platform/headless/HeadlessFileSystem.h"
#include "platform/headless/HeadlessSystem.h"

#include <algorithm>
#include <cstdint>

namespace {

using platform::Element;
using platform::Text;

constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";
// Paths a script may point the file dialog at (settings files in the seed corpus name them too).
constexpr const char16_t* kChoices[] = {u"C:\\Apps\\maths.exe", u"C:\\nowhere.exe",         u"C:\\Docs\\help.htm",
                                        u"ms-msdt:/id x.htm",   u"www.example.org/a.htm",   u"http://example.org/",
                                        u"httpd\\..\\evil.vbs", u"\\\\server\\share\\x.htm"};

// What may reach the shell, said independently of the launcher's gate: an http or https address with
// something after the scheme and no blank, quote or angle bracket, or an existing page on a lettered drive.
bool MayReachTheShell(const Text& target, platform::FileSystem& files) {
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

    double At() { return input.ConsumeIntegralInRange(-400, 1400); } // pixels

    // A press, a move and a release on one element, each left out at times.
    void Pointer(Element& element) {
        const int button = input.ConsumeBool() ? platform::kLeftButton : platform::kRightButton;
        const double x = At(), y = At();
        if (input.ConsumeBool()) {
            driver.Press(element, x, y, button);
        }
        const double toX = input.ConsumeBool() ? x : At(), toY = input.ConsumeBool() ? y : At();
        driver.Move(element, toX, toY);
        if (input.ConsumeBool()) {
            driver.Release(element, toX, toY, button);
        }
    }

    Element& AnElement() {
        launcher::Form1& f = app.form;
        const int k = input.ConsumeIntegralInRange(0, f.progIcon.Count() - 1);
        Element* const elements[] = {&f.progIcon[k], &f.progName[k], &f.prVidBut[k], &f.topBar,      &f.topText,
                                     &f.MinBut,      &f.restoreBut,  &f.leftBorder,  &f.rightBorder, &f.botBar,
                                     &f.progHolder,  &f.VScroll,     &f.tessalyLogo, &f.progInfo};
        return *input.PickValueInArray(elements);
    }

    void InOptions(options::optForm& form) {
        for (int step = 0; step < 20 && !form.closed() && input.remaining_bytes() > 0; ++step) {
            const int i = input.ConsumeIntegralInRange(0, form.progLabel.Count() - 1);
            switch (input.ConsumeIntegralInRange(0, 6)) {
            case 0:
                Pointer(form.progLabel[i]);
                break;
            case 1:
                form.progCheck[i].value = input.ConsumeBool() ? 1 : 0;
                break;
            case 2:
                system.QueueOpenFileChoice(input.ConsumeBool() ? Text(input.PickValueInArray(kChoices))
                                                               : fuzzing::FuzzedText(input, files));
                if (form.progLabel[i].visible) {
                    form.progLabel[i].handlers.doubleClick(platform::PointerEvent{i, platform::kLeftButton, 0, 9, 9});
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
            }
        }
    }

    void Event() {
        launcher::Form1& f = app.form;
        switch (input.ConsumeIntegralInRange(0, 5)) {
        case 0:
            driver.Scroll(f.VScroll, input.ConsumeIntegral<std::int16_t>());
            break;
        case 1:
            (void)f.VScroll.SetValue(input.ConsumeIntegralInRange<std::int16_t>(-2, 60));
            break;
        case 2:
            driver.Advance(input.ConsumeIntegralInRange(0, 1500));
            break;
        case 3:
            f.onKeyDown(input.ConsumeIntegral<std::uint8_t>(), input.ConsumeIntegralInRange(0, 7));
            break;
        case 4:
            system.QueueModalAction([this](platform::Dialog& d) { InOptions(static_cast<options::optForm&>(d)); });
            f.onKeyDown(options::kKeyK, options::kCtrlShift);
            break;
        default:
            Pointer(AnElement());
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Script s(data, size);
    for (const char16_t* path : {u"C:\\Apps\\maths.exe", u"C:\\Apps\\paint.exe", u"C:\\Docs\\help.htm",
                                 u"D:\\Pages\\quiz.HTML", u"C:\\Docs\\evil.vbs"}) {
        s.files.AddFile(path);
    }
    s.files.AddFile(u"C:\\Launcher\\data\\maths.bmp", platform::EncodeBmp(platform::Bitmap(64, 64, platform::kWhite)));
    s.files.AddTextFile(u"C:\\Launcher\\data\\poss paths.xml", u"<program name='Paint' p1='\\Apps\\paint.exe' />");
    if (s.input.ConsumeBool()) {
        s.files.AddFile(kSettings, s.input.ConsumeRandomLengthString(4096));
    }
    s.driver.Watch(s.app.form.SameProgWaitTimer);
    fuzzing::Check(app::Main(s.app), "the launcher starts");

    for (int step = 0; step < 100 && s.input.remaining_bytes() > 0; ++step) {
        s.Event();
        for (const auto& start : s.system.Starts()) {
            fuzzing::Check(s.files.LookupFile(start.path).Found(), "only existing files started");
        }
        for (const auto& open : s.system.Opens()) {
            fuzzing::Check(MayReachTheShell(open.target, s.files), "only what passes the gate opened");
        }
    }

    s.driver.Click(s.app.form.ExitBut, 5, 5);
    fuzzing::Check(s.system.Ended(), "the exit button ends the launcher");
    const std::vector<Text> left = s.files.Files();
    fuzzing::Check(std::none_of(left.begin(), left.end(), [](const Text& p) { return p.ends_with(u".tmp"); }),
                   "no temporary left");
    fuzzing::Check(s.files.FileBytes(kSettings) == s.files.ToCodePage(catalogue::SettingsText(s.app.cat)),
                   "the settings file is the whole catalogue");
    return 0;
}
