#pragma once

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
    static constexpr int eventCount = 10000;
    static constexpr int firstYear = 2020;
    static constexpr int years = 10;

    GeneratedStore();

    QTemporaryDir folder;
    std::shared_ptr<EKEventStore> store;
    std::shared_ptr<EventService> service;
    // The whole calendar exported as iCalendar.
    QString icsPath;
};

GeneratedStore& generated();

// One of the store's weeks, cycling through the ten years.
Week weekNumber(int index);
