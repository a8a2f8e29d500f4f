// Screen readers on a window that draws its own parts: the window's client area answers WM_GETOBJECT with
// an IAccessible (Microsoft Active Accessibility) whose children are the parts the core lists
// (Window::accessibleChildren), and the reader hears of each move of the keyboard focus
// (EVENT_OBJECT_FOCUS). oleacc and oleaut32 are loaded from the system folder (through the shared
// SystemLibraries) when a reader first asks; a window no reader asks about loads nothing.
#pragma once

#include "platform/DisplayScale.h"
#include "platform/Elements.h"
#include "platform/win32/Win32Libraries.h"

#include <cstdint>
#include <vector>

struct HWND__;

namespace platform {

class AccessibleClient;

// A default action asked for by a reader runs later, from the window's own messages, as a click would:
// posted with the child's id in wParam.
inline constexpr unsigned kAccessibleActionMessage = 0x8000 + 0x41; // WM_APP + 0x41

class Win32Accessibility {
public:
    // Locations are given in the screen's pixels through `scale`, the window's; the libraries are loaded
    // through `libraries` at the first question. Both must outlive this object.
    Win32Accessibility(const Window& window, HWND__* hwnd, const DisplayScale& scale, SystemLibraries& libraries);
    ~Win32Accessibility(); // readers that still hold the object find it disconnected
    Win32Accessibility(const Win32Accessibility&) = delete;
    Win32Accessibility& operator=(const Win32Accessibility&) = delete;

    // The answer to WM_GETOBJECT for the client area (its wParam given); 0 when it cannot be made.
    std::intptr_t Answer(std::uintptr_t wParam);

    SystemLibraries& Libraries() const { return *libraries_; }

private:
    AccessibleClient* client_ = nullptr;
    SystemLibraries* libraries_;
};

// The child id of part i of a list: its own, or its place counted from 1.
long IdOf(const std::vector<AccessibleItem>& parts, std::size_t i);
// The child id of the focused part; 0 for none.
long FocusedAccessibleChild(const Window& window);
// Tells readers that the focus moved to child `childId` of the window's client area.
void NotifyAccessibleFocus(HWND__* hwnd, long childId);
// Tells readers that the name of child `childId` changed (a text the window shows said something new).
void NotifyAccessibleNameChange(HWND__* hwnd, long childId);
// Runs child `childId`'s default action, if it still has one.
void RunAccessibleAction(const Window& window, long childId);

} // namespace platform
