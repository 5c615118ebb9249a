#include "foundation/DispatchQueue.h"

#include "testing/ManualRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

class DispatchQueueTest : public testing::Test {
protected:
    void SetUp() override { RunLoop::setMain(m_loop); }

    void TearDown() override {
        DispatchQueue::global().waitUntilIdle();
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
        RunLoop::setMain(nullptr);
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
};

TEST_F(DispatchQueueTest, MainAsyncRunsOnlyWhenTheLoopTurns) {
    bool ran = false;
    DispatchQueue::main().async([&] { ran = true; });
    EXPECT_FALSE(ran);
    EXPECT_FALSE(DispatchQueue::main().isIdle());
    m_loop->runUntilIdle();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(DispatchQueue::main().isIdle());
}

TEST_F(DispatchQueueTest, MainSyncFromABackgroundThreadWaitsForTheMainLoop) {
    std::atomic<bool> returned{false};
    bool ranOnMain = false;
    std::thread worker([&] {
        DispatchQueue::main().sync([&] { ranOnMain = m_loop->isMainThread(); });
        returned = true;
    });
    ASSERT_TRUE(m_loop->runUntil([&] { return returned.load(); }, 20000));
    worker.join();
    EXPECT_TRUE(ranOnMain);
}

TEST_F(DispatchQueueTest, MainSyncReturnsWhenItsTaskIsDroppedWithTheLoop) {
    bool ran = false;
    std::thread worker([&] { DispatchQueue::main().sync([&] { ran = true; }); });
    // Waits for the task to be queued without running it, then throws the loop away.
    while (m_loop->pendingTaskCount() == 0) {
        std::this_thread::yield();
    }
    m_loop.reset();
    RunLoop::setMain(std::make_shared<ManualRunLoop>());
    worker.join();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(DispatchQueue::main().isIdle());
}

TEST_F(DispatchQueueTest, MainWaitUntilIdleRunsWhatWasPosted) {
    int ran = 0;
    DispatchQueue::main().async([&] {
        ++ran;
        DispatchQueue::main().async([&] { ++ran; });
    });
    DispatchQueue::main().waitUntilIdle();
    EXPECT_EQ(ran, 2);
}

TEST_F(DispatchQueueTest, TasksThatRunInTheCaller) {
    const std::thread::id caller = std::this_thread::get_id();
    std::thread::id mainSync;
    DispatchQueue::main().sync([&] { mainSync = std::this_thread::get_id(); });
    EXPECT_EQ(mainSync, caller);
    EXPECT_EQ(m_loop->pendingTaskCount(), 0);

    std::thread::id globalSync;
    DispatchQueue::global().sync([&] { globalSync = std::this_thread::get_id(); });
    EXPECT_EQ(globalSync, caller);

    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    EXPECT_EQ(DispatchQueue::globalMode(), DispatchQueue::Mode::Inline);
    std::thread::id inlineAsync;
    DispatchQueue::global().async([&] { inlineAsync = std::this_thread::get_id(); });
    EXPECT_EQ(inlineAsync, caller);
}

TEST_F(DispatchQueueTest, GlobalQueueRunsEveryTaskOnBackgroundThreads) {
    constexpr int taskCount = 200;
    std::atomic<int> ran{0};
    std::atomic<int> onMain{0};
    std::mutex threadsMutex;
    std::set<std::thread::id> threads;
    for (int index = 0; index < taskCount; ++index) {
        DispatchQueue::global().async([&] {
            if (m_loop->isMainThread()) {
                ++onMain;
            }
            {
                std::lock_guard lock(threadsMutex);
                threads.insert(std::this_thread::get_id());
            }
            ++ran;
        });
    }
    DispatchQueue::global().waitUntilIdle();
    EXPECT_TRUE(DispatchQueue::global().isIdle());
    EXPECT_EQ(ran.load(), taskCount);
    EXPECT_EQ(onMain.load(), 0);
    EXPECT_GE(threads.size(), 1U);
}

TEST_F(DispatchQueueTest, WaitingOnTheMainThreadServesHandOversToTheMainThread) {
    constexpr int taskCount = 20;
    std::vector<int> results;
    for (int index = 0; index < taskCount; ++index) {
        DispatchQueue::global().async([&results, index] {
            const int square = index * index;
            DispatchQueue::main().sync([&results, square] { results.push_back(square); });
        });
    }
    DispatchQueue::global().waitUntilIdle();
    ASSERT_EQ(results.size(), static_cast<std::size_t>(taskCount));
}

TEST_F(DispatchQueueTest, BackgroundWorkHandsItsResultBackAsynchronously) {
    int result = 0;
    DispatchQueue::global().async([&result] {
        const int computed = 6 * 7;
        DispatchQueue::main().async([&result, computed] { result = computed; });
    });
    ASSERT_TRUE(m_loop->runUntil([&] { return result != 0; }, 20000));
    EXPECT_EQ(result, 42);
}

TEST_F(DispatchQueueTest, SwitchingModesWaitsForRunningWork) {
    std::atomic<bool> finished{false};
    std::atomic<bool> release{false};
    DispatchQueue::global().async([&] {
        while (!release) {
            std::this_thread::yield();
        }
        finished = true;
    });
    std::thread releaser([&] { release = true; });
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    EXPECT_TRUE(finished);
    releaser.join();
}

} // namespace
