// A program for the Win32 tests to start. It writes "started.txt" into its current folder: the current
// folder on the first line and its whole command line on the second, as UTF-16 text, then ends. The tests
// read it to see where and how the launcher started a program.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t folder[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH * 4, folder);
    std::wstring report(folder, length);
    report += L"\r\n";
    report += GetCommandLineW();
    report += L"\r\n";
    HANDLE file = CreateFileW(L"started.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
