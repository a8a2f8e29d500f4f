// Fuzz harness: a settings file through the start-up catalogue sequence, then save, load, save. Holds: no
// sanitizer report, progCount within 0..51, the two saves byte for byte the same, every saved file loads
// back to the catalogue saved, and a save that replaced a file holding program lines the reader did not
// take kept that file aside.
#include "FuzzSupport.h"
#include "catalogue/DataFiles.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <algorithm>
#include <cstdint>

namespace {

// The program lines a reader following the format takes: up to the first line without a tag, at most 51.
int ProgramLinesTaken(const platform::FileSystem& files, std::string_view bytes) {
    int taken = 0;
    for (const platform::Text& line : catalogue::SplitLines(files.FromCodePage(bytes))) {
        const auto tag = catalogue::GetTagName(line.substr(0, catalogue::kMaxLineBytes));
        if (!tag) {
            break;
        }
        taken += *tag == u"program" ? 1 : 0;
    }
    return std::min(taken, catalogue::kSlotCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";
    const std::string_view original(reinterpret_cast<const char*>(data), size);
    platform::HeadlessFileSystem files(u"C:\\Launcher");
    files.AddFile(kSettings, original);
    files.AddFile(u"C:\\original", original);
    const int entries = *catalogue::CountProgramEntries(files, u"C:\\original");
    catalogue::Catalogue cat;
    cat.appDrive = u"C:";
    catalogue::LoadCatalogue(cat, files);
    fuzzing::Check(cat.progCount >= 0 && cat.progCount <= catalogue::kSlotCount, "progCount within 0..51");

    catalogue::SaveSettings(cat, files);
    const auto first = files.FileBytes(kSettings);
    const bool kept = files.FileBytes(platform::Text(kSettings) + catalogue::kUnreadInfix + u"1") == original;
    fuzzing::Check(first == original || kept || entries <= ProgramLinesTaken(files, original),
                   "a file holding programs that were not read is kept before it is replaced");

    catalogue::Catalogue loaded = cat;
    catalogue::LoadSettings(loaded, files);
    const int written = std::clamp<int>(cat.progCount, catalogue::kDefaultCount, catalogue::kSlotCount);
    fuzzing::Check(loaded.showall == cat.showall &&
                       std::equal(cat.order.begin(), cat.order.begin() + written, loaded.order.begin()) &&
                       std::equal(cat.progList.begin(), cat.progList.begin() + written, loaded.progList.begin()),
                   "the saved file loads back to the catalogue saved");
    catalogue::SaveSettings(loaded, files);
    fuzzing::Check(files.FileBytes(kSettings) == first, "save, load, save gives the same bytes");
    return 0;
}
