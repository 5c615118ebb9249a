#include "TouchTestSupport.h"

#include "kit/LongPressGestureRecognizer.h"
#include "kit/PanGestureRecognizer.h"
#include "kit/PinchGestureRecognizer.h"
#include "kit/SwipeGestureRecognizer.h"
#include "kit/TapGestureRecognizer.h"

#include <gtest/gtest.h>

namespace {

class GestureRecognizerTest : public testing::Test, public TouchFixture {
protected:
    void SetUp() override {
        root->addSubview(m_card);
        m_card->addSubview(m_row);
        root->addSubview(m_other);
    }

    void tap(Point p) {
        down(0, p);
        advance(0.05);
        up(0, p);
    }

    std::shared_ptr<TouchSpyView> m_card =
        std::make_shared<TouchSpyView>(Rect(0, 0, 160, 140), "card", m_log);
    std::shared_ptr<TouchSpyView> m_row = std::make_shared<TouchSpyView>(Rect(0, 24, 160, 22), "row", m_log);
    std::shared_ptr<TouchSpyView> m_other =
        std::make_shared<TouchSpyView>(Rect(160, 0, 160, 140), "other", m_log);
};

// Tap.

TEST_F(GestureRecognizerTest, ATapOnAnAncestorIsRecognisedAndCancelsTheViewsTouch) {
    auto tapRecognizer = logged<TapGestureRecognizer>("tap", m_log);
    m_card->addGestureRecognizer(tapRecognizer);
    tap({10, 30});
    EXPECT_EQ(log(), "row:began row:cancelled tap:ended");
    EXPECT_EQ(tapRecognizer->state(), GestureRecognizer::State::Possible);
    EXPECT_EQ(tapRecognizer->view(), m_card);
    EXPECT_EQ(tapRecognizer->locationInView(m_row.get()), Point(10, 6));
}

TEST_F(GestureRecognizerTest, ATapLeavesTheViewItsTouchWhenItDoesNotCancel) {
    auto tapRecognizer = logged<TapGestureRecognizer>("tap", m_log);
    tapRecognizer->setCancelsTouchesInView(false);
    m_card->addGestureRecognizer(tapRecognizer);
    tap({10, 30});
    EXPECT_EQ(log(), "row:began tap:ended row:ended");
}

TEST_F(GestureRecognizerTest, ATapFailsWhenTheFingerMovesMoreThanTenPoints) {
    auto tapRecognizer = logged<TapGestureRecognizer>("tap", m_log);
    m_card->addGestureRecognizer(tapRecognizer);
    down(0, {10, 30});
    move(0, {20, 30});
    up(0, {20, 30});
    EXPECT_EQ(log(), "row:began row:moved row:cancelled tap:ended");
    clearLog();
    down(0, {10, 30});
    move(0, {20.5, 30});
    up(0, {20.5, 30});
    EXPECT_EQ(log(), "row:began row:moved row:ended");
}

TEST_F(GestureRecognizerTest, ADoubleTapNeedsTheSecondTapSoonAndNearby) {
    auto doubleTap = logged<TapGestureRecognizer>("double", m_log);
    doubleTap->setNumberOfTapsRequired(2);
    doubleTap->setCancelsTouchesInView(false);
    m_other->addGestureRecognizer(doubleTap);
    tap({200, 50});
    advance(0.3);
    tap({210, 60});
    EXPECT_EQ(log(), "other:began other:ended other:began double:ended other:ended");
    clearLog();
    tap({200, 50});
    advance(0.36);
    tap({200, 50});
    advance(1.0);
    EXPECT_EQ(log(), "other:began other:ended other:began other:ended");
    clearLog();
    // Too far from the first tap.
    tap({200, 50});
    advance(0.1);
    tap({200, 100});
    EXPECT_EQ(log(), "other:began other:ended other:began other:ended");
}

TEST_F(GestureRecognizerTest, ATwoFingerTapNeedsBothFingersTogether) {
    auto twoFingers = logged<TapGestureRecognizer>("two", m_log);
    twoFingers->setNumberOfTouchesRequired(2);
    m_other->addGestureRecognizer(twoFingers);
    tap({200, 50});
    EXPECT_EQ(log(), "other:began other:ended");
    clearLog();
    down(0, {200, 50});
    down(1, {230, 50});
    up(0, {200, 50});
    up(1, {230, 50});
    // The view had only the first finger, which had lifted before the tap was recognised.
    EXPECT_EQ(log(), "other:began other:ended two:ended");
    clearLog();
    // A third finger makes it fail.
    twoFingers->setNumberOfTouchesRequired(1);
    down(0, {200, 50});
    down(1, {230, 50});
    up(0, {200, 50});
    up(1, {230, 50});
    EXPECT_EQ(log(), "other:began other:ended");
}

// Long press.

TEST_F(GestureRecognizerTest, ALongPressBeginsAfterHalfASecondAndFollowsTheFinger) {
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    m_row->addGestureRecognizer(press);
    down(0, {10, 30});
    advance(0.49);
    EXPECT_EQ(log(), "row:began");
    advance(0.01);
    EXPECT_EQ(log(), "row:began row:cancelled press:began");
    move(0, {80, 100});
    up(0, {80, 100});
    EXPECT_EQ(log(), "row:began row:cancelled press:began press:changed press:ended");
    EXPECT_EQ(press->locationInView(m_row.get()), Point(80, 76));
}

TEST_F(GestureRecognizerTest, ALongPressFailsWhenTheFingerMovesTooFarOrLiftsEarly) {
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    press->setMinimumPressDuration(1.0);
    m_row->addGestureRecognizer(press);
    down(0, {10, 30});
    move(0, {17, 37});
    advance(1.0);
    EXPECT_EQ(log(), "row:began row:moved row:cancelled press:began");
    up(0, {17, 37});
    clearLog();
    down(0, {10, 30});
    move(0, {21, 30});
    advance(1.0);
    up(0, {21, 30});
    EXPECT_EQ(log(), "row:began row:moved row:ended");
    clearLog();
    down(0, {10, 30});
    advance(0.9);
    up(0, {10, 30});
    advance(1.0);
    EXPECT_EQ(log(), "row:began row:ended");
}

TEST_F(GestureRecognizerTest, ALongPressWithoutDurationBeginsAtOnceAndKeepsTheTouchFromTheView) {
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    press->setMinimumPressDuration(0.0);
    m_other->addGestureRecognizer(press);
    down(0, {200, 20});
    // Once begun, the finger may wander as far as it likes.
    move(0, {200, 120});
    up(0, {200, 120});
    EXPECT_EQ(log(), "press:began press:changed press:ended");
}

// Swipe.

TEST_F(GestureRecognizerTest, ASwipeUpIsRecognisedAfterFiftyPointsWithinHalfASecond) {
    auto swipe = logged<SwipeGestureRecognizer>("swipe", m_log);
    swipe->setDirection(SwipeDirection::Up);
    m_other->addGestureRecognizer(swipe);
    down(0, {200, 130});
    drag(0, {200, 130}, {210, 81}, 3, 0.05);
    EXPECT_EQ(log(), "other:began other:moved other:moved other:moved");
    advance(0.05);
    move(0, {215, 80});
    up(0, {215, 80});
    EXPECT_EQ(log(), "other:began other:moved other:moved other:moved other:cancelled swipe:ended");
}

TEST_F(GestureRecognizerTest, ASwipeFailsWhenSlowOffTheAxisOrTheOtherWay) {
    auto swipe = logged<SwipeGestureRecognizer>("swipe", m_log);
    swipe->setDirection(SwipeDirection::Up);
    swipe->setCancelsTouchesInView(false);
    m_other->addGestureRecognizer(swipe);
    down(0, {200, 130});
    drag(0, {200, 130}, {200, 70}, 6, 0.1);
    up(0, {200, 70});
    down(0, {200, 130});
    drag(0, {200, 130}, {240, 70}, 3, 0.05);
    up(0, {240, 70});
    down(0, {200, 70});
    drag(0, {200, 70}, {200, 130}, 3, 0.05);
    up(0, {200, 130});
    EXPECT_FALSE(log().contains("swipe"));
}

TEST_F(GestureRecognizerTest, ASwipeTakesAnyOfSeveralDirections) {
    auto swipe = logged<SwipeGestureRecognizer>("swipe", m_log);
    swipe->setDirection(SwipeDirection::Left | SwipeDirection::Down);
    swipe->setCancelsTouchesInView(false);
    m_other->addGestureRecognizer(swipe);
    down(0, {300, 10});
    drag(0, {300, 10}, {240, 20}, 2, 0.05);
    up(0, {240, 20});
    down(0, {300, 10});
    drag(0, {300, 10}, {310, 70}, 2, 0.05);
    up(0, {310, 70});
    down(0, {200, 10});
    drag(0, {200, 10}, {270, 10}, 2, 0.05);
    up(0, {270, 10});
    EXPECT_EQ(log().count("swipe:ended"), 2);
}

// Pinch.

TEST_F(GestureRecognizerTest, APinchReportsItsScaleFromTheStartingDistance) {
    auto pinch = logged<PinchGestureRecognizer>("pinch", m_log);
    QStringList scales;
    pinch->onAction = [&](GestureRecognizer& r) {
        auto& p = static_cast<PinchGestureRecognizer&>(r);
        scales.append(QStringLiteral("%1:%2").arg(stateName(p.state())).arg(p.scale()));
    };
    m_other->addGestureRecognizer(pinch);
    down(0, {200, 50});
    down(1, {300, 50});
    advance(0.1);
    move(1, {305, 50});
    EXPECT_TRUE(scales.isEmpty());
    advance(0.1);
    move(1, {310, 50});
    advance(0.1);
    move(0, {150, 50});
    up(0, {150, 50});
    EXPECT_EQ(scales.join(' '), "began:1.1 changed:1.6 ended:1.6");
    EXPECT_NEAR(pinch->velocity(), 5.0, 1e-9);
}

TEST_F(GestureRecognizerTest, APinchOnAnExclusiveCardWorksWhenItStartsOnARow) {
    m_card->setExclusiveTouch(true);
    auto pinch = logged<PinchGestureRecognizer>("pinch", m_log);
    m_card->addGestureRecognizer(pinch);
    down(0, {40, 30});
    down(1, {60, 100});
    advance(0.1);
    router.deliver(
        router.touchesChanged({{0, TouchPhase::Moved, {20, 20}}, {1, TouchPhase::Moved, {80, 120}}}));
    EXPECT_EQ(log(), "row:began card:began row:cancelled card:cancelled pinch:began");
}

TEST_F(GestureRecognizerTest, PinchAtSynthesisesTwoFingersAroundThePoint) {
    auto pinch = std::make_shared<PinchGestureRecognizer>();
    QStringList scales;
    pinch->onAction = [&](GestureRecognizer& r) {
        auto& p = static_cast<PinchGestureRecognizer&>(r);
        scales.append(QStringLiteral("%1:%2@%3,%4")
                          .arg(stateName(p.state()))
                          .arg(p.scale())
                          .arg(p.locationInView(m_other.get()).x())
                          .arg(p.locationInView(m_other.get()).y()));
    };
    m_other->addGestureRecognizer(pinch);
    int events = 0;
    router.toSendEvent = [&](const TouchEvent& event) {
        ++events;
        router.deliver(event);
    };
    router.pinchAt({240, 70}, 1.1);
    EXPECT_TRUE(router.isPinching());
    advance(0.2);
    router.pinchAt({250, 90}, 1.1);
    advance(0.29);
    EXPECT_EQ(router.touchCount(), 2);
    advance(0.01);
    EXPECT_EQ(router.touchCount(), 0);
    EXPECT_FALSE(router.isPinching());
    EXPECT_EQ(events, 4);
    EXPECT_EQ(scales.join(' '), "began:1.1@80,70 changed:1.21@80,70 ended:1.21@80,70");
    // The view under the point had the first synthetic finger until the pinch took it.
    EXPECT_EQ(log(), "other:began other:cancelled");
    scales.clear();
    router.pinchAt({240, 70}, 0.5);
    advance(0.3);
    EXPECT_EQ(scales.join(' '), "began:0.5@80,70 ended:0.5@80,70");
}

// Arbitration between recognisers and with the views.

TEST_F(GestureRecognizerTest, TheFirstRecogniserToBeginMakesTheOthersOnItsTouchesFail) {
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    auto pan = logged<PanGestureRecognizer>("pan", m_log);
    m_row->addGestureRecognizer(press);
    root->addGestureRecognizer(pan);
    down(0, {10, 30});
    advance(0.6);
    drag(0, {10, 30}, {100, 30}, 3, 0.02);
    up(0, {100, 30});
    EXPECT_EQ(log(),
              "row:began row:cancelled press:began press:changed press:changed press:changed press:ended");
    clearLog();
    down(0, {10, 30});
    drag(0, {10, 30}, {100, 30}, 3, 0.02);
    advance(0.6);
    up(0, {100, 30});
    EXPECT_EQ(log(), "row:began row:cancelled pan:began pan:changed pan:changed pan:ended");
}

class Permissive : public GestureRecognizerDelegate {
public:
    bool begin = true;
    bool receive = true;
    bool together = false;

