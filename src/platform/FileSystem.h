// What the launcher needs of the operating system's files: where it lives, looking a file up, reading,
// writing, making, replacing and deleting whole files, whether a file may be written, listing a folder's files, numbers
// for the names of temporary files, and the conversion between the system's 8-bit code page and the launcher's text.
// Every fallible operation reports failure in its result; none throws.
#pragma once

#include "platform/Text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

enum class LookupStatus {
    Found,  // the path names an existing file
    Absent, // no such file (or the path names a folder, or holds wildcards)
    Failed, // the lookup itself failed, e.g. the drive is not ready
};

enum class CreateResult {
    Written, // the file was made and holds the bytes
    Exists,  // a file or a folder of that name is there already; it was neither opened nor changed
    Refused, // the folder does not let this user make files in it (access denied)
    Failed,  // anything else; a file that was made may hold some of the bytes
};

struct FileLookup {
    LookupStatus status = LookupStatus::Absent;
    Text name; // the file's own name as stored on the disk, when found

    bool Found() const { return status == LookupStatus::Found; }
};

// An open file read from its start to its end, a piece at a time, so that a file of any size is read with
// the memory of one piece. Made by FileSystem::OpenFile; the file is closed when the reader goes.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Reads the next bytes into `buffer`: how many were read, 0 at the end of the file, nothing when reading
    // failed (the file is then not whole and the caller should treat it as unreadable).
    [[nodiscard]] virtual std::optional<std::size_t> Read(std::span<char> buffer) = 0;
};

// A reader of bytes already held in memory (a file read ahead, or one of an in-memory disk).
class HeldBytesReader final : public FileReader {
public:
    explicit HeldBytesReader(std::string bytes) : bytes_(std::move(bytes)) {}
    std::optional<std::size_t> Read(std::span<char> buffer) override {
        const std::size_t count = std::min(buffer.size(), bytes_.size() - at_);
        bytes_.copy(buffer.data(), count, at_);
        at_ += count;
        return count;
    }

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The folder that holds the launcher's executable, without a trailing backslash unless it is the
    // root of a drive ("C:\Launcher", "C:\").
    virtual Text AppFolder() const = 0;

    // Looks for the file that a full path names, as Windows names files: the blanks and dots at the end of
    // the path are dropped, a path that ends in a backslash names a folder, names match without regard to
    // case, and wildcard characters never match anything. tests/platform/FileSystemContract.h holds every
    // backend to this.
    [[nodiscard]] virtual FileLookup LookupFile(TextView path) = 0;

    // The whole content of a file, or nothing when it cannot be opened or read or holds more than
    // `maxBytes` bytes: a file larger than the caller's limit is never read into memory.
    [[nodiscard]] virtual std::optional<std::string> ReadFileBytes(TextView path, std::size_t maxBytes) = 0;

    // Opens a file for reading from its start; nothing when it cannot be opened. Other programs may go on
    // writing or deleting it meanwhile.
    [[nodiscard]] virtual std::unique_ptr<FileReader> OpenFile(TextView path) = 0;

    // Creates or truncates the file and writes the bytes, flushed to the disk. False when any part failed;
    // the file may then hold some of the bytes.
    [[nodiscard]] virtual bool WriteFileBytes(TextView path, std::string_view bytes) = 0;

    // Makes a new file and writes the bytes, flushed to the disk; a file that exists is never opened. While
    // the bytes are written, no other program can open or delete the file.
    [[nodiscard]] virtual CreateResult WriteNewFile(TextView path, std::string_view bytes) = 0;

    // The names of the files (not folders) in a folder that begin with `prefix`, compared without regard to
    // case, as stored; none when the folder cannot be read.
    [[nodiscard]] virtual std::vector<Text> ListFiles(TextView folder, TextView prefix) = 0;

    // A number for the name of a temporary file that no other launcher, on this machine or on another that
    // shares the folder, draws at the same time.
    [[nodiscard]] virtual std::uint64_t UniqueNumber() = 0;

    // Moves `source` onto `target` in one step, replacing `target` when it exists. A read-only file is
    // neither moved nor replaced. False when it failed, in which case both files are as they were.
    [[nodiscard]] virtual bool MoveFileOver(TextView source, TextView target) = 0;

    // Deletes a file. False when it failed (missing, locked, read-only). A link (a symbolic link or a
    // junction, at the file's name or on the way to it) is never followed: it is left as it is, and false.
    [[nodiscard]] virtual bool EraseFile(TextView path) = 0;

    // Whether this user may write an existing file now: it is opened for writing and closed again, and
    // nothing in it changes. False for a missing, read-only or locked file, or a folder.
    [[nodiscard]] virtual bool CanWriteFile(TextView path) = 0;

    // Conversions between the system's 8-bit code page (the encoding of every data file) and text.
    // Characters the code page cannot hold become '?'.
    virtual Text FromCodePage(std::string_view bytes) const = 0;
    virtual std::string ToCodePage(TextView text) const = 0;
};

} // namespace platform
