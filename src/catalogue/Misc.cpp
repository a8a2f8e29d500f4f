// The shared path, text and number helpers.
#include "catalogue/Misc.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace catalogue {

namespace {

// Printable ASCII that an address holds unescaped: no blank, quote, angle bracket, backslash or the like,
// so that nothing in it can end the address where the shell or a browser reads it.
bool AddressCharacter(char16_t c) {
    return c > u' ' && c < 0x7F && TextView(u"\"<>\\^`{|}").find(c) == TextView::npos;
}

// Whether an address, from after its scheme, begins with a host: letters, digits, dots and hyphens with at
// least one letter or digit, then an optional port, up to the first "/", "?" or "#".
bool StartsWithHost(TextView rest) {
    TextView host = rest.substr(0, rest.find_first_of(u"/?#"));
    if (const auto colon = host.rfind(u':'); colon != TextView::npos) {
        const TextView port = host.substr(colon + 1);
        if (port.empty() || !std::all_of(port.begin(), port.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) {
            return false;
        }
        host = host.substr(0, colon);
    }
    const auto alphanumeric = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'); };
    return std::any_of(host.begin(), host.end(), alphanumeric) &&
           std::all_of(host.begin(), host.end(), [&](char16_t c) { return alphanumeric(c) || c == u'.' || c == u'-'; });
}

// A page the shell may open: a full path ending in .htm or .html, on a lettered drive ("C:\\") or a server
// share ("\\\\server\\share\\"), with no colon past the drive's (which would name a stream of another file)
// and no device path ("\\\\?\\", "\\\\.\\").
bool IsPagePath(TextView path) {
    const Text lower = platform::LowerCase(path);
    if (!lower.ends_with(u".htm") && !lower.ends_with(u".html")) {
        return false;
    }
    const bool lettered = path.size() > 3 && lower[0] >= u'a' && lower[0] <= u'z' && path.substr(1, 2) == u":\\" &&
                          path.find(u':', 2) == TextView::npos;
    if (lettered) {
        return true;
    }
    if (!path.starts_with(u"\\\\") || path.find(u':') != TextView::npos) {
        return false;
    }
    // \\server\share\ and at least a name: server and share of plain characters.
    const TextView rest = path.substr(2);
    const auto serverEnd = rest.find(u'\\');
    const auto shareEnd = serverEnd == TextView::npos ? serverEnd : rest.find(u'\\', serverEnd + 1);
    const auto plain = [](TextView part) {
        return !part.empty() && part.front() != u'.' && std::all_of(part.begin(), part.end(), [](char16_t c) {
            return c > u' ' && TextView(u"?*<>|\"/").find(c) == TextView::npos;
        });
    };
    return shareEnd != TextView::npos && plain(rest.substr(0, serverEnd)) &&
           plain(rest.substr(serverEnd + 1, shareEnd - serverEnd - 1));
}

// The path a file: address names, after "file:": "///C:/dir/page.htm" gives "C:\dir\page.htm",
// "//server/share/page.htm" gives "\\server\share\page.htm" ("//localhost/C:/..." a local path),
// with %XX escapes decoded. Nothing for an address of another form or a bad escape.
std::optional<Text> PathOfFileAddress(TextView address) {
    Text decoded;
    for (std::size_t i = 0; i < address.size(); ++i) {
        char16_t c = address[i];
        if (c == u'%') {
            const auto hex = [&](std::size_t at) -> int {
                if (at >= address.size()) {
                    return -1;
                }
                const char16_t h = address[at];
                return h >= u'0' && h <= u'9'   ? h - u'0'
                       : h >= u'a' && h <= u'f' ? h - u'a' + 10
                       : h >= u'A' && h <= u'F' ? h - u'A' + 10
                                                : -1;
            };
            const int high = hex(i + 1);
            const int low = hex(i + 2);
            if (high < 0 || low < 0 || high * 16 + low < 0x20) {
                return std::nullopt;
            }
            c = static_cast<char16_t>(high * 16 + low);
            i += 2;
        }
        decoded += c == u'/' ? u'\\' : c;
    }
    const Text lower = platform::LowerCase(decoded);
    if (lower.starts_with(u"\\\\localhost\\")) {
        return decoded.substr(12);
    }
    if (lower.starts_with(u"\\\\\\")) {
        return decoded.substr(3); // "///C:/..."
    }
    if (lower.starts_with(u"\\\\")) {
        return decoded;
    }
    return std::nullopt;
}

} // namespace

bool IsWebAddress(TextView text) {
    const Text lower = platform::LowerCase(text);
    const TextView view(lower);
    // A piece longer than the text is the whole text, as the comparison is meant for short texts too.
    const auto first = [&](std::size_t n) { return view.substr(0, n); };
    const auto last = [&](std::size_t n) { return view.substr(view.size() > n ? view.size() - n : 0); };
    return first(4) == u"http" || first(3) == u"www" || last(3) == u"htm" || last(4) == u"html";
}

std::optional<Text> ShellTarget(TextView path, platform::FileSystem& files) {
    const Text lower = platform::LowerCase(path);
    if (std::all_of(path.begin(), path.end(), AddressCharacter)) {
        for (const TextView scheme : {TextView(u"http://"), TextView(u"https://")}) {
            if (lower.starts_with(scheme) && StartsWithHost(TextView(lower).substr(scheme.size()))) {
                return Text(path);
            }
        }
        if (lower.starts_with(u"www.") && StartsWithHost(TextView(lower).substr(4))) {
            return u"http://" + Text(path);
        }
    }
    // A file: address is opened as the page it names, by its path.
    const std::optional<Text> page = lower.starts_with(u"file:") ? PathOfFileAddress(path.substr(5)) : Text(path);
    if (page && IsPagePath(*page) && files.LookupFile(*page).Found()) {
        return page;
    }
    return std::nullopt;
}

bool IsRefusedBatchFile(TextView path) {
    Text name = platform::LowerCase(platform::TrimEndBlanks(path));
    // Windows drops the dots and blanks at the end of a name: "run.bat. " is run.bat.
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) {
        name.pop_back();
    }
    const bool batch = name.ends_with(u".bat") || name.ends_with(u".cmd");
    return batch && std::any_of(path.begin(), path.end(), [](char16_t c) {
               return c < u' ' || TextView(u"&|<>^%!\"").find(c) != TextView::npos;
           });
}

