#pragma once

#include <QString>

// Weekday and month names of the user's locale (ICU's default locale), as ICU's date format
// symbols give them in the format context.
class LocaleSymbols {
public:
    // The short name of weekday 1 (Sunday) … 7 (Saturday); empty for other numbers.
    static QString shortWeekdaySymbol(int weekday);
    // The full name of month 1 … 12; empty for other numbers.
    static QString monthSymbol(int month);
};
