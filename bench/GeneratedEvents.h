#pragma once

#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EKRecurrenceRule.h"

#include <QString>

#include <memory>
#include <random>
#include <vector>

// The events of the generated calendar: 10,000 over ten years (2020 to 2029), 5% of them
// repeating, some all-day and multi-day, in two time zones. Always the same events for a store,
// so that the benchmarks and the screen tests that use them see one calendar.
namespace GeneratedEvents {

inline constexpr int eventCount = 10000;
inline constexpr int firstYear = 2020;
inline constexpr int years = 10;

// The titles and repeat rules the generated calendars draw from.
inline constexpr const char* titles[] = {"Meeting", "Lunch",    "Dentist", "Review",   "Call",
                                         "Gym",     "Concert",  "Trip",    "Planning", "Doctor",
                                         "Dinner",  "Workshop", "Standup", "Party",    "Class"};
inline constexpr const char* rules[] = {"FREQ=WEEKLY;COUNT=52", "FREQ=DAILY;COUNT=30",
                                        "FREQ=MONTHLY;BYMONTHDAY=15", "FREQ=YEARLY",
                                        "FREQ=WEEKLY;BYDAY=MO,WE,FR;INTERVAL=2"};
inline constexpr const char* places[] = {"Office", "Room 4", "Cafe", "Downtown", "Home", "", "", ""};

inline std::shared_ptr<EKEvent> event(EKEventStore& store, std::mt19937& random, int index) {
    auto event = EKEvent::eventWithEventStore(store);
    std::uniform_int_distribution<int> dayOfRange(0, years * 365 - 1);
    std::uniform_int_distribution<int> hour(7, 20);
    std::uniform_int_distribution<int> pick(0, 99);
    const Date day = DateUtilities::addDays(DateUtilities::dateWithYear(firstYear, 1, 1), dayOfRange(random));
    event->setTitle(QString("%1 %2").arg(titles[index % 15]).arg(index));
    event->setLocation(places[index % 8]);
    event->setTimeZone(index % 2 == 0 ? "Europe/Berlin" : "America/New_York");
    const int kind = pick(random);
    if (kind < 10) { // all-day, some of them several days long
        event->setAllDay(true);
        event->setStartDate(day);
        event->setEndDate(DateUtilities::addDays(day, kind < 3 ? 3 : 1));
    } else {
        const Date start = DateUtilities::addHours(day, hour(random));
        event->setStartDate(start);
        event->setEndDate(start.addingTimeInterval(kind < 15 ? 2 * 86400.0 : 3600.0));
    }
    if (index % 20 == 0) { // 5% repeat
        QString error;
        event->setRecurrenceRule(EKRecurrenceRule::fromRRule(rules[(index / 20) % 5], &error));
    }
    return event;
}

// All of them, in the calendar, ready for one saveEvents.
inline std::vector<std::shared_ptr<EKEvent>> all(EKEventStore& store,
                                                 const std::shared_ptr<EKCalendar>& calendar) {
    std::mt19937 random(20121225);
    std::vector<std::shared_ptr<EKEvent>> events;
    events.reserve(eventCount);
    for (int index = 0; index < eventCount; ++index) {
        events.push_back(event(store, random, index));
        events.back()->setCalendar(calendar);
    }
    return events;
}

} // namespace GeneratedEvents
