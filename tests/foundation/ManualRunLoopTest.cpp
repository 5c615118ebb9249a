#include "testing/ManualRunLoop.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

namespace {

Date at(double seconds) {
    return Date::withTimeIntervalSince1970(seconds);
}

class ManualRunLoopTest : public testing::Test {
protected:
    // Records what fired, with the loop's time at that moment.
    std::function<void()> record(const QString& name) {
        return [this, name] {
            m_log.append(QStringLiteral("%1@%2").arg(name).arg(m_loop.now().timeIntervalSince1970()));
        };
    }

    QString log() const { return m_log.join(QLatin1Char(' ')); }

    ManualRunLoop m_loop{at(100.0)};
    QStringList m_log;
};

TEST_F(ManualRunLoopTest, TimeMovesOnlyWhenTold) {
    m_loop.scheduleTimer(1.0, false, record("overdue"));
    m_loop.runUntilIdle();
    EXPECT_EQ(m_loop.now(), at(100.0));
    EXPECT_EQ(log(), "");
    m_loop.setNow(at(200.0));
    EXPECT_EQ(log(), "");
    m_loop.runUntilIdle();
    EXPECT_EQ(log(), "overdue@200");
    m_loop.advance(2.5);
    EXPECT_EQ(m_loop.now(), at(202.5));

    // A repeating timer left behind by a jump fires once, then keeps its rhythm.
    m_loop.scheduleTimer(1.0, true, record("tick"));
    m_loop.setNow(at(1000.25));
    m_loop.runUntilIdle();
    m_loop.advance(1.0);
    EXPECT_EQ(log(), "overdue@200 tick@1000.25 tick@1000.5");
}

TEST_F(ManualRunLoopTest, AdvanceFiresDueTimersInOrderAtTheirFireDates) {
    m_loop.scheduleTimer(3.0, false, record("c"));
    m_loop.scheduleTimer(1.0, false, record("a1"));
    m_loop.scheduleTimer(2.0, false, [this] {
        record("b")();
        m_loop.scheduleTimer(0.5, false, record("fromTimer"));
        m_loop.scheduleTimer(5.0, false, record("beyond"));
    });
    m_loop.scheduleTimer(1.0, false, record("a2"));
    m_loop.scheduleTimer(10.0, false, record("late"));

    m_loop.advance(3.0);

    EXPECT_EQ(log(), "a1@101 a2@101 b@102 fromTimer@102.5 c@103");
    EXPECT_EQ(m_loop.now(), at(103.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 2);
}

TEST_F(ManualRunLoopTest, RepeatingTimerReschedulesUntilInvalidated) {
    auto timer = m_loop.scheduleTimer(1.0, true, record("tick"));
    m_loop.scheduleTimer(2.0, false, record("other"));
    m_loop.advance(3.5);
    // The tick rescheduled for 102 comes after the timer scheduled for 102 beforehand.
    EXPECT_EQ(log(), "tick@101 other@102 tick@102 tick@103");
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->fireDate(), at(104.0));

    timer->invalidate();
    m_loop.advance(10.0);
    EXPECT_EQ(log(), "tick@101 other@102 tick@102 tick@103");
    EXPECT_EQ(m_loop.pendingTimerCount(), 0);

    int count = 0;
    std::shared_ptr<Timer> selfStopping;
    selfStopping = m_loop.scheduleTimer(1.0, true, [&] {
        if (++count == 2) {
            selfStopping->invalidate();
        }
    });
    m_loop.advance(10.0);
    EXPECT_EQ(count, 2);
}

TEST_F(ManualRunLoopTest, TimerHandles) {
    bool validWhileFiring = true;
    std::shared_ptr<Timer> oneShot;
    oneShot = m_loop.scheduleTimer(2.0, false, [&] { validWhileFiring = oneShot->isValid(); });
    auto cancelled = m_loop.scheduleTimer(1.0, false, record("cancelled"));
    m_loop.scheduleTimer(1.0, false, record("handleDropped"));
    cancelled->invalidate();
    EXPECT_EQ(oneShot->fireDate(), at(102.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 2);

    m_loop.advance(5.0);

    EXPECT_EQ(log(), "handleDropped@101");
    EXPECT_FALSE(validWhileFiring);
    EXPECT_FALSE(oneShot->isValid());
    EXPECT_EQ(oneShot->fireDate(), at(102.0));
}

TEST_F(ManualRunLoopTest, PostedTasksRunBeforeTimersAtEachStep) {
    m_loop.scheduleTimer(0.0, false, record("timer"));
    m_loop.post(record("task"));
    m_loop.scheduleTimer(1.0, false, [this] {
        record("secondTimer")();
        m_loop.post(record("taskFromTimer"));
    });
    m_loop.scheduleTimer(2.0, false, record("thirdTimer"));
    m_loop.advance(2.0);
    EXPECT_EQ(log(), "task@100 timer@100 secondTimer@101 taskFromTimer@101 thirdTimer@102");
}

TEST_F(ManualRunLoopTest, RunUntilIdleRunsTasksPostedByTasksAndDueTimers) {
    m_loop.post([this] {
        record("outer")();
        m_loop.post(record("inner"));
    });
    m_loop.scheduleTimer(0.0, false, record("due"));
    m_loop.scheduleTimer(0.1, false, record("future"));
    EXPECT_EQ(m_loop.pendingTaskCount(), 1);
    m_loop.runUntilIdle();
    EXPECT_EQ(log(), "outer@100 inner@100 due@100");
    EXPECT_EQ(m_loop.now(), at(100.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 1);
    EXPECT_EQ(m_loop.pendingTaskCount(), 0);
}

TEST_F(ManualRunLoopTest, RunUntilWaitsForOtherThreads) {
    std::atomic<bool> workerIsMain{true};
    bool ranOnMain = false;
    std::thread poster([&] {
        workerIsMain = m_loop.isMainThread();
        m_loop.post([&] { ranOnMain = m_loop.isMainThread(); });
    });
    EXPECT_TRUE(m_loop.runUntil([&] { return ranOnMain; }, 20000));
    poster.join();
    EXPECT_FALSE(workerIsMain);

    // A condition another thread makes true without posting is seen as well.
    std::atomic<bool> done{false};
    std::thread setter([&] { done = true; });
    EXPECT_TRUE(m_loop.runUntil([&] { return done.load(); }, 20000));
    setter.join();

    EXPECT_FALSE(m_loop.runUntil([] { return false; }, 0));
}

TEST_F(ManualRunLoopTest, ManyThreadsPostingLoseNoTask) {
    constexpr int threadCount = 4;
    constexpr int tasksPerThread = 500;
    int ran = 0;
    std::vector<std::thread> workers;
    for (int index = 0; index < threadCount; ++index) {
        workers.emplace_back([&] {
            for (int task = 0; task < tasksPerThread; ++task) {
                m_loop.post([&] { ++ran; });
            }
        });
    }
    EXPECT_TRUE(m_loop.runUntil([&] { return ran == threadCount * tasksPerThread; }, 20000));
    for (auto& worker : workers) {
        worker.join();
    }
}

TEST(RunLoopMain, InstalledLoopServesDateNow) {
    auto loop = std::make_shared<ManualRunLoop>(at(1234.5));
    RunLoop::setMain(loop);
    EXPECT_EQ(&RunLoop::main(), loop.get());
    loop->advance(0.5);
    EXPECT_EQ(Date::now(), at(1235.0));
    RunLoop::setMain(nullptr);
    EXPECT_NE(&RunLoop::main(), loop.get());
}

} // namespace
