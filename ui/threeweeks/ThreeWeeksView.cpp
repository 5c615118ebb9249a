#include "ui/threeweeks/ThreeWeeksView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "ui/common/ColorExtensions.h"
#include "ui/paging/InfiniteScrollView.h"
#include "ui/threeweeks/MiniWeekView.h"
#include "ui/threeweeks/ThreeWeeksRulerView.h"
#include "ui/threeweeks/WeekIndicatorView.h"

#include <algorithm>

namespace {

constexpr double threeWeeksRulerHeight = 30.0;
constexpr double threeWeeksIndicatorY = 25.0;
constexpr double threeWeeksIndicatorHeight = 4.0;
const Color threeWeeksScrollAreaColor = Color::fromRgb255(178, 191, 201);
// Calendar colours are lightened towards white: a little for time boxes, much for all-day bars.
constexpr double timedEntryBrightness = 0.7;
constexpr double allDayEntryBrightness = 0.3;
const Color threeWeeksMissingCalendarColor = Color(0.5, 0.5, 0.5);

// The last day the event covers, as the week page places events on days: an end at midnight
// belongs to the day before, and an event of an hour or less counts only on its first day.
Day lastDayOfEvent(const EKEvent& event) {
    const Date end = ReadOnlyCheck::endDateWithOptionalDuration(event).addingTimeInterval(-1.0);
    const Day startDay = DateUtilities::day(event.startDate());
    return std::max(startDay, DateUtilities::day(end));
}

} // namespace

std::shared_ptr<ThreeWeeksView> ThreeWeeksView::create(const Rect& frame) {
    auto view = std::make_shared<ThreeWeeksView>(frame);
    view->addSubviews();
    view->wireScrollView();
    view->subscribeToBus();
    return view;
}

ThreeWeeksView::ThreeWeeksView(const Rect& frame) : View(frame), m_lastKnownSteadyWeek(Week::currentWeek()) {
    setBackgroundColor(Color(1, 1, 1));
}

void ThreeWeeksView::addSubviews() {
    const double width = bounds().width();
    m_infiniteScrollView =
        InfiniteScrollView::create(Rect(0, threeWeeksRulerHeight, width, MiniWeekView::pageHeight));
    m_infiniteScrollView->setBackgroundColor(threeWeeksScrollAreaColor);
    m_infiniteScrollView->setMainPageFrame(
        Rect(MiniWeekView::pageWidth, 0, MiniWeekView::pageWidth, MiniWeekView::pageHeight));
    m_rulerView = std::make_shared<ThreeWeeksRulerView>(Rect(0, 0, width, threeWeeksRulerHeight));
    m_weekIndicatorView =
        std::make_shared<WeekIndicatorView>(Rect(0, threeWeeksIndicatorY, width, threeWeeksIndicatorHeight));
    m_weekIndicatorView->setWeekWidth(MiniWeekView::pageWidth);
    m_weekIndicatorView->setCurrentWeekX(m_infiniteScrollView->mainPageFrame().x());
    addSubview(m_infiniteScrollView);
    addSubview(m_rulerView);
    addSubview(m_weekIndicatorView);
}

// The scroll area lives inside this view: its handlers see the view weakly.
void ThreeWeeksView::wireScrollView() {
    const std::weak_ptr<ThreeWeeksView> weakSelf =
        std::static_pointer_cast<ThreeWeeksView>(shared_from_this());
    InfiniteScrollView& scroller = *m_infiniteScrollView;
    scroller.setToCreatePageView([weakSelf](const PageItem&) -> std::shared_ptr<InfiniteScrollPageView> {
        const auto self = weakSelf.lock();
        return MiniWeekView::create(self ? self->m_infiniteScrollView->mainPageFrame()
                                         : Rect(0, 0, MiniWeekView::pageWidth, MiniWeekView::pageHeight));
    });
    scroller.setToGetOtherPageItem(
        [](const PageItem& item, int count) { return PageItem(item.as<Week>()->addWeeks(count)); });
    scroller.setToGetDistanceBetweenItems(
        [](const PageItem& from, const PageItem& to) { return from.as<Week>()->weeksTo(*to.as<Week>()); });
    scroller.setToLoadData([](const PageItem& item) -> std::any {
        return std::make_shared<const ThreeWeeksWeekEvents>(loadDataForWeek(*item.as<Week>()));
    });
    scroller.setOnScroll([weakSelf](const PageItem& item, double x) {
        const auto self = weakSelf.lock();
        if (self && item.as<Week>()) {
            self->weekScrolled(*item.as<Week>(), x);
        }
    });
    scroller.setOnCurrentPageChanged([weakSelf](const PageItem& item) {
        const auto self = weakSelf.lock();
        if (self && item.as<Week>() && self->m_onCurrentWeekChanged) {
            self->m_onCurrentWeekChanged(*item.as<Week>());
        }
    });
    scroller.setOnScrollEnded([weakSelf](const PageItem& item) {
        const auto self = weakSelf.lock();
        if (self && item.as<Week>()) {
            self->scrollEnded(*item.as<Week>());
        }
    });
    scroller.setCurrentPageItem(PageItem(Week::currentWeek()));
    scroller.setFreeScroll(true);
    m_rulerView->positionOnWeek(Week::currentWeek(), scroller.mainPageFrame().x());
}

