#include "ICalendarTestSupport.h"

#include "core/eventstore/EKRecurrenceRule.h"

#include "testing/LogCapture.h"

#include <QFile>
#include <QSet>

namespace {

std::vector<Date> dates(std::initializer_list<Date> list) {
    return std::vector<Date>(list);
}

std::vector<double> offsets(const std::shared_ptr<EKEvent>& event) {
    std::vector<double> result;
    for (const EKAlarm& alarm : event->alarms()) {
        result.push_back(alarm.relativeOffset());
    }
    return result;
}

} // namespace

using ICalendarParseTest = ICalendarTest;

TEST_F(ICalendarParseTest, ReadsTheFieldsOfAnEvent) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:meeting-1@example.org",
        "DTSTAMP:20240101T000000Z",
        "DTSTART;TZID=Europe/Berlin:20240105T090000",
        "DTEND;TZID=Europe/Berlin:20240105T103000",
        "SUMMARY:Planning\\, Q1",
        "LOCATION:Room 4\\; east wing",
        "DESCRIPTION:Line one\\nLine two\\N\\\\end",
        "URL:https://example.org/m?a=1&b=2",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:bare",
        "DTSTART;TZID=Europe/Berlin:20240106T090000",
        "SUMMARY:",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 2u);
    const EKEvent& event = *read[0];
    EXPECT_EQ(event.eventIdentifier(), "meeting-1@example.org");
    EXPECT_EQ(event.title(), "Planning, Q1");
    EXPECT_EQ(event.location(), "Room 4; east wing");
    EXPECT_EQ(event.notes(), "Line one\nLine two\n\\end");
    EXPECT_EQ(event.URL(), "https://example.org/m?a=1&b=2");
    EXPECT_EQ(event.startDate(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0));
    EXPECT_EQ(event.endDate(), local(u"Europe/Berlin", 2024, 1, 5, 10, 30));
    EXPECT_EQ(event.timeZone(), "Europe/Berlin");
    EXPECT_FALSE(event.allDay());
    EXPECT_FALSE(event.hasRecurrenceRules());
    EXPECT_FALSE(event.occurrenceDate().has_value());
    EXPECT_TRUE(event.alarms().empty());
    EXPECT_EQ(event.calendar(), nullptr);

    // Absent texts are null, an empty SUMMARY is an empty title; without DTEND a date-time lasts nothing.
    const EKEvent& bare = *read[1];
    EXPECT_FALSE(bare.title().isNull());
    EXPECT_TRUE(bare.title().isEmpty());
    EXPECT_TRUE(bare.location().isNull());
    EXPECT_TRUE(bare.notes().isNull());
    EXPECT_TRUE(bare.URL().isNull());
    EXPECT_EQ(bare.endDate(), bare.startDate());
}

