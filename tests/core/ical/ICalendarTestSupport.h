#pragma once

#include "QtPrinters.h"
#include "core/CalendarTestSupport.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/ICalendarReader.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

// Every field an event carries to and from a file, one per line, for comparing events as text.
inline QString describeEvent(const EKEvent& event) {
    auto text = [](const QString& value) { return value.isNull() ? QStringLiteral("(none)") : value; };
    QStringList fields{
        QStringLiteral("id %1").arg(event.eventIdentifier()),
        QStringLiteral("title %1").arg(text(event.title())),
        QStringLiteral("location %1").arg(text(event.location())),
        QStringLiteral("notes %1").arg(text(event.notes())),
        QStringLiteral("url %1").arg(text(event.URL())),
        QStringLiteral("start %1").arg(event.startDate().timeIntervalSince1970(), 0, 'f', 0),
        QStringLiteral("end %1").arg(event.endDate().timeIntervalSince1970(), 0, 'f', 0),
        QStringLiteral("allDay %1 zone %2").arg(event.allDay()).arg(event.timeZone()),
        QStringLiteral("rule %1").arg(event.recurrenceRule() ? event.recurrenceRule()->rrule()
                                                             : QStringLiteral("-")),
        QStringLiteral("occurrence %1")
            .arg(event.occurrenceDate()
                     ? QString::number(event.occurrenceDate()->timeIntervalSince1970(), 'f', 0)
                     : QStringLiteral("-")),
    };
    QStringList excluded;
    for (Date date : event.excludedOccurrenceDates()) {
        excluded.append(QString::number(date.timeIntervalSince1970(), 'f', 0));
    }
    fields.append(QStringLiteral("excluded %1").arg(excluded.join(QLatin1Char(','))));
    QStringList alarms;
    for (const EKAlarm& alarm : event.alarms()) {
        alarms.append(QString::number(alarm.relativeOffset()));
    }
    fields.append(QStringLiteral("alarms %1").arg(alarms.join(QLatin1Char(','))));
    return fields.join(QLatin1Char('\n'));
}

// The lines of an event with the given UID starting on 5 January 2024 at 09:00 UTC, plus `properties`.
inline QStringList eventWithUid(const QString& uid, const QStringList& properties = {}) {
    return QStringList{"BEGIN:VEVENT", "UID:" + uid, "DTSTART:20240105T090000Z"} + properties +
           QStringList{"END:VEVENT"};
}

// A store in a temporary folder, Berlin as the zone in force, and .ics texts written line by line
// so that tests can name the lines of their errors.
class ICalendarTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        ASSERT_TRUE(m_directory.isValid());
        m_store = std::make_unique<EKEventStore>(m_directory.filePath(QStringLiteral("events.sqlite")));
    }

    void TearDown() override {
        m_store.reset();
        CalendarTest::TearDown();
    }

    EKEventStore& store() { return *m_store; }
    QString path(const QString& name) const { return m_directory.filePath(name); }

    // The lines joined with CRLF, each line ended.
    static QByteArray lines(const QStringList& textLines) {
        return (textLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    }

    // One VCALENDAR around the given lines: the first of them is line 4.
    static QByteArray calendar(const QStringList& body) {
        QStringList all{QStringLiteral("BEGIN:VCALENDAR"), QStringLiteral("VERSION:2.0"),
                        QStringLiteral("PRODID:-//Test//Test//EN")};
        all += body;
        all += QStringLiteral("END:VCALENDAR");
        return lines(all);
    }

    ICalendarParseResult
    parse(const QByteArray& text,
          ICalendarReader::Strictness strictness = ICalendarReader::Strictness::RefuseFile) {
        ICalendarReader reader(store());
        reader.setStrictness(strictness);
        return reader.read(text, QStringLiteral("test.ics"));
    }

    // The messages of what a lenient reading skipped and warned about, one string each.
    static QStringList messages(const std::vector<ICalendarError>& errors) {
        QStringList result;
        for (const ICalendarError& error : errors) {
            result.append(error.message());
        }
        return result;
    }

    // The events of a text that must be read without error.
    std::vector<std::shared_ptr<EKEvent>> events(const QByteArray& text) {
        ICalendarParseResult result = parse(text);
        EXPECT_FALSE(result.error.has_value()) << (result.error ? result.error->message().toStdString() : "");
        return result.events;
    }

    // The message of a text that must be refused.
    QString error(const QByteArray& text) {
        ICalendarParseResult result = parse(text);
        EXPECT_TRUE(result.events.empty());
        return result.error ? result.error->message() : QStringLiteral("(no error)");
    }

private:
    QTemporaryDir m_directory;
    std::unique_ptr<EKEventStore> m_store;
};
