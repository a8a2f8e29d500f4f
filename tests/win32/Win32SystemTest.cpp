// Tests of the Win32 system that need no display: the single-instance mutex, the version resource, text
// measuring, program icons, the current folder, starting programs, and the pure helpers behind them. This
// test program carries the launcher's own resources (launcher.rc), so its icon and version are the
// launcher's.
#include "platform/win32/Win32System.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

Text FromWide(const std::wstring& text) {
    return Text(text.begin(), text.end());
}

std::wstring ModulePath() {
    wchar_t path[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::wstring(path, length);
}

// A fresh folder under the temporary folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() {
        const fs::path base = fs::temp_directory_path();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const fs::path candidate = base / (L"w32sys-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                               std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt));
            std::error_code error;
            if (fs::create_directory(candidate, error)) {
                path_ = candidate;
            }
        }
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }
    Text text() const { return FromWide(path_.wstring()); }

private:
    fs::path path_;
};

// Puts the current folder back as it was when the test ends.
class KeepCurrentFolder {
public:
    KeepCurrentFolder() : saved_(fs::current_path()) {}
    ~KeepCurrentFolder() {
        std::error_code error;
        fs::current_path(saved_, error);
    }
    KeepCurrentFolder(const KeepCurrentFolder&) = delete;
    KeepCurrentFolder& operator=(const KeepCurrentFolder&) = delete;

private:
    fs::path saved_;
};

// ---- pure helpers ----

TEST(Win32SystemHelpers, InstanceMutexNameIsPerFolderAndIgnoresCase) {
    const Text name = InstanceMutexName(u"C:\\Tessaly\\Launcher");
    EXPECT_TRUE(name.starts_with(u"Local\\TessalyCollectionLauncher-")) << ToUtf8(name);
    // Only the namespace may hold a backslash; the rest of the name is the hash in hexadecimal.
    EXPECT_EQ(name.find(u'\\', 6), Text::npos) << ToUtf8(name);
    EXPECT_EQ(name.size(), std::u16string_view(u"Local\\TessalyCollectionLauncher-").size() + 16);

    EXPECT_EQ(InstanceMutexName(u"c:\\TESSALY\\launcher"), name);
    EXPECT_NE(InstanceMutexName(u"C:\\Tessaly\\Launcher2"), name);
    EXPECT_NE(InstanceMutexName(u"D:\\Tessaly\\Launcher"), name);
    EXPECT_NE(InstanceMutexName(u""), name);
}

TEST(Win32SystemHelpers, FileDialogFilterEndsEachPieceAndTheListWithNul) {
    const struct {
        Text filter;
        Text list;
    } cases[] = {
        {u"Programs|*.exe", u"Programs\0*.exe\0\0"s},
        {u"Programs|*.exe|All files|*.*", u"Programs\0*.exe\0All files\0*.*\0\0"s},
        {u"Programs|*.exe|Orphan", u"Programs\0*.exe\0\0"s}, // a description without its pattern is dropped
        {u"Programs", u""},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileDialogFilter(c.filter), c.list) << ToUtf8(c.filter);
    }
}

TEST(Win32SystemHelpers, CommandLineQuotesThePathAndRefusesWhatCannotBeAFileName) {
    EXPECT_EQ(QuotedCommandLine(u"C:\\Program Files\\Tessaly\\Maths\\maths.exe"),
              Text(u"\"C:\\Program Files\\Tessaly\\Maths\\maths.exe\""));
    EXPECT_EQ(QuotedCommandLine(u"maths.exe"), Text(u"\"maths.exe\""));
    EXPECT_FALSE(QuotedCommandLine(u""));
    // A quote would end the quoted path early and turn the rest into arguments.
    EXPECT_FALSE(QuotedCommandLine(u"C:\\a\" -delete \"b.exe"));
    EXPECT_FALSE(QuotedCommandLine(u"C:\\a.exe\0 -x"s));
}

