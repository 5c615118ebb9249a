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
        QStringList uids;
        for (const auto& read : result.events) {
            uids.append(read->eventIdentifier());
        }
        return QStringList{uids.join(' ')} + messages(result.skipped);
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
    EXPECT_EQ(
        error(calendar(zone("RRULE:RSCALE=GREGORIAN;FREQ=YEARLY") + user)),
        "test.ics:10: invalid RRULE \"RSCALE=GREGORIAN;FREQ=YEARLY\": RSCALE in a time zone observance is "
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
    EXPECT_EQ(lenient(calendar(eventWithUid("h", {"RRULE:RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5L"}) +
                               eventWithUid("ok"))),
              (QStringList{
                  "ok", "test.ics:7: invalid RRULE \"RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5L\": RSCALE=HEBREW: "
                        "rules in calendars other than the Gregorian are not supported"}));
    EXPECT_EQ(error(calendar(eventWithUid("a", {"RRULE:RSCALE=GREGORIAN;FREQ=MONTHLY;SKIP=FORWARD"}))),
              "test.ics:7: invalid RRULE \"RSCALE=GREGORIAN;FREQ=MONTHLY;SKIP=FORWARD\": SKIP=FORWARD is not "
              "supported");
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
