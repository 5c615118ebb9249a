#include "AnimationTestSupport.h"

#include "kit/DrawingTestSupport.h"
#include "kit/Layer.h"
#include "kit/View.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Clock values of today have a resolution of about 2e-7 seconds, which moves a point by up to
// 1e-5 over 100 points in a second.
constexpr double frameTolerance = 1e-4;

// Records completions as "name:true" or "name:false", in the order they run.
class CompletionLog {
public:
    std::function<void(bool)> entry(const std::string& name) {
        return [this, name](bool finished) { m_entries.push_back(name + (finished ? ":true" : ":false")); };
    }
    std::string joined() const {
        std::string text;
        for (const std::string& entry : m_entries) {
            if (!text.empty()) {
                text += " ";
            }
            text += entry;
        }
        return text;
    }

private:
    std::vector<std::string> m_entries;
};

class ViewAnimationTest : public AnimationTest {
protected:
    void animateLinear(double duration, const std::function<void()>& changes,
                       std::function<void(bool)> completion = {}, AnimationOptions options = {}) {
        View::animate(duration, 0.0, AnimationCurve::linear, options, changes, std::move(completion));
    }

    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 480));
    std::shared_ptr<View> m_view = std::make_shared<View>(Rect(0, 0, 10, 10));
    CompletionLog m_log;

    void SetUp() override {
        AnimationTest::SetUp();
        m_root->addSubview(m_view);
    }
    void TearDown() override {
        m_root.reset();
        m_view.reset();
        AnimationTest::TearDown();
    }
};

// Model and presentation.

TEST_F(ViewAnimationTest, GettersReturnTheNewValueAtOnceWhileThePresentationFollowsTheClock) {
    animateLinear(1.0, [&] {
        m_view->setFrame(Rect(100, 50, 20, 20));
        m_view->setAlpha(0.0);
    });
    EXPECT_EQ(m_view->frame(), Rect(100, 50, 20, 20));
    EXPECT_EQ(m_view->alpha(), 0.0);
    expectRectNear(m_view->presentationFrame(), Rect(0, 0, 10, 10), frameTolerance);
    EXPECT_NEAR(m_view->presentationAlpha(), 1.0, frameTolerance);

    advanceTo(0.5);
    // The centre goes from (5, 5) to (110, 60), the size from 10 to 20.
    expectRectNear(m_view->presentationFrame(), Rect(50, 25, 15, 15), frameTolerance);
    EXPECT_NEAR(m_view->presentationCenter().x(), 57.5, frameTolerance);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.5, frameTolerance);
    EXPECT_EQ(m_view->frame(), Rect(100, 50, 20, 20));
    EXPECT_TRUE(Animator::hasRunningAnimations());

    advanceTo(1.0);
    EXPECT_EQ(m_view->presentationFrame(), Rect(100, 50, 20, 20));
    EXPECT_EQ(m_view->presentationAlpha(), 0.0);
    EXPECT_FALSE(m_view->layer().hasAnimations());
    EXPECT_FALSE(Animator::hasRunningAnimations());
    // Nothing is left ticking.
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

TEST_F(ViewAnimationTest, EveryCurvePacesTheChangeAlongItsBezier) {
    struct Case {
        AnimationCurve curve;
        double x1, y1, x2, y2;
    };
    const Case cases[] = {{AnimationCurve::easeInOut, 0.42, 0, 0.58, 1},
                          {AnimationCurve::easeIn, 0.42, 0, 1, 1},
                          {AnimationCurve::easeOut, 0, 0, 0.58, 1},
                          {AnimationCurve::linear, 0, 0, 1, 1}};
    for (const Case& c : cases) {
        const double start = elapsed();
        m_view->setCenter(Point(0, 0));
        View::animate(2.0, 0.0, c.curve, {}, [&] { m_view->setCenter(Point(200, -100)); });
        for (const double at : {0.1, 0.5, 0.8, 1.0, 1.3, 1.9}) {
            advanceTo(start + at);
            const double expected = bezierByBisection(c.x1, c.y1, c.x2, c.y2, at / 2.0);
            EXPECT_NEAR(m_view->presentationCenter().x(), 200 * expected, 1e-4)
                << "curve " << static_cast<int>(c.curve) << " at " << at;
            EXPECT_NEAR(m_view->presentationCenter().y(), -100 * expected, 1e-4);
        }
        advanceTo(start + 2.0);
        EXPECT_EQ(m_view->presentationCenter(), Point(200, -100));
    }
}

