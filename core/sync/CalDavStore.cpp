#include "core/sync/CalDavStore.h"

#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EventStoreConnection.h"
#include "core/eventstore/EventStoreWriter.h"
#include "core/sqlite/SqliteStatement.h"
#include "foundation/Localization.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <set>

namespace {

QString hrefKey(const QUrl& url) {
    return url.toString(QUrl::FullyEncoded);
}

bool refuse(StoreError* error, int code, const QString& message) {
    if (error) {
        *error = StoreError{code, message};
    }
    return false;
}

CalDavAccount accountFrom(SqliteStatement& query) {
    CalDavAccount account;
    account.identifier = query.text(0);
    account.title = query.text(1);
    account.serverUrl = QUrl(query.text(2));
    account.userName = query.text(3);
    account.homeUrl = QUrl(query.text(4));
    account.certificateSha256 = QByteArray::fromHex(query.text(5).toLatin1());
    if (!query.isNull(6)) {
        account.lastSync = Date::withTimeIntervalSince1970(query.real(6));
    }
    return account;
}

std::optional<std::int64_t> sourceId(SqliteConnection& sql, const QString& identifier) {
    SqliteStatement& query = sql.statement("SELECT id FROM sources WHERE identifier = ?1");
    query.bind(1, identifier);
    std::optional<std::int64_t> id;
    if (query.step()) {
        id = query.int64(0);
    }
    query.reset();
    return id;
}

// Sets the address and etag of a UID's events.
SqliteResult markResource(SqliteConnection& sql, std::int64_t calendarId, const QString& uid,
                          const QUrl& href, const QString& etag) {
    SqliteStatement& update =
        sql.statement("UPDATE events SET href = ?1, etag = ?2 WHERE calendar_id = ?3 AND uid = ?4");
    return update.bind(1, hrefKey(href)).bind(2, etag).bind(3, calendarId).bind(4, uid).execute();
}

SqliteResult settle(SqliteConnection& sql, const UnsentChange& change) {
    SqliteStatement& remove = sql.statement("DELETE FROM sync_journal WHERE id = ?1");
    return remove.bind(1, change.id).execute();
}

bool store(EventStoreWriter& writer, const SyncedCalendar& calendar, const ReceivedResource& resource,
           StoreError* error) {
    SqliteConnection& sql = writer.connection().sql();
    for (const std::shared_ptr<EKEvent>& event : resource.events) {
        event->setCalendar(calendar.calendar);
    }
    return writer.saveEvents(resource.events, true, error) &&
           (markResource(sql, calendar.id, resource.uid, resource.href, resource.etag) ||
            writer.databaseFailure(error));
}

// The title a server calendar shows: its name, else the last part of its address.
QString titleOf(const DavCalendar& calendar) {
    return calendar.displayName.isEmpty() ? calendar.url.fileName() : calendar.displayName;
}

// Whether the server describes a calendar otherwise than the store keeps it; a calendar the server
// gives no colour keeps the one it has.
bool differs(const SyncedCalendar& stored, const DavCalendar& found) {
    const std::optional<Color> color = Color::fromHexString(found.color);
    return stored.calendar->title() != titleOf(found) || stored.readOnly == found.writable ||
           (color && stored.calendar->color() != color);
}

// The account's server calendars removed here and not yet on the server.
void appendRemovals(EventStoreConnection& connection, const CalDavAccount& account,
                    std::vector<CalendarChange>& changes) {
    SqliteStatement& removed = connection.sql().statement(
        "SELECT r.id, r.remote_url FROM removed_calendars r JOIN sources s ON s.id = r.source_id "
        "WHERE s.identifier = ?1 ORDER BY r.id");
    removed.bind(1, account.identifier);
    while (removed.step()) {
        CalendarChange change;
        change.kind = CalendarChange::Kind::Removed;
        change.id = removed.int64(0);
        change.url = QUrl(removed.text(1));
        changes.push_back(std::move(change));
    }
    removed.reset();
}

} // namespace

std::optional<QUrl> CalDavStore::accountAddress(const QString& typed, QString* problem) {
    const QString trimmed = typed.trimmed();
    const QUrl url(trimmed.contains(QLatin1String("://")) ? trimmed : QStringLiteral("https://") + trimmed);
    if (trimmed.isEmpty() || !url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("https") && url.scheme() != QLatin1String("http"))) {
        *problem = localizedString(QStringLiteral("“%1” is not an http:// or https:// address")).arg(typed);
        return std::nullopt;
    }
    return url;
}

QString CalDavStore::fingerprintText(const QByteArray& sha256) {
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}

