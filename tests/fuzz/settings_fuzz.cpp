// Fuzz harness: a settings file through the start-up catalogue sequence, then save, load, save. Holds: no
// sanitizer report, progCount within 0..51, and the two saves byte for byte the same.
#include "FuzzSupport.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";
    platform::HeadlessFileSystem files(u"C:\\Launcher");
    files.AddFile(kSettings, std::string_view(reinterpret_cast<const char*>(data), size));
    catalogue::Catalogue cat;
    cat.appDrive = u"C:";
    catalogue::LoadCatalogue(cat, files);
    fuzzing::Check(cat.progCount >= 0 && cat.progCount <= catalogue::kSlotCount, "progCount within 0..51");

    catalogue::SaveSettings(cat, files);
    const auto first = files.FileBytes(kSettings);
    catalogue::LoadSettings(cat, files);
    catalogue::SaveSettings(cat, files);
    fuzzing::Check(files.FileBytes(kSettings) == first, "save, load, save gives the same bytes");
    return 0;
}
