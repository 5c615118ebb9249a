#include "ICalendarTestSupport.h"

#include "core/eventstore/ICalendarImporter.h"

// Files of other programs: every event that can be read is read, the others are named.
class ICalendarLenientImportTest : public ICalendarTest {
protected:
    ICalendarParseResult lenient(const QByteArray& text) {
        return parse(text, ICalendarReader::Strictness::SkipUnreadable);
    }

    static QStringList uids(const ICalendarParseResult& result) {
        QStringList list;
        for (const auto& read : result.events) {
            list.append(read->eventIdentifier());
        }
        return list;
    }
};

TEST_F(ICalendarLenientImportTest, UnreadableComponentsAreSkippedWithTheirLine) {
    const QByteArray text = calendar(
        eventWithUid("a") + QStringList{"BEGIN:VEVENT", "UID:nostart", "END:VEVENT"} +
        QStringList{"BEGIN:VTIMEZONE", "TZID:X"} + eventWithUid("inzone") +
        QStringList{"END:VTIMEZONE", "BEGIN:VTODO", "UID:t", "END:VTODO"} +
        eventWithUid("b", {"END:VALARM"}) + QStringList{"BEGIN:VEVENT", "UID:open"} + eventWithUid("c"));
    const ICalendarParseResult result = lenient(text);
    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(uids(result), (QStringList{"a", "c"}));
    EXPECT_EQ(
        messages(result.skipped),
        (QStringList{"test.ics:8: DTSTART is missing", "test.ics:13: VEVENT inside VTIMEZONE is not read",
                     "test.ics:24: END:VALARM without BEGIN:VALARM",
                     "test.ics:26: BEGIN:VEVENT is not closed (END:VEVENT is missing)"}));
    EXPECT_EQ(messages(result.warnings),
              QStringList{"test.ics:18: 1 VTODO is left out: only events (VEVENT) are imported"});
    // When whole files are refused, a broken structure refuses it before any event is read.
    EXPECT_EQ(error(text), "test.ics:24: END:VALARM without BEGIN:VALARM");
}

TEST_F(ICalendarLenientImportTest, TimeZonesAsOtherProgramsWriteThem) {
    const ICalendarParseResult result = lenient(calendar(QStringList{
        "BEGIN:VEVENT", "UID:windows", "DTSTART;TZID=W. Europe Standard Time:20240105T090000", "END:VEVENT",
        "BEGIN:VEVENT", "UID:path",
        "DTSTART;TZID=/softwarestudio.org/Olson_20011030_5/America/New_York:20240105T090000", "END:VEVENT",
        "BEGIN:VEVENT", "UID:unknown", "DTSTART;TZID=Office Time:20240105T090000", "END:VEVENT"}));
    ASSERT_EQ(uids(result), (QStringList{"windows", "path", "unknown"}));
    EXPECT_EQ(result.events[0]->startDate(), local(u"Europe/Berlin", 2024, 1, 5, 9, 0));
    EXPECT_EQ(result.events[1]->startDate(), local(u"America/New_York", 2024, 1, 5, 9, 0));
    EXPECT_EQ(result.events[1]->timeZone(), "America/New_York");
    // Floating: the wall time in the zone in force.
    EXPECT_EQ(result.events[2]->startDate(), local(2024, 1, 5, 9, 0));
    EXPECT_EQ(
        messages(result.warnings),
        QStringList{"test.ics:14: unknown time zone \"Office Time\" (no VTIMEZONE defines it); its times "
                    "are read as floating local time"});
}

TEST_F(ICalendarLenientImportTest, SloppinessThatLosesNothingIsAccepted) {
    QByteArray text =
        calendar(eventWithUid("a", {"SUMMARY :spaced", "DTEND ;VALUE=DATE-TIME :20240105T100000Z",
                                    "RDATE:", "EXDATE:", "EXDATE;VALUE=DATE-TIME:20240106T090000Z,"}));
    text.chop(QByteArray("END:VCALENDAR\r\n").size());
    for (const auto strictness :
         {ICalendarReader::Strictness::SkipUnreadable, ICalendarReader::Strictness::RefuseFile}) {
        const ICalendarParseResult result = parse(text, strictness);
        ASSERT_FALSE(result.error.has_value()) << result.error->message().toStdString();
        ASSERT_EQ(result.events.size(), 1u);
        EXPECT_EQ(result.events[0]->title(), "spaced");
        EXPECT_EQ(result.events[0]->endDate(), result.events[0]->startDate().addingTimeInterval(3600));
        EXPECT_EQ(result.events[0]->excludedOccurrenceDates().size(), 1u);
        EXPECT_TRUE(result.skipped.empty());
        EXPECT_TRUE(result.warnings.empty()) << messages(result.warnings).join('\n').toStdString();
    }
}

TEST_F(ICalendarLenientImportTest, ImportWritesTheReadableEventsInOneGo) {
    const auto team = std::make_shared<EKCalendar>("", EKCalendarType::Local, store().localSource());
    team->setTitle("Team");
    StoreError storeError;
    ASSERT_TRUE(store().saveCalendar(team, true, &storeError));
    const QByteArray text =
        calendar(eventWithUid("a") + eventWithUid("b", {"DURATION:P99999999W"}) + eventWithUid("c"));
    const ICalendarImportResult result = ICalendarImporter().importText(text, "team.ics", team, store());
    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(messages(result.skipped), QStringList{"team.ics:11: DURATION ends after the year 9999"});
    EXPECT_EQ(store().eventRecords(team).size(), 2u);
    EXPECT_EQ(store().eventWithIdentifier("b"), nullptr);
}