std::optional<QByteArray> CalDavStore::fingerprintFromText(const QString& text) {
    const QByteArray digits = text.trimmed().remove(QLatin1Char(':')).toLatin1();
    constexpr qsizetype sha256Digits = 64;
    const bool hex = std::all_of(digits.begin(), digits.end(), [](char digit) {
        return std::isxdigit(static_cast<unsigned char>(digit)) != 0;
    });
    if (digits.size() != sha256Digits || !hex) {
        return std::nullopt;
    }
    return QByteArray::fromHex(digits);
}

QString CalDavStore::defaultTitle(const QString& userName, const QUrl& serverUrl) {
    return QStringLiteral("%1@%2").arg(userName, serverUrl.host());
}

CalDavStore::CalDavStore(EKEventStore& store) : m_store(store) {}

std::vector<CalDavAccount> CalDavStore::accounts() const {
    std::vector<CalDavAccount> result;
    m_store.read([&](EventStoreConnection& connection) {
        SqliteStatement& query = connection.sql().statement(
            "SELECT identifier, title, server_url, user_name, home_url, certificate_sha256, last_sync "
            "FROM sources WHERE type = ?1 ORDER BY id");
        query.bind(1, static_cast<int>(EKSourceType::CalDAV));
        while (query.step()) {
            result.push_back(accountFrom(query));
        }
        query.reset();
    });
    return result;
}

std::optional<CalDavAccount> CalDavStore::account(const QString& name) const {
    for (CalDavAccount& account : accounts()) {
        if (account.title == name || account.identifier == name) {
            return std::move(account);
        }
    }
    return std::nullopt;
}

bool CalDavStore::addAccount(CalDavAccount& account, StoreError* error) {
    if (account.title.trimmed().isEmpty()) {
        return refuse(error, StoreError::BadFile,
                      localizedString(QStringLiteral("An account needs a name.")));
    }
    if (CalDavStore::account(account.title)) {
        return refuse(
            error, StoreError::BadFile,
            localizedString(QStringLiteral("There is already an account named “%1”.")).arg(account.title));
    }
    const QString identifier = EventStoreWriter::newIdentifier();
    const bool written = m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& insert = sql.statement(
                "INSERT INTO sources (identifier, title, type, server_url, user_name, home_url, "
                "certificate_sha256) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
            return insert.bind(1, identifier)
                       .bind(2, account.title)
                       .bind(3, static_cast<int>(EKSourceType::CalDAV))
                       .bind(4, account.serverUrl.toString(QUrl::FullyEncoded))
                       .bind(5, account.userName)
                       .bind(6, account.homeUrl.toString(QUrl::FullyEncoded))
                       .bind(7, QString::fromLatin1(account.certificateSha256.toHex()))
                       .execute() ||
                   writer.databaseFailure(e);
        },
        error);
    if (written) {
        account.identifier = identifier;
    }
    return written;
}

bool CalDavStore::removeAccount(const CalDavAccount& account, StoreError* error) {
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            for (const SyncedCalendar& calendar : calendars(account)) {
                if (!writer.removeCalendar(*calendar.calendar, e)) {
                    return false;
                }
            }
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& remove = sql.statement("DELETE FROM sources WHERE identifier = ?1");
            return remove.bind(1, account.identifier).execute() || writer.databaseFailure(e);
        },
        error);
}

bool CalDavStore::setAccountSynced(const CalDavAccount& account, const QUrl& homeUrl, Date when,
                                   StoreError* error) {
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& update =
                sql.statement("UPDATE sources SET home_url = ?1, last_sync = ?2 WHERE identifier = ?3");
            return update.bind(1, homeUrl.toString(QUrl::FullyEncoded))
                       .bind(2, when.timeIntervalSince1970())
                       .bind(3, account.identifier)
                       .execute() ||
                   writer.databaseFailure(e);
        },
        error);
}

std::vector<SyncedCalendar> CalDavStore::calendars(const CalDavAccount& account) const {
    std::vector<SyncedCalendar> result;
    m_store.read([&](EventStoreConnection& connection) {
        std::map<std::int64_t, std::shared_ptr<EKCalendar>> byId;
        for (EventStoreConnection::CalendarInfo& info : connection.calendars()) {
            byId.emplace(info.id, info.calendar);
        }
        SqliteStatement& query = connection.sql().statement(
            "SELECT c.id, c.remote_url, c.read_only, c.sync_token, c.ctag FROM calendars c "
            "JOIN sources s ON s.id = c.source_id WHERE s.identifier = ?1 AND c.remote_url IS NOT NULL "
            "ORDER BY c.id");
        query.bind(1, account.identifier);
        while (query.step()) {
            const auto found = byId.find(query.int64(0));
            if (found == byId.end()) {
                continue;
            }
            result.push_back(SyncedCalendar{found->first, found->second, QUrl(query.text(1)),
                                            query.integer(2) != 0, query.text(3), query.text(4)});
        }
        query.reset();
    });
    return result;
}

