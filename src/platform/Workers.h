// Work off the window's thread: look-ups that may wait on a slow disk or a server run as jobs on workers,
// and what they found is handed back to the window's thread as a task. The jobs only answer look-ups; the
// catalogue and the window are touched on the window's thread alone.
// Implements: the seam itself, and InlineWorkers, which runs every job and task at once on the calling
// thread (the launcher's default when no workers are given, and the deterministic answer of most tests).
#pragma once

#include <chrono>
#include <functional>

#include "platform/Text.h"

namespace platform {

class Workers {
public:
    virtual ~Workers() = default;
    // Runs `job` on a worker. `label` says what it looks up (a path), for test doubles that hold some
    // answers back; the job itself must reach nothing of the window's thread without a lock.
    virtual void Submit(TextView label, std::function<void()> job) = 0;
    // Has `task` run on the window's thread after the event in hand; callable from any thread.
    virtual void PostToWindow(std::function<void()> task) = 0;
    // Waits on the window's thread, during start-up only, until `done()` holds or `limit` has passed;
    // whether `done()` held. `done` is asked again each time a job finishes.
    virtual bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) = 0;
};

class InlineWorkers : public Workers {
public:
    void Submit(TextView, std::function<void()> job) override { job(); }
    void PostToWindow(std::function<void()> task) override { task(); }
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds) override { return done(); }
};

} // namespace platform
