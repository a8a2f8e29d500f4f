// Tests of the window host on real windows: pointer capture and units, double clicks, key preview, the
// scroll-bar control, timers, pointer shapes, dialogs with their controls, modality, and the main window's
// geometry as the system reports it. They need a display: tests/e2e/run.sh runs them under Xvfb.
#include "platform/win32/Win32Window.h"
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace platform {
namespace {

LPARAM Point(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Runs messages until `done` or until `ms` milliseconds have passed; whether `done` came true.
bool Pump(const std::function<bool()>& done, int ms = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr); // GetMessage returns at least this often
    const bool finished =
        RunModalLoop([&] { return done() || std::chrono::steady_clock::now() >= deadline; }) && done();
    KillTimer(nullptr, wake);
    return finished;
}

void Place(Element& e, double left, double top, double width, double height) {
    e.left = left;
    e.top = top;
    e.width = width;
    e.height = height;
}

struct Recorded {
    std::string what;
    PointerEvent event;
};

// A 300 x 200 pixel main window: a picture box (pixel units) at (10, 10) holding an image and a label
// (twips units) and a scroll bar along its right edge.
struct WindowScene {
    Win32System system{u"Z:\\w32window"};
    Window window{u"Window Scene", Rgb{192, 192, 192}};
    PictureBox box{"box", system};
    Image image{"image"};
    Label label{"label", system, true};
    ScrollBar bar{"bar"};
    std::vector<Recorded> events;
    Win32Window host{window, Win32Window::Role::Main, nullptr, 300, 200, 15, 15, system.Shared()};

    WindowScene() {
        window.Add(box);
        box.Add(image);
        box.Add(label);
        box.Add(bar);
        Place(box, 10, 10, 200, 150);
        Place(image, 20, 20, 64, 64);
        label.left = 20;
        label.top = 100;
        label.SetCaption(u"Clock Tower");
        Place(bar, 175, 0, 25, 150);
        bar.SetMax(5);
        bar.largeChange = 2;
        for (Element* e : std::array<Element*, 3>{&box, &image, &label}) {
            e->handlers.down = Record(e->name() + " down");
            e->handlers.move = Record(e->name() + " move");
            e->handlers.up = Record(e->name() + " up");
            e->handlers.doubleClick = Record(e->name() + " double");
        }
        EXPECT_TRUE(host.Create());
        system.AttachMainWindow(&host);
        system.SetWindowState(WindowState::Normal); // taken by the first showing
        system.ShowWindow();
    }
    ~WindowScene() {
        ReleaseCapture();
        system.AttachMainWindow(nullptr);
    }

    std::function<void(const PointerEvent&)> Record(std::string what) {
        return [this, what](const PointerEvent& e) { events.push_back(Recorded{what, e}); };
    }

    HWND hwnd() const { return host.Handle(); }
    HWND Control(const wchar_t* controlClass) const { return FindWindowExW(hwnd(), nullptr, controlClass, nullptr); }
    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(hwnd(), message, keys, Point(x, y)); }
};

TEST(Win32Window, PointerEventsGoToThePressedElementInItsUnitsUntilRelease) {
    WindowScene scene;
    // The image lies at (30, 30) in the window, the label at (30, 110).
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 40, 35);
    EXPECT_EQ(GetCapture(), scene.hwnd());
    scene.Send(WM_MOUSEMOVE, MK_LBUTTON, 5, 250); // far outside the image and the window
    scene.Send(WM_LBUTTONUP, 0, 6, 251);
    EXPECT_NE(GetCapture(), scene.hwnd());
    scene.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 35); // the second press of a double click
    scene.Send(WM_LBUTTONUP, 0, 40, 35);
    scene.Send(WM_MOUSEMOVE, 0, 40, 115);                                    // over the label, nothing held
    scene.Send(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT | MK_CONTROL, 150, 60); // the box itself
    scene.Send(WM_RBUTTONUP, MK_SHIFT | MK_CONTROL, 150, 60);
    scene.Send(WM_LBUTTONDOWN, MK_LBUTTON, 250, 180); // the window's own background: nobody
    scene.Send(WM_LBUTTONUP, 0, 250, 180);

    const struct {
        const char* what;
        int button, shift;
        double x, y;
    } expected[] = {
        {"image down", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
        {"image move", kLeftButton, 0, -25 * 15.0, 220 * 15.0},
        {"image up", kLeftButton, 0, -24 * 15.0, 221 * 15.0},
        {"image double", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
        {"image up", kLeftButton, 0, 10 * 15.0, 5 * 15.0},
        {"label move", 0, 0, 10 * 15.0, 5 * 15.0},
        {"box down", kRightButton, kShiftMask | kCtrlMask, 140, 50},
        {"box up", kRightButton, kShiftMask | kCtrlMask, 140, 50},
    };
    ASSERT_EQ(scene.events.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const Recorded& got = scene.events[i];
        EXPECT_EQ(got.what, expected[i].what) << i;
        EXPECT_EQ(got.event.button, expected[i].button) << got.what;
        EXPECT_EQ(got.event.shift, expected[i].shift) << got.what;
        EXPECT_DOUBLE_EQ(got.event.x, expected[i].x) << got.what;
        EXPECT_DOUBLE_EQ(got.event.y, expected[i].y) << got.what;
    }
}

TEST(Win32Window, KeyPreviewGivesTheWindowKeysMeantForItsControls) {
    WindowScene scene;
    std::vector<std::pair<int, int>> keys;
    scene.window.onKeyDown = [&keys](int key, int shift) { keys.emplace_back(key, shift); };
    scene.host.Refresh();
    HWND scrollBar = scene.Control(L"SCROLLBAR");
    ASSERT_NE(scrollBar, nullptr);

    BYTE saved[256] = {};
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE held[256] = {};
    std::copy(std::begin(saved), std::end(saved), std::begin(held));
    held[VK_SHIFT] = held[VK_CONTROL] = 0x80;
    held[VK_MENU] = 0;
    ASSERT_TRUE(SetKeyboardState(held));
    PostMessageW(scrollBar, WM_KEYDOWN, 'K', 1);
    const bool seen = Pump([&keys] { return !keys.empty(); });
    SetKeyboardState(saved);
    ASSERT_TRUE(seen);
    EXPECT_EQ(keys.front(), std::make_pair(static_cast<int>('K'), kShiftMask | kCtrlMask));
}

TEST(Win32Window, ScrollBarControlFollowsTheElementBothWays) {
    WindowScene scene;
    int changes = 0;
    scene.bar.onChange = [&changes] { ++changes; };
    scene.host.Refresh();
    HWND control = scene.Control(L"SCROLLBAR");
    ASSERT_NE(control, nullptr);
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, scene.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 10 + 175);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right - rect.left, 25);
    EXPECT_EQ(rect.bottom - rect.top, 150);
    EXPECT_TRUE(IsWindowVisible(control));
    const auto info = [control] {
        SCROLLINFO got{};
        got.cbSize = sizeof(got);
        got.fMask = SIF_ALL;
        GetScrollInfo(control, SB_CTL, &got);
        return got;
    };
    EXPECT_EQ(info().nMax, 6); // a range of 5 and a page of 2
    EXPECT_EQ(info().nPage, 2u);

    const struct {
        int code, value;
    } steps[] = {{SB_LINEDOWN, 1}, {SB_PAGEDOWN, 3}, {SB_BOTTOM, 5}, {SB_LINEUP, 4}, {SB_PAGEUP, 2}, {SB_TOP, 0}};
    for (const auto& s : steps) {
        SendMessageW(scene.hwnd(), WM_VSCROLL, MAKEWPARAM(s.code, 0), reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(scene.bar.value(), s.value) << "code " << s.code;
        EXPECT_EQ(info().nPos, s.value) << "the control follows the element";
    }
    EXPECT_EQ(changes, static_cast<int>(std::size(steps))) << "a change event for each step";

    scene.box.visible = false; // hidden with its picture box
    scene.host.Refresh();
    EXPECT_FALSE(IsWindowVisible(control));
}