bool CalDavStore::updateCalendars(const CalDavAccount& account,
                                  const std::vector<DavCalendar>& listedCalendars, StoreError* error) {
    const std::vector<SyncedCalendar> known = calendars(account);
    // Calendars removed here and not yet on the server do not come back.
    std::vector<CalendarChange> removals;
    m_store.read([&](EventStoreConnection& connection) { appendRemovals(connection, account, removals); });
    std::set<QString> removedHere;
    for (const CalendarChange& removal : removals) {
        removedHere.insert(hrefKey(removal.url));
    }
    std::vector<DavCalendar> found;
    std::copy_if(listedCalendars.begin(), listedCalendars.end(), std::back_inserter(found),
                 [&](const DavCalendar& calendar) { return removedHere.count(hrefKey(calendar.url)) == 0; });
    const auto knownAt = [&](const QUrl& url) -> const SyncedCalendar* {
        for (const SyncedCalendar& calendar : known) {
            if (hrefKey(calendar.url) == hrefKey(url)) {
                return &calendar;
            }
        }
        return nullptr;
    };
    const auto listed = [&](const QUrl& url) {
        return std::any_of(found.begin(), found.end(), [&](const DavCalendar& calendar) {
            return calendar.hasEvents && hrefKey(calendar.url) == hrefKey(url);
        });
    };
    const bool changes = std::any_of(known.begin(), known.end(),
                                     [&](const SyncedCalendar& calendar) { return !listed(calendar.url); }) ||
                         std::any_of(found.begin(), found.end(), [&](const DavCalendar& calendar) {
                             const SyncedCalendar* stored = knownAt(calendar.url);
                             return calendar.hasEvents && (!stored || differs(*stored, calendar));
                         });
    if (!changes) {
        return true;
    }
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            const std::optional<std::int64_t> source = sourceId(sql, account.identifier);
            if (!source) {
                return refuse(e, StoreError::CalendarNotFound,
                              localizedString(QStringLiteral("The account “%1” is not in the store."))
                                  .arg(account.title));
            }
            for (const SyncedCalendar& calendar : known) {
                if (!listed(calendar.url) && !writer.removeCalendar(*calendar.calendar, e)) {
                    return false;
                }
            }
            for (const DavCalendar& calendar : found) {
                if (!calendar.hasEvents) {
                    continue;
                }
                const QString title = titleOf(calendar);
                const std::optional<Color> color = Color::fromHexString(calendar.color);
                const SyncedCalendar* stored = knownAt(calendar.url);
                std::int64_t id = stored ? stored->id : 0;
                if (!stored) {
                    EKCalendar added(EventStoreWriter::newIdentifier(), EKCalendarType::CalDAV, nullptr);
                    added.setTitle(title);
                    added.setColor(color.value_or(Color(0.2, 0.6, 0.86)));
                    id = writer.insertCalendar(added, *source, QString(), e);
                    if (id == 0) {
                        return false;
                    }
                }
                SqliteStatement& update =
                    sql.statement("UPDATE calendars SET remote_url = ?1, read_only = ?2, title = ?3, "
                                  "color = coalesce(?4, color) WHERE id = ?5");
                update.bind(1, hrefKey(calendar.url)).bind(2, calendar.writable ? 0 : 1).bind(3, title);
                if (color) {
                    update.bind(4, EventStoreWriter::formatColor(color));
                } else {
                    update.bindNull(4);
                }
                if (!update.bind(5, id).execute()) {
                    return writer.databaseFailure(e);
                }
            }
            return true;
        },
        error);
}

