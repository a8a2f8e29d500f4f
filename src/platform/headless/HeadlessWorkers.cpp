// Headless workers, the test double of platform::Workers.
#include "platform/headless/HeadlessWorkers.h"

#include <random>

namespace platform {

void HeadlessWorkers::Submit(TextView label, std::function<void()> job) {
    ++submitted_;
    jobs_.push_back(Job{Text(label), std::move(job)});
}

std::optional<HeadlessWorkers::Job> HeadlessWorkers::Next() {
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        if (!stalled_.contains(jobs_[i].label)) {
            free.push_back(i);
        }
    }
    if (free.empty()) {
        return std::nullopt;
    }
    std::size_t pick = free.front();
    if (seed_) {
        std::mt19937 random(*seed_);
        seed_ = static_cast<std::uint32_t>(random());
        pick = free[random() % free.size()];
    }
    Job job = std::move(jobs_[pick]);
    jobs_.erase(jobs_.begin() + static_cast<std::ptrdiff_t>(pick));
    return job;
}

void HeadlessWorkers::RunJobs() {
    while (std::optional<Job> job = Next()) {
        job->run();
    }
}

void HeadlessWorkers::RunPosted() {
    while (!posted_.empty()) {
        std::function<void()> task = std::move(posted_.front());
        posted_.pop_front();
        task();
    }
}

bool HeadlessWorkers::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds) {
    while (!done()) {
        std::optional<Job> job = Next();
        if (!job) {
            return false;
        }
        job->run();
    }
    return true;
}

} // namespace platform