TEST(Win32Window, EnabledTimersTickUntilSwitchedOff) {
    WindowScene scene;
    Timer timer;
    timer.interval = 30;
    int ticks = 0;
    timer.onTick = [&] {
        if (++ticks == 3) {
            timer.enabled = false;
        }
    };
    scene.window.timers.push_back(&timer);
    scene.host.Refresh();
    EXPECT_FALSE(Pump([&] { return ticks > 0; }, 200)) << "a timer that is off does not tick";
    timer.enabled = true;
    scene.host.Refresh();
    EXPECT_TRUE(Pump([&] { return ticks == 3; }));
    Pump([] { return false; }, 200);
    EXPECT_EQ(ticks, 3);
}

TEST(Win32Window, PointerShapeIsTheWindowsOrElseTheElements) {
    WindowScene scene;
    SetWindowPos(scene.hwnd(), HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
    POINT onImage{40, 40};
    ClientToScreen(scene.hwnd(), &onImage);
    SetCursorPos(onImage.x, onImage.y);
    const struct {
        MousePointer window, image;
        bool imageShown;
        const wchar_t* shape;
    } cases[] = {
        {MousePointer::Default, MousePointer::SizeWE, true, IDC_SIZEWE},
        {MousePointer::Hourglass, MousePointer::SizeWE, true, IDC_WAIT}, // the busy window's, over everything
        {MousePointer::Default, MousePointer::SizeNS, true, IDC_SIZENS},
        {MousePointer::Default, MousePointer::SizeNS, false, IDC_ARROW},
    };
    for (const auto& c : cases) {
        scene.window.mousePointer = c.window;
        scene.image.mousePointer = c.image;
        scene.image.visible = c.imageShown;
        SendMessageW(scene.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(scene.hwnd()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, c.shape))
            << static_cast<int>(c.window) << " " << static_cast<int>(c.image);
    }
}

TEST(Win32Window, TooltipIsMadeWhenThePointerFirstRestsOnATip) {
    WindowScene scene;
    const auto tooltip = [&scene] {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
            if (GetWindow(found, GW_OWNER) == scene.hwnd()) {
                return found;
            }
        }
        return found;
    };
    scene.Send(WM_MOUSEMOVE, 0, 40, 35);
    EXPECT_EQ(tooltip(), nullptr) << "no element with a tip yet: no common controls needed";
    scene.label.toolTipText = u"Clock Tower";
    scene.Send(WM_MOUSEMOVE, 0, 40, 115);
    EXPECT_NE(tooltip(), nullptr);
    EXPECT_EQ(std::wstring(scene.host.TooltipText()), L"Clock Tower");
}

