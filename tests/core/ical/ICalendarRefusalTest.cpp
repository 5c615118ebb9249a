#include "ICalendarTestSupport.h"

#include "core/eventstore/ContentLineReader.h"
#include "testing/LogCapture.h"

#include <random>

namespace {

// A VEVENT around the given properties. As the first component of calendar(), BEGIN:VEVENT is
// line 4 and the properties follow from line 5.
QStringList event(const QStringList& properties) {
    QStringList all{QStringLiteral("BEGIN:VEVENT")};
    all += properties;
    all += QStringLiteral("END:VEVENT");
    return all;
}

} // namespace

using ICalendarRefusalTest = ICalendarTest;

TEST_F(ICalendarRefusalTest, EventsThatMakeNoSense) {
    EXPECT_EQ(error(calendar(event({"UID:a", "SUMMARY:x"}))), "test.ics:4: DTSTART is missing");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T100000Z", "DTEND:20240105T090000Z"}))),
              "test.ics:7: DTEND is before DTSTART");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART;VALUE=DATE:20240105", "DTEND;VALUE=DATE:20240104"}))),
              "test.ics:7: DTEND is before DTSTART");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART;VALUE=DATE:20240105", "DTEND:20240106T090000Z"}))),
              "test.ics:7: DTEND is a date-time but DTSTART is a date");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DTEND:20240106"}))),
              "test.ics:7: DTEND is a date but DTSTART is a date-time");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DURATION:-PT1H"}))),
              "test.ics:7: DURATION is negative");
    EXPECT_EQ(error(calendar(
                  event({"UID:a", "DTSTART:20240105T090000Z", "DTEND:20240105T100000Z", "DURATION:PT1H"}))),
              "test.ics:8: DTEND and DURATION are both given");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DTSTART:20240106T090000Z"}))),
              "test.ics:7: DTSTART occurs more than once in VEVENT");
    EXPECT_EQ(error(calendar(event({"DTSTART:20240105T090000Z", "RECURRENCE-ID:20240105T090000Z"}))),
              "test.ics:6: RECURRENCE-ID in an event without UID");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z"}) +
                             event({"UID:a", "DTSTART:20240106T090000Z"}))),
              "test.ics:8: UID \"a\" is already used by the event on line 4");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:FREQ=DAILY"}) +
                             event({"UID:a", "RECURRENCE-ID:20240106T090000Z", "DTSTART:20240106T100000Z"}) +
                             event({"UID:a", "RECURRENCE-ID:20240106T090000Z", "DTSTART:20240106T110000Z"}))),
              "test.ics:14: the occurrence \"20240106T090000Z\" of UID \"a\" is already changed by the event "
              "on line 9");
}

TEST_F(ICalendarRefusalTest, MalformedValues) {
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:2024-01-05"}))),
              "test.ics:6: malformed DTSTART value \"2024-01-05\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20241305T090000"}))),
              "test.ics:6: malformed DTSTART value \"20241305T090000\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20230229"}))),
              "test.ics:6: malformed DTSTART value \"20230229\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T250000Z"}))),
              "test.ics:6: malformed DTSTART value \"20240105T250000Z\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART;VALUE=DATE:20240105T090000"}))),
              "test.ics:6: malformed DTSTART value \"20240105T090000\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART;VALUE=PERIOD:20240105T090000Z/PT1H"}))),
              "test.ics:6: unsupported VALUE=PERIOD for DTSTART");
    EXPECT_EQ(
        error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "EXDATE:20240106T090000Z,tomorrow"}))),
        "test.ics:7: malformed EXDATE value \"tomorrow\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DURATION:PT"}))),
              "test.ics:7: malformed DURATION value \"PT\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DURATION:P1H"}))),
              "test.ics:7: malformed DURATION value \"P1H\"");
    // What only libical checks is refused in our words.
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DTSTAMP:garbage"}))),
              "test.ics:7: malformed DTSTAMP value \"garbage\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "DTSTART;TZID:20240105T090000"}))),
              "test.ics:7: parameter TZID of DTSTART has no value");
    // Each complaint names its own line, those of the event before those of its alarms.
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "BEGIN:VALARM", "TRIGGER:-PT5M",
                                    "DURATION:soon", "END:VALARM", "GEO:north"}))),
              "test.ics:11: malformed GEO value \"north\"");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "BEGIN:VALARM", "TRIGGER:-PT5M",
                                    "ACTION:DISPLAY", "DURATION:soon", "END:VALARM"}))),
              "test.ics:10: malformed DURATION value \"soon\"");
}

