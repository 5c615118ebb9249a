#pragma once

#include "GeneratedStore.h"

#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "foundation/DispatchQueue.h"
#include "testing/ManualRunLoop.h"
#include "foundation/UserDefaults.h"

#include <memory>

// The screen's surroundings while a benchmark runs: the generated store as the shared event
// service, a manual main loop standing in the store's years, and background work run in place so
// that a load is measured from its start to the filled page. Puts everything back afterwards.
class WeekScreenEnvironment {
public:
    WeekScreenEnvironment()
        : m_loop(std::make_shared<ManualRunLoop>(weekNumber(0).firstDay().beginDateTime())) {
        GeneratedStore& store = generated();
        m_previousService = EventService::setSharedInstance(store.service);
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(store.folder.filePath("settings.ini")));
        RunLoop::setMain(m_loop);
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
    }
    ~WeekScreenEnvironment() {
        m_loop->runUntilIdle();
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
        RunLoop::setMain(nullptr);
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        EventService::setSharedInstance(m_previousService);
    }
    WeekScreenEnvironment(const WeekScreenEnvironment&) = delete;
    WeekScreenEnvironment& operator=(const WeekScreenEnvironment&) = delete;

    ManualRunLoop& loop() { return *m_loop; }

private:
    std::shared_ptr<ManualRunLoop> m_loop;
    std::shared_ptr<EventService> m_previousService;
    std::shared_ptr<UserDefaults> m_previousDefaults;
};
