#include "TestSupport.h"
#include "catalogue/DataFiles.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

namespace catalogue {
namespace {

using testing_support::CrLf;
using testing_support::kSettings;
using testing_support::Scene;

// Two programs of a launcher in C:\Launcher, the rest of the 29 slots never filled.
void FillExample(Catalogue& cat) {
    cat.showall = kTrue;
    cat.progCount = 2;
    for (int pos = 0; pos < kSlotCount; ++pos) {
        cat.order[static_cast<std::size_t>(pos)] = static_cast<Int16>(pos < kDefaultCount ? pos : 0);
    }
    cat.order[0] = 1;
    cat.order[1] = 0;
    cat.progList[0] = {u"Sample Paint",
                       u"C:\\Apps\\Sample Paint\\paint.exe",
                       u"C:\\Launcher\\data\\paint.bmp",
                       u"Paint with brushes and stamps, 1 € each.",
                       u"C:\\Apps\\Sample Paint\\Videos\\player.exe",
                       kTrue};
    cat.progList[1] = {u"Sample Help", u"C:\\Launcher\\help\\index.htm", u"C:\\Launcher\\data\\help.bmp", u"", u"",
                       kFalse};
}

std::u16string ExpectedExampleText() {
    std::u16string text = CrLf({
        u"<programs>",
        u"<options showall='True' />",
        u"<order p0='1' p1='0' p2='2' p3='3' p4='4' p5='5' p6='6' p7='7' p8='8' p9='9' p10='10' p11='11' "
        u"p12='12' p13='13' p14='14' p15='15' p16='16' p17='17' p18='18' p19='19' p20='20' p21='21' p22='22' "
        u"p23='23' p24='24' p25='25' p26='26' p27='27' p28='28' />",
        u"<program name='Sample Paint' path='C:\\Apps\\Sample Paint\\paint.exe' show='T' "
        u"picpath='C:\\Launcher\\data\\paint.bmp ' desc='Paint with brushes and stamps, 1 € each. ' "
        u"videopath='C:\\Apps\\Sample Paint\\Videos\\player.exe ' />",
        u"<program name='Sample Help' path='C:\\Launcher\\help\\index.htm' show='F' "
        u"picpath='C:\\Launcher\\data\\help.bmp ' />",
    });
    for (int slot = 2; slot < kDefaultCount; ++slot) {
        text += CrLf({u"<program name='' path='' show='F' />"});
    }
    return text + CrLf({u"</programs>"});
}

TEST(SaveSettings, WritesThe33LineFormatToTheByte) {
    Scene scene;
    FillExample(scene.cat);
    scene.cat.progList[1].show = 1; // any value but True is written as F
    SaveSettings(scene.cat, scene.files);

    const auto written = scene.files.FileBytes(kSettings);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, scene.files.ToCodePage(ExpectedExampleText()));
    EXPECT_NE(written->find("1 \x80 each."), std::string::npos) << "written in the code page";
    EXPECT_EQ(std::count(written->begin(), written->end(), '\n'), 33);
    EXPECT_EQ(scene.files.Files().size(), 1u) << "no temporary file is left behind";
}

TEST(SaveSettings, RoundTripGivesTheSameCatalogueAndTheSameBytes) {
    // Regressions: a located executable under "Kid's Maths" was cut at the apostrophe when read back; picpath,
    // desc and videopath gained one trailing blank at every save; only slots 0 to 28 were written, so a
    // catalogue of 30 to 51 programs lost the rest; a name ending in " show=" hid the program.
    Scene scene;
    FillExample(scene.cat);
    scene.cat.showall = kFalse;
    scene.cat.progList[5] = {u"Kid's Maths show=",
                             u"C:\\Program Files\\Kid's Maths\\maths.exe",
                             u"C:\\p 'q'.bmp",
                             u"Count to ten. Then again.  ",
                             u"",
                             kTrue};
    scene.cat.progCount = kSlotCount;
    for (int id = kDefaultCount; id < kSlotCount; ++id) {
        scene.cat.progList[id] = {u"P" + platform::DecimalText(id), u"C:\\p.exe", u"", u"", u"", kTrue};
        scene.cat.order[id] = static_cast<Int16>(kSlotCount + kDefaultCount - 1 - id);
    }
    SaveSettings(scene.cat, scene.files);
    const std::string first = *scene.files.FileBytes(kSettings);
    EXPECT_NE(first.find("path='C:\\Program Files\\Kid&apos;s Maths\\maths.exe'"), std::string::npos);
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), kSlotCount + 4);

    Catalogue loaded;
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progCount, kSlotCount);
    EXPECT_EQ(loaded.showall, kFalse);
    EXPECT_EQ(loaded.order, scene.cat.order);
    EXPECT_EQ(loaded.progList, scene.cat.progList);

    // Saving what was read gives the same bytes again, however often it is done.
    for (int round = 0; round < 2; ++round) {
        SaveSettings(loaded, scene.files);
        EXPECT_EQ(*scene.files.FileBytes(kSettings), first);
        LoadSettings(loaded, scene.files);
    }
}

