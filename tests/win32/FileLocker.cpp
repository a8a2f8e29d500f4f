// A program for the end-to-end tests: holds a file open with no sharing at all, as another program (a
// backup, a virus scanner, an editor) may do, so that nobody else can read, write, replace or delete it.
//
// Usage: win32_file_locker FILE. Prints "locked" on its standard output once the file is held (or
// "failed <error>" and ends with 1), then waits until it is ended; ending the process releases the file.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fputs("usage: win32_file_locker FILE\n", stderr);
        return 2;
    }
    HANDLE file =
        CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("failed %lu\n", GetLastError());
        std::fflush(stdout);
        return 1;
    }
    std::puts("locked");
    std::fflush(stdout);
    // Held until the test ends this process.
    Sleep(INFINITE);
    CloseHandle(file);
    return 0;
}
