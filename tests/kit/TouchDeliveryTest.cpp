#include "TouchTestSupport.h"

#include "kit/LongPressGestureRecognizer.h"
#include "kit/ScrollView.h"
#include "kit/TapGestureRecognizer.h"

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

TEST_F(TouchDeliveryTest, TouchesOnScrolledClippedContentHitWhatIsShownThere) {
    auto scrollView = std::make_shared<ScrollView>(Rect(0, 200, 160, 100));
    scrollView->setContentSize(Size(480, 100));
    auto first = std::make_shared<TouchSpyView>(Rect(0, 0, 160, 100), "first", m_log);
    auto second = std::make_shared<TouchSpyView>(Rect(160, 0, 160, 100), "second", m_log);
    scrollView->addSubview(first);
    scrollView->addSubview(second);
    root->addSubview(scrollView);
    scrollView->setContentOffset({150, 0});
    EXPECT_EQ(router.touchBegan(0, {5, 250}).allTouches().front()->view(), first);
    EXPECT_EQ(router.touchBegan(1, {15, 250}).allTouches().back()->view(), second);
    // The second page reaches past the scroll view's frame on screen, where it is not shown.
    EXPECT_EQ(router.touchBegan(2, {200, 250}).allTouches().back()->view(), root);
    router.deliver(router.touchesCancelledAll());
    // Turned half way, the scroll view shows its content mirrored.
    scrollView->setTransform(AffineTransform::rotation(3.141592653589793));
    EXPECT_EQ(router.touchBegan(3, {150, 250}).allTouches().back()->view(), second);
    EXPECT_EQ(router.touchBegan(4, {155, 250}).allTouches().back()->view(), first);
}

TEST_F(TouchDeliveryTest, RecognisersOutliveTheirRouterAndTouchesKeepTheirViewsToTheEnd) {
    auto tapRecognizer = logged<TapGestureRecognizer>("tap", m_log);
    tapRecognizer->setNumberOfTapsRequired(2);
    m_other->addGestureRecognizer(tapRecognizer);
    {
        TouchRouter shortLived(root);
        shortLived.deliver(shortLived.touchBegan(0, {200, 20}));
        shortLived.deliver(shortLived.touchEnded(0, {200, 20}));
    }
    // The wait for the second tap runs out after the router has gone.
    advance(1.0);
    EXPECT_EQ(tapRecognizer->state(), GestureRecognizer::State::Possible);

    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    auto doomed = std::make_shared<TouchSpyView>(Rect(0, 300, 100, 100), "doomed", m_log);
    doomed->addGestureRecognizer(press);
    root->addSubview(doomed);
    down(0, {50, 350});
    advance(0.6);
    doomed->removeFromSuperview();
    std::weak_ptr<View> gone = doomed;
    doomed.reset();
    // The touch keeps its view to its end, so the gesture goes on; then both are let go.
    EXPECT_FALSE(gone.expired());
    move(0, {60, 350});
    up(0, {60, 350});
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(press->view(), nullptr);
    EXPECT_EQ(press->state(), GestureRecognizer::State::Possible);
    EXPECT_EQ(log(),
              "other:began other:ended doomed:began doomed:cancelled press:began press:changed press:ended");
}

} // namespace

namespace {

TEST(TouchRouterLifetimeTest, ARouterThatGoesCancelsTheTouchesInPlayAndLetsTheirViewsGo) {
    ManualMainLoop loop;
    QStringList log;
    auto root = std::make_shared<View>(Rect(0, 0, 320, 480));
    auto view = std::make_shared<TouchSpyView>(Rect(0, 0, 100, 100), "view", log);
    auto press = logged<LongPressGestureRecognizer>("press", log);
    view->addGestureRecognizer(press);
    root->addSubview(view);
    std::weak_ptr<View> weakView = view;
    {
        TouchRouter router(root);
        router.deliver(router.touchBegan(0, {10, 10}));
        router.deliver(router.touchBegan(1, {20, 10}));
    }
    EXPECT_EQ(log.join(' '), "view:began view:cancelled");
    EXPECT_EQ(press->numberOfTouches(), 0);
    EXPECT_EQ(press->state(), GestureRecognizer::State::Possible);
    root.reset();
    view.reset();
    EXPECT_TRUE(weakView.expired());
}

} // namespace