TEST(SaveSettings, AFailedWriteLeavesTheOldFileWhole) {
    const struct {
        const char* what;
        void (*apply)(platform::HeadlessFileSystem&, Catalogue&); // nullptr: there is no data folder
        bool written = false;
    } faults[] = {
        {"disk full half-way", [](platform::HeadlessFileSystem& fs, Catalogue&) { fs.SetWriteLimit(100); }},
        {"settings file read-only", [](platform::HeadlessFileSystem& fs, Catalogue&) { fs.SetUnwritable(kSettings); }},
        {"settings file locked", [](platform::HeadlessFileSystem& fs, Catalogue&) { fs.SetUnreadable(kSettings); }},
        // Regression: where only the settings file itself may be written, nothing was ever saved. It is
        // written in place then.
        {"data folder read-only",
         [](platform::HeadlessFileSystem& fs, Catalogue&) { fs.SetUnwritable(u"C:\\Launcher\\data"); }, true},
        {"data folder read-only, no settings file",
         [](platform::HeadlessFileSystem& fs, Catalogue&) {
             ASSERT_TRUE(fs.EraseFile(kSettings));
             fs.SetUnwritable(u"C:\\Launcher\\data");
         }},
        {"drive not ready", [](platform::HeadlessFileSystem& fs, Catalogue&) { fs.SetDriveNotReady(u"C:"); }},
        {"no data folder", nullptr},
        // Regression: a settings file held open by another program at start-up was replaced at exit by the
        // catalogue in memory, which never held the teacher's settings.
        {"unreadable at start-up, let go before the exit",
         [](platform::HeadlessFileSystem& fs, Catalogue& cat) {
             fs.SetUnreadable(kSettings);
             LoadSettings(cat, fs);
             fs.SetUnreadable(kSettings, false);
         }},
        {"programs not read, and the file read-only",
         [](platform::HeadlessFileSystem& fs, Catalogue& cat) {
             fs.AddFile(kSettings, "<programs>\n<program name='Teacher' path='C:\\t.exe' show='T' />\n");
             fs.SetUnwritable(kSettings);
             LoadSettings(cat, fs);
         }},
        {"programs not read, and no room to keep the file aside",
         [](platform::HeadlessFileSystem& fs, Catalogue& cat) {
             fs.AddFile(kSettings, "<programs>\n<program name='Teacher' path='C:\\t.exe' show='T' />\n");
             LoadSettings(cat, fs);
             fs.SetUnwritable(u"C:\\Launcher\\data");
         }},
        {"missing at start-up",
         [](platform::HeadlessFileSystem& fs, Catalogue& cat) {
             ASSERT_TRUE(fs.EraseFile(kSettings));
             LoadSettings(cat, fs);
         },
         true},
    };
    for (const auto& fault : faults) {
        const std::string old = "<programs>\r\n<program name='Teacher' path='C:\\t.exe' show='T' />\r\n</programs>\r\n";
        platform::HeadlessFileSystem files(u"C:\\Launcher");
        Catalogue cat;
        if (fault.apply) {
            files.AddFile(kSettings, old);
            fault.apply(files, cat);
        }
        FillExample(cat);
        const auto before = files.FileBytes(kSettings);

        SaveSettings(cat, files);

        EXPECT_EQ(files.FileBytes(kSettings), fault.written ? files.ToCodePage(SettingsText(cat)) : before)
            << fault.what;
        EXPECT_EQ(files.Files().size(), files.FileExists(kSettings) ? 1u : 0u)
            << fault.what << ": no temporary is left";
    }
}

