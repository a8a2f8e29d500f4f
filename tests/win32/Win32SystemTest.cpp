// Tests of the Win32 system that need no display: the single-instance mutex, the version resource, text
// measuring, program icons, the current folder, starting programs, the shell, the pure helpers behind
// them, and what the launcher loads at start. This test program carries the launcher's own resources
// (launcher.rc), so its icon and version are the launcher's.
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ranges>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

fs::path ModulePath() {
    wchar_t path[MAX_PATH * 4] = {};
    return fs::path(std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH * 4)));
}

// A fresh folder under the temporary folder, removed with everything in it at the end of the test; the
// current folder is put back as it was.
struct TempFolder {
    const fs::path saved = fs::current_path();
    const fs::path path = fs::temp_directory_path() / (L"w32sys-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                                       std::to_wstring(GetTickCount64()));

    TempFolder() { fs::create_directories(path); }
    TempFolder(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code error;
        fs::current_path(saved, error);
        fs::remove_all(path, error);
    }
    Text text() const { return FromWide(path.wstring()); }
};

// ---- pure helpers ----

TEST(Win32SystemHelpers, FilterListCommandLineAndShowCommand) {
    // A filter and the list the file dialog takes.
    const std::pair<Text, Text> filters[] = {
        {u"Programs|*.exe", u"Programs\0*.exe\0\0"s},
        {u"Programs|*.exe|All files|*.*", u"Programs\0*.exe\0All files\0*.*\0\0"s},
        {u"Programs|*.exe|Orphan", u"Programs\0*.exe\0\0"s}, // a description without its pattern is dropped
        {u"Programs", u""},
        {u"", u""},
    };
    for (const auto& [filter, list] : filters) {
        EXPECT_EQ(FileDialogFilter(filter), list) << ToUtf8(filter);
    }
    // The path in quotes; nothing for what cannot be a file name (a quote would end the path early and turn
    // the rest into arguments).
    const std::pair<Text, std::optional<Text>> lines[] = {
        {u"C:\\Program Files\\Tessaly\\maths.exe", u"\"C:\\Program Files\\Tessaly\\maths.exe\""},
        {u"maths.exe", u"\"maths.exe\""},
        {u"", std::nullopt},
        {u"C:\\a\" -delete \"b.exe", std::nullopt},
        {u"C:\\a.exe\0 -x"s, std::nullopt},
    };
    for (const auto& [path, line] : lines) {
        EXPECT_EQ(QuotedCommandLine(path), line) << ToUtf8(path);
    }
    // The show command of each window style of the launcher's, -1 to 7; none for the styles it has not.
    const std::optional<int> shows[] = {std::nullopt,     SW_HIDE,           SW_SHOWNORMAL, SW_SHOWMINIMIZED,
                                        SW_SHOWMAXIMIZED, SW_SHOWNOACTIVATE, std::nullopt,  SW_SHOWMINNOACTIVE,
                                        std::nullopt};
    for (int style = -1; style <= 7; ++style) {
        EXPECT_EQ(ShowCommandForStyle(style), shows[style + 1]) << style;
    }
}

TEST(Win32System, AppVersionIsTheExecutablesFileVersion) {
    // The version library reads the same resource independently.
    const std::wstring path = ModulePath().wstring();
    DWORD ignored = 0;
    std::string data(GetFileVersionInfoSizeW(path.c_str(), &ignored), '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    const Version version = Win32System(u"Z:\\w32sys-version").AppVersion();
    EXPECT_EQ((std::array{version.major, version.minor, version.revision}),
              (std::array<int, 3>{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                                  LOWORD(fixed->dwFileVersionLS)}));

    // The same block spoilt is refused: signature, key, a length beyond the block, cut short, nothing.
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    const std::string block(static_cast<const char*>(LockResource(LoadResource(nullptr, found))),
                            SizeofResource(nullptr, found));
    ASSERT_TRUE(ParseVersionResource(block));
    std::string spoilt[] = {block, block, block, block.substr(0, 60), ""};
    spoilt[0][40] = 'x';
    spoilt[1][8] = 'W';
    spoilt[2][0] = spoilt[2][1] = '\x7F';
    for (const std::string& bad : spoilt) {
        EXPECT_FALSE(ParseVersionResource(bad)) << bad.size();
    }
}

// ---- the system ----

TEST(Win32System, OneInstancePerFolderWhateverTheCaseOfItsNameWhileTheFirstLives) {
    const Text name = InstanceMutexName(u"C:\\Tessaly\\Launcher");
    EXPECT_TRUE(name.starts_with(u"Local\\TessalyCollectionLauncher-")) << ToUtf8(name);
    EXPECT_EQ(name.find(u'\\', 6), Text::npos) << "only the namespace holds a backslash";
    EXPECT_EQ(InstanceMutexName(u"c:\\TESSALY\\launcher"), name);
    for (const char16_t* other : {u"C:\\Tessaly\\Launcher2", u"D:\\Tessaly\\Launcher", u""}) {
        EXPECT_NE(InstanceMutexName(other), name) << ToUtf8(other);
    }
    const Text folder = u"Z:\\w32sys-instance-" + DecimalText(GetCurrentProcessId()) + u"-" +
                        DecimalText(static_cast<long long>(GetTickCount64()));
    {
        Win32System first(folder);
        EXPECT_FALSE(first.AnotherInstanceRunning());
        EXPECT_FALSE(first.AnotherInstanceRunning()) << "the first instance asks again and must still run";
        EXPECT_TRUE(Win32System(folder).AnotherInstanceRunning());
        EXPECT_FALSE(Win32System(folder + u"-other").AnotherInstanceRunning());
    }
    EXPECT_FALSE(Win32System(folder).AnotherInstanceRunning()) << "the mutex goes with the instance that held it";
}

TEST(Win32System, TextIsMeasuredInPointsAtTheScreensResolution) {
    // Dots per inch, a font size in points, and its height in pixels.
    const std::tuple<int, double, int> cases[] = {
        {96, 14.25, 19},  {96, 36, 48},    {96, 8.25, 11}, {96, 9.75, 13},
        {144, 14.25, 29}, {144, 8.25, 17}, {96, 0, 1},     {96, -3, 1}, // no font is smaller than one pixel
    };
    for (const auto& [dpi, points, pixels] : cases) {
        EXPECT_EQ(GdiFonts::PixelHeight(Font{u"Arial", points, false}, DisplayScale(dpi)), pixels)
            << dpi << ", " << points;
    }
    // Made at the device size, measured in design pixels: as wide at 144 dpi as at 96, within rounding.
    const auto width = [](int dpi) {
        return GdiFonts().Measure(Font{}, u"Rainforest Rescue", DisplayScale(dpi)).width;
    };
    EXPECT_NEAR(width(144), width(96), 3);
    // A dialog centred on a 1366 x 768 screen whose work area ends at 728 above a task bar: moved up onto the
    // work area when it fits, its top-left at the work area's when it does not.
    const PixelRect screen{0, 0, 1366, 768}, work{0, 0, 1366, 728};
    EXPECT_EQ(PlaceDialog(400, 500, screen, work), (PixelRect{483, 134, 883, 634}));
    EXPECT_EQ(PlaceDialog(400, 740, screen, work), (PixelRect{483, 0, 883, 740}));
    EXPECT_EQ(PlaceDialog(400, 720, screen, PixelRect{0, 40, 1366, 768}), (PixelRect{483, 40, 883, 760}));

    Win32System system(u"Z:\\w32sys-measure");
    const Font regular{u"Arial", 14.25, false};
    const TextSize one = system.MeasureText(regular, u"Clock Tower");
    EXPECT_GT(one.width, 40);
    EXPECT_NEAR(system.MeasureText(regular, u"Clock TowerClock Tower").width, 2 * one.width, 2);
    EXPECT_GT(system.MeasureText(Font{u"Arial", 14.25, true}, u"Clock Tower").width, one.width) << "bold";
    EXPECT_NEAR(system.MeasureText(Font{u"Arial", 28.5, false}, u"Clock Tower").width, 2 * one.width, 0.1 * one.width);
    EXPECT_GE(one.height, 19) << "a line of a 19-pixel font is a little higher than the font";
    EXPECT_LE(one.height, 26);
    // An empty caption is a line high and takes no width, as a self-sizing label needs.
    const TextSize empty = system.MeasureText(regular, u"");
    EXPECT_EQ((std::array{empty.width, empty.height}), (std::array{0.0, one.height}));
}

TEST(Win32System, FileIconIsTheFirstIconWithItsTransparency) {
    Win32System system(u"Z:\\w32sys-icon");
    const std::optional<Bitmap> icon = system.FileIcon(FromWide(ModulePath().wstring()), 0);
    ASSERT_TRUE(icon) << "the launcher's own icon, through the shell library loaded for it";
    ASSERT_EQ((std::array{icon->width, icon->height}), (std::array{32, 32}));
    // launcher.ico: a rounded square, clear in its corners, opaque inside, its edge partly covered.
    EXPECT_EQ((std::array{icon->At(0, 0) >> 24, icon->At(16, 16) >> 24}), (std::array{0u, 0xFFu}));
    EXPECT_GT(std::ranges::count_if(icon->pixels, [](std::uint32_t p) { return p >> 24 == 0xFF; }), 600) << "opaque";
    EXPECT_GT(std::ranges::count_if(icon->pixels, [](std::uint32_t p) { return p >> 24 > 0 && p >> 24 < 0xFF; }), 0)
        << "partly covered";
    EXPECT_FALSE(icon->detail) << "at 96 dpi the 32 x 32 pixels are the icon as shown";
    // At 150% the system's 48 x 48 rendering comes with it, clear corner and all.
    const Picture detail = Win32System(u"Z:\\w32sys-icon", 144).FileIcon(FromWide(ModulePath().wstring()), 0)->detail;
    ASSERT_TRUE(detail);
    const Bitmap& sharp = *detail;
    EXPECT_EQ((std::tuple{sharp.width, sharp.At(0, 0) >> 24, sharp.At(24, 24) >> 24}), (std::tuple{48, 0u, 0xFFu}));

    TempFolder temp;
    const fs::path text = temp.path / L"notes.txt";
    std::ofstream(text) << "not a program";
    const Text module = FromWide(ModulePath().wstring());
    // Files and icon indexes that give no icon.
    const std::pair<Text, int> none[] = {
        {FromWide(text.wstring()), 0},
        {FromWide((temp.path / L"missing.exe").wstring()), 0},
        {FromWide((ModulePath().parent_path() / L"win32_started_program.exe").wstring()), 0}, // no icon resource
        {module, 1}, // the launcher has one icon
        {module, -1},
        {u"", 0},
        {module + u"\0x"s, 0},
        {u"http://www.example.com/", 0},
    };
    for (const auto& [file, index] : none) {
        EXPECT_FALSE(system.FileIcon(file, index)) << ToUtf8(file) << " #" << index;
    }
}

// The text a started program left in its folder, once it has written it; empty after 15 seconds.
std::wstring WaitForReport(const fs::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() >= 4 && bytes.substr(bytes.size() - 4) == std::string("\r\0\n\0", 4)) {
            return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
}

TEST(Win32System, CurrentDriveAndFolderChangeOnlyForRealOnesAndProgramsStartInTheCurrentFolder) {
    TempFolder temp;
    Win32System system(u"Z:\\w32sys-folder");
    ASSERT_TRUE(system.SetCurrentFolder(temp.text()));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path));
    for (const Text& folder : {temp.text() + u"\\missing", Text(), temp.text() + u"\0\\x"s}) {
        EXPECT_FALSE(system.SetCurrentFolder(folder)) << ToUtf8(folder);
        EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path)) << "a failed change leaves the folder";
    }
    // The drive letter alone goes to that drive's own current folder.
    EXPECT_TRUE(system.SetCurrentDrive(temp.text().substr(0, 2)));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path)) << "same drive: its current folder stays";
    for (const char16_t* notDrive : {u"C", u"C:\\", u"1:", u"::", u"", u"\\\\"}) {
        EXPECT_FALSE(system.SetCurrentDrive(notDrive)) << ToUtf8(notDrive);
    }

    // Blanks in the folder and in the name: the path is quoted and passed as the application name. The
    // current folder is not the program's: which folder a program starts in is its caller's choice.
    const fs::path folder = temp.path / L"Tessaly Maths";
    ASSERT_TRUE(fs::create_directory(folder));
    const fs::path program = folder / L"maths game.exe";
    fs::copy_file(ModulePath().parent_path() / L"win32_started_program.exe", program);
    ASSERT_TRUE(system.StartExecutable(FromWide(program.wstring()), kNormalFocus));
    const std::wstring report = WaitForReport(temp.path / L"started.txt");
    ASSERT_FALSE(report.empty()) << "the program did not start in the current folder";
    const std::size_t lineEnd = report.find(L"\r\n");
    ASSERT_NE(lineEnd, std::wstring::npos);
    EXPECT_TRUE(fs::equivalent(fs::path(report.substr(0, lineEnd)), temp.path));
    EXPECT_EQ(report.substr(lineEnd + 2), L"\"" + program.wstring() + L"\"\r\n");

    for (const Text& path : {FromWide((folder / L"missing.exe").wstring()), Text(), Text(u"C:\\a\"b.exe")}) {
        EXPECT_FALSE(system.StartExecutable(path, kNormalFocus)) << ToUtf8(path);
    }
    EXPECT_FALSE(system.StartExecutable(FromWide(program.wstring()), 5)) << "no such window style";
}

