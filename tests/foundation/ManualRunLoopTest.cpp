#include "foundation/ManualRunLoop.h"

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
    EXPECT_EQ(m_loop.now(), at(100.0));
    m_loop.runUntilIdle();
    EXPECT_EQ(m_loop.now(), at(100.0));
    m_loop.advance(2.5);
    EXPECT_EQ(m_loop.now(), at(102.5));
    m_loop.setNow(at(50.0));
    EXPECT_EQ(m_loop.now(), at(50.0));
}

TEST_F(ManualRunLoopTest, AdvanceFiresDueTimersInFireDateOrderAtTheirDates) {
    m_loop.scheduleTimer(3.0, false, record("c"));
    m_loop.scheduleTimer(1.0, false, record("a"));
    m_loop.scheduleTimer(2.0, false, record("b"));
    m_loop.scheduleTimer(10.0, false, record("late"));

    m_loop.advance(3.0);

    EXPECT_EQ(log(), "a@101 b@102 c@103");
    EXPECT_EQ(m_loop.now(), at(103.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 1);
}

TEST_F(ManualRunLoopTest, EqualFireDatesFireInSchedulingOrder) {
    m_loop.scheduleTimer(1.0, false, record("first"));
    m_loop.scheduleTimer(1.0, false, record("second"));
    m_loop.scheduleTimer(1.0, false, record("third"));
    m_loop.advance(1.0);
    EXPECT_EQ(log(), "first@101 second@101 third@101");
}

TEST_F(ManualRunLoopTest, TimerScheduledByATimerFiresWithinTheWindow) {
    m_loop.scheduleTimer(1.0, false, [this] {
        record("outer")();
        m_loop.scheduleTimer(0.5, false, record("inner"));
        m_loop.scheduleTimer(5.0, false, record("beyond"));
    });
    m_loop.advance(2.0);
    EXPECT_EQ(log(), "outer@101 inner@101.5");
    EXPECT_EQ(m_loop.now(), at(102.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 1);
}

TEST_F(ManualRunLoopTest, RepeatingTimerReschedulesUntilInvalidated) {
    auto timer = m_loop.scheduleTimer(1.0, true, record("tick"));
    m_loop.advance(3.5);
    EXPECT_EQ(log(), "tick@101 tick@102 tick@103");
    EXPECT_TRUE(timer->isValid());
    EXPECT_EQ(timer->fireDate(), at(104.0));

    timer->invalidate();
    m_loop.advance(10.0);
    EXPECT_EQ(log(), "tick@101 tick@102 tick@103");
    EXPECT_EQ(m_loop.pendingTimerCount(), 0);
}

TEST_F(ManualRunLoopTest, RepeatingTimerCanInvalidateItselfWhileFiring) {
    int count = 0;
    std::shared_ptr<Timer> timer;
    timer = m_loop.scheduleTimer(1.0, true, [&] {
        if (++count == 2) {
            timer->invalidate();
        }
    });
    m_loop.advance(10.0);
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(ManualRunLoopTest, OneShotTimerIsInvalidOnceFiredAndKeepsItsFireDate) {
    bool validWhileFiring = true;
    std::shared_ptr<Timer> timer;
    timer = m_loop.scheduleTimer(2.0, false, [&] { validWhileFiring = timer->isValid(); });
    EXPECT_EQ(timer->fireDate(), at(102.0));
    m_loop.advance(2.0);
    EXPECT_FALSE(validWhileFiring);
    EXPECT_FALSE(timer->isValid());
    EXPECT_EQ(timer->fireDate(), at(102.0));
}

TEST_F(ManualRunLoopTest, DroppingTheHandleDoesNotCancelTheTimer) {
    m_loop.scheduleTimer(1.0, false, record("kept"));
    EXPECT_EQ(m_loop.pendingTimerCount(), 1);
    m_loop.advance(1.0);
    EXPECT_EQ(log(), "kept@101");
}

TEST_F(ManualRunLoopTest, InvalidatedTimerNeverFires) {
    auto timer = m_loop.scheduleTimer(1.0, false, record("cancelled"));
    timer->invalidate();
    m_loop.advance(5.0);
    EXPECT_EQ(log(), "");
}

TEST_F(ManualRunLoopTest, PostedTasksRunBeforeTimersAtEachStep) {
    m_loop.scheduleTimer(0.0, false, record("timer"));
    m_loop.post(record("task"));
    m_loop.scheduleTimer(1.0, false, [this] {
        record("second-timer")();
        m_loop.post(record("task-from-timer"));
    });
    m_loop.scheduleTimer(2.0, false, record("third-timer"));
    m_loop.advance(2.0);
    EXPECT_EQ(log(), "task@100 timer@100 second-timer@101 task-from-timer@101 third-timer@102");
}

TEST_F(ManualRunLoopTest, RunUntilIdleRunsTasksPostedByTasksAndDueTimersWithoutMovingTime) {
    m_loop.post([this] {
        record("outer")();
        m_loop.post(record("inner"));
    });
    m_loop.scheduleTimer(0.0, false, record("due"));
    m_loop.scheduleTimer(0.1, false, record("future"));
    m_loop.runUntilIdle();
    EXPECT_EQ(log(), "outer@100 inner@100 due@100");
    EXPECT_EQ(m_loop.now(), at(100.0));
    EXPECT_EQ(m_loop.pendingTimerCount(), 1);
    EXPECT_EQ(m_loop.pendingTaskCount(), 0);
}

TEST_F(ManualRunLoopTest, TimerOverdueAfterSetNowFiresAtTheCurrentTime) {
    m_loop.scheduleTimer(1.0, false, record("overdue"));
    m_loop.setNow(at(200.0));
    m_loop.runUntilIdle();
    EXPECT_EQ(log(), "overdue@200");
}

TEST_F(ManualRunLoopTest, PostFromAnotherThreadRunsOnTheLoopThreadWhenPumped) {
    EXPECT_TRUE(m_loop.isMainThread());
    std::atomic<bool> postedOffMain{false};
    bool ranOnMain = false;
    std::thread worker([&] {
        postedOffMain = !m_loop.isMainThread();
        m_loop.post([&] { ranOnMain = m_loop.isMainThread(); });
    });
    EXPECT_TRUE(m_loop.runUntil([&] { return ranOnMain; }, 10000));
    worker.join();
    EXPECT_TRUE(postedOffMain);
    EXPECT_TRUE(ranOnMain);
}

TEST_F(ManualRunLoopTest, RunUntilSeesConditionsMadeTrueWithoutPosting) {
    std::atomic<bool> done{false};
    std::thread worker([&] { done = true; });
    EXPECT_TRUE(m_loop.runUntil([&] { return done.load(); }, 10000));
    worker.join();
}

TEST_F(ManualRunLoopTest, RunUntilGivesUpWhenTheConditionNeverHolds) {
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
    m_loop.runUntilIdle();
    EXPECT_EQ(ran, threadCount * tasksPerThread);
}

TEST(RunLoopMain, InstalledLoopServesDateNow) {
    auto loop = std::make_shared<ManualRunLoop>(at(1234.5));
    RunLoop::setMain(loop);
    EXPECT_EQ(&RunLoop::main(), loop.get());
    EXPECT_EQ(Date::now(), at(1234.5));
    loop->advance(0.5);
    EXPECT_EQ(Date::now(), at(1235.0));
    RunLoop::setMain(nullptr);
    EXPECT_NE(&RunLoop::main(), loop.get());
}

} // namespace
