// The window procedure's guard: an exception from an event handler stops at the procedure. It needs a
// display: tests/e2e/run.sh runs it under Xvfb with the other window tests.
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <new>

namespace platform {
namespace {

// Regression: an exception from a handler (memory running out, say) crossed the window procedure into the
// system's code, which cannot pass it on.
TEST(WindowProcedure, DropsAMessageWhoseHandlerThrowsAndHandlesTheNext) {
    Win32System system{u"Z:\\w32guard"};
    Window window{u"Guard Scene", Rgb{192, 192, 192}};
    Image image{"image"};
    window.Add(image);
    image.width = image.height = 50;
    int presses = 0;
    image.handlers.down = [&presses](const PointerEvent&) {
        ++presses;
        throw std::bad_alloc();
    };
    Win32Window host{window, Win32Window::Role::Main, nullptr, 100, 100, 15, 15, system.Shared()};
    ASSERT_TRUE(host.Create());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(SendMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)), 0);
        SendMessageW(host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(presses, 2);
}

} // namespace
} // namespace platform
