// The settings file progdata.xml: where it lies, its text, its writer and its reader.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

namespace catalogue {

inline constexpr char16_t kSettingsFileName[] = u"progdata.xml";
inline constexpr char16_t kProgramCandidatesFileName[] = u"poss paths.xml";
inline constexpr char16_t kVideoCandidatesFileName[] = u"poss vid paths.xml";
// A settings file whose first line is exactly this counts as absent.
inline constexpr char16_t kEmptyMarker[] = u"<empty/>";

Text SettingsFilePath(const platform::FileSystem& files);

// The settings file's text for the catalogue: max(29, progCount) program lines and order positions.
Text SettingsText(const Catalogue& cat);

// Writes the catalogue to the settings file through a temporary file in the same folder, replacing the
// old file in one step. Any failure leaves the old file as it was and is not reported. A file the last
// load could not read is left alone; one it read only in part is first kept aside (KeepUnreadSettings).
void SaveSettings(const Catalogue& cat, platform::FileSystem& files);

// Why a save would keep nothing now, found by the route a save takes: its temporary file is made empty and
// removed again, and the settings file is opened for writing when the save would need that.
enum class SaveBlock {
    None,           // a save would be kept (or it could not be told)
    FolderReadOnly, // the data folder takes no new file and there is no settings file to write in place
    FileReadOnly,   // the settings file can be neither replaced nor written in place
    FileUnreadable, // the settings file could not be read (too large, say), so a save never overwrites it
};
SaveBlock ProbeSettingsSave(const Catalogue& cat, platform::FileSystem& files);

// Reads the settings file into the catalogue, a line at a time. Slots the file does not reach keep what
// they held. Any failure (no file, a line without a tag, a 52nd program line) stops the read with progCount
// 29. Notes in the catalogue whether the file could be read and whether it names programs that were not.
void LoadSettings(Catalogue& cat, platform::FileSystem& files);

// Builds the defaults and writes them when the settings file is absent or starts with the empty marker.
void EnsureSettingsFile(Catalogue& cat, platform::FileSystem& files);

} // namespace catalogue
