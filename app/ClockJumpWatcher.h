#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// Tells when the wall clock jumped: set by hand or by time synchronisation, or moved on after the
// computer slept, when timers that count elapsed time fire late. Linux reports both through a
// timer on the wall clock that is cancelled whenever the clock is set (TFD_TIMER_CANCEL_ON_SET);
// between jumps it costs no wake-up. Main thread; needs the Qt application object.
class ClockJumpWatcher {
public:
    explicit ClockJumpWatcher(std::function<void()> onJump);
    ~ClockJumpWatcher();

    ClockJumpWatcher(const ClockJumpWatcher&) = delete;
    ClockJumpWatcher& operator=(const ClockJumpWatcher&) = delete;

private:
    // Arms the timer far in the future; only its cancellation is of interest.
    bool arm();
    void readJump();

    std::function<void()> m_onJump;
    int m_descriptor = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
