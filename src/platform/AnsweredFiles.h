// A file system that answers look-ups and reads from answers fetched ahead, side by side, on the workers:
// start-up runs its single-threaded load once or more as a rehearsal, which only notes the questions it
// could not answer (a look-up then reads as absent; after a read it could not answer, nothing more is
// noted, since what follows depends on it), has the workers answer them all at once, and runs the load for
// real when a rehearsal asks nothing new. So start-up costs a few of the share's slowest calls, not their
// sum. A question that is not answered within its time counts as failed for this start, as on a drive that
// is not ready, and nothing is written over a path whose answer did not come.
// Implements: FileSystem over another one; writes, moves and erases pass through (refused in a rehearsal)
// and forget the answers they make stale.
#pragma once

#include "platform/FileSystem.h"
#include "platform/Workers.h"

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

namespace platform {

class AnsweredFiles : public FileSystem {
public:
    // `budget`: how long all waiting together may take.
    AnsweredFiles(FileSystem& files, Workers& workers, std::chrono::milliseconds budget);

    // A rehearsal notes its unanswered questions; the real run asks the workers for each one at once.
    void Rehearse(bool on) { rehearsing_ = on; }
    // Has the workers answer the questions the rehearsal noted and waits for them (within the budget);
    // false when there were none.
    bool FetchNoted();
    // The look-ups answered so far (for keeping); those that timed out are left out.
    std::map<Text, FileLookup> Lookups() const;

    Text AppFolder() const override { return files_.AppFolder(); }
    [[nodiscard]] FileLookup LookupFile(TextView path) override;
    [[nodiscard]] std::optional<std::string> ReadFileBytes(TextView path, std::size_t maxBytes) override;
    [[nodiscard]] std::unique_ptr<FileReader> OpenFile(TextView path) override;
    [[nodiscard]] bool WriteFileBytes(TextView path, std::string_view bytes) override;
    [[nodiscard]] CreateResult WriteNewFile(TextView path, std::string_view bytes) override;
    [[nodiscard]] std::vector<Text> ListFiles(TextView folder, TextView prefix) override;
    [[nodiscard]] std::uint64_t UniqueNumber() override { return files_.UniqueNumber(); }
    [[nodiscard]] bool MoveFileOver(TextView source, TextView target) override;
    [[nodiscard]] bool EraseFile(TextView path) override;
    [[nodiscard]] bool CanWriteFile(TextView path) override;
    Text FromCodePage(std::string_view bytes) const override { return files_.FromCodePage(bytes); }
    std::string ToCodePage(TextView text) const override { return files_.ToCodePage(text); }

    // A question: a look-up (maxBytes 0) or a read of at most maxBytes.
    using Question = std::pair<Text, std::size_t>;
    struct Answer {
        FileLookup lookup;
        std::optional<std::string> bytes;
        bool tooLarge = false; // a whole file over kMaxAnsweredFile: opened again when read for real
    };
    // A question's byte limit that asks for the whole file, as OpenFile reads it; files larger than the
    // limit below are not held as answers but read piece by piece when the load runs for real.
    static constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
    static constexpr std::size_t kMaxAnsweredFile = std::size_t{8} << 20;

private:
    // Shared with the jobs, which may finish after start-up has given up on them.
    struct Board {
        std::mutex mutex;
        std::map<Question, Answer> answers;
    };

    // The answer to a question, fetching it now when it was not noted; nothing while rehearsing.
    std::optional<Answer> Find(const Question& question);
    void Submit(const Question& question);
    // Waits for the submitted questions within the budget; those still open time out.
    void AwaitSubmitted();
    void Forget(TextView path);
    bool TimedOut(TextView path) const;

    FileSystem& files_;
    Workers& workers_;
    std::chrono::steady_clock::time_point deadline_;
    std::shared_ptr<Board> board_;
    std::map<Question, Answer> known_; // answers taken from the board, on this thread
    std::set<Question> noted_;
    std::set<Question> submitted_;
    std::set<Text> timedOut_;
    bool rehearsing_ = false;
    bool stopNoting_ = false;
};

} // namespace platform
