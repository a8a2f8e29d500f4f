// Console entry point of the Windows build, for the time before the launcher window exists.
// Implements: start-up (system values and the catalogue) and a short report of the catalogue on stdout.
#include "app/Startup.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <string>

namespace {

using platform::Text;

// A console gets the text as UTF-16 through WriteConsoleW, which shows every character whatever the
// console's code page; a pipe or a file gets UTF-8 bytes.
void Print(const Text& text) {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode) != 0) {
        const std::wstring wide(text.begin(), text.end());
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        const std::string bytes = platform::ToUtf8(text);
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

} // namespace

int wmain() {
    platform::Win32FileSystem files;
    catalogue::Catalogue cat;
    app::InitSystemInfo(cat, files);
    app::LoadCatalogue(cat, files);

    Text report = u"The launcher window is not built yet; this run only loads the catalogue.\n";
    report += u"Settings file: " + catalogue::SettingsFilePath(files) + u"\n";
    report += u"Programs: " + platform::DecimalText(cat.progCount) + u"\n";
    for (int pos = 0; pos < cat.progCount; ++pos) {
        const int id = cat.order[pos];
        if (id < 0 || id >= catalogue::kSlotCount) {
            report += u"  (position " + platform::DecimalText(pos) + u" holds no valid id)\n";
            continue;
        }
        const catalogue::ProgramRecord& program = cat.progList[id];
        const bool installed = !catalogue::FileOrWebExists(program.path, files).empty();
        report += u"  " + platform::DecimalText(id) + u"  " + program.name +
                  (installed ? u"  (installed)\n" : u"  (not installed)\n");
    }
    Print(report);
    return 0;
}
