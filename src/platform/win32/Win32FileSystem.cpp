// Win32 file system, the Windows backend of platform::FileSystem.
// Implements: the launcher's folder, file lookup, whole-file and piecewise reading, writing, making new
// files, listing a folder, whether a file may be written, unique numbers, replacing and deleting files, and
// the ANSI code page conversions; plus the guard against "drive not ready" dialogs that these calls share.
#include "platform/win32/Win32FileSystem.h"

#include "platform/win32/Win32Handles.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <new>
#include <random>
#include <utility>

namespace platform {
namespace {

// Bytes per ReadFile or WriteFile call. One call per file is enough for the launcher's small files;
// the limit keeps a large file within a DWORD and within what network drives accept in one request.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// A path for the wide API, or nothing when it cannot name a file: an empty path, or one holding a NUL
// character, which the API would read as the end of a shorter path naming some other file.
std::optional<std::wstring> WidePath(TextView path) {
    if (path.empty() || HasNul(path)) {
        return std::nullopt;
    }
    return Wide(path);
}

// While it lives, a file call on this thread that meets a drive without a medium (an empty CD drive that
// a program path names) fails with an error instead of asking the user to insert a disk. It is set per
// call and per thread rather than once with SetErrorMode, because the programs the launcher starts
// inherit the process's error mode and should still get the system's usual dialogs.
class NoDriveDialogs {
public:
    NoDriveDialogs() : restore_(SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &old_) != 0) {}
    ~NoDriveDialogs() {
        if (restore_) {
            SetThreadErrorMode(old_, nullptr);
        }
    }
    NoDriveDialogs(const NoDriveDialogs&) = delete;
    NoDriveDialogs& operator=(const NoDriveDialogs&) = delete;

private:
    DWORD old_ = 0; // declared first: the initialiser of restore_ fills it in
    bool restore_;
};

// The errors that mean "no such file": the name, a folder on the way or the name's form rules it out.
// Everything else (a drive that is missing or not ready, an unreachable network path, access denied)
// means the lookup could not tell.
bool MeansNoSuchFile(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_NO_MORE_FILES:
        return true;
    default:
        return false;
    }
}

// Windows refuses to overwrite or replace a read-only file, and the launcher relies on that: a settings
// file made read-only stays as it is. Wine 8 keeps the attribute as Unix permissions, which a rename
// ignores and a process running as root passes, so the attribute is checked here too.
bool IsReadOnlyFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Writes all the bytes to an open file, in chunks; false when any write failed.
bool WriteAll(HANDLE file, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunkBytes));
        DWORD written = 0;
        if (WriteFile(file, bytes.data() + done, wanted, &written, nullptr) == 0 || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

class Win32FileReader final : public FileReader {
public:
    explicit Win32FileReader(FileHandle file) : file_(std::move(file)) {}
    std::optional<std::size_t> Read(std::span<char> buffer) override {
        NoDriveDialogs noDialogs;
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min(buffer.size(), kChunkBytes));
        if (ReadFile(file_.Get(), buffer.data(), wanted, &got, nullptr) == 0) {
            return std::nullopt;
        }
        return got;
    }

private:
    FileHandle file_;
};

// The path the system resolves an open handle to, every link on the way followed ("\\?\C:\..." or
// "\\?\UNC\server\..."), lower-cased; nothing when it cannot tell.
std::optional<Text> FinalPath(HANDLE handle) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
        if (length == 0) {
            return std::nullopt;
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return LowerCase(FromWide(buffer));
        }
        buffer.resize(length + 1);
    }
    return std::nullopt;
}

