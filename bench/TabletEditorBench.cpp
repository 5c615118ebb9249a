// Measures the tablet's compact editor on the generated 10,000-event store: from a tap on an event
// row to the first frame of the editor popover beside it (the main thread's time only).
#include "WeekScreenEnvironment.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "kit/NavigationController.h"
#include "kit/PopoverController.h"
#include "kit/PopoverView.h"
#include "kit/Screen.h"
#include "kit/ViewRenderer.h"
#include "kit/Window.h"
#include "ui/daybox/EventView.h"
#include "ui/tablet/IPadEventDetailsController.h"
#include "ui/tablet/IPadWeekScrollViewController.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekViewController.h"

#include <benchmark/benchmark.h>

namespace {

// The tablet week screen of the store's first week in a window, and a row of that week showing a
// writable event.
class TabletEditorBenchScreen {
public:
    TabletEditorBenchScreen() {
        Screen::main().setIdiom(Screen::Idiom::Tablet);
        m_screen = IPadWeekScrollViewController::create();
        m_navigation = std::make_shared<NavigationController>(m_screen);
        m_window = std::make_shared<Window>();
        m_navigation->installAsRootViewController(*m_window);
        m_window->makeKeyAndVisible();
        m_environment.loop().advance(1.0);
        for (const auto& day : m_screen->weekViews()[1]->dayViewControllers()) {
            for (const auto& row : day->eventViews()) {
                if (!m_row && !row->hidden() && row->event() && !row->event()->hasRecurrenceRules() &&
                    !ReadOnlyCheck::isReadOnly(*row->event())) {
                    m_row = row;
                    m_day = day;
                }
            }
        }
    }
    ~TabletEditorBenchScreen() {
        m_navigation->popToRootViewControllerAnimated(false);
        Screen::main().setIdiom(Screen::Idiom::Phone);
    }
    TabletEditorBenchScreen(const TabletEditorBenchScreen&) = delete;
    TabletEditorBenchScreen& operator=(const TabletEditorBenchScreen&) = delete;

    bool hasRow() const { return m_row != nullptr; }

    // The report the row sends on a tap, the popover's making and its first frame drawn.
    void openEditor() {
        ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(
            m_row->event(), m_day->displayedDate(), m_day->dayView());
        // The popover fades in: its first frame is drawn one display refresh later.
        m_environment.loop().advance(1.0 / 60.0);
        const auto popoverView = editor()->popoverController()->popoverView();
        Image frame = ViewRenderer::render(*popoverView, Screen::main().scale());
        benchmark::DoNotOptimize(frame);
    }
    bool popoverShown() const {
        return editor() && editor()->popoverController() && editor()->popoverController()->isPopoverVisible();
    }
    void closeEditor() {
        editor()->dismissPopover();
        m_environment.loop().advance(1.0);
        m_environment.loop().runUntilIdle();
    }

private:
    const std::shared_ptr<IPadEventDetailsController>& editor() const {
        return m_screen->iPadEventDetailsController();
    }

    WeekScreenEnvironment m_environment;
    std::shared_ptr<IPadWeekScrollViewController> m_screen;
    std::shared_ptr<NavigationController> m_navigation;
    std::shared_ptr<Window> m_window;
    std::shared_ptr<DayViewController> m_day;
    std::shared_ptr<EventView> m_row;
};

void BM_TabletEventTapToEditorPopoverFirstFrame(benchmark::State& state) {
    TabletEditorBenchScreen screen;
    if (!screen.hasRow()) {
        state.SkipWithError("the week shows no writable single event");
        return;
    }
    for (auto _ : state) {
        screen.openEditor();
        state.PauseTiming();
        if (!screen.popoverShown()) {
            state.SkipWithError("the tap did not open the editor popover");
            break;
        }
        screen.closeEditor();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TabletEventTapToEditorPopoverFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
