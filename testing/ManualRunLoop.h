#pragma once

#include "foundation/RunLoop.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A main loop for tests: time stands still until the test moves it, and timers and posted
// tasks run only while the test pumps the loop, on the thread that created it.
class ManualRunLoop final : public RunLoop {
public:
    explicit ManualRunLoop(Date start = Date::withTimeIntervalSince1970(0.0));

    Date now() const override;
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats, std::function<void()> fire) override;
    void post(std::function<void()> task) override;
    bool isMainThread() const override;
    // Runs the posted tasks, including those they post, but no timers.
    void runPostedTasks() override;

    // Sets the time without firing anything.
    void setNow(Date now);

    // Moves time forward by `seconds`, firing in fire-date order (equal dates in the order of
    // scheduling) every timer that falls due on the way, also timers scheduled meanwhile; now()
    // is each timer's fire date while it fires. Posted tasks run before each timer and at the
    // end.
    void advance(double seconds);

    // Runs posted tasks and the timers already due until neither is left; time stays.
    void runUntilIdle();

    // Keeps running posted tasks and due timers until `condition` holds, waiting for other
    // threads to post. Real waiting is meant only for hand-overs from background threads;
    // returns false when `condition` still fails after `maxMilliseconds`.
    bool runUntil(const std::function<bool()>& condition, int maxMilliseconds = 5000);

    // Valid timers still waiting to fire.
    int pendingTimerCount() const;
    int pendingTaskCount() const;

private:
    class ManualTimer;

    bool runOnePostedTask();
    // The valid timer due first at or before `limit`, or null.
    std::shared_ptr<ManualTimer> nextTimerDueBy(Date limit);
    void fire(const std::shared_ptr<ManualTimer>& timer);

    std::atomic<double> m_now;
    std::thread::id m_thread;
    std::vector<std::shared_ptr<ManualTimer>> m_timers;
    std::uint64_t m_nextSequence = 0;

    mutable std::mutex m_tasksMutex;
    std::condition_variable m_taskPosted;
    std::deque<std::function<void()>> m_tasks;
};
