#pragma once

#include "GeneratedEvents.h"

#include "core/calendar/Week.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class EKEventStore;
class EventService;

// A generated calendar shared by the benchmarks: 10,000 events over ten years (2020 to 2029),
// 5% of them repeating, some all-day and multi-day, in two time zones, in a store of a temporary
// data folder, with an event service on it. Made on first use and kept for the whole run.
struct GeneratedStore {
    static constexpr int eventCount = GeneratedEvents::eventCount;
    static constexpr int firstYear = GeneratedEvents::firstYear;
    static constexpr int years = GeneratedEvents::years;

    GeneratedStore();

    QTemporaryDir folder;
    std::shared_ptr<EKEventStore> store;
    std::shared_ptr<EventService> service;
    // The whole calendar exported as iCalendar.
    QString icsPath;
};

GeneratedStore& generated();

// The titles and repeat rules the generated calendars draw from.
inline constexpr const auto& generatedTitles = GeneratedEvents::titles;
inline constexpr const auto& generatedRules = GeneratedEvents::rules;

// One of the store's weeks, cycling through the ten years.
Week weekNumber(int index);