TEST_F(ICalendarRefusalTest, InvalidRules) {
    const QString bad = error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:FREQ=FOO"})));
    EXPECT_TRUE(bad.startsWith("test.ics:7: invalid RRULE \"FREQ=FOO\"")) << bad.toStdString();
    const QString badDay =
        error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:FREQ=WEEKLY;BYDAY=XX"})));
    EXPECT_TRUE(badDay.startsWith("test.ics:7: invalid RRULE \"FREQ=WEEKLY;BYDAY=XX\""))
        << badDay.toStdString();
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:FREQ=YEARLY;BYMONTH=13"}))),
              "test.ics:7: invalid RRULE \"FREQ=YEARLY;BYMONTH=13\": BYMONTH \"13\" is not a month");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:COUNT=3"}))),
              "test.ics:7: invalid RRULE \"COUNT=3\": FREQ is missing");
    EXPECT_EQ(error(calendar(
                  event({"UID:a", "DTSTART:20240105T090000Z", "RRULE:FREQ=DAILY", "RRULE:FREQ=WEEKLY"}))),
              "test.ics:8: more than one RRULE in an event is not supported");
}

TEST_F(ICalendarRefusalTest, ZonesAndAlarms) {
    EXPECT_EQ(error(calendar(QStringList{"BEGIN:VTIMEZONE", "TZID:Nowhere", "END:VTIMEZONE"} +
                             event({"UID:a", "DTSTART;TZID=Nowhere:20240105T090000"}))),
              "test.ics:4: VTIMEZONE has neither STANDARD nor DAYLIGHT");
    EXPECT_EQ(error(calendar(QStringList{"BEGIN:VTIMEZONE", "TZID:Nowhere", "BEGIN:STANDARD",
                                         "DTSTART:19700101T000000", "TZOFFSETTO:+0100", "END:STANDARD",
                                         "END:VTIMEZONE"} +
                             event({"UID:a", "DTSTART;TZID=Nowhere:20240105T090000"}))),
              "test.ics:6: STANDARD of VTIMEZONE has no TZOFFSETFROM");
    EXPECT_EQ(error(calendar(event(
                  {"UID:a", "DTSTART:20240105T090000Z", "BEGIN:VALARM", "ACTION:DISPLAY", "END:VALARM"}))),
              "test.ics:7: VALARM has no TRIGGER");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", "BEGIN:VALARM",
                                    "TRIGGER;RELATED=MIDDLE:-PT5M", "END:VALARM"}))),
              "test.ics:8: unknown RELATED value \"MIDDLE\"");
    EXPECT_EQ(error(calendar(event(
                  {"UID:a", "DTSTART:20240105T090000Z", "BEGIN:VALARM", "TRIGGER:soon", "END:VALARM"}))),
              "test.ics:8: malformed TRIGGER value \"soon\"");
}

TEST_F(ICalendarRefusalTest, BrokenStructure) {
    EXPECT_EQ(error("Hello, this is not a calendar.\r\n"),
              "test.ics:1: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)");
    EXPECT_EQ(error("\r\n\r\nBEGIN:VCARD\r\nEND:VCARD\r\n"),
              "test.ics:3: not an iCalendar file (it does not begin with BEGIN:VCALENDAR)");
    EXPECT_EQ(error(""), "test.ics: the file is empty");
    EXPECT_EQ(error(" \r\n\r\n"), "test.ics: the file is empty");
    EXPECT_EQ(error(lines({"BEGIN:VCALENDAR", "BEGIN:VEVENT", "UID:a", "DTSTART:20240105T090000Z"})),
              "test.ics:2: BEGIN:VEVENT is not closed (END:VEVENT is missing)");
    EXPECT_EQ(error(lines(
                  {"BEGIN:VCALENDAR", "BEGIN:VEVENT", "UID:a", "DTSTART:20240105T090000Z", "END:VCALENDAR"})),
              "test.ics:5: END:VCALENDAR found while BEGIN:VEVENT of line 2 is still open");
    EXPECT_EQ(error(lines({"BEGIN:VCALENDAR", "END:VCALENDAR", "END:VEVENT"})),
              "test.ics:3: END:VEVENT without BEGIN:VEVENT");
    EXPECT_EQ(error(lines({"BEGIN:VCALENDAR", "END:VCALENDAR", "SUMMARY:x"})),
              "test.ics:3: SUMMARY outside of a VCALENDAR");
    EXPECT_EQ(error(lines({"BEGIN:VCALENDAR", "END:VCALENDAR", "BEGIN:VEVENT", "END:VEVENT"})),
              "test.ics:3: BEGIN:VEVENT outside of a VCALENDAR");
    EXPECT_EQ(error(calendar(event({"UID:a", "NOCOLON", "DTSTART:20240105T090000Z"}))),
              "test.ics:6: expected \":\" after NOCOLON");
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART;TZID=\"Europe/Berlin:20240105T090000"}))),
              "test.ics:6: a quoted value of parameter TZID is not closed");
    EXPECT_EQ(error(calendar(event({"UID:a", ":20240105T090000"}))),
              "test.ics:6: expected a property name at the start of the line");
    EXPECT_EQ(error(lines({"BEGIN:VCALENDAR", "VERSION:1.0", "END:VCALENDAR"})),
              "test.ics:2: iCalendar version \"1.0\" is not supported (only 2.0)");
}

