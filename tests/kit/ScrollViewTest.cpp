#include "TouchTestSupport.h"

#include "kit/PanGestureRecognizer.h"
#include "kit/ScrollView.h"
#include "kit/SwipeGestureRecognizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Logs the reports in order, runs of didScroll folded into one "scroll", and keeps every
// offset it was told of.
class ScrollSpy : public ScrollViewDelegate {
public:
    explicit ScrollSpy(QStringList& log) : m_log(log) {}

    void scrollViewDidScroll(ScrollView& scrollView) override {
        offsets.push_back(scrollView.contentOffset());
        if (m_log.isEmpty() || m_log.last() != QLatin1String("scroll")) {
            m_log.append(QStringLiteral("scroll"));
        }
    }
    void scrollViewWillBeginDragging(ScrollView& scrollView) override {
        m_log.append(scrollView.isDragging() ? "willDrag(dragging)" : "willDrag");
    }
    void scrollViewDidEndDragging(ScrollView&, bool willDecelerate) override {
        m_log.append(QStringLiteral("endDrag(%1)").arg(willDecelerate ? "decelerate" : "stop"));
    }
    void scrollViewWillBeginDecelerating(ScrollView& scrollView) override {
        m_log.append(scrollView.isDecelerating() ? "willDecel" : "willDecel(not decelerating)");
    }
    void scrollViewDidEndDecelerating(ScrollView&) override { m_log.append(QStringLiteral("endDecel")); }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override { m_log.append(QStringLiteral("endAnim")); }

    std::vector<Point> offsets;

private:
    QStringList& m_log;
};

class ScrollViewTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        m_scrollView->setContentSize(Size(3200, 416));
        m_scrollView->setPagingEnabled(true);
        m_scrollView->setDelegate(m_spy);
        m_scrollView->setContentOffset({320, 0});
        m_scrollView->addSubview(m_page);
        root->addSubview(m_scrollView);
        m_spy->offsets.clear();
        clearLog();
    }

    // A slow horizontal drag by `dx` in steps of 10 points, 0.05 seconds apart, then a rest.
    void slowDrag(Point from, double dx) {
        down(0, from);
        const int steps = static_cast<int>(std::abs(dx) / 10.0);
        drag(0, from, from.offset(dx, 0), steps, 0.05);
        advance(0.2);
        up(0, from.offset(dx, 0));
    }

    double offsetX() const { return m_scrollView->contentOffset().x(); }

    std::shared_ptr<ScrollView> m_scrollView = std::make_shared<ScrollView>(Rect(0, 20, 320, 416));
    // The second page of the content.
    std::shared_ptr<TouchSpyView> m_page =
        std::make_shared<TouchSpyView>(Rect(320, 0, 320, 416), "page", m_log);
    std::shared_ptr<ScrollSpy> m_spy = std::make_shared<ScrollSpy>(m_log);
};

TEST_F(ScrollViewTest, ADragFollowsTheFingerAndPagingSettlesOnTheNearestPage) {
    slowDrag({250, 200}, -200);
    // The drag began after 20 points, so the content moved by 180.
    EXPECT_EQ(offsetX(), 500);
    EXPECT_FALSE(m_scrollView->isDragging());
    EXPECT_TRUE(m_scrollView->isDecelerating());
    advance(0.31);
    EXPECT_EQ(offsetX(), 640);
    EXPECT_FALSE(m_scrollView->isDecelerating());
    EXPECT_EQ(log(),
              "page:began page:moved page:cancelled willDrag(dragging) scroll endDrag(decelerate) willDecel "
              "scroll endDecel");
    clearLog();
    slowDrag({250, 200}, 150);
    advance(0.31);
    EXPECT_EQ(offsetX(), 640);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(decelerate) willDecel scroll endDecel");
}

