#include "app/Startup.h"
#include "TestSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace app {
namespace {

using catalogue::kTrue;
using testing_support::CrLf;
using testing_support::kSettings;
using testing_support::Scene;

// 1024 x 768 pixels at 15 twips per pixel.
constexpr platform::ScreenInfo kScreen{1024 * 15.0, 768 * 15.0, 15, 15};

std::vector<std::u16string> SettingsLines(const platform::HeadlessFileSystem& files) {
    return catalogue::SplitLines(files.FileText(kSettings).value_or(u""));
}

long CountContaining(const std::vector<std::u16string>& lines, std::u16string_view piece) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const auto& line) { return line.find(piece) != std::u16string::npos; });
}

TEST(EnsureSettingsFile, FirstStartWritesExactlyTheDefaultCatalogue) {
    Scene scene;
    scene.cat.progCount = 35; // a bigger catalogue, as before a reset: its extra slots are not written back
    scene.cat.progList[30].name = u"Extra";
    catalogue::EnsureSettingsFile(scene.cat, scene.files);

    const auto lines = SettingsLines(scene.files);
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[1], u"<options showall='True' />");
    EXPECT_EQ(lines[2].rfind(u"<order p0='28' p1='5' ", 0), 0u);
    EXPECT_EQ(CountContaining(lines, u"<program name='"), 29);
    EXPECT_EQ(CountContaining(lines, u"show='T'"), 29);
    EXPECT_EQ(CountContaining(lines, u" videopath='"), 19) << "ten defaults have no video player";
    EXPECT_EQ(scene.cat.progCount, 35) << "the load that follows sets the count";
    catalogue::LoadSettings(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progCount, 29);
}

TEST(EnsureSettingsFile, RebuildsOnlyForTheExactEmptyMarker) {
    const struct {
        const char* what;
        std::u16string text;
        bool rebuilt;
    } cases[] = {
        {"marker", CrLf({u"<empty/>"}), true},
        {"marker with more lines", CrLf({u"<empty/>", u"<program name='A' />"}), true},
        {"marker and a blank", CrLf({u"<empty/> "}), false},
        {"marker in capitals", CrLf({u"<EMPTY/>"}), false},
        {"empty file", u"", false},
    };
    for (const auto& c : cases) {
        Scene scene;
        scene.files.AddTextFile(kSettings, c.text);
        catalogue::EnsureSettingsFile(scene.cat, scene.files);
        EXPECT_EQ(SettingsLines(scene.files).size() == 33u, c.rebuilt) << c.what;
        EXPECT_EQ(scene.cat.progList[0].name.empty(), !c.rebuilt) << c.what;
    }
}

TEST(EnsureSettingsFile, AFailedLookupNeverOverwritesAReadableFile) {
    Scene scene;
    const std::u16string teacher = CrLf({u"<program name='Teacher' />"});
    struct FlakyLookup : platform::HeadlessFileSystem {
        using HeadlessFileSystem::HeadlessFileSystem;
        platform::FileLookup LookupFile(platform::TextView) override { return {platform::LookupStatus::Failed, {}}; }
    };
    FlakyLookup flaky(u"C:\\Launcher");
    flaky.AddTextFile(kSettings, teacher);
    catalogue::EnsureSettingsFile(scene.cat, flaky);
    EXPECT_EQ(flaky.FileText(kSettings), teacher);
}

TEST(LoadCatalogue, FirstStartBuildsLoadsAndSearchesButSavesOnlyLater) {
    Scene scene;
    InitSystemInfo(scene.cat, scene.files, kScreen);
    scene.files.AddFile(u"C:\\Tessaly\\Animal Habitats\\habitats.exe");
    scene.files.AddTextFile(
        testing_support::kProgramCandidates,
        CrLf({u"<program name='Animal Habitats' p1='\\Tessaly\\Animal Habitats\\habitats.exe' />"}));
    catalogue::LoadCatalogue(scene.cat, scene.files);

    EXPECT_EQ(scene.cat.progCount, 29);
    EXPECT_EQ(scene.cat.showall, kTrue);
    EXPECT_EQ(scene.cat.order[0], 28);
    EXPECT_EQ(scene.cat.progList[0].path, u"C:\\Tessaly\\Animal Habitats\\habitats.exe");
    // The found path reaches the file at the next save only.
    EXPECT_EQ(CountContaining(SettingsLines(scene.files), u"C:\\Tessaly\\Animal Habitats"), 0);
    catalogue::SaveSettings(scene.cat, scene.files);
    EXPECT_EQ(CountContaining(SettingsLines(scene.files), u"C:\\Tessaly\\Animal Habitats"), 1);
}