TEST(Win32SystemHelpers, ProgramFolderKeepsTheLastBackslash) {
    const struct {
        const char16_t* path;
        const char16_t* folder;
    } cases[] = {
        {u"C:\\Games\\Maths\\maths.exe", u"C:\\Games\\Maths\\"},
        {u"C:\\maths.exe", u"C:\\"}, // the root, not the drive's current folder that "C:" would mean
        {u"\\\\server\\share\\maths.exe", u"\\\\server\\share\\"},
        {u"maths.exe", u""},
        {u"C:\\Games\\", u"C:\\Games\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ProgramFolder(c.path), c.folder) << ToUtf8(c.path);
    }
}

TEST(Win32SystemHelpers, WindowStylesMapToShowCommands) {
    const struct {
        int style;
        std::optional<int> show;
    } cases[] = {
        {0, SW_HIDE},          {1, SW_SHOWNORMAL},     {2, SW_SHOWMINIMIZED},
        {3, SW_SHOWMAXIMIZED}, {4, SW_SHOWNOACTIVATE}, {6, SW_SHOWMINNOACTIVE},
        {5, std::nullopt},     {-1, std::nullopt},     {7, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShowCommandForStyle(c.style), c.show) << c.style;
    }
}

// A version resource as the resource compiler lays it out, with no string tables.
std::string VersionBlock(std::uint32_t high, std::uint32_t low) {
    std::string block;
    const auto word = [&block](std::uint16_t v) { block.append(reinterpret_cast<const char*>(&v), 2); };
    const auto dword = [&block](std::uint32_t v) { block.append(reinterpret_cast<const char*>(&v), 4); };
    word(0); // the length, filled in below
    word(52);
    word(0);
    for (const char16_t c : u"VS_VERSION_INFO") { // with its NUL
        word(static_cast<std::uint16_t>(c));
    }
    word(0); // padding to 32 bits
    dword(0xFEEF04BD);
    dword(0x00010000);
    dword(high);
    dword(low);
    for (int i = 0; i < 9; ++i) {
        dword(0);
    }
    const auto length = static_cast<std::uint16_t>(block.size());
    block.replace(0, 2, reinterpret_cast<const char*>(&length), 2);
    return block;
}

TEST(Win32SystemHelpers, VersionResourceGivesMajorMinorAndRevision) {
    const std::optional<Version> version = ParseVersionResource(VersionBlock(0x00020003, 0x00040157));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->major, 2);
    EXPECT_EQ(version->minor, 3);
    EXPECT_EQ(version->revision, 0x157); // the fourth field; the third (build, 4) is not shown

    std::string badSignature = VersionBlock(0x00010000, 1);
    badSignature[40] = 'x';
    std::string badKey = VersionBlock(0x00010000, 1);
    badKey[8] = 'W';
    std::string badLength = VersionBlock(0x00010000, 1);
    badLength[0] = 10;
    badLength[1] = 0;
    const std::string cases[] = {badSignature, badKey, badLength, VersionBlock(1, 1).substr(0, 60), ""};
    for (const std::string& block : cases) {
        EXPECT_FALSE(ParseVersionResource(block)) << block.size();
    }
}

// ---- the system ----

TEST(Win32System, OneInstancePerFolderWhileTheFirstLives) {
    const Text folder = u"Z:\\w32sys-instance-" + DecimalText(GetCurrentProcessId()) + u"-" +
                        DecimalText(static_cast<long long>(GetTickCount64()));
    {
        Win32System first(folder);
        EXPECT_FALSE(first.AnotherInstanceRunning());
        EXPECT_FALSE(first.AnotherInstanceRunning()) << "the first instance asks again and must still run";
        Win32System second(folder);
        EXPECT_TRUE(second.AnotherInstanceRunning());
        Win32System elsewhere(folder + u"-other");
        EXPECT_FALSE(elsewhere.AnotherInstanceRunning());
        // The mutex of the first is held, and not inheritable by programs it starts.
        const Text mutexName = InstanceMutexName(folder);
        const std::wstring name(mutexName.begin(), mutexName.end());
        HANDLE probe = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
        ASSERT_NE(probe, nullptr);
        CloseHandle(probe);
    }
    Win32System after(folder);
    EXPECT_FALSE(after.AnotherInstanceRunning()) << "the mutex goes with the instance that held it";
}

TEST(Win32System, AppVersionIsTheExecutablesFileVersion) {
    // The version library reads the same resource independently.
    const std::wstring path = ModulePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::string data(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));

    Win32System system(u"Z:\\w32sys-version");
    const Version version = system.AppVersion();
    EXPECT_EQ(version.major, static_cast<int>(HIWORD(fixed->dwFileVersionMS)));
    EXPECT_EQ(version.minor, static_cast<int>(LOWORD(fixed->dwFileVersionMS)));
    EXPECT_EQ(version.revision, static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
    EXPECT_GE(version.major, 1);
}

