// Headless file system, the test double of platform::FileSystem.
// Implements: an in-memory disk that names files as Windows does (drive letters and network roots,
// backslashes, names compared without regard to case, the dots and blanks at the end of a path dropped, a
// trailing backslash naming a folder, no wildcards or NUL in names), files that fail on demand (unreadable, unwritable,
// undeletable, a disk that fills up), drives that are not ready, the launcher's folder, unique numbers
// counted from 1, the Windows-1252 code page, and a record of every lookup and read for tests to assert on.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace platform {

class HeadlessFileSystem : public FileSystem {
public:
    explicit HeadlessFileSystem(Text appFolder = u"C:\\Launcher");

    // ---- FileSystem ----
    Text AppFolder() const override { return appFolder_; }
    [[nodiscard]] FileLookup LookupFile(TextView path) override;
    [[nodiscard]] std::optional<std::string> ReadFileBytes(TextView path, std::size_t maxBytes) override;
    // A reader of a copy of the file as it is now.
    [[nodiscard]] std::unique_ptr<FileReader> OpenFile(TextView path) override;
    [[nodiscard]] bool WriteFileBytes(TextView path, std::string_view bytes) override;
    [[nodiscard]] CreateResult WriteNewFile(TextView path, std::string_view bytes) override;
    [[nodiscard]] std::vector<Text> ListFiles(TextView folder, TextView prefix) override;
    // 1, 2, 3, ... in the order drawn.
    [[nodiscard]] std::uint64_t UniqueNumber() override { return ++uniqueNumbers_; }
    [[nodiscard]] bool MoveFileOver(TextView source, TextView target) override;
    [[nodiscard]] bool EraseFile(TextView path) override;
    [[nodiscard]] bool CanWriteFile(TextView path) override;
    Text FromCodePage(std::string_view bytes) const override;
    std::string ToCodePage(TextView text) const override;

    // ---- setting the scene ----
    void SetAppFolder(Text folder) { appFolder_ = std::move(folder); }
    // Creates the folder and every folder above it.
    void AddFolder(TextView path);
    // Creates or replaces a file (and the folders above it).
    void AddFile(TextView path, std::string_view bytes = {});
    void AddTextFile(TextView path, TextView text); // stored in the code page

    // Faults. A path may name a file or a folder: an unwritable folder refuses new files (WriteNewFile says
    // Refused). An undeletable file is also one that another program holds open.
    void SetUnreadable(TextView path, bool on = true) { Flag(unreadable_, path, on); }
    void SetUnwritable(TextView path, bool on = true) { Flag(unwritable_, path, on); }
    void SetUndeletable(TextView path, bool on = true) { Flag(undeletable_, path, on); }
    // Every path under this root ("D:" or "\\server") fails as on a drive that is not ready.
    void SetDriveNotReady(TextView root, bool on = true) { Flag(notReadyRoots_, root, on); }
    // Each write stores at most this many bytes and fails when it was asked for more, like a full disk.
    void SetWriteLimit(std::optional<std::size_t> bytes) { writeLimit_ = bytes; }

    // ---- looking at the result ----
    bool FileExists(TextView path) const;
    std::optional<std::string> FileBytes(TextView path) const;
    std::optional<Text> FileText(TextView path) const; // decoded from the code page
    // Full paths of all files, as they were created.
    std::vector<Text> Files() const;
    // Every path passed to LookupFile, and to ReadFileBytes and OpenFile, in call order.
    const std::vector<Text>& Lookups() const { return lookups_; }
    const std::vector<Text>& Reads() const { return reads_; }
    void ClearRecords();

private:
    struct File {
        Text path; // as created
        std::string bytes;
    };
    // The key of a file or folder: lower-cased, without what Windows drops at the end of a path (dots,
    // blanks, and a folder's backslashes).
    static Text Key(TextView path);
    // The key of a file, or nothing when the path cannot name one.
    static std::optional<Text> FileKey(TextView path);
    static Text ParentKey(TextView key);
    bool NotReady(const Text& key) const;
    bool Flagged(const std::set<Text>& flags, const Text& key) const { return flags.count(key) != 0; }
    // Puts the path's key into one of the fault sets, or takes it out.
    static void Flag(std::set<Text>& flags, TextView path, bool on);

    Text appFolder_;
    std::map<Text, File> files_; // by FileKey
    std::set<Text> folders_;
    std::set<Text> unreadable_, unwritable_, undeletable_;
    std::set<Text> notReadyRoots_;
    std::optional<std::size_t> writeLimit_;
    std::uint64_t uniqueNumbers_ = 0;
    std::vector<Text> lookups_, reads_;
};

} // namespace platform
