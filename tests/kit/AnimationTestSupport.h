#pragma once

#include "testing/ManualRunLoop.h"
#include "kit/Animator.h"

#include <gtest/gtest.h>

#include <memory>

// Runs each test on a manual clock set to a present-day time, so that animation times are
// computed from large clock values as in the application.
class AnimationTest : public testing::Test {
protected:
    void SetUp() override { RunLoop::setMain(m_loop); }

    void TearDown() override {
        m_loop->runPostedTasks();
        EXPECT_FALSE(Animator::hasRunningAnimations());
        Animator::setOnFrame({});
        RunLoop::setMain(nullptr);
    }

    // Moves the clock to `seconds` after the start of the test.
    void advanceTo(double seconds) { m_loop->advance(seconds - elapsed()); }
    double elapsed() const { return m_loop->now().timeIntervalSinceDate(m_start); }

    const Date m_start = Date::withTimeIntervalSince1970(1'700'000'000.0);
    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>(m_start);
};

// The y of a cubic Bézier timing curve (end points (0, 0) and (1, 1)) where its x is `x`,
// solved by bisection on the Bernstein form, independently of TimingFunction.
inline double bezierByBisection(double x1, double y1, double x2, double y2, double x) {
    const auto bernstein = [](double p1, double p2, double t) {
        const double u = 1.0 - t;
        return 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t;
    };
    double low = 0.0;
    double high = 1.0;
    for (int step = 0; step < 200; ++step) {
        const double middle = (low + high) / 2.0;
        if (bernstein(x1, x2, middle) < x) {
            low = middle;
        } else {
            high = middle;
        }
    }
    return bernstein(y1, y2, (low + high) / 2.0);
}