std::vector<CalendarChange> CalDavStore::calendarChanges(const CalDavAccount& account) const {
    std::vector<CalendarChange> result;
    m_store.read([&](EventStoreConnection& connection) {
        std::map<std::int64_t, std::shared_ptr<EKCalendar>> byId;
        for (EventStoreConnection::CalendarInfo& info : connection.calendars()) {
            byId.emplace(info.id, info.calendar);
        }
        SqliteStatement& changed = connection.sql().statement(
            "SELECT c.id, c.remote_url, c.color FROM calendars c JOIN sources s ON s.id = c.source_id "
            "WHERE s.identifier = ?1 AND c.type = ?2 AND (c.remote_url IS NULL OR c.changed_here <> 0) "
            "ORDER BY c.id");
        changed.bind(1, account.identifier).bind(2, static_cast<int>(EKCalendarType::CalDAV));
        while (changed.step()) {
            const auto found = byId.find(changed.int64(0));
            if (found == byId.end()) {
                continue;
            }
            CalendarChange change;
            change.kind = changed.isNull(1) ? CalendarChange::Kind::Made : CalendarChange::Kind::Changed;
            change.id = found->first;
            change.identifier = found->second->calendarIdentifier();
            change.url = changed.isNull(1) ? QUrl() : QUrl(changed.text(1));
            change.title = found->second->title();
            change.color = found->second->color() ? found->second->color()->hexString() : QString();
            change.storedColor = changed.text(2);
            result.push_back(std::move(change));
        }
        changed.reset();
        appendRemovals(connection, account, result);
    });
    return result;
}

bool CalDavStore::confirmCalendarChange(const CalendarChange& change, const QUrl& url, StoreError* error) {
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            switch (change.kind) {
            case CalendarChange::Kind::Made: {
                SqliteStatement& made = sql.statement("UPDATE calendars SET remote_url = ?1 WHERE id = ?2");
                SqliteStatement& journal =
                    sql.statement("INSERT INTO sync_journal (calendar_id, uid) SELECT DISTINCT calendar_id, "
                                  "uid FROM events "
                                  "WHERE calendar_id = ?1 ON CONFLICT (calendar_id, uid) DO NOTHING");
                return (made.bind(1, hrefKey(url)).bind(2, change.id).execute() &&
                        journal.bind(1, change.id).execute()) ||
                       writer.databaseFailure(e);
            }
            case CalendarChange::Kind::Changed: {
                SqliteStatement& sent = sql.statement("UPDATE calendars SET changed_here = 0 WHERE id = ?1 "
                                                      "AND title = ?2 AND ifnull(color, '') = ?3");
                return sent.bind(1, change.id).bind(2, change.title).bind(3, change.storedColor).execute() ||
                       writer.databaseFailure(e);
            }
            case CalendarChange::Kind::Removed: {
                SqliteStatement& gone = sql.statement("DELETE FROM removed_calendars WHERE id = ?1");
                return gone.bind(1, change.id).execute() || writer.databaseFailure(e);
            }
            }
            return true;
        },
        error);
}

bool CalDavStore::setCalendarState(const SyncedCalendar& calendar, const QString& syncToken,
                                   const QString& ctag, StoreError* error) {
    if (calendar.syncToken == syncToken && calendar.ctag == ctag) {
        return true;
    }
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& update =
                sql.statement("UPDATE calendars SET sync_token = ?1, ctag = ?2 WHERE id = ?3");
            return update.bind(1, syncToken).bind(2, ctag).bind(3, calendar.id).execute() ||
                   writer.databaseFailure(e);
        },
        error);
}

std::map<QString, StoredResource> CalDavStore::resources(const SyncedCalendar& calendar) const {
    std::map<QString, StoredResource> result;
    m_store.read([&](EventStoreConnection& connection) {
        SqliteStatement& query = connection.sql().statement(
            "SELECT href, uid, etag FROM events WHERE calendar_id = ?1 AND href IS NOT NULL "
            "AND recurrence_id IS NULL");
        query.bind(1, calendar.id);
        while (query.step()) {
            result.emplace(query.text(0), StoredResource{query.text(1), query.text(2)});
        }
        query.reset();
    });
    return result;
}

std::vector<UnsentChange> CalDavStore::unsentChanges(const SyncedCalendar& calendar) const {
    std::vector<UnsentChange> result;
    m_store.read([&](EventStoreConnection& connection) {
        SqliteStatement& query = connection.sql().statement(
            "SELECT id, uid, href, etag, changes FROM sync_journal WHERE calendar_id = ?1 ORDER BY id");
        query.bind(1, calendar.id);
        while (query.step()) {
            result.push_back(UnsentChange{query.int64(0), query.text(1), QUrl(query.text(2)), query.text(3),
                                          query.integer(4)});
        }
        query.reset();
    });
    return result;
}

