// Text as the launcher holds it in memory: UTF-16 code units, the same on every build, so that the
// Windows backend hands it to the wide-character API unchanged and the portable code never depends on
// the width of wchar_t.
#pragma once

#include <string>
#include <string_view>

namespace platform {

using Text = std::u16string;
using TextView = std::u16string_view;

// Lower-cases the letters of the Latin, Greek and Cyrillic blocks; everything else is kept as it is.
// Used wherever names are compared without regard to case (tags, attribute names, program names, file
// names on the headless file system).
Text LowerCase(TextView text);

// Removes the blanks (space characters only) at the end, at the start or at both ends.
Text TrimEndBlanks(TextView text);
Text TrimBlanks(TextView text);

// UTF-8 for console output and test messages; unpaired surrogates become U+FFFD.
std::string ToUtf8(TextView text);

// A 16-bit or wider integer as plain decimal text, a minus sign for negatives and no leading zeros.
Text DecimalText(long long value);

} // namespace platform
