// The contract of platform::FileSystem: one set of tables that every backend passes, run over the headless
// test double on the host (FileSystemContractTest.cpp) and over the Win32 backend on a real disk under Wine
// (tests/win32/Win32FileSystemTest.cpp), so that the double names, reads and writes files as Windows does.
//
// A backend instantiates FileSystemContract with a Disk that gives the file system under test, Files(); an
// empty writable scratch folder, Folder(); a drive letter with no drive behind it, MissingDrive() ("Q:");
// and, without the file system under test, as another program would: PutFile, PutFolder, MakeReadOnly,
// Bytes (a file's content, nothing when it cannot be read) and Names (the names of the files in the
// scratch folder, as stored).
#pragma once

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace platform {

// Reads without a limit.
inline constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();

template <typename Disk>
class FileSystemContract : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(disk.Folder().empty()) << "no scratch folder"; }
    Text In(TextView name) const { return disk.Folder() + u"\\" + Text(name); }

    Disk disk;
    FileSystem& files = disk.Files();
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, LooksUpAndReadsFilesByTheirWindowsNames) {
    using namespace std::string_literals;
    this->disk.PutFile(this->In(u"Report.TXT"), "Report.TXT"); // each file holds its own name
    this->disk.PutFolder(this->In(u"Sub"));
    this->disk.PutFile(this->In(u"Sub\\inner.dat"), "inner.dat");
    const struct {
        const char16_t* path; // inside the scratch folder
        const char16_t* name; // as the lookup gives it
    } found[] = {
        {u"Report.TXT", u"Report.TXT"},
        {u"report.txt", u"Report.TXT"}, // names match without regard to case, and come back as stored
        {u"REPORT.txt   ", u"Report.TXT"},
        {u"Report.TXT.", u"Report.TXT"}, // the dots and blanks at the end of a path are dropped
        {u"Report.TXT. .", u"Report.TXT"},
        {u"SUB\\INNER.DAT ", u"inner.dat"},
    };
    for (const auto& c : found) {
        const FileLookup lookup = this->files.LookupFile(this->In(c.path));
        EXPECT_EQ(lookup.status, LookupStatus::Found) << ToUtf8(c.path);
        EXPECT_EQ(lookup.name, c.name) << ToUtf8(c.path);
        EXPECT_EQ(this->files.ReadFileBytes(this->In(c.path), kWhole), ToUtf8(c.name)) << ToUtf8(c.path);
    }
    // Blanks at the start count; a trailing backslash names a folder, and a folder is no file. Wildcards never
    // match, although each of these would find Report.TXT as a pattern.
    const TextView absent[] = {
        u"nothere.txt", u" Report.TXT",  u"Missing\\inner.dat", u"Report.TXT\\x", u"Report.TXT\\", u"Sub",
        u"Sub  ",       u"Sub\\",        u"Report.TX?",         u"*.txt",         u"Rep*",         u"Report.TX>",
        u"Report<",     u"Report.TXT\"", u"Su?\\inner.dat"};
    for (const TextView path : absent) {
        EXPECT_EQ(this->files.LookupFile(this->In(path)).status, LookupStatus::Absent) << ToUtf8(path);
        EXPECT_FALSE(this->files.ReadFileBytes(this->In(path), kWhole).has_value()) << ToUtf8(path);
    }
    // Nor is anything found or written where no file can be: the wide API would stop at the NUL.
    for (const Text& path :
         {Text(), Text(u"   "), this->disk.MissingDrive() + u"\\Programs\\maths.exe", this->In(u"Report.TXT\0.bak"s)}) {
        EXPECT_EQ(this->files.LookupFile(path).status, LookupStatus::Absent) << ToUtf8(path);
        EXPECT_FALSE(this->files.ReadFileBytes(path, kWhole).has_value()) << ToUtf8(path);
        EXPECT_FALSE(this->files.WriteFileBytes(path, "x")) << ToUtf8(path);
    }
}

