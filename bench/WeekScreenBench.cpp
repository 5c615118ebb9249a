// Measures the week screen on the generated 10,000-event store: filling a page with a week read
// from the store, and the main thread's share of turning the page by one week.
#include "GeneratedStore.h"
#include "WeekScreenEnvironment.h"

#include "core/calendar/DateUtilities.h"
#include "kit/ScrollView.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/week/WeekScrollViewController.h"
#include "ui/week/WeekViewController.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <unordered_map>

namespace {

void BM_WeekPageLoad(benchmark::State& state) {
    WeekScreenEnvironment environment;
    const std::shared_ptr<WeekViewController> page =
        WeekViewController::create(std::make_shared<EventTouchLock>());
    page->clearWithWeek(weekNumber(0), true);
    int index = 0;
    for (auto _ : state) {
        state.PauseTiming();
        index += 37;
        page->clearWithWeek(weekNumber(index), false);
        environment.loop().advance(1.0);
        state.ResumeTiming();
        page->load();
    }
}
BENCHMARK(BM_WeekPageLoad)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The weeks a page turn reads, fetched beforehand, so that a turn measures only the main thread's
// work: recycling a page, re-dating its days, splitting the week into days (in the application a
// background step) and filling the rows, then the settle that re-centres the pages.
using WeekCache = std::unordered_map<Week, EventList>;

class CachedWeekPage : public WeekViewController {
public:
    CachedWeekPage(std::shared_ptr<const WeekCache> cache, std::shared_ptr<EventTouchLock> touchLock)
        : WeekViewController(std::move(touchLock)), m_cache(std::move(cache)) {}

protected:
    EventsFetcher eventsFetcher() const override {
        return [cache = m_cache](const Week& week) {
            const auto found = cache->find(week);
            return found == cache->end() ? EventList() : found->second;
        };
    }

private:
    std::shared_ptr<const WeekCache> m_cache;
};

class CachedWeekScreen : public WeekScrollViewController {
public:
    explicit CachedWeekScreen(std::shared_ptr<const WeekCache> cache) : m_cache(std::move(cache)) {}

protected:
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override {
        auto page = std::make_shared<CachedWeekPage>(m_cache, std::move(touchLock));
        page->view();
        return page;
    }

private:
    std::shared_ptr<const WeekCache> m_cache;
};

constexpr int turnsPerRun = 200;

void BM_SettleAfterPageTurn(benchmark::State& state) {
    WeekScreenEnvironment environment;
    auto cache = std::make_shared<WeekCache>();
    const Week first = Week::currentWeek().addWeeks(-1);
    for (int i = 0; i < turnsPerRun + 3; ++i) {
        const Week week = first.addWeeks(i);
        cache->emplace(week, generated().service->findEventsInWeek(week));
    }
    const auto screen = std::make_shared<CachedWeekScreen>(cache);
    screen->view();
    environment.loop().advance(1.0);
    ScrollView& scroll = *screen->scrollView();
    const double width = scroll.frame().width();
    const Week start = screen->currentWeek();
    for (auto _ : state) {
        scroll.setContentOffset(Point((WeekScrollViewController::middlePagePosition + 1) * width, 0));
        screen->scrollViewDidEndDecelerating(scroll);
        environment.loop().runUntilIdle();
    }
    if (start.weeksTo(screen->currentWeek()) != static_cast<int>(state.iterations())) {
        state.SkipWithError("the pages did not turn once per iteration");
    }
}
BENCHMARK(BM_SettleAfterPageTurn)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(turnsPerRun)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
