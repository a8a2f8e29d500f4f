// The built-in default catalogue, field by field, and the candidate-location files shipped beside the
// launcher.
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <vector>

namespace catalogue {
namespace {

using platform::LowerCase;
using platform::ToUtf8;

constexpr int kWebLinkId = 28;
const std::set<int> kIdsWithoutVideo = {7, 12, 15, 18, 19, 21, 25, 26, 27, 28};

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

TEST(Defaults, EveryFieldOfEveryProgramAndTheSlotsBeyond) {
    const struct {
        const char16_t* appFolder;
        const char16_t* drive;
        const char16_t* dataFolder; // where the pictures lie
    } launchers[] = {
        {u"C:\\Launcher", u"C:", u"C:\\Launcher\\data\\"},
        {u"C:\\", u"E:", u"C:\\data\\"}, // at the root of a drive: no doubled backslash
        {u"D:\\Schools\\Tessaly Launcher", u"D:", u"D:\\Schools\\Tessaly Launcher\\data\\"},
        {u"\\\\server\\apps\\Launcher", u"E:", u"\\\\server\\apps\\Launcher\\data\\"},
    };
    for (const auto& launcher : launchers) {
        SCOPED_TRACE(ToUtf8(launcher.appFolder));
        const Text drive = launcher.drive;
        Catalogue before;
        before.appDrive = drive;
        before.order.fill(7); // whatever a settings file left behind
        // Programs a teacher added after the defaults, every other one hidden, so that a procedure that wrote
        // past id 28 changes some field of some slot.
        for (int id = kDefaultCount; id < kSlotCount; ++id) {
            const Text n = platform::DecimalText(id);
            before.progList[id] = {u"Class " + n, u"http://a/" + n, u"C:\\" + n,
                                   u"A class.",   u"C:\\v" + n,     id % 2 ? kFalse : kTrue};
        }
        Catalogue cat = before;
        ApplyDefaults(cat, platform::HeadlessFileSystem(launcher.appFolder));

        const Text bitmapsAt = launcher.dataFolder;
        const struct {
            const char* field;
            std::function<bool(int id, const ProgramRecord&)> holds;
        } fields[] = {
            // Alphabetical, which also rules out a name given twice; the web link comes last, named apart.
            {"name",
             [&](int id, const ProgramRecord& p) {
                 const auto sameName = [&](const ProgramRecord& o) { return LowerCase(o.name) == LowerCase(p.name); };
                 return !p.name.empty() &&
                        (id == kWebLinkId ? std::none_of(cat.progList.begin(), cat.progList.begin() + id, sameName)
                                          : id == 0 || LowerCase(cat.progList[id - 1].name) < LowerCase(p.name));
             }},
            // On the launcher's drive in a folder of the program's name (a path that looked like a web address
            // would be handed to the browser); the last is a web address.
            {"path",
             [&](int id, const ProgramRecord& p) {
                 return id == kWebLinkId
                            ? IsWebAddress(p.path) && p.path.starts_with(u"http://www.example.com/")
                            : p.path.starts_with(drive + u"\\") && p.path.ends_with(u".exe") && !IsWebAddress(p.path) &&
                                  GetFolder(p.path).ends_with(u"\\" + p.name + u"\\");
             }},
            {"picpath",
             [&](int, const ProgramRecord& p) {
                 const Text bitmap = p.picpath.substr(std::min(p.picpath.size(), bitmapsAt.size()));
                 return p.picpath.starts_with(bitmapsAt) && bitmap.ends_with(u".bmp") && bitmap == LowerCase(bitmap) &&
                        bitmap.find_first_of(u" \\/") == Text::npos;
             }},
            {"desc", [&](int, const ProgramRecord& p) { return !p.desc.empty(); }},
            // The player sits in the Videos folder of its own program; ten programs have none.
            {"videopath",
             [&](int id, const ProgramRecord& p) {
                 return kIdsWithoutVideo.count(id) ? p.videopath.empty()
                                                   : p.videopath.starts_with(drive + u"\\") &&
                                                         GetFolder(p.videopath) == GetFolder(p.path) + u"Videos\\" &&
                                                         p.videopath.ends_with(u".exe");
             }},
            {"show", [&](int, const ProgramRecord& p) { return p.show == kTrue; }},
            // The settings file holds every value between apostrophes, in the 8-bit code page.
            {"texts need no escaping",
             [&](int, const ProgramRecord& p) {
                 const Text all = p.name + p.path + p.picpath + p.desc + p.videopath;
                 return all.find_first_of(u"'\"<>&") == Text::npos &&
                        std::all_of(all.begin(), all.end(), [](char16_t ch) { return ch >= 0x20 && ch < 0x7F; });
             }},
        };
        std::set<Text> pictures;
        for (int id = 0; id < kDefaultCount; ++id) {
            const ProgramRecord& program = cat.progList[id];
            for (const auto& field : fields) {
                EXPECT_TRUE(field.holds(id, program))
                    << field.field << " of program " << id << ": " << ToUtf8(program.name) << " | "
                    << ToUtf8(program.path) << " | " << ToUtf8(program.picpath) << " | " << ToUtf8(program.videopath);
            }
            pictures.insert(program.picpath);
        }
        EXPECT_EQ(pictures.size(), static_cast<std::size_t>(kDefaultCount)) << "two tiles share a picture";
        for (int id = kDefaultCount; id < kSlotCount; ++id) {
            EXPECT_TRUE(cat.progList[id] == before.progList[id]) << "slot " << id << " changed";
        }
        EXPECT_EQ(cat.showall, kTrue);
        // The order shows every default once, the help videos first, and nothing after them.
        EXPECT_EQ(cat.order[0], kWebLinkId);
        std::vector<Int16> shown(cat.order.begin(), cat.order.begin() + kDefaultCount);
        std::sort(shown.begin(), shown.end());
        for (int pos = 0; pos < kSlotCount; ++pos) {
            EXPECT_EQ(pos < kDefaultCount ? shown[pos] : cat.order[pos], pos < kDefaultCount ? pos : 0) << pos;
        }
    }
}

// Each candidate-location file: ASCII with CR LF at the end of every line, and one line for each program
// of the default catalogue (each player, for the videos), whose candidates p1, p2... begin with a single
// backslash and name the same file as the default location: discovery puts the launcher's drive in front.
TEST(Defaults, CandidateFilesListEachProgramOnceWithItsFileOnTheLaunchersDrive) {
    platform::HeadlessFileSystem fs(u"C:\\Launcher");
    Catalogue cat;
    cat.appDrive = u"C:";
    ApplyDefaults(cat, fs);
    for (const bool videos : {false, true}) {
        const std::string file = videos ? "data/poss vid paths.xml" : "data/poss paths.xml";
        SCOPED_TRACE(file);
        std::ifstream in(std::string(LAUNCHER_SOURCE_DIR) + "/" + file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const std::vector<Text> lines = SplitLines(fs.FromCodePage(bytes));
        std::string joined; // the lines with CR LF after each give the file again
        for (const Text& line : lines) {
            joined += ToUtf8(line) + "\r\n";
        }
        EXPECT_EQ(joined, bytes);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(),
                                [](char ch) { return ch == '\r' || ch == '\n' || (ch >= 0x20 && ch < 0x7F); }));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), u"<locations>");
        EXPECT_EQ(lines.back(), u"</locations>");
        std::map<Text, std::vector<Text>> candidates; // by program name, one empty list per line
        std::map<Text, int> mentions, expected;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            EXPECT_EQ(GetTagName(lines[i]), Text(u"program")) << ToUtf8(lines[i]);
            const Text name = GetAttribute(lines[i], u"name");
            ++mentions[name];
            for (int p = 1; !GetAttribute(lines[i], u"p" + platform::DecimalText(p)).empty(); ++p) {
                candidates[name].push_back(GetAttribute(lines[i], u"p" + platform::DecimalText(p)));
            }
        }
        for (int id = 0; id < kWebLinkId; ++id) {
            const ProgramRecord& program = cat.progList[id];
            if (videos && program.videopath.empty()) {
                continue;
            }
            expected[program.name] = 1;
            const Text fileName = GetFileName(videos ? program.videopath : program.path);
            ASSERT_FALSE(candidates[program.name].empty()) << ToUtf8(program.name) << " has no candidates";
            for (const Text& value : candidates[program.name]) {
                EXPECT_TRUE(value.starts_with(u"\\") && !value.starts_with(u"\\\\") && value.find(u':') == Text::npos &&
                            value.ends_with(u"\\" + fileName))
                    << ToUtf8(value);
            }
        }
        EXPECT_EQ(mentions, expected);
    }
}

} // namespace
} // namespace catalogue