bool CalDavStore::hasUnsentChanges() const {
    bool unsent = false;
    m_store.read([&](EventStoreConnection& connection) {
        SqliteStatement& query = connection.sql().statement(
            "SELECT EXISTS (SELECT 1 FROM sync_journal) OR EXISTS (SELECT 1 FROM removed_calendars) OR "
            "EXISTS (SELECT 1 FROM calendars WHERE type = ?1 AND (remote_url IS NULL OR changed_here <> 0))");
        query.bind(1, static_cast<int>(EKCalendarType::CalDAV));
        unsent = query.step() && query.integer(0) != 0;
        query.reset();
    });
    return unsent;
}

std::vector<std::shared_ptr<EKEvent>> CalDavStore::records(const SyncedCalendar& calendar,
                                                           const QString& uid) const {
    std::vector<std::shared_ptr<EKEvent>> result;
    m_store.read([&](EventStoreConnection& connection) {
        result = connection.records(calendar.calendar->calendarIdentifier(), uid);
    });
    return result;
}

bool CalDavStore::storeResources(const SyncedCalendar& calendar,
                                 const std::vector<ReceivedResource>& resources, StoreError* error,
                                 const std::vector<UnsentChange>& settled) {
    if (resources.empty() && settled.empty()) {
        return true;
    }
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            for (const ReceivedResource& resource : resources) {
                if (!store(writer, calendar, resource, e)) {
                    return false;
                }
            }
            for (const UnsentChange& change : settled) {
                if (!settle(writer.connection().sql(), change)) {
                    return writer.databaseFailure(e);
                }
            }
            return true;
        },
        error);
}

bool CalDavStore::removeResources(const SyncedCalendar& calendar, const std::vector<QUrl>& hrefs,
                                  StoreError* error) {
    if (hrefs.empty()) {
        return true;
    }
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& remove =
                sql.statement("DELETE FROM events WHERE calendar_id = ?1 AND href = ?2");
            for (const QUrl& href : hrefs) {
                if (!remove.bind(1, calendar.id).bind(2, hrefKey(href)).execute()) {
                    return writer.databaseFailure(e);
                }
            }
            return true;
        },
        error);
}

bool CalDavStore::confirmSent(const SyncedCalendar& calendar, const UnsentChange& change, const QUrl& href,
                              const QString& etag, StoreError* error) {
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& remove =
                sql.statement("DELETE FROM sync_journal WHERE id = ?1 AND changes = ?2 RETURNING id");
            remove.bind(1, change.id).bind(2, change.changes);
            const bool removed = remove.step();
            remove.reset();
            if (!removed) {
                SqliteStatement& update =
                    sql.statement("UPDATE sync_journal SET href = ?1, etag = ?2 WHERE id = ?3");
                if (!update.bind(1, hrefKey(href)).bind(2, etag).bind(3, change.id).execute()) {
                    return writer.databaseFailure(e);
                }
            }
            return markResource(sql, calendar.id, change.uid, href, etag) || writer.databaseFailure(e);
        },
        error);
}

bool CalDavStore::keepBoth(const SyncedCalendar& calendar, const UnsentChange& change,
                           const ReceivedResource& server, const QString& suffix, StoreError* error) {
    const std::vector<std::shared_ptr<EKEvent>> local = records(calendar, change.uid);
    const QString copyUid = EventStoreWriter::newIdentifier();
    for (const std::shared_ptr<EKEvent>& event : local) {
        event->setEventIdentifier(copyUid);
        event->setCalendarItemExternalIdentifier(copyUid);
        event->setTitle(event->title() + suffix);
    }
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            if (!writer.saveEvents(local, true, e)) {
                return false;
            }
            SqliteStatement& journal =
                sql.statement("INSERT INTO sync_journal (calendar_id, uid) VALUES (?1, ?2)");
            if (!journal.bind(1, calendar.id).bind(2, copyUid).execute() || !settle(sql, change)) {
                return writer.databaseFailure(e);
            }
            return store(writer, calendar, server, e);
        },
        error);
}

bool CalDavStore::discardUnsent(const SyncedCalendar& calendar, const UnsentChange& change,
                                StoreError* error) {
    return m_store.writeSynced(
        [&](EventStoreWriter& writer, StoreError* e) {
            SqliteConnection& sql = writer.connection().sql();
            SqliteStatement& rows = sql.statement(
                "UPDATE events SET href = NULL, etag = NULL WHERE calendar_id = ?1 AND uid = ?2");
            SqliteStatement& state =
                sql.statement("UPDATE calendars SET sync_token = NULL, ctag = NULL WHERE id = ?1");
            return (rows.bind(1, calendar.id).bind(2, change.uid).execute() && settle(sql, change) &&
                    state.bind(1, calendar.id).execute()) ||
                   writer.databaseFailure(e);
        },
        error);
}
