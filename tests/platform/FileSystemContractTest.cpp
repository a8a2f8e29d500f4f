// The file-system contract over the headless test double, and the faults that only the double gives on
// demand.
#include "platform/FileSystemContract.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

#include <functional>

namespace platform {
namespace {

struct HeadlessDisk {
    HeadlessDisk() { fs.AddFolder(Folder()); }
    FileSystem& Files() { return fs; }
    Text Folder() const { return u"C:\\Scratch"; }
    Text MissingDrive() const { return u"Q:"; }
    void PutFile(TextView path, std::string_view bytes) { fs.AddFile(path, bytes); }
    void PutFolder(TextView path) { fs.AddFolder(path); }
    // A read-only file refuses writes and deletion, and with them being replaced.
    void MakeReadOnly(TextView path) {
        fs.SetUnwritable(path);
        fs.SetUndeletable(path);
    }
    std::optional<std::string> Bytes(TextView path) const { return fs.FileBytes(path); }
    std::set<Text> Names() const {
        std::set<Text> names;
        const Text prefix = LowerCase(Folder() + u"\\");
        for (const Text& path : fs.Files()) {
            if (LowerCase(path).starts_with(prefix) && path.find(u'\\', prefix.size()) == Text::npos) {
                names.insert(path.substr(prefix.size()));
            }
        }
        return names;
    }

    HeadlessFileSystem fs;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Headless, FileSystemContract, HeadlessDisk);

TEST(HeadlessFileSystem, FailsOnDemandAsADiskWould) {
    // What each operation does on C:\D\a (and C:\D\b beside it) under the fault: the lookup's status
    // (Found, Absent, X failed), then 1 or 0 for reading a, writing a, writing a new file, moving a to a new
    // name, moving b onto a, erasing a.
    const struct {
        const char* what;
        std::function<void(HeadlessFileSystem&)> apply;
        const char* outcome;
    } cases[] = {
        {"none", [](HeadlessFileSystem&) {}, "F111111"},
        {"unreadable file", [](HeadlessFileSystem& fs) { fs.SetUnreadable(u"C:\\D\\a"); }, "F011101"},
        {"unwritable file", [](HeadlessFileSystem& fs) { fs.SetUnwritable(u"C:\\D\\a"); }, "F101101"},
        {"undeletable file", [](HeadlessFileSystem& fs) { fs.SetUndeletable(u"C:\\D\\a"); }, "F111000"},
        {"unwritable folder", [](HeadlessFileSystem& fs) { fs.SetUnwritable(u"C:\\D"); }, "F110011"},
        {"drive not ready", [](HeadlessFileSystem& fs) { fs.SetDriveNotReady(u"c:"); }, "X000000"},
        {"disk full", [](HeadlessFileSystem& fs) { fs.SetWriteLimit(2); }, "F100111"},
    };
    const std::function<bool(HeadlessFileSystem&)> operations[] = {
        [](HeadlessFileSystem& fs) { return fs.ReadFileBytes(u"C:\\D\\a").has_value(); },
        [](HeadlessFileSystem& fs) { return fs.WriteFileBytes(u"C:\\D\\a", "abc"); },
        [](HeadlessFileSystem& fs) { return fs.WriteFileBytes(u"C:\\D\\n", "abc"); },
        [](HeadlessFileSystem& fs) { return fs.MoveFileOver(u"C:\\D\\a", u"C:\\D\\m"); },
        [](HeadlessFileSystem& fs) { return fs.MoveFileOver(u"C:\\D\\b", u"C:\\D\\a"); },
        [](HeadlessFileSystem& fs) { return fs.EraseFile(u"C:\\D\\a"); },
    };
    for (const auto& c : cases) {
        std::string outcome;
        for (std::size_t op = 0; op <= std::size(operations); ++op) {
            HeadlessFileSystem fs;
            fs.AddFile(u"C:\\D\\a", "a");
            fs.AddFile(u"C:\\D\\b", "b");
            c.apply(fs);
            if (op == 0) {
                const LookupStatus status = fs.LookupFile(u"C:\\D\\a").status;
                outcome += status == LookupStatus::Found ? 'F' : status == LookupStatus::Absent ? 'A' : 'X';
                continue;
            }
            const bool done = operations[op - 1](fs);
            outcome += done ? '1' : '0';
            if (!done) { // a failed operation loses no file
                EXPECT_TRUE(fs.FileExists(u"C:\\D\\a") && fs.FileBytes(u"C:\\D\\b") == "b") << c.what << op;
            }
        }
        EXPECT_EQ(outcome, c.outcome) << c.what;
    }
    HeadlessFileSystem fs;
    fs.AddFolder(u"C:\\D");
    fs.SetWriteLimit(2);
    EXPECT_FALSE(fs.WriteFileBytes(u"C:\\D\\n", "abc"));
    EXPECT_EQ(fs.FileBytes(u"C:\\D\\n"), "ab") << "a full disk leaves part of the file";
}

} // namespace
} // namespace platform
