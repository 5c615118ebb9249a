#include "core/eventstore/EventStoreWriter.h"

#include "core/eventstore/EventStoreConnection.h"
#include "core/eventstore/EventStoreLog.h"
#include "core/eventstore/IcalRules.h"
#include "core/eventstore/RecurrenceSeries.h"
#include "core/eventstore/WallClock.h"
#include "foundation/CivilDate.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"

#include <QUuid>

#include <libical/ical.h>

#include <algorithm>
#include <map>

namespace {

// Occurrences counted when resolving COUNT or counting what lies before a cut.
constexpr int countBudget = 100000;

// Whether the user may write a calendar's events: not a feed's, nor a server calendar that only
// lets them read.
bool isWritable(int type, bool readOnly) {
    return !EKCalendar::isImmutableType(static_cast<EKCalendarType>(type)) && !readOnly;
}

// The rule text with its end replaced: an UNTIL (and no COUNT), or a COUNT (and no UNTIL).
QString ruleWithEnd(const QString& rrule, const std::optional<icaltimetype>& until, int count) {
    IcalRules::Rule read = IcalRules::fromString(rrule.toUtf8());
    icalrecurrencetype& rule = read.rule;
    rule.until = until.value_or(icaltime_null_time());
    rule.count = until ? 0 : count;
    char* text = icalrecurrencetype_as_string_r(&rule);
    QString result = QString::fromUtf8(text ? text : "");
    icalmemory_free_buffer(text);
    return result;
}

icaltimetype dayTime(std::int64_t days) {
    const CivilDate civil = CivilDate::civilFromDays(days);
    icaltimetype time = icaltime_null_time();
    time.year = civil.year;
    time.month = civil.month;
    time.day = civil.day;
    time.is_date = 1;
    return time;
}

icaltimetype utcTime(Date date) {
    const std::int64_t seconds = static_cast<std::int64_t>(std::floor(date.timeIntervalSince1970()));
    const std::int64_t days = CivilDate::floorDiv(seconds, WallClock::secondsPerDay);
    const std::int64_t clock = seconds - days * WallClock::secondsPerDay;
    icaltimetype time = dayTime(days);
    time.is_date = 0;
    time.hour = static_cast<int>(clock / 3600);
    time.minute = static_cast<int>(clock / 60 % 60);
    time.second = static_cast<int>(clock % 60);
    time.zone = icaltimezone_get_utc_timezone();
    return time;
}

// Binds the columns that INSERT and UPDATE of an event row share, as ?1 to ?24.
SqliteStatement& bindRowFields(SqliteStatement& statement, const EventRow& row) {
    statement.bind(1, row.identifier).bind(2, row.recurrenceId);
    if (row.seriesId != 0) {
        statement.bind(3, row.seriesId);
    } else {
        statement.bindNull(3);
    }
    if (row.lastModified) {
        statement.bind(23, *row.lastModified);
    } else {
        statement.bindNull(23);
    }
    return statement.bind(4, row.calendarId)
        .bind(5, row.kind)
        .bind(6, row.title)
        .bind(7, row.location)
        .bind(8, row.notes)
        .bind(9, row.url)
        .bind(10, row.allDay ? 1 : 0)
        .bind(11, row.tzid.isNull() ? QStringLiteral("") : row.tzid)
        .bind(12, row.dtstart)
        .bind(13, row.dtend)
        .bind(14, row.startUtc)
        .bind(15, row.endUtc)
        .bind(16, row.rrule)
        .bind(17, row.countEnd)
        .bind(18, row.exdates)
        .bind(19, row.alarms)
        .bind(20, row.revision)
        .bind(21, row.otherProperties)
        .bind(22, row.sequence)
        .bind(24, row.uid);
}

} // namespace

EventStoreWriter::EventStoreWriter(EventStoreConnection& connection) : m_connection(connection) {}

QString EventStoreWriter::newIdentifier() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QString EventStoreWriter::formatColor(const std::optional<Color>& color) {
    if (!color) {
        return QString();
    }
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::number(color->red(), 'g', 17), QString::number(color->green(), 'g', 17),
             QString::number(color->blue(), 'g', 17), QString::number(color->alpha(), 'g', 17));
}

bool EventStoreWriter::fail(StoreError* error, int code, const QString& message) {
    if (error) {
        error->code = code;
        error->localizedDescription = message;
    }
    return false;
}

bool EventStoreWriter::databaseFailure(StoreError* error) {
    const std::optional<SqliteError>& failure = m_connection.sql().lastFailure();
    if (failure) {
        Log::error(eventStoreLogCategory, failure->description());
    }
    return fail(error, StoreError::Database,
                QStringLiteral("The calendar database could not be written: %1")
                    .arg(failure ? failure->message : QString()));
}

std::int64_t EventStoreWriter::revision() {
    if (!m_revision) {
        SqliteStatement& statement =
            m_connection.sql().statement("INSERT INTO settings (key, value) VALUES ('revision', '1') ON "
                                         "CONFLICT (key) DO UPDATE SET value = "
                                         "CAST(value AS INTEGER) + 1 RETURNING CAST(value AS INTEGER)");
        m_revision = statement.step() ? statement.int64(0) : 1;
        statement.reset();
    }
    return *m_revision;
}

