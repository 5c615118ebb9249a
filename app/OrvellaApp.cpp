#include "app/OrvellaApp.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/UserIsActiveEvent.h"
#include "core/bus/UserIsIdleEvent.h"
#include "foundation/RunLoop.h"
#include "kit/Touch.h"
#include "kit/TouchEvent.h"

OrvellaApp::OrvellaApp() : m_dispatcher(ApplicationEventDispatcher::sharedInstance()) {
    resetIdleTimer();
}

OrvellaApp::~OrvellaApp() {
    if (m_idleTimer) {
        m_idleTimer->invalidate();
    }
}

void OrvellaApp::sendEvent(const TouchEvent& event) {
    Application::sendEvent(event);
    const auto touches = event.allTouches();
    if (touches.empty()) {
        return;
    }
    // Any one touch stands for the event, as the phases of one event's touches move together.
    const TouchPhase phase = touches.front()->phase();
    if (phase == TouchPhase::Began || phase == TouchPhase::Ended) {
        resetIdleTimer();
    }
}

void OrvellaApp::resetIdleTimer() {
    if (m_idle) {
        m_idle = false;
        m_dispatcher.dispatch<UserIsActiveEvent>();
    }
    if (m_idleTimer) {
        m_idleTimer->invalidate();
    }
    m_idleTimer = RunLoop::main().scheduleTimer(maxIdleTime, false, [this] { idleTimerExceeded(); });
}

void OrvellaApp::idleTimerExceeded() {
    m_idleTimer.reset();
    m_idle = true;
    m_dispatcher.dispatch<UserIsIdleEvent>();
}
