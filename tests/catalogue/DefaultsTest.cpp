// The built-in default catalogue and the candidate-location files shipped beside the launcher.
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace catalogue {
namespace {

using platform::LowerCase;
using platform::ToUtf8;

constexpr int kWebLinkId = 28;
const std::set<int> kIdsWithoutVideo = {7, 12, 15, 18, 19, 21, 25, 26, 27, 28};

bool StartsWith(TextView text, TextView piece) {
    return text.substr(0, piece.size()) == piece;
}
bool EndsWith(TextView text, TextView piece) {
    return text.size() >= piece.size() && text.substr(text.size() - piece.size()) == piece;
}

// Every SetDefault... procedure applied, as start-up does when there is no settings file.
void ApplyDefaults(Catalogue& cat, const platform::FileSystem& files) {
    SetDefaultOptions(cat);
    SetDefaultPaths(cat);
    SetDefaultNames(cat);
    SetDefaultPictures(cat, files);
    SetDefaultDescriptions(cat);
    SetDefaultVideoPaths(cat);
    SetDefaultOrder(cat);
    SetDefaultShow(cat);
}

Catalogue MakeDefaults(TextView drive, const platform::FileSystem& files) {
    Catalogue cat;
    cat.appDrive = Text(drive);
    ApplyDefaults(cat, files);
    return cat;
}

TEST(DefaultsTest, ProgramNamesAreAlphabeticalAndDistinct) {
    Catalogue cat;
    SetDefaultNames(cat);
    for (int id = 0; id < kDefaultCount; ++id) {
        EXPECT_FALSE(cat.progList[id].name.empty()) << "id " << id;
    }
    // Strictly increasing also rules out a name given twice.
    for (int id = 1; id < kWebLinkId; ++id) {
        EXPECT_LT(LowerCase(cat.progList[id - 1].name), LowerCase(cat.progList[id].name))
            << ToUtf8(cat.progList[id - 1].name) << " should come before " << ToUtf8(cat.progList[id].name);
    }
    for (int id = 0; id < kWebLinkId; ++id) {
        EXPECT_NE(LowerCase(cat.progList[id].name), LowerCase(cat.progList[kWebLinkId].name)) << "id " << id;
    }
}

TEST(DefaultsTest, ExactlyTheTenProgramsWithoutPlayerHaveNoVideoPath) {
    platform::HeadlessFileSystem fs(u"D:\\Launcher");
    const Catalogue cat = MakeDefaults(u"D:", fs);
    std::set<int> withoutVideo;
    for (int id = 0; id < kDefaultCount; ++id) {
        const ProgramRecord& program = cat.progList[id];
        if (program.videopath.empty()) {
            withoutVideo.insert(id);
            continue;
        }
        // The player sits in the Videos folder of its own program, on the launcher's drive.
        EXPECT_TRUE(StartsWith(program.videopath, u"D:\\")) << ToUtf8(program.videopath);
        EXPECT_EQ(GetFolder(program.videopath), GetFolder(program.path) + u"Videos\\") << "id " << id;
        EXPECT_TRUE(EndsWith(program.videopath, u".exe")) << ToUtf8(program.videopath);
    }
    EXPECT_EQ(withoutVideo, kIdsWithoutVideo);
}

TEST(DefaultsTest, ProgramPathsAreOnTheLaunchersDriveAndTheLastIsAWebAddress) {
    for (const TextView drive : {u"C:", u"E:"}) {
        SCOPED_TRACE(ToUtf8(drive));
        Catalogue cat;
        cat.appDrive = Text(drive);
        SetDefaultNames(cat);
        SetDefaultPaths(cat);
        for (int id = 0; id < kWebLinkId; ++id) {
            const ProgramRecord& program = cat.progList[id];
            EXPECT_TRUE(StartsWith(program.path, Text(drive) + u"\\")) << ToUtf8(program.path);
            EXPECT_TRUE(EndsWith(program.path, u".exe")) << ToUtf8(program.path);
            // A path that looked like a web address would be handed to the browser instead of started.
            EXPECT_FALSE(IsWebAddress(program.path)) << ToUtf8(program.path);
            // Catches a row whose path belongs to another program.
            EXPECT_TRUE(EndsWith(GetFolder(program.path), u"\\" + program.name + u"\\")) << ToUtf8(program.path);
        }
        const Text& link = cat.progList[kWebLinkId].path;
        EXPECT_TRUE(IsWebAddress(link)) << ToUtf8(link);
        EXPECT_TRUE(StartsWith(link, u"http://www.example.com/")) << ToUtf8(link);
    }
}

TEST(DefaultsTest, PicturesLieInTheLaunchersDataFolder) {
    struct Case {
        const char16_t* appFolder;
        const char16_t* dataFolder;
    };
    const Case cases[] = {
        {u"C:\\Launcher", u"C:\\Launcher\\data\\"},
        {u"C:\\", u"C:\\data\\"}, // a launcher at the root of a drive: no doubled backslash
        {u"D:\\Schools\\Tessaly Launcher", u"D:\\Schools\\Tessaly Launcher\\data\\"},
        {u"\\\\server\\apps\\Launcher", u"\\\\server\\apps\\Launcher\\data\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.appFolder));
        platform::HeadlessFileSystem fs(c.appFolder);
        Catalogue cat;
        SetDefaultPictures(cat, fs);
        std::set<Text> bitmaps;
        for (int id = 0; id < kDefaultCount; ++id) {
            const Text& picpath = cat.progList[id].picpath;
            ASSERT_TRUE(StartsWith(picpath, c.dataFolder)) << "id " << id << ": " << ToUtf8(picpath);
            const Text bitmap = picpath.substr(std::char_traits<char16_t>::length(c.dataFolder));
            EXPECT_TRUE(EndsWith(bitmap, u".bmp")) << ToUtf8(bitmap);
            EXPECT_EQ(bitmap, LowerCase(bitmap));
            EXPECT_EQ(bitmap.find_first_of(u" \\/"), Text::npos) << ToUtf8(bitmap);
            bitmaps.insert(bitmap);
        }
        EXPECT_EQ(bitmaps.size(), static_cast<std::size_t>(kDefaultCount)) << "two tiles share a picture";
    }
}

TEST(DefaultsTest, OrderShowsEveryDefaultOnceWithTheHelpVideosFirst) {
    Catalogue cat;
    cat.order.fill(7); // whatever a settings file left behind
    SetDefaultOrder(cat);
    EXPECT_EQ(cat.order[0], kWebLinkId);
    std::vector<Int16> shown(cat.order.begin(), cat.order.begin() + kDefaultCount);
    std::sort(shown.begin(), shown.end());
    for (int id = 0; id < kDefaultCount; ++id) {
        EXPECT_EQ(shown[id], id);
    }
    for (int pos = kDefaultCount; pos < kSlotCount; ++pos) {
        EXPECT_EQ(cat.order[pos], 0) << "position " << pos;
    }
}

TEST(DefaultsTest, SlotsBeyondTheDefaultsKeepWhatTheyHeld) {
    platform::HeadlessFileSystem fs(u"C:\\Launcher");
    Catalogue before;
    // Programs a teacher added after the defaults, every other one hidden, so that a procedure that
    // wrote past id 28 changes at least one field of some slot.
    for (int id = kDefaultCount; id < kSlotCount; ++id) {
        const Text number = platform::DecimalText(id);
        before.progList[id] = {u"Class Page " + number,
                               u"http://www.example.com/class/" + number + u".htm",
                               u"C:\\Launcher\\data\\class" + number + u".bmp",
                               u"The class page.",
                               u"C:\\Class\\Videos\\page" + number + u".exe",
                               id % 2 == 0 ? kTrue : kFalse};
    }
    before.appDrive = u"C:";
    Catalogue cat = before;
    ApplyDefaults(cat, fs);
    for (int id = kDefaultCount; id < kSlotCount; ++id) {
        EXPECT_TRUE(cat.progList[id] == before.progList[id]) << "slot " << id << " changed";
    }
    for (int id = 0; id < kDefaultCount; ++id) {
        EXPECT_EQ(cat.progList[id].show, kTrue) << "id " << id;
        EXPECT_FALSE(cat.progList[id].desc.empty()) << "id " << id;
    }
    EXPECT_EQ(cat.showall, kTrue);
}

// The settings file holds every value between apostrophes and is written in the 8-bit code page.
TEST(DefaultsTest, TextsNeedNoEscapingInTheSettingsFile) {
    platform::HeadlessFileSystem fs(u"C:\\Launcher");
    const Catalogue cat = MakeDefaults(u"C:", fs);
    for (int id = 0; id < kDefaultCount; ++id) {
        const ProgramRecord& p = cat.progList[id];
        for (const Text* text : {&p.name, &p.path, &p.picpath, &p.desc, &p.videopath}) {
            EXPECT_EQ(text->find_first_of(u"'\"<>&"), Text::npos) << "id " << id << ": " << ToUtf8(*text);
            EXPECT_TRUE(std::all_of(text->begin(), text->end(), [](char16_t ch) { return ch >= 0x20 && ch < 0x7F; }))
                << "id " << id << ": " << ToUtf8(*text);
        }
    }
}

// ---- candidate-location files ----

std::string ReadSourceFile(const std::string& relativePath) {
    std::ifstream in(std::string(LAUNCHER_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct CandidateFile {
    const char* relativePath;
    bool videos; // candidates for the help-video players rather than the programs
};

const CandidateFile kCandidateFiles[] = {
    {"data/poss paths.xml", false},
    {"data/poss vid paths.xml", true},
};

TEST(DefaultsTest, CandidateFilesAreAsciiWithCrLfOnEveryLine) {
    for (const CandidateFile& file : kCandidateFiles) {
        SCOPED_TRACE(file.relativePath);
        const std::string bytes = ReadSourceFile(file.relativePath);
        ASSERT_FALSE(bytes.empty());
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "the last line has no CR LF";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const unsigned char ch = static_cast<unsigned char>(bytes[i]);
            if (ch == '\n') {
                EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line feed without CR at byte " << i;
            } else if (ch == '\r') {
                EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "CR without line feed at byte " << i;
            } else {
                EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << "byte " << i << " is " << int(ch);
            }
        }
    }
}

TEST(DefaultsTest, CandidateFilesListEachProgramOnceWithPathsOnTheSameDrive) {
    platform::HeadlessFileSystem fs(u"C:\\Launcher");
    const Catalogue cat = MakeDefaults(u"C:", fs);
    for (const CandidateFile& file : kCandidateFiles) {
        SCOPED_TRACE(file.relativePath);
        const std::vector<Text> lines = SplitLines(fs.FromCodePage(ReadSourceFile(file.relativePath)));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), u"<locations>");
        EXPECT_EQ(lines.back(), u"</locations>");

        std::map<Text, int> mentions;
        std::map<Text, std::vector<Text>> candidates;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            const Text& line = lines[i];
            EXPECT_EQ(GetTagName(line), Text(u"program")) << ToUtf8(line);
            const Text name = GetAttribute(line, u"name");
            ++mentions[name];
            for (int p = 1;; ++p) {
                const Text value = GetAttribute(line, u"p" + platform::DecimalText(p));
                if (value.empty()) {
                    break;
                }
                candidates[name].push_back(value);
            }
        }

        std::map<Text, int> expected;
        for (int id = 0; id < kWebLinkId; ++id) {
            const ProgramRecord& program = cat.progList[id];
            if (file.videos && program.videopath.empty()) {
                continue;
            }
            expected[program.name] = 1;
            // Discovery puts the launcher's drive in front of each candidate, and looks for the same file
            // as the default location holds.
            const Text fileName = GetFileName(file.videos ? program.videopath : program.path);
            ASSERT_FALSE(candidates[program.name].empty()) << ToUtf8(program.name) << " has no candidates";
            for (const Text& value : candidates[program.name]) {
                EXPECT_TRUE(StartsWith(value, u"\\") && !StartsWith(value, u"\\\\")) << ToUtf8(value);
                EXPECT_EQ(value.find(u':'), Text::npos) << ToUtf8(value);
                EXPECT_TRUE(EndsWith(value, u"\\" + fileName)) << ToUtf8(value);
            }
        }
        EXPECT_EQ(mentions, expected);
    }
}

} // namespace
} // namespace catalogue
