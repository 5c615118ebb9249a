#include "core/sync/CalDavSync.h"

#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarReader.h"
#include "core/eventstore/ICalendarWriter.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"

#include <QCoreApplication>

#include <algorithm>
#include <set>

namespace {

// Resources asked for in one calendar-multiget and stored in one transaction.
constexpr std::size_t fetchBatch = 100;

// The content of an iCalendar text that tells two versions of an event apart: our writer's lines
// without the stamps and counters each write changes.
QByteArray comparableContent(const QByteArray& icalendar) {
    QByteArray kept;
    for (const QByteArray& line : icalendar.split('\n')) {
        if (line.startsWith("DTSTAMP") || line.startsWith("LAST-MODIFIED") || line.startsWith("SEQUENCE") ||
            line.startsWith("CREATED")) {
            continue;
        }
        kept += line;
        kept += '\n';
    }
    return kept;
}

QString key(const QUrl& url) {
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

QString CalDavSync::conflictSuffix() {
    return QCoreApplication::translate("CalDavSync", " (changed on this computer)");
}

CalDavSync::CalDavSync(EKEventStore& store, CalDavClient& client)
    : m_eventStore(store), m_client(client), m_store(store) {}

void CalDavSync::setOnProgress(std::function<void(const QString&)> onProgress) {
    m_onProgress = std::move(onProgress);
}

SyncReport CalDavSync::sync(const CalDavAccount& account) {
    SyncReport report;
    if (!pushCalendarChanges(account, report)) {
        return report;
    }
    progress(localizedString(QStringLiteral("Looking for the calendars of “%1”")).arg(account.title));
    DavResult<DavDiscovery> discovery = m_client.discover(account.serverUrl);
    if (!discovery) {
        failed(report, discovery.error());
        return report;
    }
    StoreError error;
    if (!m_store.updateCalendars(account, discovery.value().calendars, &error)) {
        failed(report, error.localizedDescription);
        return report;
    }
    for (const SyncedCalendar& calendar : m_store.calendars(account)) {
        const auto server =
            std::find_if(discovery.value().calendars.begin(), discovery.value().calendars.end(),
                         [&](const DavCalendar& found) { return key(found.url) == key(calendar.url); });
        if (server == discovery.value().calendars.end()) {
            continue;
        }
        progress(localizedString(QStringLiteral("Syncing “%1”")).arg(calendar.calendar->title()));
        // Conflicts found while pulling leave copies of this computer's versions to send: one more
        // push sends them at once.
        if (!push(calendar, report) || !pull(calendar, report) || !push(calendar, report)) {
            return report;
        }
    }
    if (!m_store.setAccountSynced(account, discovery.value().home, RunLoop::main().now(), &error)) {
        failed(report, error.localizedDescription);
    }
    return report;
}

bool CalDavSync::pushCalendarChanges(const CalDavAccount& account, SyncReport& report) {
    for (const CalendarChange& change : m_store.calendarChanges(account)) {
        QUrl url = change.url;
        switch (change.kind) {
        case CalendarChange::Kind::Made: {
            if (account.homeUrl.isEmpty()) {
                report.skipped.push_back(
                    localizedString(QStringLiteral("“%1” stays on this computer: the account is one "
                                                   "calendar's address, under which no calendar can be made"))
                        .arg(change.title));
                continue;
            }
            progress(localizedString(QStringLiteral("Making “%1” on the server")).arg(change.title));
            // Named after the calendar, so that a sync stopped before the answer makes no second one.
            const DavResult<QUrl> made = m_client.makeCalendar(account.homeUrl, change.identifier.toLower(),
                                                               change.title, change.color);
            if (!made) {
                return failed(report, made.error());
            }
            url = made.value();
            break;
        }
        case CalendarChange::Kind::Changed: {
            progress(localizedString(QStringLiteral("Renaming “%1” on the server")).arg(change.title));
            const DavResult<DavDone> changed =
                m_client.updateCalendar(change.url, change.title, change.color);
            // A server that does not let this user change it: its name and colour come back.
            if (!changed && changed.error().httpStatus != 403) {
                return failed(report, changed.error());
            }
            break;
        }
        case CalendarChange::Kind::Removed: {
            progress(localizedString(QStringLiteral("Removing a calendar on the server")));
            const DavResult<DavDone> removed = m_client.removeCalendar(change.url);
            // Gone already, or kept by a server that does not let this user remove it: then it
            // comes back here with the next discovery, and nothing is lost.
            if (!removed && removed.error().kind != DavError::Kind::NotFound &&
                removed.error().httpStatus != 403) {
                return failed(report, removed.error());
            }
            break;
        }
        }
        StoreError error;
        if (!m_store.confirmCalendarChange(change, url, &error)) {
            return failed(report, error.localizedDescription);
        }
    }
    return true;
}

bool CalDavSync::push(const SyncedCalendar& calendar, SyncReport& report) {
    for (const UnsentChange& change : m_store.unsentChanges(calendar)) {
        StoreError error;
        if (calendar.readOnly) {
            // The server would refuse it; the server's version comes back with the next pull.
            if (!m_store.discardUnsent(calendar, change, &error)) {
                return failed(report, error.localizedDescription);
            }
            continue;
        }
        const std::vector<std::shared_ptr<EKEvent>> records = m_store.records(calendar, change.uid);
        const bool sent = records.empty()
                              ? pushRemoval(calendar, change, report)
                              : pushChange(calendar, change, ICalendarWriter().write(records), report);
        if (!sent) {
            return false;
        }
    }
    return true;
}

bool CalDavSync::pushChange(const SyncedCalendar& calendar, const UnsentChange& change,
                            const QByteArray& body, SyncReport& report) {
    const QUrl href = change.href.isEmpty() ? newResourceUrl(calendar, change.uid) : change.href;
    DavResult<QString> put = m_client.put(href, body, change.etag);
    if (!put && put.error().kind == DavError::Kind::NotFound && !change.etag.isEmpty()) {
        // Deleted on the server, changed here: the change is created there again.
        put = m_client.put(href, body, QString());
    }
    if (!put && put.error().kind == DavError::Kind::PreconditionFailed) {
        return settleRefusedWrite(calendar, change, href, body, report);
    }
    if (!put) {
        return failed(report, put.error());
    }
    StoreError error;
    if (!m_store.confirmSent(calendar, change, href, put.value(), &error)) {
        return failed(report, error.localizedDescription);
    }
    ++report.pushed;
    return true;
}

bool CalDavSync::settleRefusedWrite(const SyncedCalendar& calendar, const UnsentChange& change,
                                    const QUrl& href, const QByteArray& sent, SyncReport& report) {
    const DavResult<DavResource> server = m_client.get(href);
    StoreError error;
    if (!server && server.error().kind == DavError::Kind::NotFound) {
        // Gone since the etag was read: created again.
        const DavResult<QString> created = m_client.put(href, sent, QString());
        if (!created) {
            return failed(report, created.error());
        }
        ++report.pushed;
        return m_store.confirmSent(calendar, change, href, created.value(), &error) ||
               failed(report, error.localizedDescription);
    }
    if (!server) {
        return failed(report, server.error());
    }
    const std::optional<ReceivedResource> resource = received(server.value(), report);
    if (!resource) {
        // The server's version cannot be read here: it stays there untouched, and so does this one.
        return true;
    }
    if (comparableContent(ICalendarWriter().write(resource->events)) == comparableContent(sent)) {
        // The server already has this version (sent before the sync was interrupted).
        return m_store.confirmSent(calendar, change, href, server.value().etag, &error) ||
               failed(report, error.localizedDescription);
    }
    if (!m_store.keepBoth(calendar, change, *resource, conflictSuffix(), &error)) {
        return failed(report, error.localizedDescription);
    }
    ++report.conflicts;
    return true;
}

bool CalDavSync::pushRemoval(const SyncedCalendar& calendar, const UnsentChange& change, SyncReport& report) {
    StoreError error;
    if (change.href.isEmpty()) {
        // Never on the server.
        return m_store.storeResources(calendar, {}, &error, {change}) ||
               failed(report, error.localizedDescription);
    }
    const DavResult<DavDone> removed = m_client.remove(change.href, change.etag);
    if (removed || removed.error().kind == DavError::Kind::NotFound) {
        ++report.removedThere;
        return m_store.storeResources(calendar, {}, &error, {change}) ||
               failed(report, error.localizedDescription);
    }
    if (removed.error().kind != DavError::Kind::PreconditionFailed) {
        return failed(report, removed.error());
    }
    // Changed on the server since: the server's version comes back.
    const DavResult<DavResource> server = m_client.get(change.href);
    if (!server) {
        return failed(report, server.error());
    }
    std::vector<ReceivedResource> back;
    if (std::optional<ReceivedResource> resource = received(server.value(), report)) {
        back.push_back(std::move(*resource));
        ++report.pulled;
    }
    return m_store.storeResources(calendar, back, &error, {change}) ||
           failed(report, error.localizedDescription);
}

bool CalDavSync::pull(const SyncedCalendar& calendar, SyncReport& report) {
    // Unchanged since the last sync when its collection tag is the same.
    QString ctag;
    if (!calendar.ctag.isEmpty()) {
        const DavResult<QString> tag = m_client.collectionTag(calendar.url);
        if (!tag) {
            return failed(report, tag.error());
        }
        if (tag.value() == calendar.ctag) {
            return true;
        }
        ctag = tag.value();
    }
    const std::map<QString, StoredResource> stored = m_store.resources(calendar);
    std::vector<DavEntry> changed;
    std::vector<QUrl> removed;
    QString token;
    bool listed = false;
    if (!calendar.syncToken.isEmpty()) {
        DavResult<DavChanges> changes = m_client.syncCollection(calendar.url, calendar.syncToken);
        if (changes) {
            changed = std::move(changes).value().changed;
            removed = changes.value().removed;
            token = changes.value().syncToken;
            listed = true;
        } else if (changes.error().kind != DavError::Kind::SyncTokenInvalid) {
            return failed(report, changes.error());
        }
    }
    if (!listed) {
        // The first sync, a server without sync-collection, or a token it no longer takes: the
        // calendar's state and every entry.
        const DavResult<DavCalendar> server = m_client.calendar(calendar.url);
        if (!server) {
            return failed(report, server.error());
        }
        token = server.value().syncToken;
        ctag = server.value().ctag;
        DavResult<std::vector<DavEntry>> entries = m_client.entries(calendar.url);
        if (!entries) {
            return failed(report, entries.error());
        }
        changed = std::move(entries).value();
        std::set<QString> present;
        for (const DavEntry& entry : changed) {
            present.insert(key(entry.url));
        }
        for (const auto& [href, resource] : stored) {
            if (!present.contains(href)) {
                removed.emplace_back(href);
            }
        }
    }
    std::vector<QUrl> wanted;
    for (const DavEntry& entry : changed) {
        const auto known = stored.find(key(entry.url));
        if (known == stored.end() || known->second.etag != entry.etag) {
            wanted.push_back(entry.url);
        }
    }
    if (!fetch(calendar, wanted, report)) {
        return false;
    }
    // Removed on the server: gone here too, unless changed here meanwhile (then created again).
    std::set<QString> unsent;
    for (const UnsentChange& change : m_store.unsentChanges(calendar)) {
        unsent.insert(change.uid);
    }
    std::vector<QUrl> gone;
    StoreError error;
    for (const QUrl& href : removed) {
        const auto known = stored.find(key(href));
        if (known == stored.end()) {
            continue;
        }
        if (!unsent.contains(known->second.uid)) {
            gone.push_back(href);
        }
    }
    if (!m_store.removeResources(calendar, gone, &error)) {
        return failed(report, error.localizedDescription);
    }
    report.removedHere += static_cast<int>(gone.size());
    return m_store.setCalendarState(calendar, token, ctag, &error) ||
           failed(report, error.localizedDescription);
}

bool CalDavSync::fetch(const SyncedCalendar& calendar, const std::vector<QUrl>& hrefs, SyncReport& report) {
    for (std::size_t start = 0; start < hrefs.size(); start += fetchBatch) {
        const std::vector<QUrl> batch(
            hrefs.begin() + static_cast<std::ptrdiff_t>(start),
            hrefs.begin() + static_cast<std::ptrdiff_t>(std::min(start + fetchBatch, hrefs.size())));
        progress(localizedString(QStringLiteral("Fetching %1 of %2 events of “%3”"))
                     .arg(start + batch.size())
                     .arg(hrefs.size())
                     .arg(calendar.calendar->title()));
        const DavResult<std::vector<DavResource>> fetched = m_client.multiget(calendar.url, batch);
        if (!fetched) {
            return failed(report, fetched.error());
        }
        // An event changed here meanwhile is left for the next sync, which sends it and settles
        // the difference then.
        std::set<QString> unsent;
        for (const UnsentChange& change : m_store.unsentChanges(calendar)) {
            unsent.insert(change.uid);
        }
        std::vector<ReceivedResource> resources;
        for (const DavResource& resource : fetched.value()) {
            std::optional<ReceivedResource> read = received(resource, report);
            if (read && !unsent.contains(read->uid)) {
                resources.push_back(std::move(*read));
            }
        }
        StoreError error;
        if (!m_store.storeResources(calendar, resources, &error)) {
            return failed(report, error.localizedDescription);
        }
        report.pulled += static_cast<int>(resources.size());
    }
    return true;
}

std::optional<ReceivedResource> CalDavSync::received(const DavResource& resource, SyncReport& report) const {
    const QString name = key(resource.url);
    ICalendarParseResult parsed = ICalendarReader(m_eventStore).read(resource.data, name);
    if (parsed.error || parsed.events.empty()) {
        report.skipped.push_back(parsed.error
                                     ? parsed.error->message()
                                     : (parsed.skipped.empty()
                                            ? localizedString(QStringLiteral("%1 holds no event")).arg(name)
                                            : parsed.skipped.front().message()));
        return std::nullopt;
    }
    ReceivedResource read{resource.url, resource.etag, parsed.events.front()->eventIdentifier(),
                          std::move(parsed.events)};
    const bool oneUid = std::all_of(read.events.begin(), read.events.end(),
                                    [&](const auto& event) { return event->eventIdentifier() == read.uid; });
    if (!oneUid) {
        report.skipped.push_back(
            localizedString(QStringLiteral("%1 holds more than one event (more than one UID)")).arg(name));
        return std::nullopt;
    }
    return read;
}

QUrl CalDavSync::newResourceUrl(const SyncedCalendar& calendar, const QString& uid) const {
    // The address follows from the UID, so a create sent again after an interruption finds its
    // first copy instead of making a second one.
    QString name;
    for (const QChar c : uid) {
        name += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_') ? c : QLatin1Char('_');
    }
    QUrl base = calendar.url;
    if (!base.path().endsWith(QLatin1Char('/'))) {
        base.setPath(base.path() + QLatin1Char('/'));
    }
    return base.resolved(QUrl(name + QStringLiteral(".ics")));
}

bool CalDavSync::failed(SyncReport& report, const QString& message) const {
    report.failure = message;
    return false;
}

bool CalDavSync::failed(SyncReport& report, const DavError& error) const {
    report.passwordRefused = error.kind == DavError::Kind::Unauthorized && error.httpStatus == 401;
    return failed(report, error.message);
}

void CalDavSync::progress(const QString& step) const {
    if (m_onProgress) {
        m_onProgress(step);
    }
}
