#pragma once

#include <QString>

// The store's error object: a code and a text that can be shown to the user.
struct StoreError {
    enum Code {
        None = 0,
        NoCalendar = 1,
        CalendarReadOnly = 2,
        CalendarNotFound = 3,
        InvalidDates = 4,
        EventNotFound = 5,
        InvalidRecurrence = 6,
        BadFile = 7,
        Database = 8,
    };

    int code = 0;
    QString localizedDescription;
};
