#pragma once

#include "foundation/Date.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class BalloonView;
class CalendarOptionView;
class EKCalendar;
class GestureRecognizer;
class ImageView;
class LongPressGestureRecognizer;
class ScrollView;
class TapGestureRecognizer;
class Timer;

// The editor's calendar choice: a one-line strip of coloured squares, one per calendar, that
// scrolls sideways when they do not all fit. A tap chooses the square under the finger;
// pressing and sliding chooses square after square, and near either end the strip scrolls by
// itself under the resting finger. While choosing, a balloon names the calendar; it fades half
// a second after the press began, or as soon as the strip is dragged. Every completed choice
// is reported through `onCalendarPicked`. Make it with `create`. Main thread only.
class CalendarPickerView : public View, public ScrollViewDelegate {
public:
    // From one square to the next.
    static constexpr double optionWidth = 28.0;
    // The scroll distance over which the end fades appear.
    static constexpr double fadeMargin = 15.0;
    static constexpr double height = 50.0;
    static constexpr int defaultMaximumWidth = 154;
    // A finger this close to either end of the strip scrolls it by itself.
    static constexpr double autoScrollMargin = 40.0;
    static constexpr double autoScrollInterval = 0.02;
    static constexpr double autoScrollStep = 5.0;
    // How long the balloon shows at least, counted from the start of the press.
    static constexpr double balloonShowTime = 0.5;
    // How long a press must rest before it chooses, when the strip can scroll (so that a quick
    // swipe scrolls instead).
    static constexpr double scrollingPressDuration = 0.2;

    // The strip with its top-left corner at the point.
    static std::shared_ptr<CalendarPickerView> create(Point point);
    explicit CalendarPickerView(Point point);
    ~CalendarPickerView() override;

    // Offers the calendars in this order, as wide as they need but at most `maximumWidth`,
    // scrolled to the start, with the first one chosen.
    void setCalendars(std::vector<std::shared_ptr<EKCalendar>> calendars);
    const std::vector<std::shared_ptr<EKCalendar>>& calendars() const { return m_calendars; }
    // Chooses the calendar (the same identifier) without the balloon and scrolls its square
    // into view; a calendar not offered leaves the choice as it is.
    void selectCalendar(const EKCalendar& calendar);
    // The chosen calendar, or null when none is offered.
    std::shared_ptr<EKCalendar> selectedCalendar() const;
    // Applies from the next setCalendars on.
    int maximumWidth() const { return m_maximumWidth; }
    void setMaximumWidth(int maximumWidth) { m_maximumWidth = maximumWidth; }
    // Hides the field and the end fades, leaving the squares alone.
    bool hideBorder() const { return m_hideBorder; }
    void setHideBorder(bool hideBorder);
    void setOnCalendarPicked(std::function<void()> onCalendarPicked) {
        m_onCalendarPicked = std::move(onCalendarPicked);
    }

private:
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewWillBeginDragging(ScrollView& scrollView) override;

    void buildSubviews();
    void tappedOnCalendar(GestureRecognizer& recognizer);
    // Ends a press: the balloon fades after the rest of its time, the chosen square's neighbour
    // comes into view, and the choice is reported.
    void finishPick();
    // Chooses by a position in the strip's content; positions outside the visible part are
    // ignored.
    void selectCalendarWithX(double x);
    void selectCalendarOptionView(const std::shared_ptr<CalendarOptionView>& option, bool showBalloon);
    void stopDragging(bool animated);
    void startAutoScroll(double step);
    void stopAutoScroll();
    void autoScroll(double step);
    double stripWidth() const;
    double contentOffsetX() const;

    std::vector<std::shared_ptr<EKCalendar>> m_calendars;
    std::vector<std::shared_ptr<CalendarOptionView>> m_calendarOptionViews;
    std::shared_ptr<CalendarOptionView> m_currentSelectedOption;
    std::shared_ptr<ScrollView> m_scrollView;
    std::shared_ptr<ImageView> m_backgroundView;
    std::shared_ptr<ImageView> m_leftFadeView;
    std::shared_ptr<ImageView> m_rightFadeView;
    std::shared_ptr<BalloonView> m_balloonView;
    std::shared_ptr<TapGestureRecognizer> m_tapGesture;
    std::shared_ptr<LongPressGestureRecognizer> m_longTapGesture;
    double m_currentX = 0.0;
    double m_lastScrollOffset = 0.0;
    bool m_hideBorder = false;
    std::shared_ptr<Timer> m_autoScrollTimer;
    // The step of the running auto-scroll: negative to the left, 0 while none runs.
    double m_autoScrollStep = 0.0;
    std::shared_ptr<Timer> m_disappearTimer;
    std::optional<Date> m_userTouchedScreenStart;
    std::function<void()> m_onCalendarPicked;
    int m_maximumWidth = defaultMaximumWidth;
};