// Regression: the new text always went to progdata.xml.new, so a folder of that name stopped every save, and
// two launchers leaving at once could delete or truncate each other's file and lose both saves.
TEST(SaveSettings, GoesThroughANewFileOfItsOwnAndRemovesOnlyItsOwnLeftovers) {
    Scene scene;
    const Text data = u"C:\\Launcher\\data\\";
    const Text held = data + u"progdata.xml.0000000000000001.tmp"; // another launcher is writing it
    const Text others[] = {held, data + u"progdata.xml.x.tmp", data + u"progdata.xml.00000000000000a.tmp",
                           data + u"progdata.xml.new", data + u"progdata.xml.0000000000000002.tmp.bak"};
    for (const Text& path : others) {
        scene.files.AddFile(path, "someone else's");
    }
    scene.files.SetUndeletable(held);
    scene.files.AddFile(data + u"PROGDATA.XML.00000000000000AB.TMP", "left over");
    scene.files.AddFolder(data + u"progdata.xml.00000000000000cd.tmp");
    FillExample(scene.cat);

    SaveSettings(scene.cat, scene.files); // its first name, ...0001, is taken: it takes ...0002

    EXPECT_EQ(scene.files.FileBytes(kSettings), scene.files.ToCodePage(SettingsText(scene.cat)));
    std::vector<Text> expected(std::begin(others), std::end(others));
    expected.push_back(kSettings);
    std::vector<Text> files = scene.files.Files();
    std::sort(expected.begin(), expected.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected);
}

// Regression: a file the reader took fewer programs from than it holds was replaced by the catalogue read
// from it at the exit, so the programs after an indented line, or all of a file with other line ends, were lost.
TEST(SaveSettings, KeepsAFileWithProgramsItCouldNotReadAside) {
    const std::string program = "<program name='A' path='C:\\a.exe' show='T' />";
    std::string forty = "<programs>\r\n";
    for (int i = 0; i < 40; ++i) {
        forty += (i == 29 ? " " : "") + program + "\r\n";
    }
    std::string utf16;
    for (const char c : "\xFF\xFE<programs>\r\n" + program + "\r\n</programs>\r\n") {
        utf16 += std::string{c, '\0'};
    }
    const struct {
        const char* what;
        std::string old;
        bool kept;
    } cases[] = {
        {"line feeds alone", "<programs>\n" + program + "\n</programs>\n", true},
        {"UTF-16", utf16, true},
        {"indented", "<programs>\r\n  " + program + "\r\n", true},
        {"40 programs, the 30th indented", forty, true},
        {"one line", "<programs><program name='A' /><PROGRAM name='B' /></programs>", true},
        // Regression: the defaults were written over programs below the empty marker.
        {"the empty marker above a program", "<empty/>\r\n" + program + "\r\n", true},
        {"a bracket and a blank, CR alone", "<programs>\r< program name='A' />\r" + program, false},
        {"all read, a bad line after them", "<programs>\r\n" + program + "\r\n  \r\n", false},
        {"programs in a value", "<program name='a <program b' desc='\r\n<programme' />\r\n", false},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.files.AddFile(kSettings, c.old);
        LoadCatalogue(scene.cat, scene.files);
        SaveSettings(scene.cat, scene.files);
        EXPECT_EQ(scene.files.FileBytes(kSettings), scene.files.ToCodePage(SettingsText(scene.cat))) << c.what;
        EXPECT_EQ(scene.files.FileBytes(Text(kSettings) + u".unread-1"),
                  c.kept ? std::optional<std::string>(c.old) : std::nullopt)
            << c.what;
    }

    // At most three are kept: the oldest goes.
    Scene scene;
    const Text kept = Text(kSettings) + u".unread-";
    for (const char16_t* n : {u"7", u"12", u"9", u"x"}) {
        scene.files.AddFile(kept + n, "old");
    }
    scene.files.AddFile(kSettings, "<programs>\n" + program);
    LoadSettings(scene.cat, scene.files);
    SaveSettings(scene.cat, scene.files);
    std::vector<Text> files = scene.files.Files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<Text>{kSettings, kept + u"12", kept + u"13", kept + u"9", kept + u"x"}));
    EXPECT_EQ(scene.files.FileBytes(kept + u"13"), "<programs>\n" + program);
}

