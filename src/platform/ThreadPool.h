// A small pool of worker threads, the Workers of a real run. Jobs run in the order submitted on the first
// free thread; tasks for the window's thread are queued here and the backend is woken (`wake`, callable
// from any thread) to run them with RunPosted on its own thread.
#pragma once

#include "platform/Workers.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class ThreadPool : public Workers {
public:
    ThreadPool(int threads, std::function<void()> wake);
    // Drops the jobs not yet started and waits for the running ones.
    ~ThreadPool() override;
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    void Submit(TextView label, std::function<void()> job) override;
    void PostToWindow(std::function<void()> task) override;
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override;

    // Runs the tasks posted so far; on the window's thread, when woken.
    void RunPosted();

private:
    void Work();

    std::function<void()> wake_;
    std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable jobDone_;
    std::deque<std::function<void()>> jobs_;
    std::deque<std::function<void()>> posted_;
    unsigned long long finished_ = 0; // jobs finished so far
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace platform