TEST_F(ScrollViewTest, EveryStepOfADragAcrossPagesIsReported) {
    down(0, {300, 200});
    drag(0, {300, 200}, {300 - 20 * 40, 200}, 40, 0.05);
    // The first step (20 points) began the drag; each of the 39 others moved the content.
    ASSERT_EQ(m_spy->offsets.size(), 39u);
    for (std::size_t i = 0; i < m_spy->offsets.size(); ++i) {
        EXPECT_EQ(m_spy->offsets[i], Point(320 + 20.0 * static_cast<double>(i + 1), 0)) << i;
    }
    EXPECT_TRUE(m_scrollView->isDragging());
    EXPECT_TRUE(m_scrollView->isTracking());
    advance(0.2);
    up(0, {300 - 20 * 40, 200});
    EXPECT_FALSE(m_scrollView->isTracking());
    advance(0.31);
    // Released at 1100, closest to the page at 960.
    EXPECT_EQ(offsetX(), 960);
}

TEST_F(ScrollViewTest, AFastFlickPagesInItsDirection) {
    down(0, {250, 200});
    drag(0, {250, 200}, {190, 200}, 3, 0.01);
    up(0, {190, 200});
    advance(0.31);
    EXPECT_EQ(offsetX(), 640);
    slowDrag({250, 200}, -200);
    advance(0.31);
    EXPECT_EQ(offsetX(), 960);
    // Dragged back past half a page, a flick the other way returns.
    down(0, {100, 200});
    drag(0, {100, 200}, {300, 200}, 10, 0.05);
    drag(0, {300, 200}, {280, 200}, 2, 0.01);
    up(0, {280, 200});
    advance(0.31);
    EXPECT_EQ(offsetX(), 960);
}

TEST_F(ScrollViewTest, FreeScrollingDeceleratesAtThePlatformsRate) {
    m_scrollView->setPagingEnabled(false);
    down(0, {250, 200});
    drag(0, {250, 200}, {150, 200}, 10, 0.01);
    up(0, {150, 200});
    const double released = offsetX();
    EXPECT_EQ(released, 400);
    EXPECT_TRUE(m_scrollView->isDecelerating());
    // A finger speed of 1000 points per second, kept at 0.998 per millisecond, carries the
    // content 1000 / (1000 × −ln 0.998) ≈ 499.5 points further, for about 3.45 seconds.
    advance(3.3);
    EXPECT_TRUE(m_scrollView->isDecelerating());
    EXPECT_EQ(log(), "page:began page:moved page:cancelled willDrag(dragging) scroll endDrag(decelerate) "
                     "willDecel scroll");
    advance(0.2);
    EXPECT_FALSE(m_scrollView->isDecelerating());
    EXPECT_NEAR(offsetX(), released + 1000.0 / (-1000.0 * std::log(0.998)), 0.01);
    EXPECT_TRUE(log().endsWith("scroll endDecel"));
    // A slow release stops where it is.
    clearLog();
    slowDrag({250, 200}, -100);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(stop)");
    EXPECT_FALSE(m_scrollView->isDecelerating());
}

TEST_F(ScrollViewTest, ADragPastTheEdgeMeetsResistanceAndSpringsBack) {
    m_scrollView->setPagingEnabled(false);
    m_scrollView->setContentOffset({0, 0});
    clearLog();
    slowDrag({50, 200}, 120);
    // 100 points past the edge show as (1 − 1 / (100 × 0.55 / 320 + 1)) × 320 ≈ 46.9 points.
    EXPECT_NEAR(offsetX(), -46.933, 0.001);
    EXPECT_TRUE(m_scrollView->isDecelerating());
    advance(2.0);
    EXPECT_EQ(offsetX(), 0);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(decelerate) willDecel scroll endDecel");
    // A quick flick toward the edge overshoots and comes back.
    m_scrollView->setContentOffset({100, 0});
    down(0, {50, 200});
    drag(0, {50, 200}, {110, 200}, 6, 0.01);
    up(0, {110, 200});
    double lowest = 0.0;
    for (int i = 0; i < 120; ++i) {
        advance(1.0 / 60.0);
        lowest = std::min(lowest, offsetX());
    }
    EXPECT_LT(lowest, -1.0);
    EXPECT_EQ(offsetX(), 0);
    EXPECT_FALSE(m_scrollView->isDecelerating());
}

TEST_F(ScrollViewTest, WithoutBouncingTheContentStopsAtTheEdges) {
    m_scrollView->setPagingEnabled(false);
    m_scrollView->setBounces(false);
    m_scrollView->setContentOffset({40, 0});
    clearLog();
    slowDrag({50, 200}, 120);
    EXPECT_EQ(offsetX(), 0);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(stop)");
    m_scrollView->setContentOffset({100, 0});
    down(0, {50, 200});
    drag(0, {50, 200}, {110, 200}, 6, 0.01);
    up(0, {110, 200});
    advance(3.0);
    EXPECT_EQ(offsetX(), 0);
    for (const Point& offset : m_spy->offsets) {
        EXPECT_GE(offset.x(), 0.0);
    }
}