// Opens a file to delete it, but only when no link leads to it: neither the file itself nor a folder on
// the way is a symbolic link or a junction. Windows marks links with FILE_ATTRIBUTE_REPARSE_POINT; Wine
// shows a Unix symbolic link as a plain file (and its DeleteFileW removes the link's target), so the
// file's resolved path is compared with its folder's resolved path and its own name as well. The handle
// returned is the very file checked, so nothing can swap a link in between.
FileHandle OpenUnlinkedForDeleting(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) {
        return FileHandle();
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return FileHandle();
    }
    // Windows drops the dots and blanks at the end of a name.
    Text name = LowerCase(FromWide(path.substr(slash + 1)));
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) {
        name.pop_back();
    }
    FileHandle file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const FileHandle folder(CreateFileW(path.substr(0, slash + 1).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid() || !folder.Valid()) {
        return FileHandle();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const auto filePath = FinalPath(file.Get());
    auto folderPath = FinalPath(folder.Get());
    if (GetFileInformationByHandle(file.Get(), &info) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || !filePath || !folderPath) {
        return FileHandle();
    }
    if (!folderPath->ends_with(u'\\')) {
        *folderPath += u'\\';
    }
    return *filePath == *folderPath + name ? std::move(file) : FileHandle();
}

Text ReadAppFolder() {
    // Paths beyond MAX_PATH are possible; the buffer grows until the whole name fits (a truncated name
    // fills the buffer exactly), up to the longest path Windows allows.
    std::wstring buffer(MAX_PATH, L'\0');
    while (buffer.size() <= 0x10000) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return ModuleFolder(FromWide(buffer));
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

} // namespace

Text ModuleFolder(TextView modulePath) {
    const std::size_t slash = modulePath.rfind(u'\\');
    if (slash == TextView::npos) {
        return {};
    }
    // A folder ending in ':' is a drive root ("C:", or "\\?\C:" in the long form), which keeps its
    // backslash: "C:" alone would mean the drive's current folder.
    const bool driveRoot = slash > 0 && modulePath[slash - 1] == u':';
    return Text(modulePath.substr(0, driveRoot ? slash + 1 : slash));
}

Win32FileSystem::Win32FileSystem() : appFolder_(ReadAppFolder()) {}

FileLookup Win32FileSystem::LookupFile(TextView path) {
    const Text trimmed = TrimEndBlanks(path);
    // '*' and '?' are wildcards to FindFirstFileExW, and so are '<', '>' and '"' (the DOS forms of them);
    // none can be part of a file name, so a path holding one names no file.
    if (trimmed.find_first_of(u"*?<>\"") != Text::npos) {
        return {LookupStatus::Absent, {}};
    }
    const auto widePath = WidePath(trimmed);
    if (!widePath) {
        return {LookupStatus::Absent, {}};
    }

    NoDriveDialogs noDialogs;
    WIN32_FIND_DATAW found{};
    const SearchHandle search(
        FindFirstFileExW(widePath->c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search.Valid()) {
        return {MeansNoSuchFile(GetLastError()) ? LookupStatus::Absent : LookupStatus::Failed, {}};
    }
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {LookupStatus::Absent, {}};
    }
    return {LookupStatus::Found, FromWide(found.cFileName)};
}

std::optional<std::string> Win32FileSystem::ReadFileBytes(TextView path, std::size_t maxBytes) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return std::nullopt;
    }

    NoDriveDialogs noDialogs;
    // Other programs may hold the file open for writing or deleting; reading it still succeeds.
    const FileHandle file(CreateFileW(widePath->c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return std::nullopt;
    }
    // The size is checked before anything is allocated: a file larger than the caller's limit is refused
    // whole, however large it is.
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) == 0 || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) >
            std::min<unsigned long long>(maxBytes, std::string().max_size())) {
        return std::nullopt;
    }

    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD wanted = static_cast<DWORD>(std::min(bytes.size() - done, kChunkBytes));
        DWORD got = 0;
        // Zero bytes before the end means the file shrank while being read: its content is not whole.
        if (ReadFile(file.Get(), bytes.data() + done, wanted, &got, nullptr) == 0 || got == 0) {
            return std::nullopt;
        }
        done += got;
    }
    return bytes;
}

std::unique_ptr<FileReader> Win32FileSystem::OpenFile(TextView path) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return nullptr;
    }
    NoDriveDialogs noDialogs;
    FileHandle file(CreateFileW(widePath->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        return nullptr;
    }
    return std::make_unique<Win32FileReader>(std::move(file));
}

bool Win32FileSystem::WriteFileBytes(TextView path, std::string_view bytes) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return false;
    }

    NoDriveDialogs noDialogs;
    if (IsReadOnlyFile(*widePath)) {
        return false;
    }
    // Nobody else may open the file while it is half written. CREATE_ALWAYS also refuses a hidden or
    // system file, whose attributes FILE_ATTRIBUTE_NORMAL would drop.
    FileHandle file(
        CreateFileW(widePath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return false;
    }
    return WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) != 0 && file.Close();
}

CreateResult Win32FileSystem::WriteNewFile(TextView path, std::string_view bytes) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return CreateResult::Failed;
    }
    NoDriveDialogs noDialogs;
    // CREATE_NEW never opens what is there. No sharing: while the bytes are written, another launcher
    // cleaning up after a crash cannot delete the file, nor can anything else open it.
    FileHandle file(
        CreateFileW(widePath->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        // A folder of that name may also answer "access denied": whatever is there, the name is taken.
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
            GetFileAttributesW(widePath->c_str()) != INVALID_FILE_ATTRIBUTES) {
            return CreateResult::Exists;
        }
        return error == ERROR_ACCESS_DENIED ? CreateResult::Refused : CreateResult::Failed;
    }
    return WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get()) != 0 && file.Close() ? CreateResult::Written
                                                                                            : CreateResult::Failed;
}

