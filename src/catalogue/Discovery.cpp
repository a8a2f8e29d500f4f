// Discovery of installed programs: missing executables and help-video players are looked up by program
// name in the candidate-location files and taken from the first candidate that exists on the launcher's
// drive.
#include "catalogue/Discovery.h"
#include "catalogue/DataFiles.h"
#include "catalogue/Misc.h"
#include "catalogue/Scanners.h"
#include "catalogue/Settings.h"

#include <algorithm>
#include <map>
#include <vector>

namespace catalogue {

namespace {

// Candidates are p1 to p19; p0 and anything above p19 are never read.
constexpr int kFirstCandidate = 1;
constexpr int kLastCandidate = 19;

// The candidates of a candidate-location file for the names wanted: for each name, the values p1 to p19 of
// the last line that names it (only that line decides). The file is read once, a line at a time, and only
// the candidates of one line per wanted name are kept, whatever the file's size.
class CandidateFile {
public:
    CandidateFile(platform::FileSystem& files, TextView fileName)
        : files_(files), path_(DataFilePath(files, fileName)) {}

    // Names whose candidates Read collects, compared without regard to case. A slot without a name is an
    // empty one of a saved file, and no candidate line is meant for it.
    void Want(TextView name) {
        if (!name.empty()) {
            last_.emplace(platform::LowerCase(name), std::vector<Text>());
        }
    }

    void Read() {
        if (last_.empty() || !files_.LookupFile(path_).Found()) {
            return;
        }
        (void)ReadLines(files_, path_, [this](TextView line) {
            // Lines without a tag (indented or blank) are outside the format and skipped.
            const auto tag = GetTagName(line);
            if (!tag || *tag != u"program") {
                return true;
            }
            const auto wanted = last_.find(platform::LowerCase(GetAttribute(line, u"name")));
            if (wanted != last_.end()) {
                wanted->second.clear();
                for (int k = kFirstCandidate; k <= kLastCandidate; ++k) {
                    wanted->second.push_back(GetAttribute(line, u"p" + platform::DecimalText(k)));
                }
            }
            return true;
        });
    }

    // The first existing candidate for the name on the launcher's drive, at most 19 lookups; empty when
    // there is none, or when the file is missing or unreadable.
    Text Find(TextView name, const Text& appDrive) {
        const auto wanted = last_.find(platform::LowerCase(name));
        if (wanted == last_.end()) {
            return {};
        }
        for (const Text& value : wanted->second) {
            // A missing or empty attribute leaves the drive alone, which is no candidate.
            const Text candidate = (appDrive + value).substr(0, kMaxValueChars);
            if (candidate != appDrive && files_.LookupFile(candidate).Found()) {
                return candidate;
            }
        }
        return {};
    }

private:
    platform::FileSystem& files_;
    Text path_;
    std::map<Text, std::vector<Text>> last_;
};

Text FindCandidate(TextView name, const Catalogue& cat, platform::FileSystem& files, TextView fileName) {
    CandidateFile candidates(files, fileName);
    candidates.Want(name);
    candidates.Read();
    return candidates.Find(name, cat.appDrive);
}

} // namespace

Text FindProgramPath(TextView name, const Catalogue& cat, platform::FileSystem& files) {
    return FindCandidate(name, cat, files, kProgramCandidatesFileName);
}

Text FindVideoPath(TextView name, const Catalogue& cat, platform::FileSystem& files) {
    return FindCandidate(name, cat, files, kVideoCandidatesFileName);
}

void DiscoverPrograms(Catalogue& cat, platform::FileSystem& files) {
    // Each candidate file is read at most once per discovery, however many programs are missing.
    CandidateFile programCandidates(files, kProgramCandidatesFileName);
    CandidateFile videoCandidates(files, kVideoCandidatesFileName);
    const int count = std::min<int>(cat.progCount, kSlotCount);
    std::vector<bool> pathMissing(static_cast<std::size_t>(std::max(count, 0)));
    std::vector<bool> videoMissing(pathMissing.size());
    for (int id = 0; id < count; ++id) {
        const ProgramRecord& program = cat.progList[static_cast<std::size_t>(id)];
        if (FileOrWebExists(program.path, files).empty()) {
            pathMissing[static_cast<std::size_t>(id)] = true;
            programCandidates.Want(program.name);
        }
        // A plain existence test: a web address is no video player. A failed lookup counts as missing.
        if (!files.LookupFile(program.videopath).Found()) {
            videoMissing[static_cast<std::size_t>(id)] = true;
            videoCandidates.Want(program.name);
        }
    }
    programCandidates.Read();
    videoCandidates.Read();
    for (int id = 0; id < count; ++id) {
        ProgramRecord& program = cat.progList[static_cast<std::size_t>(id)];
        if (pathMissing[static_cast<std::size_t>(id)]) {
            if (Text found = programCandidates.Find(program.name, cat.appDrive); !found.empty()) {
                program.path = std::move(found);
            }
        }
        if (videoMissing[static_cast<std::size_t>(id)]) {
            if (Text found = videoCandidates.Find(program.name, cat.appDrive); !found.empty()) {
                program.videopath = std::move(found);
            }
        }
    }
}

void TrimPaths(Catalogue& cat) {
    for (int id = 0; id < cat.progCount && id < kSlotCount; ++id) {
        ProgramRecord& program = cat.progList[static_cast<std::size_t>(id)];
        program.path = platform::TrimBlanks(program.path);
        program.videopath = platform::TrimBlanks(program.videopath);
    }
}

} // namespace catalogue
