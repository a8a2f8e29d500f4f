// The window's tooltip: one tool over the whole client area whose text is the hovered element's, made when
// the pointer first rests on an element with a tip, popped when the pointer moves to another element and
// refreshed when the element's text changes under a still pointer.
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <commctrl.h>

namespace platform {

void Win32Window::UpdateTooltip(Element* hovered, int x, int y) {
    if (hovered == tooltipElement_) {
        return;
    }
    tooltipElement_ = hovered;
    const std::wstring text = hovered != nullptr ? Wide(hovered->toolTipText) : std::wstring();
    if (!tooltip_.Valid() && !text.empty()) {
        MakeTooltip(x, y);
    }
    if (tooltip_.Valid() && text != tooltipText_) {
        // The tip showing belongs to the element the pointer left; the next one shows after the usual pause.
        SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
    }
    tooltipText_ = text;
}

void Win32Window::SyncTooltipText() {
    if (!tooltip_.Valid() || tooltipElement_ == nullptr) {
        return;
    }
    // The element may have left the tree (a removed tile): its tip goes with it.
    const std::wstring text = Contains(*window_, tooltipElement_) ? Wide(tooltipElement_->toolTipText) : std::wstring();
    if (text == tooltipText_) {
        return;
    }
    tooltipText_ = text;
    // The tool's text is asked for each time it shows; a tip showing now asks again, or goes when empty.
    if (text.empty()) {
        SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
        return;
    }
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = hwnd_.Get();
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd_.Get());
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Window::MakeTooltip(int x, int y) {
    // Made when the pointer first rests on an element with a tip, so that a start without one pays for
    // no common controls.
    if (!shared_->libraries.CommonControls()) {
        return;
    }
    HWND hwnd = hwnd_.Get();
    tooltip_ = WindowHandle(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_.Valid()) {
        return;
    }
    // One tool covering the whole window; its text is asked for each time it shows (TooltipText).
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // accepted by every version of the common controls
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // The tip watches the window's pointer moves from the next one on; this one it is told of.
    MSG move{};
    move.hwnd = hwnd;
    move.message = WM_MOUSEMOVE;
    move.lParam = MAKELPARAM(x, y);
    move.time = GetMessageTime();
    SendMessageW(tooltip_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

} // namespace platform