TEST_F(ViewAnimationTest, TheOverloadWithoutCurveEasesInAndOut) {
    View::animate(1.0, [&] { m_view->setAlpha(0.0); });
    advanceTo(0.3);
    EXPECT_NEAR(m_view->presentationAlpha(), 1.0 - bezierByBisection(0.42, 0, 0.58, 1, 0.3), 1e-6);
    advanceTo(1.0);
}

TEST_F(ViewAnimationTest, ADelayedAnimationShowsTheOldValueUntilItStarts) {
    View::animate(
        1.0, 0.5, AnimationCurve::linear, {}, [&] { m_view->setAlpha(0.0); }, m_log.entry("fade"));
    EXPECT_EQ(m_view->alpha(), 0.0);
    advanceTo(0.4);
    EXPECT_NEAR(m_view->presentationAlpha(), 1.0, frameTolerance);
    advanceTo(1.0);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.5, frameTolerance);
    advanceTo(1.49);
    EXPECT_EQ(m_log.joined(), "");
    advanceTo(1.5);
    EXPECT_EQ(m_log.joined(), "fade:true");
    EXPECT_EQ(m_view->presentationAlpha(), 0.0);
}

TEST_F(ViewAnimationTest, TransformsAndBackgroundColoursAnimate) {
    m_view->setFrame(Rect(0, 0, 100, 100));
    animateLinear(1.0, [&] {
        m_view->setTransform(AffineTransform::scaling(1.3, 1.3));
        m_view->setBackgroundColor(Color(1, 0, 0));
    });
    advanceTo(0.5);
    EXPECT_NEAR(m_view->presentationTransform().a(), 1.15, frameTolerance);
    EXPECT_NEAR(m_view->presentationTransform().d(), 1.15, frameTolerance);
    // The frame grows around the unmoved centre.
    expectRectNear(m_view->presentationFrame(), Rect(-7.5, -7.5, 115, 115), frameTolerance);
    // From no colour, only the opacity of the new colour changes.
    const std::optional<Color> colour = m_view->presentationBackgroundColor();
    ASSERT_TRUE(colour.has_value());
    EXPECT_NEAR(colour->red(), 1.0, frameTolerance);
    EXPECT_NEAR(colour->alpha(), 0.5, frameTolerance);
    advanceTo(1.0);
    EXPECT_EQ(m_view->presentationBackgroundColor(), Color(1, 0, 0));

    animateLinear(1.0, [&] { m_view->setBackgroundColor(std::nullopt); });
    advanceTo(1.25);
    EXPECT_NEAR(m_view->presentationBackgroundColor()->alpha(), 0.75, frameTolerance);
    EXPECT_NEAR(m_view->presentationBackgroundColor()->red(), 1.0, frameTolerance);
    advanceTo(2.0);
    EXPECT_EQ(m_view->presentationBackgroundColor(), std::nullopt);
}

// Completions.

TEST_F(ViewAnimationTest, CompletionsRunOnceInTheOrderTheAnimationsEnd) {
    auto other = std::make_shared<View>(Rect(0, 0, 10, 10));
    m_root->addSubview(other);
    animateLinear(
        0.3, [&] { m_view->setAlpha(0.5); }, m_log.entry("long"));
    animateLinear(
        0.2, [&] { other->setAlpha(0.5); }, m_log.entry("short"));
    animateLinear(
        0.2, [&] { other->setCenter(Point(50, 50)); }, m_log.entry("short-later"));
    advanceTo(0.19);
    EXPECT_EQ(m_log.joined(), "");
    advanceTo(0.2);
    EXPECT_EQ(m_log.joined(), "short:true short-later:true");
    advanceTo(5.0);
    EXPECT_EQ(m_log.joined(), "short:true short-later:true long:true");
}

TEST_F(ViewAnimationTest, ABlockCompletesWithItsLastAnimation) {
    auto other = std::make_shared<View>(Rect(0, 0, 10, 10));
    m_root->addSubview(other);
    animateLinear(
        0.4,
        [&] {
            m_view->setAlpha(0.5);
            other->setFrame(Rect(10, 10, 30, 30));
        },
        m_log.entry("both"));
    advanceTo(0.39);
    EXPECT_EQ(m_log.joined(), "");
    advanceTo(0.4);
    EXPECT_EQ(m_log.joined(), "both:true");
}

