// Win32 system services: single instance, version numbers, screen, main window state and geometry,
// current drive and folder, program starts, the shell and the end of the process; plus the pure helpers
// behind them (mutex name, command line, show command, version block).
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platform {
namespace {

// Twips per design pixel: the core's unit at every resolution.
constexpr double kDesignTwipsPerPixel = 15;

std::uint16_t ReadWord(std::string_view bytes, std::size_t at) {
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof(value)); // resources are little-endian, as is the machine
    return value;
}

std::uint32_t ReadDword(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof(value));
    return value;
}

// Pixels from twips, for the window's geometry; nothing for a value no window can take.
std::optional<int> TwipsToPixels(double twips, double twipsPerPixel) {
    if (!std::isfinite(twips) || !(twipsPerPixel > 0)) {
        return std::nullopt;
    }
    const double pixels = std::nearbyint(twips / twipsPerPixel);
    // Windows keeps window coordinates in 16 bits on the screen and in 32 bits in messages; far beyond
    // any screen is refused rather than wrapped.
    constexpr double kLimit = 1 << 20;
    if (pixels < -kLimit || pixels > kLimit) {
        return std::nullopt;
    }
    return static_cast<int>(pixels);
}

} // namespace

// ---- pure helpers ----

Text InstanceMutexName(TextView folder) {
    // FNV-1a over the folder's UTF-16 code units, lower-cased: the same folder always gives the same name.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char16_t unit : LowerCase(folder)) {
        hash ^= static_cast<std::uint64_t>(unit);
        hash *= 1099511628211ull;
    }
    constexpr char16_t kDigits[] = u"0123456789abcdef";
    Text name = u"Local\\TessalyCollectionLauncher-";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += kDigits[(hash >> shift) & 0xF];
    }
    return name;
}

std::optional<Text> QuotedCommandLine(TextView path) {
    if (path.empty() || HasNul(path) || path.find(u'"') != TextView::npos) {
        return std::nullopt;
    }
    return u"\"" + Text(path) + u"\"";
}

std::optional<int> ShowCommandForStyle(int windowStyle) {
    switch (windowStyle) {
    case 0:
        return SW_HIDE;
    case 1:
        return SW_SHOWNORMAL;
    case 2:
        return SW_SHOWMINIMIZED;
    case 3:
        return SW_SHOWMAXIMIZED;
    case 4:
        return SW_SHOWNOACTIVATE;
    case 6:
        return SW_SHOWMINNOACTIVE;
    default:
        return std::nullopt;
    }
}

std::optional<Version> ParseVersionResource(std::string_view block) {
    // VS_VERSIONINFO: wLength, wValueLength, wType, the key "VS_VERSION_INFO" with its NUL (16 UTF-16 units),
    // padding to a 32-bit boundary, then VS_FIXEDFILEINFO.
    constexpr std::u16string_view kKey{u"VS_VERSION_INFO\0", 16};
    constexpr std::size_t kKeyAt = 6;
    constexpr std::size_t kFixedAt = (kKeyAt + kKey.size() * 2 + 3) / 4 * 4;
    constexpr std::size_t kFixedSize = 13 * 4;
    constexpr std::uint32_t kSignature = 0xFEEF04BD;
    if (block.size() < kFixedAt + kFixedSize) {
        return std::nullopt;
    }
    const std::size_t length = ReadWord(block, 0);
    const std::size_t valueLength = ReadWord(block, 2);
    if (length > block.size() || length < kFixedAt + kFixedSize || valueLength < kFixedSize) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kKey.size(); ++i) {
        if (ReadWord(block, kKeyAt + i * 2) != kKey[i]) {
            return std::nullopt;
        }
    }
    if (ReadDword(block, kFixedAt) != kSignature) {
        return std::nullopt;
    }
    const std::uint32_t high = ReadDword(block, kFixedAt + 8); // dwFileVersionMS
    const std::uint32_t low = ReadDword(block, kFixedAt + 12); // dwFileVersionLS
    return Version{static_cast<int>(high >> 16), static_cast<int>(high & 0xFFFF), static_cast<int>(low & 0xFFFF)};
}

ScreenInfo ReadScreen(const DisplayScale& scale) {
    // The process is DPI aware, so the metrics are device pixels; the core works in design pixels of 15
    // twips (1/1440 inch at 96 dpi) whatever the resolution.
    ScreenInfo screen;
    screen.widthTwips = scale.ToDesign(GetSystemMetrics(SM_CXSCREEN)) * kDesignTwipsPerPixel;
    screen.heightTwips = scale.ToDesign(GetSystemMetrics(SM_CYSCREEN)) * kDesignTwipsPerPixel;
    return screen;
}

// ---- the system ----

Win32System::Win32System(Text appFolder, int dpi) : appFolder_(std::move(appFolder)), scale_(dpi) {}

bool Win32System::AnotherInstanceRunning() {
    if (anotherInstance_) {
        return *anotherInstance_;
    }
    const std::wstring name = Wide(InstanceMutexName(appFolder_));
    // No security attributes: the handle is not inherited by the programs the launcher starts, which would
    // otherwise keep the mutex alive after the launcher ends.
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
    const DWORD error = GetLastError();
    if (!mutex.Valid()) {
        // Refused access means the mutex exists, made by another instance of this session.
        anotherInstance_ = error == ERROR_ACCESS_DENIED;
        return *anotherInstance_;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        anotherInstance_ = true;
        return true;
    }
    mutex_ = std::move(mutex);
    anotherInstance_ = false;
    return false;
}

