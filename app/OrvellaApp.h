#pragma once

#include "kit/Application.h"

#include <memory>

class ApplicationEventDispatcher;
class Timer;

// The application object. Besides passing every event on, it watches the touches for idleness:
// when no touch begins or ends for `maxIdleTime` seconds the user counts as idle
// (UserIsIdleEvent, once), and the next touch that begins or ends makes the user active again
// (UserIsActiveEvent) and restarts the timer.
class OrvellaApp : public Application {
public:
    static constexpr double maxIdleTime = 10.0;

    // The idle timer runs from here on.
    OrvellaApp();
    ~OrvellaApp() override;

    void sendEvent(const TouchEvent& event) override;

    void resetIdleTimer();
    void idleTimerExceeded();
    bool idle() const { return m_idle; }

private:
    ApplicationEventDispatcher& m_dispatcher;
    std::shared_ptr<Timer> m_idleTimer;
    bool m_idle = false;
};
