// The settings file progdata.xml: its writer, its reader, and building the defaults on a first start.
#include "catalogue/Settings.h"
#include "catalogue/DataFiles.h"
#include "catalogue/Defaults.h"
#include "catalogue/Misc.h"
#include "catalogue/Scanners.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace catalogue {

namespace {

constexpr TextView kLineEnd = u"\r\n";

// An apostrophe would end the value early when it is read back, so it is written as "&apos;". A value is
// written as far as a value is read back (kMaxValueChars), so that every line written reads back whole.
Text Escaped(TextView value) {
    value = value.substr(0, kMaxValueChars);
    Text out;
    out.reserve(value.size());
    for (const char16_t c : value) {
        if (c == u'\'') {
            out += u"&apos;";
        } else {
            out += c;
        }
    }
    return out;
}

// The writer puts one blank before the closing apostrophe of the optional values; reading takes it off
// again so that the value does not grow at every save, and saving what was read gives the same bytes.
Text WithoutWriterBlank(Text value) {
    if (!value.empty() && value.back() == u' ') {
        value.pop_back();
    }
    return value;
}

// Slots written: the 29 of the built-in suite, or more when the catalogue has more.
int WrittenCount(const Catalogue& cat) {
    return std::clamp<int>(cat.progCount, kDefaultCount, kSlotCount);
}

void AppendProgramLine(Text& out, const ProgramRecord& program) {
    out += u"<program name='";
    out += Escaped(program.name);
    out += u"' path='";
    out += Escaped(program.path);
    out += u"' show='";
    out += BoolToTF(program.show);
    out += u"' ";
    const auto optional = [&out](TextView attribute, const Text& value) {
        if (!value.empty()) {
            out += attribute;
            out += u"='";
            out += Escaped(value);
            out += u" ' ";
        }
    };
    optional(u"picpath", program.picpath);
    optional(u"desc", program.desc);
    optional(u"videopath", program.videopath);
    out += u"/>";
    out += kLineEnd;
}

Text SettingsText(const Catalogue& cat, int count) {
    Text out = u"<programs>";
    out += kLineEnd;
    out += u"<options showall='";
    out += cat.showall != kFalse ? u"True" : u"False";
    out += u"' />";
    out += kLineEnd;
    out += u"<order ";
    for (int pos = 0; pos < count; ++pos) {
        out += u"p" + platform::DecimalText(pos) + u"='" +
               platform::DecimalText(cat.order[static_cast<std::size_t>(pos)]) + u"' ";
    }
    out += u"/>";
    out += kLineEnd;
    for (int id = 0; id < count; ++id) {
        AppendProgramLine(out, cat.progList[static_cast<std::size_t>(id)]);
    }
    out += u"</programs>";
    out += kLineEnd;
    return out;
}

// The launcher's own temporary files, beside the settings file: its name, a dot, 16 hexadecimal digits
// and ".tmp". Only files of exactly this form are ever removed as left over.
constexpr TextView kTemporarySuffix = u".tmp";
constexpr std::size_t kTemporaryDigits = 16;

Text TemporaryName(std::uint64_t number) {
    Text name = Text(kSettingsFileName) + u".";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += u"0123456789abcdef"[(number >> shift) & 0xF];
    }
    return name + Text(kTemporarySuffix);
}

bool IsOwnTemporary(TextView name) {
    const Text lower = platform::LowerCase(name);
    const std::size_t prefix = std::char_traits<char16_t>::length(kSettingsFileName) + 1;
    return lower.size() == prefix + kTemporaryDigits + kTemporarySuffix.size() &&
           lower.starts_with(Text(kSettingsFileName) + u".") && lower.ends_with(kTemporarySuffix) &&
           std::all_of(lower.begin() + prefix, lower.end() - kTemporarySuffix.size(),
                       [](char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); });
}

// Temporaries that a launcher which died while saving left behind. One that another launcher is writing
// right now is held open by it and cannot be deleted, so it stays.
void RemoveLeftoverTemporaries(platform::FileSystem& files, const Text& folder) {
    for (const Text& name : files.ListFiles(folder, Text(kSettingsFileName) + u".")) {
        if (IsOwnTemporary(name)) {
            (void)files.EraseFile(folder + name);
        }
    }
}

// The new text goes to a new file of a name of its own beside the old one, which is then replaced in one
// step: a crash, a full disk or a locked file leaves the old settings whole, and of two launchers saving
// at the same moment (on two machines sharing the folder) one's complete file stays. Nothing planted in
// the folder (a folder or a read-only file of any name) is ever opened or stops the save.
void WriteSettings(const Catalogue& cat, int count, platform::FileSystem& files) {
    const Text location = SettingsFilePath(files);
    const Text folder = GetFolder(location);
    RemoveLeftoverTemporaries(files, folder);
    const std::string bytes = files.ToCodePage(SettingsText(cat, count));
    // A name that is taken already gives way to another; a few tries are plenty for random names.
    for (int attempt = 0; attempt < 4; ++attempt) {
        const Text temporary = folder + TemporaryName(files.UniqueNumber());
        const platform::CreateResult created = files.WriteNewFile(temporary, bytes);
        if (created == platform::CreateResult::Exists) {
            continue;
        }
        if (created == platform::CreateResult::Refused) {
            // A folder where only the settings file itself may be written: it is written in place, the one
            // way left, at the risk of a half-written file should the launcher die while writing it.
            (void)files.WriteFileBytes(location, bytes);
            return;
        }
        if (created == platform::CreateResult::Written && files.MoveFileOver(temporary, location)) {
            return;
        }
        (void)files.EraseFile(temporary); // nothing more to do when even this fails
        return;
    }
}

} // namespace