TYPED_TEST_P(FileSystemContract, WritesWholeFilesUnderTheNamesWindowsGivesThem) {
    using namespace std::string_literals;
    this->disk.PutFile(this->In(u"Report.TXT"), "a much longer old content\r\n");
    this->disk.PutFolder(this->In(u"Sub"));
    std::string big(3 * (1 << 20) + 7, '\0'); // more than one chunk of the Win32 backend's reads and writes
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 31 + i / 4096);
    }
    const struct {
        const char16_t* path;
        std::string bytes;
        const char16_t* stored; // the name the file then has
    } cases[] = {
        {u"new.xml", "a\r\nb\rc\n\0d\xff\x80\x1a end"s, u"new.xml"},
        {u"empty.xml", "", u"empty.xml"},
        {u"big.bin", big, u"big.bin"},
        {u"Report.TXT", "new", u"Report.TXT"}, // a longer file is replaced whole
        {u"REPORT.txt", "newer", u"Report.TXT"},
        {u"dot.xml.", "d", u"dot.xml"},
        {u"blank.xml  ", "b", u"blank.xml"},
    };
    for (const auto& c : cases) {
        std::set<Text> names = this->disk.Names();
        names.insert(c.stored);
        EXPECT_TRUE(this->files.WriteFileBytes(this->In(c.path), c.bytes)) << ToUtf8(c.path);
        EXPECT_EQ(this->disk.Bytes(this->In(c.stored)), c.bytes) << ToUtf8(c.path);
        // A file is read up to a limit of its own size, and refused whole one byte below it.
        EXPECT_EQ(this->files.ReadFileBytes(this->In(c.path), c.bytes.size()), c.bytes) << ToUtf8(c.path);
        if (!c.bytes.empty()) {
            EXPECT_FALSE(this->files.ReadFileBytes(this->In(c.path), c.bytes.size() - 1)) << ToUtf8(c.path);
        }
        EXPECT_EQ(this->disk.Names(), names) << ToUtf8(c.path);
    }
    // Refused, and nothing is made: a write never makes a folder.
    const std::set<Text> names = this->disk.Names();
    for (const TextView path :
         {u"slash.xml\\", u"Missing\\new.xml", u"Sub", u"q?.xml", u"q*.xml", u"q<.xml", u"q>.xml", u"q\".xml"}) {
        EXPECT_FALSE(this->files.WriteFileBytes(this->In(path), "x")) << ToUtf8(path);
    }
    EXPECT_EQ(this->disk.Names(), names);
}

// Moves and deletions, one after the other in one folder, and what the folder then holds. A move replaces
// the target in one step or does nothing; a read-only file is read but never changed.
TYPED_TEST_P(FileSystemContract, MovesAndDeletesOnlyWhatTheyMay) {
    this->disk.PutFolder(this->In(u"Sub"));
    for (const char16_t* name : {u"a.tmp", u"old.xml", u"c.tmp", u"d.tmp", u"keep.xml", u"n.tmp", u"W1.tmp"}) {
        this->disk.PutFile(this->In(name), ToUtf8(name));
    }
    this->disk.MakeReadOnly(this->In(u"keep.xml"));
    const struct {
        const char16_t* path;
        const char16_t* target; // where to move it; nullptr: delete it
        bool done;
    } steps[] = {
        {u"a.tmp", u"old.xml", true},     {u"c.tmp", u"b.xml.", true},
        {u"gone.tmp", u"old.xml", false}, {u"d.tmp", u"Missing\\d.xml", false},
        {u"d.tmp", u"Sub", false},        {u"d.tmp", u"d.xml\\", false},
        {u"d.tmp", u"d?.xml", false},     {u"n.tmp", u"keep.xml", false},
        {u"keep.xml", nullptr, false},    {u"B.XML.", nullptr, true},
        {u"b.xml", nullptr, false},       {u"d.tmp\\", nullptr, false},
        {u"Sub", nullptr, false},         {u"W*.tmp", nullptr, false},
    };
    for (const auto& step : steps) {
        const bool done = step.target ? this->files.MoveFileOver(this->In(step.path), this->In(step.target))
                                      : this->files.EraseFile(this->In(step.path));
        EXPECT_EQ(done, step.done) << ToUtf8(step.path) << " to " << (step.target ? ToUtf8(step.target) : "nothing");
    }
    EXPECT_FALSE(this->files.WriteFileBytes(this->In(u"keep.xml"), "changed"));
    for (const char16_t* name : {u"old.xml", u"keep.xml", u"b.xml", u"Sub"}) { // only the first may be written
        EXPECT_EQ(this->files.CanWriteFile(this->In(name)), name == Text(u"old.xml")) << ToUtf8(name);
    }
    EXPECT_EQ(this->files.ReadFileBytes(this->In(u"keep.xml"), kWhole), "keep.xml");
    EXPECT_EQ(this->disk.Names(), (std::set<Text>{u"old.xml", u"d.tmp", u"keep.xml", u"n.tmp", u"W1.tmp"}));
    for (const char16_t* name : {u"old.xml", u"d.tmp", u"keep.xml", u"n.tmp"}) {
        EXPECT_EQ(this->disk.Bytes(this->In(name)), ToUtf8(Text(name) == u"old.xml" ? u"a.tmp" : name)) << ToUtf8(name);
    }
}