// Regressions: a settings file over 1 MB (padded with blank lines) showed no tiles and was never rewritten;
// the largest catalogue was written as a file the launcher then refused to read.
TEST(SaveSettings, FilesOfAnySizeReadAndTheLargestCatalogueReadsBack) {
    Scene scene;
    FillExample(scene.cat);
    std::string padded = scene.files.ToCodePage(SettingsText(scene.cat)) + std::string(1100 * 1024, '\r');
    scene.files.AddFile(kSettings, padded);
    Catalogue loaded;
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progCount, kDefaultCount);
    EXPECT_EQ(loaded.progList, scene.cat.progList);
    SaveSettings(loaded, scene.files);
    EXPECT_EQ(scene.files.FileBytes(kSettings), scene.files.ToCodePage(SettingsText(scene.cat)));

    // Every value as long as it is kept, all apostrophes: each written in six bytes a character.
    const Text longest(kMaxValueChars, u'\'');
    scene.cat.progCount = kSlotCount;
    for (auto& program : scene.cat.progList) {
        program = {longest, longest, longest, longest, longest, kTrue};
    }
    SaveSettings(scene.cat, scene.files);
    EXPECT_GT(scene.files.FileBytes(kSettings)->size(), std::size_t{51} * 5 * 6 * kMaxValueChars);
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progCount, kSlotCount);
    EXPECT_EQ(loaded.progList, scene.cat.progList);
    EXPECT_FALSE(loaded.settingsPartlyRead);
}

// ---- reading ----