SqliteResult EventStoreWriter::setSetting(const QString& key, const QString& value) {
    if (value.isNull()) {
        SqliteStatement& statement = m_connection.sql().statement("DELETE FROM settings WHERE key = ?1");
        return statement.bind(1, key).execute();
    }
    SqliteStatement& statement =
        m_connection.sql().statement("INSERT INTO settings (key, value) VALUES (?1, ?2) ON CONFLICT (key) DO "
                                     "UPDATE SET value = excluded.value");
    return statement.bind(1, key).bind(2, value).execute();
}

std::int64_t EventStoreWriter::ensureSource(const QString& title, EKSourceType type, StoreError* error) {
    SqliteStatement& find =
        m_connection.sql().statement("SELECT id FROM sources WHERE type = ?1 ORDER BY id LIMIT 1");
    find.bind(1, static_cast<int>(type));
    if (find.step()) {
        const std::int64_t id = find.int64(0);
        find.reset();
        return id;
    }
    find.reset();
    SqliteStatement& insert =
        m_connection.sql().statement("INSERT INTO sources (identifier, title, type) VALUES (?1, ?2, ?3)");
    if (!insert.bind(1, newIdentifier()).bind(2, title).bind(3, static_cast<int>(type)).execute()) {
        databaseFailure(error);
        return 0;
    }
    return m_connection.sql().lastInsertRowId();
}

