#include "ICalendarTestSupport.h"

#include "core/eventstore/ContentLineReader.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "core/eventstore/ICalendarWriter.h"

#include <libical/ical.h>

namespace {

std::shared_ptr<EKEvent> timedEvent(EKEventStore& store, const QString& identifier, const QString& zone,
                                    Date start, double length) {
    auto event = EKEvent::eventWithEventStore(store);
    event->setEventIdentifier(identifier);
    event->setTimeZone(zone);
    event->setStartDate(start);
    event->setEndDate(start.addingTimeInterval(length));
    return event;
}

EKRecurrenceRule rule(const char* text) {
    return *EKRecurrenceRule::fromRRule(QString::fromLatin1(text), nullptr);
}

QList<QByteArray> physicalLines(const QByteArray& text) {
    QList<QByteArray> result = text.split('\n');
    result.removeLast();
    return result;
}

} // namespace

using ICalendarWriteTest = ICalendarTest;

TEST_F(ICalendarWriteTest, WritesAValidCalendar) {
    auto meeting =
        timedEvent(store(), "m1", "Europe/Berlin", local(u"Europe/Berlin", 2024, 1, 5, 9, 0), 3600);
    meeting->setTitle("Planning");
    auto second = timedEvent(store(), "m2", "Europe/Berlin", local(u"Europe/Berlin", 2024, 7, 5, 9, 0), 0);
    auto utc = timedEvent(store(), "u1", "UTC", local(u"UTC", 2024, 1, 5, 9, 0), 1800);
    auto day = EKEvent::eventWithEventStore(store());
    day->setEventIdentifier("d1");
    day->setAllDay(true);
    day->setStartDate(local(2024, 1, 5));
    day->setEndDate(local(2024, 1, 6));

    const QByteArray text = ICalendarWriter().write({meeting, second, utc, day});
    EXPECT_TRUE(text.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvella//Orvella//EN\r\n"));
    EXPECT_TRUE(text.endsWith("END:VCALENDAR\r\n"));
    EXPECT_EQ(text.count("\n"), text.count("\r\n"));
    EXPECT_EQ(text.count("BEGIN:VTIMEZONE\r\n"), 1);
    EXPECT_TRUE(text.contains("\r\nTZID:Europe/Berlin\r\n"));
    EXPECT_TRUE(text.contains(
        "\r\nDTSTART;TZID=Europe/Berlin:20240105T090000\r\nDTEND;TZID=Europe/Berlin:20240105T100000\r\n"));
    EXPECT_TRUE(text.contains("\r\nDTSTART:20240105T090000Z\r\nDTEND:20240105T093000Z\r\n"));
    EXPECT_TRUE(text.contains("\r\nDTSTART;VALUE=DATE:20240105\r\nDTEND;VALUE=DATE:20240106\r\n"));
    EXPECT_TRUE(text.contains("\r\nUID:m1\r\n"));
    EXPECT_EQ(text.count("\r\nDTSTAMP:"), 4);
    EXPECT_EQ(text.count("BEGIN:VEVENT\r\n"), 4);

    // libical reads it without complaint, and the generated VTIMEZONE converts like ICU does.
    icalcomponent* parsed = icalparser_parse_string(text.constData());
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(icalcomponent_count_errors(parsed), 0);
    icalcomponent* definition = icalcomponent_get_first_component(parsed, ICAL_VTIMEZONE_COMPONENT);
    ASSERT_NE(definition, nullptr);
    icaltimezone* zone = icaltimezone_new();
    ASSERT_TRUE(icaltimezone_set_component(zone, icalcomponent_new_clone(definition)));
    for (const auto& [month, hour] : {std::pair{1, 9}, std::pair{7, 9}, std::pair{12, 23}}) {
        icaltimetype wall = icaltime_null_time();
        wall.year = 2024;
        wall.month = month;
        wall.day = 5;
        wall.hour = hour;
        wall.zone = zone;
        EXPECT_EQ(double(icaltime_as_timet_with_zone(wall, zone)),
                  local(u"Europe/Berlin", 2024, month, 5, hour, 0).timeIntervalSince1970());
    }
    icaltimezone_free(zone, 1);
    icalcomponent_free(parsed);
}

TEST_F(ICalendarWriteTest, FoldsLongLinesAndEscapesText) {
    auto event = timedEvent(store(), "long", "UTC", local(u"UTC", 2024, 1, 5, 9, 0), 0);
    QString notes;
    for (int i = 0; i < 40; ++i) {
        notes += QString::fromUtf8("Grüße, 日本; \\ ") + QString::number(i) + QLatin1Char('\n');
    }
    event->setNotes(notes);
    event->setTitle("a,b;c\\d\r\ne\x01");
    const QByteArray text = ICalendarWriter().write({event});

    for (const QByteArray& line : physicalLines(text)) {
        ASSERT_TRUE(line.endsWith('\r'));
        EXPECT_LE(line.size() - 1, 75) << line.toStdString();
        // A fold never splits a UTF-8 sequence: no line starts with a continuation byte.
        const qsizetype first = line.startsWith(' ') ? 1 : 0;
        ASSERT_GT(line.size(), first);
        EXPECT_NE(uchar(line[first]) & 0xC0, 0x80) << line.toStdString();
    }
    EXPECT_TRUE(text.contains("\r\nSUMMARY:a\\,b\\;c\\\\d\\ne\r\n"));

    const auto read = events(text);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->notes(), notes);
    EXPECT_EQ(read[0]->title(), "a,b;c\\d\ne");
}

