#include "foundation/QtRunLoop.h"

#include "foundation/Log.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <QTimerEvent>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <deque>
#include <mutex>
#include <unordered_map>
#include <utility>

namespace {

int milliseconds(double seconds) {
    const double rounded = std::round(std::max(seconds, 0.0) * 1000.0);
    return rounded >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(rounded);
}

} // namespace

class QtRunLoop::Target final : public QObject {
public:
    // Posted tasks wait in our own queue and one queued Qt call drains it, so that the queue
    // keeps the order of posting and can also be drained on demand.
    void post(std::function<void()> task) {
        {
            std::lock_guard lock(m_tasksMutex);
            m_tasks.push_back(std::move(task));
            if (m_drainScheduled) {
                return;
            }
            m_drainScheduled = true;
        }
        QMetaObject::invokeMethod(
            this, [this] { drain(); }, Qt::QueuedConnection);
    }

    // Runs the tasks posted before the call; tasks they post wait for the next turn.
    void drain() {
        std::deque<std::function<void()>> tasks;
        {
            std::lock_guard lock(m_tasksMutex);
            tasks.swap(m_tasks);
            m_drainScheduled = false;
        }
        for (auto& task : tasks) {
            task();
        }
    }

    std::unordered_map<int, std::shared_ptr<QtTimer>> m_timers;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::mutex m_tasksMutex;
    std::deque<std::function<void()>> m_tasks;
    bool m_drainScheduled = false;
};

class QtRunLoop::QtTimer final : public Timer {
public:
    QtTimer(std::weak_ptr<Target> target, double interval, bool repeats, std::function<void()> fire,
            Date fireDate)
        : m_target(std::move(target)), m_interval(interval), m_repeats(repeats), m_fire(std::move(fire)),
          m_fireDate(fireDate) {}

    void invalidate() override {
        const int timerId = std::exchange(m_timerId, 0);
        if (timerId == 0) {
            return;
        }
        if (auto target = m_target.lock()) {
            target->killTimer(timerId);
            // May destroy this timer, so it comes last.
            target->m_timers.erase(timerId);
        }
    }

    bool isValid() const override { return m_timerId != 0; }
    Date fireDate() const override { return m_fireDate; }

    void fire() {
        if (m_repeats) {
            m_fireDate = m_fireDate.addingTimeInterval(m_interval);
        } else {
            invalidate();
        }
        m_fire();
    }

    std::weak_ptr<Target> m_target;
    double m_interval;
    bool m_repeats;
    std::function<void()> m_fire;
    Date m_fireDate;
    int m_timerId = 0;
};

void QtRunLoop::Target::timerEvent(QTimerEvent* event) {
    const auto found = m_timers.find(event->timerId());
    if (found == m_timers.end()) {
        return;
    }
    // Keeps the timer and its function alive while the function runs.
    const std::shared_ptr<QtTimer> timer = found->second;
    timer->fire();
}

QtRunLoop::QtRunLoop()
    : m_target(new Target,
               [](Target* target) {
                   if (target->thread() == QThread::currentThread()) {
                       delete target;
                   } else {
                       target->deleteLater();
                   }
               }),
      m_creatorThread(std::this_thread::get_id()) {
    // The first use may come from a background thread; the loop belongs to the main thread.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        if (m_target->thread() != application->thread()) {
            m_target->moveToThread(application->thread());
        }
    }
}

QtRunLoop::~QtRunLoop() = default;

Date QtRunLoop::now() const {
    const std::chrono::duration<double> sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return Date::withTimeIntervalSince1970(sinceEpoch.count());
}

std::shared_ptr<Timer> QtRunLoop::scheduleTimer(double interval, bool repeats, std::function<void()> fire) {
    if (repeats) {
        interval = std::max(interval, RunLoop::minimumRepeatInterval);
    }
    auto timer = std::make_shared<QtTimer>(m_target, interval, repeats, std::move(fire),
                                           now().addingTimeInterval(std::max(interval, 0.0)));
    timer->m_timerId = m_target->startTimer(milliseconds(interval), Qt::PreciseTimer);
    if (timer->m_timerId != 0) {
        m_target->m_timers.emplace(timer->m_timerId, timer);
    } else {
        Log::error(QStringLiteral("runloop"),
                   QStringLiteral("Could not start a timer; is this the main thread?"));
    }
    return timer;
}

void QtRunLoop::post(std::function<void()> task) {
    m_target->post(std::move(task));
}

bool QtRunLoop::isMainThread() const {
    if (const QCoreApplication* application = QCoreApplication::instance()) {
        return QThread::currentThread() == application->thread();
    }
    return std::this_thread::get_id() == m_creatorThread;
}

void QtRunLoop::runPostedTasks() {
    if (isMainThread()) {
        m_target->drain();
    }
}
