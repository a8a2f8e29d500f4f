// Tests of the window host on real windows: pointer capture and units, double clicks, key preview, the
// scroll-bar control, pointer shapes and tooltips, dialogs with their controls and modality, and the main
// window's geometry where the end-to-end tests cannot see it (they drive the wait timer, moves, sizes and
// closing for real). They need a display: tests/e2e/run.sh runs them under Xvfb.
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <array>
#include <chrono>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Runs messages until `done` or until `ms` milliseconds have passed; whether `done` came true.
bool Pump(const std::function<bool()>& done, int ms = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr); // GetMessage returns at least this often
    const bool finished =
        RunModalLoop([&] { return done() || std::chrono::steady_clock::now() >= deadline; }) && done();
    KillTimer(nullptr, wake);
    return finished;
}

// What a handler was given: the element and event, the buttons, the shift state and the position.
using Recorded = std::tuple<std::string, int, int, double, double>;

// The element scene in a 300 x 200 pixel main window at 15 twips a pixel, its scroll bar ranging over 0..5
// two at a time, and the pointer events of the holder, the picture and the caption recorded.
struct WindowScene : testing_support::ElementScene<Win32System> {
    std::vector<Recorded> events;
    Win32Window host{window, Win32Window::Role::Main, nullptr, 300, 200, 15, 15, system.Shared()};

    WindowScene() : ElementScene(u"Z:\\w32window") {
        bar.SetMax(5);
        bar.largeChange = 2;
        for (Element* e : std::array<Element*, 3>{&holder, &picture, &caption}) {
            const std::string name = e->name();
            e->handlers = {Record(name + " down"), Record(name + " move"), Record(name + " up"),
                           Record(name + " double")};
        }
        EXPECT_TRUE(host.Create());
        system.AttachMainWindow(&host);
        system.SetWindowState(WindowState::Normal); // taken by the first showing
        system.ShowWindow();
        UpdateWindow(host.Handle()); // the first paint, after which the main window makes its controls
    }
    ~WindowScene() {
        ReleaseCapture();
        system.AttachMainWindow(nullptr);
    }

    std::function<void(const PointerEvent&)> Record(std::string what) {
        return [this, what](const PointerEvent& e) { events.emplace_back(what, e.button, e.shift, e.x, e.y); };
    }

