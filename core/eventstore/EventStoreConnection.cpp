#include "core/eventstore/EventStoreConnection.h"

#include "core/eventstore/WallClock.h"
#include "foundation/CivilDate.h"
#include "foundation/Log.h"

#include <QStringList>

#include <map>
#include <unordered_map>

namespace {

// Logs a read that failed (its rows are then missing from the answer) and rewinds the statement
// for its next use.
void finish(SqliteStatement& query) {
    if (const SqliteResult result = query.result(); !result) {
        Log::error(QStringLiteral("eventstore"), result.error().description());
    }
    query.reset();
}

// The row the statement gives first, if any.
std::optional<EventRow> firstRow(SqliteStatement& query) {
    std::optional<EventRow> row;
    if (query.step()) {
        row.emplace();
        row->readFrom(query);
    }
    finish(query);
    return row;
}

// Occurrences searched through when looking for the first one that is not excluded.
constexpr int firstOccurrenceBudget = 100000;

std::optional<Color> parseColor(const QString& text) {
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 4) {
        return std::nullopt;
    }
    return Color(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(), parts[3].toDouble());
}

} // namespace

SqliteResult EventStoreConnection::open(const QString& path) {
    return m_sql.open(path, SqliteConnection::Mode::ReadWrite);
}

void EventStoreConnection::beginRead() {
    if (const SqliteResult begun = m_sql.exec(QStringLiteral("BEGIN")); !begun) {
        Log::error(QStringLiteral("eventstore"), begun.error().description());
    }
}

void EventStoreConnection::endRead() {
    if (const SqliteResult ended = m_sql.exec(QStringLiteral("COMMIT")); !ended) {
        Log::error(QStringLiteral("eventstore"), ended.error().description());
    }
}

std::vector<EventStoreConnection::CalendarInfo> EventStoreConnection::calendars() {
    std::vector<CalendarInfo> result;
    std::map<QString, std::shared_ptr<const EKSource>> sources;
    SqliteStatement& query =
        m_sql.statement("SELECT c.id, c.identifier, c.title, c.color, c.type, c.feed_path, c.feed_stamp, "
                        "s.identifier, s.title, s.type, c.read_only, c.remote_url "
                        "FROM calendars c JOIN sources s ON s.id = c.source_id ORDER BY c.id");
    while (query.step()) {
        const QString sourceIdentifier = query.text(7);
        auto source = sources.find(sourceIdentifier);
        if (source == sources.end()) {
            source =
                sources
                    .emplace(sourceIdentifier,
                             std::make_shared<const EKSource>(sourceIdentifier, query.text(8),
                                                              static_cast<EKSourceType>(query.integer(9))))
                    .first;
        }
        CalendarInfo info;
        info.id = query.int64(0);
        info.calendar = std::make_shared<EKCalendar>(
            query.text(1), static_cast<EKCalendarType>(query.integer(4)), source->second);
        info.calendar->setTitle(query.text(2));
        info.calendar->setColor(parseColor(query.text(3)));
        info.calendar->setReadOnly(query.integer(10) != 0);
        info.feedPath = query.text(5);
        info.feedStamp = query.text(6);
        if (info.calendar->type() == EKCalendarType::Subscription) {
            // A file, or the address of a calendar on the web.
            info.calendar->setSubscriptionPath(info.feedPath.isEmpty() ? query.text(11) : info.feedPath);
        }
        result.push_back(std::move(info));
    }
    finish(query);
    return result;
}

std::vector<std::shared_ptr<const EKSource>> EventStoreConnection::sources() {
    std::vector<std::shared_ptr<const EKSource>> result;
    SqliteStatement& query = m_sql.statement("SELECT identifier, title, type FROM sources ORDER BY id");
    while (query.step()) {
        result.push_back(std::make_shared<const EKSource>(query.text(0), query.text(1),
                                                          static_cast<EKSourceType>(query.integer(2))));
    }
    finish(query);
    return result;
}

std::optional<EventStoreConnection::CalendarInfo>
EventStoreConnection::calendarWithIdentifier(const QString& identifier) {
    for (CalendarInfo& info : calendars()) {
        if (info.calendar->calendarIdentifier() == identifier) {
            return std::move(info);
        }
    }
    return std::nullopt;
}

