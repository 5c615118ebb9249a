#include "ICalendarTestSupport.h"

#include "core/eventstore/ICalendarReader.h"
#include "core/eventstore/VCardBirthdays.h"

namespace {

QStringList zone(const QString& rule) {
    return {"BEGIN:VTIMEZONE",
            "TZID:Odd",
            "BEGIN:STANDARD",
            "DTSTART:19700101T000000",
            "TZOFFSETFROM:+0100",
            "TZOFFSETTO:+0100",
            rule,
            "END:STANDARD",
            "END:VTIMEZONE"};
}

} // namespace

// Hostile files are read in bounded time and memory; what cannot be read is skipped with its line
// and the rest is read, or (strict) the file is refused with that line.
class ICalendarHostileInputTest : public ICalendarTest {
protected:
    // "uid uid …" of the events read leniently, then the skipped messages.
    QStringList lenient(const QByteArray& text) {
        const ICalendarParseResult result = parse(text, ICalendarReader::Strictness::SkipUnreadable);
        return QStringList{uids(result)} + messages(result.skipped);
    }

    static QString uids(const ICalendarParseResult& result) {
        QStringList read;
        for (const auto& event : result.events) {
            read.append(event->eventIdentifier());
        }
        return read.join(' ');
    }
};

TEST_F(ICalendarHostileInputTest, DeepNestingIsRefusedWithoutRecursion) {
    QStringList deep = eventWithUid("b");
    deep.removeLast();
    for (int i = 0; i < 100000; ++i) {
        deep.append("BEGIN:X-A");
    }
    for (int i = 0; i < 100000; ++i) {
        deep.append("END:X-A");
    }
    deep.append("END:VEVENT");
    const QByteArray text = calendar(eventWithUid("a") + deep + eventWithUid("c"));
    EXPECT_EQ(lenient(text),
              (QStringList{"a c", "test.ics:25: components are nested more than 16 levels deep"}));
    EXPECT_EQ(error(text), "test.ics:25: components are nested more than 16 levels deep");

    // An event buried too deep in components of no interest is named as skipped.
    QStringList buried;
    for (int i = 0; i < 20; ++i) {
        buried.append("BEGIN:X-A");
    }
    buried += eventWithUid("d");
    for (int i = 0; i < 20; ++i) {
        buried.append("END:X-A");
    }
    EXPECT_EQ(lenient(calendar(buried)),
              (QStringList{"", "test.ics:24: VEVENT nested more than 16 levels deep is not read"}));
    EXPECT_EQ(error(calendar(buried)), "test.ics:19: components are nested more than 16 levels deep");
}

TEST_F(ICalendarHostileInputTest, TimeZoneObservancesAreBounded) {
    const QStringList user = {"BEGIN:VEVENT", "UID:z", "DTSTART;TZID=Odd:20240105T090000", "END:VEVENT"};
    EXPECT_EQ(lenient(calendar(zone("RRULE:FREQ=MINUTELY") + user + eventWithUid("ok"))),
              (QStringList{"ok", "test.ics:10: the time zone observance repeats more often than daily"}));
    EXPECT_EQ(error(calendar(zone("RRULE:FREQ=HOURLY;INTERVAL=2") + user)),
              "test.ics:10: the time zone observance repeats more often than daily");
    EXPECT_EQ(error(calendar(zone("RRULE:FREQ=DAILY") + user)),
              "test.ics:10: the time zone observance changes more than 12 times a year");
    EXPECT_EQ(
        error(calendar(zone("RRULE:FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=1,2,3,4,5,6,7,8,9,10,11,12,13") + user)),
        "test.ics:10: the time zone observance changes more than 12 times a year");
    EXPECT_EQ(error(calendar(zone("RRULE:RSCALE=HEBREW;FREQ=YEARLY") + user)),
              "test.ics:10: invalid RRULE \"RSCALE=HEBREW;FREQ=YEARLY\": RSCALE in a time zone observance is "
              "not supported");
    // A yearly change, as real zones make, is read.
    EXPECT_EQ(lenient(calendar(zone("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU") + user)), QStringList{"z"});
}

