#include "ui/editing/CalendarPickerView.h"

#include "core/eventstore/EKCalendar.h"
#include "kit/AlertTestSupport.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/LongPressGestureRecognizer.h"
#include "kit/ScrollView.h"
#include "kit/StringDrawing.h"
#include "ui/editing/BalloonView.h"
#include "ui/editing/CalendarOptionView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

const Color pickerCalendarColors[] = {
    Color::fromRgb255(44, 107, 214), Color::fromRgb255(222, 60, 48),  Color::fromRgb255(61, 170, 72),
    Color::fromRgb255(240, 150, 30), Color::fromRgb255(140, 70, 190), Color::fromRgb255(30, 160, 170),
};

// The strip as the editor places it, over a plain page, in a key window on the manual clock.
class CalendarPickerTest : public KeyWindowTest {
protected:
    void SetUp() override {
        KeyWindowTest::SetUp();
        m_root->setBackgroundColor(Color::fromRgb255(203, 210, 217));
        m_picker->setOnCalendarPicked([this] { ++m_picks; });
        m_root->addSubview(m_picker);
    }

    void offer(int count, int maximumWidth = CalendarPickerView::defaultMaximumWidth) {
        m_calendars.clear();
        for (int index = 0; index < count; ++index) {
            auto calendar = std::make_shared<EKCalendar>(QStringLiteral("cal-%1").arg(index),
                                                         EKCalendarType::Local, nullptr);
            calendar->setTitle(QStringLiteral("Calendar %1").arg(index));
            calendar->setColor(pickerCalendarColors[index % 6]);
            m_calendars.push_back(calendar);
        }
        m_picker->setMaximumWidth(maximumWidth);
        m_picker->setCalendars(m_calendars);
    }

    ScrollView& strip() const {
        for (const auto& subview : m_picker->subviews()) {
            if (auto scroll = std::dynamic_pointer_cast<ScrollView>(subview)) {
                return *scroll;
            }
        }
        throw std::logic_error("the picker has no strip");
    }
    double pressDuration() const {
        for (const auto& recognizer : strip().gestureRecognizers()) {
            if (auto press = std::dynamic_pointer_cast<LongPressGestureRecognizer>(recognizer)) {
                return press->minimumPressDuration();
            }
        }
        return -1;
    }
    // Left to right.
    std::vector<std::shared_ptr<CalendarOptionView>> squares() const {
        std::vector<std::shared_ptr<CalendarOptionView>> found;
        for (const auto& subview : strip().subviews()) {
            if (auto square = std::dynamic_pointer_cast<CalendarOptionView>(subview)) {
                found.push_back(square);
            }
        }
        std::sort(found.begin(), found.end(),
                  [](const auto& a, const auto& b) { return a->frame().x() < b->frame().x(); });
        return found;
    }
    // The balloon while it is in the window.
    std::shared_ptr<BalloonView> balloon() const {
        for (const auto& subview : m_window->subviews()) {
            if (auto shown = std::dynamic_pointer_cast<BalloonView>(subview)) {
                return shown;
            }
        }
        return nullptr;
    }
    QString selectedTitle() const {
        const auto selected = m_picker->selectedCalendar();
        return selected ? selected->title() : QString();
    }
    // A window point of the strip, `x` points from its visible left edge.
    Point stripPoint(double x) const { return m_picker->convertPointToView(Point(x, 25), m_window.get()); }

    std::shared_ptr<CalendarPickerView> m_picker = CalendarPickerView::create(Point(13, 151));
    std::vector<std::shared_ptr<EKCalendar>> m_calendars;
    int m_picks = 0;
};

} // namespace

TEST_F(CalendarPickerTest, StripGrowsWithItsCalendarsUpToTheMaximumWidthAndThenScrolls) {
    offer(3);
    EXPECT_DOUBLE_EQ(m_picker->frame().width(), 92);
    EXPECT_DOUBLE_EQ(strip().contentSize().width(), 92);
    EXPECT_DOUBLE_EQ(pressDuration(), 0.0);
    ASSERT_EQ(squares().size(), 3u);
    // The first calendar is chosen and grown around its centre; the others sit 28 apart.
    settle();
    EXPECT_EQ(squares()[0]->frame(), Rect(5, 12, 25, 25));
    EXPECT_EQ(squares()[2]->frame(), Rect(65, 16, 17, 17));
    EXPECT_EQ(selectedTitle(), "Calendar 0");

    offer(12, 148);
    EXPECT_DOUBLE_EQ(m_picker->frame().width(), 148);
    EXPECT_DOUBLE_EQ(strip().contentSize().width(), 344);
    EXPECT_DOUBLE_EQ(pressDuration(), 0.2);
    // Choosing a calendar brings its square and the space after it into view.
    m_picker->selectCalendar(*m_calendars[11]);
    EXPECT_EQ(selectedTitle(), "Calendar 11");
    EXPECT_DOUBLE_EQ(strip().contentOffset().x(), 196);
    // A calendar that is not offered changes nothing.
    EKCalendar stranger(QStringLiteral("elsewhere"), EKCalendarType::Local, nullptr);
    m_picker->selectCalendar(stranger);
    EXPECT_EQ(selectedTitle(), "Calendar 11");
    EXPECT_EQ(m_picks, 0);
}

