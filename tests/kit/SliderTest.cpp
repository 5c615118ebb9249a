#include "kit/Slider.h"
#include "TouchTestSupport.h"
#include "kit/DrawingTestSupport.h"
#include "kit/GraphicsContext.h"
#include "kit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the changes of the value, however they come.
class CountingSlider : public Slider {
public:
    using Slider::Slider;
    int changes = 0;

protected:
    void valueDidChange() override { ++changes; }
};

class SliderTest : public TouchFixture, public testing::Test {
protected:
    void SetUp() override {
        root->addSubview(m_slider);
        m_slider->setMaximumValue(100.0);
        m_slider->onValueChanged = [this] { m_log.append(QString::number(m_slider->value())); };
    }

    // 200 wide at x 10: the thumb (23 wide) travels 200 − 23 = 177 points.
    std::shared_ptr<CountingSlider> m_slider = std::make_shared<CountingSlider>(Rect(10, 100, 200, 23));
};

} // namespace

TEST_F(SliderTest, TheThumbFollowsTheValue) {
    const Rect track = m_slider->trackRectForBounds(m_slider->bounds());
    EXPECT_EQ(track, Rect(2, 7, 196, 9));
    EXPECT_EQ(m_slider->thumbRectForBounds(m_slider->bounds(), track, 0.0), Rect(0, 0, 23, 23));
    EXPECT_EQ(m_slider->thumbRectForBounds(m_slider->bounds(), track, 100.0), Rect(177, 0, 23, 23));
    EXPECT_EQ(m_slider->thumbRectForBounds(m_slider->bounds(), track, 50.0).midX(), 100.0);
}

TEST_F(SliderTest, DraggingTheThumbMovesTheValueByTheMovement) {
    down(1, Point(20, 110));
    EXPECT_TRUE(m_slider->isTracking());
    EXPECT_TRUE(m_slider->highlighted());
    drag(1, Point(20, 110), Point(20 + 88.5, 130), 3, 0.02);
    EXPECT_DOUBLE_EQ(m_slider->value(), 50.0);
    up(1, Point(108.5, 130));
    EXPECT_FALSE(m_slider->highlighted());
    // Continuous by default: one report per move.
    EXPECT_EQ(log(), "16.6667 33.3333 50");

    // The movement counts, not where the finger is: a second drag starts from 50.
    clearLog();
    down(1, Point(105, 112));
    move(1, Point(105 + 17.7, 112));
    EXPECT_DOUBLE_EQ(m_slider->value(), 60.0);
    up(1, Point(105 + 17.7, 112));
    EXPECT_EQ(log(), "60");
}

TEST_F(SliderTest, NotContinuousReportsOnceOnRelease) {
    m_slider->setContinuous(false);
    down(1, Point(20, 110));
    drag(1, Point(20, 110), Point(20 + 177, 110), 5, 0.02);
    EXPECT_DOUBLE_EQ(m_slider->value(), 100.0);
    EXPECT_EQ(log(), "");
    up(1, Point(197, 110));
    EXPECT_EQ(log(), "100");
    // A touch that moves nothing reports nothing.
    down(1, Point(195, 110));
    up(1, Point(195, 110));
    EXPECT_EQ(log(), "100");
}

TEST_F(SliderTest, ValuesAreClampedToTheRange) {
    m_slider->setValue(150.0);
    EXPECT_EQ(m_slider->value(), 100.0);
    m_slider->setValue(-3.0);
    EXPECT_EQ(m_slider->value(), 0.0);
    down(1, Point(20, 110));
    move(1, Point(400, 110));
    EXPECT_EQ(m_slider->value(), 100.0);
    move(1, Point(-300, 110));
    EXPECT_EQ(m_slider->value(), 0.0);
    up(1, Point(-300, 110));
    EXPECT_EQ(log(), "100 0");
    m_slider->setValue(40.0);
    m_slider->setMinimumValue(50.0);
    EXPECT_EQ(m_slider->value(), 50.0);
    m_slider->setMaximumValue(20.0);
    EXPECT_EQ(m_slider->minimumValue(), 20.0);
    EXPECT_EQ(m_slider->value(), 20.0);
}

TEST_F(SliderTest, OnlyATouchOnTheThumbMovesIt) {
    m_slider->setValue(0.0);
    down(1, Point(150, 110));
    move(1, Point(190, 110));
    up(1, Point(190, 110));
    EXPECT_EQ(m_slider->value(), 0.0);
    EXPECT_FALSE(m_slider->isTracking());
    m_slider->setEnabled(false);
    down(1, Point(20, 110));
    move(1, Point(90, 110));
    up(1, Point(90, 110));
    EXPECT_EQ(m_slider->value(), 0.0);
    EXPECT_EQ(log(), "");
}

TEST_F(SliderTest, SettersNeverReportButTheHookHearsEveryChange) {
    m_slider->setValue(30.0);
    m_slider->setValue(30.0);
    m_slider->setValue(70.0, true);
    EXPECT_EQ(m_slider->changes, 2);
    EXPECT_EQ(log(), "");
    // Animated, the thumb slides there.
    EXPECT_LT(m_slider->presentedValue(), 40.0);
    advance(0.25);
    EXPECT_DOUBLE_EQ(m_slider->presentedValue(), 70.0);
}

TEST_F(SliderTest, TrackImagesShowOnTheirSideOfTheThumb) {
    const Color green(0, 1, 0);
    m_slider->setMinimumTrackImage(filled(Size(10, 13), red));
    m_slider->setMaximumTrackImage(filled(Size(10, 13), green));
    m_slider->setThumbImage(filled(Size(11, 21), blue));
    m_slider->setThumbImage(filled(Size(11, 21), red), ControlState::Highlighted);
    EXPECT_EQ(m_slider->trackRectForBounds(m_slider->bounds()).height(), 13.0);
    m_slider->setValue(50.0);
    const Image image = ViewRenderer::render(*m_slider);
    EXPECT_EQ(image.colorAtPoint(Point(20, 11.5)), red);
    EXPECT_EQ(image.colorAtPoint(Point(180, 11.5)), green);
    EXPECT_EQ(image.colorAtPoint(Point(100, 3)), blue);
    // Outside the track's height nothing is drawn.
    EXPECT_EQ(image.colorAtPoint(Point(20, 2)).alpha(), 0.0);
    EXPECT_EQ(m_slider->currentThumbImage().size(), Size(11, 21));
    m_slider->setHighlighted(true);
    EXPECT_TRUE(
        m_slider->currentThumbImage().isSameImage(m_slider->thumbImageForState(ControlState::Highlighted)));
    EXPECT_TRUE(m_slider->currentMinimumTrackImage().isSameImage(
        m_slider->minimumTrackImageForState(ControlState::Normal)));
}