TEST(Win32System, FontsAreSizedInPointsAtTheScreensResolution) {
    const struct {
        int dpi;
        double points;
        int pixels;
    } cases[] = {
        {96, 14.25, 19},  {96, 36, 48},    {96, 8.25, 11}, {96, 9.75, 13},
        {144, 14.25, 29}, {144, 8.25, 17}, {96, 0, 1},     {96, -3, 1}, // no font is smaller than one pixel
    };
    for (const auto& c : cases) {
        const GdiFonts fonts(c.dpi);
        EXPECT_EQ(fonts.PixelHeight(Font{u"Arial", c.points, false}), c.pixels) << c.dpi << " dpi, " << c.points;
    }
}

TEST(Win32System, MeasureTextFollowsTextSizeAndWeight) {
    Win32System system(u"Z:\\w32sys-measure");
    const Font regular{u"Arial", 14.25, false};
    const Font bold{u"Arial", 14.25, true};
    const Font large{u"Arial", 28.5, false};

    const TextSize one = system.MeasureText(regular, u"Clock Tower");
    const TextSize two = system.MeasureText(regular, u"Clock TowerClock Tower");
    EXPECT_GT(one.width, 40);
    EXPECT_NEAR(two.width, 2 * one.width, 2);
    EXPECT_GT(system.MeasureText(bold, u"Clock Tower").width, one.width);
    EXPECT_NEAR(system.MeasureText(large, u"Clock Tower").width, 2 * one.width, 0.1 * one.width);
    // A line of a 19-pixel font is a little higher than the font.
    EXPECT_GE(one.height, 19);
    EXPECT_LE(one.height, 26);
    // An empty caption is a line high and takes no width, as a self-sizing label needs.
    const TextSize empty = system.MeasureText(regular, u"");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, one.height);
}

// The 32 x 32 image of an icon file, as 0xAARRGGBB top-down rows.
std::optional<Bitmap> IconFileImage(const fs::path& path, int size) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto word = [&bytes](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
               static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    const auto dword = [&](std::size_t at) { return word(at) | word(at + 2) << 16; };
    if (bytes.size() < 6) {
        return std::nullopt;
    }
    for (unsigned i = 0; i < word(4); ++i) {
        const std::size_t entry = 6 + 16 * i;
        if (static_cast<unsigned char>(bytes[entry]) != size) {
            continue;
        }
        const std::size_t pixels = dword(entry + 12) + 40;
        Bitmap image(size, size, Rgb{});
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                image.Set(x, y, dword(pixels + static_cast<std::size_t>(((size - 1 - y) * size + x) * 4)));
            }
        }
        return image;
    }
    return std::nullopt;
}

