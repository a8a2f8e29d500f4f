// The line scanners that take the settings file and the candidate-location files apart.
#include "catalogue/Misc.h"
#include "catalogue/XMLsettingStuff.h"

#include <charconv>
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

// Reads a number the way a lenient decimal parser does: leading blanks are skipped, then an optional
// sign, digits, a fraction and an exponent, stopping at the first character that cannot continue it.
// Text with no leading number gives 0; a number too large for a double gives nothing.
std::optional<double> LenientNumber(TextView text) {
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
    const auto number = LenientNumber(text);
    if (!number) {
        return 0;
    }
    const double rounded = RoundHalfEven(*number);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return 0;
    }
    return static_cast<Int16>(rounded);
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