std::int64_t EventStoreWriter::insertCalendar(const EKCalendar& calendar, std::int64_t sourceId,
                                              const QString& feedPath, StoreError* error) {
    SqliteStatement& insert =
        m_connection.sql().statement("INSERT INTO calendars (identifier, source_id, title, color, type, "
                                     "feed_path) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
    insert.bind(1, calendar.calendarIdentifier())
        .bind(2, sourceId)
        .bind(3, calendar.title().isNull() ? QStringLiteral("") : calendar.title())
        .bind(4, formatColor(calendar.color()))
        .bind(5, static_cast<int>(calendar.type()))
        .bind(6, feedPath);
    if (!insert.execute()) {
        databaseFailure(error);
        return 0;
    }
    return m_connection.sql().lastInsertRowId();
}

SqliteResult EventStoreWriter::setFeedStamp(std::int64_t calendarId, const QString& stamp) {
    SqliteStatement& update =
        m_connection.sql().statement("UPDATE calendars SET feed_stamp = ?1 WHERE id = ?2");
    return update.bind(1, stamp).bind(2, calendarId).execute();
}

SqliteResult EventStoreWriter::setFeedPath(const QString& calendarIdentifier, const QString& path) {
    SqliteStatement& update =
        m_connection.sql().statement("UPDATE calendars SET feed_path = ?1 WHERE identifier = ?2");
    return update.bind(1, path).bind(2, calendarIdentifier).execute();
}

bool EventStoreWriter::replaceFeedEvents(const std::shared_ptr<EKCalendar>& calendar,
                                         const std::vector<std::shared_ptr<EKEvent>>& events,
                                         const QString& stamp, StoreError* error) {
    const std::optional<EventStoreConnection::CalendarInfo> info =
        m_connection.calendarWithIdentifier(calendar->calendarIdentifier());
    if (!info) {
        return fail(error, StoreError::CalendarNotFound,
                    QStringLiteral("The calendar “%1” is not in the store.").arg(calendar->title()));
    }
    if (!deleteEventsOfCalendar(info->id)) {
        return databaseFailure(error);
    }
    for (const std::shared_ptr<EKEvent>& event : events) {
        event->setCalendar(calendar);
    }
    return saveEvents(events, true, error) && (setFeedStamp(info->id, stamp) || databaseFailure(error));
}

SqliteResult EventStoreWriter::deleteEventsOfCalendar(std::int64_t calendarId) {
    SqliteStatement& remove = m_connection.sql().statement("DELETE FROM events WHERE calendar_id = ?1");
    return remove.bind(1, calendarId).execute();
}

bool EventStoreWriter::ensureDefaults(StoreError* error) {
    SqliteStatement& count = m_connection.sql().statement("SELECT count(*) FROM sources");
    const std::int64_t sources = count.step() ? count.int64(0) : 0;
    count.reset();
    if (sources > 0) {
        return true;
    }
    const std::int64_t sourceId = ensureSource(QStringLiteral("Default"), EKSourceType::Local, error);
    if (sourceId == 0) {
        return false;
    }
    EKCalendar calendar(newIdentifier(), EKCalendarType::Local, nullptr);
    calendar.setTitle(QStringLiteral("Calendar"));
    calendar.setColor(Color(0.20, 0.60, 0.86));
    if (insertCalendar(calendar, sourceId, QString(), error) == 0) {
        return false;
    }
    return setSetting(QString::fromLatin1(defaultCalendarKey), calendar.calendarIdentifier()) ||
           databaseFailure(error);
}

std::optional<EventStoreWriter::CalendarCheck> EventStoreWriter::calendarById(std::int64_t id) {
    SqliteStatement& query =
        m_connection.sql().statement("SELECT title, type, read_only FROM calendars WHERE id = ?1");
    query.bind(1, id);
    std::optional<CalendarCheck> result;
    if (query.step()) {
        result = CalendarCheck{id, query.text(0), isWritable(query.integer(1), query.integer(2) != 0)};
    }
    query.reset();
    return result;
}

std::optional<EventStoreWriter::CalendarCheck>
EventStoreWriter::checkCalendar(const std::shared_ptr<EKCalendar>& calendar, bool allowReadOnly,
                                StoreError* error) {
    if (!calendar) {
        fail(error, StoreError::NoCalendar, QStringLiteral("The event has no calendar."));
        return std::nullopt;
    }
    SqliteStatement& query = m_connection.sql().statement(
        "SELECT id, title, type, read_only FROM calendars WHERE identifier = ?1");
    query.bind(1, calendar->calendarIdentifier());
    std::optional<CalendarCheck> result;
    if (query.step()) {
        result =
            CalendarCheck{query.int64(0), query.text(1), isWritable(query.integer(2), query.integer(3) != 0)};
    }
    query.reset();
    if (!result) {
        fail(error, StoreError::CalendarNotFound,
             QStringLiteral("The calendar “%1” is not in the store.").arg(calendar->title()));
        return std::nullopt;
    }
    if (!result->writable && !allowReadOnly) {
        fail(error, StoreError::CalendarReadOnly,
             QStringLiteral("The calendar “%1” is read-only.").arg(result->title));
        return std::nullopt;
    }
    return result;
}

void EventStoreWriter::fillFields(EventRow& row, const EKEvent& event) const {
    row.title = event.title();
    row.location = event.location();
    row.notes = event.notes();
    row.url = event.URL();
    row.alarms = EventRow::formatAlarms(event.alarms());
    row.otherProperties = event.otherProperties();
    row.sequence = event.sequence();
    if (const std::optional<Date> modified = event.lastModifiedDate()) {
        row.lastModified = modified->timeIntervalSince1970();
    }
}

void EventStoreWriter::fillTimes(EventRow& row, const EKEvent& event, const QString& fallbackZone) const {
    constexpr std::int64_t day = WallClock::secondsPerDay;
    row.allDay = event.allDay();
    if (row.allDay) {
        // All-day events cover whole days: from the start's day to the day the end falls in, an end
        // at 00:00 belonging to the day before; at least one day.
        const std::int64_t startDay = WallClock::dayOf(event.startDate());
        const std::int64_t endDay =
            std::max(WallClock::dayOf(event.endDate().addingTimeInterval(-1.0)) + 1, startDay + 1);
        row.tzid = QString::fromLatin1("");
        row.dtstart = WallClock::formatDay(startDay);
        row.dtend = WallClock::formatDay(endDay);
        // The days are read in whatever zone is in force; a day of slack on each side keeps
        // them inside the index bounds in every zone.
        row.startUtc = static_cast<double>((startDay - 1) * day);
        row.endUtc = static_cast<double>((endDay + 1) * day);
    } else {
        QString zone = event.timeZone();
        if (zone.isEmpty() || !WallClock::isKnownZone(zone)) {
            zone = fallbackZone.isEmpty() ? WallClock::defaultZoneName() : fallbackZone;
        }
        row.tzid = zone;
        row.dtstart = WallClock::formatWall(WallClock::wallSeconds(event.startDate(), zone));
        row.dtend = WallClock::formatWall(WallClock::wallSeconds(event.endDate(), zone));
        row.startUtc = event.startDate().timeIntervalSince1970();
        row.endUtc = event.endDate().timeIntervalSince1970();
    }
    row.kind = row.endUtc - row.startUtc <= EventRow::shortSpan ? EventRow::Short : EventRow::Long;
}

bool EventStoreWriter::finishSeries(EventRow& row, StoreError* error) {
    constexpr std::int64_t day = WallClock::secondsPerDay;
    row.kind = EventRow::Series;
    row.countEnd = QString();
    RecurrenceSeries::Definition definition = EventStoreConnection::definitionOf(row, {});
    definition.countEndWall.reset();
    QString problem;
    std::optional<RecurrenceSeries> series = RecurrenceSeries::create(definition, &problem);
    if (!series) {
        return fail(error, StoreError::InvalidRecurrence, problem);
    }
    if (series->hasCount()) {
        if (const std::optional<std::int64_t> end = series->resolveCountEnd(countBudget)) {
            row.countEnd = WallClock::formatWall(*end);
            definition.countEndWall = end;
            series = RecurrenceSeries::create(definition, &problem);
        } else {
            Log::warning(eventStoreLogCategory,
                         QStringLiteral("the end of the rule “%1” lies too far ahead to find; the repeating "
                                        "event “%2” is treated as endless")
                             .arg(row.rrule, row.title));
        }
    }
    const std::optional<std::int64_t> last = series->lastWall();
    if (row.allDay) {
        row.startUtc = static_cast<double>((CivilDate::floorDiv(row.startWall(), day) - 1) * day);
    }
    if (!last) {
        row.endUtc = EventRow::endless;
    } else if (row.allDay) {
        const auto days = static_cast<std::int64_t>(definition.duration / static_cast<double>(day));
        row.endUtc = static_cast<double>((CivilDate::floorDiv(*last, day) + days + 1) * day);
    } else {
        row.endUtc = WallClock::date(*last, row.tzid).timeIntervalSince1970() + definition.duration +
                     static_cast<double>(day);
    }
    row.endUtc = std::max(row.endUtc, row.startUtc);
    return true;
}

bool EventStoreWriter::insertRow(EventRow& row, StoreError* error) {
    row.revision = revision();
    // A UID of its own unless the row takes one from a file or its series.
    if (row.uid.isEmpty()) {
        row.uid = row.identifier;
    }
    // An event read from a file keeps when it last changed; one made here changes now.
    if (!row.lastModified) {
        row.lastModified = RunLoop::main().now().timeIntervalSince1970();
    }
    SqliteStatement& insert = m_connection.sql().statement(
        "INSERT INTO events (identifier, recurrence_id, series_id, calendar_id, kind, title, location, "
        "notes, url, all_day, tzid, dtstart, dtend, start_utc, end_utc, rrule, count_end, exdates, alarms, "
        "revision, other_properties, sequence, last_modified, uid) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
        "?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24)");
    bindRowFields(insert, row);
    if (!insert.execute()) {
        return databaseFailure(error);
    }
    row.id = m_connection.sql().lastInsertRowId();
    return true;
}

// Each change raises the event's revision counter past both its stored one and the one the
// change brings (an import of a newer version), and stamps the time of the change.
bool EventStoreWriter::updateRow(EventRow& row, StoreError* error) {
    row.revision = revision();
    row.lastModified = RunLoop::main().now().timeIntervalSince1970();
    SqliteStatement& update = m_connection.sql().statement(
        "UPDATE events SET identifier = ?1, recurrence_id = ?2, series_id = ?3, calendar_id = ?4, kind = ?5, "
        "title = ?6, location = ?7, notes = ?8, url = ?9, all_day = ?10, tzid = ?11, dtstart = ?12, "
        "dtend = ?13, start_utc = ?14, end_utc = ?15, rrule = ?16, count_end = ?17, exdates = ?18, "
        "alarms = ?19, revision = ?20, other_properties = ?21, sequence = max(sequence + 1, ?22), "
        "last_modified = ?23, uid = ?24 WHERE id = ?25");
    bindRowFields(update, row).bind(25, row.id);
    return update.execute() || databaseFailure(error);
}

SqliteResult EventStoreWriter::deleteRow(std::int64_t id) {
    SqliteStatement& remove = m_connection.sql().statement("DELETE FROM events WHERE id = ?1");
    return remove.bind(1, id).execute();
}

SqliteResult EventStoreWriter::touch(std::int64_t id) {
    SqliteStatement& update = m_connection.sql().statement("UPDATE events SET revision = ?1 WHERE id = ?2");
    return update.bind(1, revision()).bind(2, id).execute();
}

std::int64_t EventStoreWriter::frameWall(Date date, const EventRow& series) const {
    if (series.allDay) {
        return WallClock::dayOf(date) * WallClock::secondsPerDay;
    }
    return WallClock::wallSeconds(date, series.tzid);
}

std::int64_t EventStoreWriter::occurrenceWall(const EKEvent& event, const EventRow& series) const {
    const Date date = event.occurrenceDate().value_or(event.startDate());
    // The wall the store handed out is exact unless the series has moved to another zone or to
    // whole days since; the date alone cannot name an occurrence in a skipped hour.
    if (const std::optional<std::int64_t> carried = event.occurrenceWall();
        carried && EventStoreConnection::frameDate(*carried, series.allDay, series.tzid) == date) {
        return *carried;
    }
    return frameWall(date, series);
}

bool EventStoreWriter::saveEvent(EKEvent& event, EKSpan span, StoreError* error) {
    const std::optional<CalendarCheck> calendar = checkCalendar(event.calendar(), false, error);
    if (!calendar) {
        return false;
    }
    if (event.endDate() < event.startDate()) {
        return fail(error, StoreError::InvalidDates,
                    QStringLiteral("The event’s end date is before its start date."));
    }
    std::optional<EventRow> existing;
    if (!event.eventIdentifier().isEmpty()) {
        existing = m_connection.rowWithIdentifier(event.eventIdentifier());
    }
    if (existing) {
        const std::optional<CalendarCheck> current = calendarById(existing->calendarId);
        if (current && !current->writable) {
            return fail(error, StoreError::CalendarReadOnly,
                        QStringLiteral("The calendar “%1” is read-only.").arg(current->title));
        }
    }
    const std::optional<EKRecurrenceRule>& rule = event.recurrenceRule();

    if (!existing || !existing->isSeries()) {
        if (!existing && event.occurrenceDate() && !event.eventIdentifier().isEmpty()) {
            return fail(error, StoreError::EventNotFound,
                        QStringLiteral("The repeating event of this occurrence is not in the store."));
        }
        EventRow row = existing.value_or(EventRow{});
        if (!existing) {
            row.identifier = event.eventIdentifier().isEmpty() ? newIdentifier() : event.eventIdentifier();
            // An event coming back (an undone deletion) keeps its UID; a new one gets its own.
            if (!event.eventIdentifier().isEmpty()) {
                row.uid = event.calendarItemExternalIdentifier();
            }
        }
        row.calendarId = calendar->id;
        fillFields(row, event);
        fillTimes(row, event, QString());
        row.rrule = QString();
        row.countEnd = QString();
        row.exdates = QString();
        if (rule) {
            row.rrule = rule->rrule();
            std::vector<std::int64_t> excluded;
            for (const Date date : event.excludedOccurrenceDates()) {
                excluded.push_back(frameWall(date, row));
            }
            row.setExcludedWalls(excluded);
            if (!finishSeries(row, error)) {
                return false;
            }
        }
        if (!(existing ? updateRow(row, error) : insertRow(row, error))) {
            return false;
        }
        event.setEventIdentifier(row.identifier);
        event.setStartDate(row.startDate());
        event.setEndDate(row.allDay ? row.endDate() : event.endDate());
        if (rule) {
            event.setOccurrence(event.startDate(), row.startWall());
        } else {
            event.setOccurrenceDate(std::nullopt);
        }
        event.setDetached(false);
        return true;
    }

    const std::int64_t wall =
        event.occurrenceDate() ? occurrenceWall(event, *existing) : existing->startWall();
    const std::optional<EKRecurrenceRule> stored = EKRecurrenceRule::fromRRule(existing->rrule, nullptr);
    const bool ruleChanged = !(rule && stored && *rule == *stored);
    // Taking the repetition off one occurrence changes that occurrence alone; a new rule for one
    // occurrence starts a series of its own from there.
    if (span == EKSpan::ThisEvent && (!ruleChanged || !rule) && event.occurrenceDate()) {
        EventRow series = *existing;
        if (calendar->id != series.calendarId) {
            // Changed occurrences live in the calendar of their series, so the whole series moves.
            if (!moveSeriesCalendar(series, calendar->id)) {
                return databaseFailure(error);
            }
            series.calendarId = calendar->id;
        }
        return saveOccurrence(event, series, wall, error);
    }
    return saveSeriesFrom(event, *existing, wall, *calendar, error);
}

bool EventStoreWriter::moveSeriesCalendar(const EventRow& series, std::int64_t calendarId) {
    SqliteStatement& update =
        m_connection.sql().statement("UPDATE events SET calendar_id = ?1 WHERE id = ?2 OR series_id = ?2");
    return update.bind(1, calendarId).bind(2, series.id).execute() && touch(series.id);
}

bool EventStoreWriter::saveOccurrence(EKEvent& event, const EventRow& series, std::int64_t wall,
                                      StoreError* error) {
    const QString recurrenceId = EventRow::formatFrameWall(wall, series.allDay);
    const std::optional<EventRow> old = m_connection.exceptionRow(series.id, recurrenceId);
    EventRow row = old.value_or(EventRow{});
    row.identifier = series.identifier;
    row.uid = series.uid;
    row.recurrenceId = recurrenceId;
    row.seriesId = series.id;
    row.calendarId = series.calendarId;
    fillFields(row, event);
    fillTimes(row, event, series.tzid);
    row.rrule = QString();
    row.countEnd = QString();
    row.exdates = QString();
    if (!(old ? updateRow(row, error) : insertRow(row, error)) || !touch(series.id)) {
        return error && error->code != 0 ? false : databaseFailure(error);
    }
    event.setStartDate(row.startDate());
    event.setEndDate(row.allDay ? row.endDate() : event.endDate());
    event.setDetached(true);
    return true;
}

bool EventStoreWriter::cutSeries(EventRow& series, std::int64_t wall, std::vector<EventRow>* laterExceptions,
                                 std::vector<std::int64_t>* laterExclusions, StoreError* error) {
    std::vector<std::int64_t> kept;
    for (const std::int64_t excluded : series.excludedWalls()) {
        if (excluded < wall) {
            kept.push_back(excluded);
        } else if (laterExclusions) {
            laterExclusions->push_back(excluded);
        }
    }
    for (EventRow& exception : m_connection.exceptionRows(series.id)) {
        const std::optional<std::int64_t> original = EventRow::parseFrameWall(exception.recurrenceId);
        if (original && *original < wall) {
            continue;
        }
        if (!deleteRow(exception.id)) {
            return databaseFailure(error);
        }
        if (laterExceptions && original) {
            laterExceptions->push_back(std::move(exception));
        }
    }
    if (wall <= series.startWall()) {
        return deleteRow(series.id) || databaseFailure(error);
    }
    // A cut only ever ends a series earlier: an occurrence read before an earlier cut must not
    // bring back what that cut removed.
    const std::optional<RecurrenceSeries> current =
        RecurrenceSeries::create(EventStoreConnection::definitionOf(series, {}), nullptr);
    const std::optional<std::int64_t> last = current ? current->lastWall() : std::nullopt;
    if (!last || *last >= wall) {
        std::optional<icaltimetype> until;
        if (series.allDay) {
            until = dayTime(CivilDate::floorDiv(wall, WallClock::secondsPerDay) - 1);
        } else {
            until = utcTime(WallClock::date(wall, series.tzid).addingTimeInterval(-1.0));
        }
        series.rrule = ruleWithEnd(series.rrule, until, 0);
    }
    series.setExcludedWalls(kept);
    return finishSeries(series, error) && updateRow(series, error);
}

void EventStoreWriter::carryExceptions(const EventRow& row, std::int64_t shift,
                                       std::vector<std::int64_t>& exclusions,
                                       std::vector<EventRow>& exceptions) const {
    const std::optional<RecurrenceSeries> series =
        RecurrenceSeries::create(EventStoreConnection::definitionOf(row, {}), nullptr);
    const auto held = [&](std::int64_t wall) { return series && series->hasOccurrenceAt(wall); };
    std::vector<std::int64_t> walls;
    for (const std::int64_t wall : exclusions) {
        if (held(wall + shift)) {
            walls.push_back(wall + shift);
        }
    }
    exclusions = std::move(walls);
    std::vector<EventRow> rows;
    for (EventRow& exception : exceptions) {
        const std::optional<std::int64_t> original = EventRow::parseFrameWall(exception.recurrenceId);
        if (original && held(*original + shift)) {
            exception.recurrenceId = EventRow::formatFrameWall(*original + shift, row.allDay);
            rows.push_back(std::move(exception));
        }
    }
    exceptions = std::move(rows);
}

bool EventStoreWriter::saveSeriesFrom(EKEvent& event, EventRow series, std::int64_t wall,
                                      const CalendarCheck& calendar, StoreError* error) {
    const std::optional<EKRecurrenceRule>& rule = event.recurrenceRule();
    const std::optional<EKRecurrenceRule> stored = EKRecurrenceRule::fromRRule(series.rrule, nullptr);
    const bool ruleChanged = !(rule && stored && *rule == *stored);
    // The changed occurrence being saved, if it is one, becomes part of the series' new content.
    if (const std::optional<EventRow> own =
            m_connection.exceptionRow(series.id, EventRow::formatFrameWall(wall, series.allDay))) {
        if (!deleteRow(own->id)) {
            return databaseFailure(error);
        }
    }

    if (wall <= series.startWall()) {
        EventRow row = series;
        row.calendarId = calendar.id;
        fillFields(row, event);
        fillTimes(row, event, series.tzid);
        const bool sameFrame = row.allDay == series.allDay && row.tzid == series.tzid;
        std::vector<EventRow> exceptions = m_connection.exceptionRows(series.id);
        for (const EventRow& exception : exceptions) {
            if (!deleteRow(exception.id)) {
                return databaseFailure(error);
            }
        }
        std::vector<std::int64_t> excluded = series.excludedWalls();
        if (rule) {
            row.rrule = rule->rrule();
            if (!finishSeries(row, error)) {
                return false;
            }
        } else {
            row.rrule = QString();
            row.countEnd = QString();
        }
        if (rule && sameFrame) {
            // Moving the whole series moves the starts that its exclusions and changed occurrences
            // refer to with it; those its new rule no longer has go.
            carryExceptions(row, row.startWall() - series.startWall(), excluded, exceptions);
        } else {
            excluded.clear();
            exceptions.clear();
        }
        row.setExcludedWalls(excluded);
        if (!updateRow(row, error)) {
            return false;
        }
        for (EventRow& exception : exceptions) {
            exception.calendarId = row.calendarId;
            if (!insertRow(exception, error)) {
                return false;
            }
        }
        event.setStartDate(row.startDate());
        event.setEndDate(row.allDay ? row.endDate() : event.endDate());
        if (rule) {
            event.setOccurrence(event.startDate(), row.startWall());
        } else {
            event.setOccurrenceDate(std::nullopt);
        }
        event.setDetached(false);
        return true;
    }

    const int countBeforeCut = [&] {
        QString problem;
        const std::optional<RecurrenceSeries> parsed =
            RecurrenceSeries::create(EventStoreConnection::definitionOf(series, {}), &problem);
        return parsed && parsed->hasCount() ? parsed->countBefore(wall, countBudget) : 0;
    }();
    // Moved to an earlier day, the occurrences from the new start on belong to the new series
    // alone: the old one ends before it. Exclusions and changed occurrences between the new start
    // and this occurrence go with the occurrences they belonged to.
    const std::int64_t cut = std::min(wall, frameWall(event.startDate(), series));
    EventRow old = series;
    std::vector<EventRow> laterExceptions;
    std::vector<std::int64_t> laterExclusions;
    if (!cutSeries(old, cut, &laterExceptions, &laterExclusions, error)) {
        return false;
    }
    std::erase_if(laterExclusions, [&](std::int64_t excluded) { return excluded < wall; });
    std::erase_if(laterExceptions, [&](const EventRow& exception) {
        const std::optional<std::int64_t> original = EventRow::parseFrameWall(exception.recurrenceId);
        return !original || *original < wall;
    });

    EventRow fresh;
    fresh.identifier = newIdentifier();
    fresh.calendarId = calendar.id;
    fillFields(fresh, event);
    fillTimes(fresh, event, series.tzid);
    const bool sameFrame = fresh.allDay == series.allDay && fresh.tzid == series.tzid;
    if (rule) {
        fresh.rrule = rule->rrule();
        if (!ruleChanged && stored->recurrenceEnd() && stored->recurrenceEnd()->occurrenceCount() > 0) {
            // The new series has the occurrences the old one had left.
            fresh.rrule =
                ruleWithEnd(fresh.rrule, std::nullopt,
                            std::max(1, stored->recurrenceEnd()->occurrenceCount() - countBeforeCut));
        }
        if (!finishSeries(fresh, error)) {
            return false;
        }
    }
    if (rule && sameFrame) {
        carryExceptions(fresh, fresh.startWall() - wall, laterExclusions, laterExceptions);
    } else {
        laterExclusions.clear();
        laterExceptions.clear();
    }
    fresh.setExcludedWalls(laterExclusions);
    if (!insertRow(fresh, error)) {
        return false;
    }
    for (EventRow& exception : laterExceptions) {
        exception.identifier = fresh.identifier;
        exception.uid = fresh.uid;
        exception.seriesId = fresh.id;
        exception.calendarId = fresh.calendarId;
        if (!insertRow(exception, error)) {
            return false;
        }
    }
    event.setEventIdentifier(fresh.identifier);
    event.setStartDate(fresh.startDate());
    event.setEndDate(fresh.allDay ? fresh.endDate() : event.endDate());
    event.setRecurrenceRule(rule ? EKRecurrenceRule::fromRRule(fresh.rrule, nullptr) : std::nullopt);
    if (rule) {
        event.setOccurrence(event.startDate(), fresh.startWall());
    } else {
        event.setOccurrenceDate(std::nullopt);
    }
    event.setDetached(false);
    return true;
}

bool EventStoreWriter::removeEvent(const EKEvent& event, EKSpan span, StoreError* error) {
    std::optional<EventRow> existing;
    if (!event.eventIdentifier().isEmpty()) {
        existing = m_connection.rowWithIdentifier(event.eventIdentifier());
    }
    if (!existing) {
        return fail(error, StoreError::EventNotFound, QStringLiteral("The event is not in the store."));
    }
    const std::optional<CalendarCheck> calendar = calendarById(existing->calendarId);
    if (calendar && !calendar->writable) {
        return fail(error, StoreError::CalendarReadOnly,
                    QStringLiteral("The calendar “%1” is read-only.").arg(calendar->title));
    }
    if (!existing->isSeries()) {
        return deleteRow(existing->id) || databaseFailure(error);
    }
    const std::int64_t wall =
        event.occurrenceDate() ? occurrenceWall(event, *existing) : existing->startWall();
    if (span == EKSpan::ThisEvent) {
        if (const std::optional<EventRow> exception =
                m_connection.exceptionRow(existing->id, EventRow::formatFrameWall(wall, existing->allDay))) {
            if (!deleteRow(exception->id)) {
                return databaseFailure(error);
            }
        }
        std::vector<std::int64_t> excluded = existing->excludedWalls();
        excluded.push_back(wall);
        std::sort(excluded.begin(), excluded.end());
        existing->setExcludedWalls(excluded);
        return updateRow(*existing, error);
    }
    return cutSeries(*existing, wall, nullptr, nullptr, error);
}

bool EventStoreWriter::saveEvents(const std::vector<std::shared_ptr<EKEvent>>& events, bool allowReadOnly,
                                  StoreError* error) {
    std::map<QString, QString> renamed;
    std::map<QString, EventRow> masters;
    for (const std::shared_ptr<EKEvent>& event : events) {
        if (!event || event->occurrenceDate()) {
            continue;
        }
        const std::optional<CalendarCheck> calendar = checkCalendar(event->calendar(), allowReadOnly, error);
        if (!calendar) {
            return false;
        }
        if (event->endDate() < event->startDate()) {
            return fail(error, StoreError::InvalidDates,
                        QStringLiteral("The event “%1” ends before it starts.").arg(event->title()));
        }
        const QString original =
            event->eventIdentifier().isEmpty() ? newIdentifier() : event->eventIdentifier();
        QString identifier = original;
        // The calendar's event of the same UID is replaced and keeps its identifier. The same
        // identifier in another calendar belongs to another event: this one gets an identifier of
        // its own and keeps its UID.
        if (const std::optional<EventRow> same = m_connection.rowWithUid(calendar->id, original)) {
            identifier = same->identifier;
            if (!deleteRow(same->id)) {
                return databaseFailure(error);
            }
        } else if (m_connection.rowWithIdentifier(identifier)) {
            identifier = newIdentifier();
        }
        renamed[original] = identifier;
        EventRow row;
        row.identifier = identifier;
        row.uid = original;
        row.calendarId = calendar->id;
        fillFields(row, *event);
        fillTimes(row, *event, QString());
        if (const std::optional<EKRecurrenceRule>& rule = event->recurrenceRule()) {
            row.rrule = rule->rrule();
            std::vector<std::int64_t> excluded;
            for (const Date date : event->excludedOccurrenceDates()) {
                excluded.push_back(frameWall(date, row));
            }
            row.setExcludedWalls(excluded);
            if (!finishSeries(row, error)) {
                return false;
            }
        }
        if (!insertRow(row, error)) {
            return false;
        }
        masters[original] = row;
    }
    for (const std::shared_ptr<EKEvent>& event : events) {
        if (!event || !event->occurrenceDate()) {
            continue;
        }
        const QString original = event->eventIdentifier();
        const auto mapped = renamed.find(original);
        const QString identifier = mapped != renamed.end() ? mapped->second : original;
        std::optional<EventRow> master;
        if (const auto found = masters.find(original); found != masters.end()) {
            master = found->second;
        } else if (!identifier.isEmpty()) {
            master = m_connection.rowWithIdentifier(identifier);
        }
        if (!master || !master->isSeries()) {
            // A changed occurrence without its series is kept as an event of its own.
            const std::optional<CalendarCheck> calendar =
                checkCalendar(event->calendar(), allowReadOnly, error);
            if (!calendar) {
                return false;
            }
            EventRow row;
            row.identifier = identifier + QLatin1Char('/') + WallClock::formatUtc(*event->occurrenceDate());
            if (const std::optional<EventRow> existing = m_connection.rowWithIdentifier(row.identifier)) {
                if (!deleteRow(existing->id)) {
                    return databaseFailure(error);
                }
            }
            row.calendarId = calendar->id;
            fillFields(row, *event);
            fillTimes(row, *event, QString());
            if (!insertRow(row, error)) {
                return false;
            }
            continue;
        }
        if (event->endDate() < event->startDate()) {
            return fail(error, StoreError::InvalidDates,
                        QStringLiteral("The event “%1” ends before it starts.").arg(event->title()));
        }
        const std::int64_t wall = occurrenceWall(*event, *master);
        const QString recurrenceId = EventRow::formatFrameWall(wall, master->allDay);
        if (const std::optional<EventRow> old = m_connection.exceptionRow(master->id, recurrenceId)) {
            if (!deleteRow(old->id)) {
                return databaseFailure(error);
            }
        }
        EventRow row;
        row.identifier = master->identifier;
        row.uid = master->uid;
        row.recurrenceId = recurrenceId;
        row.seriesId = master->id;
        row.calendarId = master->calendarId;
        fillFields(row, *event);
        fillTimes(row, *event, master->tzid);
        if (!insertRow(row, error) || !touch(master->id)) {
            return error && error->code != 0 ? false : databaseFailure(error);
        }
    }
    return true;
}

bool EventStoreWriter::saveCalendar(const EKCalendar& calendar, StoreError* error) {
    const std::optional<EventStoreConnection::CalendarInfo> existing =
        m_connection.calendarWithIdentifier(calendar.calendarIdentifier());
    const QString title = calendar.title().isNull() ? QStringLiteral("") : calendar.title();
    if (existing) {
        SqliteStatement& update =
            m_connection.sql().statement("UPDATE calendars SET title = ?1, color = ?2 WHERE id = ?3");
        return update.bind(1, title).bind(2, formatColor(calendar.color())).bind(3, existing->id).execute() ||
               databaseFailure(error);
    }
    if (!calendar.allowsContentModifications()) {
        return fail(
            error, StoreError::CalendarReadOnly,
            QStringLiteral("A read-only calendar cannot be created here: subscribe to a calendar file "
                           "instead."));
    }
    std::int64_t sourceId = 0;
    bool serverAccount = false;
    {
        SqliteStatement& query = m_connection.sql().statement(
            calendar.source() ? "SELECT id, title, type FROM sources WHERE identifier = ?1"
                              : "SELECT id, title, type FROM sources WHERE type = 0 ORDER BY id LIMIT 1");
        if (calendar.source()) {
            query.bind(1, calendar.source()->sourceIdentifier());
        }
        if (query.step()) {
            const auto type = static_cast<EKSourceType>(query.integer(2));
            if (type == EKSourceType::Subscribed || type == EKSourceType::Birthdays) {
                const QString sourceTitle = query.text(1);
                query.reset();
                return fail(
                    error, StoreError::CalendarReadOnly,
                    QStringLiteral("Calendars cannot be added to the account “%1”.").arg(sourceTitle));
            }
            sourceId = query.int64(0);
            serverAccount = type == EKSourceType::CalDAV;
        }
        query.reset();
    }
    if (sourceId == 0) {
        return fail(error, StoreError::CalendarNotFound,
                    QStringLiteral("The account of the calendar “%1” is not in the store.").arg(title));
    }
    // A calendar of a server account is a server calendar, made there at the next sync.
    EKCalendar stored(calendar.calendarIdentifier(), serverAccount ? EKCalendarType::CalDAV : calendar.type(),
                      calendar.source());
    stored.setTitle(title);
    stored.setColor(calendar.color());
    if (insertCalendar(stored, sourceId, QString(), error) == 0) {
        return false;
    }
    const QString currentDefault = m_connection.setting(QString::fromLatin1(defaultCalendarKey));
    if (currentDefault.isEmpty() || !m_connection.calendarWithIdentifier(currentDefault)) {
        return setSetting(QString::fromLatin1(defaultCalendarKey), calendar.calendarIdentifier()) ||
               databaseFailure(error);
    }
    return true;
}

bool EventStoreWriter::removeCalendar(const EKCalendar& calendar, StoreError* error) {
    const std::optional<EventStoreConnection::CalendarInfo> existing =
        m_connection.calendarWithIdentifier(calendar.calendarIdentifier());
    if (!existing) {
        return fail(error, StoreError::CalendarNotFound,
                    QStringLiteral("The calendar “%1” is not in the store.").arg(calendar.title()));
    }
    SqliteStatement& removeEvents = m_connection.sql().statement("DELETE FROM events WHERE calendar_id = ?1");
    SqliteStatement& removeCalendarRow = m_connection.sql().statement("DELETE FROM calendars WHERE id = ?1");
    if (!removeEvents.bind(1, existing->id).execute() || !removeCalendarRow.bind(1, existing->id).execute()) {
        return databaseFailure(error);
    }
    const QString key = QString::fromLatin1(defaultCalendarKey);
    if (m_connection.setting(key) != calendar.calendarIdentifier()) {
        return true;
    }
    SqliteStatement& next = m_connection.sql().statement(
        "SELECT identifier FROM calendars WHERE type NOT IN (3, 4) ORDER BY id LIMIT 1");
    const QString replacement = next.step() ? next.text(0) : QString();
    next.reset();
    return setSetting(key, replacement) || databaseFailure(error);
}
