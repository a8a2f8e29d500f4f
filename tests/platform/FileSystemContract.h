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

#include <optional>
#include <set>
#include <string>

namespace platform {

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
        EXPECT_EQ(this->files.ReadFileBytes(this->In(c.path)), ToUtf8(c.name)) << ToUtf8(c.path);
    }
    // Blanks at the start count; a trailing backslash names a folder, and a folder is no file. Wildcards never
    // match, although each of these would find Report.TXT as a pattern.
    const TextView absent[] = {
        u"nothere.txt", u" Report.TXT",  u"Missing\\inner.dat", u"Report.TXT\\x", u"Report.TXT\\", u"Sub",
        u"Sub  ",       u"Sub\\",        u"Report.TX?",         u"*.txt",         u"Rep*",         u"Report.TX>",
        u"Report<",     u"Report.TXT\"", u"Su?\\inner.dat"};
    for (const TextView path : absent) {
        EXPECT_EQ(this->files.LookupFile(this->In(path)).status, LookupStatus::Absent) << ToUtf8(path);
        EXPECT_FALSE(this->files.ReadFileBytes(this->In(path)).has_value()) << ToUtf8(path);
    }
    // Nor is anything found or written where no file can be: the wide API would stop at the NUL.
    for (const Text& path :
         {Text(), Text(u"   "), this->disk.MissingDrive() + u"\\Programs\\maths.exe", this->In(u"Report.TXT\0.bak"s)}) {
        EXPECT_EQ(this->files.LookupFile(path).status, LookupStatus::Absent) << ToUtf8(path);
        EXPECT_FALSE(this->files.ReadFileBytes(path).has_value()) << ToUtf8(path);
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
        EXPECT_EQ(this->files.ReadFileBytes(this->In(c.path)), c.bytes) << ToUtf8(c.path);
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

TYPED_TEST_P(FileSystemContract, MovesReplaceTheTargetInOneStepOrNotAtAll) {
    this->disk.PutFolder(this->In(u"Sub"));
    const struct {
        const char16_t* source; // a file holding "new", unless its name begins with "gone"
        const char16_t* target; // a file holding "old", when its name begins with "old"
        const char16_t* moved;  // the name the target then has; nullptr: the move fails
    } cases[] = {
        {u"a.tmp", u"old a.xml", u"old a.xml"}, {u"b.tmp", u"b.xml", u"b.xml"},         {u"c.tmp", u"c.xml.", u"c.xml"},
        {u"gone.tmp", u"old d.xml", nullptr},   {u"e.tmp", u"Missing\\e.xml", nullptr}, {u"f.tmp", u"Sub", nullptr},
        {u"g.tmp", u"g.xml\\", nullptr},        {u"h.tmp", u"h?.xml", nullptr},
    };
    for (const auto& c : cases) {
        const Text source = this->In(c.source), target = this->In(c.target);
        const bool hasSource = !Text(c.source).starts_with(u"gone"), hasTarget = Text(c.target).starts_with(u"old");
        if (hasSource) {
            this->disk.PutFile(source, "new");
        }
        if (hasTarget) {
            this->disk.PutFile(target, "old");
        }
        EXPECT_EQ(this->files.MoveFileOver(source, target), c.moved != nullptr) << ToUtf8(c.target);
        EXPECT_EQ(this->disk.Bytes(source), c.moved || !hasSource ? std::nullopt : std::optional<std::string>("new"))
            << ToUtf8(c.target);
        if (c.moved) {
            EXPECT_EQ(this->disk.Bytes(this->In(c.moved)), "new") << ToUtf8(c.target);
        } else if (hasTarget) {
            EXPECT_EQ(this->disk.Bytes(target), "old") << ToUtf8(c.target);
        }
    }
}

TYPED_TEST_P(FileSystemContract, ErasesOnlyTheFileNamed) {
    this->disk.PutFolder(this->In(u"Sub"));
    for (const char16_t* name : {u"a.tmp", u"b.tmp", u"c.tmp", u"W1.tmp"}) {
        this->disk.PutFile(this->In(name), "x");
    }
    const struct {
        const char16_t* path;
        bool erased;
    } cases[] = {
        {u"a.tmp", true},    {u"a.tmp", false}, {u"B.TMP.", true},
        {u"c.tmp\\", false}, {u"Sub", false},   {u"W*.tmp", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(this->files.EraseFile(this->In(c.path)), c.erased) << ToUtf8(c.path);
    }
    EXPECT_EQ(this->disk.Names(), (std::set<Text>{u"c.tmp", u"W1.tmp"}));
}

TYPED_TEST_P(FileSystemContract, AReadOnlyFileIsReadButNeverChanged) {
    this->disk.PutFile(this->In(u"keep.xml"), "keep");
    this->disk.PutFile(this->In(u"new.tmp"), "new");
    this->disk.MakeReadOnly(this->In(u"keep.xml"));
    EXPECT_FALSE(this->files.WriteFileBytes(this->In(u"keep.xml"), "changed"));
    EXPECT_FALSE(this->files.MoveFileOver(this->In(u"new.tmp"), this->In(u"keep.xml")));
    EXPECT_FALSE(this->files.EraseFile(this->In(u"keep.xml")));
    EXPECT_EQ(this->files.ReadFileBytes(this->In(u"keep.xml")), "keep");
    EXPECT_EQ(this->disk.Bytes(this->In(u"keep.xml")), "keep");
    EXPECT_EQ(this->disk.Bytes(this->In(u"new.tmp")), "new");
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
                            WritesWholeFilesUnderTheNamesWindowsGivesThem, MovesReplaceTheTargetInOneStepOrNotAtAll,
                            ErasesOnlyTheFileNamed, AReadOnlyFileIsReadButNeverChanged,
                            ConvertsTheWindows1252CodePageBothWays);

} // namespace platform