TEST_F(ScrollViewTest, ADisabledScrollViewLeavesTheTouchesToItsContent) {
    m_scrollView->setScrollEnabled(false);
    slowDrag({250, 200}, -200);
    advance(1.0);
    EXPECT_EQ(offsetX(), 320);
    EXPECT_EQ(log().count("page:moved"), 20);
    EXPECT_TRUE(log().endsWith("page:ended"));
    EXPECT_TRUE(m_spy->offsets.empty());
}

TEST_F(ScrollViewTest, ContentKeepsItsTouchesWhenTheScrollViewMayNotCancelThem) {
    m_scrollView->setCanCancelContentTouches(false);
    slowDrag({250, 200}, -200);
    EXPECT_TRUE(log().startsWith("page:began page:moved willDrag(dragging) page:moved scroll page:moved"));
    EXPECT_TRUE(log().contains("page:ended"));
}

TEST_F(ScrollViewTest, AnimatedOffsetsReportEveryFrameAndTheirEnd) {
    m_scrollView->setContentOffset({960, 0}, true);
    advance(0.15);
    EXPECT_GT(offsetX(), 320);
    EXPECT_LT(offsetX(), 960);
    EXPECT_FALSE(m_scrollView->isDecelerating());
    advance(0.15);
    EXPECT_EQ(offsetX(), 960);
    EXPECT_EQ(log(), "scroll endAnim");
    EXPECT_GE(m_spy->offsets.size(), 17u);
    for (std::size_t i = 1; i < m_spy->offsets.size(); ++i) {
        EXPECT_GT(m_spy->offsets[i].x(), m_spy->offsets[i - 1].x());
    }
    // Setting the offset at once interrupts an animation, which then reports its end.
    clearLog();
    m_scrollView->setContentOffset({0, 0}, true);
    advance(0.1);
    m_scrollView->setContentOffset({320, 0});
    EXPECT_EQ(offsetX(), 320);
    advance(1.0);
    EXPECT_EQ(log(), "scroll endAnim");
    // Asked to go where it is, it still reports the end of the animation.
    clearLog();
    m_scrollView->setContentOffset({320, 0}, true);
    advance(0.31);
    EXPECT_EQ(log(), "endAnim");
}

TEST_F(ScrollViewTest, ScrollingARectIntoViewMovesAsLittleAsNeeded) {
    m_scrollView->scrollRectToVisible(Rect(400, 0, 100, 100), true);
    EXPECT_EQ(log(), "");
    m_scrollView->scrollRectToVisible(Rect(700, 0, 100, 100), false);
    EXPECT_EQ(offsetX(), 480);
    m_scrollView->scrollRectToVisible(Rect(100, 0, 100, 100), true);
    advance(0.31);
    EXPECT_EQ(offsetX(), 100);
    m_scrollView->scrollRectToVisible(Rect(3150, 0, 200, 100), false);
    EXPECT_EQ(offsetX(), 2880);
    EXPECT_EQ(log(), "scroll endAnim scroll");
}

TEST_F(ScrollViewTest, TouchingAMovingScrollViewStopsItAndLiftingLetsItSettle) {
    slowDrag({250, 200}, -200);
    advance(0.1);
    const double caught = offsetX();
    down(0, {100, 200});
    EXPECT_FALSE(m_scrollView->isDecelerating());
    EXPECT_TRUE(m_scrollView->isTracking());
    advance(1.0);
    EXPECT_EQ(offsetX(), caught);
    up(0, {100, 200});
    advance(0.31);
    EXPECT_EQ(offsetX(), 640);
    EXPECT_EQ(log().count("endDecel"), 1);
    EXPECT_TRUE(log().endsWith("willDecel scroll endDecel"));
    // An animation caught by the finger ends there.
    clearLog();
    m_scrollView->setContentOffset({0, 0}, true);
    advance(0.1);
    down(0, {100, 200});
    up(0, {100, 200});
    advance(1.0);
    EXPECT_EQ(log(), "scroll endAnim page:began page:ended");
}

