// Measures opening the day list of a busy day on the generated 10,000-event store: the main
// thread's work from the request to the start of the pop-up animation (reading the day, filling
// and laying out the rows, placing the box).
#include "GeneratedStore.h"
#include "WeekScreenInWindow.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/StoreError.h"
#include "ui/daybox/DayView.h"
#include "ui/daylist/ListEventsViewController.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekScrollViewController.h"
#include "ui/week/WeekViewController.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int busyDayEventCount = 30;

// A day after the generated years, so that the other benchmarks read the store as generated;
// the store's repeating events still reach it.
Date busyDay() {
    return DateUtilities::dateWithYear(2030, 3, 13);
}

bool addBusyDay() {
    EKEventStore& store = *generated().store;
    for (int i = 0; i < busyDayEventCount; ++i) {
        auto event = EKEvent::eventWithEventStore(store);
        event->setTitle(QString("%1 %2").arg(generatedTitles[i % 15]).arg(i));
        const Date start = busyDay().addingTimeInterval(7 * 3600.0 + i * 1200.0);
        event->setStartDate(start);
        event->setEndDate(start.addingTimeInterval(1800.0));
        event->setCalendar(store.defaultCalendarForNewEvents());
        StoreError error;
        if (!store.saveEvent(event, EKSpan::ThisEvent, &error)) {
            return false;
        }
    }
    return true;
}

void BM_OpenDayListOfABusyDay(benchmark::State& state) {
    static const bool added = addBusyDay();
    if (!added) {
        state.SkipWithError("the busy day could not be saved");
        return;
    }
    WeekScreenInWindow shown;
    WeekScrollViewController* const screen = &shown.screen();
    screen->scrollToWeek(DateUtilities::week(busyDay()), false, false);
    shown.loop().advance(1.0);
    const std::shared_ptr<DayViewController> day = screen->weekViews()[1]->dayViewControllers()[std::size_t(
        DateUtilities::daysBackToFirstDayOfWeek(DateUtilities::weekday(busyDay())))];
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    for (auto _ : state) {
        dispatcher.dispatch<ListEventsEvent>(day->dayView(), busyDay());
        screen->listEventsViewController()->view()->layoutIfNeeded();
        state.PauseTiming();
        if (screen->listEventsViewController()->displayedEvents().size() < busyDayEventCount) {
            state.SkipWithError("the list does not hold the busy day");
        }
        screen->listEventsViewController()->closePopupAnimated(false);
        shown.loop().advance(1.0);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDayListOfABusyDay)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
