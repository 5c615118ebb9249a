#include "core/sync/DavXml.h"

#include "core/sync/HttpExchange.h"
#include "foundation/Localization.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <functional>

namespace {

QString elementName(const QXmlStreamReader& reader) {
    return DavXml::name(reader.namespaceUri().toString(), reader.name().toString());
}

int statusOfLine(const QString& statusLine) {
    // "HTTP/1.1 404 Not Found"
    const QStringList parts = statusLine.simplified().split(QLatin1Char(' '));
    return parts.size() >= 2 ? parts.at(1).toInt() : 0;
}

DavXml::Property readProperty(QXmlStreamReader& reader, const QUrl& base) {
    DavXml::Property property;
    const QString href = DavXml::name(DavXml::dav, QStringLiteral("href"));
    const QString comp = DavXml::name(DavXml::caldav, QStringLiteral("comp"));
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const QString element = elementName(reader);
            property.elements.append(element);
            if (element == href) {
                property.hrefs.append(DavXml::resolvedHref(base, reader.readElementText()));
                continue;
            }
            if (element == comp) {
                property.componentNames.append(reader.attributes().value(QStringLiteral("name")).toString());
            }
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters()) {
            property.text += reader.text();
        }
    }
    return property;
}

void readPropstat(QXmlStreamReader& reader, const QUrl& base, DavXml::Response& response) {
    std::map<QString, DavXml::Property> properties;
    int status = 0;
    while (reader.readNextStartElement()) {
        const QString element = elementName(reader);
        if (element == DavXml::name(DavXml::dav, QStringLiteral("prop"))) {
            while (reader.readNextStartElement()) {
                const QString propertyName = elementName(reader);
                properties[propertyName] = readProperty(reader, base);
            }
        } else if (element == DavXml::name(DavXml::dav, QStringLiteral("status"))) {
            status = statusOfLine(reader.readElementText());
        } else {
            reader.skipCurrentElement();
        }
    }
    if (DavXml::isSuccessStatus(status)) {
        response.properties.merge(properties);
    } else if (response.failedPropertyStatus == 0) {
        response.failedPropertyStatus = status;
    }
}

DavXml::Response readResponse(QXmlStreamReader& reader, const QUrl& base) {
    DavXml::Response response;
    while (reader.readNextStartElement()) {
        const QString element = elementName(reader);
        if (element == DavXml::name(DavXml::dav, QStringLiteral("href"))) {
            response.url = DavXml::resolvedHref(base, reader.readElementText());
        } else if (element == DavXml::name(DavXml::dav, QStringLiteral("status"))) {
            response.status = statusOfLine(reader.readElementText());
        } else if (element == DavXml::name(DavXml::dav, QStringLiteral("propstat"))) {
            readPropstat(reader, base, response);
        } else {
            reader.skipCurrentElement();
        }
    }
    return response;
}

QByteArray written(const std::function<void(QXmlStreamWriter&)>& write) {
    QByteArray body;
    QXmlStreamWriter writer(&body);
    writer.writeStartDocument();
    writer.writeNamespace(DavXml::dav, QStringLiteral("D"));
    writer.writeNamespace(DavXml::caldav, QStringLiteral("C"));
    writer.writeNamespace(DavXml::calendarServer, QStringLiteral("CS"));
    writer.writeNamespace(DavXml::appleIcal, QStringLiteral("I"));
    write(writer);
    writer.writeEndDocument();
    return body;
}

void writeCalendarProperties(QXmlStreamWriter& writer, const QString& displayName, const QString& color) {
    writer.writeTextElement(DavXml::dav, QStringLiteral("displayname"), displayName);
    if (!color.isEmpty()) {
        writer.writeTextElement(DavXml::appleIcal, QStringLiteral("calendar-color"), color);
    }
}

} // namespace

