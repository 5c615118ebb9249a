#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void useBerlin() {
    TimeZone::setDefaultTimeZone(*TimeZone::withName(QStringLiteral("Europe/Berlin")));
    Locale::setCurrentLocale(QStringLiteral("en_US"));
    DateUtilities::reloadCalendar();
    Week::setFirstWeekdayOfWeek(2);
}

// 2012-10-24 12:34:56 UTC, a Wednesday in the week of the autumn daylight-saving change.
const Date sampleDate = Date::withTimeIntervalSince1970(1351082096.0);

void BM_WeekOfDate(benchmark::State& state) {
    useBerlin();
    Date date = sampleDate;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateUtilities::week(date));
        date = date.addingTimeInterval(3600.0);
    }
}
BENCHMARK(BM_WeekOfDate);

// What a week page needs: the begin and end of each of its seven days.
void sevenDayBounds(const Week& week) {
    const Day first = week.firstDay();
    for (int i = 0; i < 7; ++i) {
        const Day day = first.addDays(i);
        benchmark::DoNotOptimize(day.beginDateTime());
        benchmark::DoNotOptimize(day.endDateTime());
    }
}

void BM_WeekDayBounds(benchmark::State& state) {
    useBerlin();
    const Week week = DateUtilities::week(sampleDate);
    for (auto _ : state) {
        sevenDayBounds(week);
    }
}
BENCHMARK(BM_WeekDayBounds);

// Going round 400 weeks (2800 days) outgrows the per-thread table of day bounds, so every
// iteration computes its days afresh in ICU: the cost of a week seen for the first time.
void BM_WeekDayBoundsUncached(benchmark::State& state) {
    useBerlin();
    std::vector<Week> weeks;
    Week week = DateUtilities::week(sampleDate);
    for (int i = 0; i < 400; ++i) {
        weeks.push_back(week);
        week = week.nextWeek();
    }
    std::size_t index = 0;
    for (auto _ : state) {
        sevenDayBounds(weeks[index]);
        index = (index + 1) % weeks.size();
    }
}
BENCHMARK(BM_WeekDayBoundsUncached);

void BM_WeekNumberText(benchmark::State& state) {
    useBerlin();
    Week::setWeekNumberMethod(static_cast<int>(state.range(0)));
    const Week week = DateUtilities::week(sampleDate);
    for (auto _ : state) {
        benchmark::DoNotOptimize(week.weekNumber());
    }
    Week::setWeekNumberMethod(0);
}
BENCHMARK(BM_WeekNumberText)->Arg(0)->Arg(1);

void BM_AddDays(benchmark::State& state) {
    useBerlin();
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateUtilities::addDays(sampleDate, n));
        n = (n + 1) % 100;
    }
}
BENCHMARK(BM_AddDays);

void BM_DaysTo(benchmark::State& state) {
    useBerlin();
    const Date other = sampleDate.addingTimeInterval(40 * 86400.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateUtilities::daysTo(sampleDate, other));
    }
}
BENCHMARK(BM_DaysTo);

void BM_DayDaysTo(benchmark::State& state) {
    useBerlin();
    const Day day(2012, 10, 24);
    const Day other(2012, 12, 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(day.daysTo(other));
    }
}
BENCHMARK(BM_DayDaysTo);

} // namespace
