#include "ui/paging/InfiniteScrollView.h"
#include "QtPrinters.h"
#include "foundation/DispatchQueue.h"
#include "kit/TouchTestSupport.h"
#include "ui/paging/InfiniteScrollPageView.h"
#include "ui/paging/PageScrollView.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <set>

namespace {

// A page showing a number; it logs every number it is given.
class NumberPageView : public InfiniteScrollPageView {
public:
    NumberPageView(const Rect& frame, std::vector<int>& assigned)
        : InfiniteScrollPageView(frame), m_assigned(assigned) {}

    PageItem pageItem() const override { return m_item; }
    void setPageItem(const PageItem& item) override {
        m_item = item;
        m_assigned.push_back(number());
    }
    void refreshContent() override { ++refreshes; }
    void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) override {
        m_scrollView = scrollView;
    }

    int number() const { return *m_item.as<int>(); }
    // What the page would draw: its number and the data it has for it.
    QString shown() const {
        const std::any data = m_scrollView.lock()->dataForItem(m_item);
        const QString* text = std::any_cast<QString>(&data);
        return QString::number(number()) + QLatin1Char(':') + (text ? *text : QStringLiteral("-"));
    }

    int refreshes = 0;

private:
    PageItem m_item;
    std::vector<int>& m_assigned;
    std::weak_ptr<InfiniteScrollView> m_scrollView;
};

// Counts the loads per item; while closed, a load waits before it computes.
class CountingLoader {
public:
    std::any load(const PageItem& item) {
        std::unique_lock lock(m_mutex);
        m_requests.push_back(*item.as<int>());
        m_opened.wait(lock, [this] { return m_open; });
        return QStringLiteral("d%1").arg(*item.as<int>());
    }
    void setOpen(bool open) {
        {
            std::lock_guard lock(m_mutex);
            m_open = open;
        }
        m_opened.notify_all();
    }
    std::vector<int> requests() const {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_opened;
    bool m_open = true;
    std::vector<int> m_requests;
};

class InfiniteScrollViewTest : public TouchFixture, public testing::Test {
protected:
    InfiniteScrollViewTest() { DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline); }
    ~InfiniteScrollViewTest() override {
        m_loader->setOpen(true);
        DispatchQueue::global().waitUntilIdle();
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    }

    std::shared_ptr<InfiniteScrollView> makeScroller(const Rect& frame, const Rect& mainPageFrame) {
        auto scroller = InfiniteScrollView::create(frame);
        scroller->setMainPageFrame(mainPageFrame);
        scroller->setToCreatePageView([this, mainPageFrame](const PageItem&) {
            return std::make_shared<NumberPageView>(Rect(0, 0, mainPageFrame.width(), mainPageFrame.height()),
                                                    m_assigned);
        });
        scroller->setToGetOtherPageItem(
            [](const PageItem& item, int count) { return PageItem(*item.as<int>() + count); });
        scroller->setToGetDistanceBetweenItems(
            [](const PageItem& from, const PageItem& to) { return *to.as<int>() - *from.as<int>(); });
        scroller->setToLoadData([loader = m_loader](const PageItem& item) { return loader->load(item); });
        root->addSubview(scroller);
        return scroller;
    }

    // The pages' numbers left to right, after checking that they stand side by side.
    static QString numbers(const InfiniteScrollView& scroller) {
        QStringList list;
        double x = scroller.pageViews().front()->frame().x();
        for (const auto& page : scroller.pageViews()) {
            EXPECT_EQ(page->frame().x(), x);
            x += page->frame().width();
            list << QString::number(static_cast<const NumberPageView&>(*page).number());
        }
        return list.join(QLatin1Char(' '));
    }
    static QString shown(const InfiniteScrollView& scroller) {
        QStringList list;
        for (const auto& page : scroller.pageViews()) {
            list << static_cast<const NumberPageView&>(*page).shown();
        }
        return list.join(QLatin1Char(' '));
    }
    static int centre(const InfiniteScrollView& scroller) { return *scroller.currentPageItem().as<int>(); }

    void settle() { advance(1.0); }

