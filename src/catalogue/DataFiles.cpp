// Reading the data files a line at a time, counting a settings file's program entries, keeping an unread
// settings file aside.
#include "catalogue/DataFiles.h"

#include "catalogue/Misc.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace catalogue {

namespace {

constexpr std::size_t kPieceBytes = std::size_t{64} << 10;

// Calls `onPiece` with each piece of the file in order until it returns false. False when the file could
// not be opened or a read failed.
bool ReadPieces(platform::FileSystem& files, TextView path, const std::function<bool(std::string_view)>& onPiece) {
    const std::unique_ptr<platform::FileReader> reader = files.OpenFile(path);
    if (!reader) {
        return false;
    }
    std::vector<char> buffer(kPieceBytes);
    for (;;) {
        const std::optional<std::size_t> got = reader->Read(buffer);
        if (!got) {
            return false;
        }
        if (*got == 0 || !onPiece(std::string_view(buffer.data(), *got))) {
            return true;
        }
    }
}

bool IsAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Recognises program entries in a stream of bytes, one byte at a time.
class EntryCounter {
public:
    void Take(char byte) {
        if (byte == '\0') {
            return; // the high half of a UTF-16 character of the ASCII range
        }
        const char c = (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
        if (matched_ >= 0) {
            constexpr std::string_view kWord = "program";
            const auto at = static_cast<std::size_t>(matched_);
            if (at == 0 && c == ' ' && !blankSeen_) {
                blankSeen_ = true;
                return;
            }
            if (at < kWord.size() && c == kWord[at]) {
                ++matched_;
                return;
            }
            if (at == kWord.size() && !IsAsciiAlphanumeric(c)) {
                ++count_;
            }
            matched_ = -1;
        }
        if (c == '\r' || c == '\n' || c == '>') {
            boundary_ = true;
        } else if (c == '<' && boundary_) {
            matched_ = 0;
            blankSeen_ = false;
            boundary_ = false;
        } else if (c != ' ' && c != '\t') {
            boundary_ = false;
        }
    }
    // An entry cut off by the end of the file still counts.
    int Count() const { return count_ + (matched_ == 7 ? 1 : 0); }

private:
    int count_ = 0;
    int matched_ = -1; // letters of "program" matched after a '<' that may begin an entry; -1 when none
    bool blankSeen_ = false;
    bool boundary_ = true; // at the start of a line or after a '>', blanks and tabs aside
};

// The number of a kept file's name, or nothing for other names.
std::optional<long> KeptNumber(TextView name, TextView prefix) {
    const Text lower = platform::LowerCase(name);
    if (!lower.starts_with(platform::LowerCase(prefix)) || lower.size() == prefix.size() ||
        lower.size() > prefix.size() + 9) {
        return std::nullopt;
    }
    long number = 0;
    for (std::size_t i = prefix.size(); i < lower.size(); ++i) {
        if (lower[i] < u'0' || lower[i] > u'9') {
            return std::nullopt;
        }
        number = number * 10 + (lower[i] - u'0');
    }
    return number;
}

} // namespace

bool ReadLines(platform::FileSystem& files, TextView path, const std::function<bool(TextView)>& onLine) {
    std::string line;
    bool afterCr = false; // the last byte ended a line with a CR: a line feed next belongs to that ending
    bool going = true;
    const auto endLine = [&] {
        going = onLine(files.FromCodePage(line));
        line.clear();
        return going;
    };
    const bool read = ReadPieces(files, path, [&](std::string_view piece) {
        for (const char byte : piece) {
            if (afterCr) {
                afterCr = false;
                if (byte == '\n') {
                    continue;
                }
            }
            if (byte == '\r') {
                afterCr = true;
                if (!endLine()) {
                    return false;
                }
            } else if (line.size() < kMaxLineBytes) {
                line += byte;
            }
        }
        return true;
    });
    if (read && going && !line.empty()) {
        (void)endLine();
    }
    return read;
}

std::optional<int> CountProgramEntries(platform::FileSystem& files, TextView path) {
    EntryCounter counter;
    const bool read = ReadPieces(files, path, [&counter](std::string_view piece) {
        for (const char byte : piece) {
            counter.Take(byte);
        }
        return true;
    });
    return read ? std::optional<int>(counter.Count()) : std::nullopt;
}

bool KeepUnreadSettings(platform::FileSystem& files, const Text& location) {
    const Text folder = GetFolder(location);
    const Text prefix = GetFileName(location) + kUnreadInfix;
    std::vector<std::pair<long, Text>> kept;
    for (Text& name : files.ListFiles(folder, prefix)) {
        if (const auto number = KeptNumber(name, prefix)) {
            kept.emplace_back(*number, std::move(name));
        }
    }
    std::sort(kept.begin(), kept.end());
    long next = kept.empty() ? 1 : kept.back().first + 1;
    // The name is taken first by a new empty file of its own, so that a kept file of another launcher
    // saving at the same moment is never replaced.
    for (int attempt = 0;; ++attempt, ++next) {
        const Text name = prefix + platform::DecimalText(next);
        const platform::CreateResult made = files.WriteNewFile(folder + name, {});
        if (made == platform::CreateResult::Exists && attempt < 4) {
            continue;
        }
        if (made != platform::CreateResult::Written) {
            return false;
        }
        if (!files.MoveFileOver(location, folder + name)) {
            (void)files.EraseFile(folder + name);
            return false;
        }
        kept.emplace_back(next, name);
        break;
    }
    for (std::size_t i = 0; i + kMaxKeptUnread < kept.size(); ++i) {
        (void)files.EraseFile(folder + kept[i].second);
    }
    return true;
}

} // namespace catalogue
