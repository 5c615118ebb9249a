// Measures the event editor on the generated 10,000-event store: from a tap on an event row to
// the editor's first frame drawn at the end of the push, and from "Done" to the store's commit
// with the pages updated. Both count the main thread's time only; the manual clock stands in
// for the animations' duration.
#include "WeekScreenInWindow.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/eventstore/EKEvent.h"
#include "kit/NavigationController.h"
#include "kit/TextField.h"
#include "kit/ViewRenderer.h"
#include "kit/Window.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/editor/InsetTextField.h"
#include "ui/week/WeekScrollViewController.h"

#include <benchmark/benchmark.h>

namespace {

// The week screen of the store's first week in a window, with an event of that week.
class EditorBenchScreen {
public:
    bool hasEvent() const { return m_week.event() != nullptr; }

    // A tap on the event's row: the bus report the row sends, the push, the drawing at its end.
    void openEditor() {
        const std::shared_ptr<EKEvent>& event = m_week.event();
        ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(event, event->startDate(),
                                                                                  nullptr);
        m_week.loop().advance(NavigationController::transitionDuration);
        Image frame = ViewRenderer::render(*editor().view(), 2.0);
        benchmark::DoNotOptimize(frame);
    }

    void closeEditor() {
        m_week.navigation().popViewControllerAnimated(false);
        m_week.loop().runUntilIdle();
    }

    EventDetailsViewController& editor() { return *m_week.screen().getOrCreateEventDetailsController(); }
    bool editorOnTop() {
        return m_week.navigation().topViewController() == m_week.screen().getOrCreateEventDetailsController();
    }
    // The event's title as the store has it now.
    QString storedTitle() const {
        const auto stored = generated().store->eventWithIdentifier(m_week.event()->eventIdentifier());
        return stored ? stored->title() : QString();
    }
    ManualRunLoop& loop() { return m_week.loop(); }

private:
    WeekScreenInWindow m_week;
};

void BM_EventTapToEditorFirstFrame(benchmark::State& state) {
    EditorBenchScreen screen;
    if (!screen.hasEvent()) {
        state.SkipWithError("the week has no writable single event");
        return;
    }
    for (auto _ : state) {
        screen.openEditor();
        state.PauseTiming();
        if (!screen.editorOnTop()) {
            state.SkipWithError("the tap did not open the editor");
            break;
        }
        screen.closeEditor();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EventTapToEditorFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_DoneToCommitAndPagesUpdated(benchmark::State& state) {
    EditorBenchScreen screen;
    if (!screen.hasEvent()) {
        state.SkipWithError("the week has no writable single event");
        return;
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        screen.openEditor();
        screen.editor().titleField()->setText(QStringLiteral("Changed %1").arg(++round));
        screen.editor().textChanged();
        state.ResumeTiming();
        screen.editor().saveEvent();
        screen.loop().runUntilIdle();
        state.PauseTiming();
        screen.loop().advance(NavigationController::transitionDuration);
        if (screen.storedTitle() != QStringLiteral("Changed %1").arg(round)) {
            state.SkipWithError("the store did not take the change");
            break;
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DoneToCommitAndPagesUpdated)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