TEST_F(ICalendarWriteTest, TextHelpers) {
    EXPECT_EQ(ICalendarWriter::escapeText("a,b;c\\d\ne\r\nf\tg"), "a\\,b\\;c\\\\d\\ne\\nf\tg");
    EXPECT_EQ(ContentLineReader::unescapeText("a\\,b\\;c\\\\d\\ne\\Nf\\:g\\x"), "a,b;c\\d\ne\nf:g\\x");
    EXPECT_EQ(ICalendarWriter::foldLine(QByteArray(75, 'a')), QByteArray(75, 'a') + "\r\n");
    EXPECT_EQ(ICalendarWriter::foldLine(QByteArray(76, 'a')), QByteArray(75, 'a') + "\r\n a\r\n");
    EXPECT_EQ(ICalendarWriter::foldLine(QByteArray(75 + 74 + 1, 'a')),
              QByteArray(75, 'a') + "\r\n " + QByteArray(74, 'a') + "\r\n a\r\n");
    // "ü" is two octets: it moves whole to the next line rather than being split at octet 75.
    const QByteArray withUmlaut = QByteArray(74, 'a') + "\xC3\xBC" + "b";
    EXPECT_EQ(ICalendarWriter::foldLine(withUmlaut), QByteArray(74, 'a') + "\r\n \xC3\xBC" + "b\r\n");
}

TEST_F(ICalendarWriteTest, AlarmTriggers) {
    auto event = timedEvent(store(), "alarms", "UTC", local(u"UTC", 2024, 1, 5, 9, 0), 3600);
    event->setAlarms({EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(0),
                      EKAlarm::alarmWithRelativeOffset(-86400), EKAlarm::alarmWithRelativeOffset(-604800),
                      EKAlarm::alarmWithRelativeOffset(-93784), EKAlarm::alarmWithRelativeOffset(3300)});
    const QByteArray text = ICalendarWriter().write({event});
    for (const char* trigger : {"-PT15M", "PT0S", "-P1D", "-P1W", "-P1DT2H3M4S", "PT55M"}) {
        EXPECT_TRUE(text.contains(QByteArray("\r\nTRIGGER:") + trigger + "\r\n")) << trigger;
    }
    EXPECT_EQ(text.count("ACTION:DISPLAY"), 6);
}