TEST(Win32System, ShellOpenHandsWebAddressesToTheShell) {
    Win32System system(u"Z:\\w32sys-shell");
    // Wine has no browser to show it, yet the shell takes the address (loaded for it at this first use).
    EXPECT_TRUE(system.ShellOpen(u"http://www.example.com/", kShowMaximised));
    EXPECT_FALSE(system.ShellOpen(u"", kShowMaximised));
    EXPECT_FALSE(system.ShellOpen(u"Z:\\w32sys-shell\\missing.txt", kShowMaximised)) << "the shell's refusal";
    EXPECT_FALSE(system.ShellOpen(u"www.example.com\0.exe"s, kShowMaximised));
}

// The shell's COM apartment is left with the system that joined it: while the thread is in a single-threaded
// apartment a multi-threaded join is refused, and once it has left such a join is the thread's first.
TEST(Win32System, TheShellsComApartmentIsLeftWithTheSystem) {
    SystemLibrary ole32{L"ole32.dll"};
    const auto join = ole32.Find<HRESULT WINAPI(void*, DWORD)>("CoInitializeEx");
    const auto leave = ole32.Find<void WINAPI()>("CoUninitialize");
    ASSERT_TRUE(join != nullptr && leave != nullptr);
    const auto joinMultiThreaded = [&] {
        const HRESULT result = join(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(result)) {
            leave();
        }
        return result;
    };
    {
        Win32System system(u"Z:\\w32sys-com");
        EXPECT_TRUE(system.ShellOpen(u"http://www.example.com/", kShowMaximised));
        EXPECT_EQ(joinMultiThreaded(), RPC_E_CHANGED_MODE) << "joined for the shell";
    }
    EXPECT_EQ(joinMultiThreaded(), S_OK) << "left with the system";
}

