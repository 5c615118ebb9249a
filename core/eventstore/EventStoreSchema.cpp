#include "core/eventstore/EventStoreSchema.h"

#include "core/sqlite/SqliteConnection.h"
#include "core/sqlite/SqliteTransaction.h"

namespace {

// Version 1. Events hold single events, series and changed occurrences (recurrence_id set, linked
// to their series). Times: dtstart/dtend are wall times in tzid (dates for all-day events);
// start_utc/end_utc serve the range indexes: exact for timed events, widened by a day on each side
// for all-day events (which follow the zone in force), and for a series the first start and the
// last end (a far future value when endless). kind: 0 lasts at most three days, 1 longer, 2 a series.
SqliteResult createVersion1(SqliteConnection& connection) {
    return connection.exec(QStringLiteral(R"sql(
CREATE TABLE settings (
    key TEXT PRIMARY KEY NOT NULL,
    value TEXT
) WITHOUT ROWID;
CREATE TABLE sources (
    id INTEGER PRIMARY KEY,
    identifier TEXT NOT NULL UNIQUE,
    title TEXT NOT NULL,
    type INTEGER NOT NULL
);
CREATE TABLE calendars (
    id INTEGER PRIMARY KEY,
    identifier TEXT NOT NULL UNIQUE,
    source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE,
    title TEXT NOT NULL,
    color TEXT,
    type INTEGER NOT NULL,
    feed_path TEXT,
    feed_stamp TEXT
);
CREATE TABLE events (
    id INTEGER PRIMARY KEY,
    identifier TEXT NOT NULL,
    recurrence_id TEXT,
    series_id INTEGER REFERENCES events(id) ON DELETE CASCADE,
    calendar_id INTEGER NOT NULL REFERENCES calendars(id) ON DELETE CASCADE,
    kind INTEGER NOT NULL,
    title TEXT,
    location TEXT,
    notes TEXT,
    url TEXT,
    all_day INTEGER NOT NULL,
    tzid TEXT NOT NULL,
    dtstart TEXT NOT NULL,
    dtend TEXT NOT NULL,
    start_utc REAL NOT NULL,
    end_utc REAL NOT NULL,
    rrule TEXT,
    count_end TEXT,
    exdates TEXT,
    alarms TEXT,
    revision INTEGER NOT NULL
);
CREATE UNIQUE INDEX events_identity ON events(identifier, ifnull(recurrence_id, ''));
CREATE INDEX events_short ON events(start_utc) WHERE kind = 0;
CREATE INDEX events_long ON events(kind, end_utc) WHERE kind <> 0;
CREATE INDEX events_series ON events(series_id) WHERE series_id IS NOT NULL;
CREATE INDEX events_calendar ON events(calendar_id);
)sql"));
}

// Version 2. What another program wrote in an event and this one does not edit: its other
// content lines, its revision counter (SEQUENCE) and when it last changed (seconds since 1970).
// The iCalendar UID, unique within a calendar as files and servers have it; the identifier stays
// unique in the whole store. Earlier events take their identifier as their UID.
SqliteResult addVersion2(SqliteConnection& connection) {
    return connection.exec(QStringLiteral(R"sql(
ALTER TABLE events ADD COLUMN other_properties TEXT;
ALTER TABLE events ADD COLUMN sequence INTEGER NOT NULL DEFAULT 0;
ALTER TABLE events ADD COLUMN last_modified REAL;
ALTER TABLE events ADD COLUMN uid TEXT;
UPDATE events SET uid = identifier;
CREATE UNIQUE INDEX events_uid ON events(calendar_id, uid, ifnull(recurrence_id, ''));
)sql"));
}

// Version 3. Accounts on calendar servers: a source of type CalDAV keeps the address it was added
// with, its user name, its calendar home, the pinned certificate fingerprint and when it was last
// synced. A server calendar keeps its address (unique within its account), whether the server
// lets the user write it, and its sync token and collection tag. Events keep the address and etag
// of the server resource they came in. The journal lists the resources (calendar and UID) changed
// here and not yet sent, with the resource's address and etag as last known when it was first
// changed (so a deletion can still be sent); `changes` counts the changes since, so that a change
// made while a send was under way is not taken as sent.
SqliteResult addVersion3(SqliteConnection& connection) {
    return connection.exec(QStringLiteral(R"sql(
ALTER TABLE sources ADD COLUMN server_url TEXT;
ALTER TABLE sources ADD COLUMN user_name TEXT;
ALTER TABLE sources ADD COLUMN home_url TEXT;
ALTER TABLE sources ADD COLUMN certificate_sha256 TEXT;
ALTER TABLE sources ADD COLUMN last_sync REAL;
ALTER TABLE calendars ADD COLUMN remote_url TEXT;
ALTER TABLE calendars ADD COLUMN read_only INTEGER NOT NULL DEFAULT 0;
ALTER TABLE calendars ADD COLUMN sync_token TEXT;
ALTER TABLE calendars ADD COLUMN ctag TEXT;
CREATE UNIQUE INDEX calendars_remote ON calendars(source_id, remote_url) WHERE remote_url IS NOT NULL;
ALTER TABLE events ADD COLUMN href TEXT;
ALTER TABLE events ADD COLUMN etag TEXT;
CREATE INDEX events_href ON events(calendar_id, href) WHERE href IS NOT NULL;
CREATE TABLE sync_journal (
    id INTEGER PRIMARY KEY,
    calendar_id INTEGER NOT NULL REFERENCES calendars(id) ON DELETE CASCADE,
    uid TEXT NOT NULL,
    href TEXT,
    etag TEXT,
    changes INTEGER NOT NULL DEFAULT 1,
    UNIQUE (calendar_id, uid)
);
)sql"));
}

// Version 4. A calendar subscribed to by address keeps the address in remote_url, the answer's
// ETag in ctag and its Last-Modified in sync_token, how often it is to be fetched (seconds) and
// when it last was. A server calendar renamed or recoloured here and not yet changed on the server
// is marked changed_here; a server calendar removed here is listed in removed_calendars until the
// server has removed it too.
SqliteResult addVersion4(SqliteConnection& connection) {
    return connection.exec(QStringLiteral(R"sql(
ALTER TABLE calendars ADD COLUMN refresh_interval REAL;
ALTER TABLE calendars ADD COLUMN last_fetch REAL;
ALTER TABLE calendars ADD COLUMN changed_here INTEGER NOT NULL DEFAULT 0;
CREATE TABLE removed_calendars (
    id INTEGER PRIMARY KEY,
    source_id INTEGER NOT NULL REFERENCES sources(id) ON DELETE CASCADE,
    remote_url TEXT NOT NULL,
    UNIQUE (source_id, remote_url)
);
)sql"));
}

} // namespace

bool EventStoreSchema::isOwnSchema(SqliteConnection& connection) {
    if (connection.userVersion() < 1) {
        return false;
    }
    for (const char* table : {"settings", "sources", "calendars", "events"}) {
        if (!connection.hasTable(QString::fromLatin1(table))) {
            return false;
        }
    }
    return true;
}

int EventStoreSchema::currentVersion() {
    return static_cast<int>(migrations().size());
}

const std::vector<EventStoreSchema::Migration>& EventStoreSchema::migrations() {
    static const std::vector<Migration> steps = {createVersion1, addVersion2, addVersion3, addVersion4};
    return steps;
}

EventStoreSchema::Result EventStoreSchema::migrate(SqliteConnection& connection, QString* error) {
    return migrate(connection, migrations(), error);
}

EventStoreSchema::Result EventStoreSchema::migrate(SqliteConnection& connection,
                                                   const std::vector<Migration>& steps, QString* error) {
    const auto fail = [&](const QString& problem) {
        if (error) {
            *error = problem;
        }
        return Result::Failed;
    };
    // IMMEDIATE takes the write lock before the version is read, so two processes opening a new
    // database do not both create it.
    SqliteTransaction transaction(connection);
    if (const SqliteResult begun = transaction.begin(); !begun) {
        return fail(begun.error().message);
    }
    const int version = connection.userVersion();
    const int target = static_cast<int>(steps.size());
    if (version > target) {
        if (error) {
            *error =
                QStringLiteral("The calendar database was written by a newer version (%1) of the program.")
                    .arg(version);
        }
        return Result::TooNew;
    }
    if (version == target) {
        transaction.commit();
        return Result::UpToDate;
    }
    for (int step = version; step < target; ++step) {
        if (const SqliteResult migrated = steps[static_cast<std::size_t>(step)](connection); !migrated) {
            return fail(QStringLiteral("Could not update the calendar database to version %1: %2")
                            .arg(step + 1)
                            .arg(migrated.error().message));
        }
    }
    if (const SqliteResult versioned = connection.setUserVersion(target); !versioned) {
        return fail(versioned.error().message);
    }
    if (const SqliteResult committed = transaction.commit(); !committed) {
        return fail(committed.error().message);
    }
    return Result::Migrated;
}
