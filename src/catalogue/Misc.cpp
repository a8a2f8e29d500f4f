#include "catalogue/Misc.h"

#include <cmath>

namespace catalogue {

bool IsWebAddress(TextView text) {
    const Text lower = platform::LowerCase(text);
    const TextView view(lower);
    // A piece longer than the text is the whole text, as the comparison is meant for short texts too.
    const auto first = [&](std::size_t n) { return view.substr(0, n); };
    const auto last = [&](std::size_t n) { return view.substr(view.size() > n ? view.size() - n : 0); };
    return first(4) == u"http" || first(3) == u"www" || last(3) == u"htm" || last(4) == u"html";
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

std::optional<Int16> Floor16(double value) {
    const double whole = std::floor(value);
    if (!(whole >= -32768.0 && whole <= 32767.0)) {
        return std::nullopt;
    }
    return static_cast<Int16>(whole);
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
