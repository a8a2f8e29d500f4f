// Fuzz harness: discovery with fuzzed catalogue slots, candidate files and files on disk. The slots and the
// candidate files are made of a few names and paths, so that they meet often, or of any fuzzed text; a
// candidate file may also be fuzzed bytes whole. Holds: no sanitizer report; only slots below progCount
// that have a name change, only their path and video path, and only to paths that exist on the launcher's
// drive.
#include "FuzzSupport.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <cstdint>

namespace {

using platform::Text;

constexpr const char16_t* kNames[] = {u"", u"Maths", u"MATHS", u"Paint"};
constexpr const char16_t* kPaths[] = {u"\\A\\maths.exe", u"\\B\\paint.exe", u"\\C\\", u""}; // without a drive

struct Input {
    FuzzedDataProvider data;
    platform::HeadlessFileSystem files{u"C:\\Launcher"};

    template <std::size_t N>
    Text Pick(const char16_t* const (&words)[N]) {
        return data.ConsumeBool() ? Text(data.PickValueInArray(words)) : fuzzing::FuzzedText(data, files);
    }
    Text Path() { return (data.ConsumeBool() ? u"C:" : u"D:") + Pick(kPaths); }

    // One candidate line: a tag, perhaps a name, and candidates p0 to p21.
    Text CandidateLine() {
        Text line = data.ConsumeBool() ? u"<program" : u"<" + fuzzing::FuzzedText(data, files, 8);
        if (data.ConsumeBool()) {
            line += u" name='" + Pick(kNames) + u"'";
        }
        for (int n = data.ConsumeIntegralInRange(0, 3); n > 0; --n) {
            line += u" p" + platform::DecimalText(data.ConsumeIntegralInRange(0, 21)) + u"='" + Pick(kPaths) + u"'";
        }
        return line + u" />\r\n";
    }
};

// The new value of a path that discovery changed: a file that exists, on the launcher's drive.
bool FoundOnTheLaunchersDrive(platform::HeadlessFileSystem& files, const Text& path) {
    return path.starts_with(u"C:") && files.LookupFile(path).Found();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{FuzzedDataProvider(data, size)};
    platform::HeadlessFileSystem& files = in.files;
    files.AddFolder(u"C:\\Launcher\\data");
    catalogue::Catalogue cat;
    cat.appDrive = u"C:";
    cat.progCount = in.data.ConsumeIntegralInRange<catalogue::Int16>(0, catalogue::kSlotCount);
    for (int id = in.data.ConsumeIntegralInRange(0, catalogue::kSlotCount); id > 0; --id) {
        cat.progList[in.data.ConsumeIntegralInRange(0, catalogue::kSlotCount - 1)] = {
            in.Pick(kNames), in.Path(), u"", u"", in.Path(), catalogue::kTrue};
    }
    for (int n = in.data.ConsumeIntegralInRange(0, 6); n > 0; --n) {
        const Text path = in.Path();
        files.AddFolder(catalogue::GetFolder(path));
        (void)files.WriteNewFile(path, {}); // a path that cannot name a file makes none
    }
    for (const char16_t* name : {catalogue::kProgramCandidatesFileName, catalogue::kVideoCandidatesFileName}) {
        Text text;
        for (int n = in.data.ConsumeIntegralInRange(0, 4); n > 0; --n) {
            text += in.CandidateLine();
        }
        files.AddFile(catalogue::DataFilePath(files, name),
                      in.data.ConsumeBool() ? in.data.ConsumeRandomLengthString(4096) : files.ToCodePage(text));
    }

    const catalogue::Catalogue before = cat;
    catalogue::DiscoverPrograms(cat, files);
    for (int id = 0; id < catalogue::kSlotCount; ++id) {
        const auto& was = before.progList[static_cast<std::size_t>(id)];
        const auto& now = cat.progList[static_cast<std::size_t>(id)];
        const bool mayChange = id < cat.progCount && !was.name.empty();
        fuzzing::Check(now.name == was.name && now.picpath == was.picpath && now.desc == was.desc &&
                           now.show == was.show,
                       "only paths change");
        fuzzing::Check(now.path == was.path || (mayChange && FoundOnTheLaunchersDrive(files, now.path)),
                       "a new path exists on the launcher's drive, for a named slot");
        fuzzing::Check(now.videopath == was.videopath || (mayChange && FoundOnTheLaunchersDrive(files, now.videopath)),
                       "a new video path exists on the launcher's drive, for a named slot");
    }
    return 0;
}