Text SettingsFilePath(const platform::FileSystem& files) {
    return DataFilePath(files, kSettingsFileName);
}

Text SettingsText(const Catalogue& cat) {
    return SettingsText(cat, WrittenCount(cat));
}

void SaveSettings(const Catalogue& cat, platform::FileSystem& files) {
    // The file that could not be read still holds the user's settings, which the catalogue in memory
    // lacks: writing it would lose them.
    if (cat.settingsUnreadable) {
        return;
    }
    // Programs the load could not take from the file are still in it: the file is kept beside the new
    // one, and when it cannot be kept it is not replaced.
    if (cat.settingsPartlyRead && !KeepUnreadSettings(files, SettingsFilePath(files))) {
        return;
    }
    WriteSettings(cat, WrittenCount(cat), files);
}

SaveBlock ProbeSettingsSave(const Catalogue& cat, platform::FileSystem& files) {
    if (cat.settingsUnreadable) {
        return SaveBlock::FileUnreadable;
    }
    const Text location = SettingsFilePath(files);
    const Text folder = GetFolder(location);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const Text temporary = folder + TemporaryName(files.UniqueNumber());
        switch (files.WriteNewFile(temporary, {})) {
        case platform::CreateResult::Exists:
            continue;
        case platform::CreateResult::Written:
            (void)files.EraseFile(temporary); // else the next save removes it as left over
            // The new file would replace the old one, which a read-only file refuses.
            return files.LookupFile(location).Found() && !files.CanWriteFile(location) ? SaveBlock::FileReadOnly
                                                                                       : SaveBlock::None;
        case platform::CreateResult::Refused:
            // The save writes the file in place then.
            if (files.CanWriteFile(location)) {
                return SaveBlock::None;
            }
            return files.LookupFile(location).Found() ? SaveBlock::FileReadOnly : SaveBlock::FolderReadOnly;
        case platform::CreateResult::Failed:
            return SaveBlock::FolderReadOnly;
        }
    }
    return SaveBlock::None;
}

void LoadSettings(Catalogue& cat, platform::FileSystem& files) {
    cat.progCount = 0;
    cat.settingsPartlyRead = false;
    const Text location = SettingsFilePath(files);
    int slot = -1;
    bool failed = false;
    const bool read = ReadLines(files, location, [&](TextView line) {
        const auto tag = GetTagName(line);
        if (!tag) {
            failed = true;
            return false;
        }
        if (*tag == u"options") {
            cat.showall = GetAttribute(line, u"showall") == u"True" ? kTrue : kFalse;
        } else if (*tag == u"order") {
            ParseOrder(line, cat);
        } else if (*tag == u"program") {
            ++cat.progCount;
            if (++slot >= kSlotCount) {
                failed = true;
                return false;
            }
            const auto value = [&line](TextView name) { return GetAttribute(line, name).substr(0, kMaxValueChars); };
            ProgramRecord& program = cat.progList[static_cast<std::size_t>(slot)];
            program.name = value(u"name");
            program.path = value(u"path");
            program.picpath = WithoutWriterBlank(value(u"picpath"));
            program.desc = WithoutWriterBlank(value(u"desc"));
            program.videopath = WithoutWriterBlank(value(u"videopath"));
            program.show = GetAttribute(line, u"show") == u"T" ? kTrue : kFalse;
        }
        return true;
    });
    // A file that is there but could not be read (held open by another program, access refused, a lookup
    // that cannot tell) is never saved over; nor is one that names programs that were not read, unless it
    // can be kept aside first.
    cat.settingsUnreadable = !read && files.LookupFile(location).status != platform::LookupStatus::Absent;
    if (read) {
        const std::optional<int> entries = CountProgramEntries(files, location);
        cat.settingsUnreadable = !entries;
        cat.settingsPartlyRead = entries && *entries > std::min(slot + 1, kSlotCount);
    }
    if (!read || failed) {
        cat.progCount = kDefaultCount;
    }
}

void EnsureSettingsFile(Catalogue& cat, platform::FileSystem& files) {
    const Text location = SettingsFilePath(files);
    Text firstLine;
    const bool read = ReadLines(files, location, [&firstLine](TextView line) {
        firstLine = Text(line);
        return false;
    });
    const platform::FileLookup lookup = files.LookupFile(location);
    // A lookup that itself failed while the file could be read must not let the defaults overwrite it.
    const bool absent =
        lookup.status == platform::LookupStatus::Absent || (lookup.status == platform::LookupStatus::Failed && !read);
    if (!absent && firstLine != kEmptyMarker) {
        return;
    }
    SetDefaultOptions(cat);
    SetDefaultPaths(cat);
    SetDefaultNames(cat);
    SetDefaultPictures(cat, files);
    SetDefaultDescriptions(cat);
    SetDefaultVideoPaths(cat);
    SetDefaultOrder(cat);
    SetDefaultShow(cat);
    // A file that starts with the empty marker but names programs below it is kept aside first; when it
    // cannot be kept (or counted), it is not replaced.
    if (!absent) {
        const std::optional<int> entries = CountProgramEntries(files, location);
        if (!entries || (*entries > 0 && !KeepUnreadSettings(files, location))) {
            return;
        }
    }
    // Exactly the built-in entries: slots a bigger catalogue held before a reset are not written back.
    WriteSettings(cat, kDefaultCount, files);
}

} // namespace catalogue
