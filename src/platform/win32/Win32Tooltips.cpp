// The window's tooltip: a tip that the window shows and hides itself, so that nothing runs while the pointer
// rests or is away. When the pointer comes onto an element with a tip, one timer waits the system's pause;
// the tip then shows below the pointer and the same timer ends it after ten pauses. Moving onto another
// element, a press, or the pointer leaving the window ends it at once. The tip control is asked to track
// nothing: it is a tracking tip placed by the window, which keeps no timer of its own running, and the
// pointer's leaving is watched only while a tip waits or shows.
#include "platform/win32/Win32Window.h"

#include <windows.h>

#include <commctrl.h>

namespace platform {
namespace {

// The tool's description for a message to the tip control.
TTTOOLINFOW Tool(HWND hwnd) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE; // accepted by every version of the common controls
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(hwnd);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return tool;
}

// Windows' own pause before a tip shows; the tip shows for ten of them.
UINT TipPause() {
    return GetDoubleClickTime();
}

} // namespace

void Win32Window::UpdateTooltip(Element* hovered) {
    if (hovered == tooltipElement_) {
        return; // a move inside the same element changes nothing
    }
    EndTooltip(TipPhase::None);
    tooltipElement_ = hovered;
    tooltipText_ = hovered != nullptr ? Wide(hovered->toolTipText) : std::wstring();
    WaitForTooltip();
}

void Win32Window::WaitForTooltip() {
    if (tooltipText_.empty() || !MakeTooltip()) {
        return;
    }
    tipPhase_ = TipPhase::Waiting;
    SetTimer(hwnd_.Get(), kTooltipTimer, TipPause(), nullptr);
    WatchLeave(true);
}

void Win32Window::OnTooltipTimer() {
    KillTimer(hwnd_.Get(), kTooltipTimer);
    if (tipPhase_ != TipPhase::Waiting || !tooltip_.Valid() || tooltipText_.empty()) {
        EndTooltip(TipPhase::Done);
        return;
    }
    // Below the pointer's tip, as the system places its own tips.
    POINT at{};
    GetCursorPos(&at);
    const int below = GetSystemMetrics(SM_CYCURSOR) * 2 / 3;
    SendMessageW(tooltip_.Get(), TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y + below));
    TTTOOLINFOW tool = Tool(hwnd_.Get());
    SendMessageW(tooltip_.Get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    tipPhase_ = TipPhase::Showing;
    SetTimer(hwnd_.Get(), kTooltipTimer, TipPause() * 10, nullptr);
}

void Win32Window::PressEndsTooltip() {
    if (tipPhase_ != TipPhase::None) {
        EndTooltip(TipPhase::Done);
    }
}

void Win32Window::OnPointerLeave() {
    EndTooltip(TipPhase::None);
    tooltipElement_ = nullptr;
}

void Win32Window::EndTooltip(TipPhase phase) {
    if (tipPhase_ == TipPhase::Showing && tooltip_.Valid()) {
        TTTOOLINFOW tool = Tool(hwnd_.Get());
        SendMessageW(tooltip_.Get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
    if (tipPhase_ == TipPhase::Waiting || tipPhase_ == TipPhase::Showing) {
        KillTimer(hwnd_.Get(), kTooltipTimer);
    }
    tipPhase_ = phase;
    WatchLeave(false);
}

void Win32Window::WatchLeave(bool watch) {
    if (watch == watchingLeave_ || !hwnd_.Valid()) {
        return;
    }
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE | (watch ? 0 : TME_CANCEL);
    track.hwndTrack = hwnd_.Get();
    watchingLeave_ = TrackMouseEvent(&track) && watch;
}

void Win32Window::SyncTooltipText() {
    if (tooltipElement_ == nullptr) {
        return;
    }
    // The element may have left the tree (a removed tile): its tip goes with it.
    const std::wstring text = Contains(*window_, tooltipElement_) ? Wide(tooltipElement_->toolTipText) : std::wstring();
    if (text == tooltipText_) {
        return;
    }
    tooltipText_ = text;
    if (text.empty()) {
        EndTooltip(TipPhase::Done);
    } else if (tipPhase_ == TipPhase::None) {
        WaitForTooltip(); // the element has a tip now
    } else if (tipPhase_ == TipPhase::Showing) {
        // Shown again where it is: the text is asked for each time the tip shows.
        TTTOOLINFOW tool = Tool(hwnd_.Get());
        SendMessageW(tooltip_.Get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_.Get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    }
}

bool Win32Window::MakeTooltip() {
    // Made when the pointer first comes onto an element with a tip, so that a start without one pays for no
    // common controls.
    if (tooltip_.Valid()) {
        return true;
    }
    if (!shared_->libraries.CommonControls()) {
        return false;
    }
    HWND hwnd = hwnd_.Get();
    tooltip_ = WindowHandle(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!tooltip_.Valid()) {
        return false;
    }
    // One tool, placed by the window where the pointer is; its text is asked for each time it shows
    // (TooltipText).
    TTTOOLINFOW tool = Tool(hwnd);
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    if (SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE) {
        static_cast<void>(tooltip_.Close());
        return false;
    }
    return true;
}

} // namespace platform
