#include "kit/BasicAnimation.h"

#include <gtest/gtest.h>

#include <numbers>
#include <optional>

namespace {

double doubleAt(const BasicAnimation& animation, double elapsed) {
    const std::optional<AnimationValue> value = animation.valueAt(elapsed);
    EXPECT_TRUE(value.has_value()) << "nothing shown at " << elapsed;
    return value ? std::get<double>(*value) : -1.0;
}

BasicAnimation linear(double from, double to, double duration) {
    BasicAnimation animation(QStringLiteral("offset"), from, to, duration);
    animation.setCurve(AnimationCurve::linear);
    return animation;
}

TEST(BasicAnimationTest, RunsOnceFromStartToEndAndThenShowsNothing) {
    const BasicAnimation animation = linear(20, 0, 2.0);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 0.0), 20.0);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 0.5), 15.0);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 1.9), 1.0);
    EXPECT_FALSE(animation.valueAt(2.0).has_value());
    EXPECT_FALSE(animation.valueAt(5.0).has_value());
    EXPECT_FALSE(animation.isEndless());
    EXPECT_DOUBLE_EQ(animation.totalDuration(), 2.0);
}

TEST(BasicAnimationTest, TheDelayShowsTheModelOrWithBackwardFillTheStartValue) {
    BasicAnimation animation = linear(0, 1, 1.0);
    animation.setDelay(0.5);
    EXPECT_FALSE(animation.valueAt(0.25).has_value());
    EXPECT_DOUBLE_EQ(doubleAt(animation, 1.0), 0.5);
    EXPECT_DOUBLE_EQ(animation.totalDuration(), 1.5);
    EXPECT_FALSE(animation.valueAt(1.5).has_value());
    animation.setFillsBackwards(true);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 0.25), 0.0);
}

TEST(BasicAnimationTest, RepeatCountsIncludingFractionsAndEndlessRepeats) {
    BasicAnimation animation = linear(20, 0, 1.0);
    animation.setRepeatCount(2.5);
    EXPECT_DOUBLE_EQ(animation.totalDuration(), 2.5);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 1.25), 15.0);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 2.25), 15.0);
    EXPECT_FALSE(animation.valueAt(2.5).has_value());

    animation.setRepeatCount(BasicAnimation::repeatForever);
    EXPECT_TRUE(animation.isEndless());
    EXPECT_DOUBLE_EQ(doubleAt(animation, 1000.75), 5.0);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 1000.0), 20.0);
}

TEST(BasicAnimationTest, AutoreverseRunsThereAndBackAlongTheMirroredCurve) {
    BasicAnimation animation(QStringLiteral("opacity"), 1.0, 0.6, 0.3);
    animation.setCurve(AnimationCurve::easeIn);
    animation.setAutoreverses(true);
    EXPECT_DOUBLE_EQ(animation.totalDuration(), 0.6);
    const TimingFunction easeIn = TimingFunction::forCurve(AnimationCurve::easeIn);
    EXPECT_NEAR(doubleAt(animation, 0.1), 1.0 - 0.4 * easeIn.valueAt(1.0 / 3.0), 1e-12);
    EXPECT_NEAR(doubleAt(animation, 0.3), 0.6, 1e-12);
    // On the way back, 0.1 s before the end shows what 0.1 s after the start showed.
    EXPECT_NEAR(doubleAt(animation, 0.5), doubleAt(animation, 0.1), 1e-12);
    EXPECT_FALSE(animation.valueAt(0.6).has_value());
}

TEST(BasicAnimationTest, ZeroDurationShowsNothingAfterItsDelay) {
    BasicAnimation animation = linear(0, 1, 0.0);
    animation.setRepeatCount(BasicAnimation::repeatForever);
    EXPECT_FALSE(animation.isEndless());
    EXPECT_FALSE(animation.valueAt(0.0).has_value());
    animation.setDelay(0.2);
    animation.setFillsBackwards(true);
    EXPECT_DOUBLE_EQ(doubleAt(animation, 0.1), 0.0);
    EXPECT_FALSE(animation.valueAt(0.2).has_value());
}

void expectTransformNear(const AffineTransform& actual, const AffineTransform& expected) {
    EXPECT_NEAR(actual.a(), expected.a(), 1e-9);
    EXPECT_NEAR(actual.b(), expected.b(), 1e-9);
    EXPECT_NEAR(actual.c(), expected.c(), 1e-9);
    EXPECT_NEAR(actual.d(), expected.d(), 1e-9);
    EXPECT_NEAR(actual.tx(), expected.tx(), 1e-9);
    EXPECT_NEAR(actual.ty(), expected.ty(), 1e-9);
}

TEST(BasicAnimationTest, InterpolatesEveryKindOfValueComponentByComponent) {
    EXPECT_EQ(BasicAnimation::interpolate(Point(0, 10), Point(10, 30), 0.25), AnimationValue(Point(2.5, 15)));
    EXPECT_EQ(BasicAnimation::interpolate(Rect(0, 0, 10, 20), Rect(10, 10, 30, 40), 0.5),
              AnimationValue(Rect(5, 5, 20, 30)));
    EXPECT_EQ(
        BasicAnimation::interpolate(AffineTransform::identity(), AffineTransform(2, 0, 0, 3, 10, -10), 0.5),
        AnimationValue(AffineTransform(1.5, 0, 0, 2, 5, -5)));
    EXPECT_EQ(BasicAnimation::interpolate(Color(1, 0, 0, 0), Color(0, 0, 1, 1), 0.5),
              AnimationValue(Color(0.5, 0, 0.5, 0.5)));
    // Turning a quarter passes through an eighth at the middle, the shorter way round, with the
    // scale and the translation mixed on the way.
    const AffineTransform quarter =
        AffineTransform::rotation(std::numbers::pi / 2)
            .concat(AffineTransform::scaling(3, 3).concat(AffineTransform::translation(20, 0)));
    const AffineTransform middle =
        std::get<AffineTransform>(BasicAnimation::interpolate(AffineTransform::identity(), quarter, 0.5));
    const AffineTransform expected =
        AffineTransform::rotation(std::numbers::pi / 4)
            .concat(AffineTransform::scaling(2, 2).concat(AffineTransform::translation(10, 0)));
    expectTransformNear(middle, expected);
    const AffineTransform nearlyAround = AffineTransform::rotation(-3.0);
    expectTransformNear(std::get<AffineTransform>(
                            BasicAnimation::interpolate(AffineTransform::rotation(3.0), nearlyAround, 0.5)),
                        AffineTransform::rotation(std::numbers::pi));
    // A flattening transform has no rotation to follow; its entries are mixed.
    EXPECT_EQ(
        BasicAnimation::interpolate(AffineTransform::scaling(0, 1), AffineTransform::scaling(2, 1), 0.5),
        AnimationValue(AffineTransform::scaling(1, 1)));
    // Mismatched kinds cannot be mixed; the end value wins.
    EXPECT_EQ(BasicAnimation::interpolate(1.0, Point(1, 1), 0.5), AnimationValue(Point(1, 1)));
}

} // namespace
