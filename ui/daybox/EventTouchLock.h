#pragma once

#include <memory>

class Timer;

// Keeps the event rows of the week screen from taking two touches at once: while one row is
// touched, and for a second after a touch that never ended, no row that shares the lock accepts
// a new touch. The week screen makes one lock and hands it to every page it shows, and a page to
// its day boxes and their rows. Held by a shared pointer, as its timer sees it weakly.
class EventTouchLock : public std::enable_shared_from_this<EventTouchLock> {
public:
    // How long a touch holds the lock when nothing releases it earlier.
    static constexpr double holdSeconds = 1.0;

    EventTouchLock() = default;
    ~EventTouchLock();
    EventTouchLock(const EventTouchLock&) = delete;
    EventTouchLock& operator=(const EventTouchLock&) = delete;

    bool locked() const { return m_locked; }
    // Locks until release(), or until holdSeconds have passed.
    void lock();
    void release();

private:
    void cancelTimer();

    bool m_locked = false;
    std::shared_ptr<Timer> m_timer;
};
