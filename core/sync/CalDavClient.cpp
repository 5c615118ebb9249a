#include "core/sync/CalDavClient.h"

#include "core/sync/DavXml.h"
#include "core/sync/HttpExchange.h"
#include "foundation/Localization.h"

#include <QNetworkAccessManager>

#include <algorithm>
#include <optional>

namespace {

// RFC 4791 §7.9 sets no limit; this keeps each request and answer of a large calendar moderate.
constexpr std::size_t multigetBatchSize = 100;

// A calendar's properties without its collection tag and sync token: some servers compute those
// from every event of a calendar, which makes listing the calendars of a home slow.
const QStringList davCalendarListing{
    DavXml::Names::resourceType, DavXml::Names::displayName, DavXml::Names::calendarColor,
    DavXml::Names::supportedCalendarComponentSet, DavXml::Names::currentUserPrivilegeSet};

const QStringList davCalendarProperties =
    davCalendarListing + QStringList{DavXml::Names::getCtag, DavXml::Names::syncToken};

const QByteArray xmlContentType = QByteArrayLiteral("application/xml; charset=utf-8");

// What an unexpected status means, for an answer to a request that meant to `doing`.
DavError statusError(const HttpAnswer& answer, const QString& doing) {
    const QString address = answer.url.toDisplayString();
    switch (answer.status) {
    case 401:
        return davError(DavError::Kind::Unauthorized, answer.url, answer.status,
                        localizedString(QStringLiteral("The server refused the user name or password for %1"))
                            .arg(address));
    case 403:
        return davError(
            DavError::Kind::Unauthorized, answer.url, answer.status,
            localizedString(QStringLiteral("%1 does not allow this account to %2")).arg(address, doing));
    case 404:
    case 410:
        return davError(DavError::Kind::NotFound, answer.url, answer.status,
                        localizedString(QStringLiteral("%1 does not exist on the server")).arg(address));
    case 412:
        return davError(
            DavError::Kind::PreconditionFailed, answer.url, answer.status,
            localizedString(
                QStringLiteral("%1 was changed on the server since it was last read, so it was not "
                               "possible to %2"))
                .arg(address, doing));
    default:
        return davError(DavError::Kind::Http, answer.url, answer.status,
                        localizedString(QStringLiteral("%1 answered with status %2 when asked to %3"))
                            .arg(address)
                            .arg(answer.status)
                            .arg(doing));
    }
}

bool isCalendarResponse(const DavXml::Response& response) {
    const DavXml::Property* type = response.property(DavXml::Names::resourceType);
    return type != nullptr && type->contains(DavXml::Names::calendar);
}

bool isCollectionResponse(const DavXml::Response& response) {
    const DavXml::Property* type = response.property(DavXml::Names::resourceType);
    return type != nullptr && type->contains(DavXml::Names::collection);
}

QString trimmedText(const DavXml::Response& response, const QString& property) {
    const DavXml::Property* found = response.property(property);
    return found == nullptr ? QString() : found->text.trimmed();
}

QUrl firstHref(const DavXml::Response& response, const QString& property) {
    const DavXml::Property* found = response.property(property);
    return found == nullptr || found->hrefs.isEmpty() ? QUrl() : found->hrefs.first();
}

DavCalendar calendarOf(const DavXml::Response& response) {
    DavCalendar calendar;
    calendar.url = response.url;
    calendar.displayName = trimmedText(response, DavXml::Names::displayName);
    calendar.color = trimmedText(response, DavXml::Names::calendarColor);
    calendar.ctag = trimmedText(response, DavXml::Names::getCtag);
    calendar.syncToken = trimmedText(response, DavXml::Names::syncToken);
    if (const DavXml::Property* components =
            response.property(DavXml::Names::supportedCalendarComponentSet)) {
        calendar.hasEvents =
            components->componentNames.contains(QStringLiteral("VEVENT"), Qt::CaseInsensitive);
    }
    if (const DavXml::Property* privileges = response.property(DavXml::Names::currentUserPrivilegeSet)) {
        calendar.writable = privileges->contains(DavXml::name(DavXml::dav, QStringLiteral("write"))) ||
                            privileges->contains(DavXml::name(DavXml::dav, QStringLiteral("all")));
    }
    return calendar;
}

// The response about the address asked for itself: the one with its address, else the only one
// (a server may answer with another form of the address, such as without the closing slash).
const DavXml::Response* ownResponse(const DavXml::Multistatus& multistatus, const QUrl& url) {
    if (const DavXml::Response* response = multistatus.responseFor(url)) {
        return response;
    }
    return multistatus.responses.size() == 1 ? &multistatus.responses.front() : nullptr;
}

QUrl asCollection(const QUrl& url) {
    QUrl collection = url;
    if (!collection.path().endsWith(QLatin1Char('/'))) {
        collection.setPath(collection.path() + QLatin1Char('/'));
    }
    return collection;
}

} // namespace