TEST_F(ICalendarParseTest, ReadsUtcAndFloatingTimes) {
    const QByteArray text = calendar({
        "BEGIN:VEVENT",
        "UID:utc",
        "DTSTART:20240105T090000Z",
        "DTEND:20240105T100000Z",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:floating",
        "DTSTART:20240105T090000",
        "DTEND:20240105T100000",
        "END:VEVENT",
    });
    auto read = events(text);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->startDate(), local(u"UTC", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[0]->timeZone(), "UTC");
    EXPECT_EQ(read[1]->startDate(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->timeZone(), "Europe/Berlin");

    // Floating times are read in the zone in force when reading.
    useZone("America/New_York");
    read = events(text);
    EXPECT_EQ(read[0]->startDate(), local(u"UTC", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->startDate(), local(u"America/New_York", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->endDate(), local(u"America/New_York", 2024, 1, 5, 10, 0));
    EXPECT_EQ(read[1]->timeZone(), "America/New_York");
}

TEST_F(ICalendarParseTest, AllDayEventsAreFloatingDates) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:one-day",
        "DTSTART;VALUE=DATE:20240105",
        "DTEND;VALUE=DATE:20240106",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:no-end",
        "DTSTART;VALUE=DATE:20240105",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:duration",
        "DTSTART;VALUE=DATE:20240105",
        "DURATION:P2D",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:same-end",
        "DTSTART;VALUE=DATE:20240105",
        "DTEND;VALUE=DATE:20240105",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:no-value-type",
        "DTSTART:20240105",
        "DTEND:20240108",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:week",
        "DTSTART;VALUE=DATE:20240105",
        "DURATION:P1W",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 6u);
    for (const auto& event : read) {
        SCOPED_TRACE(event->eventIdentifier().toStdString());
        EXPECT_TRUE(event->allDay());
        EXPECT_TRUE(event->timeZone().isEmpty());
        EXPECT_EQ(event->startDate(), local(2024, 1, 5));
    }
    EXPECT_EQ(read[0]->endDate(), local(2024, 1, 6));
    EXPECT_EQ(read[1]->endDate(), local(2024, 1, 6));
    EXPECT_EQ(read[2]->endDate(), local(2024, 1, 7));
    EXPECT_EQ(read[3]->endDate(), local(2024, 1, 6));
    EXPECT_EQ(read[4]->endDate(), local(2024, 1, 8));
    EXPECT_EQ(read[5]->endDate(), local(2024, 1, 12));

    // The same dates in another zone in force.
    useZone("Asia/Tokyo");
    const auto inTokyo =
        events(calendar({"BEGIN:VEVENT", "UID:d", "DTSTART;VALUE=DATE:20240105", "END:VEVENT"}));
    EXPECT_EQ(inTokyo[0]->startDate(), local(u"Asia/Tokyo", 2024, 1, 5));
    EXPECT_EQ(inTokyo[0]->endDate(), local(u"Asia/Tokyo", 2024, 1, 6));
}

TEST_F(ICalendarParseTest, DurationsCountCalendarDaysInTheEventsZone) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:a",
        "DTSTART;TZID=Europe/Berlin:20240105T090000",
        "DURATION:PT1H30M",
        "END:VEVENT",
        // Across the change to summer time a day is 23 hours, 24 hours end an hour later.
        "BEGIN:VEVENT",
        "UID:b",
        "DTSTART;TZID=Europe/Berlin:20240330T100000",
        "DURATION:P1D",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:c",
        "DTSTART;TZID=Europe/Berlin:20240330T100000",
        "DURATION:PT24H",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:d",
        "DTSTART:20240105T090000Z",
        "DURATION:P1DT2H3M4S",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0]->endDate(), local(u"Europe/Berlin", 2024, 1, 5, 10, 30));
    EXPECT_EQ(read[1]->endDate(), local(u"Europe/Berlin", 2024, 3, 31, 10, 0));
    EXPECT_EQ(read[2]->endDate(), local(u"Europe/Berlin", 2024, 3, 31, 11, 0));
    EXPECT_EQ(read[3]->endDate(), local(u"UTC", 2024, 1, 6, 11, 3, 4));
}

TEST_F(ICalendarParseTest, LocalTimesThatASummerTimeChangeSkipsOrRepeats) {
    const auto read = events(calendar({
        // 02:30 does not exist on 31 March 2024 in Berlin: read with the offset before the change.
        "BEGIN:VEVENT",
        "UID:gap",
        "DTSTART;TZID=Europe/Berlin:20240331T023000",
        "END:VEVENT",
        // 02:30 happens twice on 27 October 2024: the first one counts (RFC 5545 3.3.5).
        "BEGIN:VEVENT",
        "UID:twice",
        "DTSTART;TZID=Europe/Berlin:20241027T023000",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->startDate(), local(u"UTC", 2024, 3, 31, 1, 30));
    EXPECT_EQ(read[1]->startDate(), local(u"UTC", 2024, 10, 27, 0, 30));
}

TEST_F(ICalendarParseTest, KeepsRulesAndExcludedDates) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:series",
        "DTSTART;TZID=Europe/Berlin:20240101T090000",
        "DTEND;TZID=Europe/Berlin:20240101T100000",
        "RRULE:FREQ=WEEKLY;BYDAY=MO,WE;COUNT=10",
        "EXDATE;TZID=Europe/Berlin:20240108T090000,20240103T090000",
        "EXDATE:20240110T080000Z",
        // A date in a series of date-times names the occurrence on that day.
        "EXDATE;VALUE=DATE:20240115",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:yearly",
        "DTSTART;VALUE=DATE:20240229",
        "RRULE:FREQ=YEARLY",
        "EXDATE;VALUE=DATE:20250228,20260228",
        "END:VEVENT",
        // The store limits expansion; the rule is kept as it is.
        "BEGIN:VEVENT",
        "UID:pathological",
        "DTSTART:20240101T000000Z",
        "RRULE:FREQ=SECONDLY;COUNT=1000000000",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 3u);
    ASSERT_TRUE(read[0]->hasRecurrenceRules());
    EXPECT_EQ(*read[0]->recurrenceRule(),
              *EKRecurrenceRule::fromRRule("FREQ=WEEKLY;BYDAY=MO,WE;COUNT=10", nullptr));
    EXPECT_EQ(
        read[0]->excludedOccurrenceDates(),
        dates({local(u"Europe/Berlin", 2024, 1, 3, 9, 0), local(u"Europe/Berlin", 2024, 1, 8, 9, 0),
               local(u"Europe/Berlin", 2024, 1, 10, 9, 0), local(u"Europe/Berlin", 2024, 1, 15, 9, 0)}));
    EXPECT_EQ(read[1]->recurrenceRule()->frequency(), EKRecurrenceFrequency::Yearly);
    EXPECT_EQ(read[1]->excludedOccurrenceDates(), dates({local(2025, 2, 28), local(2026, 2, 28)}));
    ASSERT_TRUE(read[2]->hasRecurrenceRules());
    EXPECT_TRUE(read[2]->recurrenceRule()->rrule().contains("FREQ=SECONDLY"));
    EXPECT_TRUE(read[2]->recurrenceRule()->rrule().contains("COUNT=1000000000"));
}

