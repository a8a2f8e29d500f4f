// Shared scene for the catalogue tests: a launcher in C:\Launcher with its data folder on the headless
// file system, and a fresh catalogue that knows its drive.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/headless/HeadlessFileSystem.h"

#include <string>

namespace testing_support {

inline constexpr char16_t kSettings[] = u"C:\\Launcher\\data\\progdata.xml";
inline constexpr char16_t kProgramCandidates[] = u"C:\\Launcher\\data\\poss paths.xml";
inline constexpr char16_t kVideoCandidates[] = u"C:\\Launcher\\data\\poss vid paths.xml";

struct Scene {
    platform::HeadlessFileSystem files{u"C:\\Launcher"};
    catalogue::Catalogue cat;

    Scene() {
        files.AddFolder(u"C:\\Launcher\\data");
        cat.appDrive = u"C:";
    }
};

// Joins lines with CR LF after each, as the launcher's files are written.
inline std::u16string CrLf(std::initializer_list<std::u16string_view> lines) {
    std::u16string out;
    for (const auto line : lines) {
        out += line;
        out += u"\r\n";
    }
    return out;
}

} // namespace testing_support