TEST_F(ICalendarHostileInputTest, DatesBeyondWhatCanBeWrittenAreRefused) {
    EXPECT_EQ(error(calendar(eventWithUid("a", {"DURATION:P99999999W"}))),
              "test.ics:7: DURATION ends after the year 9999");
    EXPECT_EQ(error(calendar(eventWithUid("a", {"DURATION:P999999999DT999999999H"}))),
              "test.ics:7: DURATION ends after the year 9999");
    EXPECT_EQ(error(calendar({"BEGIN:VEVENT", "UID:a", "DTSTART;VALUE=DATE:99991230", "END:VEVENT"})),
              "test.ics:4: the end of the event lies outside the years 1 to 9999");
    EXPECT_EQ(error(calendar(eventWithUid("a", {"BEGIN:VALARM", "TRIGGER:-P99999999W", "END:VALARM"}))),
              "test.ics:8: the TRIGGER lies outside the years 1 to 9999");
    // Just inside the bounds: read, and written so that it reads back.
    const auto late = events(calendar(eventWithUid("a", {"DURATION:P2900000D"})));
    ASSERT_EQ(late.size(), 1u);
    EXPECT_GT(late[0]->endDate(), Day(9900, 1, 1).beginDateTime());
}

TEST_F(ICalendarHostileInputTest, TextThatIsNotUtf8IsReadAsLatin1WithAWarning) {
    QByteArray text = calendar(eventWithUid("a", {"SUMMARY:Gr\\u00fc\\u00dfe", "LOCATION:K\\u00f6ln"}));
    text.replace("\\u00fc", "\xFC").replace("\\u00df", "\xDF").replace("\\u00f6", "\xF6");
    const ICalendarParseResult result = parse(text, ICalendarReader::Strictness::SkipUnreadable);
    ASSERT_EQ(result.events.size(), 1u);
    EXPECT_EQ(result.events[0]->title(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(result.events[0]->location(), QString::fromUtf8("Köln"));
    EXPECT_EQ(messages(result.warnings),
              QStringList{"test.ics:7: the text is not UTF-8; it is read as Latin-1 (as "
                          "is any other such text in the file)"});
}

TEST_F(ICalendarHostileInputTest, MessagesAreShortAndOurOwn) {
    const QString longValue(100000, QLatin1Char('x'));
    const QString refusal = error(calendar(eventWithUid("a", {"DTSTAMP:" + longValue})));
    EXPECT_EQ(refusal, "test.ics:7: malformed DTSTAMP value \"" + QString(80, QLatin1Char('x')) + "…\"");
    EXPECT_EQ(error(calendar(eventWithUid("a", {"RRULE:FREQ=WEEKLY;BYDAY=" + longValue}))),
              "test.ics:7: invalid RRULE \"FREQ=WEEKLY;BYDAY=" + QString(62, QLatin1Char('x')) + "…\"");
    const QString longName(100000, QLatin1Char('X'));
    EXPECT_EQ(error(calendar(eventWithUid("a", {longName}))),
              "test.ics:7: expected \":\" after " + QString(80, QLatin1Char('X')) + "…");
    EXPECT_EQ(error(calendar(eventWithUid("a") + QStringList{"BEGIN:" + longName})),
              "test.ics:9: END:VCALENDAR found while BEGIN:" + QString(80, QLatin1Char('X')) +
                  "… of line 8 is still open");
    // Leniently, a bad property the event does not need is left out with a warning.
    const ICalendarParseResult result = parse(calendar(eventWithUid("a", {"GEO:north", "CLASS:"})),
                                              ICalendarReader::Strictness::SkipUnreadable);
    EXPECT_EQ(result.events.size(), 1u);
    EXPECT_EQ(messages(result.warnings),
              (QStringList{"test.ics:7: malformed GEO value \"north\"; the property is left out",
                           "test.ics:8: CLASS has no value; the property is left out"}));
}

TEST_F(ICalendarHostileInputTest, RulesOfOtherCalendarScales) {
    const auto gregorian =
        events(calendar(eventWithUid("a", {"RRULE:RSCALE=GREGORIAN;FREQ=MONTHLY;SKIP=OMIT;COUNT=2"})));
    ASSERT_EQ(gregorian.size(), 1u);
    EXPECT_EQ(gregorian[0]->recurrenceRule()->rrule(), "FREQ=MONTHLY;COUNT=2");
    // Other calendars, leap months and SKIP are kept for libical to expand with ICU.
    const auto hebrew =
        events(calendar(eventWithUid("h", {"RRULE:RSCALE=hebrew;FREQ=YEARLY;BYMONTH=5L;SKIP=FORWARD"})));
    ASSERT_EQ(hebrew.size(), 1u);
    EXPECT_TRUE(hebrew[0]->recurrenceRule()->rrule().startsWith("RSCALE=HEBREW;FREQ=YEARLY"))
        << hebrew[0]->recurrenceRule()->rrule().toStdString();
    EXPECT_TRUE(hebrew[0]->recurrenceRule()->rrule().contains("SKIP=FORWARD"));
    EXPECT_EQ(
        lenient(calendar(eventWithUid("m", {"RRULE:RSCALE=MARTIAN;FREQ=YEARLY"}) + eventWithUid("ok"))),
        (QStringList{"ok", "test.ics:7: invalid RRULE \"RSCALE=MARTIAN;FREQ=YEARLY\": RSCALE=MARTIAN: rules "
                           "in this calendar cannot be expanded"}));
    EXPECT_EQ(error(calendar(eventWithUid("a", {"RRULE:FREQ=MONTHLY;SKIP=FORWARD"}))),
              "test.ics:7: invalid RRULE \"FREQ=MONTHLY;SKIP=FORWARD\": SKIP without RSCALE");
}

// A part that holds a percent marker (a file name, a foreign component's name) is taken as it is,
// not as a place for the next part.
TEST_F(ICalendarHostileInputTest, PercentMarkersInsideMessagePartsStayAsWritten) {
    EXPECT_EQ(error(calendar(eventWithUid("a") + QStringList{"BEGIN:X%1"})),
              "test.ics:9: END:VCALENDAR found while BEGIN:X%1 of line 8 is still open");
    EXPECT_EQ(
        (ICalendarError{QStringLiteral("100%1 sure.ics"), 3, QStringLiteral("DTSTART is missing")}.message()),
        "100%1 sure.ics:3: DTSTART is missing");
    QString vcardError;
    EXPECT_FALSE(VCardBirthdays::parse("BEGIN:VCALENDAR\r\n", QStringLiteral("cards%1.vcf"), &vcardError));
    EXPECT_EQ(vcardError, "cards%1.vcf:1: not a vCard file (it does not begin with BEGIN:VCARD)");
}

// Habits of other writers that lose nothing the event needs: leniently the event is read with a
// warning naming the line and what was assumed or left out; strictly the file is refused.
class ICalendarWritersHabitsTest : public ICalendarHostileInputTest {
protected:
    // The uids read leniently, then the warnings, then the skipped.
    QStringList habits(const QByteArray& text) {
        const ICalendarParseResult result = parse(text, ICalendarReader::Strictness::SkipUnreadable);
        return QStringList{uids(result)} + messages(result.warnings) + messages(result.skipped);
    }
};

TEST_F(ICalendarWritersHabitsTest, APropertyGivenTwiceIsReadFromItsFirstLine) {
    const QByteArray text = calendar(
        eventWithUid("a", {"DTSTART:20240106T090000Z", "DTEND:20240105T100000Z", "DTEND:20240105T110000Z"}));
    EXPECT_EQ(habits(text),
              (QStringList{"a",
                           "test.ics:7: DTSTART occurs more than once in VEVENT; the one on line 6 is used "
                           "and this one is left out",
                           "test.ics:9: DTEND occurs more than once in VEVENT; the one on line 8 is used and "
                           "this one is left out"}));
    const auto read = parse(text, ICalendarReader::Strictness::SkipUnreadable).events;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->startDate(), local(u"UTC", 2024, 1, 5, 9, 0));
    EXPECT_EQ(read[0]->endDate(), local(u"UTC", 2024, 1, 5, 10, 0));
    EXPECT_EQ(error(text), "test.ics:7: DTSTART occurs more than once in VEVENT");
}

TEST_F(ICalendarWritersHabitsTest, BrokenLinesOfExtensionsAndLinesWithoutColonAreLeftOut) {
    const QByteArray text =
        calendar(eventWithUid("a", {"X-OUTLOOK-FLAGS;BUSY:2", "SUMMARY=Budget review", "LOCATION:Room 4",
                                    "the rest of a long note", "X-NOTE;LANG=\"en:1"}));
    EXPECT_EQ(
        habits(text),
        (QStringList{"a", "test.ics:7: parameter BUSY of X-OUTLOOK-FLAGS has no value; the line is left out",
                     "test.ics:8: expected \":\" after SUMMARY; the line is left out",
                     "test.ics:10: expected \":\" after the; the line is left out",
                     "test.ics:11: a quoted value of parameter LANG is not closed; the line is left out"}));
    const auto read = parse(text, ICalendarReader::Strictness::SkipUnreadable).events;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->location(), "Room 4");
    EXPECT_EQ(error(text), "test.ics:7: parameter BUSY of X-OUTLOOK-FLAGS has no value");
    // A broken line of a property the event reads still costs the event.
    EXPECT_EQ(habits(calendar(eventWithUid("b", {"DTEND;TZID:20240105T100000"}))),
              (QStringList{"", "test.ics:7: parameter TZID of DTEND has no value"}));
}

