// Path, text and number helpers shared by every part of the launcher.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace catalogue {

// True when the lower-cased text starts with "http" or "www", or ends with "htm" or "html". A text
// shorter than the piece is compared whole; an empty text is no web address. A local file named
// *.htm or *.html therefore counts as one and is opened through the shell.
bool IsWebAddress(TextView text);

// What the shell may be asked to open for a path: an http:// or https:// address with a host, a www.
// address (as http:// and the address), the full path of an existing .htm or .html page on a lettered
// drive or a server share, or a file: address of such a page (as its path). Nothing for anything else,
// which is then a start that fails: another scheme (ms-msdt:, search-ms:), a device path, a name that
// merely begins with "http" or "www" or ends in "htm", a page that does not exist. IsWebAddress still
// decides what counts as installed; this decides what reaches the shell.
std::optional<Text> ShellTarget(TextView path, platform::FileSystem& files);

// A batch file (.bat, .cmd) whose path holds a character the command interpreter that runs it reads as its
// own syntax (& | < > ^ % ! " or a control character): it is never started, as that would run other
// commands or another file.
bool IsRefusedBatchFile(TextView path);

// The path itself when it is a web address, otherwise the name of the file it names, or empty text
// when there is none (or the lookup failed). Callers only test for empty: non-empty means installed.
Text FileOrWebExists(TextView path, platform::FileSystem& files);

// Keeps the first and the last character; between them, a backslash followed by another backslash is
// dropped. "C:\" + "\data\x" becomes "C:\data\x"; a network path keeps its two leading backslashes.
Text CleanPath(TextView path);

// Everything up to and including the last backslash (empty when there is none), and everything after it.
Text GetFolder(TextView path);
Text GetFileName(TextView path);

// The location of a file in the launcher's data folder: CleanPath(launcher folder + "\data\" + name).
Text DataFilePath(const platform::FileSystem& files, TextView fileName);

// ---- the window's integer arithmetic ----

// The nearest whole number, ties going to the even one (2.5 gives 2, 3.5 gives 4).
double RoundHalfEven(double value);

// A whole number as a T; nothing when it is not finite or lies outside T's range. Every conversion of the
// window arithmetic to a fixed-width integer passes through here.
template <class T>
std::optional<T> WholeAs(double whole) {
    if (!(whole >= static_cast<double>(std::numeric_limits<T>::min()) &&
          whole <= static_cast<double>(std::numeric_limits<T>::max()))) {
        return std::nullopt;
    }
    return static_cast<T>(whole);
}

// The nearest integer, ties to the even one, as a T; nothing when the value is not finite or does not fit.
template <class T>
std::optional<T> NearestAs(double value) {
    return std::isfinite(value) ? WholeAs<T>(RoundHalfEven(value)) : std::nullopt;
}

// The window arithmetic's rounding: to the nearest 16-bit integer, ties to even.
inline std::optional<Int16> Nearest(double value) {
    return NearestAs<Int16>(value);
}

// The largest integer not above the value, as a 16-bit value; nothing when it does not fit.
inline std::optional<Int16> Floor16(double value) {
    return WholeAs<Int16>(std::floor(value));
}

// The leading decimal number of a text, read as a lenient decimal parser reads it: blanks and tabs first,
// then an optional sign, digits, a fraction and an exponent, up to the first character that cannot
// continue it. Text with no leading number reads as 0; a number too large for a double reads as nothing.
std::optional<double> LeadingNumber(TextView text);

// The first value unless it is less than the second.
template <class T>
T MaxInt(T first, T second) {
    return first < second ? second : first;
}

// Raised to `low` if below it, then lowered to `high` if above it (so `high` wins when high < low).
template <class T>
T Clamp(T value, T low, T high) {
    if (value < low) {
        value = low;
    }
    if (value > high) {
        value = high;
    }
    return value;
}

// Splits a text file into lines. A line ends at CR LF or at a CR alone; a line feed alone belongs to the
// line. A final line without an ending still counts; an empty text has no lines.
std::vector<Text> SplitLines(TextView text);

} // namespace catalogue
