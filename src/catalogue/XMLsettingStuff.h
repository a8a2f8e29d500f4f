// The catalogue's files: the settings file progdata.xml (its writer and its line scanners), the built-in
// default catalogue, and the discovery of installed programs through the candidate-location files.
//
// The files look like XML but are written as fixed text pieces and read one line at a time: each line is
// one element, its tag taken with GetTagName and its values picked out with GetAttribute.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <optional>

namespace catalogue {

inline constexpr char16_t kSettingsFileName[] = u"progdata.xml";
inline constexpr char16_t kProgramCandidatesFileName[] = u"poss paths.xml";
inline constexpr char16_t kVideoCandidatesFileName[] = u"poss vid paths.xml";
// A settings file whose first line is exactly this counts as absent.
inline constexpr char16_t kEmptyMarker[] = u"<empty/>";

// ---- line scanners ----

// The tag of a line, lower-cased: the text from the second character up to the first blank, or up to
// the first ">" when there is no blank. "< order" counts as "<order"; an empty line has the empty tag.
// Nothing when the line has no tag (no blank and no ">", or a blank as its first character).
std::optional<Text> GetTagName(TextView line);

// The value of attribute `name` (lower-cased before the search; the line is searched as it is), written
// as  name='value'  with one blank before the name, and found only outside the other quoted values: the
// first such attribute of the line. Empty text when the attribute is missing or has no closing apostrophe.
// "&apos;" inside a value reads as an apostrophe.
Text GetAttribute(TextView line, TextView name);

// The same search with the line lower-cased too, the value read as a lenient decimal number and rounded
// half to even; 0 when missing, not a number, or outside -32768..32767.
Int16 GetIntAttribute(TextView line, TextView name);

// The leading number of a text, read leniently (leading blanks skipped, sign, fraction, exponent) and
// rounded half to even; 0 when there is none or it lies outside -32768..32767.
Int16 LeadingInt16(TextView text);

// order[i] = GetIntAttribute(line, "p" + i) for all 51 positions.
void ParseOrder(TextView line, Catalogue& cat);

// "T" for exactly -1, otherwise "F".
Text BoolToTF(Bool16 value);

// ---- settings file ----

Text SettingsFilePath(const platform::FileSystem& files);

// The settings file's text for the catalogue: max(29, progCount) program lines and order positions.
Text SettingsText(const Catalogue& cat);

// Writes the catalogue to the settings file through a temporary file in the same folder, replacing the
// old file in one step. Any failure leaves the old file as it was and is not reported. A file the last
// load could not read is left alone; one it read only in part is first kept aside (KeepUnreadSettings).
void SaveSettings(const Catalogue& cat, platform::FileSystem& files);

// Reads the settings file into the catalogue, a line at a time. Slots the file does not reach keep what
// they held. Any failure (no file, a line without a tag, a 52nd program line) stops the read with progCount
// 29. Notes in the catalogue whether the file could be read and whether it names programs that were not.
void LoadSettings(Catalogue& cat, platform::FileSystem& files);

// ---- built-in default catalogue ----

// Builds the defaults and writes them when the settings file is absent or starts with the empty marker.
void EnsureSettingsFile(Catalogue& cat, platform::FileSystem& files);

void SetDefaultOptions(Catalogue& cat);
void SetDefaultPaths(Catalogue& cat); // needs cat.appDrive
void SetDefaultNames(Catalogue& cat);
void SetDefaultPictures(Catalogue& cat, const platform::FileSystem& files);
void SetDefaultDescriptions(Catalogue& cat);
void SetDefaultVideoPaths(Catalogue& cat); // needs cat.appDrive
void SetDefaultOrder(Catalogue& cat);
void SetDefaultShow(Catalogue& cat);

// ---- discovery of installed programs ----

// For every program whose executable or help-video player is missing, takes the first candidate of the
// candidate-location files that exists on the launcher's drive.
void DiscoverPrograms(Catalogue& cat, platform::FileSystem& files);

// The first existing candidate for a program name (compared without regard to case), or empty text.
Text FindProgramPath(TextView name, const Catalogue& cat, platform::FileSystem& files);
Text FindVideoPath(TextView name, const Catalogue& cat, platform::FileSystem& files);

// Removes the blanks at both ends of every path and videopath of programs 0 to progCount - 1.
void TrimPaths(Catalogue& cat);

// ---- the whole load ----

// EnsureSettingsFile, LoadSettings, DiscoverPrograms, TrimPaths: afterwards the catalogue is complete.
void LoadCatalogue(Catalogue& cat, platform::FileSystem& files);

} // namespace catalogue
