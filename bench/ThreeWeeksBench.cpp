// Measures the three-weeks view: one frame of free scrolling over weeks with eight events on
// every day, drawn at scale 2 as the window draws it, and the page data of one week read from the
// generated 10,000-event store (computed on the background queue in the application).
#include "GeneratedStore.h"
#include "WeekScreenEnvironment.h"

#include "core/calendar/DateUtilities.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "kit/Artwork.h"
#include "kit/DeviceDependentValues.h"
#include "kit/ScrollView.h"
#include "ui/paging/InfiniteScrollPageView.h"
#include "ui/paging/InfiniteScrollView.h"
#include "ui/paging/PageScrollView.h"
#include "ui/threeweeks/MiniWeekDayContentView.h"
#include "ui/threeweeks/MiniWeekDayView.h"
#include "ui/threeweeks/MiniWeekView.h"
#include "ui/threeweeks/ThreeWeeksView.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int busyWeeks = 8;
constexpr int busyEventsPerDay = 8;

// Eight events on every day of the weeks around the generated store's first week: six timed, one
// all-day and one timed event running on into the next day, as a full landscape page shows them.
struct BusyStore {
    BusyStore() {
        generated();
        store = std::make_shared<EKEventStore>(folder.filePath("events.sqlite"));
        service = std::make_shared<EventService>(store);
        const std::shared_ptr<EKCalendar> calendar = store->defaultCalendarForNewEvents();
        std::vector<std::shared_ptr<EKEvent>> events;
        const Date first = weekNumber(0).addWeeks(-busyWeeks / 2).date();
        for (int day = 0; day < busyWeeks * 7; ++day) {
            const Date start = DateUtilities::addDays(first, day);
            for (int i = 0; i < busyEventsPerDay; ++i) {
                auto event = EKEvent::eventWithEventStore(*store);
                event->setTitle(QStringLiteral("Busy event %1").arg(i));
                event->setCalendar(calendar);
                const bool allDay = i == 0;
                const Date begin = DateUtilities::addHours(start, allDay ? 0 : 7 + 2 * i);
                event->setAllDay(allDay);
                event->setStartDate(begin);
                event->setEndDate(allDay ? DateUtilities::endOfDay(start)
                                         : DateUtilities::addHours(begin, i == busyEventsPerDay - 1 ? 6 : 1));
                events.push_back(std::move(event));
            }
        }
        StoreError error;
        if (!store->saveEvents(events, &error)) {
            std::fprintf(stderr, "could not fill the busy store: %s\n",
                         qPrintable(error.localizedDescription));
            std::abort();
        }
    }

    QTemporaryDir folder;
    std::shared_ptr<EKEventStore> store;
    std::shared_ptr<EventService> service;
};

BusyStore& busyStore() {
    static BusyStore* const instance = new BusyStore();
    return *instance;
}

constexpr double framesPerPage = 20.0;
constexpr int pagesScrolled = 2;

// The pages scrolled over are read beforehand, so that a frame measures the move of the strip
// (recycling a page where one comes into view) and the drawing of the whole view.
void BM_ThreeWeeksScrollFrame(benchmark::State& state) {
    WeekScreenEnvironment environment;
    const std::shared_ptr<EventService> previousService =
        EventService::setSharedInstance(busyStore().service);
    DeviceDependentValues::initValuesForScale(2.0);
    Artwork::setScreenScale(2.0);
    const std::shared_ptr<ThreeWeeksView> view = ThreeWeeksView::create(Rect(0, 0, 480, 268));
    view->setCurrentWeek(weekNumber(0));
    ScrollView& inner = *view->infiniteScrollView()->scrollView();
    const double width = view->infiniteScrollView()->pageWidth();
    const double start = inner.contentOffset().x();
    const double step = width / framesPerPage;
    for (double x = -pagesScrolled * width; x <= pagesScrolled * width; x += width) {
        inner.setContentOffset(Point(start + x, 0));
        environment.loop().runUntilIdle();
    }
    inner.setContentOffset(Point(start, 0));
    environment.loop().runUntilIdle();
    double offset = 0.0;
    double direction = 1.0;
    for (auto _ : state) {
        if (std::abs(offset + direction * step) > pagesScrolled * width) {
            direction = -direction;
        }
        offset += direction * step;
        inner.setContentOffset(Point(start + offset, 0));
        benchmark::DoNotOptimize(view->renderToImage(2.0));
    }
    environment.loop().runUntilIdle();
    // Every day of the middle page shows four events and the line counting the other four.
    const auto& middle =
        static_cast<const MiniWeekView&>(*view->infiniteScrollView()->currentPageViewAtCenterOfScreen());
    if (middle.dayViews().front()->contentView()->lines().size() != 5) {
        state.SkipWithError("the pages drew without their data");
    }
    EventService::setSharedInstance(previousService);
}
BENCHMARK(BM_ThreeWeeksScrollFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ThreeWeeksPageData(benchmark::State& state) {
    WeekScreenEnvironment environment;
    int index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ThreeWeeksView::loadDataForWeek(weekNumber(index)));
        index += 37;
    }
}
BENCHMARK(BM_ThreeWeeksPageData)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
