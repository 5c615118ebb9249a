#include "testing/ManualRunLoop.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// How long runUntil sleeps at most before checking its condition again when nothing is
// posted, for conditions that other threads make true without posting.
constexpr std::chrono::milliseconds conditionPollInterval{2};

} // namespace

class ManualRunLoop::ManualTimer final : public Timer {
public:
    ManualTimer(double interval, bool repeats, std::function<void()> fire, Date fireDate,
                std::uint64_t sequence)
        : m_interval(interval), m_repeats(repeats), m_fire(std::move(fire)), m_fireDate(fireDate),
          m_sequence(sequence) {}

    void invalidate() override { m_valid = false; }
    bool isValid() const override { return m_valid; }
    Date fireDate() const override { return m_fireDate; }

    double m_interval;
    bool m_repeats;
    std::function<void()> m_fire;
    Date m_fireDate;
    std::uint64_t m_sequence;
    bool m_valid = true;
};

ManualRunLoop::ManualRunLoop(Date start)
    : m_now(start.timeIntervalSince1970()), m_thread(std::this_thread::get_id()) {}

Date ManualRunLoop::now() const {
    return Date::withTimeIntervalSince1970(m_now.load());
}

void ManualRunLoop::setNow(Date now) {
    m_now.store(now.timeIntervalSince1970());
}

std::shared_ptr<Timer> ManualRunLoop::scheduleTimer(double interval, bool repeats,
                                                    std::function<void()> fire) {
    interval = repeats ? std::max(interval, RunLoop::minimumRepeatInterval) : std::max(interval, 0.0);
    auto timer = std::make_shared<ManualTimer>(interval, repeats, std::move(fire),
                                               now().addingTimeInterval(interval), m_nextSequence++);
    m_timers.push_back(timer);
    return timer;
}

void ManualRunLoop::post(std::function<void()> task) {
    {
        std::lock_guard lock(m_tasksMutex);
        m_tasks.push_back(std::move(task));
    }
    m_taskPosted.notify_all();
}

bool ManualRunLoop::isMainThread() const {
    return std::this_thread::get_id() == m_thread;
}

bool ManualRunLoop::runOnePostedTask() {
    std::function<void()> task;
    {
        std::lock_guard lock(m_tasksMutex);
        if (m_tasks.empty()) {
            return false;
        }
        task = std::move(m_tasks.front());
        m_tasks.pop_front();
    }
    task();
    return true;
}

void ManualRunLoop::runPostedTasks() {
    while (runOnePostedTask()) {
    }
}

std::shared_ptr<ManualRunLoop::ManualTimer> ManualRunLoop::nextTimerDueBy(Date limit) {
    std::erase_if(m_timers, [](const auto& timer) { return !timer->m_valid; });
    std::shared_ptr<ManualTimer> next;
    for (const auto& timer : m_timers) {
        if (timer->m_fireDate > limit) {
            continue;
        }
        if (!next || timer->m_fireDate < next->m_fireDate ||
            (timer->m_fireDate == next->m_fireDate && timer->m_sequence < next->m_sequence)) {
            next = timer;
        }
    }
    return next;
}

void ManualRunLoop::fire(const std::shared_ptr<ManualTimer>& timer) {
    if (timer->m_repeats) {
        // Rescheduled like a new timer, so that it comes after timers already due at that date.
        timer->m_fireDate = timer->m_fireDate.addingTimeInterval(timer->m_interval);
        // Intervals missed while time jumped (setNow) are skipped, as a late timer of a real
        // loop fires once and not once for every interval it missed.
        const double behind = now().timeIntervalSinceDate(timer->m_fireDate);
        if (behind >= 0) {
            timer->m_fireDate = timer->m_fireDate.addingTimeInterval(
                (std::floor(behind / timer->m_interval) + 1) * timer->m_interval);
        }
        timer->m_sequence = m_nextSequence++;
    } else {
        timer->m_valid = false;
    }
    // A copy, so that the function survives if the timer drops it while running.
    const std::function<void()> function = timer->m_fire;
    function();
}

void ManualRunLoop::advance(double seconds) {
    const Date end = now().addingTimeInterval(std::max(seconds, 0.0));
    for (;;) {
        runPostedTasks();
        const std::shared_ptr<ManualTimer> timer = nextTimerDueBy(end);
        if (!timer) {
            break;
        }
        if (timer->m_fireDate > now()) {
            setNow(timer->m_fireDate);
        }
        fire(timer);
    }
    if (end > now()) {
        setNow(end);
    }
}

void ManualRunLoop::runUntilIdle() {
    for (;;) {
        runPostedTasks();
        const std::shared_ptr<ManualTimer> timer = nextTimerDueBy(now());
        if (!timer) {
            break;
        }
        fire(timer);
    }
}

bool ManualRunLoop::runUntil(const std::function<bool()>& condition, int maxMilliseconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxMilliseconds);
    for (;;) {
        runUntilIdle();
        if (condition()) {
            return true;
        }
        std::unique_lock lock(m_tasksMutex);
        const auto wakeUp = std::min(deadline, std::chrono::steady_clock::now() + conditionPollInterval);
        m_taskPosted.wait_until(lock, wakeUp, [this] { return !m_tasks.empty(); });
        if (m_tasks.empty() && std::chrono::steady_clock::now() >= deadline) {
            lock.unlock();
            return condition();
        }
    }
}

int ManualRunLoop::pendingTimerCount() const {
    return static_cast<int>(
        std::count_if(m_timers.begin(), m_timers.end(), [](const auto& timer) { return timer->m_valid; }));
}

int ManualRunLoop::pendingTaskCount() const {
    std::lock_guard lock(m_tasksMutex);
    return static_cast<int>(m_tasks.size());
}
