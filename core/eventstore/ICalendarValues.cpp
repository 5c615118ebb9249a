#include "core/eventstore/ICalendarValues.h"

#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/IcalRules.h"
#include "foundation/CivilDate.h"

#include <QList>

#include <cstring>

namespace ICalendarValues {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int number(const QByteArray& text, qsizetype from, qsizetype length) {
    int value = 0;
    for (qsizetype i = from; i < from + length; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

} // namespace

QString quoted(const QByteArray& text) {
    // Long values would drown the message.
    return QLatin1Char('"') + ContentLineReader::excerpt(text) + QLatin1Char('"');
}

QString presentText(QString text) {
    return text.isNull() ? QStringLiteral("") : text;
}

std::optional<DateTimeValue> readDateTimeValue(const QByteArray& text) {
    const qsizetype size = text.size();
    if (size != 8 && size != 15 && size != 16) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < size; ++i) {
        const bool digitExpected = i != 8 && i != 15;
        if (digitExpected != isDigit(text[i])) {
            return std::nullopt;
        }
    }
    DateTimeValue value;
    value.year = number(text, 0, 4);
    value.month = number(text, 4, 2);
    value.day = number(text, 6, 2);
    value.isDate = size == 8;
    if (!value.isDate) {
        if (text[8] != 'T' && text[8] != 't') {
            return std::nullopt;
        }
        value.hour = number(text, 9, 2);
        value.minute = number(text, 11, 2);
        value.second = number(text, 13, 2);
        if (size == 16) {
            if (text[15] != 'Z' && text[15] != 'z') {
                return std::nullopt;
            }
            value.isUtc = true;
        }
    }
    if (value.year < 1 || !CivilDate::isValid(value.year, value.month, value.day) || value.hour > 23 ||
        value.minute > 59 || value.second > 60) {
        return std::nullopt;
    }
    return value;
}

std::optional<DurationValue> readDurationValue(const QByteArray& text) {
    DurationValue value;
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        value.negative = text[i] == '-';
        ++i;
    }
    if (i >= size || text[i] != 'P') {
        return std::nullopt;
    }
    ++i;
    bool inTime = false;
    bool anyTimePart = false;
    bool anyPart = false;
    int lastRank = -1;
    while (i < size) {
        if (text[i] == 'T') {
            if (inTime) {
                return std::nullopt;
            }
            inTime = true;
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < size && isDigit(text[i])) {
            ++i;
        }
        if (i == start || i - start > 9 || i >= size) {
            return std::nullopt;
        }
        const int amount = number(text, start, i - start);
        const char unit = text[i++];
        static const char units[] = "WDHMS";
        const char* found = std::strchr(units, unit);
        // strchr also finds the terminating NUL.
        if (!found || unit == '\0') {
            return std::nullopt;
        }
        const int rank = int(found - units);
        if (rank <= lastRank || (rank >= 2) != inTime) {
            return std::nullopt;
        }
        lastRank = rank;
        anyPart = true;
        anyTimePart = anyTimePart || inTime;
        switch (unit) {
        case 'W':
            value.days += qint64(amount) * 7;
            break;
        case 'D':
            value.days += amount;
            break;
        case 'H':
            value.seconds += qint64(amount) * 3600;
            break;
        case 'M':
            value.seconds += qint64(amount) * 60;
            break;
        default:
            value.seconds += amount;
            break;
        }
    }
    if (!anyPart || (inTime && !anyTimePart)) {
        return std::nullopt;
    }
    return value;
}

std::optional<QByteArray> plainRule(const QByteArray& rule, QString* problem) {
    QByteArray scale;
    QByteArray skip;
    QList<QByteArray> kept;
    for (const QByteArray& part : rule.split(';')) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = part.left(equals).trimmed().toUpper();
        const QByteArray value = equals < 0 ? QByteArray() : part.mid(equals + 1).trimmed().toUpper();
        if (name == "RSCALE") {
            scale = value;
        } else if (name == "SKIP") {
            skip = value;
        } else {
            kept.append(part);
        }
    }
    if (!scale.isNull() && !IcalRules::knowsCalendar(scale)) {
        *problem = QStringLiteral("RSCALE=%1: rules in this calendar cannot be expanded")
                       .arg(QString::fromLatin1(scale.left(40)));
        return std::nullopt;
    }
    if (!skip.isNull() && scale.isNull()) {
        *problem = QStringLiteral("SKIP without RSCALE");
        return std::nullopt;
    }
    if (!skip.isNull() && skip != "OMIT" && skip != "BACKWARD" && skip != "FORWARD") {
        *problem = QStringLiteral("SKIP=%1 is not OMIT, BACKWARD or FORWARD")
                       .arg(QString::fromLatin1(skip.left(40)));
        return std::nullopt;
    }
    // Other calendars have a thirteenth month, and leap months ("5L").
    const bool gregorianMonths = scale.isNull() || scale == "GREGORIAN";
    bool hasFrequency = false;
    for (const QByteArray& part : kept) {
        const qsizetype equals = part.indexOf('=');
        const QByteArray name = part.left(equals).trimmed().toUpper();
        if (name == "FREQ") {
            hasFrequency = true;
        } else if (name == "BYMONTH") {
            for (const QByteArray& month : part.mid(equals + 1).split(',')) {
                bool ok = false;
                const bool leap = !gregorianMonths && month.trimmed().toUpper().endsWith('L');
                const int number = (leap ? month.trimmed().chopped(1) : month).toInt(&ok);
                if (!ok || number < 1 || number > (gregorianMonths ? 12 : 13)) {
                    *problem = QStringLiteral("BYMONTH %1 is not a month").arg(quoted(month));
                    return std::nullopt;
                }
            }
        }
    }
    if (!hasFrequency) {
        *problem = QStringLiteral("FREQ is missing");
        return std::nullopt;
    }
    // The plain Gregorian rule is given without its calendar, so that it expands as any other.
    if (gregorianMonths && (skip.isNull() || skip == "OMIT")) {
        return kept.join(';');
    }
    QByteArray scaled = "RSCALE=" + scale + ';' + kept.join(';');
    if (!skip.isNull()) {
        scaled += ";SKIP=" + skip;
    }
    return scaled;
}

} // namespace ICalendarValues
