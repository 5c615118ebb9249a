#pragma once

#include "foundation/RunLoop.h"

#include <memory>
#include <thread>

// The application's main loop: the Qt event loop of the QCoreApplication's thread, and the
// system clock.
class QtRunLoop final : public RunLoop {
public:
    QtRunLoop();
    ~QtRunLoop() override;

    QtRunLoop(const QtRunLoop&) = delete;
    QtRunLoop& operator=(const QtRunLoop&) = delete;

    Date now() const override;
    std::shared_ptr<Timer> scheduleTimer(double interval, bool repeats, std::function<void()> fire) override;
    void post(std::function<void()> task) override;
    bool isMainThread() const override;
    void runPostedTasks() override;

private:
    class Target;
    class QtTimer;

    // The Qt object in the main thread that receives the timer events and the queued calls;
    // shared with the timers, which must not outlive it in use.
    std::shared_ptr<Target> m_target;
    std::thread::id m_creatorThread;
};