TEST_F(ICalendarParseTest, ChangedAndCancelledOccurrences) {
    const auto read = events(calendar({
        // Changed occurrences may come before their series.
        "BEGIN:VEVENT",
        "UID:daily",
        "RECURRENCE-ID;TZID=Europe/Berlin:20240102T090000",
        "DTSTART;TZID=Europe/Berlin:20240102T140000",
        "DTEND;TZID=Europe/Berlin:20240102T150000",
        "SUMMARY:Moved",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:daily",
        "DTSTART;TZID=Europe/Berlin:20240101T090000",
        "DTEND;TZID=Europe/Berlin:20240101T100000",
        "RRULE:FREQ=DAILY;COUNT=5",
        "EXDATE;TZID=Europe/Berlin:20240105T090000",
        "SUMMARY:Stand-up",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:daily",
        "RECURRENCE-ID;TZID=Europe/Berlin:20240103T090000",
        "DTSTART;TZID=Europe/Berlin:20240103T090000",
        "STATUS:CANCELLED",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 2u);
    const EKEvent& series = *read[0];
    EXPECT_EQ(series.title(), "Stand-up");
    EXPECT_FALSE(series.occurrenceDate().has_value());
    EXPECT_EQ(series.excludedOccurrenceDates(),
              dates({local(u"Europe/Berlin", 2024, 1, 3, 9, 0), local(u"Europe/Berlin", 2024, 1, 5, 9, 0)}));
    const EKEvent& moved = *read[1];
    EXPECT_EQ(moved.eventIdentifier(), "daily");
    EXPECT_EQ(moved.occurrenceDate(), local(u"Europe/Berlin", 2024, 1, 2, 9, 0));
    EXPECT_EQ(moved.startDate(), local(u"Europe/Berlin", 2024, 1, 2, 14, 0));
    EXPECT_EQ(moved.title(), "Moved");
    EXPECT_FALSE(moved.hasRecurrenceRules());
}

TEST_F(ICalendarParseTest, ChangedOccurrencesWithoutTheirSeriesBecomeEvents) {
    const QByteArray text = calendar({
        "BEGIN:VEVENT",
        "UID:alone",
        "RECURRENCE-ID:20240102T090000Z",
        "DTSTART:20240102T100000Z",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:pair",
        "RECURRENCE-ID:20240102T090000Z",
        "DTSTART:20240102T100000Z",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:pair",
        "RECURRENCE-ID:20240103T090000Z",
        "DTSTART:20240103T100000Z",
        "END:VEVENT",
        // A cancelled occurrence of nothing is nothing.
        "BEGIN:VEVENT",
        "UID:gone",
        "RECURRENCE-ID:20240102T090000Z",
        "DTSTART:20240102T090000Z",
        "STATUS:CANCELLED",
        "END:VEVENT",
    });
    const auto read = events(text);
    ASSERT_EQ(read.size(), 3u);
    for (const auto& event : read) {
        EXPECT_FALSE(event->occurrenceDate().has_value());
    }
    EXPECT_EQ(read[0]->eventIdentifier(), "alone");
    EXPECT_EQ(read[1]->eventIdentifier(), "pair/20240102T090000Z");
    EXPECT_EQ(read[2]->eventIdentifier(), "pair/20240103T090000Z");
    EXPECT_TRUE(
        messages(parse(text).warnings)
            .contains("test.ics:4: the changed occurrence has no repeating event with UID \"alone\" and is "
                      "read as an event of its own"));
}

TEST_F(ICalendarParseTest, AlarmsAreOffsetsFromTheStart) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:alarms",
        "DTSTART;TZID=Europe/Berlin:20240105T090000",
        "DTEND;TZID=Europe/Berlin:20240105T100000",
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER:-PT15M",
        "END:VALARM",
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER;RELATED=END:-PT5M",
        "END:VALARM",
        "BEGIN:VALARM",
        "ACTION:AUDIO",
        "TRIGGER;VALUE=DATE-TIME:20240105T070000Z",
        "END:VALARM",
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER;RELATED=START:-P1DT1H",
        "END:VALARM",
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER:PT0S",
        "END:VALARM",
        "END:VEVENT",
        // An all-day event's end is the next day's start.
        "BEGIN:VEVENT",
        "UID:all-day",
        "DTSTART;VALUE=DATE:20240105",
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER;RELATED=END:-PT1H",
        "END:VALARM",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(offsets(read[0]), (std::vector<double>{-900, 3300, -3600, -90000, 0}));
    EXPECT_EQ(offsets(read[1]), (std::vector<double>{82800}));
}

TEST_F(ICalendarParseTest, TimeZoneNamesIcuDoesNotKnowDirectly) {
    const auto read = events(calendar({
        "BEGIN:VEVENT",
        "UID:windows",
        "DTSTART;TZID=\"W. Europe Standard Time\":20240105T090000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:eastern",
        "DTSTART;TZID=Eastern Standard Time:20240705T090000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:prefixed",
        "DTSTART;TZID=/example.org/2024a/Europe/Berlin:20240105T090000",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0]->timeZone(), "Europe/Berlin");
    EXPECT_EQ(read[0]->startDate(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->timeZone(), "America/New_York");
    EXPECT_EQ(read[1]->startDate(), local(u"America/New_York", 2024, 7, 5, 9, 0));
    EXPECT_EQ(read[2]->timeZone(), "Europe/Berlin");
}

TEST_F(ICalendarParseTest, ZonesOnlyTheFileDefinesKeepTheirRulesThroughAnIcuZone) {
    const auto read = events(calendar({
        "BEGIN:VTIMEZONE",
        "TZID:Office Time",
        "BEGIN:STANDARD",
        "DTSTART:19701025T030000",
        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU",
        "TZOFFSETFROM:+0200",
        "TZOFFSETTO:+0100",
        "END:STANDARD",
        "BEGIN:DAYLIGHT",
        "DTSTART:19700329T020000",
        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU",
        "TZOFFSETFROM:+0100",
        "TZOFFSETTO:+0200",
        "END:DAYLIGHT",
        "END:VTIMEZONE",
        "BEGIN:VTIMEZONE",
        "TZID:Libical Zone",
        "X-LIC-LOCATION:Asia/Tokyo",
        "BEGIN:STANDARD",
        "DTSTART:19700101T000000",
        "TZOFFSETFROM:+0900",
        "TZOFFSETTO:+0900",
        "END:STANDARD",
        "END:VTIMEZONE",
        "BEGIN:VEVENT",
        "UID:winter",
        "DTSTART;TZID=Office Time:20240105T090000",
        "DTEND;TZID=Office Time:20240105T100000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:summer",
        "DTSTART;TZID=Office Time:20240705T090000",
        "EXDATE;TZID=Office Time:20240712T090000",
        "RRULE:FREQ=WEEKLY",
        "END:VEVENT",
        "BEGIN:VTIMEZONE",
        "TZID:Odd Time",
        "BEGIN:STANDARD",
        "DTSTART:19700101T000000",
        "TZOFFSETFROM:+0017",
        "TZOFFSETTO:+0017",
        "END:STANDARD",
        "END:VTIMEZONE",
        "BEGIN:VEVENT",
        "UID:odd",
        "DTSTART;TZID=Odd Time:20240705T090000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:tokyo",
        "DTSTART;TZID=Libical Zone:20240705T090000",
        "END:VEVENT",
    }));
    ASSERT_EQ(read.size(), 4u);
    // The European rules are those of the default zone here.
    EXPECT_EQ(read[0]->timeZone(), "Europe/Berlin");
    EXPECT_EQ(read[0]->startDate(), local(u"UTC", 2024, 1, 5, 8, 0));
    EXPECT_EQ(read[0]->endDate(), local(u"UTC", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->timeZone(), "Europe/Berlin");
    EXPECT_EQ(read[1]->startDate(), local(u"UTC", 2024, 7, 5, 7, 0));
    EXPECT_EQ(read[1]->excludedOccurrenceDates(), dates({local(u"UTC", 2024, 7, 12, 7, 0)}));
    // Rules no known zone has stay in UTC, with a warning.
    EXPECT_EQ(read[2]->timeZone(), "UTC");
    EXPECT_EQ(read[2]->startDate(), local(u"UTC", 2024, 7, 5, 8, 43));
    EXPECT_EQ(read[3]->timeZone(), "Asia/Tokyo");
    EXPECT_EQ(read[3]->startDate(), local(u"Asia/Tokyo", 2024, 7, 5, 9, 0));
}

TEST_F(ICalendarParseTest, EventsWithoutUidGetStableIdentifiers) {
    const QByteArray text = calendar({
        "BEGIN:VEVENT",
        "DTSTART:20240105T090000Z",
        "SUMMARY:A",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "DTSTART:20240105T090000Z",
        "SUMMARY:B",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "DTSTART:20240105T090000Z",
        "SUMMARY:B",
        "END:VEVENT",
    });
    const auto first = events(text);
    const auto second = events(text);
    ASSERT_EQ(first.size(), 3u);
    QSet<QString> identifiers;
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_FALSE(first[i]->eventIdentifier().isEmpty());
        EXPECT_EQ(first[i]->eventIdentifier(), second[i]->eventIdentifier());
        identifiers.insert(first[i]->eventIdentifier());
    }
    EXPECT_EQ(identifiers.size(), 3);
}

TEST_F(ICalendarParseTest, ToleratesWhatOtherWritersDo) {
    // LF line endings, a byte order mark, lower-case names, unknown properties, parameters and
    // components, a fold inside a UTF-8 sequence, blank lines, several calendars.
    QByteArray text =
        "\xEF\xBB\xBF"
        "BEGIN:VCALENDAR\n"
        "VERSION:2.0\n"
        "X-WR-CALNAME:Other\n"
        "BEGIN:VTODO\nUID:todo\nSUMMARY:ignored\nEND:VTODO\n"
        "begin:vevent\n"
        "uid:lower\n"
        "dtstart;tzid=Europe/Berlin:20240105T090000\n"
        "summary;language=de:Gr\xC3\n"
        " \xBC\xC3\x9F"
        "e\n"
        "COLOR:red\n"
        "CONFERENCE;VALUE=URI;X-CUSTOM=\"a:b;c\":https://example.org/call\n"
        "NEWPROPERTY:anything\n"
        "BEGIN:X-THING\nX-A:1\nEND:X-THING\n"
        "end:vevent\n"
        "END:VCALENDAR\n"
        "\n"
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:second\nDTSTART:20240106T090000Z\nEND:VEVENT\nEND:VCALENDAR\n";
    const auto read = events(text);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->eventIdentifier(), "lower");
    EXPECT_EQ(read[0]->title(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(read[0]->startDate(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[1]->eventIdentifier(), "second");
}

TEST_F(ICalendarParseTest, ReportsProgressPerEvent) {
    std::vector<std::pair<int, int>> steps;
    ICalendarReader reader(store());
    reader.setOnProgress([&](int done, int total) { steps.emplace_back(done, total); });
    const ICalendarParseResult result =
        reader.read(calendar({"BEGIN:VEVENT", "UID:1", "DTSTART:20240105T090000Z", "END:VEVENT",
                              "BEGIN:VEVENT", "UID:2", "DTSTART:20240105T090000Z", "END:VEVENT",
                              "BEGIN:VEVENT", "UID:3", "DTSTART:20240105T090000Z", "END:VEVENT"}),
                    "p.ics");
    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
}

TEST_F(ICalendarParseTest, ReadsFiles) {
    const QString file = path("Team Calendar.ics");
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(calendar({"BEGIN:VEVENT", "UID:f", "DTSTART:20240105T090000Z", "END:VEVENT"}));
    out.close();
    const ICalendarParseResult result = ICalendarReader(store()).readFile(file);
    ASSERT_FALSE(result.error.has_value());
    ASSERT_EQ(result.events.size(), 1u);
    EXPECT_EQ(result.events[0]->eventIdentifier(), "f");

    const ICalendarParseResult missing = ICalendarReader(store()).readFile(path("missing.ics"));
    ASSERT_TRUE(missing.error.has_value());
    EXPECT_EQ(missing.error->message(), "missing.ics: cannot open the file: No such file or directory");
}
