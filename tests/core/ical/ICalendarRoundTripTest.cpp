#include "ICalendarGenerator.h"
#include "ICalendarTestSupport.h"

#include "testing/LogCapture.h"

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