TEST_F(ICalendarWriteTest, ExportThenImportGivesTheSameEvents) {
    auto single = timedEvent(store(), "single@example.org", "Europe/Berlin",
                             local(u"Europe/Berlin", 2024, 3, 30, 22, 15), 5400);
    single->setTitle(QString::fromUtf8("Überraschung, mit; allem \\ drum\nund dran"));
    single->setLocation(QString::fromUtf8("Café \"Zur Post\""));
    single->setNotes(QString(300, QLatin1Char('n')) + QStringLiteral("\nend"));
    single->setURL("https://example.org/event?id=1,2;3");
    single->setAlarms({EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(-172800)});

    auto series = timedEvent(store(), "series-1", "America/New_York",
                             local(u"America/New_York", 2024, 3, 4, 9, 0), 3600);
    series->setTitle("Weekly");
    series->setRecurrenceRule(rule("FREQ=WEEKLY;BYDAY=MO,WE;UNTIL=20240601T000000Z"));
    series->setExcludedOccurrenceDates(
        {local(u"America/New_York", 2024, 3, 6, 9, 0), local(u"America/New_York", 2024, 3, 13, 9, 0)});
    series->setAlarms({EKAlarm::alarmWithRelativeOffset(-3600)});

    auto changed = timedEvent(store(), "series-1", "America/New_York",
                              local(u"America/New_York", 2024, 3, 11, 15, 0), 1800);
    changed->setTitle("Weekly, moved");
    changed->setOccurrenceDate(local(u"America/New_York", 2024, 3, 11, 9, 0));

    auto birthday = EKEvent::eventWithEventStore(store());
    birthday->setEventIdentifier("birthday");
    birthday->setTitle("Ada");
    birthday->setAllDay(true);
    birthday->setStartDate(local(2024, 2, 29));
    birthday->setEndDate(local(2024, 3, 1));
    birthday->setRecurrenceRule(rule("FREQ=YEARLY"));
    birthday->setExcludedOccurrenceDates({local(2025, 2, 28)});

    auto changedDay = EKEvent::eventWithEventStore(store());
    changedDay->setEventIdentifier("birthday");
    changedDay->setTitle("Ada, celebrated later");
    changedDay->setAllDay(true);
    changedDay->setStartDate(local(2026, 3, 1));
    changedDay->setEndDate(local(2026, 3, 3));
    changedDay->setOccurrenceDate(local(2026, 2, 28));

    auto utc = timedEvent(store(), "utc", "UTC", local(u"UTC", 2024, 1, 5, 23, 30), 0);
    utc->setTitle("");

    const std::vector<std::shared_ptr<EKEvent>> records{single, series, birthday, utc, changed, changedDay};
    const QByteArray text = ICalendarWriter().write(records);
    EXPECT_EQ(text.count("BEGIN:VTIMEZONE\r\n"), 2);
    const auto read = events(text);
    ASSERT_EQ(read.size(), records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(describeEvent(*read[i]), describeEvent(*records[i]));
    }

    // The same text read where another zone is in force gives the same zoned events.
    useZone("Asia/Tokyo");
    const auto inTokyo = events(text);
    EXPECT_EQ(describeEvent(*inTokyo[0]), describeEvent(*records[0]));
    EXPECT_EQ(describeEvent(*inTokyo[1]), describeEvent(*records[1]));
}

TEST_F(ICalendarWriteTest, EventsWithoutZoneAreWrittenInTheZoneInForce) {
    auto event = timedEvent(store(), "z", QString(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0), 60);
    const QByteArray text = ICalendarWriter().write({event});
    EXPECT_TRUE(text.contains("DTSTART;TZID=Europe/Berlin:20240105T090000\r\n"));
    const auto read = events(text);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->timeZone(), "Europe/Berlin");
    EXPECT_EQ(read[0]->startDate(), event->startDate());
}

// An occurrence whose start a clock change skips (02:30 on 10 March in New York) keeps the wall time
// its series gives it, so that it still names that occurrence when read back.
TEST_F(ICalendarWriteTest, AChangedOccurrenceInASkippedHourNamesItsWallTime) {
    const char16_t* york = u"America/New_York";
    auto series = timedEvent(store(), "backup", "America/New_York", local(york, 2024, 3, 8, 2, 30), 1800);
    series->setTitle("Backup");
    series->setRecurrenceRule(rule("FREQ=DAILY;COUNT=5"));
    auto changed = timedEvent(store(), "backup", "America/New_York", local(york, 2024, 3, 10, 5, 0), 1800);
    changed->setTitle("Backup, later");
    changed->setOccurrence(local(york, 2024, 3, 10, 3, 30), 1710037800);
    const QByteArray text = ICalendarWriter().write({series, changed});
    EXPECT_TRUE(text.contains("RECURRENCE-ID;TZID=America/New_York:20240310T023000\r\n"))
        << text.toStdString();
}