TEST_F(ViewAnimationTest, ABlockThatAnimatesNothingCompletesOnTheNextTurn) {
    animateLinear(
        0.3, [] {}, m_log.entry("empty"));
    // Setting a value it already has is no change either.
    animateLinear(
        0.3, [&] { m_view->setAlpha(1.0); }, m_log.entry("same"));
    EXPECT_EQ(m_log.joined(), "");
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "empty:true same:true");
    EXPECT_FALSE(Animator::hasRunningAnimations());
}

TEST_F(ViewAnimationTest, ZeroDurationAppliesAtOnceAndCompletesOnTheNextTurn) {
    animateLinear(
        1.0, [&] { m_view->setAlpha(0.0); }, m_log.entry("fade"));
    advanceTo(0.5);
    animateLinear(
        0.0, [&] { m_view->setAlpha(0.8); }, m_log.entry("instant"));
    EXPECT_EQ(m_view->alpha(), 0.8);
    EXPECT_EQ(m_view->presentationAlpha(), 0.8);
    EXPECT_FALSE(m_view->layer().hasAnimations());
    EXPECT_EQ(m_log.joined(), "");
    m_loop->runPostedTasks();
    // The fade lost its property to the instant change.
    EXPECT_EQ(m_log.joined(), "fade:false instant:true");
}

TEST_F(ViewAnimationTest, ZeroDurationWithADelayWaitsForTheDelay) {
    View::animate(
        0.0, 0.3, AnimationCurve::linear, {}, [&] { m_view->setAlpha(0.0); }, m_log.entry("later"));
    advanceTo(0.2);
    EXPECT_EQ(m_view->presentationAlpha(), 1.0);
    advanceTo(0.3);
    EXPECT_EQ(m_view->presentationAlpha(), 0.0);
    EXPECT_EQ(m_log.joined(), "later:true");
}

// Interrupted animations.

TEST_F(ViewAnimationTest, ANewAnimationReplacesTheRunningOneWhichJumpsToItsTarget) {
    animateLinear(
        1.0, [&] { m_view->setAlpha(0.0); }, m_log.entry("out"));
    advanceTo(0.5);
    animateLinear(
        1.0, [&] { m_view->setAlpha(1.0); }, m_log.entry("in"));
    // Without beginning from the current state, the new animation starts from the model value.
    EXPECT_NEAR(m_view->presentationAlpha(), 0.0, frameTolerance);
    // The replaced animation completes on the next turn, not inside the new block.
    EXPECT_EQ(m_log.joined(), "");
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "out:false");
    advanceTo(1.0);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.5, frameTolerance);
    advanceTo(1.5);
    EXPECT_EQ(m_log.joined(), "out:false in:true");
}

TEST_F(ViewAnimationTest, BeginningFromTheCurrentStateContinuesFromWhatIsShown) {
    animateLinear(
        1.0, [&] { m_view->setCenter(Point(105, 5)); }, m_log.entry("right"));
    advanceTo(0.4);
    animateLinear(
        1.0, [&] { m_view->setCenter(Point(5, 5)); }, m_log.entry("back"),
        AnimationOption::beginFromCurrentState);
    EXPECT_NEAR(m_view->presentationCenter().x(), 45.0, frameTolerance);
    advanceTo(0.9);
    EXPECT_NEAR(m_view->presentationCenter().x(), 25.0, frameTolerance);
    advanceTo(1.4);
    EXPECT_EQ(m_view->presentationCenter(), Point(5, 5));
    EXPECT_EQ(m_log.joined(), "right:false back:true");
}

TEST_F(ViewAnimationTest, BeginningFromTheCurrentStateWithNothingRunningStartsFromTheOldValue) {
    animateLinear(
        1.0, [&] { m_view->setAlpha(0.0); }, {}, AnimationOption::beginFromCurrentState);
    advanceTo(0.25);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.75, frameTolerance);
    advanceTo(1.0);
}

