// A file system that answers from look-ups and reads fetched ahead on the workers.
#include "platform/AnsweredFiles.h"

#include <algorithm>
#include <array>

namespace platform {

namespace {

// The whole file, read piece by piece as the load would; marked too large past kMaxAnsweredFile.
void ReadWhole(FileSystem& files, TextView path, AnsweredFiles::Answer& answer) {
    const std::unique_ptr<FileReader> reader = files.OpenFile(path);
    if (!reader) {
        return;
    }
    std::string bytes;
    std::array<char, 64 * 1024> piece{};
    for (;;) {
        const std::optional<std::size_t> count = reader->Read(piece);
        if (!count) {
            return; // unreadable: no bytes
        }
        if (*count == 0) {
            break;
        }
        if (bytes.size() + *count > AnsweredFiles::kMaxAnsweredFile) {
            answer.tooLarge = true;
            return;
        }
        bytes.append(piece.data(), *count);
    }
    answer.bytes = std::move(bytes);
}

} // namespace

AnsweredFiles::AnsweredFiles(FileSystem& files, Workers& workers, std::chrono::milliseconds budget)
    : files_(files), workers_(workers), deadline_(std::chrono::steady_clock::now() + budget),
      board_(std::make_shared<Board>()) {}

void AnsweredFiles::Submit(const Question& question) {
    if (!submitted_.insert(question).second) {
        return;
    }
    std::weak_ptr<Board> board = board_;
    FileSystem& files = files_;
    workers_.Submit(question.first, [board, &files, question] {
        Answer answer;
        if (question.second == 0) {
            answer.lookup = files.LookupFile(question.first);
        } else if (question.second == kWholeFile) {
            ReadWhole(files, question.first, answer);
        } else {
            answer.bytes = files.ReadFileBytes(question.first, question.second);
        }
        if (const std::shared_ptr<Board> shared = board.lock()) {
            const std::lock_guard lock(shared->mutex);
            shared->answers.emplace(question, std::move(answer));
        }
    });
}

void AnsweredFiles::AwaitSubmitted() {
    const auto allCame = [this] {
        const std::lock_guard lock(board_->mutex);
        return std::all_of(submitted_.begin(), submitted_.end(),
                           [this](const Question& q) { return known_.contains(q) || board_->answers.contains(q); });
    };
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now());
    (void)workers_.WaitUntil(allCame, std::max(left, std::chrono::milliseconds(0)));
    const std::lock_guard lock(board_->mutex);
    for (const Question& question : submitted_) {
        if (known_.contains(question)) {
            continue;
        }
        const auto at = board_->answers.find(question);
        if (at != board_->answers.end()) {
            known_.emplace(question, at->second);
            continue;
        }
        // Too slow: failed for this start, like a drive that is not ready.
        known_.emplace(question, Answer{FileLookup{LookupStatus::Failed, {}}, std::nullopt});
        timedOut_.insert(question.first);
    }
}

bool AnsweredFiles::FetchNoted() {
    std::set<Question> noted;
    noted.swap(noted_);
    stopNoting_ = false;
    for (const Question& question : noted) {
        Submit(question);
    }
    AwaitSubmitted();
    return !noted.empty();
}

std::optional<AnsweredFiles::Answer> AnsweredFiles::Find(const Question& question) {
    if (const auto at = known_.find(question); at != known_.end()) {
        return at->second;
    }
    if (rehearsing_) {
        if (!stopNoting_) {
            noted_.insert(question);
        }
        return std::nullopt;
    }
    Submit(question);
    AwaitSubmitted();
    return known_.at(question);
}

FileLookup AnsweredFiles::LookupFile(TextView path) {
    if (const std::optional<Answer> answer = Find({Text(path), 0})) {
        return answer->lookup;
    }
    return FileLookup{}; // a rehearsal reads it as absent
}

std::optional<std::string> AnsweredFiles::ReadFileBytes(TextView path, std::size_t maxBytes) {
    // A limit of 0 reads nothing but an empty file: asked of the files directly, it is no look-up.
    if (maxBytes == 0) {
        return rehearsing_ ? std::nullopt : files_.ReadFileBytes(path, 0);
    }
    if (const std::optional<Answer> answer = Find({Text(path), maxBytes})) {
        return answer->bytes;
    }
    stopNoting_ = true; // what the rehearsal does next depends on these bytes
    return std::nullopt;
}

std::unique_ptr<FileReader> AnsweredFiles::OpenFile(TextView path) {
    const std::optional<Answer> answer = Find({Text(path), kWholeFile});
    if (!answer) {
        stopNoting_ = true; // what the rehearsal does next depends on these bytes
        return nullptr;
    }
    if (answer->tooLarge) {
        if (rehearsing_) {
            stopNoting_ = true;
            return nullptr;
        }
        return files_.OpenFile(path);
    }
    return answer->bytes ? std::make_unique<HeldBytesReader>(*answer->bytes) : nullptr;
}

bool AnsweredFiles::TimedOut(TextView path) const {
    return timedOut_.contains(Text(path));
}

void AnsweredFiles::Forget(TextView path) {
    std::erase_if(known_, [&](const auto& entry) { return entry.first.first == path; });
    std::erase_if(submitted_, [&](const Question& question) { return question.first == path; });
    const std::lock_guard lock(board_->mutex);
    std::erase_if(board_->answers, [&](const auto& entry) { return entry.first.first == path; });
}

bool AnsweredFiles::WriteFileBytes(TextView path, std::string_view bytes) {
    if (rehearsing_ || TimedOut(path)) {
        return false;
    }
    Forget(path);
    return files_.WriteFileBytes(path, bytes);
}

CreateResult AnsweredFiles::WriteNewFile(TextView path, std::string_view bytes) {
    if (rehearsing_ || TimedOut(path)) {
        return CreateResult::Failed;
    }
    Forget(path);
    return files_.WriteNewFile(path, bytes);
}

std::vector<Text> AnsweredFiles::ListFiles(TextView folder, TextView prefix) {
    return rehearsing_ ? std::vector<Text>{} : files_.ListFiles(folder, prefix);
}

bool AnsweredFiles::MoveFileOver(TextView source, TextView target) {
    if (rehearsing_ || TimedOut(source) || TimedOut(target)) {
        return false;
    }
    Forget(source);
    Forget(target);
    return files_.MoveFileOver(source, target);
}

bool AnsweredFiles::EraseFile(TextView path) {
    if (rehearsing_ || TimedOut(path)) {
        return false;
    }
    Forget(path);
    return files_.EraseFile(path);
}

bool AnsweredFiles::CanWriteFile(TextView path) {
    return !rehearsing_ && !TimedOut(path) && files_.CanWriteFile(path);
}

std::map<Text, FileLookup> AnsweredFiles::Lookups() const {
    std::map<Text, FileLookup> lookups;
    for (const auto& [question, answer] : known_) {
        if (question.second == 0 && !timedOut_.contains(question.first)) {
            lookups.emplace(question.first, answer.lookup);
        }
    }
    return lookups;
}

} // namespace platform