class CalDavClient::Impl {
public:
    Impl(const QString& userName, const QString& password, const Options& options)
        : m_exchange(m_network,
                     HttpExchange::Bounds{options.maxAnswerBytes, options.timeout, options.maxRedirects,
                                          options.pinnedCertificateSha256},
                     userName.isEmpty()
                         ? QByteArray()
                         : "Basic " + (userName + QLatin1Char(':') + password).toUtf8().toBase64()) {}

    DavResult<HttpAnswer> send(const QByteArray& method, const QUrl& url, const QByteArray& body,
                               const HttpHeaders& headers) {
        return m_exchange.send(HttpRequest{method, url, headers, body});
    }

    // PROPFIND (RFC 4918 §9.1). An address that does not answer it with a multistatus is not a
    // WebDAV server at all.
    DavResult<DavXml::Multistatus> propfind(const QUrl& url, int depth, const QStringList& properties) {
        auto answer = send("PROPFIND", url, DavXml::propfind(properties),
                           {{"Depth", QByteArray::number(depth)}, {"Content-Type", xmlContentType}});
        if (!answer) {
            return answer.error();
        }
        const HttpAnswer& reply = answer.value();
        if (reply.status == 405 || (DavXml::isSuccessStatus(reply.status) && reply.status != 207)) {
            return davError(
                DavError::Kind::NotCalDav, reply.url, reply.status,
                localizedString(
                    QStringLiteral("%1 is not a CalDAV server: it does not answer WebDAV requests"))
                    .arg(url.toDisplayString()));
        }
        if (reply.status != 207) {
            return statusError(reply, localizedString(QStringLiteral("read its properties")));
        }
        return DavXml::parseMultistatus(reply.body, reply.url);
    }

    // REPORT (RFC 3253 §3.6), with a Depth header only where the report defines one.
    DavResult<HttpAnswer> report(const QUrl& url, const QByteArray& body, std::optional<int> depth) {
        HttpHeaders headers{{"Content-Type", xmlContentType}};
        if (depth) {
            headers.append({"Depth", QByteArray::number(*depth)});
        }
        return send("REPORT", url, body, headers);
    }

    DavResult<DavDiscovery> discoverFrom(const QUrl& address);
    DavResult<DavDiscovery> calendarsOf(const QUrl& principal);

    QNetworkAccessManager m_network;
    HttpExchange m_exchange;
};

