#include "TestSupport.h"
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
                       u"Paint with brushes and stamps.",
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
        u"picpath='C:\\Launcher\\data\\paint.bmp ' desc='Paint with brushes and stamps. ' "
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
    SaveSettings(scene.cat, scene.files);

    const auto written = scene.files.FileBytes(kSettings);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(*written, scene.files.ToCodePage(ExpectedExampleText()));
    EXPECT_EQ(std::count(written->begin(), written->end(), '\n'), 33);
    EXPECT_EQ(scene.files.Files().size(), 1u) << "no temporary file is left behind";
}

TEST(SaveSettings, WritesTextInTheCodePageAndOnlyExactTrueAsT) {
    Scene scene;
    scene.cat.progCount = 1;
    scene.cat.progList[0] = {u"Café €", u"C:\\x.exe", u"", u"", u"", 1};
    SaveSettings(scene.cat, scene.files);
    const std::string bytes = *scene.files.FileBytes(kSettings);
    EXPECT_NE(bytes.find("<program name='Caf\xE9 \x80' path='C:\\x.exe' show='F' />\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("<options showall='False' />"), std::string::npos);
}

TEST(SaveSettings, RoundTripGivesTheSameCatalogueAndTheSameBytes) {
    Scene scene;
    FillExample(scene.cat);
    scene.cat.progList[5] = {u"Kid's Maths",
                             u"C:\\Program Files\\Kid's Maths\\maths.exe",
                             u"C:\\p 'q'.bmp",
                             u"Count to ten. Then again.  ",
                             u"",
                             kTrue};
    SaveSettings(scene.cat, scene.files);
    const std::string first = *scene.files.FileBytes(kSettings);

    Catalogue loaded;
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progCount, kDefaultCount);
    EXPECT_EQ(loaded.showall, kTrue);
    EXPECT_EQ(loaded.order, scene.cat.order);
    for (int id = 0; id < kDefaultCount; ++id) {
        ProgramRecord expected = scene.cat.progList[static_cast<std::size_t>(id)];
        if (!expected.videopath.empty()) {
            expected.videopath += u' '; // the writer's blank stays on the video path until TrimPaths
        }
        EXPECT_EQ(loaded.progList[static_cast<std::size_t>(id)], expected) << "slot " << id;
    }

    // Saving what was read gives the same bytes again, however often it is done.
    loaded.progCount = scene.cat.progCount;
    TrimPaths(loaded);
    SaveSettings(loaded, scene.files);
    EXPECT_EQ(*scene.files.FileBytes(kSettings), first);
}

TEST(SaveSettings, ApostropheInAValueSurvivesTheNextStart) {
    // Regression: a located executable under "Kid's Maths" was cut at the apostrophe when read back.
    Scene scene;
    scene.cat.progCount = 1;
    scene.cat.progList[0].path = u"C:\\Program Files\\Kid's Maths\\maths.exe";
    SaveSettings(scene.cat, scene.files);
    EXPECT_NE(scene.files.FileBytes(kSettings)->find("path='C:\\Program Files\\Kid&apos;s Maths\\maths.exe'"),
              std::string::npos);
    Catalogue loaded;
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progList[0].path, u"C:\\Program Files\\Kid's Maths\\maths.exe");
}

TEST(SaveSettings, PicturePathAndDescriptionDoNotGrowAtEverySave) {
    // Regression: picpath and desc gained one trailing blank per save.
    Scene scene;
    scene.cat.progCount = 1;
    scene.cat.progList[0] = {u"A", u"C:\\a.exe", u"C:\\a.bmp", u"Ends in a blank ", u"C:\\v.exe", kTrue};
    for (int round = 0; round < 3; ++round) {
        SaveSettings(scene.cat, scene.files);
        LoadSettings(scene.cat, scene.files);
        TrimPaths(scene.cat);
    }
    EXPECT_EQ(scene.cat.progList[0].picpath, u"C:\\a.bmp");
    EXPECT_EQ(scene.cat.progList[0].desc, u"Ends in a blank ");
    EXPECT_EQ(scene.cat.progList[0].videopath, u"C:\\v.exe");
}