QString EventStoreConnection::setting(const QString& key) {
    SqliteStatement& query = m_sql.statement("SELECT value FROM settings WHERE key = ?1");
    query.bind(1, key);
    const QString value = query.step() ? query.text(0) : QString();
    finish(query);
    return value;
}

std::optional<EventRow> EventStoreConnection::rowWithIdentifier(const QString& identifier) {
    static const QByteArray sql = QByteArray("SELECT ") + EventRow::columns() +
                                  " FROM events e WHERE e.identifier = ?1 AND e.recurrence_id IS NULL";
    SqliteStatement& query = m_sql.statement(sql.constData());
    query.bind(1, identifier);
    return firstRow(query);
}

std::optional<EventRow> EventStoreConnection::rowWithUid(std::int64_t calendarId, const QString& uid) {
    static const QByteArray sql =
        QByteArray("SELECT ") + EventRow::columns() +
        " FROM events e WHERE e.calendar_id = ?1 AND e.uid = ?2 AND e.recurrence_id IS NULL";
    SqliteStatement& query = m_sql.statement(sql.constData());
    query.bind(1, calendarId).bind(2, uid);
    return firstRow(query);
}

std::optional<EventRow> EventStoreConnection::exceptionRow(std::int64_t seriesId,
                                                           const QString& recurrenceId) {
    static const QByteArray sql = QByteArray("SELECT ") + EventRow::columns() +
                                  " FROM events e WHERE e.series_id = ?1 AND e.recurrence_id = ?2";
    SqliteStatement& query = m_sql.statement(sql.constData());
    query.bind(1, seriesId).bind(2, recurrenceId);
    return firstRow(query);
}

std::vector<EventRow> EventStoreConnection::exceptionRows(std::int64_t seriesId) {
    static const QByteArray sql = QByteArray("SELECT ") + EventRow::columns() +
                                  " FROM events e WHERE e.series_id = ?1 ORDER BY e.recurrence_id";
    SqliteStatement& query = m_sql.statement(sql.constData());
    query.bind(1, seriesId);
    std::vector<EventRow> rows;
    while (query.step()) {
        rows.emplace_back().readFrom(query);
    }
    finish(query);
    return rows;
}

RecurrenceSeries::Definition EventStoreConnection::definitionOf(const EventRow& row,
                                                                std::vector<std::int64_t> replacedWalls) {
    RecurrenceSeries::Definition definition;
    definition.rrule = row.rrule;
    definition.allDay = row.allDay;
    definition.zone = row.allDay ? QString() : row.tzid;
    definition.startWall = row.startWall();
    if (row.allDay) {
        const std::int64_t days = CivilDate::floorDiv(row.endWall(), WallClock::secondsPerDay) -
                                  CivilDate::floorDiv(row.startWall(), WallClock::secondsPerDay);
        definition.duration = static_cast<double>(std::max<std::int64_t>(1, days) * WallClock::secondsPerDay);
    } else {
        definition.duration = WallClock::date(row.endWall(), row.tzid)
                                  .timeIntervalSinceDate(WallClock::date(row.startWall(), row.tzid));
    }
    if (!row.countEnd.isEmpty()) {
        definition.countEndWall = WallClock::parseWall(row.countEnd);
    }
    definition.excludedWalls = row.excludedWalls();
    definition.replacedWalls = std::move(replacedWalls);
    return definition;
}

const EventStoreConnection::Series* EventStoreConnection::series(const EventRow& row) {
    const auto cached = m_series.find(row.id);
    if (cached != m_series.end() && cached->second.revision == row.revision) {
        return &cached->second;
    }
    std::vector<std::int64_t> replaced;
    SqliteStatement& query = m_sql.statement("SELECT recurrence_id FROM events WHERE series_id = ?1");
    query.bind(1, row.id);
    while (query.step()) {
        if (const std::optional<std::int64_t> wall = EventRow::parseFrameWall(query.text(0))) {
            replaced.push_back(*wall);
        }
    }
    finish(query);
    QString error;
    std::optional<RecurrenceSeries> parsed =
        RecurrenceSeries::create(definitionOf(row, std::move(replaced)), &error);
    if (!parsed) {
        Log::warning(QStringLiteral("eventstore"), error);
        return nullptr;
    }
    if (m_series.size() > 50000) {
        m_series.clear();
    }
    Series entry{row.revision, row, std::move(*parsed), EKRecurrenceRule::fromRRule(row.rrule, nullptr)};
    return &m_series.insert_or_assign(row.id, std::move(entry)).first->second;
}

