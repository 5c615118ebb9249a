// Measures the tablet's week page at scale 2 with ten events a day: drawing the whole page, and
// one frame of a placeholder row sliding to its sorted place (the clock stepped by a frame, then
// the page drawn again, as the window does on every frame of an animation).
#include "GeneratedStore.h"
#include "WeekScreenEnvironment.h"

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "kit/Animator.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Screen.h"
#include "kit/View.h"
#include "kit/ViewRenderer.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/tablet/IPadDayViewController.h"
#include "ui/tablet/IPadWeekViewController.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int eventsPerDay = 10;

// Ten short events on each day of the week, every third one with a location, the first an
// all-day event.
EventList tenEventsADay(const Week& week) {
    EKEventStore& store = *generated().store;
    const char* const titles[] = {"Standup",     "Design sync",  "1:1 with Mia", "Code review", "Lunch",
                                  "Budget call", "Hiring panel", "Gym",          "Groceries",   "Dinner"};
    EventList events;
    Day day = week.firstDay();
    for (int d = 0; d < 7; ++d, day = day.nextDay()) {
        const Date start = day.beginDateTime();
        for (int i = 0; i < eventsPerDay; ++i) {
            auto event = EKEvent::eventWithEventStore(store);
            event->setTitle(QString::fromLatin1(titles[i]));
            event->setCalendar(store.defaultCalendarForNewEvents());
            if (i == 0) {
                event->setAllDay(true);
                event->setStartDate(start);
                event->setEndDate(DateUtilities::addDays(start, 1));
            } else {
                event->setStartDate(start.addingTimeInterval((7 + i) * 3600.0));
                event->setEndDate(start.addingTimeInterval((7 + i) * 3600.0 + 2700.0));
            }
            if (i % 3 == 1) {
                event->setLocation(QStringLiteral("Room %1").arg(i));
            }
            events.addWithSort(event);
        }
    }
    return events;
}

// A tablet page whose week is the one list above, read without the store.
class TenEventsADayPage : public IPadWeekViewController {
public:
    TenEventsADayPage(EventList events, std::shared_ptr<EventTouchLock> touchLock)
        : IPadWeekViewController(std::move(touchLock)), m_events(std::move(events)) {}

protected:
    EventsFetcher eventsFetcher() const override {
        return [events = m_events](const Week&) { return events; };
    }

private:
    EventList m_events;
};

// The tablet idiom at scale 2 for as long as the page lives; the phone's state is put back after.
class TabletPageEnvironment {
public:
    TabletPageEnvironment() : m_previousScale(Screen::main().scale()) {
        Screen::main().setScale(2.0);
        Screen::main().setIdiom(Screen::Idiom::Tablet);
        DeviceDependentValues::initValues();
        const Week week = weekNumber(0);
        m_page = std::make_shared<TenEventsADayPage>(tenEventsADay(week), std::make_shared<EventTouchLock>());
        m_page->view();
        m_page->clearWithWeek(week, true);
        m_page->load();
        m_environment.loop().advance(1.0);
    }
    ~TabletPageEnvironment() {
        m_page.reset();
        m_environment.loop().runUntilIdle();
        Screen::main().setIdiom(Screen::Idiom::Phone);
        Screen::main().setScale(m_previousScale);
        DeviceDependentValues::initValues();
    }
    TabletPageEnvironment(const TabletPageEnvironment&) = delete;
    TabletPageEnvironment& operator=(const TabletPageEnvironment&) = delete;

    ManualRunLoop& loop() { return m_environment.loop(); }
    IPadWeekViewController& page() { return *m_page; }
    IPadDayViewController& day(int index) {
        return static_cast<IPadDayViewController&>(
            *m_page->dayViewControllers()[static_cast<std::size_t>(index)]);
    }

private:
    WeekScreenEnvironment m_environment;
    double m_previousScale;
    std::shared_ptr<TenEventsADayPage> m_page;
};

void BM_TabletWeekRenderAtScale2(benchmark::State& state) {
    TabletPageEnvironment tablet;
    for (auto _ : state) {
        Image image = ViewRenderer::render(*tablet.page().view(), 2.0);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BM_TabletWeekRenderAtScale2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Monday holds nine events and a placeholder before all of them, so that the placeholder crosses
// the whole card and every row makes room. A slide that has run out starts again (not measured).
void BM_TabletSlideFrame(benchmark::State& state) {
    TabletPageEnvironment tablet;
    IPadDayViewController& monday = tablet.day(0);
    EventList nine = monday.displayedEvents();
    nine.removeEventAtIndex(nine.size() - 1);
    monday.setDisplayedEvents(nine);
    auto placeholder = EKEvent::eventWithEventStore(*generated().store);
    placeholder->setTitle(QStringLiteral("New event"));
    placeholder->setCalendar(generated().store->defaultCalendarForNewEvents());
    placeholder->setStartDate(monday.displayedDate());
    placeholder->setEndDate(DateUtilities::addDays(monday.displayedDate(), 1));
    placeholder->setAllDay(true);
    // Frame after frame into the same pixels, as the window draws into its backing store.
    ViewRenderer renderer(2.0);
    for (auto _ : state) {
        if (!Animator::hasEndingAnimations()) {
            state.PauseTiming();
            tablet.loop().runUntilIdle();
            if (!monday.addFakeEvent(placeholder)) {
                state.SkipWithError("the placeholder has no row");
                break;
            }
            monday.animateFakeEventIntoPosition({});
            state.ResumeTiming();
        }
        tablet.loop().advance(Animator::frameInterval);
        Image frame = renderer.renderFrame(*tablet.page().view());
        benchmark::DoNotOptimize(frame);
    }
}
BENCHMARK(BM_TabletSlideFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
