// Measures the store on a generated calendar: 10,000 events over ten years, 5% of them
// repeating, some all-day and multi-day, in two time zones.
#include "GeneratedStore.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "core/events/EventService.h"
#include "core/events/SearchResults.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarImporter.h"
#include "foundation/UserDefaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

void BM_FindEventsForEntireWeek(benchmark::State& state) {
    EventService& service = *generated().service;
    int index = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const EventList events = service.synchronousFindEventsForEntireWeek(weekNumber(index));
        found += events.array().size();
        index += 37;
    }
    state.counters["events/week"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FindEventsForEntireWeek)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SearchWindowOf78Weeks(benchmark::State& state) {
    EventService& service = *generated().service;
    int index = 0;
    std::size_t matches = 0;
    for (auto _ : state) {
        const Date from = weekNumber(index).firstDay().beginDateTime();
        const Date to = DateUtilities::addWeeks(from, 78);
        const EventList events = service.synchronousFindEventsFromDateTime(from, to);
        for (const std::shared_ptr<EKEvent>& event : events.array()) {
            matches += SearchResults::matchesQuery(*event, "meeting office") ? 1 : 0;
        }
        index += 53;
    }
    state.counters["matches/window"] = static_cast<double>(matches) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchWindowOf78Weeks)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_ImportGeneratedIcs(benchmark::State& state) {
    GeneratedStore& source = generated();
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = source.folder.filePath(QString("import-%1.sqlite").arg(round++));
        EKEventStore store(path);
        const std::shared_ptr<EKCalendar> calendar = store.defaultCalendarForNewEvents();
        state.ResumeTiming();
        if (const ICalendarImportResult result = ICalendarImporter().import(source.icsPath, calendar, store);
            result.error) {
            state.SkipWithError(qPrintable(*result.error));
        }
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportGeneratedIcs)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
