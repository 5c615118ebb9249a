#include "TouchTestSupport.h"

#include <gtest/gtest.h>

namespace {

class TouchDeliveryTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        root->addSubview(m_card);
        m_card->addSubview(m_row);
        root->addSubview(m_other);
    }

    std::shared_ptr<TouchSpyView> m_card =
        std::make_shared<TouchSpyView>(Rect(0, 0, 160, 140), "card", m_log);
    std::shared_ptr<TouchSpyView> m_row = std::make_shared<TouchSpyView>(Rect(0, 24, 160, 22), "row", m_log);
    std::shared_ptr<TouchSpyView> m_other =
        std::make_shared<TouchSpyView>(Rect(160, 0, 160, 140), "other", m_log);
};

TEST_F(TouchDeliveryTest, TheViewHitAtTheStartKeepsTheTouchForAllPhases) {
    down(0, {10, 30});
    move(0, {200, 100});
    up(0, {300, 400});
    EXPECT_EQ(log(), "row:began row:moved row:ended");
}

TEST_F(TouchDeliveryTest, TheDefaultHooksPassTouchesOnToTheSuperview) {
    m_row->passOn = true;
    down(0, {10, 30});
    up(0, {10, 30});
    EXPECT_EQ(log(), "row:began card:began row:ended card:ended");
}

TEST_F(TouchDeliveryTest, LocationsAreReadInAnyViewAndFollowItsBoundsOrigin) {
    TouchEvent began = router.touchBegan(0, {20, 30});
    ASSERT_EQ(began.allTouches().size(), 1u);
    const std::shared_ptr<Touch> touch = began.allTouches().front();
    EXPECT_EQ(touch->view(), m_row);
    EXPECT_EQ(touch->locationInView(m_row.get()), Point(20, 6));
    EXPECT_EQ(touch->locationInView(nullptr), Point(20, 30));
    router.deliver(router.touchMoved(0, {25, 40}));
    EXPECT_EQ(touch->previousLocationInView(m_row.get()), Point(20, 6));
    m_card->setBounds(Rect(0, 100, 160, 140));
    EXPECT_EQ(touch->locationInView(m_card.get()), Point(25, 140));
    EXPECT_EQ(touch->phase(), TouchPhase::Moved);
}

TEST_F(TouchDeliveryTest, EventsCarryEveryTouchInPlayAndTheRunLoopsTime) {
    const TouchEvent first = router.touchBegan(0, {10, 30});
    router.deliver(first);
    advance(0.25);
    const TouchEvent second = router.touchBegan(1, {200, 30});
    EXPECT_DOUBLE_EQ(second.timestamp(), 1000.25);
    ASSERT_EQ(second.allTouches().size(), 2u);
    EXPECT_EQ(second.allTouches()[0]->phase(), TouchPhase::Stationary);
    EXPECT_EQ(second.changedTouches().size(), 1u);
    EXPECT_EQ(second.touchesForView(m_other.get()).size(), 1u);
    EXPECT_EQ(second.touchesForView(m_row.get()).size(), 1u);
    EXPECT_EQ(second.touchesForView(m_card.get()).size(), 0u);
    EXPECT_DOUBLE_EQ(second.allTouches()[1]->timestamp(), 1000.25);
    router.deliver(second);
    EXPECT_EQ(router.touchCount(), 2);
    router.deliver(router.touchesCancelledAll());
    EXPECT_EQ(router.touchCount(), 0);
    EXPECT_EQ(log(), "row:began other:began row:cancelled other:cancelled");
}

TEST_F(TouchDeliveryTest, QuickTapsAtOnePlaceCountUp) {
    down(0, {10, 30});
    up(0, {10, 30});
    advance(0.2);
    TouchEvent again = router.touchBegan(0, {14, 33});
    EXPECT_EQ(again.allTouches().front()->tapCount(), 2);
    router.deliver(again);
    up(0, {14, 33});
    advance(0.6);
    EXPECT_EQ(router.touchBegan(0, {14, 33}).allTouches().front()->tapCount(), 1);
}

TEST_F(TouchDeliveryTest, MovesOfUnknownFingersAndTouchesOutsideAllViewsReachNoOne) {
    move(3, {10, 30});
    up(3, {10, 30});
    down(0, {-10, -10});
    up(0, {-10, -10});
    EXPECT_EQ(log(), "");
}

TEST_F(TouchDeliveryTest, ViewsNotTakingInteractionAreNotHit) {
    m_row->setUserInteractionEnabled(false);
    down(0, {10, 30});
    up(0, {10, 30});
    EXPECT_EQ(log(), "card:began card:ended");
}

TEST_F(TouchDeliveryTest, AViewGetsOnlyItsFirstTouchUnlessItTakesSeveral) {
    down(0, {10, 30});
    down(1, {50, 30});
    up(1, {50, 30});
    up(0, {10, 30});
    EXPECT_EQ(log(), "row:began row:ended");
    clearLog();
    m_row->setMultipleTouchEnabled(true);
    router.deliver(
        router.touchesChanged({{0, TouchPhase::Began, {10, 30}}, {1, TouchPhase::Began, {50, 30}}}));
    up(1, {50, 30});
    EXPECT_EQ(log(), "row:beganx2 row:ended");
}

TEST_F(TouchDeliveryTest, AnExclusiveViewKeepsOtherFingersOutWhileItTracksATouch) {
    m_card->setExclusiveTouch(true);
    down(0, {10, 30});
    down(1, {200, 30});
    move(1, {210, 30});
    up(1, {210, 30});
    // A second finger inside the exclusive view's subtree is still delivered.
    down(2, {100, 100});
    up(0, {10, 30});
    up(2, {100, 100});
    EXPECT_EQ(log(), "row:began card:began row:ended card:ended");
    clearLog();
    // Once it is free, other views get touches again.
    down(1, {200, 30});
    EXPECT_EQ(log(), "other:began");
}

TEST_F(TouchDeliveryTest, AnExclusiveViewGetsNoTouchWhileAnotherViewTracksOne) {
    m_card->setExclusiveTouch(true);
    down(0, {200, 30});
    down(1, {10, 30});
    up(1, {10, 30});
    down(2, {210, 40});
    EXPECT_EQ(log(), "other:began");
    m_other->setMultipleTouchEnabled(true);
    down(3, {220, 40});
    EXPECT_EQ(log(), "other:began other:began");
}

} // namespace
