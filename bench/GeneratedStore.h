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

// The titles and repeat rules the generated calendars draw from.
inline constexpr const char* generatedTitles[] = {"Meeting", "Lunch",    "Dentist", "Review",   "Call",
                                                  "Gym",     "Concert",  "Trip",    "Planning", "Doctor",
                                                  "Dinner",  "Workshop", "Standup", "Party",    "Class"};
inline constexpr const char* generatedRules[] = {"FREQ=WEEKLY;COUNT=52", "FREQ=DAILY;COUNT=30",
                                                 "FREQ=MONTHLY;BYMONTHDAY=15", "FREQ=YEARLY",
                                                 "FREQ=WEEKLY;BYDAY=MO,WE,FR;INTERVAL=2"};

// One of the store's weeks, cycling through the ten years.
Week weekNumber(int index);
