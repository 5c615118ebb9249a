#pragma once

#include "foundation/Date.h"

#include <cstdint>
#include <functional>
#include <memory>

// A pending one-shot or repeating timer of a run loop. Holding the handle does not keep the
// timer alive past invalidation; dropping the handle does not cancel it.
class Timer {
public:
    virtual ~Timer() = default;

    virtual void invalidate() = 0;
    virtual bool isValid() const = 0;
    virtual Date fireDate() const = 0;
};

// The source of "now".
class Clock {
public:
    virtual ~Clock() = default;

    virtual Date now() const = 0;
};

// The main loop: time, timers and deferred calls all come from here, so that tests can drive
// time by hand. Timers and posted calls run on the main thread; `post` may be called from any
// thread.
class RunLoop : public Clock {
public:
    // Schedules `fire` after `interval` seconds; a repeating timer fires every `interval`
    // seconds until invalidated. Call on the main thread; the timer fires there.
    virtual std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats,
                                                 std::function<void()> fire) = 0;
    // The shortest interval of a repeating timer, so that one cannot spin the loop.
    static constexpr double minimumRepeatInterval = 0.001;

    // Runs `task` on the next turn of the main loop. Thread-safe.
    virtual void post(std::function<void()> task) = 0;

    // True on the thread that runs this loop.
    virtual bool isMainThread() const = 0;

    // On the main thread: runs the calls posted so far now instead of on the next turn. Lets
    // the main thread keep serving hand-overs while it blocks waiting for background work.
    virtual void runPostedTasks() = 0;

    // The process-wide main loop. Until one is installed, a real loop on the Qt event loop is
    // created on first use.
    static RunLoop& main();
    static void setMain(std::shared_ptr<RunLoop> runLoop);
    // Changes with every setMain, so that holders of timers can tell that the loop their timers
    // belong to is no longer the main one.
    static std::uint64_t mainGeneration();
};
