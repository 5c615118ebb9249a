#pragma once

#include "core/sync/DavResult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <map>
#include <vector>

// The XML of WebDAV and CalDAV (RFC 4918, RFC 4791, RFC 6578): request bodies, and the
// multistatus answers read with QXmlStreamReader, which resolves no external entities.
// Elements are named in Clark notation, "{namespace}local-name".
namespace DavXml {

inline const QString dav = QStringLiteral("DAV:");
inline const QString caldav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
inline const QString calendarServer = QStringLiteral("http://calendarserver.org/ns/");
inline const QString appleIcal = QStringLiteral("http://apple.com/ns/ical/");

QString name(const QString& xmlNamespace, const QString& localName);
// 2xx, for answers and for the statuses inside them.
bool isSuccessStatus(int status);

// Element names of the properties read here.
namespace Names {
inline const QString resourceType = QStringLiteral("{DAV:}resourcetype");
inline const QString displayName = QStringLiteral("{DAV:}displayname");
inline const QString getEtag = QStringLiteral("{DAV:}getetag");
inline const QString syncToken = QStringLiteral("{DAV:}sync-token");
inline const QString currentUserPrivilegeSet = QStringLiteral("{DAV:}current-user-privilege-set");
inline const QString currentUserPrincipal = QStringLiteral("{DAV:}current-user-principal");
inline const QString collection = QStringLiteral("{DAV:}collection");
inline const QString supportedCalendarComponentSet =
    QStringLiteral("{urn:ietf:params:xml:ns:caldav}supported-calendar-component-set");
inline const QString calendarHomeSet = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-home-set");
inline const QString calendarData = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar-data");
inline const QString calendar = QStringLiteral("{urn:ietf:params:xml:ns:caldav}calendar");
inline const QString calendarColor = QStringLiteral("{http://apple.com/ns/ical/}calendar-color");
inline const QString getCtag = QStringLiteral("{http://calendarserver.org/ns/}getctag");
} // namespace Names

// A resource's address in the one form answers and stored addresses are compared in: `href`
// (percent-encoded, usually a path) resolved against the request's address, dot segments removed.
QUrl resolvedHref(const QUrl& base, const QString& href);

// One property as an answer gave it.
struct Property {
    // All text inside it, untrimmed.
    QString text;
    // Its DAV:href elements, resolved.
    QList<QUrl> hrefs;
    // The names of the elements inside it, at any depth.
    QStringList elements;
    // The name attributes of the CALDAV:comp elements inside it.
    QStringList componentNames;

    bool contains(const QString& element) const { return elements.contains(element); }
};

struct Response {
    QUrl url;
    // The response's own status (RFC 4918 §14.24), 0 when it reports properties instead.
    int status = 0;
    // The properties reported with a 2xx status, by name.
    std::map<QString, Property> properties;
    // The first status other than 2xx any of its properties was reported with, else 0.
    int failedPropertyStatus = 0;

    const Property* property(const QString& propertyName) const;
};

struct Multistatus {
    std::vector<Response> responses;
    // RFC 6578 §6.2, in sync-collection answers.
    QString syncToken;

    // The response for `url`, compared in the form resolvedHref gives; null when absent.
    const Response* responseFor(const QUrl& url) const;
};

// Kind::BadAnswer naming `url` and the line of the XML error, when `body` is not well-formed or
// not a DAV:multistatus.
DavResult<Multistatus> parseMultistatus(const QByteArray& body, const QUrl& url);
// Whether `body` is a DAV:error naming the precondition `element` (RFC 4918 §16).
bool namesPrecondition(const QByteArray& body, const QString& element);

// PROPFIND asking for the given properties.
QByteArray propfind(const QStringList& properties);
QByteArray syncCollection(const QString& syncToken);
QByteArray calendarMultiget(const std::vector<QUrl>& resources);
QByteArray makeCalendar(const QString& displayName, const QString& color);
QByteArray updateCalendar(const QString& displayName, const QString& color);

} // namespace DavXml
