#pragma once

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <random>

// Random but reproducible .ics files for the property test and the fuzzer: every frequency, the
// BY-parts, counts and ends, excluded dates, changed and cancelled occurrences, zones (named,
// UTC, floating, the file's own), all-day events, alarms and long texts with escapes and
// characters beyond ASCII.
class ICalendarGenerator {
public:
    explicit ICalendarGenerator(unsigned seed) : m_random(seed) {}

    QByteArray file(int events) {
        QStringList lines{"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Generator//EN"};
        if (chance(30)) {
            lines += {"BEGIN:VTIMEZONE",
                      "TZID:Generated",
                      "BEGIN:STANDARD",
                      "DTSTART:19701025T030000",
                      "TZOFFSETFROM:+0300",
                      "TZOFFSETTO:+0200",
                      "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU",
                      "END:STANDARD",
                      "BEGIN:DAYLIGHT",
                      "DTSTART:19700329T020000",
                      "TZOFFSETFROM:+0200",
                      "TZOFFSETTO:+0300",
                      "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
                      "END:DAYLIGHT",
                      "END:VTIMEZONE"};
        }
        for (int index = 0; index < events; ++index) {
            event(QStringLiteral("u%1").arg(index), lines);
        }
        lines.append("END:VCALENDAR");
        return (lines.join("\r\n") + "\r\n").toUtf8();
    }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(int percent) { return number(0, 99) < percent; }
    std::mt19937& random() { return m_random; }

private:
    template <size_t n> QString pick(const char* const (&choices)[n]) {
        return QString::fromUtf8(choices[number(0, int(n) - 1)]);
    }

    QString text(int words) {
        static const char* const pieces[] = {"Meeting", "Grüße",        "日本",          "a\\, b",
                                             "x\\;y",   "line\\nbreak", "back\\\\slash", "émoji 🎉",
                                             "Room 4",  "\"quoted\""};
        QStringList parts;
        for (int i = 0; i < words; ++i) {
            parts.append(pick(pieces));
        }
        return parts.join(' ');
    }

    // DATE or DATE-TIME fields of a day in 2023 to 2026 and a time of that day.
    QString stamp(int day, int minutes, bool allDay) {
        const QDate date = QDate(2023, 1, 1).addDays(day);
        QString value = date.toString("yyyyMMdd");
        if (!allDay) {
            value += QStringLiteral("T%1%2")
                         .arg(minutes / 60, 2, 10, QChar('0'))
                         .arg(minutes % 60, 2, 10, QChar('0')) +
                     "00";
        }
        return value;
    }

    void event(const QString& uid, QStringList& lines) {
        const bool allDay = chance(20);
        static const char* const zones[] = {";TZID=Europe/Berlin", ";TZID=America/New_York", "",
                                            ";TZID=Asia/Kolkata", ";TZID=Generated"};
        const QString zone = allDay ? QStringLiteral(";VALUE=DATE") : pick(zones);
        const bool utc = !allDay && zone.isEmpty() && chance(50);
        const int day = number(0, 1300);
        const int minutes = number(0, 47) * 30;
        const auto time = [&](int dayOffset, int minuteOffset) {
            return zone + ':' + stamp(day + dayOffset, minutes + minuteOffset, allDay) + (utc ? "Z" : "");
        };
        lines += {"BEGIN:VEVENT", "UID:" + uid, "DTSTART" + time(0, 0),
                  "SUMMARY:" + text(number(1, chance(10) ? 40 : 4))};
        if (chance(70)) {
            lines.append(allDay ? "DTEND" + time(number(1, 3), 0) : "DTEND" + time(0, number(0, 6) * 30));
        } else if (chance(50)) {
            lines.append(allDay ? QStringLiteral("DURATION:P%1D").arg(number(1, 3))
                                : QStringLiteral("DURATION:PT%1M").arg(number(0, 300)));
        }
        if (chance(30)) {
            lines.append("LOCATION:" + text(2));
        }
        if (chance(20)) {
            lines += {"BEGIN:VALARM", QStringLiteral("TRIGGER:-PT%1M").arg(number(0, 120)), "ACTION:DISPLAY",
                      "END:VALARM"};
        }
        if (!chance(50)) {
            lines.append("END:VEVENT");
            return;
        }
        lines.append("RRULE:" + rule());
        for (int i = 0, n = number(0, 2); i < n; ++i) {
            lines.append("EXDATE" + time(number(1, 60), 0));
        }
        lines.append("END:VEVENT");
        if (chance(30)) {
            const int shift = number(1, 40);
            lines += {"BEGIN:VEVENT",
                      "UID:" + uid,
                      "RECURRENCE-ID" + time(shift, 0),
                      "DTSTART" + time(shift, 60),
                      "SUMMARY:moved",
                      chance(30) ? "STATUS:CANCELLED" : "STATUS:CONFIRMED",
                      "END:VEVENT"};
        }
    }

    QString rule() {
        static const char* const frequencies[] = {"DAILY", "WEEKLY", "MONTHLY", "YEARLY", "HOURLY"};
        static const char* const parts[] = {"BYDAY=MO,WE,FR",
                                            "BYDAY=1MO,-1FR",
                                            "BYMONTHDAY=1,15,-1",
                                            "BYMONTH=1,6,12",
                                            "BYSETPOS=1,-1;BYDAY=MO,TU,WE,TH,FR",
                                            "BYWEEKNO=1,20,53",
                                            "BYYEARDAY=1,100,-1",
                                            "BYHOUR=9,17",
                                            "WKST=SU;BYDAY=SU,TU"};
        const QString frequency = pick(frequencies);
        QString text = "FREQ=" + frequency;
        if (chance(40)) {
            text += QStringLiteral(";INTERVAL=%1").arg(number(2, 4));
        }
        if (frequency != "HOURLY" && chance(50)) {
            text += ';' + pick(parts);
        }
        if (chance(40)) {
            text += QStringLiteral(";COUNT=%1").arg(number(1, 30));
        } else if (chance(40) || frequency == "HOURLY") {
            text += ";UNTIL=" + stamp(number(1300, 1400), 0, false) + "Z";
        }
        return text;
    }

    std::mt19937 m_random;
};