TEST_F(ICalendarWritersHabitsTest, ADateWhereADateTimeIsExpectedIsMidnight) {
    const QByteArray text =
        calendar(QStringList{"BEGIN:VEVENT", "UID:a", "DTSTART;TZID=Europe/Berlin:20240105",
                             "DTEND;TZID=Europe/Berlin:20240106", "END:VEVENT"} +
                 zone("RRULE:FREQ=YEARLY").replaceInStrings("DTSTART:19700101T000000", "DTSTART:19700101") +
                 QStringList{"BEGIN:VEVENT", "UID:b", "DTSTART;TZID=Odd:20240105T090000", "END:VEVENT"});
    EXPECT_EQ(habits(text),
              (QStringList{"a b",
                           "test.ics:6: DTSTART is a date with a TZID, where a date-time is expected; it is "
                           "read as midnight of that date",
                           "test.ics:7: DTEND is a date with a TZID, where a date-time is expected; it is "
                           "read as midnight of that date",
                           "test.ics:12: DTSTART of STANDARD is a date where a date-time is expected; it is "
                           "read as midnight of that date"}));
    const auto read = parse(text, ICalendarReader::Strictness::SkipUnreadable).events;
    ASSERT_EQ(read.size(), 2u);
    EXPECT_FALSE(read[0]->allDay());
    EXPECT_EQ(read[0]->startDate(), local(u"Europe/Berlin", 2024, 1, 5, 0, 0));
    EXPECT_EQ(read[0]->endDate(), local(u"Europe/Berlin", 2024, 1, 6, 0, 0));
    EXPECT_EQ(read[1]->startDate(), local(u"UTC", 2024, 1, 5, 8, 0));
    EXPECT_EQ(error(text), "test.ics:6: DTSTART is a date with a TZID, where a date-time is expected");
    // Said to be a date, it is one.
    EXPECT_TRUE(events(calendar(
        {"BEGIN:VEVENT", "UID:c", "DTSTART;VALUE=DATE;TZID=Europe/Berlin:20240105", "END:VEVENT"}))[0]
                    ->allDay());
}