Text FileOrWebExists(TextView path, platform::FileSystem& files) {
    if (IsWebAddress(path)) {
        return Text(path);
    }
    platform::FileLookup lookup = files.LookupFile(path);
    return lookup.Found() ? std::move(lookup.name) : Text();
}

Text CleanPath(TextView path) {
    if (path.size() < 3) {
        return Text(path);
    }
    Text out;
    out.reserve(path.size());
    out += path.front();
    for (std::size_t i = 1; i + 1 < path.size(); ++i) {
        if (!(path[i] == u'\\' && path[i + 1] == u'\\')) {
            out += path[i];
        }
    }
    out += path.back();
    return out;
}

Text GetFolder(TextView path) {
    const auto slash = path.rfind(u'\\');
    return slash == TextView::npos ? Text() : Text(path.substr(0, slash + 1));
}

Text GetFileName(TextView path) {
    const auto slash = path.rfind(u'\\');
    return Text(slash == TextView::npos ? path : path.substr(slash + 1));
}

Text DataFilePath(const platform::FileSystem& files, TextView fileName) {
    Text path = files.AppFolder();
    path += u"\\data\\";
    path += fileName;
    return CleanPath(path);
}

std::optional<double> LeadingNumber(TextView text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    std::string ascii;
    const auto isDigit = [&](std::size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
    const auto takeDigits = [&] {
        std::size_t n = 0;
        for (; isDigit(i); ++i, ++n) {
            ascii += static_cast<char>(text[i]);
        }
        return n;
    };
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::size_t digits = takeDigits();
    if (i < text.size() && text[i] == u'.') {
        ascii += '.';
        ++i;
        digits += takeDigits();
    }
    if (digits == 0) {
        return 0.0;
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == u'+' || text[k] == u'-')) {
            ++k;
        }
        if (isDigit(k)) {
            ascii += 'e';
            ascii.append(text[i + 1] == u'-' ? "-" : "");
            i = k;
            takeDigits();
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Underflow is zero; overflow is out of every range.
        return ascii.find("e-") != std::string::npos ? std::optional<double>(0.0) : std::nullopt;
    }
    if (error != std::errc() || end != ascii.data() + ascii.size()) {
        return 0.0;
    }
    return negative ? -value : value;
}

double RoundHalfEven(double value) {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::vector<Text> SplitLines(TextView text) {
    std::vector<Text> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto cr = text.find(u'\r', start);
        if (cr == TextView::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == u'\n') {
            ++start;
        }
    }
    return lines;
}

} // namespace catalogue