// The libraries a program imports, by the names in its import table (lower case), each with the functions
// taken from it.
std::map<std::string, std::set<std::string>> Imports(const fs::path& program) {
    std::map<std::string, std::set<std::string>> imports;
    HMODULE image = LoadLibraryExW(program.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (image == nullptr) {
        return imports;
    }
    const auto* base = reinterpret_cast<const char*>(image);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + table.VirtualAddress);
         table.VirtualAddress != 0 && entry->Name != 0; ++entry) {
        std::string name(base + entry->Name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        auto& functions = imports[name];
        for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
             thunk->u1.AddressOfData != 0; ++thunk) {
            if (!IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) {
                functions.insert(reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name);
            }
        }
    }
    FreeLibrary(image);
    return imports;
}

TEST(Win32System, LauncherImportsOnlyWhatEveryStartNeeds) {
    const auto imports = Imports(ModulePath().parent_path() / L"launcher.exe");
    const auto libraries = std::views::keys(imports);
    // The common controls, the shell, the common dialogs and COM are loaded when first needed.
    EXPECT_EQ((std::set<std::string>(libraries.begin(), libraries.end())),
              (std::set<std::string>{"gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"}));
    // A Windows without SetDefaultDllDirectories, or without GetDpiForWindow (before Windows 10 1607), still
    // starts: they are looked up at run time.
    EXPECT_EQ(imports.at("kernel32.dll").count("SetDefaultDllDirectories"), 0u);
    EXPECT_EQ(imports.at("user32.dll").count("GetDpiForWindow"), 0u);
}

} // namespace
} // namespace platform