DavResult<DavDiscovery> CalDavClient::Impl::discoverFrom(const QUrl& address) {
    QStringList properties = davCalendarProperties;
    properties << DavXml::Names::currentUserPrincipal << DavXml::Names::calendarHomeSet;
    auto found = propfind(address, 0, properties);
    if (found) {
        if (const DavXml::Response* response = ownResponse(found.value(), address)) {
            if (isCalendarResponse(*response)) {
                return DavDiscovery{firstHref(*response, DavXml::Names::currentUserPrincipal),
                                    QUrl(),
                                    {calendarOf(*response)}};
            }
            if (const QUrl principal = firstHref(*response, DavXml::Names::currentUserPrincipal);
                !principal.isEmpty()) {
                return calendarsOf(principal);
            }
            if (response->property(DavXml::Names::calendarHomeSet) != nullptr) {
                return calendarsOf(response->url);
            }
        }
    } else {
        // A wrong password or an unreachable server ends discovery; an address that is merely not
        // the right one leaves the well-known address to try.
        switch (found.error().kind) {
        case DavError::Kind::NotCalDav:
        case DavError::Kind::NotFound:
        case DavError::Kind::BadAnswer:
        case DavError::Kind::Http:
            break;
        case DavError::Kind::Unauthorized:
            if (found.error().httpStatus == 401) {
                return found.error();
            }
            break;
        default:
            return found.error();
        }
    }

    // RFC 6764 §5: the server's well-known address leads to the principal.
    const QUrl wellKnown = address.resolved(QUrl(QStringLiteral("/.well-known/caldav")));
    auto known = propfind(wellKnown, 0, {DavXml::Names::currentUserPrincipal});
    if (!known) {
        switch (known.error().kind) {
        case DavError::Kind::NotCalDav:
        case DavError::Kind::NotFound:
        case DavError::Kind::Http:
            return davError(
                DavError::Kind::NotCalDav, address, known.error().httpStatus,
                found ? localizedString(
                            QStringLiteral("%1 is not a CalDAV server: it names no calendars for the "
                                           "user, nor does %2"))
                            .arg(address.toDisplayString(), wellKnown.toDisplayString())
                : found.error().kind == DavError::Kind::NotCalDav
                    ? found.error().message
                    : localizedString(QStringLiteral("%1 is not a CalDAV server: %2"))
                          .arg(address.toDisplayString(), found.error().message));
        default:
            return known.error();
        }
    }
    for (const DavXml::Response& response : known.value().responses) {
        if (const QUrl principal = firstHref(response, DavXml::Names::currentUserPrincipal);
            !principal.isEmpty()) {
            return calendarsOf(principal);
        }
    }
    return davError(
        DavError::Kind::NotCalDav, address, 0,
        localizedString(QStringLiteral("%1 is not a CalDAV server: it names no principal for the user"))
            .arg(address.toDisplayString()));
}

DavResult<DavDiscovery> CalDavClient::Impl::calendarsOf(const QUrl& principal) {
    // RFC 4791 §6.2.1.
    auto homes = propfind(principal, 0, {DavXml::Names::calendarHomeSet});
    if (!homes) {
        return homes.error();
    }
    const DavXml::Response* principalResponse = ownResponse(homes.value(), principal);
    const QUrl home =
        principalResponse == nullptr ? QUrl() : firstHref(*principalResponse, DavXml::Names::calendarHomeSet);
    if (home.isEmpty()) {
        return davError(
            DavError::Kind::NotCalDav, principal, 0,
            localizedString(
                QStringLiteral("%1 is not a CalDAV server: it names no calendar home for the user"))
                .arg(principal.toDisplayString()));
    }
    auto listed = propfind(home, 1, davCalendarListing);
    if (!listed) {
        return listed.error();
    }
    DavDiscovery discovery{principal, home, {}};
    for (const DavXml::Response& response : listed.value().responses) {
        if (isCalendarResponse(response) && response.url != home) {
            discovery.calendars.push_back(calendarOf(response));
        }
    }
    return discovery;
}

CalDavClient::CalDavClient(QString userName, QString password, Options options)
    : m_impl(std::make_unique<Impl>(userName, password, options)) {}

CalDavClient::~CalDavClient() = default;

DavResult<DavDiscovery> CalDavClient::discover(const QUrl& address) {
    return m_impl->discoverFrom(address.adjusted(QUrl::NormalizePathSegments));
}

DavResult<DavCalendar> CalDavClient::calendar(const QUrl& calendarUrl) {
    auto found = m_impl->propfind(calendarUrl, 0, davCalendarProperties);
    if (!found) {
        return found.error();
    }
    const DavXml::Response* response = ownResponse(found.value(), calendarUrl);
    if (response == nullptr || !isCalendarResponse(*response)) {
        return davError(
            DavError::Kind::NotCalDav, calendarUrl, 207,
            localizedString(QStringLiteral("%1 is not a calendar")).arg(calendarUrl.toDisplayString()));
    }
    return calendarOf(*response);
}

DavResult<QString> CalDavClient::collectionTag(const QUrl& calendarUrl) {
    auto found = m_impl->propfind(calendarUrl, 0, {DavXml::Names::getCtag});
    if (!found) {
        return found.error();
    }
    const DavXml::Response* response = ownResponse(found.value(), calendarUrl);
    return response == nullptr ? QString() : trimmedText(*response, DavXml::Names::getCtag);
}