TEST_F(CalendarPickerTest, FingerNearTheRightEndScrollsByFiveEveryTwentyMillisecondsUntilTheEnd) {
    offer(12, 148);
    m_window->fingerDown(0, stripPoint(130));
    m_loop->advance(0.2);
    EXPECT_EQ(selectedTitle(), "Calendar 4");
    QStringList chosen{selectedTitle()};
    for (int step = 1; step <= 45; ++step) {
        m_loop->advance(0.02);
        EXPECT_DOUBLE_EQ(strip().contentOffset().x(), std::min(5.0 * step, 196.0)) << step;
        if (selectedTitle() != chosen.last()) {
            chosen.append(selectedTitle());
        }
    }
    // Square after square comes under the resting finger, up to the last one, and nothing ticks
    // any more.
    EXPECT_EQ(chosen.join(','), "Calendar 4,Calendar 5,Calendar 6,Calendar 7,Calendar 8,Calendar 9,"
                                "Calendar 10,Calendar 11");
    m_loop->advance(1.0);
    EXPECT_EQ(m_loop->pendingTimerCount(), 0);
    EXPECT_EQ(m_picks, 0);
    ASSERT_TRUE(balloon());
    EXPECT_EQ(balloon()->title(), "Calendar 11");

    // Held longer than half a second, the balloon fades as soon as the finger lifts.
    m_window->fingerUp(0, stripPoint(130));
    EXPECT_EQ(m_picks, 1);
    m_loop->advance(BalloonView::fadeDuration + 0.01);
    EXPECT_FALSE(balloon());
}

TEST_F(CalendarPickerTest, TapChoosesAtOnceAndTheBalloonFadesHalfASecondAfterTheTouch) {
    offer(5);
    m_window->fingerDown(0, stripPoint(9 + 2 * 28 + 8));
    m_loop->advance(0.05);
    m_window->fingerUp(0, stripPoint(9 + 2 * 28 + 8));
    EXPECT_EQ(m_picks, 1);
    EXPECT_EQ(selectedTitle(), "Calendar 2");
    ASSERT_TRUE(balloon());
    EXPECT_EQ(balloon()->label()->text(), "Calendar 2");
    // Above the grown square (window x 13 + 65 − 4, y 171 + 16 − 4), its arrow at the square.
    EXPECT_EQ(balloon()->frame(),
              Rect(66, 183 - 58,
                   StringDrawing::sizeWithFont("Calendar 2", balloon()->label()->font()).width() + 25, 53));
    m_loop->advance(0.44);
    EXPECT_DOUBLE_EQ(balloon()->presentationAlpha(), 1.0);
    m_loop->advance(0.01 + BalloonView::fadeDuration / 2);
    ASSERT_TRUE(balloon());
    EXPECT_LT(balloon()->presentationAlpha(), 1.0);
    savePng("calendar-picker-balloon-fading.png");
    m_loop->advance(BalloonView::fadeDuration);
    EXPECT_FALSE(balloon());
}

TEST_F(CalendarPickerTest, NameTooLongForTheWindowIsCutSevenPointsFromTheLeftEdge) {
    offer(4);
    m_calendars[3]->setTitle(
        "The family calendar with every birthday, school trip and dentist visit of the year");
    m_picker->setCalendars(m_calendars);
    m_window->fingerDown(0, stripPoint(9 + 3 * 28 + 8));
    ASSERT_TRUE(balloon());
    EXPECT_DOUBLE_EQ(balloon()->frame().x(), 7);
    EXPECT_DOUBLE_EQ(balloon()->frame().width(), 320 - 14);
    // The arrow still points at the square: window x 13 + 93 − 4 − 8, less the 7 kept.
    EXPECT_DOUBLE_EQ(balloon()->arrowCorrection(), 94 - 7);
    const Label& label = *balloon()->label();
    EXPECT_DOUBLE_EQ(label.frame().x(), 8);
    EXPECT_LT(label.frame().width(), StringDrawing::sizeWithFont(label.text(), label.font()).width());
    settle();
    savePng("calendar-picker-long-name.png");
    m_window->fingerUp(0, stripPoint(9 + 3 * 28 + 8));
}

TEST_F(CalendarPickerTest, PicturesOfTheStrip) {
    offer(6);
    m_window->fingerDown(0, stripPoint(9 + 3 * 28 + 8));
    settle();
    savePng("calendar-picker-balloon.png");
    m_window->fingerUp(0, stripPoint(9 + 3 * 28 + 8));
    settle();
    offer(12, 176);
    strip().setContentOffset(Point(90, 0));
    settle();
    savePng("calendar-picker-scrolled.png");
}
