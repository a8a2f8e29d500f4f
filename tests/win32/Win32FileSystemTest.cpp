// Tests of the Win32 file system against the real disk, in a fresh folder under the temporary folder.
// Files are created and checked with the standard library, so that the backend is not its own witness.
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

fs::path FsPath(TextView path) {
    return fs::path(std::wstring(path.begin(), path.end()));
}

void PutFile(TextView path, std::string_view bytes) {
    std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << ToUtf8(path);
}

std::optional<std::string> FileBytes(TextView path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void SetReadOnly(TextView path, bool on) {
    const std::wstring wide(path.begin(), path.end());
    ASSERT_NE(SetFileAttributesW(wide.c_str(), on ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL), 0);
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        ASSERT_GT(length, 0u);
        ASSERT_LE(length, static_cast<DWORD>(MAX_PATH));
        for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
            const std::wstring name = std::wstring(temp, length) + L"w32fs-" + std::to_wstring(GetCurrentProcessId()) +
                                      L"-" + std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
            if (CreateDirectoryW(name.c_str(), nullptr) != 0) {
                folder_ = Text(name.begin(), name.end());
            }
        }
        ASSERT_FALSE(folder_.empty()) << "no temporary folder";
    }

    void TearDown() override {
        if (folder_.empty()) {
            return;
        }
        // Read-only files left by a test would stop the removal.
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(FsPath(folder_), error)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(FsPath(folder_), error);
        EXPECT_FALSE(error) << error.message();
    }

    Text In(TextView name) const { return folder_ + u"\\" + Text(name); }

    Win32FileSystem files_;
    Text folder_;
};

TEST_F(Win32FileSystemTest, LookupFileFindsFilesAsWindowsNamesThem) {
    PutFile(In(u"Report.TXT"), "r");
    ASSERT_TRUE(fs::create_directory(FsPath(In(u"Sub"))));
    PutFile(In(u"Sub\\inner.dat"), "i");

    const struct {
        Text path; // inside the test folder
        LookupStatus status;
        const char16_t* name;
    } cases[] = {
        {u"Report.TXT", LookupStatus::Found, u"Report.TXT"},
        {u"report.txt", LookupStatus::Found, u"Report.TXT"}, // the name comes back as stored
        {u"REPORT.txt   ", LookupStatus::Found, u"Report.TXT"},
        {u"Sub\\inner.dat", LookupStatus::Found, u"inner.dat"},
        {u"SUB\\INNER.DAT ", LookupStatus::Found, u"inner.dat"},
        {u"nothere.txt", LookupStatus::Absent, u""},
        {u"Missing\\inner.dat", LookupStatus::Absent, u""}, // a folder on the way is missing
        {u"Report.TXT\\x", LookupStatus::Absent, u""},      // a file used as a folder
        {u"Sub", LookupStatus::Absent, u""},                // folders are not files
        {u"Sub  ", LookupStatus::Absent, u""},
        {u"Sub\\", LookupStatus::Absent, u""},
        // Wildcards never match, although each of these would find Report.TXT as a pattern.
        {u"Report.TX?", LookupStatus::Absent, u""},
        {u"*.txt", LookupStatus::Absent, u""},
        {u"Rep*", LookupStatus::Absent, u""},
        {u"Report.TX>", LookupStatus::Absent, u""},
        {u"Report<", LookupStatus::Absent, u""},
        {u"Report.TXT\"", LookupStatus::Absent, u""},
        // The wide API would stop at the NUL and find Report.TXT.
        {u"Report.TXT\0.bak"s, LookupStatus::Absent, u""},
    };
    for (const auto& c : cases) {
        const FileLookup lookup = files_.LookupFile(In(c.path));
        EXPECT_EQ(lookup.status, c.status) << ToUtf8(c.path);
        EXPECT_EQ(lookup.name, c.name) << ToUtf8(c.path);
    }
    EXPECT_EQ(files_.LookupFile(u"").status, LookupStatus::Absent);
    EXPECT_EQ(files_.LookupFile(u"   ").status, LookupStatus::Absent);
}

TEST_F(Win32FileSystemTest, LookupOnAMissingDriveFindsNothing) {
    const DWORD drives = GetLogicalDrives();
    wchar_t letter = 0;
    for (wchar_t candidate = L'Y'; candidate >= L'D' && letter == 0; --candidate) {
        if ((drives & (1u << (candidate - L'A'))) == 0) {
            letter = candidate;
        }
    }
    ASSERT_NE(letter, 0) << "every drive letter is in use";
    const Text path = Text(1, static_cast<char16_t>(letter)) + u":\\Programs\\maths.exe";
    // Measured under Wine 8: FindFirstFileExW on an unassigned drive letter fails with ERROR_PATH_NOT_FOUND
    // (not ERROR_INVALID_DRIVE), so the lookup reports the file as absent rather than failed.
    EXPECT_EQ(files_.LookupFile(path).status, LookupStatus::Absent) << ToUtf8(path);
    EXPECT_FALSE(files_.ReadFileBytes(path).has_value());
    EXPECT_FALSE(files_.WriteFileBytes(path, "x"));
}

