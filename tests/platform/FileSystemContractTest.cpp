// The file-system contract over the headless test double. The double's faults on demand are checked where
// they are used: each is a row of a catalogue test that fails when the fault does not happen.
#include "platform/FileSystemContract.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace platform