TEST_F(ICalendarRefusalTest, LimitsAndBinaryData) {
    QByteArray longLine = "DESCRIPTION:" + QByteArray(ContentLineReader::maximumLineLength, 'x');
    EXPECT_EQ(error(calendar(event({"UID:a", "DTSTART:20240105T090000Z", QString::fromLatin1(longLine)}))),
              "test.ics:7: the line is longer than 1 MB");

    // Folding does not get around the limit: the unfolded line counts, reported at its start.
    QStringList folded{"UID:a", "DTSTART:20240105T090000Z", "DESCRIPTION:start"};
    const QString piece = QStringLiteral(" ") + QString(70000, QLatin1Char('y'));
    for (int i = 0; i < 16; ++i) {
        folded.append(piece);
    }
    EXPECT_EQ(error(calendar(event(folded))), "test.ics:7: the line is longer than 1 MB");

    QByteArray huge = calendar(event({"UID:a", "DTSTART:20240105T090000Z"}));
    huge.append(QByteArray(ContentLineReader::maximumFileSize, '\n'));
    EXPECT_EQ(error(huge), "test.ics: the file is larger than 50 MB");

    QByteArray withNul = calendar(event({"UID:a", "DTSTART:20240105T090000Z", "SUMMARY:abc"}));
    withNul.replace("abc", QByteArray("a\0c", 3));
    EXPECT_EQ(error(withNul), "test.ics:7: the line holds binary data (a NUL byte)");

    // Garbage, alone or after a good start, is refused without a crash.
    std::mt19937 random(20240105);
    for (int round = 0; round < 20; ++round) {
        QByteArray garbage(4096 * (round + 1), Qt::Uninitialized);
        for (char& byte : garbage) {
            byte = char(random() & 0xff);
        }
        const QByteArray text = round % 2 == 0 ? garbage : "BEGIN:VCALENDAR\r\n" + garbage;
        const ICalendarParseResult result = parse(text);
        ASSERT_TRUE(result.error.has_value());
        EXPECT_TRUE(result.events.empty());
        EXPECT_TRUE(result.error->message().startsWith("test.ics:"));
    }
}

TEST_F(ICalendarRefusalTest, RefusesLargeFilesBeforeReadingThem) {
    const QString file = path("big.ics");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_TRUE(out.resize(ContentLineReader::maximumFileSize + 1));
    out.close();
    const ICalendarParseResult result = ICalendarReader(store()).readFile(file);
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->message(), "big.ics: the file is larger than 50 MB");
}

TEST_F(ICalendarRefusalTest, DamagedFilesAreReadOrRefusedCleanly) {
    LogCapture log;
    const QByteArray good = calendar({
        "BEGIN:VTIMEZONE",
        "TZID:Office",
        "BEGIN:STANDARD",
        "DTSTART:19700101T000000",
        "TZOFFSETFROM:+0100",
        "TZOFFSETTO:+0100",
        "END:STANDARD",
        "END:VTIMEZONE",
        "BEGIN:VEVENT",
        "UID:a",
        "DTSTART;TZID=Office:20240105T090000",
        "DTEND;TZID=Office:20240105T100000",
        "RRULE:FREQ=WEEKLY;COUNT=3",
        "EXDATE;TZID=Office:20240112T090000",
        "SUMMARY:Weekly\\, \"quoted\"",
        "BEGIN:VALARM",
        "TRIGGER;RELATED=END:-PT5M",
        "ACTION:DISPLAY",
        "END:VALARM",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:a",
        "RECURRENCE-ID;TZID=Office:20240119T090000",
        "DTSTART;VALUE=DATE:20240120",
        "DURATION:P1D",
        "END:VEVENT",
    });
    ASSERT_FALSE(parse(good).error.has_value());
    const QByteArray alphabet = ":;,=\"\\ \r\nTZ0159-PDT+abcXVALUE";
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        QByteArray damaged = good;
        for (int change = 0, changes = 1 + int(random() % 4); change < changes; ++change) {
            const qsizetype at = qsizetype(random() % quint32(damaged.size()));
            switch (random() % 3) {
            case 0:
                damaged[at] = alphabet[qsizetype(random() % quint32(alphabet.size()))];
                break;
            case 1:
                damaged.remove(at, qsizetype(1 + random() % 30));
                break;
            default:
                damaged.insert(at, damaged.mid(qsizetype(random() % quint32(damaged.size())), 20));
                break;
            }
        }
        const ICalendarParseResult result = parse(damaged);
        if (result.error) {
            EXPECT_TRUE(result.events.empty());
            EXPECT_TRUE(result.error->message().startsWith("test.ics"))
                << result.error->message().toStdString();
        } else {
            for (const auto& event : result.events) {
                EXPECT_GE(event->endDate(), event->startDate());
                EXPECT_FALSE(event->eventIdentifier().isEmpty());
            }
        }
    }
}