namespace DavXml {

bool isSuccessStatus(int status) {
    return status >= 200 && status < 300;
}

QString name(const QString& xmlNamespace, const QString& localName) {
    return QLatin1Char('{') + xmlNamespace + QLatin1Char('}') + localName;
}

QUrl resolvedHref(const QUrl& base, const QString& href) {
    return base.resolved(QUrl(href.trimmed(), QUrl::StrictMode)).adjusted(QUrl::NormalizePathSegments);
}

const Property* Response::property(const QString& propertyName) const {
    const auto found = properties.find(propertyName);
    return found == properties.end() ? nullptr : &found->second;
}

const Response* Multistatus::responseFor(const QUrl& url) const {
    const QUrl wanted = url.adjusted(QUrl::NormalizePathSegments);
    for (const Response& response : responses) {
        if (response.url == wanted) {
            return &response;
        }
    }
    return nullptr;
}

DavResult<Multistatus> parseMultistatus(const QByteArray& body, const QUrl& url) {
    QXmlStreamReader reader(body);
    Multistatus multistatus;
    const auto badAnswer = [&](const QString& what) {
        return davError(DavError::Kind::BadAnswer, url, 207,
                        localizedString(QStringLiteral("The answer of %1 cannot be read: %2"))
                            .arg(url.toDisplayString(), what));
    };
    if (!reader.readNextStartElement()) {
        return badAnswer(reader.hasError() ? localizedString(QStringLiteral("%1 on line %2"))
                                                 .arg(reader.errorString())
                                                 .arg(reader.lineNumber())
                                           : localizedString(QStringLiteral("it is empty")));
    }
    if (elementName(reader) != name(dav, QStringLiteral("multistatus"))) {
        return badAnswer(localizedString(QStringLiteral("it is not a WebDAV multistatus")));
    }
    while (reader.readNextStartElement()) {
        const QString element = elementName(reader);
        if (element == name(dav, QStringLiteral("response"))) {
            multistatus.responses.push_back(readResponse(reader, url));
        } else if (element == name(dav, QStringLiteral("sync-token"))) {
            multistatus.syncToken = reader.readElementText().trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
    }
    if (reader.hasError()) {
        return badAnswer(localizedString(QStringLiteral("%1 on line %2"))
                             .arg(reader.errorString())
                             .arg(reader.lineNumber()));
    }
    return multistatus;
}

bool namesPrecondition(const QByteArray& body, const QString& element) {
    QXmlStreamReader reader(body);
    if (!reader.readNextStartElement() || elementName(reader) != name(dav, QStringLiteral("error"))) {
        return false;
    }
    while (reader.readNextStartElement()) {
        if (elementName(reader) == element) {
            return true;
        }
        reader.skipCurrentElement();
    }
    return false;
}

QByteArray propfind(const QStringList& properties) {
    return written([&](QXmlStreamWriter& writer) {
        writer.writeStartElement(dav, QStringLiteral("propfind"));
        writer.writeStartElement(dav, QStringLiteral("prop"));
        for (const QString& property : properties) {
            const qsizetype close = property.indexOf(QLatin1Char('}'));
            writer.writeEmptyElement(property.mid(1, close - 1), property.mid(close + 1));
        }
        writer.writeEndElement();
        writer.writeEndElement();
    });
}

QByteArray syncCollection(const QString& syncToken) {
    // RFC 6578 §3.2: an empty token element asks for the whole collection.
    return written([&](QXmlStreamWriter& writer) {
        writer.writeStartElement(dav, QStringLiteral("sync-collection"));
        writer.writeTextElement(dav, QStringLiteral("sync-token"), syncToken);
        writer.writeTextElement(dav, QStringLiteral("sync-level"), QStringLiteral("1"));
        writer.writeStartElement(dav, QStringLiteral("prop"));
        writer.writeEmptyElement(dav, QStringLiteral("getetag"));
        writer.writeEndElement();
        writer.writeEndElement();
    });
}

QByteArray calendarMultiget(const std::vector<QUrl>& resources) {
    return written([&](QXmlStreamWriter& writer) {
        writer.writeStartElement(caldav, QStringLiteral("calendar-multiget"));
        writer.writeStartElement(dav, QStringLiteral("prop"));
        writer.writeEmptyElement(dav, QStringLiteral("getetag"));
        writer.writeEmptyElement(caldav, QStringLiteral("calendar-data"));
        writer.writeEndElement();
        for (const QUrl& resource : resources) {
            writer.writeTextElement(dav, QStringLiteral("href"), resource.path(QUrl::FullyEncoded));
        }
        writer.writeEndElement();
    });
}

QByteArray makeCalendar(const QString& displayName, const QString& color) {
    return written([&](QXmlStreamWriter& writer) {
        writer.writeStartElement(caldav, QStringLiteral("mkcalendar"));
        writer.writeStartElement(dav, QStringLiteral("set"));
        writer.writeStartElement(dav, QStringLiteral("prop"));
        writeCalendarProperties(writer, displayName, color);
        writer.writeStartElement(caldav, QStringLiteral("supported-calendar-component-set"));
        writer.writeEmptyElement(caldav, QStringLiteral("comp"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("VEVENT"));
        writer.writeEndElement();
        writer.writeEndElement();
        writer.writeEndElement();
        writer.writeEndElement();
    });
}

QByteArray updateCalendar(const QString& displayName, const QString& color) {
    return written([&](QXmlStreamWriter& writer) {
        writer.writeStartElement(dav, QStringLiteral("propertyupdate"));
        writer.writeStartElement(dav, QStringLiteral("set"));
        writer.writeStartElement(dav, QStringLiteral("prop"));
        writeCalendarProperties(writer, displayName, color);
        writer.writeEndElement();
        writer.writeEndElement();
        if (color.isEmpty()) {
            writer.writeStartElement(dav, QStringLiteral("remove"));
            writer.writeStartElement(dav, QStringLiteral("prop"));
            writer.writeEmptyElement(appleIcal, QStringLiteral("calendar-color"));
            writer.writeEndElement();
            writer.writeEndElement();
        }
        writer.writeEndElement();
    });
}

} // namespace DavXml