    bool gestureRecognizerShouldBegin(GestureRecognizer&) override { return begin; }
    bool gestureRecognizerShouldReceiveTouch(GestureRecognizer&, const Touch&) override { return receive; }
    bool gestureRecognizerShouldRecognizeSimultaneously(GestureRecognizer&, GestureRecognizer&) override {
        return together;
    }
};

TEST_F(GestureRecognizerTest, TheDelegateCanLetGesturesGoTogetherOrKeepThemFromBeginning) {
    auto delegate = std::make_shared<Permissive>();
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    auto tapRecognizer = logged<TapGestureRecognizer>("tap", m_log);
    press->setMinimumPressDuration(0.0);
    press->setDelegate(delegate);
    m_other->addGestureRecognizer(press);
    m_other->addGestureRecognizer(tapRecognizer);
    delegate->together = true;
    tap({200, 20});
    EXPECT_EQ(log(), "press:began press:ended tap:ended");
    clearLog();
    delegate->together = false;
    tap({200, 20});
    EXPECT_EQ(log(), "press:began press:ended");
    clearLog();
    delegate->begin = false;
    tap({200, 20});
    EXPECT_EQ(log(), "other:began other:cancelled tap:ended");
    clearLog();
    delegate->receive = false;
    delegate->begin = true;
    tap({200, 20});
    EXPECT_EQ(log(), "other:began other:cancelled tap:ended");
    EXPECT_EQ(press->delegate(), delegate);
}

TEST_F(GestureRecognizerTest, DisabledOrRemovedRecognisersLetGoOfTheirGestures) {
    auto press = logged<LongPressGestureRecognizer>("press", m_log);
    m_other->addGestureRecognizer(press);
    press->setEnabled(false);
    down(0, {200, 20});
    advance(1.0);
    up(0, {200, 20});
    EXPECT_EQ(log(), "other:began other:ended");
    clearLog();
    press->setEnabled(true);
    down(0, {200, 20});
    advance(1.0);
    press->setEnabled(false);
    EXPECT_EQ(log(), "other:began other:cancelled press:began press:cancelled");
    up(0, {200, 20});
    press->setEnabled(true);
    clearLog();
    down(0, {200, 20});
    advance(1.0);
    m_other->removeGestureRecognizer(*press);
    EXPECT_EQ(press->view(), nullptr);
    EXPECT_TRUE(m_other->gestureRecognizers().empty());
    up(0, {200, 20});
    EXPECT_EQ(log(), "other:began other:cancelled press:began press:cancelled");
    // Added to another view, a recogniser leaves the first one.
    m_other->addGestureRecognizer(press);
    m_card->addGestureRecognizer(press);
    EXPECT_TRUE(m_other->gestureRecognizers().empty());
    EXPECT_EQ(press->view(), m_card);
}

TEST_F(GestureRecognizerTest, APanReadsTheFingersCentreAndItsSpeed) {
    auto pan = logged<PanGestureRecognizer>("pan", m_log);
    root->addGestureRecognizer(pan);
    down(0, {200, 20});
    drag(0, {200, 20}, {200, 29}, 3, 0.01);
    EXPECT_EQ(pan->state(), GestureRecognizer::State::Possible);
    advance(0.01);
    move(0, {200, 31});
    EXPECT_EQ(pan->state(), GestureRecognizer::State::Began);
    EXPECT_EQ(pan->translationInView(nullptr), Point(0, 0));
    drag(0, {200, 31}, {260, 31}, 6, 0.02);
    EXPECT_EQ(pan->translationInView(nullptr), Point(60, 0));
    EXPECT_NEAR(pan->velocityInView(nullptr).x(), 500.0, 1e-6);
    // A translated, half-scaled view reads half the movement.
    m_other->setTransform(AffineTransform::scaling(2.0, 2.0));
    EXPECT_NEAR(pan->translationInView(m_other.get()).x(), 30.0, 1e-9);
    m_other->setTransform(AffineTransform::identity());
    // A second finger does not move the translation.
    down(1, {300, 100});
    EXPECT_EQ(pan->translationInView(nullptr), Point(60, 0));
    pan->setTranslation({0, 0}, nullptr);
    router.deliver(
        router.touchesChanged({{0, TouchPhase::Moved, {270, 31}}, {1, TouchPhase::Moved, {310, 100}}}));
    EXPECT_EQ(pan->translationInView(nullptr), Point(10, 0));
    up(1, {310, 100});
    Point endTranslation;
    Point endVelocity(-1, -1);
    pan->onAction = [&](GestureRecognizer&) {
        endTranslation = pan->translationInView(nullptr);
        endVelocity = pan->velocityInView(nullptr);
    };
    advance(0.5);
    up(0, {270, 31});
    // The fingers rested before lifting.
    EXPECT_EQ(endVelocity, Point(0, 0));
    EXPECT_EQ(endTranslation, Point(10, 0));
    EXPECT_EQ(pan->state(), GestureRecognizer::State::Possible);
}

} // namespace