TEST_F(Win32FileSystemTest, FileCallsLeaveTheThreadErrorModeAsItWas) {
    // A mode without SEM_FAILCRITICALERRORS, so that a guard that leaks its setting shows.
    DWORD original = 0;
    ASSERT_NE(SetThreadErrorMode(SEM_NOOPENFILEERRORBOX, &original), 0);
    static_cast<void>(files_.LookupFile(u"Q:\\nothing.exe"));
    static_cast<void>(files_.LookupFile(In(u"nothing.exe")));
    static_cast<void>(files_.ReadFileBytes(In(u"nothing.exe")));
    static_cast<void>(files_.WriteFileBytes(In(u"written.txt"), "w"));
    static_cast<void>(files_.MoveFileOver(In(u"written.txt"), In(u"moved.txt")));
    static_cast<void>(files_.EraseFile(In(u"moved.txt")));
    EXPECT_EQ(GetThreadErrorMode(), static_cast<DWORD>(SEM_NOOPENFILEERRORBOX));
    SetThreadErrorMode(original, nullptr);
}

TEST_F(Win32FileSystemTest, WrittenBytesReadBackUnchanged) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"line endings, NUL and high bytes", "a\r\nb\rc\n\0d\xff\x80\x1a end"s},
        {"several read chunks",
         [] {
             std::string big(3 * (1 << 20) + 7, '\0');
             for (std::size_t i = 0; i < big.size(); ++i) {
                 big[i] = static_cast<char>(i * 31 + i / 4096);
             }
             return big;
         }()},
    };
    for (const auto& c : cases) {
        const Text path = In(u"round trip.bin");
        ASSERT_TRUE(files_.WriteFileBytes(path, c.bytes)) << c.what;
        EXPECT_EQ(FileBytes(path), c.bytes) << c.what;
        EXPECT_EQ(files_.ReadFileBytes(path), c.bytes) << c.what;
    }
}

TEST_F(Win32FileSystemTest, WriteReplacesALongerFile) {
    const Text path = In(u"progdata.xml");
    PutFile(path, "a much longer old content\r\n");
    ASSERT_TRUE(files_.WriteFileBytes(path, "new"));
    EXPECT_EQ(FileBytes(path), "new");
}

TEST_F(Win32FileSystemTest, WriteFailsWhereNoFileCanBeWritten) {
    const Text readOnly = In(u"locked.xml");
    PutFile(readOnly, "old");
    SetReadOnly(readOnly, true);
    EXPECT_FALSE(files_.WriteFileBytes(readOnly, "new"));
    EXPECT_EQ(FileBytes(readOnly), "old");

    EXPECT_FALSE(files_.WriteFileBytes(In(u"Missing\\new.xml"), "new"));
    EXPECT_FALSE(files_.WriteFileBytes(folder_, "new"));
    EXPECT_FALSE(files_.WriteFileBytes(u"", "new"));
    EXPECT_FALSE(files_.WriteFileBytes(In(u"new.xml\0.bak"s), "new"));
    EXPECT_FALSE(fs::exists(FsPath(In(u"new.xml"))));
}

TEST_F(Win32FileSystemTest, ReadSharesTheFileButNeedsAWholeFile) {
    const Text path = In(u"shared.txt");
    PutFile(path, "content");
    const std::wstring wide(path.begin(), path.end());

    // A program holding the file open for writing does not stop the launcher reading it.
    HANDLE writer = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(files_.ReadFileBytes(path), "content");
    CloseHandle(writer);

    // One holding it without sharing does.
    HANDLE exclusive =
        CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(files_.ReadFileBytes(path).has_value());
    CloseHandle(exclusive);

    EXPECT_FALSE(files_.ReadFileBytes(In(u"missing.txt")).has_value());
    EXPECT_FALSE(files_.ReadFileBytes(folder_).has_value());
    EXPECT_FALSE(files_.ReadFileBytes(u"").has_value());
}

