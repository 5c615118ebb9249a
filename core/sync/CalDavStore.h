#pragma once

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/StoreError.h"
#include "core/sync/CalDavClient.h"
#include "foundation/Date.h"

#include <QString>
#include <QUrl>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class EKEventStore;

// An account on a CalDAV server: a source of type CalDAV. Its password is kept by the keyring.
struct CalDavAccount {
    QString identifier;
    // The name the person gave it, unique among the accounts.
    QString title;
    QUrl serverUrl;
    QString userName;
    // The calendar home discovery found; empty for an account of one calendar address.
    QUrl homeUrl;
    QByteArray certificateSha256;
    std::optional<Date> lastSync;
};

// A server calendar of an account as the store keeps it.
struct SyncedCalendar {
    std::int64_t id = 0;
    std::shared_ptr<EKCalendar> calendar;
    QUrl url;
    bool readOnly = false;
    QString syncToken;
    QString ctag;
};

// What the store knows of one server resource: the event's UID and the etag it came with.
struct StoredResource {
    QString uid;
    QString etag;
};

// A resource changed here and not yet sent: the calendar's events of that UID are to be written to
// the server, or deleted there when the calendar no longer has any. `href` and `etag` are the
// resource's as the server last had them when it was first changed here (empty when it never was
// on the server).
struct UnsentChange {
    std::int64_t id = 0;
    QString uid;
    QUrl href;
    QString etag;
    int changes = 0;
};

// A calendar of an account changed here and not yet on the server.
struct CalendarChange {
    enum class Kind {
        // Added here: to be made on the server.
        Made,
        // Renamed or recoloured here.
        Changed,
        // Removed here: to be removed on the server.
        Removed,
    };
    Kind kind = Kind::Made;
    // The calendar's row, or the removal's.
    std::int64_t id = 0;
    // The calendar's identifier; empty for Removed.
    QString identifier;
    // The server calendar's address; empty for Made.
    QUrl url;
    QString title;
    // "#RRGGBB", or empty.
    QString color;
    // The colour as the store holds it, to tell whether it changed again meanwhile.
    QString storedColor;
};

// A resource read from the server, ready to be stored: its events (a single event, or a series
// with its changed occurrences) all of one UID.
struct ReceivedResource {
    QUrl href;
    QString etag;
    QString uid;
    std::vector<std::shared_ptr<EKEvent>> events;
};

// The store's side of the sync with CalDAV servers: accounts, their calendars, the address and etag
// of each resource, and the journal of changes to send. Every write is one short transaction of
// its own, announced as a Sync change, so that a save on the main thread never waits for a whole
// sync. Any thread.
class CalDavStore {
public:
    explicit CalDavStore(EKEventStore& store);

    // The address an account is added with, from what the person typed ("https://" when no scheme
    // is given); none, with `problem` saying why, when it is not an http:// or https:// address.
    static std::optional<QUrl> accountAddress(const QString& typed, QString* problem);
    // A certificate's SHA-256 fingerprint as a person compares it: hex pairs in upper case
    // separated by ":".
    static QString fingerprintText(const QByteArray& sha256);
    // The fingerprint a person typed (hex digits, pairs separated by ":" or not, any case); none
    // when it is not 32 bytes of hex.
    static std::optional<QByteArray> fingerprintFromText(const QString& text);
    // The title of an account the person did not name: "user@host".
    static QString defaultTitle(const QString& userName, const QUrl& serverUrl);

    std::vector<CalDavAccount> accounts() const;
    // By title or identifier.
    std::optional<CalDavAccount> account(const QString& name) const;
    // Adds the account as a new source; its identifier is set. Refuses a title already taken.
    bool addAccount(CalDavAccount& account, StoreError* error);
    // Removes the account with its calendars and their events here; the server keeps them.
    bool removeAccount(const CalDavAccount& account, StoreError* error);
    bool setAccountSynced(const CalDavAccount& account, const QUrl& homeUrl, Date when, StoreError* error);

    std::vector<SyncedCalendar> calendars(const CalDavAccount& account) const;
    // Makes the account's calendars those the server lists (only those with events): new ones are
    // added, found ones (by address) keep their identifier and take the server's name, colour and
    // privilege, and those the server no longer lists are removed here.
    bool updateCalendars(const CalDavAccount& account, const std::vector<DavCalendar>& found,
                         StoreError* error);
    // The account's calendars made, renamed, recoloured or removed here since the last sync.
    std::vector<CalendarChange> calendarChanges(const CalDavAccount& account) const;
    // The server has the change: a made calendar takes its address `url` and its events are
    // journalled to be sent; a changed one is no longer marked, unless it changed again meanwhile;
    // a removal is forgotten.
    bool confirmCalendarChange(const CalendarChange& change, const QUrl& url, StoreError* error);
    bool setCalendarState(const SyncedCalendar& calendar, const QString& syncToken, const QString& ctag,
                          StoreError* error);

    // The calendar's resources by address (normalised as the client gives them).
    std::map<QString, StoredResource> resources(const SyncedCalendar& calendar) const;
    std::vector<UnsentChange> unsentChanges(const SyncedCalendar& calendar) const;
    // Whether any account has a change made here that the server does not have yet: an event, or a
    // calendar made, renamed, recoloured or removed.
    bool hasUnsentChanges() const;
    // The records of one resource, as ICalendarWriter writes them.
    std::vector<std::shared_ptr<EKEvent>> records(const SyncedCalendar& calendar, const QString& uid) const;

    // Each resource replaces the calendar's events of its UID (which keep their identifiers); the
    // journal entries `settled` go with it, in the same transaction.
    bool storeResources(const SyncedCalendar& calendar, const std::vector<ReceivedResource>& resources,
                        StoreError* error, const std::vector<UnsentChange>& settled = {});
    // Removes the calendar's events that came from these addresses.
    bool removeResources(const SyncedCalendar& calendar, const std::vector<QUrl>& hrefs, StoreError* error);
    // The server has the change as sent, at `href` with `etag`: the events of its UID take them and
    // the journal entry goes, unless the events changed again meanwhile (then it stays, with the
    // new address and etag, to be sent at the next sync).
    bool confirmSent(const SyncedCalendar& calendar, const UnsentChange& change, const QUrl& href,
                     const QString& etag, StoreError* error);
    // Both sides changed the resource: the events of its UID are kept beside the server's version
    // as a new event (a new UID, journalled to be sent) whose titles have `suffix` appended, and
    // the server's version takes their place; one transaction.
    bool keepBoth(const SyncedCalendar& calendar, const UnsentChange& change, const ReceivedResource& server,
                  const QString& suffix, StoreError* error);
    // A change the server will not take (its calendar became read-only): the journal entry goes,
    // and the UID's events and the calendar forget what the server had, so that the next pull
    // brings the server's version back.
    bool discardUnsent(const SyncedCalendar& calendar, const UnsentChange& change, StoreError* error);

private:
    EKEventStore& m_store;
};