const EventStoreConnection::Series* EventStoreConnection::series(std::int64_t id, std::int64_t revision) {
    const auto cached = m_series.find(id);
    if (cached != m_series.end() && cached->second.revision == revision) {
        return &cached->second;
    }
    static const QByteArray sql =
        QByteArray("SELECT ") + EventRow::columns() + " FROM events e WHERE e.id = ?1";
    SqliteStatement& query = m_sql.statement(sql.constData());
    query.bind(1, id);
    std::optional<EventRow> row = firstRow(query);
    return row && row->isSeries() ? series(*row) : nullptr;
}

Date EventStoreConnection::frameDate(std::int64_t wall, bool allDay, const QString& zone) {
    if (allDay) {
        return WallClock::startOfDay(CivilDate::floorDiv(wall, WallClock::secondsPerDay));
    }
    return WallClock::date(wall, zone);
}

// An event with the fields that a single event and every occurrence of a series take from their row.
std::shared_ptr<EKEvent> EventStoreConnection::eventWithRowFields(const EventRow& row) {
    auto event = std::make_shared<EKEvent>();
    event->setEventIdentifier(row.identifier);
    event->setCalendarItemExternalIdentifier(row.uid);
    event->setTitle(row.title);
    event->setLocation(row.location);
    event->setNotes(row.notes);
    event->setURL(row.url);
    event->setAllDay(row.allDay);
    event->setTimeZone(row.allDay ? QString() : row.tzid);
    event->setAlarms(EventRow::parseAlarms(row.alarms));
    event->setOtherProperties(row.otherProperties);
    event->setSequence(row.sequence);
    if (row.lastModified) {
        event->setLastModifiedDate(Date::withTimeIntervalSince1970(*row.lastModified));
    }
    return event;
}

std::shared_ptr<EKEvent> EventStoreConnection::makeEvent(const EventRow& row,
                                                         std::shared_ptr<EKCalendar> calendar) {
    auto event = eventWithRowFields(row);
    if (row.isSeries()) {
        const Date start = frameDate(row.startWall(), row.allDay, row.tzid);
        event->setStartDate(row.allDay ? start : Date::withTimeIntervalSince1970(row.startUtc));
        event->setEndDate(frameDate(row.endWall(), row.allDay, row.tzid));
    } else {
        event->setStartDate(row.startDate());
        event->setEndDate(row.endDate());
    }
    // Last: a read-only calendar refuses later start changes.
    event->setCalendar(std::move(calendar));
    return event;
}

std::shared_ptr<EKEvent> EventStoreConnection::makeOccurrence(const Series& series,
                                                              const RecurrenceSeries::Occurrence& occurrence,
                                                              std::shared_ptr<EKCalendar> calendar) {
    const EventRow& row = series.row;
    auto event = eventWithRowFields(row);
    event->setStartDate(occurrence.start);
    event->setEndDate(occurrence.end);
    event->setRecurrenceRule(series.rule);
    event->setOccurrence(occurrence.start, occurrence.originalWall);
    event->setCalendar(std::move(calendar));
    return event;
}

std::shared_ptr<EKEvent> EventStoreConnection::exceptionEvent(const EventRow& row, const EventRow& master,
                                                              std::shared_ptr<EKCalendar> calendar,
                                                              const Series* series) {
    auto event = makeEvent(row, std::move(calendar));
    if (series) {
        event->setRecurrenceRule(series->rule);
    }
    if (const std::optional<std::int64_t> wall = EventRow::parseFrameWall(row.recurrenceId)) {
        event->setOccurrence(frameDate(*wall, master.allDay, master.tzid), *wall);
    }
    event->setDetached(true);
    return event;
}

