// The line scanners that take the settings file and the candidate-location files apart.
#include "catalogue/Scanners.h"
#include "catalogue/Misc.h"

#include <cmath>

namespace catalogue {

namespace {

constexpr TextView kEscapedApostrophe = u"&apos;";

// The raw value of an attribute, found only where an attribute can start: a blank, the name and "='"
// outside every quoted value. The line is read left to right; outside a value, "='" opens one that ends at
// the next apostrophe, so a value that ends in " show=" is never taken for the start of another attribute.
// The first occurrence wins. Nothing when the attribute is missing or its value is not closed (an
// unclosed value runs to the end of the line).
std::optional<TextView> FindValue(TextView line, TextView lowerName) {
    constexpr TextView kOpen = u"='";
    const std::size_t nameLength = lowerName.size() + 1; // with the blank before the name
    std::size_t free = 0; // where the text after the last value's closing apostrophe starts
    for (auto open = line.find(kOpen); open != TextView::npos; open = line.find(kOpen, free)) {
        const auto start = open + kOpen.size();
        const auto end = line.find(u'\'', start);
        if (end == TextView::npos) {
            return std::nullopt;
        }
        const bool named = open >= free + nameLength && line[open - nameLength] == u' ' &&
                           line.substr(open - lowerName.size(), lowerName.size()) == lowerName;
        if (named) {
            return line.substr(start, end - start);
        }
        free = end + 1;
    }
    return std::nullopt;
}

} // namespace

std::optional<Text> GetTagName(TextView line) {
    if (line.empty()) {
        return Text();
    }
    Text work(line);
    if (work.compare(0, 2, u"< ") == 0) {
        work.erase(1, 1);
    }
    auto end = work.find(u' ');
    if (end == Text::npos) {
        end = work.find(u'>');
    }
    // end is 0-based: no blank and no '>', or a blank first, means the line has no tag.
    if (end == Text::npos || end == 0) {
        return std::nullopt;
    }
    return platform::LowerCase(TextView(work).substr(1, end - 1));
}

Text GetAttribute(TextView line, TextView name) {
    const auto value = FindValue(line, platform::LowerCase(name));
    if (!value) {
        return Text();
    }
    Text out;
    out.reserve(value->size());
    for (std::size_t i = 0; i < value->size();) {
        if (value->compare(i, kEscapedApostrophe.size(), kEscapedApostrophe) == 0) {
            out += u'\'';
            i += kEscapedApostrophe.size();
        } else {
            out += (*value)[i++];
        }
    }
    return out;
}

Int16 GetIntAttribute(TextView line, TextView name) {
    const Text lowerLine = platform::LowerCase(line);
    const auto value = FindValue(lowerLine, platform::LowerCase(name));
    return value ? LeadingInt16(*value) : Int16{0};
}

Int16 LeadingInt16(TextView text) {
    const auto number = LeadingNumber(text);
    return number ? Nearest(*number).value_or(Int16{0}) : Int16{0};
}

void ParseOrder(TextView line, Catalogue& cat) {
    for (int pos = 0; pos < kSlotCount; ++pos) {
        cat.order[static_cast<std::size_t>(pos)] = GetIntAttribute(line, u"p" + platform::DecimalText(pos));
    }
}

Text BoolToTF(Bool16 value) {
    return value == kTrue ? u"T" : u"F";
}

} // namespace catalogue