TEST_F(ViewAnimationTest, AChangeOutsideAnyBlockStopsOnlyTheAnimationOfThatProperty) {
    animateLinear(
        1.0,
        [&] {
            m_view->setAlpha(0.0);
            m_view->setCenter(Point(105, 5));
        },
        m_log.entry("both"));
    advanceTo(0.5);
    m_view->setAlpha(0.3);
    EXPECT_EQ(m_view->presentationAlpha(), 0.3);
    EXPECT_NEAR(m_view->presentationCenter().x(), 55.0, frameTolerance);
    m_loop->runPostedTasks();
    // The block still has its centre animation running.
    EXPECT_EQ(m_log.joined(), "");
    advanceTo(1.0);
    EXPECT_EQ(m_log.joined(), "both:false");
}

TEST_F(ViewAnimationTest, RemovingAllAnimationsShowsTheModelAndCompletesWithFalse) {
    animateLinear(
        1.0, [&] { m_view->setAlpha(0.0); }, m_log.entry("fade"));
    m_view->layer().addAnimation(QStringLiteral("phase"), QStringLiteral("phase"), 0, 10, 1.0);
    advanceTo(0.5);
    m_view->removeAllAnimations();
    EXPECT_EQ(m_view->presentationAlpha(), 0.0);
    EXPECT_FALSE(m_view->layer().hasAnimations());
    EXPECT_FALSE(Animator::hasRunningAnimations());
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "fade:false");
}

TEST_F(ViewAnimationTest, ADestroyedViewsAnimationsCompleteWithFalse) {
    auto doomed = std::make_shared<View>(Rect(0, 0, 10, 10));
    animateLinear(
        1.0, [&] { doomed->setAlpha(0.0); }, m_log.entry("doomed"));
    advanceTo(0.5);
    doomed.reset();
    EXPECT_FALSE(Animator::hasRunningAnimations());
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "doomed:false");
}

TEST_F(ViewAnimationTest, ViewsMadeInsideABlockAppearAtTheirValues) {
    std::shared_ptr<View> made;
    animateLinear(
        1.0,
        [&] {
            made = std::make_shared<View>(Rect(10, 10, 20, 20));
            made->setAlpha(0.5);
        },
        m_log.entry("made"));
    EXPECT_EQ(made->presentationFrame(), Rect(10, 10, 20, 20));
    EXPECT_EQ(made->presentationAlpha(), 0.5);
    made.reset();
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "made:true");
}

// Nesting.

TEST_F(ViewAnimationTest, NestedBlocksAnimateTheirOwnChangesWithTheirOwnParameters) {
    animateLinear(
        1.0,
        [&] {
            m_view->setAlpha(0.0);
            View::animate(
                0.5, 0.0, AnimationCurve::linear, {}, [&] { m_view->setCenter(Point(55, 5)); },
                m_log.entry("inner"));
        },
        m_log.entry("outer"));
    advanceTo(0.25);
    EXPECT_NEAR(m_view->presentationCenter().x(), 30.0, frameTolerance);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.75, frameTolerance);
    advanceTo(0.5);
    EXPECT_EQ(m_log.joined(), "inner:true");
    advanceTo(1.0);
    EXPECT_EQ(m_log.joined(), "inner:true outer:true");
}

TEST_F(ViewAnimationTest, ChangesWithoutAnimationInsideABlockApplyAtOnce) {
    animateLinear(
        1.0,
        [&] {
            m_view->setAlpha(0.0);
            View::performWithoutAnimation([&] {
                m_view->setCenter(Point(50, 50));
                View::animate(
                    1.0, [&] { m_view->setTransform(AffineTransform::scaling(2, 2)); }, m_log.entry("off"));
            });
        },
        m_log.entry("fade"));
    EXPECT_EQ(m_view->presentationCenter(), Point(50, 50));
    EXPECT_EQ(m_view->presentationTransform(), AffineTransform::scaling(2, 2));
    EXPECT_NEAR(m_view->presentationAlpha(), 1.0, frameTolerance);
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "off:true");
    advanceTo(1.0);
}

TEST_F(ViewAnimationTest, SeveralChangesOfOnePropertyInABlockAnimateFromTheFirstOldValue) {
    animateLinear(1.0, [&] {
        m_view->setFrameX(100);
        m_view->setFrameWidth(30);
        m_view->moveFrameY(40);
    });
    advanceTo(0.5);
    expectRectNear(m_view->presentationFrame(), Rect(50, 20, 20, 10), frameTolerance);
    advanceTo(1.0);
}

