#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "kit/View.h"
#include "ui/threeweeks/ThreeWeeksEventEntry.h"

#include <functional>
#include <memory>

class EKEvent;
class InfiniteScrollView;
class ThreeWeeksRulerView;
class WeekIndicatorView;

// The week screen in landscape: a strip of week pages scrolled freely sideways, the month ruler
// above them and a thin indicator marking the week in the middle, which the view reports to its
// owner as the current week. Any user, store or calendar-visibility change drops the pages' data;
// the registrations on the bus end with the view.
class ThreeWeeksView : public View, public BusReceiver {
public:
    using WeekAction = std::function<void(const Week& week)>;

    static std::shared_ptr<ThreeWeeksView> create(const Rect& frame);
    explicit ThreeWeeksView(const Rect& frame);

    const std::shared_ptr<InfiniteScrollView>& infiniteScrollView() const { return m_infiniteScrollView; }
    const std::shared_ptr<ThreeWeeksRulerView>& rulerView() const { return m_rulerView; }
    const std::shared_ptr<WeekIndicatorView>& weekIndicatorView() const { return m_weekIndicatorView; }
    const Week& lastKnownSteadyWeek() const { return m_lastKnownSteadyWeek; }

    void setOnCurrentWeekChanged(WeekAction onCurrentWeekChanged) {
        m_onCurrentWeekChanged = std::move(onCurrentWeekChanged);
    }
    void setOnLandedSteadyOnWeek(WeekAction onLandedSteadyOnWeek) {
        m_onLandedSteadyOnWeek = std::move(onLandedSteadyOnWeek);
    }

    // The week of the page in the middle.
    Week currentWeek() const;
    // Shows the week in the middle at once, as the steady week, and reads its data.
    void setCurrentWeek(const Week& week);
    void scrollToWeek(const Week& week, bool animated);
    // Forgets every page's data; a visible view reads it again at once.
    void refreshCachedData();
    // Hides the view as View::setHidden does; shown again, it reads the pages' data. View's own
    // setHidden is not virtual, so the owner calls this one on the view itself.
    void setHidden(bool hidden);

    // A week page's data from the event service. Runs on the background queue.
    static ThreeWeeksWeekEvents loadDataForWeek(const Week& week);
    // The list of the weekday index, the outer list grown with empty lists up to it.
    static ThreeWeeksDayEvents& getOrCreateDayEventsInWeekEvents(ThreeWeeksWeekEvents& weekEvents,
                                                                 int weekdayIndex);

private:
    void addSubviews();
    void wireScrollView();
    void subscribeToBus();
    void weekScrolled(const Week& week, double x);
    void scrollEnded(const Week& week);
    static ThreeWeeksEventEntry entryForEvent(const EKEvent& event, bool startedBefore);

    std::shared_ptr<InfiniteScrollView> m_infiniteScrollView;
    std::shared_ptr<ThreeWeeksRulerView> m_rulerView;
    std::shared_ptr<WeekIndicatorView> m_weekIndicatorView;
    Week m_lastKnownSteadyWeek;
    WeekAction m_onCurrentWeekChanged;
    WeekAction m_onLandedSteadyOnWeek;
};
