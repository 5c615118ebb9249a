#pragma once

#include "core/sync/DavResult.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// A calendar collection as the server describes it.
struct DavCalendar {
    QUrl url;
    QString displayName;
    // As the server gives it ("#RRGGBB" or "#RRGGBBAA"); empty when it gives none.
    QString color;
    // Whether it holds events (VEVENT in its supported components, or no list at all).
    bool hasEvents = true;
    // Whether the user may write its events (DAV:write or DAV:all among the privileges).
    bool writable = true;
    QString ctag;
    // Empty when the server does not offer sync-collection for it.
    QString syncToken;
};

// What discovery found from an address: the account's calendar home and its calendars, or the
// one calendar a calendar address pointed at (then `home` is empty).
struct DavDiscovery {
    QUrl principal;
    QUrl home;
    std::vector<DavCalendar> calendars;
};

// A calendar object resource and its etag.
struct DavEntry {
    QUrl url;
    QString etag;
};

// What changed in a collection since a sync token.
struct DavChanges {
    std::vector<DavEntry> changed;
    std::vector<QUrl> removed;
    QString syncToken;
};

struct DavResource {
    QUrl url;
    QString etag;
    QByteArray data;
};

// A CalDAV client (RFC 4791, RFC 6578, RFC 6764) on Qt Network. Each call blocks its thread until
// the answer is complete or a bound is reached; an object is used by one thread at a time, the
// thread it was made on. Answers are bounded in size and time, plain http:// is refused except
// for loopback addresses, redirects are followed only within the same host (at most
// `maxRedirects`) and certificates are verified (a pinned fingerprint is accepted).
class CalDavClient {
public:
    struct Options {
        qint64 maxAnswerBytes = 50 * 1024 * 1024;
        std::chrono::milliseconds timeout{60000};
        int maxRedirects = 5;
        // SHA-256 of a certificate the person confirmed for this account; empty for none.
        QByteArray pinnedCertificateSha256;
    };

    CalDavClient(QString userName, QString password, Options options);
    ~CalDavClient();
    CalDavClient(const CalDavClient&) = delete;
    CalDavClient& operator=(const CalDavClient&) = delete;

    // From a server address (its /.well-known/caldav, then current-user-principal and
    // calendar-home-set) or a calendar's own address. Calendars without events are listed with
    // hasEvents false. The calendars of a home come without their ctag and sync token (ask
    // calendar() or collectionTag() for those).
    DavResult<DavDiscovery> discover(const QUrl& address);
    // The properties of one calendar (name, colour, ctag, sync token, privileges).
    DavResult<DavCalendar> calendar(const QUrl& calendarUrl);

    // The collection tag (getctag) alone, the cheapest question about a whole calendar; empty when
    // the server keeps none.
    DavResult<QString> collectionTag(const QUrl& calendarUrl);
    // sync-collection (RFC 6578); an empty token asks for everything. Kind::SyncTokenInvalid when
    // the server refuses the token.
    DavResult<DavChanges> syncCollection(const QUrl& calendarUrl, const QString& syncToken);
    // Every calendar object resource of a collection with its etag (PROPFIND depth 1).
    DavResult<std::vector<DavEntry>> entries(const QUrl& calendarUrl);
    // calendar-multiget of the given resources; resources the server no longer has are left out.
    DavResult<std::vector<DavResource>> multiget(const QUrl& calendarUrl, const std::vector<QUrl>& resources);
    DavResult<DavResource> get(const QUrl& resource);

    // Creates the resource (If-None-Match: *) when `ifMatchEtag` is empty, else replaces it
    // (If-Match). Gives the new etag, from the answer or fetched at once; Kind::PreconditionFailed
    // when the resource exists (creating) or changed (replacing).
    DavResult<QString> put(const QUrl& resource, const QByteArray& icalendar, const QString& ifMatchEtag);
    // DELETE with If-Match; Kind::PreconditionFailed when it changed, Kind::NotFound when gone.
    DavResult<DavDone> remove(const QUrl& resource, const QString& ifMatchEtag);

    // MKCALENDAR of the collection `name` under the calendar home, for events; gives the new
    // calendar's address. A calendar already at that address (made by an attempt whose answer was
    // lost) counts as made.
    DavResult<QUrl> makeCalendar(const QUrl& home, const QString& name, const QString& displayName,
                                 const QString& color);
    // PROPPATCH of the name and colour.
    DavResult<DavDone> updateCalendar(const QUrl& calendarUrl, const QString& displayName,
                                      const QString& color);
    DavResult<DavDone> removeCalendar(const QUrl& calendarUrl);

private:
    class Impl;
    std::unique_ptr<Impl> m_impl;
};
