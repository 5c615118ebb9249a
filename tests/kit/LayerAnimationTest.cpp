#include "AnimationTestSupport.h"

#include "testing/LogCapture.h"
#include "kit/GraphicsContext.h"
#include "kit/Layer.h"
#include "kit/View.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const QString offsetKey = QStringLiteral("offset");
const QString marchKey = QStringLiteral("animateOffset");

// A dashed outline whose dash phase is a custom animatable property, drawn from its
// presentation value; it remembers the phases it was drawn with.
class DashedView : public View {
public:
    using View::View;

    double offset() const { return layer().value(offsetKey); }
    void setOffset(double offset) { layer().setValue(offsetKey, offset); }
    void startMarching() {
        layer().addAnimation(marchKey, offsetKey, 20, 0, 1.0, BasicAnimation::repeatForever,
                             AnimationCurve::linear);
    }

    std::vector<double> m_drawnOffsets;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override {
        const double phase = layer().presentationValue(offsetKey);
        m_drawnOffsets.push_back(phase);
        context.setStrokeColor(Color(0, 0, 0));
        context.setLineWidth(2);
        context.setLineDash(phase, {10, 10});
        context.moveTo(Point(rect.minX(), rect.midY()));
        context.addLineTo(Point(rect.maxX(), rect.midY()));
        context.strokePath();
    }
};

class LayerAnimationTest : public AnimationTest {
protected:
    void TearDown() override {
        m_view.reset();
        AnimationTest::TearDown();
    }

    double shownOffset() const { return m_view->layer().presentationValue(offsetKey); }

    std::shared_ptr<DashedView> m_view = std::make_shared<DashedView>(Rect(0, 0, 40, 4));
};

TEST_F(LayerAnimationTest, ACustomPropertyMarchesWithoutEndWhileItsModelValueStays) {
    m_view->startMarching();
    EXPECT_EQ(m_view->offset(), 0.0);
    advanceTo(0.25);
    EXPECT_NEAR(shownOffset(), 15.0, 1e-5);
    advanceTo(0.75);
    EXPECT_NEAR(shownOffset(), 5.0, 1e-5);
    advanceTo(1.25);
    EXPECT_NEAR(shownOffset(), 15.0, 1e-5);
    advanceTo(600.5);
    EXPECT_NEAR(shownOffset(), 10.0, 1e-4);
    EXPECT_EQ(m_view->offset(), 0.0);
    EXPECT_TRUE(Animator::hasRunningAnimations());
    EXPECT_FALSE(Animator::hasEndingAnimations());

    const std::optional<BasicAnimation> running = m_view->layer().animationForKey(marchKey);
    ASSERT_TRUE(running.has_value());
    EXPECT_EQ(running->keyPath(), offsetKey);
    EXPECT_EQ(running->fromValue(), AnimationValue(20.0));
    EXPECT_EQ(running->toValue(), AnimationValue(0.0));
    EXPECT_TRUE(running->isEndless());
    EXPECT_EQ(running->timingFunction(), TimingFunction());

    m_view->layer().removeAnimation(marchKey);
    EXPECT_EQ(shownOffset(), 0.0);
    EXPECT_FALSE(m_view->layer().animationForKey(marchKey).has_value());
    EXPECT_FALSE(Animator::hasRunningAnimations());
}

TEST_F(LayerAnimationTest, EveryFrameRedrawsTheViewWithThePresentationValue) {
    m_view->startMarching();
    (void)m_view->renderToImage();
    EXPECT_FALSE(m_view->needsDisplay());
    m_loop->advance(Animator::frameInterval);
    EXPECT_TRUE(m_view->needsDisplay());
    advanceTo(0.5);
    (void)m_view->renderToImage();
    advanceTo(0.8);
    (void)m_view->renderToImage();
    ASSERT_EQ(m_view->m_drawnOffsets.size(), 3u);
    EXPECT_NEAR(m_view->m_drawnOffsets[0], 20.0, 1e-5);
    EXPECT_NEAR(m_view->m_drawnOffsets[1], 10.0, 1e-5);
    EXPECT_NEAR(m_view->m_drawnOffsets[2], 4.0, 1e-5);
    m_view->layer().removeAllAnimations();
}

TEST_F(LayerAnimationTest, AHiddenViewAnimatesWithoutAskingForFrames) {
    auto root = std::make_shared<View>(Rect(0, 0, 40, 40));
    auto veil = std::make_shared<View>(Rect(0, 0, 40, 40));
    root->addSubview(veil);
    veil->addSubview(m_view);
    m_view->startMarching();
    veil->setHidden(true);
    (void)root->renderToImage();
    advanceTo(0.5);
    EXPECT_FALSE(root->subtreeNeedsDisplay());
    veil->setHidden(false);
    (void)root->renderToImage();
    advanceTo(0.6);
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    EXPECT_NEAR(m_view->m_drawnOffsets.back(), 10.0, 1e-5);
    root.reset();
    veil.reset();
    m_view->layer().removeAllAnimations();
}

