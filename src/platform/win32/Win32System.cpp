// Win32 system, the Windows backend of platform::System.
// Implements: single instance, version numbers, screen, main window state and geometry, text measuring,
// program icons, current drive and folder, program starts, the shell, the end of the process, and the
// dialogs; plus the pure helpers behind them (mutex name, filter list, command line, version block).
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

namespace platform {
namespace {

std::wstring Wide(TextView text) {
    return std::wstring(text.begin(), text.end());
}

bool HasNul(TextView text) {
    return text.find(u'\0') != TextView::npos;
}

// ---- handle guards ----

class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

private:
    HANDLE handle_;
};

class IconHandle {
public:
    explicit IconHandle(HICON icon) : icon_(icon) {}
    ~IconHandle() { DestroyIcon(icon_); }
    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    HICON Get() const { return icon_; }

private:
    HICON icon_;
};

// A 32 x 32 pixel top-down 32-bit drawing surface: a DIB section in a memory DC.
class IconSurface {
public:
    static constexpr int kSize = 32; // pixels at any resolution: the size a tile's icon square is copied at

    IconSurface() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* memory = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(memory);
        if (dc_ != nullptr && bitmap_ != nullptr) {
            old_ = SelectObject(dc_, bitmap_);
        }
    }
    ~IconSurface() {
        if (old_ != nullptr) {
            SelectObject(dc_, old_);
        }
        if (bitmap_ != nullptr) {
            DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    IconSurface(const IconSurface&) = delete;
    IconSurface& operator=(const IconSurface&) = delete;

    // The icon drawn on a ground of one colour (0x00RRGGBB); nothing when GDI failed.
    std::optional<std::array<std::uint32_t, kSize * kSize>> Draw(HICON icon, std::uint32_t ground) {
        if (old_ == nullptr || bits_ == nullptr) {
            return std::nullopt;
        }
        GdiFlush();
        std::fill(bits_, bits_ + kSize * kSize, ground);
        if (!DrawIconEx(dc_, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL)) {
            return std::nullopt;
        }
        GdiFlush();
        std::array<std::uint32_t, kSize * kSize> pixels{};
        std::copy(bits_, bits_ + kSize * kSize, pixels.begin());
        return pixels;
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// The icon as a picture with its own transparency. GDI does not say what an icon leaves of the ground, so
// the icon is drawn on black and on white: where it is opaque both agree, where it is transparent the
// difference is the whole ground, and in between the difference gives the alpha.
std::optional<Bitmap> IconPicture(HICON icon) {
    IconSurface surface;
    const auto onBlack = surface.Draw(icon, 0x00000000u);
    const auto onWhite = surface.Draw(icon, 0x00FFFFFFu);
    if (!onBlack || !onWhite) {
        return std::nullopt;
    }
    Bitmap picture(IconSurface::kSize, IconSurface::kSize, Rgb{0, 0, 0});
    for (std::size_t i = 0; i < onBlack->size(); ++i) {
        const std::uint32_t black = (*onBlack)[i];
        const std::uint32_t white = (*onWhite)[i];
        int difference = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            difference += static_cast<int>((white >> shift) & 0xFF) - static_cast<int>((black >> shift) & 0xFF);
        }
        const int alpha = std::clamp(255 - (difference + 1) / 3, 0, 255);
        std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
        if (alpha > 0) {
            // On black the icon's colour is scaled by its alpha; undo that.
            for (int shift = 0; shift <= 16; shift += 8) {
                const int scaled = static_cast<int>((black >> shift) & 0xFF);
                const int channel = std::min(255, (scaled * 255 + alpha / 2) / alpha);
                pixel |= static_cast<std::uint32_t>(channel) << shift;
            }
        }
        picture.pixels[i] = pixel;
    }
    return picture;
}

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

Text FileDialogFilter(TextView filter) {
    std::vector<TextView> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = filter.find(u'|', start);
        pieces.push_back(filter.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
        if (bar == TextView::npos) {
            break;
        }
        start = bar + 1;
    }
    Text list;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        list += pieces[i];
        list += u'\0';
        list += pieces[i + 1];
        list += u'\0';
    }
    if (!list.empty()) {
        list += u'\0';
    }
    return list;
}

std::optional<Text> QuotedCommandLine(TextView path) {
    if (path.empty() || HasNul(path) || path.find(u'"') != TextView::npos) {
        return std::nullopt;
    }
    return u"\"" + Text(path) + u"\"";
}

Text ProgramFolder(TextView path) {
    const std::size_t last = path.rfind(u'\\');
    return last == TextView::npos ? Text() : Text(path.substr(0, last + 1));
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

int ReadDpiX() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

int ReadDpiY() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : 96;
}

ScreenInfo ReadScreen() {
    // A twip is 1/1440 inch; the process is system-DPI aware, so the metrics are real pixels.
    ScreenInfo screen;
    screen.twipsPerPixelX = 1440.0 / ReadDpiX();
    screen.twipsPerPixelY = 1440.0 / ReadDpiY();
    screen.widthTwips = GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX;
    screen.heightTwips = GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY;
    return screen;
}

// ---- the system ----

Win32System::Win32System(Text appFolder) : appFolder_(std::move(appFolder)), fonts_(ReadDpiY()) {}

Win32System::~Win32System() {
    if (mutex_ != nullptr) {
        CloseHandle(static_cast<HANDLE>(mutex_));
    }
}

bool Win32System::AnotherInstanceRunning() {
    if (anotherInstance_) {
        return *anotherInstance_;
    }
    const std::wstring name = Wide(InstanceMutexName(appFolder_));
    // No security attributes: the handle is not inherited by the programs the launcher starts, which would
    // otherwise keep the mutex alive after the launcher ends.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr) {
        // Refused access means the mutex exists, made by another instance of this session.
        anotherInstance_ = error == ERROR_ACCESS_DENIED;
        return *anotherInstance_;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        anotherInstance_ = true;
        return true;
    }
    mutex_ = mutex;
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

double Win32System::Geometry(Edge edge) const {
    HWND hwnd = MainHandle();
    RECT rect{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &rect)) {
        return 0;
    }
    const ScreenInfo screen = ReadScreen();
    switch (edge) {
    case Edge::Left:
        return rect.left * screen.twipsPerPixelX;
    case Edge::Top:
        return rect.top * screen.twipsPerPixelY;
    case Edge::Width:
        return (rect.right - rect.left) * screen.twipsPerPixelX;
    case Edge::Height:
        return (rect.bottom - rect.top) * screen.twipsPerPixelY;
    }
    return 0;
}

bool Win32System::SetGeometry(Edge edge, double twips) {
    HWND hwnd = MainHandle();
    RECT rect{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &rect)) {
        return false;
    }
    const ScreenInfo screen = ReadScreen();
    const bool horizontal = edge == Edge::Left || edge == Edge::Width;
    const std::optional<int> pixels = TwipsToPixels(twips, horizontal ? screen.twipsPerPixelX : screen.twipsPerPixelY);
    if (!pixels || ((edge == Edge::Width || edge == Edge::Height) && *pixels < 0)) {
        return false;
    }
    int left = rect.left, top = rect.top, width = rect.right - rect.left, height = rect.bottom - rect.top;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    switch (edge) {
    case Edge::Left:
        left = *pixels;
        flags |= SWP_NOSIZE;
        break;
    case Edge::Top:
        top = *pixels;
        flags |= SWP_NOSIZE;
        break;
    case Edge::Width:
        width = *pixels;
        flags |= SWP_NOMOVE;
        break;
    case Edge::Height:
        height = *pixels;
        flags |= SWP_NOMOVE;
        break;
    }
    return SetWindowPos(hwnd, nullptr, left, top, width, height, flags) != 0;
}