TEST(Win32System, FileIconIsTheFirstIconWithItsTransparency) {
    Win32System system(u"Z:\\w32sys-icon");
    const std::optional<Bitmap> icon = system.FileIcon(FromWide(ModulePath()), 0);
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->width, 32);
    ASSERT_EQ(icon->height, 32);

    const std::optional<Bitmap> drawn =
        IconFileImage(fs::path(LAUNCHER_SOURCE_DIR) / "src" / "platform" / "win32" / "launcher.ico", 32);
    ASSERT_TRUE(drawn) << "the 32-pixel image of launcher.ico";
    int compared = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t want = drawn->At(x, y);
            const std::uint32_t got = icon->At(x, y);
            const int wantAlpha = static_cast<int>(want >> 24);
            ASSERT_NEAR(static_cast<int>(got >> 24), wantAlpha, 3) << x << "," << y;
            if (wantAlpha >= 128) {
                // Colours are exact up to the rounding of the two drawings they are worked out from.
                for (int shift = 0; shift <= 16; shift += 8) {
                    ASSERT_NEAR(static_cast<int>((got >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 4)
                        << x << "," << y;
                }
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 600);
    EXPECT_EQ(icon->At(0, 0) >> 24, 0u) << "the rounded corner is clear";
}

TEST(Win32System, FileIconGivesNothingWithoutAnIcon) {
    Win32System system(u"Z:\\w32sys-noicon");
    TempFolder temp;
    const fs::path text = temp.path() / L"notes.txt";
    std::ofstream(text) << "not a program";
    const Text module = FromWide(ModulePath());
    const Text started = FromWide((fs::path(ModulePath()).parent_path() / L"win32_started_program.exe").wstring());
    const struct {
        Text file;
        int index;
    } cases[] = {
        {FromWide(text.wstring()), 0},
        {FromWide((temp.path() / L"missing.exe").wstring()), 0},
        {started, 0}, // an executable without an icon resource
        {module, 1},  // the launcher has one icon
        {module, -1},
        {u"", 0},
        {module + u"\0x"s, 0},
        {u"http://www.example.com/", 0},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(system.FileIcon(c.file, c.index)) << ToUtf8(c.file) << " #" << c.index;
    }
}

TEST(Win32System, CurrentDriveAndFolderChangeOnlyForRealOnes) {
    KeepCurrentFolder keep;
    TempFolder temp;
    Win32System system(u"Z:\\w32sys-folder");

    ASSERT_TRUE(system.SetCurrentFolder(temp.text()));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path()));

    const Text missing = temp.text() + u"\\missing";
    const Text rejected[] = {missing, u"", temp.text() + u"\0\\x"s};
    for (const Text& folder : rejected) {
        EXPECT_FALSE(system.SetCurrentFolder(folder)) << ToUtf8(folder);
        EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path())) << "a failed change leaves the folder";
    }

    // The drive letter alone goes to that drive's own current folder.
    const Text drive = temp.text().substr(0, 2);
    EXPECT_TRUE(system.SetCurrentDrive(drive));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), temp.path())) << "same drive: its current folder stays";
    const Text notDrives[] = {u"C", u"C:\\", u"1:", u"::", u"", u"\\\\"};
    for (const Text& notDrive : notDrives) {
        EXPECT_FALSE(system.SetCurrentDrive(notDrive)) << ToUtf8(notDrive);
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

TEST(Win32System, StartExecutableStartsTheProgramInItsOwnFolder) {
    KeepCurrentFolder keep;
    TempFolder temp;
    // Blanks in the folder and in the name: the path is quoted and passed as the application name.
    const fs::path folder = temp.path() / L"Tessaly Maths";
    ASSERT_TRUE(fs::create_directory(folder));
    const fs::path program = folder / L"maths game.exe";
    fs::copy_file(fs::path(ModulePath()).parent_path() / L"win32_started_program.exe", program);

    Win32System system(u"Z:\\w32sys-start");
    ASSERT_TRUE(system.SetCurrentFolder(temp.text())); // not the program's folder
    ASSERT_TRUE(system.StartExecutable(FromWide(program.wstring()), kNormalFocus));
    const std::wstring report = WaitForReport(folder / L"started.txt");
    ASSERT_FALSE(report.empty()) << "the program did not start in its own folder";
    const std::size_t lineEnd = report.find(L"\r\n");
    ASSERT_NE(lineEnd, std::wstring::npos);
    EXPECT_TRUE(fs::equivalent(fs::path(report.substr(0, lineEnd)), folder));
    EXPECT_EQ(report.substr(lineEnd + 2), L"\"" + program.wstring() + L"\"\r\n");

    const Text refused[] = {FromWide((folder / L"missing.exe").wstring()), u"", u"C:\\a\"b.exe"};
    for (const Text& path : refused) {
        EXPECT_FALSE(system.StartExecutable(path, kNormalFocus)) << ToUtf8(path);
    }
    EXPECT_FALSE(system.StartExecutable(FromWide(program.wstring()), 5)) << "no such window style";
}

TEST(Win32System, ShellOpenRefusesWhatNamesNothing) {
    Win32System system(u"Z:\\w32sys-shell");
    EXPECT_FALSE(system.ShellOpen(u"", kShowMaximised));
    EXPECT_FALSE(system.ShellOpen(u"www.example.com\0.exe"s, kShowMaximised));
}

TEST(Win32System, WindowWithoutHostReadsAsDesignedAndRefusesGeometry) {
    Win32System system(u"Z:\\w32sys-nowindow");
    EXPECT_EQ(system.GetWindowState(), WindowState::Maximised);
    system.SetWindowState(WindowState::Normal);
    EXPECT_EQ(system.GetWindowState(), WindowState::Normal) << "kept for the first showing";
    EXPECT_EQ(system.WindowWidth(), 0);
    EXPECT_EQ(system.ScaleWidth(), 0);
    EXPECT_FALSE(system.SetWindowLeft(150));
    EXPECT_FALSE(system.SetWindowWidth(1500));
    system.ShowWindow(); // nothing to show: no effect, no crash
}

} // namespace
} // namespace platform