void ThreeWeeksView::subscribeToBus() {
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    dispatcher.registerTarget<UserChangedEvent>(this, &ThreeWeeksView::refreshCachedData);
    dispatcher.registerTarget<EventStoreChangedEvent>(this, &ThreeWeeksView::refreshCachedData);
    dispatcher.registerTarget<VisibleCalendarsChangedEvent>(this, &ThreeWeeksView::refreshCachedData);
}

void ThreeWeeksView::weekScrolled(const Week& week, double x) {
    m_rulerView->positionOnWeek(week, x);
    m_weekIndicatorView->setCurrentWeekX(x);
}

void ThreeWeeksView::scrollEnded(const Week& week) {
    if (week == m_lastKnownSteadyWeek) {
        return;
    }
    m_lastKnownSteadyWeek = week;
    if (m_onLandedSteadyOnWeek) {
        m_onLandedSteadyOnWeek(week);
    }
}

Week ThreeWeeksView::currentWeek() const {
    const PageItem item = m_infiniteScrollView->currentPageItem();
    const Week* week = item.as<Week>();
    return week ? *week : m_lastKnownSteadyWeek;
}

void ThreeWeeksView::setCurrentWeek(const Week& week) {
    m_lastKnownSteadyWeek = week;
    m_infiniteScrollView->setCurrentPageItem(PageItem(week));
    m_rulerView->positionOnWeek(week, m_infiniteScrollView->mainPageFrame().x());
    m_infiniteScrollView->triggerLoadingData();
}

void ThreeWeeksView::scrollToWeek(const Week& week, bool animated) {
    m_infiniteScrollView->setCurrentPageItem(PageItem(week), animated);
}

void ThreeWeeksView::refreshCachedData() {
    m_infiniteScrollView->refreshCachedData();
    if (!hidden()) {
        m_infiniteScrollView->triggerLoadingData();
    }
}

void ThreeWeeksView::setHidden(bool hidden) {
    const bool wasHidden = this->hidden();
    View::setHidden(hidden);
    if (wasHidden && !hidden) {
        m_infiniteScrollView->triggerLoadingData();
    }
}

ThreeWeeksDayEvents& ThreeWeeksView::getOrCreateDayEventsInWeekEvents(ThreeWeeksWeekEvents& weekEvents,
                                                                      int weekdayIndex) {
    const auto index = static_cast<std::size_t>(weekdayIndex);
    if (weekEvents.size() <= index) {
        weekEvents.resize(index + 1);
    }
    return weekEvents[index];
}

ThreeWeeksWeekEvents ThreeWeeksView::loadDataForWeek(const Week& week) {
    ThreeWeeksWeekEvents weekEvents;
    const Day first = week.firstDay();
    const EventList events = EventService::sharedInstance().findEventsInWeek(week);
    for (const std::shared_ptr<EKEvent>& event : events.events()) {
        const int startIndex = first.daysTo(DateUtilities::day(event->startDate()));
        const int firstIndex = std::max(startIndex, 0);
        if (firstIndex > 6) {
            continue;
        }
        const ThreeWeeksEventEntry entry = entryForEvent(*event, startIndex < 0);
        getOrCreateDayEventsInWeekEvents(weekEvents, firstIndex).push_back(entry);
        const int lastIndex = std::min(first.daysTo(lastDayOfEvent(*event)), 6);
        if (lastIndex > firstIndex) {
            const ThreeWeeksEventEntry later = entry.continued();
            for (int index = firstIndex + 1; index <= lastIndex; ++index) {
                getOrCreateDayEventsInWeekEvents(weekEvents, index).push_back(later);
            }
        }
    }
    return weekEvents;
}

ThreeWeeksEventEntry ThreeWeeksView::entryForEvent(const EKEvent& event, bool startedBefore) {
    using Type = ThreeWeeksEventEntry::Type;
    ThreeWeeksEventEntry entry;
    entry.title = ReadOnlyCheck::titleAndLocation(event);
    const std::shared_ptr<EKCalendar> calendar = event.calendar();
    if (calendar && calendar->type() == EKCalendarType::Birthday) {
        entry.type = Type::birthday;
        return entry;
    }
    const Color color = calendar && calendar->color() ? *calendar->color() : threeWeeksMissingCalendarColor;
    if (!event.allDay()) {
        entry.type = startedBefore ? Type::timedContinued : Type::timed;
        entry.time = ReadOnlyCheck::time(event);
        entry.color = ColorExtensions::adjustBrightness(color, timedEntryBrightness);
    } else {
        entry.type = startedBefore ? Type::allDayContinued : Type::allDay;
        entry.color = ColorExtensions::adjustBrightness(color, allDayEntryBrightness);
    }
    return entry;
}
