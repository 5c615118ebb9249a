#include "TouchTestSupport.h"

#include "kit/LongPressGestureRecognizer.h"
#include "kit/PinchGestureRecognizer.h"
#include "kit/ScrollView.h"
#include "kit/SwipeGestureRecognizer.h"

#include <gtest/gtest.h>

namespace {

// A paging scroll view of week pages; the middle page carries an upward swipe and a day card
// (exclusive touch, pinch) with an event row (long press of 1 second), as the week screen has.
class TouchSceneTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        m_scrollView->setContentSize(Size(960, 416));
        m_scrollView->setPagingEnabled(true);
        m_scrollView->setContentOffset({320, 0});
        m_scrollView->addSubview(m_page);
        m_page->addSubview(m_card);
        m_card->addSubview(m_row);
        root->addSubview(m_scrollView);
        m_card->setExclusiveTouch(true);
        m_swipe->setDirection(SwipeDirection::Up);
        m_page->addGestureRecognizer(m_swipe);
        m_card->addGestureRecognizer(m_pinch);
        m_press->setMinimumPressDuration(1.0);
        m_row->addGestureRecognizer(m_press);
    }

    std::shared_ptr<ScrollView> m_scrollView = std::make_shared<ScrollView>(Rect(0, 44, 320, 416));
    std::shared_ptr<TouchSpyView> m_page =
        std::make_shared<TouchSpyView>(Rect(320, 0, 320, 416), "page", m_log);
    std::shared_ptr<TouchSpyView> m_card =
        std::make_shared<TouchSpyView>(Rect(0, 0, 158, 137), "card", m_log);
    std::shared_ptr<TouchSpyView> m_row = std::make_shared<TouchSpyView>(Rect(0, 24, 158, 22), "row", m_log);
    std::shared_ptr<SwipeGestureRecognizer> m_swipe = logged<SwipeGestureRecognizer>("swipe", m_log);
    std::shared_ptr<PinchGestureRecognizer> m_pinch = logged<PinchGestureRecognizer>("pinch", m_log);
    std::shared_ptr<LongPressGestureRecognizer> m_press = logged<LongPressGestureRecognizer>("press", m_log);
};

TEST_F(TouchSceneTest, ATapOnARowReachesOnlyTheRow) {
    down(0, {50, 80});
    advance(0.1);
    up(0, {50, 80});
    advance(2.0);
    EXPECT_EQ(log(), "row:began row:ended");
}

TEST_F(TouchSceneTest, HoldingARowStartsTheLongPressAndCancelsTheRow) {
    down(0, {50, 80});
    advance(1.0);
    move(0, {50, 200});
    up(0, {50, 200});
    EXPECT_EQ(log(), "row:began row:cancelled press:began press:changed press:ended");
    EXPECT_EQ(m_scrollView->contentOffset(), Point(320, 0));
}

TEST_F(TouchSceneTest, APinchStartingOnARowListsTheDayInsteadOfScrollingOrPressing) {
    down(0, {50, 80});
    down(1, {100, 150});
    advance(0.1);
    router.deliver(
        router.touchesChanged({{0, TouchPhase::Moved, {30, 60}}, {1, TouchPhase::Moved, {120, 170}}}));
    advance(1.0);
    router.deliver(
        router.touchesChanged({{0, TouchPhase::Ended, {30, 60}}, {1, TouchPhase::Ended, {120, 170}}}));
    EXPECT_EQ(log(), "row:began card:began row:cancelled card:cancelled pinch:began pinch:ended");
    EXPECT_FALSE(m_scrollView->isDragging());
}

TEST_F(TouchSceneTest, ASidewaysDragOnARowScrollsToTheNextWeek) {
    down(0, {150, 80});
    drag(0, {150, 80}, {20, 82}, 13, 0.03);
    up(0, {20, 82});
    advance(0.31);
    EXPECT_EQ(log(), "row:began row:moved row:cancelled");
    EXPECT_EQ(m_scrollView->contentOffset(), Point(640, 0));
}

TEST_F(TouchSceneTest, AnUpwardSwipeOnTheCardOpensSearchAndAnotherCardStaysOutMeanwhile) {
    auto otherCard = std::make_shared<TouchSpyView>(Rect(160, 0, 158, 137), "other", m_log);
    otherCard->setExclusiveTouch(true);
    m_page->addSubview(otherCard);
    down(0, {50, 150});
    down(1, {250, 100});
    drag(0, {50, 150}, {52, 90}, 3, 0.05);
    up(0, {52, 90});
    up(1, {250, 100});
    EXPECT_EQ(log(), "card:began card:moved card:moved card:cancelled swipe:ended");
}

} // namespace