std::vector<std::shared_ptr<EKEvent>>
EventStoreConnection::eventsInRange(Date start, Date end,
                                    const std::vector<std::shared_ptr<EKCalendar>>& wanted) {
    std::vector<std::shared_ptr<EKEvent>> result;
    if (wanted.empty()) {
        return result;
    }
    beginRead();
    std::unordered_map<std::int64_t, std::shared_ptr<EKCalendar>> calendarsById;
    for (CalendarInfo& info : calendars()) {
        for (const std::shared_ptr<EKCalendar>& calendar : wanted) {
            if (calendar && calendar->calendarIdentifier() == info.calendar->calendarIdentifier()) {
                calendarsById.emplace(info.id, info.calendar);
                break;
            }
        }
    }
    if (calendarsById.empty()) {
        endRead();
        return result;
    }
    const auto overlaps = [&](Date eventStart, Date eventEnd) {
        return (eventStart < end || eventStart == start) && (eventEnd > start || eventStart == start);
    };

    static const QByteArray singlesSql =
        QByteArray("SELECT ") + EventRow::columns() +
        ", e.series_id, m.revision FROM events e LEFT JOIN events m ON m.id = e.series_id "
        "WHERE e.kind = 0 AND e.start_utc >= ?1 AND e.start_utc <= ?2 AND e.end_utc >= ?3 "
        "UNION ALL SELECT " +
        EventRow::columns() +
        ", e.series_id, m.revision FROM events e LEFT JOIN events m ON m.id = e.series_id "
        "WHERE e.kind = 1 AND e.end_utc >= ?3 AND e.start_utc <= ?2";
    struct Pending {
        EventRow row;
        std::int64_t masterRevision;
    };
    std::vector<Pending> exceptions;
    SqliteStatement& singles = m_sql.statement(singlesSql.constData());
    singles.bind(1, start.timeIntervalSince1970() - EventRow::shortSpan)
        .bind(2, end.timeIntervalSince1970())
        .bind(3, start.timeIntervalSince1970());
    while (singles.step()) {
        const auto calendar = calendarsById.find(singles.int64(4));
        if (calendar == calendarsById.end()) {
            continue;
        }
        EventRow row;
        row.readFrom(singles);
        if (!overlaps(row.startDate(), row.endDate())) {
            continue;
        }
        if (row.isException()) {
            // The series' revision follows the row's columns and its series_id.
            exceptions.push_back(Pending{std::move(row), singles.int64(EventRow::columnCount + 1)});
        } else {
            result.push_back(makeEvent(row, calendar->second));
        }
    }
    finish(singles);
    for (const Pending& pending : exceptions) {
        const Series* master = series(pending.row.seriesId, pending.masterRevision);
        if (master) {
            result.push_back(
                exceptionEvent(pending.row, master->row, calendarsById[pending.row.calendarId], master));
        }
    }

    struct SeriesKey {
        std::int64_t id;
        std::int64_t revision;
        std::int64_t calendarId;
    };
    std::vector<SeriesKey> keys;
    SqliteStatement& seriesQuery = m_sql.statement(
        "SELECT id, revision, calendar_id FROM events WHERE kind = 2 AND end_utc >= ?1 AND start_utc <= ?2");
    seriesQuery.bind(1, start.timeIntervalSince1970() - EventRow::shortSpan)
        .bind(2, end.timeIntervalSince1970());
    while (seriesQuery.step()) {
        const std::int64_t calendarId = seriesQuery.int64(2);
        if (calendarsById.count(calendarId) != 0) {
            keys.push_back(SeriesKey{seriesQuery.int64(0), seriesQuery.int64(1), calendarId});
        }
    }
    finish(seriesQuery);
    for (const SeriesKey& key : keys) {
        const Series* entry = series(key.id, key.revision);
        if (!entry) {
            continue;
        }
        bool truncated = false;
        const std::vector<RecurrenceSeries::Occurrence> occurrences =
            entry->series.occurrences(start, end, occurrenceLimit, &truncated);
        if (truncated) {
            Log::warning(QStringLiteral("eventstore"),
                         QStringLiteral("the repeating event “%1” has more than %2 occurrences in the range "
                                        "asked for; the rest are left out")
                             .arg(entry->row.title, QString::number(occurrenceLimit)));
        }
        const std::shared_ptr<EKCalendar>& calendar = calendarsById[key.calendarId];
        for (const RecurrenceSeries::Occurrence& occurrence : occurrences) {
            result.push_back(makeOccurrence(*entry, occurrence, calendar));
        }
    }
    endRead();
    return result;
}

