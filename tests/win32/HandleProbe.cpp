// A program for the end-to-end tests to start from a tile: it lists every handle it holds at start, so a
// test can see whether anything of the launcher's (its single-instance mutex, a file in its folder) was
// passed on to it. It writes "handles.txt" into its current folder, UTF-8 with CR LF, one handle a line:
// "<value in hex> <object type> <object name>", and "[standard output]" and the like after the standard
// handles, then ends.
//
// To show that the listing would see such a handle, the probe first makes a named mutex of its own,
// "TessalyHandleProbe-self"; its line must be in the report, or the report proves nothing.
#include <windows.h>

#include <winternl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Handle values are multiples of 4; a new process holds a few dozen, far below this bound.
constexpr ULONG_PTR kHighestHandle = 0x10000;

std::wstring Counted(const UNICODE_STRING& text) {
    if (text.Buffer == nullptr) {
        return {};
    }
    return std::wstring(text.Buffer, text.Length / sizeof(wchar_t));
}

std::wstring QueryText(HANDLE handle, OBJECT_INFORMATION_CLASS what) {
    std::vector<unsigned char> buffer(4096);
    ULONG needed = 0;
    NTSTATUS status = NtQueryObject(handle, what, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (!NT_SUCCESS(status) && needed > buffer.size()) {
        buffer.resize(needed);
        status = NtQueryObject(handle, what, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    }
    if (!NT_SUCCESS(status)) {
        return {};
    }
    // Both the name and the type information begin with the counted string.
    return Counted(*reinterpret_cast<const UNICODE_STRING*>(buffer.data()));
}

std::wstring HandleName(HANDLE handle, const std::wstring& type) {
    if (type == L"File") {
        // Asking a pipe for its name can wait for the pipe; only files on disk are asked.
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            return L"(not a disk file)";
        }
        wchar_t path[MAX_PATH * 4] = {};
        const DWORD length = GetFinalPathNameByHandleW(handle, path, MAX_PATH * 4, FILE_NAME_NORMALIZED);
        if (length > 0 && length < MAX_PATH * 4) {
            return path;
        }
    }
    return QueryText(handle, ObjectNameInformation);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

} // namespace

int wmain() {
    HANDLE self = CreateMutexW(nullptr, FALSE, L"TessalyHandleProbe-self");
    std::string report;
    for (ULONG_PTR value = 4; value < kHighestHandle; value += 4) {
        HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        if (!GetHandleInformation(handle, &flags)) {
            continue;
        }
        const std::wstring type = QueryText(handle, ObjectTypeInformation);
        char number[32];
        std::snprintf(number, sizeof(number), "%llx", static_cast<unsigned long long>(value));
        report += number;
        report += ' ';
        report += Utf8(type.empty() ? L"?" : type);
        report += ' ';
        report += Utf8(HandleName(handle, type));
        // The standard handles are named as such: a process gets them from its parent.
        if (handle == GetStdHandle(STD_INPUT_HANDLE)) {
            report += " [standard input]";
        } else if (handle == GetStdHandle(STD_OUTPUT_HANDLE)) {
            report += " [standard output]";
        } else if (handle == GetStdHandle(STD_ERROR_HANDLE)) {
            report += " [standard error]";
        }
        report += "\r\n";
    }
    if (self != nullptr) {
        CloseHandle(self);
    }
    HANDLE file = CreateFileW(L"handles.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == report.size() ? 0 : 1;
}