    HWND hwnd() const { return host.Handle(); }
    void Send(UINT message, WPARAM keys, int x, int y) {
        SendMessageW(hwnd(), message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
};

TEST(Win32Window, PointerEventsGoToThePressedElementInItsUnitsUntilRelease) {
    WindowScene scene;
    // The picture's corner lies at (5, 70) in the window, the caption's at (4, 2), the holder's at (10, 40).
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 15, 75);
    EXPECT_EQ(GetCapture(), scene.hwnd());
    scene.Send(WM_MOUSEMOVE, MK_LBUTTON, -20, 250); // far outside the picture and the window
    scene.Send(WM_LBUTTONUP, 0, -19, 251);
    EXPECT_NE(GetCapture(), scene.hwnd());
    scene.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 15, 75); // the second press of a double click
    scene.Send(WM_LBUTTONUP, 0, 15, 75);
    scene.Send(WM_MOUSEMOVE, 0, 14, 7);                                     // over the caption, nothing held
    scene.Send(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, 60, 55); // the holder itself
    scene.Send(WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, 60, 55);
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 180); // the window's own background: nobody
    scene.Send(WM_LBUTTONUP, 0, 250, 180);
    const int both = kShiftMask | kCtrlMask;
    EXPECT_EQ(scene.events, (std::vector<Recorded>{{"picture down", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
                                                   {"picture move", kLeftButton, 0, -25 * 15.0, 180 * 15.0},
                                                   {"picture up", kLeftButton, 0, -24 * 15.0, 181 * 15.0},
                                                   {"picture double", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
                                                   {"picture up", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
                                                   {"caption move", 0, 0, 10 * 15.0, 5 * 15.0},
                                                   {"holder down", kRightButton, both, 50, 15},
                                                   {"holder up", kRightButton, both, 50, 15}}));
}

TEST(Win32Window, ScrollBarControlFollowsTheElementBothWaysAndKeyPreviewGivesTheWindowItsKeys) {
    WindowScene scene;
    int changes = 0;
    scene.bar.onChange = [&changes] { ++changes; };
    std::vector<std::pair<int, int>> keys;
    scene.window.onKeyDown = [&keys](int key, int shift) { keys.emplace_back(key, shift); };
    scene.host.Refresh();
    HWND control = FindWindowExW(scene.hwnd(), nullptr, L"SCROLLBAR", nullptr);
    ASSERT_NE(control, nullptr);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, scene.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ((std::array{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              (std::array<LONG, 4>{10 + 80, 40, 20, 50}));
    EXPECT_TRUE(IsWindowVisible(control));
    const auto info = [control] {
        SCROLLINFO got{sizeof(got), SIF_ALL, 0, 0, 0, 0, 0};
        GetScrollInfo(control, SB_CTL, &got);
        return got;
    };
    EXPECT_EQ((std::pair{info().nMax, info().nPage}), (std::pair{6, 2u})) << "a range of 5 and a page of 2";

    // A scroll code and the value it leads to.
    const std::pair<int, int> steps[] = {{SB_LINEDOWN, 1}, {SB_PAGEDOWN, 3}, {SB_BOTTOM, 5},
                                         {SB_LINEUP, 4},   {SB_PAGEUP, 2},   {SB_TOP, 0}};
    for (const auto& [code, value] : steps) {
        SendMessageW(scene.hwnd(), WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(scene.bar.value(), value) << "code " << code;
        EXPECT_EQ(info().nPos, value) << "the control follows the element";
    }
    EXPECT_EQ(changes, static_cast<int>(std::size(steps))) << "a change event for each step";

    // A key meant for the control goes to the window first.
    std::array<BYTE, 256> saved{};
    ASSERT_TRUE(GetKeyboardState(saved.data()));
    std::array<BYTE, 256> held = saved;
    held[VK_SHIFT] = held[VK_CONTROL] = 0x80;
    held[VK_MENU] = 0;
    ASSERT_TRUE(SetKeyboardState(held.data()));
    PostMessageW(control, WM_KEYDOWN, 'K', 1);
    const bool seen = Pump([&keys] { return !keys.empty(); });
    SetKeyboardState(saved.data());
    ASSERT_TRUE(seen);
    EXPECT_EQ(keys.front(), std::make_pair(static_cast<int>('K'), kShiftMask | kCtrlMask));

    scene.holder.visible = false; // hidden with its picture box
    scene.host.Refresh();
    EXPECT_FALSE(IsWindowVisible(control));
}

TEST(Win32Window, PointerShapeIsTheWindowsOrElseTheElementsAndTooltipsAreMadeAtTheFirstTip) {
    WindowScene scene;
    SetWindowPos(scene.hwnd(), HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
    POINT onPicture{15, 80};
    ClientToScreen(scene.hwnd(), &onPicture);
    SetCursorPos(onPicture.x, onPicture.y);
    // The window's pointer, the picture's, whether the picture shows, and the shape the system shows.
    const std::tuple<MousePointer, MousePointer, bool, const wchar_t*> cases[] = {
        {MousePointer::Default, MousePointer::SizeWE, true, IDC_SIZEWE},
        {MousePointer::Hourglass, MousePointer::SizeWE, true, IDC_WAIT}, // the busy window's, over everything
        {MousePointer::Default, MousePointer::SizeNS, true, IDC_SIZENS},
        {MousePointer::Default, MousePointer::SizeNS, false, IDC_ARROW},
    };
    for (const auto& [window, picture, pictureShown, shape] : cases) {
        scene.window.mousePointer = window;
        scene.picture.mousePointer = picture;
        scene.picture.visible = pictureShown;
        SendMessageW(scene.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(scene.hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, shape))
            << static_cast<int>(window) << " " << static_cast<int>(picture);
    }

    // This program's only tooltip window, if there is one; it is owned by the window.
    const auto tooltip = [] { return FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); };
    scene.Send(WM_MOUSEMOVE, 0, 15, 75);
    EXPECT_EQ(tooltip(), nullptr) << "no element with a tip yet: no common controls needed";
    scene.caption.toolTipText = u"Clock Tower";
    scene.Send(WM_MOUSEMOVE, 0, 14, 7);
    ASSERT_NE(tooltip(), nullptr);
    EXPECT_EQ(GetWindow(tooltip(), GW_OWNER), scene.hwnd());
    EXPECT_EQ(std::wstring(scene.host.TooltipText()), L"Clock Tower");
    // Regression: a click that changed the tip's text under a still pointer left the old text showing.
    scene.caption.handlers.down = [&scene](const PointerEvent&) { scene.caption.toolTipText = u"Restore Down"; };
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 14, 7);
    EXPECT_EQ(std::wstring(scene.host.TooltipText()), L"Restore Down");
}

// Runs messages for `ms` milliseconds; how many timer messages came for windows (the thread's own timers
// aside): a tip must keep nothing running once it has gone.
int TimerMessagesDuring(int ms) {
    constexpr UINT kSystemTimer = 0x0118; // what the system's own timers (pointer tracking, ...) post
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    int count = 0;
    for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
        MSG msg{};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            count += msg.hwnd != nullptr && (msg.message == WM_TIMER || msg.message == kSystemTimer) ? 1 : 0;
            DispatchMessageW(&msg);
        }
    }
    return count;
}

TEST(Win32Window, TipShowsAfterThePauseAndGoesLeavingNoTimerWhileThePointerRestsOrIsAway) {
    const UINT pause = GetDoubleClickTime();
    SetDoubleClickTime(100); // the tip's pause: it shows after 100 ms, for a second
    WindowScene scene;
    SetWindowPos(scene.hwnd(), HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
    scene.caption.toolTipText = u"Clock Tower";
    const auto tipShows = [] {
        HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
        return tip != nullptr && IsWindowVisible(tip) != FALSE;
    };
    POINT onCaption{14, 7};
    ClientToScreen(scene.hwnd(), &onCaption);
    SetCursorPos(onCaption.x, onCaption.y);
    // Resting on the caption: the tip shows, goes after its time, and then nothing runs.
    scene.Send(WM_MOUSEMOVE, 0, 14, 7);
    EXPECT_TRUE(Pump(tipShows));
    scene.Send(WM_MOUSEMOVE, 0, 15, 8); // inside the same element: the tip stays
    EXPECT_TRUE(tipShows());
    EXPECT_TRUE(Pump([&] { return !tipShows(); }));
    EXPECT_EQ(TimerMessagesDuring(800), 0) << "resting on the caption";
    // Onto the picture (no tip) and back: it shows again; the pointer leaving the window ends it.
    scene.Send(WM_MOUSEMOVE, 0, 15, 75);
    scene.Send(WM_MOUSEMOVE, 0, 14, 7);
    EXPECT_TRUE(Pump(tipShows));
    SetCursorPos(onCaption.x + 400, onCaption.y + 300);
    EXPECT_TRUE(Pump([&] { return !tipShows(); }));
    EXPECT_EQ(TimerMessagesDuring(800), 0) << "away";
    SetCursorPos(onCaption.x, onCaption.y);
    // A press ends a showing tip at once.
    scene.Send(WM_MOUSEMOVE, 0, 14, 7);
    EXPECT_TRUE(Pump(tipShows));
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 14, 7);
    scene.Send(WM_LBUTTONUP, 0, 14, 7);
    EXPECT_FALSE(tipShows());
    EXPECT_EQ(TimerMessagesDuring(800), 0) << "after a press";
    SetDoubleClickTime(pause);
}

TEST(Win32Window, DialogsAreOwnedByTheWindowWhichTakesNoInputMeanwhileAndHaveRealControlsKeptInStep) {
    WindowScene main;
    // A dialog with one check box (element 1 of its array) and one button that closes it.
    Dialog dialog{u"Dialog Scene", Rgb{192, 192, 192}};
    dialog.clientWidth = 390;
    dialog.clientHeight = 552;
    ControlArray<CheckBox> checks{std::make_unique<CheckBox>("check")};
    Button button{"button"};
    dialog.Add(checks[0]);
    dialog.Add(button);
    testing_support::Place(checks[0], 184, 48, 33, 17);
    checks[0].visible = false;
    std::vector<std::string> clicks;
    checks[0].onClick = [&clicks](int index) { clicks.push_back("check " + std::to_string(index)); };
    checks.Append().visible = true;
    checks[1].top = 64;
    testing_support::Place(button, 264, 40, 113, 41);
    button.caption = u"OK";
    button.onClick = [&] {
        clicks.push_back("button");
        dialog.Close();
    };
    int systemCloses = 0;
    dialog.onSystemClose = [&systemCloses] { ++systemCloses; }; // and the dialog stays open
    // A timer of the main window ticks inside each dialog's loop. It looks at the dialog; in the scene's it
    // works the controls and leaves by the button, the file-open dialog it cancels.
    Timer closer{.interval = 50, .enabled = true, .onTick = {}};
    bool ownerEnabled = true, ticked = false, unticked = false;
    HWND dialogWindow = nullptr;
    RECT dialogRect{}, client{};
    LONG style = 0;
    std::wstring title;
    closer.onTick = [&] {
        ownerEnabled = IsWindowEnabled(main.hwnd()) != 0;
        for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, nullptr, nullptr)) != nullptr;) {
            if (GetWindow(found, GW_OWNER) != main.hwnd() || !IsWindowVisible(found)) {
                continue;
            }
            dialogWindow = found;
            GetWindowRect(found, &dialogRect);
            GetClientRect(found, &client);
            style = GetWindowLongW(found, GWL_STYLE);
            wchar_t text[64] = {};
            GetWindowTextW(found, text, 64);
            title = text;
            if (title != L"Dialog Scene") {
                PostMessageW(found, WM_COMMAND, IDCANCEL, 0); // the file-open dialog's Cancel
                continue;
            }
            // The shown check box is the second one created; the first stays hidden.
            HWND check = nullptr;
            for (HWND box = nullptr; (box = FindWindowExW(found, box, L"BUTTON", L"")) != nullptr;) {
                check = IsWindowVisible(box) ? box : check;
            }
            SendMessageW(check, BM_CLICK, 0, 0);
            ticked = checks[1].value == 1;
            checks[1].value = 0;                 // set by the program: the control follows after the next event,
            SendMessageW(found, WM_CLOSE, 0, 0); // the close box, which asks the dialog
            unticked = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_UNCHECKED;
            SendMessageW(FindWindowExW(found, nullptr, L"BUTTON", L"OK"), BM_CLICK, 0, 0);
        }
    };
    main.window.timers.push_back(&closer);
    main.host.Refresh();

    main.system.ShowModal(dialog);
    EXPECT_TRUE(dialog.closed());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(title, L"Dialog Scene") << "owned: no task bar button of its own";
    EXPECT_EQ((std::array{client.right, client.bottom}), (std::array<LONG, 2>{390, 552}));
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_TRUE(ticked && unticked) << "the element follows its control, and the control its element";
    EXPECT_EQ(systemCloses, 1);
    EXPECT_EQ(clicks, (std::vector<std::string>{"check 1", "button"}));
    EXPECT_FALSE(IsWindow(dialogWindow)) << "the dialog's window is gone";
    EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "centred";
    EXPECT_NEAR((dialogRect.top + dialogRect.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1) << "centred";
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));

    title.clear();
    EXPECT_FALSE(main.system.OpenFileDialog(OpenFileRequest{u"Locate Clock Tower", u"Programs|*.exe", 4 | 4096}));
    EXPECT_EQ(title, L"Locate Clock Tower") << "the file-open dialog showed, its library loaded at this first use";
}