// A new file is made only where no file or folder has the name; a listing gives the files by the start of
// their names, as stored.
TYPED_TEST_P(FileSystemContract, MakesOnlyNewFilesAndListsTheFilesOfAFolder) {
    this->disk.PutFile(this->In(u"Taken.tmp"), "old");
    this->disk.PutFolder(this->In(u"dir.tmp"));
    const struct {
        const char16_t* path;
        CreateResult result;
    } cases[] = {
        {u"new.tmp", CreateResult::Written},       {u"empty.tmp", CreateResult::Written},
        {u"TAKEN.tmp", CreateResult::Exists},      {u"dir.tmp", CreateResult::Exists},
        {u"Missing\\n.tmp", CreateResult::Failed}, {u"q?.tmp", CreateResult::Failed},
    };
    for (const auto& c : cases) {
        const std::string bytes = c.path == Text(u"empty.tmp") ? "" : "new";
        EXPECT_EQ(this->files.WriteNewFile(this->In(c.path), bytes), c.result) << ToUtf8(c.path);
        if (c.result != CreateResult::Exists) {
            const bool written = c.result == CreateResult::Written;
            EXPECT_EQ(this->disk.Bytes(this->In(c.path)), written ? std::optional(bytes) : std::nullopt)
                << ToUtf8(c.path);
        }
    }
    EXPECT_EQ(this->disk.Bytes(this->In(u"Taken.tmp")), "old");
    const auto list = [this](TextView folder, TextView prefix) {
        const std::vector<Text> names = this->files.ListFiles(folder, prefix);
        return std::set<Text>(names.begin(), names.end());
    };
    EXPECT_EQ(list(this->disk.Folder(), u""), (std::set<Text>{u"new.tmp", u"empty.tmp", u"Taken.tmp"}));
    EXPECT_EQ(list(this->disk.Folder(), u"t"), (std::set<Text>{u"Taken.tmp"}));
    EXPECT_EQ(list(this->disk.Folder(), u"NEW."), (std::set<Text>{u"new.tmp"}));
    EXPECT_TRUE(list(this->In(u"Missing"), u"").empty());
    EXPECT_NE(this->files.UniqueNumber(), this->files.UniqueNumber());
}

// The tests run in the Windows-1252 code page (LC_ALL=C under Wine).
TYPED_TEST_P(FileSystemContract, ConvertsTheWindows1252CodePageBothWays) {
    using namespace std::string_literals;
    const struct {
        Text text;
        std::string bytes;
    } cases[] = {
        {u"", ""},
        {u"Caf\u00e9 \u00bd", "Caf\xe9 \xbd"},
        {u"\u20ac \u201cquoted\u201d \u2013 \u0178", "\x80 \x93quoted\x94 \x96 \x9f"}, // the 0x80-0x9F block
        {u"\u0081\u008d", "\x81\x8d"}, // its unassigned bytes are the control characters of the same value
        {u"line\r\nend\0x"s, "line\r\nend\0x"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(this->files.ToCodePage(c.text), c.bytes) << ToUtf8(c.text);
        EXPECT_EQ(this->files.FromCodePage(c.bytes), c.text) << ToUtf8(c.text);
    }
    // Characters outside the code page become '?', never a look-alike; a character of two code units is one.
    EXPECT_EQ(this->files.ToCodePage(u"\u4e2d a\u221eb\u0100c x\U0001F600y"), "? a?b?c x?y");
    std::string all(256, '\0');
    for (int i = 0; i < 256; ++i) {
        all[static_cast<std::size_t>(i)] = static_cast<char>(i);
    }
    EXPECT_EQ(this->files.ToCodePage(this->files.FromCodePage(all)), all);
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, LooksUpAndReadsFilesByTheirWindowsNames,
                            WritesWholeFilesUnderTheNamesWindowsGivesThem, MovesAndDeletesOnlyWhatTheyMay,
                            MakesOnlyNewFilesAndListsTheFilesOfAFolder, ConvertsTheWindows1252CodePageBothWays);

} // namespace platform
