// Win32 file system, the Windows backend of platform::FileSystem.
// Implements: the launcher's folder (GetModuleFileNameW), file lookup (FindFirstFileExW), reading and
// writing whole files, making a new file (CreateFileW with CREATE_NEW), listing a folder (FindFirstFileExW),
// unique numbers (std::random_device with the clock and the process id), replacing a file in one step
// (MoveFileExW), deleting (DeleteFileW), and the conversions between the ANSI code page and text
// (MultiByteToWideChar, WideCharToMultiByte).
// Wide-character API only; <windows.h> stays in the .cpp file.
#pragma once

#include "platform/FileSystem.h"

namespace platform {

// The folder part of an executable's full path, without a trailing backslash unless it is the root of a
// drive: "C:\Launcher\launcher.exe" gives "C:\Launcher", "C:\launcher.exe" gives "C:\". Empty text when
// the path holds no backslash.
Text ModuleFolder(TextView modulePath);

class Win32FileSystem final : public FileSystem {
public:
    Win32FileSystem();

    Text AppFolder() const override { return appFolder_; }
    [[nodiscard]] FileLookup LookupFile(TextView path) override;
    [[nodiscard]] std::optional<std::string> ReadFileBytes(TextView path, std::size_t maxBytes) override;
    [[nodiscard]] std::unique_ptr<FileReader> OpenFile(TextView path) override;
    [[nodiscard]] bool WriteFileBytes(TextView path, std::string_view bytes) override;
    [[nodiscard]] CreateResult WriteNewFile(TextView path, std::string_view bytes) override;
    [[nodiscard]] std::vector<Text> ListFiles(TextView folder, TextView prefix) override;
    [[nodiscard]] std::uint64_t UniqueNumber() override;
    [[nodiscard]] bool MoveFileOver(TextView source, TextView target) override;
    [[nodiscard]] bool EraseFile(TextView path) override;
    [[nodiscard]] bool CanWriteFile(TextView path) override;
    Text FromCodePage(std::string_view bytes) const override;
    std::string ToCodePage(TextView text) const override;

private:
    Text appFolder_; // read once: the executable does not move while it runs
};

} // namespace platform