TEST(Win32Window, SystemGeometryRefusesImpossibleValuesAndTheWindowMinimises) {
    WindowScene scene;
    Win32System& system = scene.system;
    const double tppX = system.Screen().twipsPerPixelX;
    ASSERT_EQ(system.GetWindowState(), WindowState::Normal) << "taken by the first showing";
    ASSERT_TRUE(system.SetWindowWidth(400 * tppX));
    EXPECT_EQ((std::array{system.ScaleWidth(), system.ScaleHeight()}), (std::array{400.0, 200.0}))
        << "no frame: the client area is the whole window";
    EXPECT_FALSE(system.SetWindowWidth(-tppX));
    EXPECT_FALSE(system.SetWindowLeft(std::nan("")));
    EXPECT_FALSE(system.SetWindowTop(1e12));
    EXPECT_EQ(system.WindowWidth(), 400 * tppX) << "a refused value leaves the window as it was";
    system.SetWindowState(WindowState::Minimised);
    EXPECT_EQ(system.GetWindowState(), WindowState::Minimised);
    system.SetWindowState(WindowState::Normal);
    EXPECT_EQ(system.WindowWidth(), 400 * tppX) << "restored to the normal size";

    // Moved to a 144-dpi screen: the suggested 600 device pixels are the same 400 design pixels, and a
    // press on device pixel (30, 120) is one on design pixel (20, 80), the picture's (15, 10).
    RECT suggested{0, 0, 600, 300};
    SendMessageW(scene.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    scene.events.clear();
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 120);
    EXPECT_EQ((std::tuple{system.ScaleWidth(), system.WindowWidth(), scene.events.at(0)}),
              (std::tuple{400.0, 400 * tppX, Recorded{"picture down", kLeftButton, 0, 15 * 15.0, 10 * 15.0}}));
}

