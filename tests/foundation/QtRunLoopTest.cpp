#include "foundation/QtRunLoop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QStringList>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Turns the Qt event loop until `condition` holds. The deadline only keeps a broken loop from
// hanging the test program; no result depends on how long anything took.
bool processEventsUntil(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(20000);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

class QtRunLoopTest : public testing::Test {
protected:
    QtRunLoop m_loop;
    QStringList m_log;
};

TEST_F(QtRunLoopTest, NowIsTheSystemClock) {
    const double systemSeconds = static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
    EXPECT_NEAR(m_loop.now().timeIntervalSince1970(), systemSeconds, 60.0);
}

TEST_F(QtRunLoopTest, PostedTasksRunOnALaterTurnInOrder) {
    m_loop.post([this] { m_log.append("first"); });
    m_loop.post([this] {
        m_log.append("second");
        m_loop.post([this] { m_log.append("posted by a task"); });
    });
    EXPECT_TRUE(m_log.isEmpty());
    ASSERT_TRUE(processEventsUntil([this] { return m_log.size() == 3; }));
    EXPECT_EQ(m_log.join(", "), "first, second, posted by a task");
}

TEST_F(QtRunLoopTest, RunPostedTasksRunsThemAtOnce) {
    m_loop.post([this] { m_log.append("task"); });
    m_loop.runPostedTasks();
    EXPECT_EQ(m_log.join(", "), "task");
    // The queued drain that was already on its way finds nothing left to run.
    QCoreApplication::processEvents();
    EXPECT_EQ(m_log.join(", "), "task");
}

TEST_F(QtRunLoopTest, PostFromAnotherThreadRunsOnTheMainThread) {
    EXPECT_TRUE(m_loop.isMainThread());
    std::atomic<bool> workerIsMain{true};
    bool ranOnMain = false;
    std::thread worker([&] {
        workerIsMain = m_loop.isMainThread();
        m_loop.post([&] { ranOnMain = m_loop.isMainThread(); });
    });
    worker.join();
    ASSERT_TRUE(processEventsUntil([&] { return ranOnMain; }));
    EXPECT_FALSE(workerIsMain);
}

TEST_F(QtRunLoopTest, LoopMadeOnABackgroundThreadBelongsToTheMainThread) {
    std::unique_ptr<QtRunLoop> loop;
    std::thread worker([&] {
        loop = std::make_unique<QtRunLoop>();
        loop->post([this] { m_log.append("posted"); });
    });
    worker.join();
    EXPECT_TRUE(loop->isMainThread());
    ASSERT_TRUE(processEventsUntil([this] { return !m_log.isEmpty(); }));
    auto timer = loop->scheduleTimer(0.0, false, [this] { m_log.append("fired"); });
    ASSERT_TRUE(processEventsUntil([this] { return m_log.size() == 2; }));
    EXPECT_EQ(m_log.join(", "), "posted, fired");
}

TEST_F(QtRunLoopTest, OneShotTimersFireOnceUnlessInvalidated) {
    const Date before = m_loop.now();
    int fired = 0;
    bool cancelledFired = false;
    bool later = false;
    auto timer = m_loop.scheduleTimer(0.01, false, [&] { ++fired; });
    auto cancelled = m_loop.scheduleTimer(0.0, false, [&] { cancelledFired = true; });
    // The last timer's handle is dropped; it still fires, and shows that the others are done.
    m_loop.scheduleTimer(0.05, false, [&] { later = true; });
    EXPECT_TRUE(timer->isValid());
    EXPECT_GE(timer->fireDate(), before.addingTimeInterval(0.01));
    EXPECT_LE(timer->fireDate(), m_loop.now().addingTimeInterval(0.01));
    cancelled->invalidate();
    EXPECT_FALSE(cancelled->isValid());

    ASSERT_TRUE(processEventsUntil([&] { return later; }));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(cancelledFired);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(QtRunLoopTest, TimersFireInFireDateOrder) {
    m_loop.scheduleTimer(0.03, false, [this] { m_log.append("later"); });
    m_loop.scheduleTimer(0.0, false, [this] { m_log.append("sooner"); });
    ASSERT_TRUE(processEventsUntil([this] { return m_log.size() == 2; }));
    EXPECT_EQ(m_log.join(", "), "sooner, later");
}

TEST_F(QtRunLoopTest, RepeatingTimerFiresUntilInvalidatedFromItsOwnFunction) {
    int fired = 0;
    std::shared_ptr<Timer> timer;
    Date firstFireDate;
    timer = m_loop.scheduleTimer(0.005, true, [&] {
        if (++fired == 3) {
            timer->invalidate();
        }
    });
    firstFireDate = timer->fireDate();
    bool later = false;
    ASSERT_TRUE(processEventsUntil([&] { return fired == 3; }));
    m_loop.scheduleTimer(0.03, false, [&] { later = true; });
    ASSERT_TRUE(processEventsUntil([&] { return later; }));
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(timer->isValid());
    EXPECT_NEAR(timer->fireDate().timeIntervalSinceDate(firstFireDate), 0.015, 1e-5);
}

TEST_F(QtRunLoopTest, TimerOutlivingItsLoopCanStillBeInvalidated) {
    auto loop = std::make_unique<QtRunLoop>();
    auto timer = loop->scheduleTimer(10.0, false, [] {});
    loop.reset();
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
}

TEST(RunLoopMain, FirstUseFromSeveralThreadsCreatesOneQtRunLoop) {
    RunLoop::setMain(nullptr);
    std::vector<std::thread> threads;
    std::vector<RunLoop*> seen(4, nullptr);
    for (std::size_t index = 0; index < seen.size(); ++index) {
        threads.emplace_back([&seen, index] { seen[index] = &RunLoop::main(); });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (RunLoop* loop : seen) {
        EXPECT_EQ(loop, seen.front());
    }
    EXPECT_NE(dynamic_cast<QtRunLoop*>(seen.front()), nullptr);
    EXPECT_TRUE(RunLoop::main().isMainThread());
}

} // namespace
