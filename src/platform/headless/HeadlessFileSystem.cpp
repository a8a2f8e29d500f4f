#include "platform/headless/HeadlessFileSystem.h"

#include <algorithm>
#include <cassert>

namespace platform {

namespace {

// Windows-1252 in 0x80..0x9F; the five unassigned bytes map to the control character of the same value,
// as the Windows conversion does. Every other byte is the code point of the same value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Characters that no file name holds: the wildcards '*' and '?' with their DOS forms '<', '>' and '"',
// the pipe, and NUL, which the wide API would read as the end of a shorter path.
constexpr TextView kNeverInNames(u"*?<>\"|\0", 7);

Text FileNameOf(TextView path) {
    const auto slash = path.rfind(u'\\');
    return Text(slash == TextView::npos ? path : path.substr(slash + 1));
}

// The path as Windows stores it: without the dots and blanks at the end of its last name.
Text StoredPath(TextView path) {
    const auto last = path.find_last_not_of(u". ");
    return Text(path.substr(0, last == TextView::npos ? 0 : last + 1));
}

} // namespace

HeadlessFileSystem::HeadlessFileSystem(Text appFolder) : appFolder_(std::move(appFolder)) {
    AddFolder(appFolder_);
}

Text HeadlessFileSystem::Key(TextView path) {
    Text key = LowerCase(StoredPath(path));
    while (key.size() > 1 && key.back() == u'\\') {
        key.pop_back();
    }
    return key;
}

std::optional<Text> HeadlessFileSystem::FileKey(TextView path) {
    const Text stored = StoredPath(path);
    // A path that ends in a backslash names a folder, never a file.
    if (stored.empty() || stored.back() == u'\\' || stored.find_first_of(kNeverInNames) != Text::npos) {
        return std::nullopt;
    }
    return LowerCase(stored);
}

Text HeadlessFileSystem::ParentKey(TextView key) {
    const auto slash = key.rfind(u'\\');
    return slash == TextView::npos ? Text() : Text(key.substr(0, slash));
}

bool HeadlessFileSystem::NotReady(const Text& key) const {
    return std::any_of(notReadyRoots_.begin(), notReadyRoots_.end(), [&](const Text& root) {
        return key.compare(0, root.size(), root) == 0 && (key.size() == root.size() || key[root.size()] == u'\\');
    });
}

void HeadlessFileSystem::AddFolder(TextView path) {
    for (Text key = Key(path); !key.empty(); key = ParentKey(key)) {
        folders_.insert(key);
    }
}

void HeadlessFileSystem::AddFile(TextView path, std::string_view bytes) {
    const auto key = FileKey(path);
    assert(key && "a file's path names a file");
    AddFolder(ParentKey(*key));
    files_[*key] = File{StoredPath(path), std::string(bytes)};
}

void HeadlessFileSystem::AddTextFile(TextView path, TextView text) {
    AddFile(path, ToCodePage(text));
}

void HeadlessFileSystem::Flag(std::set<Text>& flags, TextView path, bool on) {
    on ? void(flags.insert(Key(path))) : void(flags.erase(Key(path)));
}

FileLookup HeadlessFileSystem::LookupFile(TextView path) {
    lookups_.emplace_back(path);
    const auto key = FileKey(path);
    if (!key) {
        return {};
    }
    if (NotReady(*key)) {
        return {LookupStatus::Failed, {}};
    }
    const auto it = files_.find(*key);
    if (it == files_.end()) {
        return {};
    }
    return {LookupStatus::Found, FileNameOf(it->second.path)};
}

std::optional<std::string> HeadlessFileSystem::ReadFileBytes(TextView path, std::size_t maxBytes) {
    reads_.emplace_back(path);
    const auto key = FileKey(path);
    const auto it = key ? files_.find(*key) : files_.end();
    if (it == files_.end() || NotReady(*key) || Flagged(unreadable_, *key) || it->second.bytes.size() > maxBytes) {
        return std::nullopt;
    }
    return it->second.bytes;
}

std::unique_ptr<FileReader> HeadlessFileSystem::OpenFile(TextView path) {
    reads_.emplace_back(path);
    const auto key = FileKey(path);
    const auto it = key ? files_.find(*key) : files_.end();
    if (it == files_.end() || NotReady(*key) || Flagged(unreadable_, *key)) {
        return nullptr;
    }
    return std::make_unique<HeldBytesReader>(it->second.bytes);
}

bool HeadlessFileSystem::WriteFileBytes(TextView path, std::string_view bytes) {
    const auto key = FileKey(path);
    if (!key || NotReady(*key) || folders_.count(ParentKey(*key)) == 0 || folders_.count(*key) != 0) {
        return false;
    }
    auto it = files_.find(*key);
    if (it == files_.end()) {
        if (Flagged(unwritable_, ParentKey(*key))) {
            return false;
        }
        it = files_.emplace(*key, File{StoredPath(path), {}}).first;
    } else if (Flagged(unwritable_, *key)) {
        return false;
    }
    const std::size_t stored = writeLimit_ ? std::min(*writeLimit_, bytes.size()) : bytes.size();
    it->second.bytes.assign(bytes.substr(0, stored));
    return stored == bytes.size();
}

CreateResult HeadlessFileSystem::WriteNewFile(TextView path, std::string_view bytes) {
    const auto key = FileKey(path);
    if (!key || NotReady(*key) || folders_.count(ParentKey(*key)) == 0) {
        return CreateResult::Failed;
    }
    if (files_.count(*key) != 0 || folders_.count(*key) != 0) {
        return CreateResult::Exists;
    }
    if (Flagged(unwritable_, ParentKey(*key))) {
        return CreateResult::Refused;
    }
    return WriteFileBytes(path, bytes) ? CreateResult::Written : CreateResult::Failed;
}

std::vector<Text> HeadlessFileSystem::ListFiles(TextView folder, TextView prefix) {
    const Text folderKey = Key(folder);
    const Text lowerPrefix = LowerCase(prefix);
    std::vector<Text> names;
    for (const auto& [key, file] : files_) {
        if (!NotReady(key) && ParentKey(key) == folderKey &&
            LowerCase(FileNameOf(file.path)).starts_with(lowerPrefix)) {
            names.push_back(FileNameOf(file.path));
        }
    }
    return names;
}

bool HeadlessFileSystem::MoveFileOver(TextView source, TextView target) {
    const auto from = FileKey(source);
    const auto to = FileKey(target);
    if (!from || !to) {
        return false;
    }
    const Text toParent = ParentKey(*to);
    const auto src = files_.find(*from);
    if (NotReady(*from) || NotReady(*to) || src == files_.end() || Flagged(undeletable_, *from) ||
        Flagged(unwritable_, *from) || folders_.count(toParent) == 0 || folders_.count(*to) != 0) {
        return false;
    }
    const auto dst = files_.find(*to);
    if (dst == files_.end() ? Flagged(unwritable_, toParent)
                            : (Flagged(unwritable_, *to) || Flagged(undeletable_, *to) || Flagged(unreadable_, *to))) {
        return false;
    }
    if (*from == *to) {
        return true;
    }
    File moved{StoredPath(target), std::move(src->second.bytes)};
    files_.erase(src);
    files_[*to] = std::move(moved);
    return true;
}

bool HeadlessFileSystem::EraseFile(TextView path) {
    const auto key = FileKey(path);
    const auto it = key ? files_.find(*key) : files_.end();
    if (it == files_.end() || NotReady(*key) || Flagged(undeletable_, *key)) {
        return false;
    }
    files_.erase(it);
    return true;
}

bool HeadlessFileSystem::CanWriteFile(TextView path) {
    const auto key = FileKey(path);
    return key && !NotReady(*key) && files_.count(*key) != 0 && !Flagged(unwritable_, *key);
}

Text HeadlessFileSystem::FromCodePage(std::string_view bytes) const {
    Text out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        out += (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
    }
    return out;
}

std::string HeadlessFileSystem::ToCodePage(TextView text) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        const auto* hit = std::find(std::begin(kCp1252High), std::end(kCp1252High), c);
        out += hit != std::end(kCp1252High) ? static_cast<char>(0x80 + (hit - std::begin(kCp1252High))) : '?';
        // A surrogate pair is one character, and one '?'.
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
        }
    }
    return out;
}

bool HeadlessFileSystem::FileExists(TextView path) const {
    return FileBytes(path).has_value();
}

std::optional<std::string> HeadlessFileSystem::FileBytes(TextView path) const {
    const auto key = FileKey(path);
    const auto it = key ? files_.find(*key) : files_.end();
    return it == files_.end() ? std::nullopt : std::optional<std::string>(it->second.bytes);
}

std::optional<Text> HeadlessFileSystem::FileText(TextView path) const {
    const auto bytes = FileBytes(path);
    return bytes ? std::optional<Text>(FromCodePage(*bytes)) : std::nullopt;
}

std::vector<Text> HeadlessFileSystem::Files() const {
    std::vector<Text> paths;
    for (const auto& [key, file] : files_) {
        paths.push_back(file.path);
    }
    return paths;
}

void HeadlessFileSystem::ClearRecords() {
    lookups_.clear();
    reads_.clear();
}

} // namespace platform
