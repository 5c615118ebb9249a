// Measures quick move on the generated 10,000-event store: the main thread's time from the tap
// on the target day to the week screen drawn with the rows in their new place. The save that
// follows half a second later is not part of it.
#include "WeekScreenInWindow.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "kit/ViewRenderer.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/week/WeekScrollViewController.h"

#include <benchmark/benchmark.h>

namespace {

// The week screen of the store's first week, with a single writable event of that week that is
// moved back and forth between two other days of the week, and put back at the end.
class QuickMoveBenchScreen {
public:
    QuickMoveBenchScreen() {
        if (const std::shared_ptr<EKEvent>& event = m_week.event()) {
            m_originalStart = event->startDate();
        }
    }
    ~QuickMoveBenchScreen() {
        if (const std::shared_ptr<EKEvent>& event = m_week.event()) {
            const double duration = event->endDate().timeIntervalSinceDate(event->startDate());
            event->setStartDate(m_originalStart);
            event->setEndDate(m_originalStart.addingTimeInterval(duration));
            generated().service->saveEvent(event, EKSpan::ThisEvent);
        }
    }
    QuickMoveBenchScreen(const QuickMoveBenchScreen&) = delete;
    QuickMoveBenchScreen& operator=(const QuickMoveBenchScreen&) = delete;

    bool hasEvent() const { return m_week.event() != nullptr; }

    // The hold and the menu's move choice, with the bar slid in.
    void startQuickMove() {
        const std::shared_ptr<EKEvent>& event = m_week.event();
        ApplicationEventDispatcher::sharedInstance().dispatch<ActivateCopyMoveEvent>(
            event, DateUtilities::day(event->startDate()).beginDateTime(), false);
        m_week.loop().advance(1.0);
    }

    // The tap on another day of the week (one of two, alternately), then the screen drawn.
    void tapTargetDay() {
        const Date weekStart = m_week.screen().currentWeek().firstDay().beginDateTime();
        const int ownDay = DateUtilities::daysTo(weekStart, m_originalStart);
        const int day = (m_round++ % 2 == 0) ? (ownDay == 5 ? 3 : 5) : (ownDay == 6 ? 4 : 6);
        ApplicationEventDispatcher::sharedInstance().dispatch<DateSelectedEvent>(
            DateUtilities::addDays(weekStart, day), nullptr);
        Image frame = ViewRenderer::render(*m_week.screen().view(), 2.0);
        benchmark::DoNotOptimize(frame);
    }

    // The delayed save and the animations run out.
    void finish() { m_week.loop().advance(1.0); }

    bool moved() const { return !CopyMoveEventMode::sharedInstance().activated(); }

private:
    WeekScreenInWindow m_week;
    Date m_originalStart;
    int m_round = 0;
};

void BM_QuickMoveTapToRowsDrawn(benchmark::State& state) {
    QuickMoveBenchScreen screen;
    if (!screen.hasEvent()) {
        state.SkipWithError("the week has no writable single event");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        screen.startQuickMove();
        state.ResumeTiming();
        screen.tapTargetDay();
        state.PauseTiming();
        const bool moved = screen.moved();
        screen.finish();
        state.ResumeTiming();
        if (!moved) {
            state.SkipWithError("the tap did not complete the move");
            break;
        }
    }
}
BENCHMARK(BM_QuickMoveTapToRowsDrawn)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