double Win32System::WindowLeft() const {
    return Geometry(Edge::Left);
}
double Win32System::WindowTop() const {
    return Geometry(Edge::Top);
}
double Win32System::WindowWidth() const {
    return Geometry(Edge::Width);
}
double Win32System::WindowHeight() const {
    return Geometry(Edge::Height);
}
bool Win32System::SetWindowLeft(double twips) {
    return SetGeometry(Edge::Left, twips);
}
bool Win32System::SetWindowTop(double twips) {
    return SetGeometry(Edge::Top, twips);
}
bool Win32System::SetWindowWidth(double twips) {
    return SetGeometry(Edge::Width, twips);
}
bool Win32System::SetWindowHeight(double twips) {
    return SetGeometry(Edge::Height, twips);
}

double Win32System::ScaleWidth() const {
    RECT client{};
    HWND hwnd = MainHandle();
    return hwnd != nullptr && GetClientRect(hwnd, &client) ? client.right - client.left : 0;
}

double Win32System::ScaleHeight() const {
    RECT client{};
    HWND hwnd = MainHandle();
    return hwnd != nullptr && GetClientRect(hwnd, &client) ? client.bottom - client.top : 0;
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

std::optional<Bitmap> Win32System::FileIcon(TextView file, int index) {
    if (file.empty() || HasNul(file) || index < 0) {
        return std::nullopt; // a negative index would name an icon by its resource id instead
    }
    const std::wstring path = Wide(file);
    HICON icon = ExtractIconW(GetModuleHandleW(nullptr), path.c_str(), static_cast<UINT>(index));
    // NULL: no icon; 1: the file is no executable, library or icon file.
    if (reinterpret_cast<UINT_PTR>(icon) <= 1) {
        return std::nullopt;
    }
    const IconHandle owned(icon);
    return IconPicture(owned.Get());
}

bool Win32System::SetCurrentDrive(TextView drive) {
    // A letter and a colon; "X:" alone makes that drive's own current folder the current folder.
    const bool letter = drive.size() == 2 && drive[1] == u':' &&
                        ((drive[0] >= u'A' && drive[0] <= u'Z') || (drive[0] >= u'a' && drive[0] <= u'z'));
    if (!letter) {
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
    const std::wstring folder = Wide(ProgramFolder(path));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(*show);
    PROCESS_INFORMATION process{};
    // The full path as the application name: the system does not search for it elsewhere. No handles are
    // inherited: the program must not keep the launcher's mutex or files open.
    const BOOL started = CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                        folder.empty() ? nullptr : folder.c_str(), &startup, &process);
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
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, showCommand));
    return result > 32;
}