    std::vector<int> m_assigned;
    std::shared_ptr<CountingLoader> m_loader = std::make_shared<CountingLoader>();
};

} // namespace

TEST_F(InfiniteScrollViewTest, KeepsAsManyPagesAsShowAroundTheMainPage) {
    auto full = makeScroller(Rect(0, 0, 320, 416), Rect(0, 0, 320, 416));
    full->setCurrentPageItem(PageItem(7));
    EXPECT_EQ(full->totalPages(), 3);
    EXPECT_EQ(numbers(*full), "6 7 8");
    EXPECT_EQ(centre(*full), 7);
    EXPECT_EQ(shown(*full), "6:d6 7:d7 8:d8");

    auto narrow = makeScroller(Rect(0, 0, 320, 416), Rect(110, 0, 100, 416));
    narrow->setCurrentPageItem(PageItem(0));
    EXPECT_EQ(narrow->pagesBefore(), 2);
    EXPECT_EQ(narrow->pagesAfter(), 2);
    EXPECT_EQ(numbers(*narrow), "-2 -1 0 1 2");
    // Loads run from the middle outwards, right before left.
    EXPECT_EQ(m_loader->requests(), (std::vector<int>{7, 8, 6, 0, 1, -1, 2, -2}));
}

TEST_F(InfiniteScrollViewTest, PagesWithoutEndWithAFixedSetOfPageViews) {
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(0, 0, 320, 416));
    scroller->setCurrentPageItem(PageItem(0));
    const std::set<const View*> pages = {scroller->pageViews()[0].get(), scroller->pageViews()[1].get(),
                                         scroller->pageViews()[2].get()};
    for (int step = 1; step <= 500; ++step) {
        scroller->setCurrentPageItem(PageItem(step), true);
        advance(0.35);
        ASSERT_EQ(centre(*scroller), step);
    }
    EXPECT_EQ(numbers(*scroller), "499 500 501");
    // A drag to the left pages forward like the programmatic moves.
    down(0, Point(300, 200));
    drag(0, Point(300, 200), Point(60, 200), 8, 0.016);
    up(0, Point(60, 200));
    settle();
    EXPECT_EQ(numbers(*scroller), "500 501 502");
    for (int step = 500; step >= -500; --step) {
        scroller->setCurrentPageItem(PageItem(step), true);
        advance(0.35);
        ASSERT_EQ(centre(*scroller), step);
    }
    EXPECT_EQ(numbers(*scroller), "-501 -500 -499");
    EXPECT_EQ(shown(*scroller), "-501:d-501 -500:d-500 -499:d-499");
    EXPECT_EQ(scroller->pageViews().size(), 3u);
    for (const auto& page : scroller->pageViews()) {
        EXPECT_EQ(pages.count(page.get()), 1u);
    }
    // Every item's data was computed once.
    const std::vector<int> requests = m_loader->requests();
    EXPECT_EQ(std::set<int>(requests.begin(), requests.end()).size(), requests.size());
}

TEST_F(InfiniteScrollViewTest, FarJumpsCrossTenPagesAndEndExact) {
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(0, 0, 320, 416));
    scroller->setCurrentPageItem(PageItem(0));
    const double start = scroller->scrollView()->contentOffset().x();
    double furthest = 0;
    scroller->setOnScroll([&](const PageItem&, double) {
        furthest = std::max(furthest, std::abs(scroller->scrollView()->contentOffset().x() - start));
    });

    m_assigned.clear();
    scroller->setCurrentPageItem(PageItem(10000), true);
    settle();
    EXPECT_EQ(numbers(*scroller), "9999 10000 10001");
    EXPECT_EQ(furthest, 10 * 320.0);
    // The pages passing by show items spread over the distance, not every item on the way.
    EXPECT_LE(m_assigned.size(), 14u);
    ASSERT_GE(m_assigned.size(), 4u);
    EXPECT_EQ(std::vector<int>(m_assigned.end() - 4, m_assigned.end()),
              (std::vector<int>{9998, 9999, 10000, 10001}))
        << "the last pages before the stop are exact";

    // Eleven steps back also takes big steps and is repaired at the end.
    scroller->setCurrentPageItem(PageItem(9989), true);
    settle();
    EXPECT_EQ(numbers(*scroller), "9988 9989 9990");
    EXPECT_EQ(shown(*scroller), "9988:d9988 9989:d9989 9990:d9990");

    // Without animation the jump lands at once.
    scroller->setCurrentPageItem(PageItem(-3000), false);
    EXPECT_EQ(numbers(*scroller), "-3001 -3000 -2999");
}