DavResult<DavChanges> CalDavClient::syncCollection(const QUrl& calendarUrl, const QString& syncToken) {
    auto answer = m_impl->report(calendarUrl, DavXml::syncCollection(syncToken), 0);
    if (!answer) {
        return answer.error();
    }
    const HttpAnswer& reply = answer.value();
    // RFC 6578 §3.2: the DAV:valid-sync-token precondition; some servers give only the status.
    if ((reply.status == 403 || reply.status == 409) &&
        (!syncToken.isEmpty() ||
         DavXml::namesPrecondition(reply.body,
                                   DavXml::name(DavXml::dav, QStringLiteral("valid-sync-token"))))) {
        return davError(
            DavError::Kind::SyncTokenInvalid, reply.url, reply.status,
            localizedString(
                QStringLiteral("%1 no longer accepts the sync token; the calendar has to be read whole"))
                .arg(calendarUrl.toDisplayString()));
    }
    if (reply.status != 207) {
        return statusError(reply, localizedString(QStringLiteral("list its changes")));
    }
    auto parsed = DavXml::parseMultistatus(reply.body, reply.url);
    if (!parsed) {
        return parsed.error();
    }
    const QUrl collection = calendarUrl.adjusted(QUrl::NormalizePathSegments);
    DavChanges changes;
    changes.syncToken = parsed.value().syncToken;
    for (const DavXml::Response& response : parsed.value().responses) {
        if (response.url == collection || response.url == asCollection(collection)) {
            continue;
        }
        if (response.status == 404) {
            changes.removed.push_back(response.url);
        } else if (const DavXml::Property* etag = response.property(DavXml::Names::getEtag)) {
            changes.changed.push_back(DavEntry{response.url, etag->text.trimmed()});
        }
    }
    return changes;
}

DavResult<std::vector<DavEntry>> CalDavClient::entries(const QUrl& calendarUrl) {
    auto found = m_impl->propfind(calendarUrl, 1, {DavXml::Names::resourceType, DavXml::Names::getEtag});
    if (!found) {
        return found.error();
    }
    std::vector<DavEntry> entries;
    for (const DavXml::Response& response : found.value().responses) {
        const DavXml::Property* etag = response.property(DavXml::Names::getEtag);
        if (etag != nullptr && !isCollectionResponse(response)) {
            entries.push_back(DavEntry{response.url, etag->text.trimmed()});
        }
    }
    return entries;
}

DavResult<std::vector<DavResource>> CalDavClient::multiget(const QUrl& calendarUrl,
                                                           const std::vector<QUrl>& resources) {
    std::vector<DavResource> found;
    for (std::size_t start = 0; start < resources.size(); start += multigetBatchSize) {
        const auto first = resources.begin() + static_cast<std::ptrdiff_t>(start);
        const std::vector<QUrl> batch(first, first + static_cast<std::ptrdiff_t>(std::min(
                                                         multigetBatchSize, resources.size() - start)));
        // RFC 4791 §7.9: the hrefs name the resources, so no Depth header is sent.
        auto answer = m_impl->report(calendarUrl, DavXml::calendarMultiget(batch), std::nullopt);
        if (!answer) {
            return answer.error();
        }
        if (answer.value().status != 207) {
            return statusError(answer.value(), localizedString(QStringLiteral("give its events")));
        }
        auto parsed = DavXml::parseMultistatus(answer.value().body, answer.value().url);
        if (!parsed) {
            return parsed.error();
        }
        for (const DavXml::Response& response : parsed.value().responses) {
            const DavXml::Property* data = response.property(DavXml::Names::calendarData);
            if (response.status == 0 && data != nullptr) {
                found.push_back(DavResource{response.url, trimmedText(response, DavXml::Names::getEtag),
                                            data->text.toUtf8()});
            }
        }
    }
    return found;
}

DavResult<DavResource> CalDavClient::get(const QUrl& resource) {
    auto answer = m_impl->send("GET", resource, {}, {});
    if (!answer) {
        return answer.error();
    }
    if (answer.value().status != 200) {
        return statusError(answer.value(), localizedString(QStringLiteral("give the event")));
    }
    return DavResource{resource.adjusted(QUrl::NormalizePathSegments),
                       QString::fromUtf8(answer.value().header("ETag")), std::move(answer).value().body};
}