TEST_F(ViewAnimationTest, TheLayoutOptionAnimatesTheFramesSetByLayout) {
    class Padded : public View {
    public:
        using View::View;
        std::shared_ptr<View> m_content = std::make_shared<View>();

    protected:
        void layoutSubviews() override { m_content->setFrame(bounds().inset(10, 10)); }
    };
    for (const bool withOption : {false, true}) {
        const double start = elapsed();
        auto padded = std::make_shared<Padded>(Rect(0, 0, 100, 100));
        padded->addSubview(padded->m_content);
        padded->layoutIfNeeded();
        View::animate(1.0, 0.0, AnimationCurve::linear,
                      withOption ? AnimationOptions(AnimationOption::layoutSubviews) : AnimationOptions(),
                      [&] { padded->setFrame(Rect(0, 0, 200, 100)); });
        padded->layoutIfNeeded();
        advanceTo(start + 0.5);
        // The content goes from 80 to 180 wide with its parent, or jumps without the option.
        EXPECT_NEAR(padded->m_content->presentationFrame().width(), withOption ? 130.0 : 180.0, frameTolerance);
        advanceTo(start + 1.0);
    }
}

// Repetition.

TEST_F(ViewAnimationTest, RepeatingAndReversingPulsesWithoutEnd) {
    animateLinear(
        0.3, [&] { m_view->setAlpha(0.6); }, m_log.entry("pulse"),
        AnimationOption::repeat | AnimationOption::autoreverse | AnimationOption::allowUserInteraction);
    EXPECT_EQ(m_view->alpha(), 0.6);
    advanceTo(0.15);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.8, frameTolerance);
    advanceTo(0.3);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.6, frameTolerance);
    advanceTo(0.45);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.8, frameTolerance);
    advanceTo(60.075);
    EXPECT_NEAR(m_view->presentationAlpha(), 0.9, 1e-5);
    EXPECT_TRUE(Animator::hasRunningAnimations());
    EXPECT_FALSE(Animator::hasEndingAnimations());
    Animator::finishAll();
    EXPECT_TRUE(m_view->layer().hasAnimations());
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "");
    m_view->removeAllAnimations();
    m_loop->runPostedTasks();
    EXPECT_EQ(m_log.joined(), "pulse:false");
    EXPECT_EQ(m_view->presentationAlpha(), 0.6);
}

TEST_F(ViewAnimationTest, ReversingWithoutRepeatGoesThereAndBackOnceThenShowsTheNewValue) {
    animateLinear(
        0.5, [&] { m_view->setCenter(Point(105, 5)); }, m_log.entry("there-and-back"),
        AnimationOption::autoreverse);
    advanceTo(0.5);
    EXPECT_NEAR(m_view->presentationCenter().x(), 105.0, frameTolerance);
    advanceTo(0.75);
    EXPECT_NEAR(m_view->presentationCenter().x(), 55.0, frameTolerance);
    advanceTo(0.99);
    EXPECT_EQ(m_log.joined(), "");
    advanceTo(1.0);
    EXPECT_EQ(m_log.joined(), "there-and-back:true");
    EXPECT_EQ(m_view->presentationCenter(), Point(105, 5));
}

// Touches.

TEST_F(ViewAnimationTest, AnAnimatedViewTakesNoTouchesUnlessTheBlockAllowsThem) {
    m_view->setTag(7);
    auto child = std::make_shared<View>(Rect(0, 0, 5, 5));
    child->setTag(8);
    m_view->addSubview(child);
    animateLinear(0.3, [&] { m_view->setAlpha(0.5); });
    EXPECT_TRUE(m_view->isInteractionBlockedByAnimation());
    EXPECT_FALSE(child->isInteractionBlockedByAnimation());
    EXPECT_EQ(m_root->hitTest(Point(2, 2)), m_root);
    EXPECT_EQ(m_root->hitTest(Point(7, 7)), m_root);
    advanceTo(0.3);
    EXPECT_FALSE(m_view->isInteractionBlockedByAnimation());
    EXPECT_EQ(m_root->hitTest(Point(2, 2)), child);

    animateLinear(
        0.3, [&] { m_view->setAlpha(1.0); }, {}, AnimationOption::allowUserInteraction);
    EXPECT_FALSE(m_view->isInteractionBlockedByAnimation());
    EXPECT_EQ(m_root->hitTest(Point(7, 7)), m_view);
    // Explicit layer animations never block.
    m_view->layer().addAnimation(QStringLiteral("phase"), QStringLiteral("phase"), 0, 1, 1.0);
    EXPECT_FALSE(m_view->isInteractionBlockedByAnimation());
    advanceTo(1.3);
}

