#include "kit/Switch.h"
#include "TouchTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SwitchTest : public TouchFixture, public testing::Test {
protected:
    void SetUp() override {
        root->addSubview(m_switch);
        m_switch->onValueChanged = [this] { m_log.append(m_switch->on() ? "on" : "off"); };
    }

    void tap(Point p) {
        down(1, p);
        advance(0.05);
        up(1, p);
    }

    // The switch lies at (100, 200)–(194, 227) of the window.
    std::shared_ptr<Switch> m_switch = std::make_shared<Switch>(Rect(100, 200, 30, 30));
};

} // namespace

TEST_F(SwitchTest, HasTheFixedSizeAndStartsOff) {
    EXPECT_EQ(m_switch->frame(), Rect(100, 200, 94, 27));
    EXPECT_FALSE(m_switch->on());
    EXPECT_EQ(m_switch->knobPosition(), 0.0);
    m_switch->sizeToFit();
    EXPECT_EQ(m_switch->frame().size(), Size(94, 27));
}

TEST_F(SwitchTest, ATapTogglesAndReportsEachTime) {
    tap(Point(120, 210));
    EXPECT_TRUE(m_switch->on());
    EXPECT_EQ(log(), "on");
    // The knob slides over 0.2 seconds.
    EXPECT_EQ(m_switch->knobPosition(), 1.0);
    EXPECT_LT(m_switch->presentedKnobPosition(), 0.1);
    advance(0.1);
    EXPECT_GT(m_switch->presentedKnobPosition(), 0.2);
    EXPECT_LT(m_switch->presentedKnobPosition(), 0.8);
    advance(0.15);
    EXPECT_DOUBLE_EQ(m_switch->presentedKnobPosition(), 1.0);

    tap(Point(180, 215));
    EXPECT_FALSE(m_switch->on());
    EXPECT_EQ(log(), "on off");
}

TEST_F(SwitchTest, TheSetterNeverReports) {
    m_switch->setOn(true);
    EXPECT_TRUE(m_switch->on());
    EXPECT_EQ(m_switch->presentedKnobPosition(), 1.0);
    m_switch->setOn(false, true);
    EXPECT_FALSE(m_switch->on());
    EXPECT_GT(m_switch->presentedKnobPosition(), 0.9);
    advance(0.25);
    EXPECT_EQ(m_switch->presentedKnobPosition(), 0.0);
    EXPECT_EQ(log(), "");
}

TEST_F(SwitchTest, ADragDecidesByWhereTheKnobIsReleased) {
    // 67 points of travel: 40 points to the right carries the knob past the middle.
    down(1, Point(110, 210));
    drag(1, Point(110, 210), Point(150, 212), 4, 0.02);
    EXPECT_NEAR(m_switch->knobPosition(), 40.0 / 67.0, 1e-9);
    EXPECT_TRUE(m_switch->highlighted());
    up(1, Point(150, 212));
    EXPECT_TRUE(m_switch->on());
    EXPECT_FALSE(m_switch->highlighted());
    EXPECT_EQ(log(), "on");
    advance(0.3);
    EXPECT_EQ(m_switch->presentedKnobPosition(), 1.0);

    // Only 20 points back: the knob returns to the on side and nothing is reported.
    down(1, Point(180, 210));
    drag(1, Point(180, 210), Point(160, 210), 2, 0.02);
    up(1, Point(160, 210));
    EXPECT_TRUE(m_switch->on());
    EXPECT_EQ(log(), "on");
    advance(0.3);
    EXPECT_EQ(m_switch->presentedKnobPosition(), 1.0);

    // A drag past the end is held at the end and turns it off.
    down(1, Point(180, 210));
    drag(1, Point(180, 210), Point(20, 210), 4, 0.02);
    EXPECT_EQ(m_switch->knobPosition(), 0.0);
    up(1, Point(20, 210));
    EXPECT_FALSE(m_switch->on());
    EXPECT_EQ(log(), "on off");
}

TEST_F(SwitchTest, ATapLiftedFarAwayOrCancelledChangesNothing) {
    down(1, Point(120, 210));
    up(1, Point(120, 400));
    EXPECT_FALSE(m_switch->on());
    down(1, Point(120, 210));
    cancel(1);
    EXPECT_FALSE(m_switch->on());
    EXPECT_FALSE(m_switch->highlighted());
    EXPECT_EQ(log(), "");
}

TEST_F(SwitchTest, ADisabledSwitchPassesItsTouchesOn) {
    auto spy = std::make_shared<TouchSpyView>(Rect(0, 0, 320, 480), "below", m_log);
    root->insertSubview(spy, 0);
    spy->addSubview(m_switch);
    m_switch->setEnabled(false);
    tap(Point(120, 210));
    EXPECT_FALSE(m_switch->on());
    EXPECT_EQ(log(), "below:began below:ended");
}