TEST_F(LayerAnimationTest, TheDrawnDashesFollowTheAnimatedPhase) {
    auto root = std::make_shared<View>(Rect(0, 0, 40, 4));
    root->setBackgroundColor(Color(1, 1, 1));
    root->addSubview(m_view);
    const auto inkAt = [&](double x) { return root->renderToImage().colorAtPoint(Point(x, 2)).red() < 0.5; };
    // Phase 0: ink on 0..10 and 20..30.
    EXPECT_TRUE(inkAt(5));
    EXPECT_FALSE(inkAt(15));
    m_view->startMarching();
    // Phase 20 is the same as phase 0.
    EXPECT_TRUE(inkAt(5));
    EXPECT_FALSE(inkAt(15));
    advanceTo(0.25);
    // Phase 15: the pattern starts 15 points in, so ink on 5..15 and 25..35.
    EXPECT_FALSE(inkAt(2));
    EXPECT_TRUE(inkAt(10));
    EXPECT_FALSE(inkAt(18));
    EXPECT_TRUE(inkAt(30));
    advanceTo(0.5);
    // Phase 10: ink on 10..20 and 30..40.
    EXPECT_FALSE(inkAt(5));
    EXPECT_TRUE(inkAt(15));
    root.reset();
    m_view->layer().removeAllAnimations();
}

TEST_F(LayerAnimationTest, CustomPropertiesAnimateInsideViewBlocksAndJumpOutside) {
    bool done = false;
    View::animate(
        1.0, 0.0, AnimationCurve::linear, {}, [&] { m_view->setOffset(8); },
        [&](bool finished) { done = finished; });
    EXPECT_EQ(m_view->offset(), 8.0);
    advanceTo(0.25);
    EXPECT_NEAR(shownOffset(), 2.0, 1e-5);
    advanceTo(1.0);
    EXPECT_TRUE(done);
    EXPECT_EQ(shownOffset(), 8.0);

    (void)m_view->renderToImage();
    m_view->setOffset(3);
    EXPECT_EQ(shownOffset(), 3.0);
    EXPECT_TRUE(m_view->needsDisplay());
    EXPECT_FALSE(Animator::hasRunningAnimations());
}

TEST_F(LayerAnimationTest, AnAnimationAddedUnderItsOwnKeyOutlivesChangesOfTheModel) {
    m_view->setAlpha(0.5);
    bool finished = false;
    BasicAnimation fade(Layer::opacityKey, 0.0, 1.0, 1.0);
    fade.setCurve(AnimationCurve::linear);
    fade.setCompletion([&](bool ok) { finished = ok; });
    ASSERT_TRUE(m_view->layer().addAnimation(QStringLiteral("fade"), fade));
    EXPECT_EQ(m_view->alpha(), 0.5);
    advanceTo(0.25);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.25, 1e-6);
    m_view->setAlpha(0.9);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.25, 1e-6);
    advanceTo(1.0);
    EXPECT_TRUE(finished);
    EXPECT_EQ(m_view->presentationAlpha(), 0.9);
}

TEST_F(LayerAnimationTest, AddingUnderAUsedKeyReplacesTheAnimation) {
    std::vector<bool> results;
    BasicAnimation first(offsetKey, 0.0, 10.0, 1.0);
    first.setCompletion([&](bool ok) { results.push_back(ok); });
    m_view->layer().addAnimation(QStringLiteral("a"), first);
    m_view->layer().addAnimation(QStringLiteral("b"), offsetKey, 0, 5, 2.0);
    m_view->layer().addAnimation(QStringLiteral("a"), offsetKey, 100, 200, 0.5, 0.0, AnimationCurve::linear);
    EXPECT_EQ(m_view->layer().animationKeys(), QStringList({QStringLiteral("b"), QStringLiteral("a")}));
    m_loop->runPostedTasks();
    EXPECT_EQ(results, std::vector<bool>({false}));
    // The animation added last shows.
    advanceTo(0.25);
    EXPECT_NEAR(shownOffset(), 150.0, 1e-5);
    advanceTo(0.5);
    EXPECT_LT(shownOffset(), 5.0);
    m_view->layer().removeAnimation(QStringLiteral("unknown"));
    EXPECT_EQ(m_view->layer().animationKeys(), QStringList({QStringLiteral("b")}));
    advanceTo(2.0);
    EXPECT_TRUE(m_view->layer().animationKeys().isEmpty());
}

TEST_F(LayerAnimationTest, ValuesThatDoNotSuitTheKeyPathAreRefused) {
    const LogCapture log;
    EXPECT_FALSE(
        m_view->layer().addAnimation(QStringLiteral("x"), BasicAnimation(Layer::positionKey, 1.0, 2.0, 1.0)));
    EXPECT_FALSE(m_view->layer().addAnimation(QStringLiteral("x"),
                                              BasicAnimation(offsetKey, Point(1, 1), Point(2, 2), 1.0)));
    EXPECT_FALSE(m_view->layer().hasAnimations());
    EXPECT_TRUE(m_view->layer().addAnimation(
        QStringLiteral("x"), BasicAnimation(Layer::positionKey, Point(1, 1), Point(2, 2), 1.0)));
    advanceTo(1.0);
}

TEST_F(LayerAnimationTest, AFractionalRepeatCountEndsPartWay) {
    bool finished = false;
    BasicAnimation march(offsetKey, 20.0, 0.0, 1.0);
    march.setCurve(AnimationCurve::linear);
    march.setRepeatCount(1.5);
    march.setCompletion([&](bool ok) { finished = ok; });
    m_view->layer().addAnimation(marchKey, march);
    advanceTo(1.25);
    EXPECT_NEAR(shownOffset(), 15.0, 1e-5);
    advanceTo(1.49);
    EXPECT_FALSE(finished);
    advanceTo(1.5);
    EXPECT_TRUE(finished);
    EXPECT_EQ(shownOffset(), 0.0);
}

} // namespace