TEST_F(ViewAnimationTest, HitTestingUsesTheModelGeometry) {
    animateLinear(
        1.0, [&] { m_view->setFrame(Rect(100, 100, 10, 10)); }, {}, AnimationOption::allowUserInteraction);
    advanceTo(0.1);
    EXPECT_EQ(m_root->hitTest(Point(105, 105)), m_view);
    EXPECT_EQ(m_root->hitTest(Point(12, 12)), m_root);
    advanceTo(1.0);
}

// Frames and the clock.

TEST_F(ViewAnimationTest, EveryFrameMarksTheRootForDisplayWhileSomethingAnimates) {
    int frames = 0;
    Animator::setOnFrame([&] { ++frames; });
    (void)m_root->renderToImage();
    EXPECT_FALSE(m_root->subtreeNeedsDisplay());
    animateLinear(0.5, [&] { m_view->setAlpha(0.0); });
    (void)m_root->renderToImage();
    m_loop->advance(Animator::frameInterval);
    EXPECT_TRUE(m_root->subtreeNeedsDisplay());
    EXPECT_EQ(frames, 1);
    (void)m_root->renderToImage();
    m_loop->advance(Animator::frameInterval / 2);
    EXPECT_FALSE(m_root->subtreeNeedsDisplay());
    advanceTo(0.5);
    // About 60 frames a second, the last one exactly at the end.
    EXPECT_NEAR(frames, 30, 1);
    const int framesAtTheEnd = frames;
    (void)m_root->renderToImage();
    advanceTo(2.0);
    EXPECT_FALSE(m_root->subtreeNeedsDisplay());
    EXPECT_EQ(frames, framesAtTheEnd);
}

TEST_F(ViewAnimationTest, FinishingAllRunsEveryCompletionNowAndThoseItStarts) {
    animateLinear(
        10.0, [&] { m_view->setAlpha(0.5); },
        [&](bool finished) {
            m_log.entry("first")(finished);
            View::animate(
                0.15, 0.3, AnimationCurve::easeOut, {}, [&] { m_view->setAlpha(0.0); },
                m_log.entry("second"));
        });
    View::animate(
        1.0, 5.0, AnimationCurve::linear, {}, [&] { m_view->setCenter(Point(0, 0)); },
        m_log.entry("delayed"));
    EXPECT_TRUE(Animator::hasEndingAnimations());
    Animator::finishAll();
    EXPECT_EQ(m_log.joined(), "delayed:true first:true second:true");
    EXPECT_FALSE(Animator::hasRunningAnimations());
    EXPECT_EQ(m_view->presentationAlpha(), 0.0);
    EXPECT_EQ(elapsed(), 0.0);
}

} // namespace

namespace {

// Each test installs a main loop of its own; an animation left running by one must not keep the
// next one's animations from being driven by the new loop.
TEST(AnimatorMainLoopTest, AnimationsRunOnANewMainLoopAfterTheOldOneWasReplaced) {
    auto leftBehind = std::make_shared<View>(Rect(0, 0, 10, 10));
    RunLoop::setMain(std::make_shared<ManualRunLoop>());
    View::animate(10.0, [&] { leftBehind->setAlpha(0.0); });
    auto second = std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(5000.0));
    RunLoop::setMain(second);

    auto view = std::make_shared<View>(Rect(0, 0, 10, 10));
    bool finished = false;
    View::animate(
        0.5, [&] { view->setAlpha(0.5); }, [&](bool done) { finished = done; });
    second->advance(0.25);
    EXPECT_GT(view->presentationAlpha(), 0.5);
    EXPECT_LT(view->presentationAlpha(), 1.0);
    second->advance(0.3);
    EXPECT_TRUE(finished);
    EXPECT_EQ(view->presentationAlpha(), 0.5);

    leftBehind.reset();
    view.reset();
    second->runUntilIdle();
    RunLoop::setMain(nullptr);
}

} // namespace