DavResult<QString> CalDavClient::put(const QUrl& resource, const QByteArray& icalendar,
                                     const QString& ifMatchEtag) {
    HttpHeaders headers{{"Content-Type", "text/calendar; charset=utf-8"}};
    // The etag goes back exactly as the server gave it, quotes included.
    headers.append(ifMatchEtag.isEmpty()
                       ? std::pair<QByteArray, QByteArray>{"If-None-Match", "*"}
                       : std::pair<QByteArray, QByteArray>{"If-Match", ifMatchEtag.toUtf8()});
    auto answer = m_impl->send("PUT", resource, icalendar, headers);
    if (!answer) {
        return answer.error();
    }
    if (!DavXml::isSuccessStatus(answer.value().status)) {
        return statusError(answer.value(), ifMatchEtag.isEmpty()
                                               ? localizedString(QStringLiteral("create it"))
                                               : localizedString(QStringLiteral("replace it")));
    }
    if (const QByteArray etag = answer.value().header("ETag"); !etag.isEmpty()) {
        return QString::fromUtf8(etag);
    }
    // RFC 4791 §5.3.4: a server that changed the data on storing gives no etag; read it back.
    auto stored = get(resource);
    if (!stored) {
        return stored.error();
    }
    return stored.value().etag;
}

DavResult<DavDone> CalDavClient::remove(const QUrl& resource, const QString& ifMatchEtag) {
    HttpHeaders headers;
    if (!ifMatchEtag.isEmpty()) {
        headers.append({"If-Match", ifMatchEtag.toUtf8()});
    }
    auto answer = m_impl->send("DELETE", resource, {}, headers);
    if (!answer) {
        return answer.error();
    }
    if (!DavXml::isSuccessStatus(answer.value().status)) {
        return statusError(answer.value(), localizedString(QStringLiteral("delete it")));
    }
    return DavDone{};
}

DavResult<QUrl> CalDavClient::makeCalendar(const QUrl& home, const QString& name, const QString& displayName,
                                           const QString& color) {
    const QUrl address =
        asCollection(home)
            .resolved(QUrl(QString::fromLatin1(QUrl::toPercentEncoding(name)) + QLatin1Char('/')))
            .adjusted(QUrl::NormalizePathSegments);
    // RFC 4791 §5.3.1.
    auto answer = m_impl->send("MKCALENDAR", address, DavXml::makeCalendar(displayName, color),
                               {{"Content-Type", xmlContentType}});
    if (!answer) {
        return answer.error();
    }
    if (!DavXml::isSuccessStatus(answer.value().status)) {
        // RFC 4791 §5.3.1.1: 405 when a resource exists there already.
        if (answer.value().status == 405 && calendar(address)) {
            return address;
        }
        return statusError(answer.value(), localizedString(QStringLiteral("create the calendar")));
    }
    return address;
}

DavResult<DavDone> CalDavClient::updateCalendar(const QUrl& calendarUrl, const QString& displayName,
                                                const QString& color) {
    auto answer = m_impl->send("PROPPATCH", calendarUrl, DavXml::updateCalendar(displayName, color),
                               {{"Content-Type", xmlContentType}});
    if (!answer) {
        return answer.error();
    }
    const HttpAnswer& reply = answer.value();
    if (!DavXml::isSuccessStatus(reply.status)) {
        return statusError(reply, localizedString(QStringLiteral("rename the calendar")));
    }
    if (reply.status == 207) {
        auto parsed = DavXml::parseMultistatus(reply.body, reply.url);
        if (!parsed) {
            return parsed.error();
        }
        for (const DavXml::Response& response : parsed.value().responses) {
            if (response.failedPropertyStatus != 0) {
                return davError(
                    DavError::Kind::Http, reply.url, response.failedPropertyStatus,
                    localizedString(QStringLiteral("%1 did not take the new name and colour (status %2)"))
                        .arg(calendarUrl.toDisplayString())
                        .arg(response.failedPropertyStatus));
            }
        }
    }
    return DavDone{};
}

DavResult<DavDone> CalDavClient::removeCalendar(const QUrl& calendarUrl) {
    auto answer = m_impl->send("DELETE", calendarUrl, {}, {});
    if (!answer) {
        return answer.error();
    }
    if (!DavXml::isSuccessStatus(answer.value().status)) {
        return statusError(answer.value(), localizedString(QStringLiteral("delete the calendar")));
    }
    return DavDone{};
}
