#pragma once

#include "WeekScreenEnvironment.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "kit/NavigationController.h"
#include "kit/Window.h"
#include "ui/week/WeekScrollViewController.h"

#include <memory>

// The week screen of the store's first week in a window, as the program shows it, and the first
// single writable event of that week (null when the week has none).
class WeekScreenInWindow {
public:
    WeekScreenInWindow()
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
    ~WeekScreenInWindow() { m_navigation->popToRootViewControllerAnimated(false); }
    WeekScreenInWindow(const WeekScreenInWindow&) = delete;
    WeekScreenInWindow& operator=(const WeekScreenInWindow&) = delete;

    ManualRunLoop& loop() { return m_environment.loop(); }
    WeekScrollViewController& screen() { return *m_screen; }
    NavigationController& navigation() { return *m_navigation; }
    const std::shared_ptr<EKEvent>& event() const { return m_event; }

private:
    WeekScreenEnvironment m_environment;
    std::shared_ptr<WeekScrollViewController> m_screen;
    std::shared_ptr<NavigationController> m_navigation;
    std::shared_ptr<Window> m_window;
    std::shared_ptr<EKEvent> m_event;
};
