#include "AnimationTestSupport.h"

#include "kit/TimingFunction.h"

#include <gtest/gtest.h>

namespace {

struct NamedCurve {
    AnimationCurve curve;
    double x1, y1, x2, y2;
};

const NamedCurve namedCurves[] = {
    {AnimationCurve::easeInOut, 0.42, 0.0, 0.58, 1.0},
    {AnimationCurve::easeIn, 0.42, 0.0, 1.0, 1.0},
    {AnimationCurve::easeOut, 0.0, 0.0, 0.58, 1.0},
    {AnimationCurve::linear, 0.0, 0.0, 1.0, 1.0},
};

TEST(TimingFunctionTest, NamedCurvesHaveThePlatformsControlPoints) {
    for (const NamedCurve& named : namedCurves) {
        EXPECT_EQ(TimingFunction::forCurve(named.curve),
                  TimingFunction(named.x1, named.y1, named.x2, named.y2));
    }
}

TEST(TimingFunctionTest, ValuesMatchAnIndependentSolveOfTheCurve) {
    for (const NamedCurve& named : namedCurves) {
        const TimingFunction function = TimingFunction::forCurve(named.curve);
        for (int step = 0; step <= 100; ++step) {
            const double x = step / 100.0;
            EXPECT_NEAR(function.valueAt(x), bezierByBisection(named.x1, named.y1, named.x2, named.y2, x),
                        1e-7)
                << "curve " << static_cast<int>(named.curve) << " at " << x;
        }
    }
}

TEST(TimingFunctionTest, CurvesStartAtZeroEndAtOneAndClampOutside) {
    for (const NamedCurve& named : namedCurves) {
        const TimingFunction function = TimingFunction::forCurve(named.curve);
        EXPECT_NEAR(function.valueAt(0.0), 0.0, 1e-9);
        EXPECT_NEAR(function.valueAt(1.0), 1.0, 1e-9);
        EXPECT_NEAR(function.valueAt(-0.5), 0.0, 1e-9);
        EXPECT_NEAR(function.valueAt(1.5), 1.0, 1e-9);
    }
}

TEST(TimingFunctionTest, EaseInAndEaseOutMirrorEachOtherAndEaseInOutIsSymmetric) {
    const TimingFunction easeIn = TimingFunction::forCurve(AnimationCurve::easeIn);
    const TimingFunction easeOut = TimingFunction::forCurve(AnimationCurve::easeOut);
    const TimingFunction easeInOut = TimingFunction::forCurve(AnimationCurve::easeInOut);
    for (double x = 0.05; x < 1.0; x += 0.05) {
        EXPECT_NEAR(easeIn.valueAt(x), 1.0 - easeOut.valueAt(1.0 - x), 1e-7) << x;
        EXPECT_NEAR(easeInOut.valueAt(x), 1.0 - easeInOut.valueAt(1.0 - x), 1e-7) << x;
        // Slow start, fast start.
        EXPECT_LT(easeIn.valueAt(x), x);
        EXPECT_GT(easeOut.valueAt(x), x);
    }
    EXPECT_NEAR(easeInOut.valueAt(0.5), 0.5, 1e-9);
}

TEST(TimingFunctionTest, SteepAndFlatCustomCurvesAreSolved) {
    // Flat stretches at both ends make Newton's method stall; the result must still be exact.
    const TimingFunction flat(0.9, 0.0, 0.1, 1.0);
    const TimingFunction steep(0.0, 0.9, 1.0, 0.1);
    for (int step = 0; step <= 50; ++step) {
        const double x = step / 50.0;
        EXPECT_NEAR(flat.valueAt(x), bezierByBisection(0.9, 0.0, 0.1, 1.0, x), 1e-7) << x;
        EXPECT_NEAR(steep.valueAt(x), bezierByBisection(0.0, 0.9, 1.0, 0.1, x), 1e-7) << x;
    }
}

} // namespace
