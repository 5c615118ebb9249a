#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What the date picker's wheels take from a locale: how its short time format writes the hour and
// the day period, the order of month, day and year in its medium (or short) date format, and its
// names of the months as they stand alone.
class DatePickerFormat {
public:
    enum class DateField { Month, Day, Year };

    // "HH:mm", month day year, the months by number: what a locale without facts gets.
    DatePickerFormat();
    explicit DatePickerFormat(const QString& localeIdentifier);

    bool usesTwelveHourClock() const { return m_hourLetter == 'h' || m_hourLetter == 'K'; }
    // Whether the day period comes before the hour ("오후 3:00").
    bool amPmFirst() const { return m_amPmFirst; }
    // The rows of an hour wheel from the hour 0 on: "00" to "23", "1" to "24", "12" and "1" to
    // "11", or "0" to "11", padded as the locale pads them.
    QStringList hourTitles() const;
    const QStringList& amPmSymbols() const { return m_amPmSymbols; }
    const std::vector<DateField>& dateOrder() const { return m_dateOrder; }
    // Twelve names each, from January on.
    const QStringList& monthNames() const { return m_monthNames; }
    const QStringList& abbreviatedMonthNames() const { return m_abbreviatedMonthNames; }

private:
    void readTimeFormat(const QString& pattern);
    void readDateFormat(const QString& pattern);

    // The hour pattern letter of the locale: 'H' (0–23), 'k' (1–24), 'h' (1–12) or 'K' (0–11).
    char m_hourLetter = 'H';
    bool m_padHours = true;
    bool m_amPmFirst = false;
    QStringList m_amPmSymbols{QStringLiteral("AM"), QStringLiteral("PM")};
    std::vector<DateField> m_dateOrder{DateField::Month, DateField::Day, DateField::Year};
    QStringList m_monthNames;
    QStringList m_abbreviatedMonthNames;
};
