#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(HeadlessFileSystem, LooksFilesUpLikeWindows) {
    HeadlessFileSystem fs(u"C:\\Launcher");
    fs.AddFile(u"C:\\Program Files\\Maths\\Maths.exe", "MZ");
    fs.AddFile(u"\\\\server\\share\\run.exe");
    fs.SetDriveNotReady(u"A:");
    const struct {
        const char16_t* path;
        LookupStatus status;
        const char16_t* name;
    } cases[] = {
        {u"C:\\Program Files\\Maths\\Maths.exe", LookupStatus::Found, u"Maths.exe"},
        {u"c:\\PROGRAM FILES\\maths\\MATHS.EXE", LookupStatus::Found, u"Maths.exe"},
        {u"C:\\Program Files\\Maths\\Maths.exe   ", LookupStatus::Found, u"Maths.exe"},
        {u"\\\\SERVER\\share\\run.exe", LookupStatus::Found, u"run.exe"},
        {u"C:\\Program Files\\Maths", LookupStatus::Absent, u""},
        {u"C:\\Program Files\\Maths\\M*.exe", LookupStatus::Absent, u""},
        {u"C:\\Program Files\\Maths\\Maths.ex?", LookupStatus::Absent, u""},
        {u"D:\\Program Files\\Maths\\Maths.exe", LookupStatus::Absent, u""},
        {u" C:\\Program Files\\Maths\\Maths.exe", LookupStatus::Absent, u""},
        {u"A:\\setup.exe", LookupStatus::Failed, u""},
        {u"", LookupStatus::Absent, u""},
    };
    for (const auto& c : cases) {
        const FileLookup lookup = fs.LookupFile(c.path);
        EXPECT_EQ(lookup.status, c.status) << ToUtf8(c.path);
        EXPECT_EQ(lookup.name, c.name) << ToUtf8(c.path);
    }
    EXPECT_EQ(fs.Lookups().size(), std::size(cases));
}

TEST(HeadlessFileSystem, WritesNeedAnExistingWritableFolder) {
    HeadlessFileSystem fs(u"C:\\Launcher");
    EXPECT_FALSE(fs.WriteFileBytes(u"C:\\Launcher\\data\\x.txt", "x")) << "folders are never created by a write";
    fs.AddFolder(u"C:\\Launcher\\data");
    EXPECT_TRUE(fs.WriteFileBytes(u"C:\\Launcher\\data\\x.txt", "long old text"));
    EXPECT_TRUE(fs.WriteFileBytes(u"c:\\launcher\\DATA\\X.TXT", "new"));
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\data\\x.txt"), "new");
    EXPECT_EQ(fs.LookupFile(u"C:\\Launcher\\data\\x.txt").name, u"x.txt") << "an overwrite keeps the stored name";

    fs.SetUnwritable(u"C:\\Launcher\\data\\x.txt");
    EXPECT_FALSE(fs.WriteFileBytes(u"C:\\Launcher\\data\\x.txt", "changed"));
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\data\\x.txt"), "new");

    fs.SetUnwritable(u"C:\\Launcher\\data");
    EXPECT_FALSE(fs.WriteFileBytes(u"C:\\Launcher\\data\\y.txt", "y"));

    fs.SetWriteLimit(2);
    EXPECT_FALSE(fs.WriteFileBytes(u"C:\\Launcher\\z.txt", "abcdef"));
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\z.txt"), "ab") << "a full disk leaves part of the file";
}

TEST(HeadlessFileSystem, MoveReplacesInOneStepOrNotAtAll) {
    HeadlessFileSystem fs(u"C:\\Launcher");
    fs.AddFile(u"C:\\Launcher\\new", "new");
    fs.AddFile(u"C:\\Launcher\\old", "old");
    fs.SetUndeletable(u"C:\\Launcher\\old");
    EXPECT_FALSE(fs.MoveFileOver(u"C:\\Launcher\\new", u"C:\\Launcher\\old"));
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\old"), "old");
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\new"), "new");

    fs.SetUndeletable(u"C:\\Launcher\\old", false);
    EXPECT_TRUE(fs.MoveFileOver(u"C:\\Launcher\\new", u"C:\\Launcher\\old"));
    EXPECT_EQ(fs.FileBytes(u"C:\\Launcher\\old"), "new");
    EXPECT_FALSE(fs.FileExists(u"C:\\Launcher\\new"));
    EXPECT_FALSE(fs.MoveFileOver(u"C:\\Launcher\\new", u"C:\\Launcher\\old")) << "the source is gone";
    EXPECT_FALSE(fs.MoveFileOver(u"C:\\Launcher\\old", u"C:\\Elsewhere\\old")) << "no such folder";
}

TEST(HeadlessFileSystem, ReadAndEraseFailOnDemand) {
    HeadlessFileSystem fs(u"C:\\Launcher");
    fs.AddFile(u"C:\\Launcher\\a", "a");
    fs.SetUnreadable(u"C:\\Launcher\\a");
    EXPECT_FALSE(fs.ReadFileBytes(u"C:\\Launcher\\a").has_value());
    EXPECT_TRUE(fs.LookupFile(u"C:\\Launcher\\a").Found()) << "an unreadable file still exists";
    fs.SetUndeletable(u"C:\\Launcher\\a");
    EXPECT_FALSE(fs.EraseFile(u"C:\\Launcher\\a"));
    fs.SetUndeletable(u"C:\\Launcher\\a", false);
    EXPECT_TRUE(fs.EraseFile(u"C:\\Launcher\\a"));
    EXPECT_FALSE(fs.EraseFile(u"C:\\Launcher\\a"));
    fs.AddFile(u"A:\\b", "b");
    fs.SetDriveNotReady(u"a:");
    EXPECT_FALSE(fs.ReadFileBytes(u"A:\\b").has_value());
}

TEST(HeadlessFileSystem, ConvertsWindows1252BothWays) {
    HeadlessFileSystem fs;
    const std::string bytes = "Caf\xE9 \x80\x92\x9F\x81";
    const std::u16string text = u"Café €’Ÿ\u0081";
    EXPECT_EQ(fs.FromCodePage(bytes), text);
    EXPECT_EQ(fs.ToCodePage(text), bytes);
    EXPECT_EQ(fs.ToCodePage(u"a中\U0001F600b"), "a??b");
}

} // namespace
} // namespace platform
