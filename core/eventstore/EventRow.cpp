#include "core/eventstore/EventRow.h"

#include "core/eventstore/WallClock.h"
#include "core/sqlite/SqliteStatement.h"
#include "foundation/CivilDate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

const char* EventRow::columns() {
    return "e.id, e.identifier, e.recurrence_id, e.series_id, e.calendar_id, e.kind, e.title, e.location, "
           "e.notes, e.url, e.all_day, e.tzid, e.dtstart, e.dtend, e.start_utc, e.end_utc, e.rrule, "
           "e.count_end, e.exdates, e.alarms, e.revision, e.other_properties, e.sequence, e.last_modified, "
           "e.uid";
}

void EventRow::readFrom(const SqliteStatement& statement, int first) {
    id = statement.int64(first + 0);
    identifier = statement.text(first + 1);
    recurrenceId = statement.text(first + 2);
    seriesId = statement.int64(first + 3);
    calendarId = statement.int64(first + 4);
    kind = statement.integer(first + 5);
    title = statement.text(first + 6);
    location = statement.text(first + 7);
    notes = statement.text(first + 8);
    url = statement.text(first + 9);
    allDay = statement.integer(first + 10) != 0;
    tzid = statement.text(first + 11);
    dtstart = statement.text(first + 12);
    dtend = statement.text(first + 13);
    startUtc = statement.real(first + 14);
    endUtc = statement.real(first + 15);
    rrule = statement.text(first + 16);
    countEnd = statement.text(first + 17);
    exdates = statement.text(first + 18);
    alarms = statement.text(first + 19);
    revision = statement.int64(first + 20);
    otherProperties = statement.text(first + 21);
    sequence = statement.integer(first + 22);
    lastModified = statement.isNull(first + 23) ? std::nullopt : std::optional(statement.real(first + 23));
    uid = statement.text(first + 24);
}

std::int64_t EventRow::startWall() const {
    return WallClock::parseWall(dtstart).value_or(0);
}

std::int64_t EventRow::endWall() const {
    return WallClock::parseWall(dtend).value_or(startWall());
}

Date EventRow::startDate() const {
    if (allDay) {
        return WallClock::startOfDay(CivilDate::floorDiv(startWall(), WallClock::secondsPerDay));
    }
    return Date::withTimeIntervalSince1970(startUtc);
}

Date EventRow::endDate() const {
    if (allDay) {
        return WallClock::startOfDay(CivilDate::floorDiv(endWall(), WallClock::secondsPerDay));
    }
    return Date::withTimeIntervalSince1970(endUtc);
}

std::vector<std::int64_t> EventRow::excludedWalls() const {
    std::vector<std::int64_t> walls;
    if (exdates.isEmpty()) {
        return walls;
    }
    const QStringList parts = exdates.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    walls.reserve(static_cast<std::size_t>(parts.size()));
    for (const QString& part : parts) {
        if (const std::optional<std::int64_t> wall = WallClock::parseWall(part)) {
            walls.push_back(*wall);
        }
    }
    return walls;
}

void EventRow::setExcludedWalls(const std::vector<std::int64_t>& walls) {
    if (walls.empty()) {
        exdates = QString();
        return;
    }
    QStringList parts;
    for (const std::int64_t wall : walls) {
        parts.append(formatFrameWall(wall, allDay));
    }
    parts.removeDuplicates();
    exdates = parts.join(QLatin1Char(' '));
}

// Alarms made here are their offsets, separated by commas. Alarms that keep content lines of
// another program are a JSON array of {"offset", "properties"} objects.
QString EventRow::formatAlarms(const std::vector<EKAlarm>& alarms) {
    if (alarms.empty()) {
        return QString();
    }
    const bool plain = std::all_of(alarms.begin(), alarms.end(),
                                   [](const EKAlarm& alarm) { return alarm.otherProperties().isEmpty(); });
    if (!plain) {
        QJsonArray list;
        for (const EKAlarm& alarm : alarms) {
            list.append(QJsonObject{{QStringLiteral("offset"), alarm.relativeOffset()},
                                    {QStringLiteral("properties"), alarm.otherProperties()}});
        }
        return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    }
    QStringList parts;
    for (const EKAlarm& alarm : alarms) {
        parts.append(QString::number(alarm.relativeOffset(), 'g', 17));
    }
    return parts.join(QLatin1Char(','));
}

std::vector<EKAlarm> EventRow::parseAlarms(const QString& text) {
    std::vector<EKAlarm> alarms;
    if (text.startsWith(QLatin1Char('['))) {
        for (const QJsonValue& item : QJsonDocument::fromJson(text.toUtf8()).array()) {
            const QJsonObject object = item.toObject();
            if (!object.value(QStringLiteral("offset")).isDouble()) {
                continue;
            }
            EKAlarm alarm =
                EKAlarm::alarmWithRelativeOffset(object.value(QStringLiteral("offset")).toDouble());
            alarm.setOtherProperties(object.value(QStringLiteral("properties")).toString());
            alarms.push_back(std::move(alarm));
        }
        return alarms;
    }
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const double offset = part.toDouble(&ok);
        if (ok) {
            alarms.push_back(EKAlarm::alarmWithRelativeOffset(offset));
        }
    }
    return alarms;
}

QString EventRow::formatFrameWall(std::int64_t wall, bool allDay) {
    return allDay ? WallClock::formatDay(CivilDate::floorDiv(wall, WallClock::secondsPerDay))
                  : WallClock::formatWall(wall);
}

std::optional<std::int64_t> EventRow::parseFrameWall(const QString& text) {
    return WallClock::parseWall(text);
}