std::vector<Text> Win32FileSystem::ListFiles(TextView folder, TextView prefix) {
    std::vector<Text> names;
    const auto pattern = WidePath(Text(folder) + u"\\*");
    if (!pattern) {
        return names;
    }
    NoDriveDialogs noDialogs;
    WIN32_FIND_DATAW found{};
    const SearchHandle search(
        FindFirstFileExW(pattern->c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search.Valid()) {
        return names;
    }
    // The prefix is compared with the long name only: a search pattern would match the short 8.3 names too.
    const Text lowerPrefix = LowerCase(prefix);
    do {
        const Text name = FromWide(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && LowerCase(name).starts_with(lowerPrefix)) {
            names.push_back(name);
        }
    } while (FindNextFileW(search.Get(), &found) != 0);
    return names;
}

std::uint64_t Win32FileSystem::UniqueNumber() {
    // Two machines can give their launchers the same process id at the same moment, so the number is
    // drawn at random as well; where no random source answers, the clock and the process id remain.
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    std::uint64_t number = static_cast<std::uint64_t>(counter.QuadPart) ^ (std::uint64_t{GetCurrentProcessId()} << 40);
    try {
        std::random_device random;
        number ^= (std::uint64_t{random()} << 32) ^ random();
    } catch (const std::exception&) {
    }
    return number;
}

bool Win32FileSystem::MoveFileOver(TextView source, TextView target) {
    const auto wideSource = WidePath(source);
    const auto wideTarget = WidePath(target);
    if (!wideSource || !wideTarget) {
        return false;
    }
    NoDriveDialogs noDialogs;
    if (IsReadOnlyFile(*wideSource) || IsReadOnlyFile(*wideTarget)) {
        return false;
    }
    // Without MOVEFILE_COPY_ALLOWED a move to another volume fails rather than copying, so a move that
    // succeeds is a rename on one volume: the target is never seen half written.
    return MoveFileExW(wideSource->c_str(), wideTarget->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
           0;
}

bool Win32FileSystem::EraseFile(TextView path) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return false;
    }
    NoDriveDialogs noDialogs;
    const FileHandle file = OpenUnlinkedForDeleting(*widePath);
    if (!file.Valid()) {
        return false;
    }
    // Deleted through the handle checked above: the name goes when the handle closes.
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

bool Win32FileSystem::CanWriteFile(TextView path) {
    const auto widePath = WidePath(path);
    if (!widePath) {
        return false;
    }
    NoDriveDialogs noDialogs;
    if (IsReadOnlyFile(*widePath)) {
        return false;
    }
    // OPEN_EXISTING neither makes nor truncates, and a folder is never opened without backup semantics.
    // Sharing everything leaves other readers and writers alone; a program that shares no writing refuses
    // this open as it would refuse the save.
    const FileHandle file(CreateFileW(widePath->c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

// The conversions below return empty text for a text of 2 GiB or more, which the API cannot take in one
// call; the launcher's data files are a few kilobytes.

Text Win32FileSystem::FromCodePage(std::string_view bytes) const {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const int byteCount = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, bytes.data(), byteCount, wide.data(), needed) != needed) {
        return {};
    }
    return FromWide(wide);
}

std::string Win32FileSystem::ToCodePage(TextView text) const {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    // WC_NO_BEST_FIT_CHARS turns a character the code page lacks into '?' instead of a look-alike (U+221E
    // infinity would otherwise be written as '8'). When the system's code page is UTF-8 every character
    // fits, and that code page refuses both the flag and a replacement character.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* const replacement = utf8 ? nullptr : "?";
    // A character beyond U+FFFF is two code units, and the API writes a '?' for each; it is one character,
    // so it becomes one '?'. (No ANSI code page other than UTF-8 holds such characters.)
    std::wstring wide;
    wide.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!utf8 && IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1])) {
            wide += L'?';
            ++i;
        } else {
            wide += static_cast<wchar_t>(text[i]);
        }
    }
    const int wideCount = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideCount, nullptr, 0, replacement, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, wide.data(), wideCount, bytes.data(), needed, replacement, nullptr) !=
        needed) {
        return {};
    }
    return bytes;
}

} // namespace platform
