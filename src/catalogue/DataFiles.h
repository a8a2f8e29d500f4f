// Reading the catalogue's data files safely: a line at a time with memory bounded by one line whatever the
// file's size, counting the program entries of a settings file however it is encoded or broken into lines,
// and keeping aside a settings file that the launcher could not wholly read before a save replaces it.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace catalogue {

// The most bytes kept of one line; the rest of a longer line is skipped. Every line the launcher writes is
// shorter (five values of at most kMaxValueChars characters, each written in at most 6 bytes a character).
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;
// The most characters kept of one value read from a line (a Windows path holds at most 32767).
inline constexpr std::size_t kMaxValueChars = 32768;
// Settings files kept aside as unread, at most; the oldest goes when a newer one is kept.
inline constexpr int kMaxKeptUnread = 3;
// Kept files are named the settings file's name, this, and a number counted up from 1.
inline constexpr char16_t kUnreadInfix[] = u".unread-";

// Calls `onLine` with each line of the file, in the code page, until it returns false or the file ends. A
// line ends at CR LF or at a CR alone (a line feed alone belongs to the line); a final line without an
// ending counts. False when the file could not be opened or a read failed (the lines before the failure
// were given).
[[nodiscard]] bool ReadLines(platform::FileSystem& files, TextView path, const std::function<bool(TextView)>& onLine);

// How many program entries ("<program" followed by no letter or digit, "< program" too, in any letter
// case) begin a line or follow a ">" in the file, whatever the line ends (LF alone, CR) and indentation,
// and in UTF-16 as well as in the code page. Nothing when the file cannot be read.
std::optional<int> CountProgramEntries(platform::FileSystem& files, TextView path);

// Moves the settings file at `location` aside to "<name>.unread-<n>" beside it, n one more than the
// newest kept, and removes the oldest kept files beyond kMaxKeptUnread. False when it could not be kept.
[[nodiscard]] bool KeepUnreadSettings(platform::FileSystem& files, const Text& location);

} // namespace catalogue
