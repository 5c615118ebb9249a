#include "core/paging/PageDataLoader.h"
#include "foundation/DispatchQueue.h"
#include "testing/ManualRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

class PageDataLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        RunLoop::setMain(m_loop);
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    }
    void TearDown() override {
        DispatchQueue::global().waitUntilIdle();
        RunLoop::setMain(nullptr);
    }

    // Loads the item and pumps the main loop until the hand-over has run.
    void loadAndWait(const PageItem& item) {
        bool done = false;
        m_loader->loadDataForItem(item, [&done](const PageItem&) { done = true; });
        ASSERT_TRUE(m_loop->runUntil([&done] { return done; }));
    }

    static int numberIn(const std::any& data) {
        const int* number = std::any_cast<int>(&data);
        return number ? *number : -1;
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<PageDataLoader> m_loader = PageDataLoader::create();
};

} // namespace

TEST_F(PageDataLoaderTest, ComputesInTheBackgroundAndCachesOnTheMainThread) {
    std::atomic<int> calls{0};
    const std::thread::id mainThread = std::this_thread::get_id();
    std::atomic<bool> ranOnMainThread{false};
    m_loader->setToLoadData([&](const PageItem& item) -> std::any {
        ++calls;
        ranOnMainThread = ranOnMainThread || std::this_thread::get_id() == mainThread;
        return *item.as<int>() * 10;
    });

    loadAndWait(PageItem(4));
    EXPECT_EQ(numberIn(m_loader->dataForItem(PageItem(4))), 40);
    EXPECT_TRUE(m_loader->isLoaded(PageItem(4)));
    EXPECT_FALSE(m_loader->isLoading());
    EXPECT_FALSE(ranOnMainThread);
    // No data for other items, nor for items of another type that print alike.
    EXPECT_FALSE(m_loader->dataForItem(PageItem(5)).has_value());
    EXPECT_FALSE(m_loader->dataForItem(PageItem(4L)).has_value());

    // A refresh keeps the old data shown until the new data replaces it.
    m_loader->setToLoadData([](const PageItem& item) -> std::any { return *item.as<int>() * 100; });
    m_loader->refreshCachedData();
    EXPECT_FALSE(m_loader->isLoaded(PageItem(4)));
    EXPECT_EQ(numberIn(m_loader->dataForItem(PageItem(4))), 40);
    loadAndWait(PageItem(4));
    EXPECT_EQ(numberIn(m_loader->dataForItem(PageItem(4))), 400);

    // The null marker is cached but reads as no data.
    m_loader->setToLoadData([](const PageItem&) { return std::any(); });
    loadAndWait(PageItem(7));
    EXPECT_TRUE(m_loader->isLoaded(PageItem(7)));
    EXPECT_FALSE(m_loader->dataForItem(PageItem(7)).has_value());
}

TEST_F(PageDataLoaderTest, RunsOneLoadAtATimeAndForgetsADroppedLoader) {
    std::atomic<int> calls{0};
    m_loader->setToLoadData([&](const PageItem& item) -> std::any {
        ++calls;
        return *item.as<int>();
    });
    bool firstDone = false;
    m_loader->loadDataForItem(PageItem(1), [&](const PageItem&) { firstDone = true; });
    // Asked again while the first runs: ignored.
    m_loader->loadDataForItem(PageItem(2), [](const PageItem&) { FAIL() << "a second load ran"; });
    EXPECT_TRUE(m_loader->isLoading());
    ASSERT_TRUE(m_loop->runUntil([&] { return firstDone; }));
    EXPECT_EQ(calls.load(), 1);

    // A loader dropped while its load runs is not told, and nothing is touched.
    m_loader->loadDataForItem(PageItem(3), [](const PageItem&) { FAIL() << "a dropped loader was told"; });
    m_loader.reset();
    ASSERT_TRUE(m_loop->runUntil([&] { return calls.load() == 2 && DispatchQueue::global().isIdle(); }));
    m_loop->runUntilIdle();
}

TEST_F(PageDataLoaderTest, MainThreadReadsWhileLoadsStore) {
    m_loader->setToLoadData(
        [](const PageItem& item) -> std::any { return std::vector<int>(64, *item.as<int>()); });
    int loaded = 0;
    for (int item = 0; item < 40; ++item) {
        bool done = false;
        m_loader->loadDataForItem(PageItem(item), [&done](const PageItem&) { done = true; });
        ASSERT_TRUE(m_loop->runUntil([&] {
            // Reads of every item so far race with the store of the running load.
            for (int earlier = 0; earlier < item; ++earlier) {
                loaded += m_loader->isLoaded(PageItem(earlier)) ? 1 : 0;
                (void)m_loader->dataForItem(PageItem(earlier));
            }
            return done;
        }));
        if (item % 10 == 0) {
            m_loader->refreshCachedData();
        }
    }
    EXPECT_TRUE(m_loader->isLoaded(PageItem(39)));
    EXPECT_GT(loaded, 0);
}

TEST_F(PageDataLoaderTest, DataComputedBeforeARefreshIsShownButNotCurrent) {
    std::promise<void> storeChanged;
    std::shared_future<void> changeSeen = storeChanged.get_future().share();
    m_loader->setToLoadData([changeSeen](const PageItem& item) -> std::any {
        changeSeen.wait();
        return *item.as<int>();
    });
    bool done = false;
    m_loader->loadDataForItem(PageItem(4), [&done](const PageItem&) { done = true; });
    // The store changes while the load reads the old state.
    m_loader->refreshCachedData();
    storeChanged.set_value();
    ASSERT_TRUE(m_loop->runUntil([&done] { return done; }));
    EXPECT_EQ(numberIn(m_loader->dataForItem(PageItem(4))), 4);
    EXPECT_FALSE(m_loader->isLoaded(PageItem(4)));
    // The next load of the item is current.
    loadAndWait(PageItem(4));
    EXPECT_TRUE(m_loader->isLoaded(PageItem(4)));
}