TEST(SaveSettings, KeepsProgramsBeyondTheTwentyNinth) {
    // Regression: only slots 0 to 28 were written, so a catalogue of 30 to 51 programs lost the rest.
    Scene scene;
    scene.cat.progCount = kSlotCount;
    for (int id = 0; id < kSlotCount; ++id) {
        scene.cat.progList[static_cast<std::size_t>(id)] = {
            u"P" + platform::DecimalText(id), u"C:\\p.exe", u"", u"", u"", kTrue};
        scene.cat.order[static_cast<std::size_t>(id)] = static_cast<Int16>(kSlotCount - 1 - id);
    }
    SaveSettings(scene.cat, scene.files);
    const auto text = *scene.files.FileText(kSettings);
    EXPECT_EQ(std::count(text.begin(), text.end(), u'\n'), kSlotCount + 4);
    EXPECT_NE(text.find(u"p50='0' />"), std::u16string::npos);

    Catalogue loaded;
    LoadSettings(loaded, scene.files);
    EXPECT_EQ(loaded.progCount, kSlotCount);
    EXPECT_EQ(loaded.order, scene.cat.order);
    EXPECT_EQ(loaded.progList[50].name, u"P50");
}

TEST(SaveSettings, AFailedWriteLeavesTheOldFileWhole) {
    struct Fault {
        const char* what;
        void (*apply)(platform::HeadlessFileSystem&);
    };
    const Fault faults[] = {
        {"disk full half-way", [](platform::HeadlessFileSystem& fs) { fs.SetWriteLimit(100); }},
        {"settings file read-only", [](platform::HeadlessFileSystem& fs) { fs.SetUnwritable(kSettings); }},
        {"settings file locked", [](platform::HeadlessFileSystem& fs) { fs.SetUnreadable(kSettings); }},
        {"data folder read-only", [](platform::HeadlessFileSystem& fs) { fs.SetUnwritable(u"C:\\Launcher\\data"); }},
        {"drive not ready", [](platform::HeadlessFileSystem& fs) { fs.SetDriveNotReady(u"C:"); }},
    };
    for (const auto& fault : faults) {
        Scene scene;
        const std::string old = "<programs>\r\n<program name='Teacher' path='C:\\t.exe' show='T' />\r\n</programs>\r\n";
        scene.files.AddFile(kSettings, old);
        fault.apply(scene.files);
        FillExample(scene.cat);

        SaveSettings(scene.cat, scene.files);

        EXPECT_EQ(scene.files.FileBytes(kSettings), old) << fault.what;
        EXPECT_EQ(scene.files.Files().size(), 1u) << fault.what << ": the temporary file is removed";
    }
}

TEST(SaveSettings, MissingDataFolderWritesNothing) {
    platform::HeadlessFileSystem files(u"C:\\Launcher");
    Catalogue cat;
    FillExample(cat);
    SaveSettings(cat, files);
    EXPECT_TRUE(files.Files().empty());
}

// ---- reading ----

struct LoadCase {
    const char* what;
    std::u16string text;
    Int16 progCount;
};

TEST(LoadSettings, CountsProgramLinesAndStopsAtLinesWithoutATag) {
    const std::u16string program = u"<program name='A' path='C:\\a.exe' show='T' />";
    std::u16string fiftyTwo = u"<programs>\r\n";
    for (int i = 0; i < 52; ++i) {
        fiftyTwo += program + u"\r\n";
    }
    const LoadCase cases[] = {
        {"ten programs",
         CrLf({u"<programs>", program, program, program, program, program, program, program, program, program, program,
               u"</programs>"}),
         10},
        {"empty line skipped", CrLf({u"<programs>", u"", program, u"</programs>"}), 1},
        {"line of blanks stops", CrLf({u"<programs>", program, u"   ", program}), 29},
        {"indented line stops", CrLf({u"<programs>", u" " + program}), 29},
        {"LF-only file is one line", u"<programs>\n" + program + u"\n</programs>\n", 0},
        {"CR-only file", u"<programs>\r" + program + u"\r" + program + u"\r</programs>", 2},
        {"empty file", u"", 0},
        {"empty marker", CrLf({u"<empty/>"}), 0},
        {"tag in capitals", CrLf({u"<PROGRAMS>", u"<PROGRAM name='A' />", u"</PROGRAMS>"}), 1},
        {"bracket and blank", CrLf({u"< program name='A' />"}), 1},
        {"52nd program line fails", fiftyTwo, 29},
        {"unknown tags ignored", CrLf({u"<programs>", u"<note text='x' />", program}), 1},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.files.AddTextFile(kSettings, c.text);
        LoadSettings(scene.cat, scene.files);
        EXPECT_EQ(scene.cat.progCount, c.progCount) << c.what;
    }
}

