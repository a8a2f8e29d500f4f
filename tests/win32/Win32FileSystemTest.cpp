// The file-system contract over the Win32 backend on the real disk, in a fresh folder under the temporary
// folder, and what only the real disk shows: sharing with other programs and the executable's own folder.
// Files are made and read with the standard library, so that the backend is not its own witness.
#include "platform/win32/Win32FileSystem.h"
#include "platform/FileSystemContract.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path FsPath(TextView path) {
    return fs::path(std::wstring(path.begin(), path.end()));
}

// Besides the scratch folder, every file call of a test runs in a thread error mode without
// SEM_FAILCRITICALERRORS, so that a call whose guard against drive dialogs leaks its setting shows.
struct Win32Disk {
    Win32Disk() {
        EXPECT_NE(SetThreadErrorMode(SEM_NOOPENFILEERRORBOX, &errorMode), 0);
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
        for (int attempt = 0; length > 0 && length <= MAX_PATH && attempt < 100 && folder.empty(); ++attempt) {
            const std::wstring name = std::wstring(temp, length) + L"w32fs-" + std::to_wstring(GetCurrentProcessId()) +
                                      L"-" + std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(attempt);
            if (CreateDirectoryW(name.c_str(), nullptr) != 0) {
                folder = Text(name.begin(), name.end());
            }
        }
    }
    ~Win32Disk() {
        EXPECT_EQ(GetThreadErrorMode(), static_cast<DWORD>(SEM_NOOPENFILEERRORBOX)) << "a file call changed it";
        SetThreadErrorMode(errorMode, nullptr);
        if (folder.empty()) {
            return;
        }
        std::error_code error; // read-only files would stop the removal
        for (const auto& entry : fs::recursive_directory_iterator(FsPath(folder), error)) {
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(FsPath(folder), error);
        EXPECT_FALSE(error) << error.message();
    }

    FileSystem& Files() { return files; }
    Text Folder() const { return folder; }
    // Measured under Wine 8: FindFirstFileExW on an unassigned drive letter fails with ERROR_PATH_NOT_FOUND
    // (not ERROR_INVALID_DRIVE), so a lookup there finds the file absent rather than failing.
    Text MissingDrive() const {
        const DWORD drives = GetLogicalDrives();
        for (char16_t letter = u'Y'; letter >= u'D'; --letter) {
            if ((drives & (1u << (letter - u'A'))) == 0) {
                return Text{letter, u':'};
            }
        }
        ADD_FAILURE() << "every drive letter is in use";
        return u"C:";
    }
    void PutFile(TextView path, std::string_view bytes) {
        std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(out.good()) << ToUtf8(path);
    }
    void PutFolder(TextView path) { EXPECT_TRUE(fs::create_directory(FsPath(path))) << ToUtf8(path); }
    void MakeReadOnly(TextView path) {
        EXPECT_NE(SetFileAttributesW(FsPath(path).c_str(), FILE_ATTRIBUTE_READONLY), 0) << ToUtf8(path);
    }
    std::optional<std::string> Bytes(TextView path) const {
        std::ifstream in(FsPath(path), std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::set<Text> Names() const {
        std::set<Text> names;
        for (const auto& entry : fs::directory_iterator(FsPath(folder))) {
            if (entry.is_regular_file()) {
                const std::wstring name = entry.path().filename().wstring();
                names.insert(Text(name.begin(), name.end()));
            }
        }
        return names;
    }

    Win32FileSystem files;
    Text folder;
    DWORD errorMode = 0; // the thread's own, put back at the end
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Disk);

class Win32FileSystemTest : public ::testing::Test {
protected:
    Text In(TextView name) const { return disk.folder + u"\\" + Text(name); }
    Win32Disk disk;
    Win32FileSystem& files = disk.files;
};

TEST_F(Win32FileSystemTest, ReadSharesTheFileWithWritersButNotWithAnExclusiveHolder) {
    const Text path = In(u"shared.txt");
    disk.PutFile(path, "content");
    const std::wstring wide(path.begin(), path.end());
    for (const DWORD sharing : {DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}, DWORD{0}}) {
        HANDLE other = CreateFileW(wide.c_str(), sharing == 0 ? GENERIC_READ : GENERIC_WRITE, sharing, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(files.ReadFileBytes(path, kWhole),
                  sharing == 0 ? std::nullopt : std::optional<std::string>("content"));
        if (sharing == 0) {
            EXPECT_FALSE(files.EraseFile(path)) << "a file another program holds open stays";
        }
        CloseHandle(other);
    }
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

// Measured under Wine 8: a lookup below a device fails with ERROR_INVALID_PARAMETER, no answer about the
// file at all, which the launcher must not take for its absence.
TEST_F(Win32FileSystemTest, ALookupThatCannotTellFails) {
    EXPECT_EQ(files.LookupFile(u"\\\\.\\nul\\maths.exe").status, LookupStatus::Failed);
}

TEST_F(Win32FileSystemTest, AppFolderHoldsTheRunningExecutable) {
    const Text folder = files.AppFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_NE(folder.back(), u'\\');
    EXPECT_EQ(files.LookupFile(folder + u"\\win32_tests.exe").status, LookupStatus::Found) << ToUtf8(folder);
}

} // namespace
} // namespace platform
