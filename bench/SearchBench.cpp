// Measures search on the generated 10,000-event store, on the main thread with the engine's
// store queries run in place: from "next" to the result's page scrolled to, highlighted and
// drawn, for a result three years ahead; and one step to the next occurrence in the same week
// (the bubble moved, without drawing the screen).
#include "WeekScreenInWindow.h"

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "kit/KeyInput.h"
#include "kit/ViewRenderer.h"
#include "ui/search/SearchBarView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/search/SearchTextField.h"
#include "ui/week/WeekScrollViewController.h"

#include <benchmark/benchmark.h>

#include <Qt>

namespace {

// Events whose title no generated event holds, added to the store once for the whole run.
void addSearchBenchEvent(const QString& title, Date start) {
    EKEventStore& store = *generated().store;
    const auto event = EKEvent::eventWithEventStore(store);
    event->setTitle(title);
    event->setStartDate(start);
    event->setEndDate(start.addingTimeInterval(3600));
    event->setCalendar(store.defaultCalendarForNewEvents());
    StoreError error;
    store.saveEvent(event, EKSpan::ThisEvent, &error);
}

// The week screen of the store's first week with search open on `query`.
class SearchBenchScreen {
public:
    explicit SearchBenchScreen(const QString& query) {
        KeyInput controlF;
        controlF.key = Qt::Key_F;
        controlF.modifiers = Qt::ControlModifier;
        m_week.screen().handleKeyInput(controlF);
        m_week.loop().advance(1.0);
        bar().searchTextField()->setText(query);
        restart();
    }
    SearchBenchScreen(const SearchBenchScreen&) = delete;
    SearchBenchScreen& operator=(const SearchBenchScreen&) = delete;

    SearchBarView& bar() { return *m_week.screen().searchBar(); }
    WeekScrollViewController& screen() { return m_week.screen(); }

    // Back to the first week, with a new search.
    void restart() {
        m_week.screen().scrollToWeek(weekNumber(0), false, false);
        m_week.loop().advance(1.0);
        bar().searchQueryChanged();
    }

    // "Next" and any scroll run out; drawn, when asked, as the window would draw it then.
    bool next(bool draw) {
        bar().searchNext();
        m_week.loop().runUntilIdle();
        m_week.loop().advance(1.0);
        if (draw) {
            Image frame = ViewRenderer::render(*m_week.screen().view(), 2.0);
            benchmark::DoNotOptimize(frame);
        }
        return SearchResultHighlightView::selectedResultInstance()->superview() != nullptr;
    }

private:
    WeekScreenInWindow m_week;
};

void BM_SearchNextThreeYearsAhead(benchmark::State& state) {
    static const bool added =
        (addSearchBenchEvent("Quokka", weekNumber(3 * 52).firstDay().beginDateTime().addingTimeInterval(
                                           2 * 86400 + 10 * 3600)),
         true);
    benchmark::DoNotOptimize(added);
    SearchBenchScreen screen("quokka");
    const Week target = weekNumber(3 * 52);
    for (auto _ : state) {
        const bool highlighted = screen.next(true);
        state.PauseTiming();
        const bool arrived = screen.screen().currentWeek() == target;
        screen.restart();
        state.ResumeTiming();
        if (!highlighted || !arrived) {
            state.SkipWithError("the result was not shown in its week");
            break;
        }
    }
}
BENCHMARK(BM_SearchNextThreeYearsAhead)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SearchStepWithinTheWeek(benchmark::State& state) {
    constexpr int days = 7;
    static const bool added = [] {
        const Date monday = weekNumber(0).firstDay().beginDateTime();
        for (int day = 0; day < days; ++day) {
            addSearchBenchEvent("Pilates", DateUtilities::addDays(monday, day).addingTimeInterval(7 * 3600));
        }
        return true;
    }();
    benchmark::DoNotOptimize(added);
    SearchBenchScreen screen("pilates");
    screen.next(false);
    int step = 1;
    for (auto _ : state) {
        if (step == days) {
            state.PauseTiming();
            screen.restart();
            screen.next(false);
            step = 1;
            state.ResumeTiming();
        }
        if (!screen.next(false) || screen.screen().currentWeek() != weekNumber(0)) {
            state.SkipWithError("the step left the week");
            break;
        }
        ++step;
    }
}
BENCHMARK(BM_SearchStepWithinTheWeek)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