std::shared_ptr<EKEvent> EventStoreConnection::eventWithIdentifier(const QString& identifier) {
    if (identifier.isEmpty()) {
        return nullptr;
    }
    beginRead();
    std::shared_ptr<EKEvent> event;
    if (const std::optional<EventRow> row = rowWithIdentifier(identifier)) {
        std::shared_ptr<EKCalendar> calendar;
        for (CalendarInfo& info : calendars()) {
            if (info.id == row->calendarId) {
                calendar = info.calendar;
            }
        }
        if (!row->isSeries()) {
            event = makeEvent(*row, calendar);
        } else if (const Series* entry = series(*row)) {
            const std::int64_t wall = entry->series.firstIncludedWall(firstOccurrenceBudget);
            if (RecurrenceSeries::isExcluded(entry->series.definition().replacedWalls, wall)) {
                if (const std::optional<EventRow> exception =
                        exceptionRow(row->id, EventRow::formatFrameWall(wall, row->allDay))) {
                    event = exceptionEvent(*exception, *row, calendar, entry);
                }
            }
            if (!event) {
                const Date occurrenceStart = entry->series.startOf(wall);
                event = makeOccurrence(*entry,
                                       RecurrenceSeries::Occurrence{
                                           wall, occurrenceStart, entry->series.endOf(wall, occurrenceStart)},
                                       calendar);
            }
        }
    }
    endRead();
    return event;
}

std::vector<std::shared_ptr<EKEvent>> EventStoreConnection::records(const QString& calendarIdentifier,
                                                                    const std::optional<QString>& uid) {
    std::vector<std::shared_ptr<EKEvent>> result;
    beginRead();
    std::optional<CalendarInfo> info = calendarWithIdentifier(calendarIdentifier);
    if (!info) {
        endRead();
        return result;
    }
    static const QByteArray order =
        " ORDER BY e.recurrence_id IS NOT NULL, e.start_utc, e.identifier, e.recurrence_id";
    static const QByteArray all =
        QByteArray("SELECT ") + EventRow::columns() + " FROM events e WHERE e.calendar_id = ?1" + order;
    // One resource's records come through the UID index.
    static const QByteArray ofUid = QByteArray("SELECT ") + EventRow::columns() +
                                    " FROM events e WHERE e.calendar_id = ?1 AND e.uid = ?2" + order;
    SqliteStatement& query = m_sql.statement(uid ? ofUid.constData() : all.constData());
    query.bind(1, info->id);
    if (uid) {
        query.bind(2, *uid);
    }
    std::vector<EventRow> rows;
    while (query.step()) {
        rows.emplace_back().readFrom(query);
    }
    finish(query);
    std::unordered_map<std::int64_t, const EventRow*> masters;
    for (const EventRow& row : rows) {
        if (row.isSeries()) {
            masters.emplace(row.id, &row);
        }
    }
    for (const EventRow& row : rows) {
        if (row.isException()) {
            const auto master = masters.find(row.seriesId);
            if (master == masters.end()) {
                continue;
            }
            auto event = exceptionEvent(row, *master->second, info->calendar, nullptr);
            result.push_back(std::move(event));
            continue;
        }
        auto event = makeEvent(row, info->calendar);
        if (row.isSeries()) {
            event->setRecurrenceRule(EKRecurrenceRule::fromRRule(row.rrule, nullptr));
            std::vector<Date> excluded;
            for (const std::int64_t wall : row.excludedWalls()) {
                excluded.push_back(frameDate(wall, row.allDay, row.tzid));
            }
            event->setExcludedOccurrenceDates(std::move(excluded));
        }
        result.push_back(std::move(event));
    }
    endRead();
    return result;
}