TEST_F(ScrollViewTest, AnUpwardSwipeOnAPageOfAHorizontalScrollViewIsNotADrag) {
    auto swipe = logged<SwipeGestureRecognizer>("swipe", m_log);
    swipe->setDirection(SwipeDirection::Up);
    m_page->addGestureRecognizer(swipe);
    down(0, {150, 300});
    drag(0, {150, 300}, {155, 220}, 4, 0.03);
    up(0, {155, 220});
    EXPECT_EQ(log(), "page:began page:moved page:moved page:cancelled swipe:ended");
    EXPECT_EQ(offsetX(), 320);
    clearLog();
    // Sideways, the drag wins.
    down(0, {150, 300});
    drag(0, {150, 300}, {70, 290}, 4, 0.03);
    up(0, {70, 290});
    EXPECT_TRUE(log().startsWith("page:began page:cancelled willDrag(dragging)"));
    EXPECT_FALSE(log().contains("swipe"));
}

TEST_F(ScrollViewTest, TheDragReadsTheFingerInItsOwnCoordinatesWhileTheyMove) {
    // Half size around the centre: the content moves by twice the finger's movement.
    m_scrollView->setTransform(AffineTransform::scaling(0.5, 0.5));
    m_scrollView->setPagingEnabled(false);
    down(0, {160, 228});
    drag(0, {160, 228}, {100, 228}, 6, 0.05);
    advance(0.2);
    up(0, {100, 228});
    EXPECT_EQ(offsetX(), 320 + 2 * 50);
    EXPECT_EQ(m_scrollView->panGestureRecognizer()->view(), m_scrollView);
}

// Moves the content from inside its reports, as an endless pager does: it re-centres at rest
// and snaps a free scroll that the finger stopped to the nearest 100 points.
class Recentering : public ScrollSpy {
public:
    using ScrollSpy::ScrollSpy;

    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override {
        ScrollSpy::scrollViewDidEndDragging(scrollView, willDecelerate);
        if (!willDecelerate) {
            scrollView.setContentOffset({std::round(scrollView.contentOffset().x() / 100.0) * 100.0, 0},
                                        true);
        }
    }
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override {
        ScrollSpy::scrollViewDidEndDecelerating(scrollView);
        scrollView.setContentOffset({1600, 0});
    }
    void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) override {
        ScrollSpy::scrollViewDidEndScrollingAnimation(scrollView);
        scrollView.setContentOffset({1600, 0});
    }
};

TEST_F(ScrollViewTest, ADelegateMayMoveTheContentFromItsReports) {
    auto recentering = std::make_shared<Recentering>(m_log);
    m_scrollView->setDelegate(recentering);
    EXPECT_EQ(m_scrollView->delegate(), recentering);
    slowDrag({250, 200}, -200);
    advance(0.31);
    EXPECT_EQ(offsetX(), 1600);
    EXPECT_FALSE(m_scrollView->isDecelerating());
    EXPECT_EQ(log(),
              "page:began page:moved page:cancelled willDrag(dragging) scroll endDrag(decelerate) willDecel "
              "scroll endDecel scroll");
    clearLog();
    m_scrollView->setPagingEnabled(false);
    slowDrag({250, 200}, -60);
    EXPECT_EQ(offsetX(), 1640);
    advance(0.31);
    EXPECT_EQ(offsetX(), 1600);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(stop) scroll endAnim");
    advance(1.0);
    EXPECT_EQ(log(), "willDrag(dragging) scroll endDrag(stop) scroll endAnim");
}

TEST_F(ScrollViewTest, OffsetsRangeOverTheContentAndItsInsets) {
    m_scrollView->setContentInset(EdgeInsets(10, 20, 30, 40));
    EXPECT_EQ(m_scrollView->minimumContentOffset(), Point(-20, -10));
    EXPECT_EQ(m_scrollView->maximumContentOffset(), Point(3200 + 40 - 320, 30));
    m_scrollView->setContentSize(Size(100, 100));
    EXPECT_EQ(m_scrollView->maximumContentOffset(), Point(-20, -10));
    EXPECT_TRUE(m_scrollView->clipsToBounds());
}

} // namespace
