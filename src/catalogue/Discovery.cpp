// Discovery of installed programs: missing executables and help-video players are looked up by program
// name in the candidate-location files and taken from the first candidate that exists on the launcher's
// drive.
#include "catalogue/Discovery.h"
#include "catalogue/Misc.h"
#include "catalogue/Scanners.h"
#include "catalogue/Settings.h"

namespace catalogue {

namespace {

// Candidates are p1 to p19; p0 and anything above p19 are never read.
constexpr int kFirstCandidate = 1;
constexpr int kLastCandidate = 19;

// The lines of one candidate-location file, read once and only when first needed.
class CandidateFile {
public:
    CandidateFile(platform::FileSystem& files, TextView fileName)
        : files_(files), path_(DataFilePath(files, fileName)) {}

    // The first existing candidate for the name, from the last line that carries the name; empty when that
    // line has none, or when the file is missing or unreadable.
    Text Find(TextView name, const Text& appDrive) {
        // A slot without a name is an empty one of a saved file, and no candidate line is meant for it: a
        // line without a name would otherwise fill every such slot.
        if (name.empty()) {
            return {};
        }
        const std::vector<Text>& lines = Lines();
        const Text wanted = platform::LowerCase(name);
        Text candidate;
        bool found = false;
        for (const Text& line : lines) {
            // Lines without a tag (indented or blank) are outside the format and skipped.
            const auto tag = GetTagName(line);
            if (!tag || *tag != u"program" || platform::LowerCase(GetAttribute(line, u"name")) != wanted) {
                continue;
            }
            found = false;
            for (int k = kFirstCandidate; k <= kLastCandidate && !found; ++k) {
                candidate = appDrive + GetAttribute(line, u"p" + platform::DecimalText(k));
                // A missing or empty attribute leaves the drive alone, which is no candidate.
                found = candidate != appDrive && files_.LookupFile(candidate).Found();
            }
        }
        return found ? candidate : Text();
    }

private:
    const std::vector<Text>& Lines() {
        if (!lines_) {
            lines_.emplace();
            if (files_.LookupFile(path_).Found()) {
                if (const auto bytes = files_.ReadFileBytes(path_, kMaxDataFileBytes)) {
                    *lines_ = SplitLines(files_.FromCodePage(*bytes));
                }
            }
        }
        return *lines_;
    }

    platform::FileSystem& files_;
    Text path_;
    std::optional<std::vector<Text>> lines_;
};

} // namespace

Text FindProgramPath(TextView name, const Catalogue& cat, platform::FileSystem& files) {
    return CandidateFile(files, kProgramCandidatesFileName).Find(name, cat.appDrive);
}

Text FindVideoPath(TextView name, const Catalogue& cat, platform::FileSystem& files) {
    return CandidateFile(files, kVideoCandidatesFileName).Find(name, cat.appDrive);
}

void DiscoverPrograms(Catalogue& cat, platform::FileSystem& files) {
    // Each candidate file is read at most once per discovery, however many programs are missing.
    CandidateFile programCandidates(files, kProgramCandidatesFileName);
    CandidateFile videoCandidates(files, kVideoCandidatesFileName);
    for (int id = 0; id < cat.progCount && id < kSlotCount; ++id) {
        ProgramRecord& program = cat.progList[static_cast<std::size_t>(id)];
        if (FileOrWebExists(program.path, files).empty()) {
            if (Text found = programCandidates.Find(program.name, cat.appDrive); !found.empty()) {
                program.path = std::move(found);
            }
        }
        // A plain existence test: a web address is no video player. A failed lookup counts as missing.
        if (!files.LookupFile(program.videopath).Found()) {
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
