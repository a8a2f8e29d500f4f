// Headless workers, the test double of platform::Workers.
// Implements: jobs and tasks for the window's thread kept in queues until the test runs them, in the order
// submitted or shuffled by a seed; jobs whose label the test stalled, which never answer until released;
// and a start-up wait that runs the jobs it may (time does not pass: a stalled job simply never answers).
#pragma once

#include "platform/Workers.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <set>

namespace platform {

class HeadlessWorkers : public Workers {
public:
    void Submit(TextView label, std::function<void()> job) override;
    void PostToWindow(std::function<void()> task) override { posted_.push_back(std::move(task)); }
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;

    // Jobs labelled `label` wait until released.
    void Stall(TextView label) { stalled_.insert(Text(label)); }
    void Release(TextView label) { stalled_.erase(Text(label)); }
    // Answers in a shuffled order from now on (a seed), or in the order submitted (nothing).
    void Shuffle(std::optional<std::uint32_t> seed) { seed_ = seed; }
    // Runs the jobs that are not stalled; then the tasks they posted, as the window's thread would.
    void RunJobs();
    void RunPosted();
    void Settle() {
        RunJobs();
        RunPosted();
    }
    // Jobs submitted since the start, and those still waiting.
    int Submitted() const { return submitted_; }
    int Waiting() const { return static_cast<int>(jobs_.size()); }

private:
    struct Job {
        Text label;
        std::function<void()> run;
    };
    // Takes the next job that may run, in the present order; nothing when none may.
    std::optional<Job> Next();

    std::deque<Job> jobs_;
    std::deque<std::function<void()>> posted_;
    std::set<Text> stalled_;
    std::optional<std::uint32_t> seed_;
    int submitted_ = 0;
};

} // namespace platform
