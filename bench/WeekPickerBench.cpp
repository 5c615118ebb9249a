// Measures the week picker on the generated 10,000-event store: the holiday layout of one page,
// computed on the background queue in the application, and the main thread's share of one page
// recycled while the months scroll.
#include "GeneratedStore.h"
#include "WeekScreenEnvironment.h"

#include "core/calendar/Month.h"
#include "core/calendar/Quarter.h"
#include "core/calendar/WeekInMonth.h"
#include "kit/ScrollView.h"
#include "ui/paging/InfiniteScrollPageView.h"
#include "ui/paging/PageScrollView.h"
#include "ui/weekpicker/WeekPickerController.h"
#include "ui/weekpicker/WeekPickerScrollView.h"

#include <benchmark/benchmark.h>

namespace {

void BM_WeekPickerHolidayLayout(benchmark::State& state) {
    WeekScreenEnvironment environment;
    int index = 0;
    for (auto _ : state) {
        const Quarter quarter(GeneratedStore::firstYear + (index / 4) % GeneratedStore::years, index % 4 + 1);
        benchmark::DoNotOptimize(WeekPickerController::loadDataForMonthsPeriod(quarter));
        ++index;
    }
}
BENCHMARK(BM_WeekPickerHolidayLayout)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

constexpr int pickerPagesScrolled = 20;

// The pages scrolled over are loaded beforehand, so that a step measures the recycling of one
// page (new period, month titles, selection and today's circle) and, with the argument 1, the
// drawing of that page as the next frame draws it.
void BM_WeekPickerRecycleStep(benchmark::State& state) {
    WeekScreenEnvironment environment;
    const auto picker = std::make_shared<WeekPickerController>(Rect(0, 0, 320, 416));
    picker->view();
    const Month month = weekNumber(0).middleOfTheWeekDay().month();
    picker->selectWeekInMonth(WeekInMonth(weekNumber(0), month));
    picker->setVisible(true);
    WeekPickerScrollView& scroller = *picker->infiniteScrollView();
    ScrollView& inner = *scroller.scrollView();
    const double width = scroller.pageWidth();
    const double start = inner.contentOffset().x();
    for (int page = 0; page <= pickerPagesScrolled; ++page) {
        inner.setContentOffset(Point(start + page * width, 0));
    }
    environment.loop().runUntilIdle();
    int step = pickerPagesScrolled;
    int direction = -1;
    for (auto _ : state) {
        if (step + direction < 0 || step + direction > pickerPagesScrolled) {
            direction = -direction;
        }
        step += direction;
        inner.setContentOffset(Point(start + step * width, 0));
        if (state.range(0) == 1) {
            const auto& pages = scroller.pageViews();
            benchmark::DoNotOptimize((direction > 0 ? pages.back() : pages.front())->renderToImage(2.0));
        }
    }
    environment.loop().runUntilIdle();
    const Quarter* shown = scroller.currentPageItem().as<Quarter>();
    if (!shown || !(*shown == month.quarter().addQuarters(step))) {
        state.SkipWithError("the pages did not follow the scrolling");
    }
}
BENCHMARK(BM_WeekPickerRecycleStep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