TEST(LoadCatalogue, RunsOnTheDefaultsWhenTheDataFolderIsMissing) {
    platform::HeadlessFileSystem files(u"C:\\Launcher");
    catalogue::Catalogue cat;
    InitSystemInfo(cat, files, kScreen);
    catalogue::LoadCatalogue(cat, files);
    EXPECT_EQ(cat.progCount, 29);
    EXPECT_EQ(cat.progList[28].path.rfind(u"http", 0), 0u);
    EXPECT_TRUE(files.Files().empty());
}

TEST(LoadCatalogue, ATeachersFileIsReadAsItIs) {
    Scene scene;
    InitSystemInfo(scene.cat, scene.files, kScreen);
    scene.files.AddTextFile(kSettings, CrLf({u"<programs>", u"<options showall='False' />", u"<order p0='1' p1='0' />",
                                             u"<program name='A' path=' C:\\a.exe ' show='T' />",
                                             u"<program name='B' path='C:\\b.exe' show='F' />", u"</programs>"}));
    catalogue::LoadCatalogue(scene.cat, scene.files);
    EXPECT_EQ(scene.cat.progCount, 2);
    EXPECT_EQ(scene.cat.progList[0].path, u"C:\\a.exe");
    EXPECT_EQ(scene.cat.order[0], 1);
}

TEST(InitSystemInfo, TakesTheDriveAndTheScreenWidthInPixelsToTheNearestIntegerTiesToEven) {
    const struct {
        platform::ScreenInfo screen;
        std::int16_t pixels; // 800 before: a width that does not fit leaves the old value
    } cases[] = {
        {kScreen, 1024},
        {{1920 * 10.0, 1080 * 10.0, 10, 10}, 1920}, // 144 dots per inch
        {{15007.5, 11520, 15, 15}, 1000},           // 1000.5 goes down to the even 1000
        {{15022.5, 11520, 15, 15}, 1002},           // 1001.5 goes up to the even 1002
        {{15010, 11520, 15, 15}, 1001},             // 1000.67
        {{15000, 11520, 12, 15}, 1250},             // only the horizontal factor counts
        {{32767.5 * 15, 11520, 15, 15}, 800},       // 32768 pixels after rounding
        {{-32769.0 * 15, 11520, 15, 15}, 800},
        {{1024 * 15.0, 11520, 0, 15}, 800}, // no resolution reported
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.screen.widthTwips << " / " << c.screen.twipsPerPixelX);
        platform::HeadlessFileSystem files(u"D:\\Schools\\Launcher");
        catalogue::Catalogue cat;
        cat.screenWidthPx = 800;
        InitSystemInfo(cat, files, c.screen);
        EXPECT_EQ(cat.screenWidthPx, c.pixels);
        EXPECT_EQ(cat.appDrive, u"D:");
        EXPECT_EQ(cat.cellWidth, 180);
        EXPECT_EQ(cat.cellHeight, 120);
    }
}

TEST(LoadCatalogue, LauncherAtTheRootOfADriveFindsItsDataFolder) {
    platform::HeadlessFileSystem files(u"D:\\");
    files.AddFolder(u"D:\\data");
    catalogue::Catalogue cat;
    InitSystemInfo(cat, files, kScreen);
    catalogue::LoadCatalogue(cat, files);
    EXPECT_TRUE(files.FileExists(u"D:\\data\\progdata.xml"));
    EXPECT_EQ(cat.progList[0].picpath.rfind(u"D:\\data\\", 0), 0u);
    EXPECT_EQ(cat.progList[0].path.rfind(u"D:\\", 0), 0u);
}

} // namespace
} // namespace app