void Win32System::EndProcess() {
    ExitProcess(0);
}

void Win32System::ShowModal(Dialog& dialog) {
    HWND owner = DialogOwner();
    dialog.Open();
    const ScreenInfo screen = ReadScreen();
    Win32Window host(dialog, Win32Window::Role::Dialog, owner, dialog.clientWidth, dialog.clientHeight,
                     screen.twipsPerPixelX, screen.twipsPerPixelY, ReadDpiY());
    if (!host.Create()) {
        dialog.Close(); // a dialog that cannot be shown is closed as if cancelled
        return;
    }
    // Modal: the owner takes no input while the dialog is open.
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    modals_.push_back(host.Handle());
    host.Show(SW_SHOW);
    if (!RunModalLoop([&dialog] { return dialog.closed(); })) {
        dialog.Close(); // the process is ending
    }
    modals_.pop_back();
    // The owner is enabled again before the dialog goes, so that it becomes the active window.
    if (owner != nullptr) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (Win32Window* ownerHost = Win32Window::FromHandle(owner)) {
        ownerHost->Refresh(); // what the dialog changed shows at once
    }
}

int Win32System::ShowMessageBox(TextView text, TextView title, int style) {
    const std::wstring wideText = Wide(text);
    const std::wstring wideTitle = Wide(title);
    return MessageBoxW(DialogOwner(), wideText.c_str(), wideTitle.c_str(), static_cast<UINT>(style));
}

std::optional<Text> Win32System::OpenFileDialog(const OpenFileRequest& request) {
    const Text filter = FileDialogFilter(request.filter);
    const std::wstring wideFilter = Wide(filter);
    const std::wstring title = Wide(request.title);
    // Room for the longest path Windows allows.
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = DialogOwner();
    dialog.lpstrFilter = filter.empty() ? nullptr : wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // Flags that would need a hook, a template or a list of several files are not the caller's to ask for:
    // nothing here provides them.
    constexpr DWORD kRefused = OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE | OFN_ALLOWMULTISELECT;
    dialog.Flags = static_cast<DWORD>(request.flags) & ~kRefused;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt; // cancelled, or the dialog failed
    }
    const std::wstring chosen(file.data());
    if (chosen.empty()) {
        return std::nullopt;
    }
    return Text(chosen.begin(), chosen.end());
}

} // namespace platform