TEST(LoadSettings, CountsProgramLinesAndStopsAtLinesWithoutATag) {
    const std::u16string program = u"<program name='A' path='C:\\a.exe' show='T' />";
    std::u16string fiftyTwo = u"<programs>\r\n";
    for (int i = 0; i < 52; ++i) {
        fiftyTwo += program + u"\r\n";
    }
    const struct {
        const char* what;
        std::optional<std::u16string> text; // none: no settings file
        Int16 progCount;
        const char16_t* names; // of slots 0 to 2 after the load; each held "x" before it
        bool unreadable = false;
        Bool16 showall = kTrue; // True before the load
    } cases[] = {
        {"ten programs",
         CrLf({u"<programs>", program, program, program, program, program, program, program, program, program, program,
               u"</programs>"}),
         10, u"A|A|A"},
        {"empty line skipped", CrLf({u"<programs>", u"", program, u"</programs>"}), 1, u"A|x|x"},
        {"line of blanks stops, keeping what was read",
         CrLf({u"<program name='A' />", u"<program name='B' />", u"  ", u"<program name='C' />"}), 29, u"A|B|x"},
        {"indented line stops", CrLf({u"<programs>", u" " + program}), 29, u"x|x|x"},
        {"LF-only file is one line", u"<programs>\n" + program + u"\n</programs>\n", 0, u"x|x|x"},
        {"CR-only file", u"<programs>\r" + program + u"\r" + program + u"\r</programs>", 2, u"A|A|x"},
        {"empty file", u"", 0, u"x|x|x"},
        {"empty marker", CrLf({u"<empty/>"}), 0, u"x|x|x"},
        {"tag in capitals", CrLf({u"<PROGRAMS>", u"<PROGRAM name='A' />", u"</PROGRAMS>"}), 1, u"A|x|x"},
        {"bracket and blank", CrLf({u"< program name='A' />"}), 1, u"A|x|x"},
        {"52nd program line fails", fiftyTwo, 29, u"A|A|A"},
        {"unknown tags ignored", CrLf({u"<programs>", u"<note text='x' />", program}), 1, u"A|x|x"},
        {"ids follow the lines", CrLf({u"<order p0='0' p1='1' />", u"<program name='B' />", program}), 2, u"B|A|x"},
        {"no file", std::nullopt, 29, u"x|x|x"},
        {"unreadable file", CrLf({program}), 29, u"x|x|x", true},
        {"showall True", CrLf({u"<options showall='True' />"}), 0, u"x|x|x", false, kTrue},
        {"showall False", CrLf({u"<options showall='False' />"}), 0, u"x|x|x", false, kFalse},
        {"showall true", CrLf({u"<options showall='true' />"}), 0, u"x|x|x", false, kFalse},
        {"the last showall", CrLf({u"<options showall='True' />", u"<options showall='False' />"}), 0, u"x|x|x", false,
         kFalse},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.cat.showall = kTrue;
        for (auto& slot : scene.cat.progList) {
            slot.name = u"x";
        }
        if (c.text) {
            scene.files.AddTextFile(kSettings, *c.text);
            scene.files.SetUnreadable(kSettings, c.unreadable);
        }
        LoadSettings(scene.cat, scene.files);
        EXPECT_EQ(scene.cat.progCount, c.progCount) << c.what;
        const auto& list = scene.cat.progList;
        EXPECT_EQ(list[0].name + u"|" + list[1].name + u"|" + list[2].name, c.names) << c.what;
        EXPECT_EQ(scene.cat.showall, c.showall) << c.what;
    }
}

TEST(LoadSettings, ReadsEachFieldByItsExactSpelling) {
    Scene scene;
    scene.files.AddTextFile(kSettings,
                            CrLf({
                                u"<options showall='True' />",
                                u"<program name='A' path='C:\\a.exe' show='T' picpath='C:\\a.bmp ' desc='Hi. ' "
                                u"videopath='C:\\v.exe  ' />",
                                u"<program NAME='B' PATH='C:\\b.exe' SHOW='T' />",
                                u"<program name=\"C\" show='t' />",
                                u"<program name='D' show='True' />",
                                u"<program name='E' desc='It's mine' />",
                            }));
    LoadSettings(scene.cat, scene.files);
    const auto& list = scene.cat.progList;
    EXPECT_EQ(list[0], (ProgramRecord{u"A", u"C:\\a.exe", u"C:\\a.bmp", u"Hi.", u"C:\\v.exe ", kTrue}));
    EXPECT_EQ(list[1], ProgramRecord{}) << "attribute names in capitals are not found";
    EXPECT_EQ(list[2], ProgramRecord{}) << "double quotes are not found; lower-case t is False";
    EXPECT_EQ(list[3], (ProgramRecord{u"D", u"", u"", u"", u"", kFalse}));
    EXPECT_EQ(list[4].desc, u"It") << "an unescaped apostrophe still ends the value";
    EXPECT_EQ(scene.cat.showall, kTrue);
}

} // namespace
} // namespace catalogue
