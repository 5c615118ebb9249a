#pragma once

#include "core/sync/CalDavClient.h"
#include "core/sync/CalDavStore.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

class EKEventStore;

// What one sync of an account did.
struct SyncReport {
    int pulled = 0;
    int pushed = 0;
    // Events removed here because the server no longer has them, and there because they were
    // deleted here.
    int removedHere = 0;
    int removedThere = 0;
    // Events both sides changed: the server's version stays, this computer's is kept beside it.
    int conflicts = 0;
    // Resources on the server that cannot be read, each named with its reason; they are left there
    // untouched.
    std::vector<QString> skipped;
    // Why the sync stopped before the end; empty when it finished. What was done before stays done,
    // and what was not sent waits for the next sync.
    QString failure;
    // The server refused the user name or password (401).
    bool passwordRefused = false;
};

// Syncs an account's calendars both ways (RFC 4791, RFC 6578): the server's calendars are
// discovered again (after the calendars made, renamed, recoloured or removed here were so on the
// server too), the changes journalled here are sent (conditional on the etag last seen, so
// that nothing on the server is overwritten unseen), then the server's changes are brought in
// (sync-collection where the server offers it, else the etags of the whole collection) and stored
// in short transactions. Nothing is lost: when both sides changed an event, the server's version
// stays and this computer's is kept beside it; an event deleted on one side and changed on the
// other comes back. A sync stopped at any point (no network, the process killed) leaves the store
// consistent, and the next sync completes it without duplicates. Runs in the calling thread,
// which the client blocks; the store may be written by the main thread meanwhile.
class CalDavSync {
public:
    // Appended to the title of this computer's version of an event both sides changed.
    static QString conflictSuffix();

    CalDavSync(EKEventStore& store, CalDavClient& client);

    // Told what the sync is doing, for a progress line.
    void setOnProgress(std::function<void(const QString& step)> onProgress);

    SyncReport sync(const CalDavAccount& account);

private:
    // Each step gives false when the sync must stop; the report says why.
    bool pushCalendarChanges(const CalDavAccount& account, SyncReport& report);
    bool push(const SyncedCalendar& calendar, SyncReport& report);
    bool pushChange(const SyncedCalendar& calendar, const UnsentChange& change, const QByteArray& body,
                    SyncReport& report);
    bool pushRemoval(const SyncedCalendar& calendar, const UnsentChange& change, SyncReport& report);
    // A write refused because the server's copy changed: keep both unless they are the same.
    bool settleRefusedWrite(const SyncedCalendar& calendar, const UnsentChange& change, const QUrl& href,
                            const QByteArray& sent, SyncReport& report);
    bool pull(const SyncedCalendar& calendar, SyncReport& report);
    bool fetch(const SyncedCalendar& calendar, const std::vector<QUrl>& hrefs, SyncReport& report);

    std::optional<ReceivedResource> received(const DavResource& resource, SyncReport& report) const;
    QUrl newResourceUrl(const SyncedCalendar& calendar, const QString& uid) const;
    bool failed(SyncReport& report, const QString& message) const;
    bool failed(SyncReport& report, const DavError& error) const;
    void progress(const QString& step) const;

    EKEventStore& m_eventStore;
    CalDavClient& m_client;
    CalDavStore m_store;
    std::function<void(const QString&)> m_onProgress;
};
