#pragma once

#include "foundation/Color.h"

#include <QString>

#include <optional>
#include <vector>

// One line of a mini day: what kind of event it shows, and the texts and colour to draw it with.
struct ThreeWeeksEventEntry {
    enum class Type {
        // A timed event starting that day: a coloured time box and the title.
        timed = 0,
        // An all-day event starting that day: a coloured bar with the title.
        allDay = 1,
        // An event of the birthday calendar: a small cake and the title.
        birthday = 2,
        // A timed event continuing from an earlier day: an arrow and the title.
        timedContinued = 3,
        // An all-day event continuing from an earlier day: an arrow on the bar, then the title.
        allDayContinued = 4,
    };

    Type type = Type::timed;
    std::optional<QString> time;
    QString title;
    std::optional<Color> color;

    // The same event on a later day of the week.
    ThreeWeeksEventEntry continued() const {
        ThreeWeeksEventEntry entry = *this;
        if (type == Type::timed) {
            entry.type = Type::timedContinued;
        } else if (type == Type::allDay) {
            entry.type = Type::allDayContinued;
        }
        return entry;
    }
};

// The entries of one day, in the order the event service gave the events.
using ThreeWeeksDayEvents = std::vector<ThreeWeeksEventEntry>;
// A week page's data: one list per weekday index counted from the week's first day; the list is
// only as long as its last day with entries, and a day without entries holds an empty list.
using ThreeWeeksWeekEvents = std::vector<ThreeWeeksDayEvents>;
