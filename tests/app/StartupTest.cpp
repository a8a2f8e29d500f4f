#include "app/Startup.h"
#include "TestSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <tuple>
#include <utility>

namespace app {
namespace {

using testing_support::CrLf;
using testing_support::kSettings;

TEST(EnsureSettingsFile, RebuildsOnlyWhenTheFileIsAbsentOrStartsWithTheExactEmptyMarker) {
    // The settings file's text (nothing: no file), whether its lookup fails, and whether it is rebuilt.
    const std::tuple<const char*, std::optional<std::u16string>, bool, bool> cases[] = {
        {"no file", std::nullopt, false, true},
        {"marker", CrLf({u"<empty/>"}), false, true},
        {"marker with more lines", CrLf({u"<empty/>", u"<program name='A' />"}), false, true},
        {"marker and a blank", CrLf({u"<empty/> "}), false, false},
        {"marker in capitals", CrLf({u"<EMPTY/>"}), false, false},
        {"empty file", u"", false, false},
        {"a readable file whose lookup fails", CrLf({u"<program name='Teacher' />"}), true, false},
    };
    struct FlakyLookup : platform::HeadlessFileSystem {
        bool fails = false;
        platform::FileLookup LookupFile(platform::TextView path) override {
            return fails ? platform::FileLookup{platform::LookupStatus::Failed, {}}
                         : HeadlessFileSystem::LookupFile(path);
        }
    };
    for (const auto& [what, text, lookupFails, rebuilt] : cases) {
        SCOPED_TRACE(what);
        catalogue::Catalogue cat;
        FlakyLookup files; // in C:\\Launcher
        files.AddFolder(u"C:\\Launcher\\data");
        if (text) {
            files.AddTextFile(kSettings, *text);
        }
        files.fails = lookupFails;
        catalogue::EnsureSettingsFile(cat, files);
        EXPECT_EQ(catalogue::SplitLines(files.FileText(kSettings).value_or(u"")).size() == 33u, rebuilt);
        EXPECT_EQ(cat.progList[0].name.empty(), !rebuilt);
    }
}

TEST(InitSystemInfo, TakesTheDriveAndTheScreenWidthInPixelsToTheNearestIntegerTiesToEven) {
    // The screen, and its width in pixels: 800 before, a width that does not fit leaves the old value.
    const std::pair<platform::ScreenInfo, std::int16_t> cases[] = {
        {{1920 * 10.0, 1080 * 10.0, 10, 10}, 1920}, // 144 dots per inch
        {{15007.5, 11520, 15, 15}, 1000},           // 1000.5 goes down to the even 1000
        {{15022.5, 11520, 15, 15}, 1002},           // 1001.5 goes up to the even 1002
        {{15000, 11520, 12, 15}, 1250},             // only the horizontal factor counts
        {{32767.5 * 15, 11520, 15, 15}, 800},       // 32768 pixels after rounding
        {{1024 * 15.0, 11520, 0, 15}, 800},         // no resolution reported
    };
    for (const auto& [screen, pixels] : cases) {
        SCOPED_TRACE(testing::Message() << screen.widthTwips << " / " << screen.twipsPerPixelX);
        platform::HeadlessFileSystem files(u"D:\\Schools\\Launcher");
        catalogue::Catalogue cat;
        cat.screenWidthPx = 800;
        InitSystemInfo(cat, files, screen);
        EXPECT_EQ(cat.screenWidthPx, pixels);
        EXPECT_EQ(cat.appDrive, u"D:");
        EXPECT_EQ((std::array{cat.cellWidth, cat.cellHeight}), (std::array<std::int16_t, 2>{180, 120}));
    }
}

} // namespace
} // namespace app
