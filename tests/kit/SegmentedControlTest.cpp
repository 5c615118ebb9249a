#include "kit/SegmentedControl.h"
#include "TouchTestSupport.h"
#include "kit/ViewRenderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SegmentedControlTest : public TouchFixture, public testing::Test {
protected:
    void SetUp() override {
        m_control->setFrame(Rect(10, 50, 300, 44));
        root->addSubview(m_control);
        m_control->onValueChanged = [this] {
            m_log.append(QString::number(m_control->selectedSegmentIndex()));
        };
    }

    void tap(Point p) {
        down(1, p);
        up(1, p);
    }

    // Segments of 100 points: 10–110, 110–210, 210–310.
    std::shared_ptr<SegmentedControl> m_control =
        std::make_shared<SegmentedControl>(QStringList{"Day", "Week", "Month"});
};

} // namespace

TEST_F(SegmentedControlTest, SegmentsShareTheWidth) {
    EXPECT_EQ(m_control->numberOfSegments(), 3);
    EXPECT_EQ(m_control->selectedSegmentIndex(), SegmentedControl::noSegment);
    EXPECT_EQ(m_control->rectForSegment(1), Rect(100, 0, 100, 44));
    EXPECT_EQ(m_control->segmentAtPoint(Point(299, 10)), 2);
    EXPECT_EQ(m_control->segmentAtPoint(Point(301, 10)), SegmentedControl::noSegment);
    EXPECT_EQ(m_control->titleForSegmentAtIndex(1), "Week");
}

TEST_F(SegmentedControlTest, ATapSelectsAndReportsOnlyChanges) {
    tap(Point(150, 70));
    EXPECT_EQ(m_control->selectedSegmentIndex(), 1);
    tap(Point(160, 60));
    tap(Point(20, 60));
    EXPECT_EQ(log(), "1 0");
    // Lifted over another segment: nothing.
    down(1, Point(250, 70));
    EXPECT_EQ(m_control->highlightedSegment(), 2);
    move(1, Point(150, 70));
    EXPECT_EQ(m_control->highlightedSegment(), SegmentedControl::noSegment);
    up(1, Point(150, 70));
    EXPECT_EQ(m_control->selectedSegmentIndex(), 0);
    EXPECT_EQ(log(), "1 0");
}

TEST_F(SegmentedControlTest, TheSetterNeverReports) {
    m_control->setSelectedSegmentIndex(2);
    EXPECT_EQ(m_control->selectedSegmentIndex(), 2);
    m_control->setSelectedSegmentIndex(7);
    EXPECT_EQ(m_control->selectedSegmentIndex(), SegmentedControl::noSegment);
    EXPECT_EQ(log(), "");
}

TEST_F(SegmentedControlTest, AMomentaryControlReportsEveryTap) {
    m_control->setMomentary(true);
    tap(Point(250, 70));
    tap(Point(250, 70));
    EXPECT_EQ(log(), "2 2");
    // It shows no segment selected at rest.
    const Image image = ViewRenderer::render(*m_control);
    EXPECT_GT(image.colorAtPoint(Point(205, 10)).red(), 0.8);
}

TEST_F(SegmentedControlTest, DisabledSegmentsTakeNoTaps) {
    m_control->setEnabled(false, 1);
    EXPECT_FALSE(m_control->isEnabledForSegmentAtIndex(1));
    tap(Point(150, 70));
    EXPECT_EQ(m_control->selectedSegmentIndex(), SegmentedControl::noSegment);
    m_control->setEnabled(false);
    tap(Point(50, 70));
    EXPECT_EQ(log(), "");
}

TEST_F(SegmentedControlTest, InsertingAndRemovingKeepTheSelection) {
    m_control->setSelectedSegmentIndex(1);
    m_control->insertSegmentWithTitle("Year", 0);
    EXPECT_EQ(m_control->selectedSegmentIndex(), 2);
    EXPECT_EQ(m_control->titleForSegmentAtIndex(0), "Year");
    m_control->removeSegment(0);
    EXPECT_EQ(m_control->selectedSegmentIndex(), 1);
    m_control->removeSegment(1);
    EXPECT_EQ(m_control->selectedSegmentIndex(), SegmentedControl::noSegment);
    EXPECT_EQ(m_control->numberOfSegments(), 2);
}

TEST_F(SegmentedControlTest, TheSelectedSegmentIsDrawnBlue) {
    m_control->setSelectedSegmentIndex(0);
    const Image image = ViewRenderer::render(*m_control);
    const Color selected = image.colorAtPoint(Point(15, 22));
    const Color other = image.colorAtPoint(Point(195, 22));
    EXPECT_GT(selected.blue(), selected.red() + 0.3);
    EXPECT_GT(other.red(), 0.8);
    m_control->setSegmentedControlStyle(SegmentedControl::Style::Bar);
    m_control->sizeToFit();
    EXPECT_EQ(m_control->frame().height(), SegmentedControl::barHeight);
}
