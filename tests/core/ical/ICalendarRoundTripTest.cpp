#include "ICalendarGenerator.h"
#include "ICalendarTestSupport.h"

#include "testing/LogCapture.h"
#include "testing/ManualRunLoop.h"

#include "core/eventstore/ICalendarExporter.h"
#include "core/eventstore/ICalendarImporter.h"

#include <QElapsedTimer>

namespace {

// Every occurrence of a calendar in 2023 to 2027, one line each, in a stable order.
QStringList occurrences(EKEventStore& store, const std::shared_ptr<EKCalendar>& calendar) {
    QStringList lines;
    for (const auto& event : store.eventsMatchingPredicate(
             store.predicateForEvents(Date::withTimeIntervalSince1970(1640995200),
                                      Date::withTimeIntervalSince1970(1830297600), {calendar}))) {
        lines.append(QStringLiteral("%1 %2 %3 %4 %5 %6")
                         .arg(event->startDate().timeIntervalSince1970(), 0, 'f', 0)
                         .arg(event->endDate().timeIntervalSince1970(), 0, 'f', 0)
                         .arg(event->allDay())
                         .arg(event->eventIdentifier(), event->title(), event->location()));
    }
    lines.sort();
    return lines;
}

std::shared_ptr<EKCalendar> newCalendar(EKEventStore& store) {
    auto calendar = std::make_shared<EKCalendar>("", EKCalendarType::Local, store.localSource());
    calendar->setTitle("Imported");
    StoreError error;
    EXPECT_TRUE(store.saveCalendar(calendar, true, &error));
    return calendar;
}

} // namespace

using ICalendarRoundTripTest = ICalendarTest;

// What a store holds exports as a file that imports back to the same occurrences.
TEST_F(ICalendarRoundTripTest, EveryImportedFileExportsAndImportsBackToTheSameOccurrences) {
    LogCapture log;
    ICalendarGenerator generator(20261209);
    int compared = 0;
    for (int round = 0; round < 24; ++round) {
        QTemporaryDir folder;
        EKEventStore first(folder.filePath("first.sqlite"));
        const auto original = newCalendar(first);
        const ICalendarImportResult imported = ICalendarImporter().importText(
            generator.file(generator.number(1, 12)), "generated.ics", original, first);
        ASSERT_FALSE(imported.error.has_value()) << imported.error->toStdString();
        if (imported.imported == 0) {
            continue;
        }
        const QByteArray exported = ICalendarExporter::exportCalendars({original}, first);
        EKEventStore second(folder.filePath("second.sqlite"));
        const auto copy = newCalendar(second);
        const ICalendarImportResult again =
            ICalendarImporter().importText(exported, "exported.ics", copy, second);
        ASSERT_FALSE(again.error.has_value()) << again.error->toStdString();
        EXPECT_TRUE(again.skipped.empty()) << again.skipped.front().message().toStdString() << "\n"
                                           << exported.toStdString();
        EXPECT_EQ(again.imported, imported.imported);
        EXPECT_EQ(occurrences(second, copy), occurrences(first, original)) << "round " << round;
        ++compared;
    }
    EXPECT_GT(compared, 20);
}

namespace {

// The content lines of an exported text, unfolded.
QStringList unfoldedLines(const QByteArray& text) {
    QByteArray unfolded = text;
    unfolded.replace("\r\n ", "");
    return QString::fromUtf8(unfolded).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

// Attendees, alarms with other actions, categories, X- properties and unknown components come back
// out as they went in; a change made here raises SEQUENCE and stamps LAST-MODIFIED.
TEST_F(ICalendarRoundTripTest, WhatThisProgramDoesNotEditIsWrittenBackAsItCame) {
    const auto loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1767225600)); // 2026-01-01
    RunLoop::setMain(loop);
    const QStringList kept{
        "ORGANIZER;CN=\"Ana Lima\":mailto:ana@example.org",
        "ATTENDEE;CUTYPE=INDIVIDUAL;ROLE=REQ-PARTICIPANT;PARTSTAT=NEEDS-ACTION;RSVP=TRUE;CN=Ben Okafor:"
        "mailto:ben.okafor@example.org",
        "CATEGORIES:Work,Planning",
        "STATUS:CONFIRMED",
        "X-EXAMPLE-FLAG;X-KIND=a:yes",
    };
    const QStringList vlocation{"BEGIN:VLOCATION", "UID:room-4", "NAME:Room 4", "END:VLOCATION"};
    const QStringList audioAlarm{"BEGIN:VALARM", "ACTION:AUDIO", "TRIGGER:-PT15M",
                                 "ATTACH;FMTTYPE=audio/basic:https://example.org/ding.au", "END:VALARM"};
    QStringList body = eventWithUid("kept-1", QStringList{"DTEND:20240105T100000Z", "SUMMARY:Planning",
                                                          "SEQUENCE:3", "LAST-MODIFIED:20240101T120000Z"} +
                                                  kept + vlocation + audioAlarm);
    const auto invites = newCalendar(store());
    const ICalendarImportResult imported =
        ICalendarImporter().importText(calendar(body), "invite.ics", invites, store());
    ASSERT_FALSE(imported.error.has_value());
    ASSERT_EQ(imported.imported, 1);

    // The exported lines, each line of the other program's expected among them.
    const auto exportedKeepingAll = [&] {
        const QStringList exported = unfoldedLines(ICalendarExporter::exportCalendars({invites}, store()));
        for (const QString& line : kept + vlocation + audioAlarm.mid(1, 3)) {
            EXPECT_TRUE(exported.contains(line)) << line.toStdString();
        }
        return exported;
    };
    const QStringList first = exportedKeepingAll();
    EXPECT_TRUE(first.contains("SEQUENCE:3"));
    EXPECT_TRUE(first.contains("LAST-MODIFIED:20240101T120000Z"));
    EXPECT_FALSE(first.contains("ACTION:DISPLAY"));

    // The same file read back keeps the same lines.
    const auto reread = events(ICalendarExporter::exportCalendars({invites}, store()));
    ASSERT_EQ(reread.size(), 1u);
    const auto stored = store().eventWithIdentifier("kept-1");
    ASSERT_TRUE(stored);
    EXPECT_EQ(reread[0]->otherProperties(), stored->otherProperties());
    ASSERT_EQ(reread[0]->alarms().size(), 1u);
    EXPECT_EQ(reread[0]->alarms()[0].otherProperties(), stored->alarms()[0].otherProperties());

    // A change here: the title is new, the rest is as it came, the revision counter goes up.
    stored->setTitle("Planning, moved");
    stored->setAlarmOffsets({-900, -3600});
    StoreError error;
    ASSERT_TRUE(store().saveEvent(stored, EKSpan::ThisEvent, &error))
        << error.localizedDescription.toStdString();
    const QStringList second = exportedKeepingAll();
    EXPECT_TRUE(second.contains("SUMMARY:Planning\\, moved"));
    EXPECT_TRUE(second.contains("SEQUENCE:4"));
    EXPECT_TRUE(second.contains("LAST-MODIFIED:20260101T000000Z"));
    // The new alarm is a display alarm of this program's.
    EXPECT_EQ(second.count("ACTION:DISPLAY"), 1);
    RunLoop::setMain(nullptr);
}