TEST_F(Win32FileSystemTest, MoveFileOverReplacesTheTarget) {
    const Text source = In(u"progdata.tmp");
    const Text target = In(u"progdata.xml");
    PutFile(source, "new settings");
    PutFile(target, "old settings, longer");
    ASSERT_TRUE(files_.MoveFileOver(source, target));
    EXPECT_EQ(FileBytes(target), "new settings");
    EXPECT_FALSE(fs::exists(FsPath(source)));

    // A target that does not exist yet is simply created.
    const Text fresh = In(u"fresh.xml");
    PutFile(source, "first");
    ASSERT_TRUE(files_.MoveFileOver(source, fresh));
    EXPECT_EQ(FileBytes(fresh), "first");
    EXPECT_FALSE(fs::exists(FsPath(source)));

    // Nothing to move: the target stays.
    EXPECT_FALSE(files_.MoveFileOver(source, target));
    EXPECT_EQ(FileBytes(target), "new settings");
}

TEST_F(Win32FileSystemTest, MoveFileOverAReadOnlyTargetChangesNothing) {
    const Text source = In(u"progdata.tmp");
    const Text target = In(u"progdata.xml");
    PutFile(source, "new settings");
    PutFile(target, "old settings");
    SetReadOnly(target, true);
    EXPECT_FALSE(files_.MoveFileOver(source, target));
    EXPECT_EQ(FileBytes(source), "new settings");
    EXPECT_EQ(FileBytes(target), "old settings");
}

TEST_F(Win32FileSystemTest, EraseFileDeletesOnlyWhatItMay) {
    const Text path = In(u"progdata.tmp");
    PutFile(path, "x");
    EXPECT_TRUE(files_.EraseFile(path));
    EXPECT_FALSE(fs::exists(FsPath(path)));
    EXPECT_FALSE(files_.EraseFile(path));

    const Text readOnly = In(u"keep.xml");
    PutFile(readOnly, "keep");
    SetReadOnly(readOnly, true);
    EXPECT_FALSE(files_.EraseFile(readOnly));
    EXPECT_EQ(FileBytes(readOnly), "keep");
}

// The tests run with LC_ALL=C, which gives Wine the Windows-1252 code page.
TEST_F(Win32FileSystemTest, CodePageConversionsFollowWindows1252) {
    ASSERT_EQ(GetACP(), 1252u) << "run the tests with LC_ALL=C";
    const struct {
        Text text;
        std::string bytes;
    } cases[] = {
        {u"", ""},
        {u"Caf\u00e9 \u00bd", "Caf\xe9 \xbd"},
        {u"\u20ac \u201cquoted\u201d \u2013 \u0178", "\x80 \x93quoted\x94 \x96 \x9f"}, // the 0x80-0x9F block
        {u"line\r\nend\0x"s, "line\r\nend\0x"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files_.ToCodePage(c.text), c.bytes) << ToUtf8(c.text);
        EXPECT_EQ(files_.FromCodePage(c.bytes), c.text) << ToUtf8(c.text);
    }

    // Characters outside the code page become '?', never a look-alike.
    EXPECT_EQ(files_.ToCodePage(u"\u4e2d"), "?");
    EXPECT_EQ(files_.ToCodePage(u"a\u221eb\u0100c"), "a?b?c");
    EXPECT_EQ(files_.ToCodePage(u"x\U0001F600y"), "x?y"); // one character of two code units, one '?'

    // Every byte comes back as it was.
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i) {
        all[i] = static_cast<char>(i);
    }
    EXPECT_EQ(files_.ToCodePage(files_.FromCodePage(all)), all);
}

TEST(ModuleFolder, StripsTheFileNameAndKeepsDriveRoots) {
    const struct {
        const char16_t* path;
        const char16_t* folder;
    } cases[] = {
        {u"C:\\Launcher\\launcher.exe", u"C:\\Launcher"},
        {u"C:\\launcher.exe", u"C:\\"},
        {u"D:\\School Suite\\Launcher\\launcher.exe", u"D:\\School Suite\\Launcher"},
        {u"\\\\server\\share\\launcher.exe", u"\\\\server\\share"},
        {u"\\\\?\\C:\\launcher.exe", u"\\\\?\\C:\\"},
        {u"launcher.exe", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ModuleFolder(c.path), c.folder) << ToUtf8(c.path);
    }
}

TEST_F(Win32FileSystemTest, AppFolderHoldsTheRunningExecutable) {
    const Text folder = files_.AppFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_TRUE(fs::is_directory(FsPath(folder))) << ToUtf8(folder);
    const FileLookup self = files_.LookupFile(folder + u"\\win32_tests.exe");
    EXPECT_EQ(self.status, LookupStatus::Found) << ToUtf8(folder);
}

} // namespace
} // namespace platform