TEST_F(ICalendarWritersHabitsTest, RecurrenceDatesAndPeriodsBecomeEventsOfTheirOwn) {
    const QByteArray text = calendar(
        eventWithUid("a", {"RDATE;VALUE=PERIOD:20240110T090000Z/20240110T100000Z,20240117T090000Z/PT2H"}));
    EXPECT_EQ(habits(text),
              (QStringList{"a a/20240110T090000Z a/20240117T090000Z",
                           "test.ics:7: RDATE is not kept with the event; its dates are read as "
                           "events of their own"}));
    const auto read = parse(text, ICalendarReader::Strictness::SkipUnreadable).events;
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[1]->endDate().timeIntervalSinceDate(read[1]->startDate()), 3600.0);
    EXPECT_EQ(read[2]->endDate().timeIntervalSinceDate(read[2]->startDate()), 7200.0);
    EXPECT_FALSE(read[2]->hasRecurrenceRules());
    // Plain dates take the event's length; the first start adds nothing.
    const auto dates = parse(calendar(eventWithUid("b", {"RDATE:20240110T090000Z,20240105T090000Z"})),
                             ICalendarReader::Strictness::SkipUnreadable)
                           .events;
    ASSERT_EQ(dates.size(), 2u);
    EXPECT_EQ(dates[1]->eventIdentifier(), "b/20240110T090000Z");
    EXPECT_EQ(dates[1]->endDate().timeIntervalSinceDate(dates[1]->startDate()),
              dates[0]->endDate().timeIntervalSinceDate(dates[0]->startDate()));
    EXPECT_EQ(error(text), "test.ics:7: RDATE is not kept with the event");
}

TEST_F(ICalendarWritersHabitsTest, AnOccurrenceWithoutUidIsASingleEvent) {
    const QByteArray text = calendar({"BEGIN:VEVENT", "DTSTART:20240105T090000Z", "SUMMARY:Moved",
                                      "RECURRENCE-ID:20240104T090000Z", "END:VEVENT"});
    const ICalendarParseResult result = parse(text, ICalendarReader::Strictness::SkipUnreadable);
    ASSERT_EQ(result.events.size(), 1u);
    EXPECT_EQ(result.events[0]->title(), "Moved");
    EXPECT_FALSE(result.events[0]->occurrenceDate().has_value());
    EXPECT_FALSE(result.events[0]->eventIdentifier().isEmpty());
    EXPECT_EQ(messages(result.warnings),
              QStringList{"test.ics:7: RECURRENCE-ID in an event without UID; it is left out and the event "
                          "read as a single event"});
    EXPECT_EQ(error(text), "test.ics:7: RECURRENCE-ID in an event without UID");
}
