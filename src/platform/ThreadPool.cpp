// A small pool of worker threads.
#include "platform/ThreadPool.h"

namespace platform {

ThreadPool::ThreadPool(int threads, std::function<void()> wake) : wake_(std::move(wake)) {
    for (int i = 0; i < threads; ++i) {
        threads_.emplace_back([this] { Work(); });
    }
}

ThreadPool::~ThreadPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    jobReady_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void ThreadPool::Submit(TextView, std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    jobReady_.notify_one();
}

void ThreadPool::PostToWindow(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        posted_.push_back(std::move(task));
    }
    if (wake_) {
        wake_();
    }
}

bool ThreadPool::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(mutex_);
    // `done` takes locks of its own: it is asked with the pool's lock released, and a job that finishes
    // meanwhile is seen in the count.
    while (true) {
        const unsigned long long seen = finished_;
        lock.unlock();
        if (done()) {
            return true;
        }
        lock.lock();
        if (!jobDone_.wait_until(lock, deadline, [&] { return finished_ != seen; })) {
            lock.unlock();
            return done();
        }
    }
}

void ThreadPool::RunPosted() {
    std::deque<std::function<void()>> tasks;
    {
        const std::lock_guard lock(mutex_);
        tasks.swap(posted_);
    }
    for (const auto& task : tasks) {
        task();
    }
}

void ThreadPool::Work() {
    std::unique_lock lock(mutex_);
    while (true) {
        jobReady_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        if (stopping_) {
            return;
        }
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
        ++finished_;
        jobDone_.notify_all();
    }
}

} // namespace platform