TEST_F(InfiniteScrollViewTest, NeverLoadsPagesScrolledPast) {
    DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(110, 0, 100, 416));
    m_loader->setOpen(false);
    scroller->setCurrentPageItem(PageItem(0));
    // The centre page's load waits while the pager jumps far away and pages back and forth.
    scroller->setCurrentPageItem(PageItem(10000), true);
    settle();
    scroller->setCurrentPageItem(PageItem(10003), true);
    settle();
    m_loader->setOpen(true);
    const QString loaded = "10001:d10001 10002:d10002 10003:d10003 10004:d10004 10005:d10005";
    ASSERT_TRUE(m_loop->runUntil([&] { return shown(*scroller) == loaded; }));
    DispatchQueue::global().waitUntilIdle();
    EXPECT_EQ(m_loader->requests(), (std::vector<int>{0, 10003, 10004, 10002, 10005, 10001}));
    for (const auto& page : scroller->pageViews()) {
        EXPECT_EQ(static_cast<const NumberPageView&>(*page).refreshes, 1);
    }
}

TEST_F(InfiniteScrollViewTest, AMoveStopsTheMotionFirst) {
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(0, 0, 320, 416));
    scroller->setCurrentPageItem(PageItem(0));
    QStringList ends;
    scroller->setOnScrollEnded([&](const PageItem& item) { ends << QString::number(*item.as<int>()); });
    down(0, Point(300, 200));
    drag(0, Point(300, 200), Point(100, 200), 4, 0.01);
    up(0, Point(100, 200));
    advance(0.05);
    ASSERT_TRUE(scroller->scrollView()->isDecelerating());
    scroller->setCurrentPageItem(PageItem(40), true);
    EXPECT_FALSE(scroller->scrollView()->isDecelerating());
    settle();
    EXPECT_EQ(numbers(*scroller), "39 40 41");
    EXPECT_EQ(ends.last(), "40");
}

TEST_F(InfiniteScrollViewTest, NeighbourPagesTakeTheirTouches) {
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(110, 0, 100, 416));
    scroller->setCurrentPageItem(PageItem(0));
    const auto hit = [&](double x) {
        const auto page = std::dynamic_pointer_cast<NumberPageView>(root->hitTest(Point(x, 100)));
        return page ? page->number() : 99;
    };
    EXPECT_EQ(hit(50), -1);
    EXPECT_EQ(hit(150), 0);
    EXPECT_EQ(hit(250), 1);
    // Empty space of the inner area takes no touches.
    scroller->pageViews()[1]->removeFromSuperview();
    EXPECT_EQ(root->hitTest(Point(50, 100)), root);
    EXPECT_EQ(scroller->hitTestInternalScrollView(Point(50, 100)), scroller->scrollView());
}

TEST_F(InfiniteScrollViewTest, TurningBackAndForthKeepsThePageCount) {
    auto scroller = makeScroller(Rect(0, 0, 320, 416), Rect(0, 0, 320, 416));
    scroller->setCurrentPageItem(PageItem(0));
    for (int round = 0; round < 5; ++round) {
        scroller->setFrame(Rect(0, 0, 480, 268));
        scroller->setMainPageFrame(Rect(160, 0, 160, 268));
        EXPECT_EQ(scroller->pageViews().size(), 5u) << "landscape, round " << round;
        EXPECT_EQ(scroller->totalPages(), 5) << "landscape, round " << round;
        scroller->setFrame(Rect(0, 0, 320, 416));
        scroller->setMainPageFrame(Rect(0, 0, 320, 416));
        // Pages are only ever added, so the two made for landscape stay.
        EXPECT_EQ(scroller->pageViews().size(), 5u) << "portrait, round " << round;
        EXPECT_EQ(centre(*scroller), 0);
    }
}
