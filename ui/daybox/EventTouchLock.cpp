#include "ui/daybox/EventTouchLock.h"

#include "foundation/RunLoop.h"

EventTouchLock::~EventTouchLock() {
    cancelTimer();
}

void EventTouchLock::lock() {
    cancelTimer();
    m_locked = true;
    const std::weak_ptr<EventTouchLock> weakSelf = weak_from_this();
    m_timer = RunLoop::main().scheduleTimer(holdSeconds, false, [weakSelf] {
        if (const std::shared_ptr<EventTouchLock> self = weakSelf.lock()) {
            self->m_locked = false;
        }
    });
}

void EventTouchLock::release() {
    m_locked = false;
    cancelTimer();
}

void EventTouchLock::cancelTimer() {
    if (m_timer) {
        m_timer->invalidate();
        m_timer.reset();
    }
}