// A dialog with one check box (element 1 of its array) and one button.
struct DialogScene {
    Win32System system{u"Z:\\w32dialog"};
    Dialog dialog{u"Dialog Scene", Rgb{192, 192, 192}};
    ControlArray<CheckBox> checks{std::make_unique<CheckBox>("check")};
    Button button{"button"};
    std::vector<std::string> clicks;

    DialogScene() {
        dialog.clientWidth = 390;
        dialog.clientHeight = 552;
        dialog.Add(checks[0]);
        dialog.Add(button);
        Place(checks[0], 184, 48, 33, 17);
        checks[0].visible = false;
        checks[0].onClick = [this](int index) { clicks.push_back("check " + std::to_string(index)); };
        CheckBox& second = checks.Append();
        second.top = 64;
        second.visible = true;
        Place(button, 264, 40, 113, 41);
        button.caption = u"OK";
        button.onClick = [this] {
            clicks.push_back("button");
            dialog.Close();
        };
    }
};

TEST(Win32Window, DialogControlsAreRealAndKeptInStep) {
    DialogScene scene;
    Win32Window host(scene.dialog, Win32Window::Role::Dialog, nullptr, 0, 0, 15, 15, scene.system.Shared());
    ASSERT_TRUE(host.Create());
    host.Show(SW_SHOW);
    RECT client{};
    GetClientRect(host.Handle(), &client);
    EXPECT_EQ(client.right, 390);
    EXPECT_EQ(client.bottom, 552);
    EXPECT_NE(GetWindowLongW(host.Handle(), GWL_STYLE) & WS_CAPTION, 0);

    // The shown check box is the second one created; the first stays hidden.
    HWND check = nullptr;
    HWND button = nullptr;
    for (HWND child = GetWindow(host.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[16] = {};
        GetWindowTextW(child, text, 16);
        if (std::wstring(text) == L"OK") {
            button = child;
        } else if (IsWindowVisible(child)) {
            check = child;
        }
    }
    ASSERT_NE(check, nullptr);
    ASSERT_NE(button, nullptr);

    SendMessageW(check, BM_CLICK, 0, 0);
    EXPECT_EQ(scene.checks[1].value, 1);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    scene.checks[1].value = 0; // set by the program: the control follows
    host.Refresh();
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(scene.clicks, (std::vector<std::string>{"check 1", "button"}));
    EXPECT_TRUE(scene.dialog.closed());

    // The close box asks the dialog, which decides.
    int systemCloses = 0;
    scene.dialog.onSystemClose = [&systemCloses] { ++systemCloses; };
    scene.dialog.Open();
    SendMessageW(host.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(systemCloses, 1);
    EXPECT_FALSE(scene.dialog.closed());
    EXPECT_TRUE(IsWindow(host.Handle())) << "the dialog's window stays until its owner ends it";
}

TEST(Win32Window, DialogsAreOwnedByTheWindowWhichTakesNoInputMeanwhile) {
    WindowScene main;
    DialogScene scene;
    // A timer of the main window ticks inside each dialog's loop: it looks at the dialog and closes it.
    Timer closer;
    closer.interval = 50;
    closer.enabled = true;
    bool ownerEnabled = true;
    HWND dialogWindow = nullptr;
    RECT dialogRect{};
    std::wstring title;
    closer.onTick = [&] {
        ownerEnabled = IsWindowEnabled(main.hwnd()) != 0;
        for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, nullptr, nullptr)) != nullptr;) {
            if (GetWindow(found, GW_OWNER) == main.hwnd() && IsWindowVisible(found)) {
                dialogWindow = found;
                GetWindowRect(found, &dialogRect);
                wchar_t text[64] = {};
                GetWindowTextW(found, text, 64);
                title = text;
                scene.dialog.Close();
                PostMessageW(found, WM_COMMAND, IDCANCEL, 0); // the file-open dialog's Cancel
            }
        }
    };
    main.window.timers.push_back(&closer);
    main.host.Refresh();

    main.system.ShowModal(scene.dialog);
    EXPECT_TRUE(scene.dialog.closed());
    EXPECT_FALSE(ownerEnabled);
    EXPECT_EQ(title, L"Dialog Scene") << "owned: no task bar button of its own";
    EXPECT_FALSE(IsWindow(dialogWindow)) << "the dialog's window is gone";
    EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1) << "centred";
    EXPECT_NEAR((dialogRect.top + dialogRect.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1) << "centred";
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));

    title.clear();
    EXPECT_FALSE(main.system.OpenFileDialog(OpenFileRequest{u"Locate Clock Tower", u"Programs|*.exe", 4 | 4096}));
    EXPECT_EQ(title, L"Locate Clock Tower") << "the file-open dialog showed, its library loaded at this first use";
}

