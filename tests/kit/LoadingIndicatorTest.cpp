#include "kit/LoadingIndicator.h"
#include "testing/ManualRunLoop.h"
#include "kit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class LoadingIndicatorTest : public testing::Test {
protected:
    void SetUp() override { RunLoop::setMain(m_loop); }
    void TearDown() override { RunLoop::setMain(nullptr); }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
};

} // namespace

TEST_F(LoadingIndicatorTest, StylesHaveTheirSizes) {
    EXPECT_EQ(LoadingIndicator(LoadingIndicator::Style::WhiteLarge).frame().size(), Size(37, 37));
    EXPECT_EQ(LoadingIndicator(LoadingIndicator::Style::Gray).frame().size(), Size(20, 20));
    LoadingIndicator indicator(LoadingIndicator::Style::White);
    indicator.setCenter(Point(160, 257));
    indicator.setStyle(LoadingIndicator::Style::WhiteLarge);
    EXPECT_EQ(indicator.frame(), Rect(160 - 18.5, 257 - 18.5, 37, 37));
}

TEST_F(LoadingIndicatorTest, StepsTwelveTimesASecondWhileAnimating) {
    auto indicator = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::WhiteLarge);
    EXPECT_TRUE(indicator->hidden());
    indicator->startAnimating();
    EXPECT_TRUE(indicator->isAnimating());
    EXPECT_FALSE(indicator->hidden());
    EXPECT_EQ(indicator->step(), 0);
    m_loop->advance(0.5);
    EXPECT_EQ(indicator->step(), 6);
    m_loop->advance(1.0);
    EXPECT_EQ(indicator->step(), 6);
    // Starting again changes nothing.
    indicator->startAnimating();
    EXPECT_EQ(m_loop->pendingTimerCount(), 1);
    indicator->stopAnimating();
    EXPECT_FALSE(indicator->isAnimating());
    EXPECT_TRUE(indicator->hidden());
    m_loop->advance(1.0);
    EXPECT_EQ(indicator->step(), 6);
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
}

TEST_F(LoadingIndicatorTest, StaysVisibleWhenToldAndGoesAwayWhileSpinning) {
    auto indicator = std::make_shared<LoadingIndicator>();
    indicator->setHidesWhenStopped(false);
    indicator->startAnimating();
    indicator->stopAnimating();
    EXPECT_FALSE(indicator->hidden());
    indicator->startAnimating();
    std::weak_ptr<LoadingIndicator> weak = indicator;
    indicator.reset();
    EXPECT_TRUE(weak.expired());
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
    m_loop->advance(1.0);
}

TEST_F(LoadingIndicatorTest, TheBrightestSpokeMovesClockwise) {
    auto indicator = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::WhiteLarge);
    indicator->startAnimating();
    const auto brightness = [&](Point point) {
        return ViewRenderer::render(*indicator).colorAtPoint(point).alpha();
    };
    // Spoke 0 points up, spoke 3 to the right.
    const Point up(18.5, 5);
    const Point right(32, 18.5);
    EXPECT_GT(brightness(up), 0.9);
    EXPECT_LT(brightness(right), 0.8);
    m_loop->advance(3.0 / 12.0);
    EXPECT_EQ(indicator->step(), 3);
    EXPECT_GT(brightness(right), 0.9);
    EXPECT_LT(brightness(up), 0.8);
}