// Each top-level window has its own scale: a dialog opened beside a main window on a 144-dpi screen is made
// at its own screen's resolution (the system's 96 here), with fonts of that size, and a change of
// resolution reaching one window leaves the other's scale alone.
TEST(Win32Window, EachWindowHasItsOwnScaleWhichAResolutionChangeReachingAnotherLeavesAlone) {
    WindowScene main;
    const auto moveTo = [](HWND hwnd, int dpi, RECT suggested) {
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    };
    moveTo(main.hwnd(), 144, RECT{0, 0, 450, 300});
    Dialog dialog{u"Scale Scene", Rgb{192, 192, 192}};
    dialog.clientWidth = 200;
    dialog.clientHeight = 100;
    Button button{"button"};
    dialog.Add(button);
    testing_support::Place(button, 10, 10, 80, 30);
    // The dialog's dpi and button font height (device pixels), and the main window's dpi, read as the dialog
    // opens, after it moved to a 120-dpi screen, and after the main window moved on; its width as it opens.
    std::vector<std::array<int, 3>> seen;
    RECT opened{};
    Timer closer{.interval = 50, .enabled = true, .onTick = {}};
    closer.onTick = [&] {
        HWND found = FindWindowW(nullptr, L"Scale Scene");
        Win32Window* host = Win32Window::FromHandle(found);
        if (host == nullptr || !seen.empty()) {
            return;
        }
        GetClientRect(found, &opened);
        const auto look = [&] {
            LOGFONTW font{};
            GetObjectW(reinterpret_cast<HFONT>(
                           SendMessageW(FindWindowExW(found, nullptr, L"BUTTON", nullptr), WM_GETFONT, 0, 0)),
                       sizeof(font), &font);
            seen.push_back({host->Scale().dpi(), -font.lfHeight, main.host.Scale().dpi()});
        };
        look();
        moveTo(found, 120, RECT{0, 0, 300, 200});
        look();
        moveTo(main.hwnd(), 192, RECT{0, 0, 600, 400});
        look();
        dialog.Close();
    };
    main.window.timers.push_back(&closer);
    main.host.Refresh();
    main.system.ShowModal(dialog);
    EXPECT_EQ(seen, (std::vector<std::array<int, 3>>{{96, 11, 144}, {120, 14, 144}, {120, 14, 192}}));
    EXPECT_EQ(opened.right, 200) << "made at its own scale, not the main window's (300 pixels)";
    EXPECT_EQ(main.system.ScaleWidth(), 300) << "the main window's design size stays through every change";
}

} // namespace
} // namespace platform
