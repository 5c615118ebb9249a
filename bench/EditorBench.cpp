// Measures the event editor on the generated 10,000-event store: from a tap on an event row to
// the editor's first frame drawn at the end of the push, and from "Done" to the store's commit
// with the pages updated. Both count the main thread's time only; the manual clock stands in
// for the animations' duration.
#include "WeekScreenEnvironment.h"

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
    EditorBenchScreen()
        : m_screen(WeekScrollViewController::create()),
          m_navigation(std::make_shared<NavigationController>(m_screen)),
          m_window(std::make_shared<Window>()) {
        m_navigation->installAsRootViewController(*m_window);
        m_window->makeKeyAndVisible();
        m_environment.loop().advance(1.0);
        const EventList week = generated().service->findEventsInWeek(m_screen->currentWeek());
        for (const auto& event : week.array()) {
            if (!event->hasRecurrenceRules() && event->calendar() &&
                event->calendar()->allowsContentModifications()) {
                m_event = event;
                break;
            }
        }
    }
    ~EditorBenchScreen() { m_navigation->popToRootViewControllerAnimated(false); }
    EditorBenchScreen(const EditorBenchScreen&) = delete;
    EditorBenchScreen& operator=(const EditorBenchScreen&) = delete;

    bool hasEvent() const { return m_event != nullptr; }

    // A tap on the event's row: the bus report the row sends, the push, the drawing at its end.
    void openEditor() {
        ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
            m_event, m_event->startDate(), nullptr);
        m_environment.loop().advance(NavigationController::transitionDuration);
        Image frame = ViewRenderer::render(*editor().view(), 2.0);
        benchmark::DoNotOptimize(frame);
    }

    void closeEditor() {
        m_navigation->popViewControllerAnimated(false);
        m_environment.loop().runUntilIdle();
    }

    EventDetailsViewController& editor() { return *m_screen->getOrCreateEventDetailsController(); }
    bool editorOnTop() {
        return m_navigation->topViewController() == m_screen->getOrCreateEventDetailsController();
    }
    // The event's title as the store has it now.
    QString storedTitle() const {
        const auto stored = generated().store->eventWithIdentifier(m_event->eventIdentifier());
        return stored ? stored->title() : QString();
    }
    ManualRunLoop& loop() { return m_environment.loop(); }

private:
    WeekScreenEnvironment m_environment;
    std::shared_ptr<WeekScrollViewController> m_screen;
    std::shared_ptr<NavigationController> m_navigation;
    std::shared_ptr<Window> m_window;
    std::shared_ptr<EKEvent> m_event;
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