TEST(LoadSettings, ReadsEachFieldByItsExactSpelling) {
    Scene scene;
    scene.files.AddTextFile(kSettings,
                            CrLf({
                                u"<options showall='True' />",
                                u"<program name='A' path='C:\\a.exe' show='T' picpath='C:\\a.bmp ' desc='Hi. ' "
                                u"videopath='C:\\v.exe ' />",
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

TEST(LoadSettings, ShowallIsTrueOnlyForExactlyTrueAndTheLastLineWins) {
    const struct {
        const char16_t* lines;
        Bool16 showall;
    } cases[] = {
        {u"<options showall='True' />\r\n", kTrue},
        {u"<options showall='False' />\r\n", kFalse},
        {u"<options showall='true' />\r\n", kFalse},
        {u"<options showall='True' />\r\n<options showall='False' />\r\n", kFalse},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.cat.showall = kTrue;
        scene.files.AddTextFile(kSettings, c.lines);
        LoadSettings(scene.cat, scene.files);
        EXPECT_EQ(scene.cat.showall, c.showall) << platform::ToUtf8(c.lines);
    }
}

TEST(LoadSettings, KeepsWhatTheFileDoesNotReach) {
    Scene scene;
    scene.cat.showall = kTrue;
    scene.cat.order.fill(4);
    scene.cat.progList[1].name = u"kept";
    scene.files.AddTextFile(kSettings, CrLf({u"<program name='A' />", u"<order p0='1' p10='3' />"}));
    LoadSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList[1].name, u"kept");
    EXPECT_EQ(scene.cat.showall, kTrue) << "no options line";
    EXPECT_EQ(scene.cat.order[10], 3);
    EXPECT_EQ(scene.cat.order[11], 0) << "positions the order line does not name become 0";
}

TEST(LoadSettings, AMissingOrUnreadableFileGives29AndKeepsTheCatalogue) {
    for (const bool exists : {false, true}) {
        Scene scene;
        scene.cat.progList[0].name = u"built in";
        if (exists) {
            scene.files.AddTextFile(kSettings, CrLf({u"<program name='A' />"}));
            scene.files.SetUnreadable(kSettings);
        }
        LoadSettings(scene.cat, scene.files);
        EXPECT_EQ(scene.cat.progCount, 29);
        EXPECT_EQ(scene.cat.progList[0].name, u"built in");
    }
}

TEST(LoadSettings, AFailureKeepsWhatWasReadBeforeIt) {
    Scene scene;
    scene.files.AddTextFile(kSettings,
                            CrLf({u"<program name='A' />", u"<program name='B' />", u"  ", u"<program name='C' />"}));
    LoadSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progCount, 29);
    EXPECT_EQ(scene.cat.progList[1].name, u"B");
    EXPECT_EQ(scene.cat.progList[2].name, u"");
}

TEST(LoadSettings, SwappingTwoLinesSwapsTheirIds) {
    Scene scene;
    scene.files.AddTextFile(kSettings,
                            CrLf({u"<order p0='0' p1='1' />", u"<program name='B' />", u"<program name='A' />"}));
    LoadSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progList[scene.cat.order[0]].name, u"B");
}

} // namespace
} // namespace catalogue

namespace catalogue {
namespace {

TEST(SaveSettings, AFileThatCouldNotBeReadIsNeverOverwritten) {
    // Regression: a settings file held open by another program at start-up was replaced at exit by the
    // catalogue in memory, which never held the teacher's settings.
    testing_support::Scene scene;
    const std::string teacher = "<programs>\r\n<program name='Teacher' path='C:\\t.exe' show='T' />\r\n</programs>\r\n";
    scene.files.AddFile(kSettings, teacher);
    scene.files.SetUnreadable(kSettings);
    LoadSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progCount, 29);

    scene.files.SetUnreadable(kSettings, false); // the other program lets go before the exit
    SaveSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.files.FileBytes(kSettings), teacher);

    // A file that is simply missing is still written.
    ASSERT_TRUE(scene.files.EraseFile(kSettings));
    LoadSettings(scene.cat, scene.files);
    SaveSettings(scene.cat, scene.files);
    EXPECT_TRUE(scene.files.FileExists(kSettings));
}

} // namespace
} // namespace catalogue