Version Win32System::AppVersion() const {
    // Read from the executable's own resource: the version library would be one more DLL for the loader
    // to look for beside the executable.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    if (found == nullptr) {
        return Version{};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (data == nullptr || size == 0) {
        return Version{};
    }
    return ParseVersionResource(std::string_view(static_cast<const char*>(data), size)).value_or(Version{});
}

HWND Win32System::MainHandle() const {
    return main_ != nullptr ? main_->Handle() : nullptr;
}

HWND Win32System::DialogOwner() const {
    return modals_.empty() ? MainHandle() : modals_.back();
}

WindowState Win32System::GetWindowState() const {
    HWND hwnd = MainHandle();
    if (hwnd == nullptr || !shown_) {
        return stateBeforeShown_;
    }
    if (IsIconic(hwnd)) {
        return WindowState::Minimised;
    }
    return IsZoomed(hwnd) ? WindowState::Maximised : WindowState::Normal;
}

void Win32System::SetWindowState(WindowState state) {
    HWND hwnd = MainHandle();
    if (hwnd == nullptr || !shown_) {
        stateBeforeShown_ = state; // taken by the first showing
        return;
    }
    switch (state) {
    case WindowState::Maximised:
        ::ShowWindow(hwnd, SW_MAXIMIZE); // a borderless window then covers the screen
        break;
    case WindowState::Minimised:
        ::ShowWindow(hwnd, SW_MINIMIZE);
        break;
    case WindowState::Normal:
        // Back to the normal-state place and size, from maximised or minimised alike.
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
        break;
    }
}

namespace {

// The window's left, top, width and height in device pixels, in the order of Win32System::Edge.
std::array<int, 4> Edges(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

double Win32System::Geometry(Edge edge) const {
    HWND hwnd = MainHandle();
    RECT rect{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &rect)) {
        return 0;
    }
    return Scale().ToDesign(Edges(rect)[static_cast<std::size_t>(edge)]) * kDesignTwipsPerPixel;
}

bool Win32System::SetGeometry(Edge edge, double twips) {
    HWND hwnd = MainHandle();
    RECT rect{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &rect)) {
        return false;
    }
    // Device pixels of the design pixels the twips make.
    const std::optional<int> pixels = TwipsToPixels(twips, kDesignTwipsPerPixel / Scale().Factor());
    const bool size = edge == Edge::Width || edge == Edge::Height;
    if (!pixels || (size && *pixels < 0)) {
        return false;
    }
    std::array<int, 4> edges = Edges(rect);
    edges[static_cast<std::size_t>(edge)] = *pixels;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | (size ? SWP_NOMOVE : SWP_NOSIZE);
    return SetWindowPos(hwnd, nullptr, edges[0], edges[1], edges[2], edges[3], flags) != 0;
}

double Win32System::ScaleWidth() const {
    RECT client{};
    HWND hwnd = MainHandle();
    return hwnd != nullptr && GetClientRect(hwnd, &client) ? Scale().ToDesign(client.right - client.left) : 0;
}

double Win32System::ScaleHeight() const {
    RECT client{};
    HWND hwnd = MainHandle();
    return hwnd != nullptr && GetClientRect(hwnd, &client) ? Scale().ToDesign(client.bottom - client.top) : 0;
}

void Win32System::ShowWindow() {
    if (main_ == nullptr || main_->Handle() == nullptr) {
        return;
    }
    if (shown_) {
        main_->Show(SW_SHOW);
        return;
    }
    shown_ = true;
    switch (stateBeforeShown_) {
    case WindowState::Maximised:
        main_->Show(SW_SHOWMAXIMIZED);
        break;
    case WindowState::Minimised:
        main_->Show(SW_SHOWMINIMIZED);
        break;
    case WindowState::Normal:
        main_->Show(SW_SHOWNORMAL);
        break;
    }
}

bool Win32System::SetCurrentDrive(TextView drive) {
    // "X:" alone makes that drive's own current folder the current folder.
    if (!IsDriveName(drive)) {
        return false;
    }
    return SetCurrentDirectoryW(Wide(drive).c_str()) != 0;
}

bool Win32System::SetCurrentFolder(TextView folder) {
    if (folder.empty() || HasNul(folder)) {
        return false;
    }
    return SetCurrentDirectoryW(Wide(folder).c_str()) != 0;
}

bool Win32System::StartExecutable(TextView path, int windowStyle) {
    const std::optional<Text> commandLine = QuotedCommandLine(path);
    const std::optional<int> show = ShowCommandForStyle(windowStyle);
    if (!commandLine || !show) {
        return false;
    }
    const std::wstring application = Wide(path);
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::wstring command = Wide(*commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(*show);
    PROCESS_INFORMATION process{};
    // The full path as the application name: the system does not search for it elsewhere. No handles are
    // inherited: the program must not keep the launcher's mutex or files open. No folder of its own: the
    // program inherits the current folder, which the caller chose.
    const BOOL started = CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &startup, &process);
    if (!started) {
        return false;
    }
    const KernelHandle processHandle(process.hProcess);
    const KernelHandle threadHandle(process.hThread);
    return true;
}

bool Win32System::ShellOpen(TextView target, int showCommand) {
    if (target.empty() || HasNul(target)) {
        return false;
    }
    const std::wstring wide = Wide(target);
    // No parent window, no parameters, no working folder. Values above 32 mean success.
    const std::intptr_t result = shared_.libraries.ShellOpen(wide.c_str(), showCommand);
    return result > 32;
}

void Win32System::EndProcess() {
    ExitProcess(0);
}

} // namespace platform