TEST(Win32Window, SystemGeometryIsTheMainWindowsInTwips) {
    WindowScene scene;
    const ScreenInfo screen = ReadScreen();
    const double tppX = screen.twipsPerPixelX;
    Win32System& system = scene.system;
    ASSERT_EQ(system.GetWindowState(), WindowState::Normal) << "taken by the first showing";
    ASSERT_TRUE(system.SetWindowLeft(100 * tppX));
    ASSERT_TRUE(system.SetWindowWidth(400 * tppX));
    RECT rect{};
    GetWindowRect(scene.hwnd(), &rect);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.right - rect.left, 400);
    EXPECT_EQ(system.ScaleWidth(), 400) << "no frame: the client area is the whole window";
    EXPECT_EQ(system.ScaleHeight(), 200);
    EXPECT_FALSE(system.SetWindowWidth(-tppX));
    EXPECT_FALSE(system.SetWindowLeft(std::nan("")));
    EXPECT_FALSE(system.SetWindowTop(1e12));
    EXPECT_EQ(system.WindowWidth(), 400 * tppX) << "a refused value leaves the window as it was";

    const struct {
        WindowState state;
        double width;                                          // twips
    } states[] = {{WindowState::Maximised, screen.widthTwips}, // a borderless window covers the screen
                  {WindowState::Normal, 400 * tppX},           // restore gives back the normal size
                  {WindowState::Minimised, -1},
                  {WindowState::Normal, 400 * tppX}};
    for (const auto& c : states) {
        system.SetWindowState(c.state);
        EXPECT_EQ(system.GetWindowState(), c.state);
        if (c.width >= 0) {
            EXPECT_EQ(system.WindowWidth(), c.width) << static_cast<int>(c.state);
        }
    }
}

TEST(Win32Window, ClosingTheMainWindowEndsTheMessageLoop) {
    WindowScene scene;
    PostMessageW(scene.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(RunModalLoop([] { return false; })) << "the quit message ends the loop";
    MSG msg{};
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and is posted again for the outer loop";
}

} // namespace
} // namespace platform
