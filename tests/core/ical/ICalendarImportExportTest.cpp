#include "ICalendarTestSupport.h"

#include "core/eventstore/EKRecurrenceRule.h"
#include "core/eventstore/ICalendarExporter.h"
#include "core/eventstore/ICalendarImporter.h"

#include <QFile>

#include <algorithm>

namespace {

QStringList teamCalendar(const QString& standUpTitle) {
    return {
        "BEGIN:VEVENT",
        "UID:standup",
        "DTSTART;TZID=Europe/Berlin:20240101T090000",
        "DTEND;TZID=Europe/Berlin:20240101T091500",
        "RRULE:FREQ=DAILY;COUNT=5",
        "EXDATE;TZID=Europe/Berlin:20240105T090000",
        "SUMMARY:" + standUpTitle,
        "BEGIN:VALARM",
        "ACTION:DISPLAY",
        "DESCRIPTION:x",
        "TRIGGER:-PT5M",
        "END:VALARM",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:standup",
        "RECURRENCE-ID;TZID=Europe/Berlin:20240102T090000",
        "DTSTART;TZID=Europe/Berlin:20240102T140000",
        "DTEND;TZID=Europe/Berlin:20240102T141500",
        "SUMMARY:Stand-up (afternoon)",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:standup",
        "RECURRENCE-ID;TZID=Europe/Berlin:20240103T090000",
        "DTSTART;TZID=Europe/Berlin:20240103T090000",
        "STATUS:CANCELLED",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:review",
        "DTSTART:20240104T150000Z",
        "DURATION:PT1H",
        "SUMMARY:Review",
        "LOCATION:Room 1",
        "URL:https://example.org/review",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:offsite",
        "DTSTART;VALUE=DATE:20240104",
        "DTEND;VALUE=DATE:20240106",
        "SUMMARY:Offsite",
        "DESCRIPTION:Bring\\, boots",
        "END:VEVENT",
    };
}

QStringList describeAll(const std::vector<std::shared_ptr<EKEvent>>& events) {
    QStringList described;
    for (const auto& event : events) {
        described.append(describeEvent(*event));
    }
    described.sort();
    return described;
}

} // namespace

class ICalendarImportExportTest : public ICalendarTest {
protected:
    std::shared_ptr<EKCalendar> newCalendar(EKEventStore& inStore, const QString& title) {
        auto created = EKCalendar::calendarWithEventStore(inStore);
        created->setTitle(title);
        StoreError error;
        EXPECT_TRUE(inStore.saveCalendar(created, true, &error)) << error.localizedDescription.toStdString();
        return created;
    }

    QString write(const QString& name, const QByteArray& text) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path(name);
    }

    // The number imported, or -1 with *error set.
    static int count(const ICalendarImportResult& result, QString* error) {
        if (result.error) {
            *error = *result.error;
            return -1;
        }
        return result.imported;
    }

    std::vector<std::shared_ptr<EKEvent>> occurrences(const std::shared_ptr<EKCalendar>& ofCalendar,
                                                      Date from, Date to) {
        auto found = store().eventsMatchingPredicate(store().predicateForEvents(from, to, {ofCalendar}));
        std::sort(found.begin(), found.end(),
                  [](const auto& a, const auto& b) { return a->startDate() < b->startDate(); });
        return found;
    }
};

TEST_F(ICalendarImportExportTest, ImportsIntoACalendarAndReplacesOnReimport) {
    const auto team = newCalendar(store(), "Team");
    ICalendarImporter importer;
    QString error;
    EXPECT_EQ(
        count(importer.import(write("team.ics", calendar(teamCalendar("Stand-up"))), team, store()), &error),
        3)
        << error.toStdString();

    const auto records = store().eventRecords(team);
    ASSERT_EQ(records.size(), 4u);
    for (const auto& record : records) {
        EXPECT_TRUE(record->calendar()->isEqual(*team));
    }

    // The week as the store expands it: the moved occurrence at its new time, the cancelled and
    // the excluded ones gone.
    QStringList week;
    for (const auto& event : occurrences(team, local(2024, 1, 1), local(2024, 1, 8))) {
        week.append(QStringLiteral("%1 %2")
                        .arg(event->title())
                        .arg(event->startDate().timeIntervalSince1970(), 0, 'f', 0));
    }
    auto at = [this](int day, int hour, int minute = 0) {
        return QString::number(local(u"Europe/Berlin", 2024, 1, day, hour, minute).timeIntervalSince1970(),
                               'f', 0);
    };
    EXPECT_EQ(week, (QStringList{"Stand-up " + at(1, 9), "Stand-up (afternoon) " + at(2, 14),
                                 "Offsite " + at(4, 0), "Stand-up " + at(4, 9), "Review " + at(4, 16)}));

    // The same UIDs again: replaced, not added.
    EXPECT_EQ(
        count(importer.import(write("team2.ics", calendar(teamCalendar("Daily"))), team, store()), &error),
        3);
    const auto again = store().eventRecords(team);
    ASSERT_EQ(again.size(), 4u);
    const auto series = store().eventWithIdentifier("standup");
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->title(), "Daily");
}

// A UID is unique within a calendar, as on a server: the same file in two calendars keeps its UIDs
// in both, and importing it again replaces each calendar's own events.
TEST_F(ICalendarImportExportTest, TheSameUidsLiveInTwoCalendarsAndReimportReplacesEachOnesOwn) {
    const auto team = newCalendar(store(), "Team");
    const auto other = newCalendar(store(), "Other");
    ICalendarImporter importer;
    QString error;
    ASSERT_EQ(
        count(importer.import(write("a.ics", calendar(teamCalendar("Stand-up"))), team, store()), &error), 3);
    ASSERT_EQ(count(importer.import(write("b.ics", calendar(teamCalendar("Copy"))), other, store()), &error),
              3);
    ASSERT_EQ(count(importer.import(write("c.ics", calendar(teamCalendar("Daily"))), other, store()), &error),
              3);

    const auto teamRecords = store().eventRecords(team);
    const auto otherRecords = store().eventRecords(other);
    ASSERT_EQ(teamRecords.size(), 4u);
    ASSERT_EQ(otherRecords.size(), 4u);
    const auto uidOf = [](const auto& records, const QString& uid) {
        return std::find_if(records.begin(), records.end(), [&](const auto& record) {
            return record->calendarItemExternalIdentifier() == uid && !record->occurrenceDate();
        });
    };
    const auto teamSeries = uidOf(teamRecords, "standup");
    const auto otherSeries = uidOf(otherRecords, "standup");
    ASSERT_NE(teamSeries, teamRecords.end());
    ASSERT_NE(otherSeries, otherRecords.end());
    EXPECT_NE((*teamSeries)->eventIdentifier(), (*otherSeries)->eventIdentifier());
    EXPECT_EQ((*teamSeries)->title(), "Stand-up");
    EXPECT_EQ((*otherSeries)->title(), "Daily");
    EXPECT_TRUE(ICalendarExporter::exportCalendars({other}, store()).contains("\r\nUID:standup\r\n"));
}

TEST_F(ICalendarImportExportTest, BadFilesWriteNothing) {
    const auto team = newCalendar(store(), "Team");
    ICalendarImporter importer;
    QString error;
    ASSERT_EQ(
        count(importer.import(write("team.ics", calendar(teamCalendar("Stand-up"))), team, store()), &error),
        3);
    const QStringList before = describeAll(store().eventRecords(team));

    // The first events are fine, the last one is not: when whole files are refused, none of them is
    // written.
    importer.setStrictness(ICalendarReader::Strictness::RefuseFile);
    QStringList broken = teamCalendar("Changed");
    broken += QStringList{"BEGIN:VEVENT", "UID:new", "DTSTART:20240105T100000Z", "DTEND:20240105T090000Z",
                          "END:VEVENT"};
    EXPECT_EQ(count(importer.import(write("broken.ics", calendar(broken)), team, store()), &error), -1);
    EXPECT_EQ(error, QStringLiteral("broken.ics:%1: DTEND is before DTSTART").arg(3 + broken.size() - 1));
    EXPECT_EQ(describeAll(store().eventRecords(team)), before);
    EXPECT_EQ(store().eventWithIdentifier("new"), nullptr);

    EXPECT_EQ(count(importer.import(path("absent.ics"), team, store()), &error), -1);
    EXPECT_EQ(error, "absent.ics: cannot open the file: No such file or directory");
}

TEST_F(ICalendarImportExportTest, RefusesReadOnlyCalendars) {
    ICalendarImporter importer;
    QString error;
    for (const EKCalendarType type : {EKCalendarType::Subscription, EKCalendarType::Birthday}) {
        const auto readOnly = std::make_shared<EKCalendar>("read-only", type, store().localSource());
        readOnly->setTitle("Holidays");
        EXPECT_EQ(
            count(importer.importText(calendar(teamCalendar("x")), "team.ics", readOnly, store()), &error),
            -1);
        EXPECT_EQ(error, "the calendar \"Holidays\" is read-only");
    }
    EXPECT_EQ(store().eventWithIdentifier("standup"), nullptr);
    EXPECT_EQ(count(importer.importText(calendar(teamCalendar("x")), "team.ics", nullptr, store()), &error),
              -1);
    EXPECT_EQ(error, "no calendar to import into");
}

TEST_F(ICalendarImportExportTest, ExportThenImportGivesTheSameEvents) {
    const auto team = newCalendar(store(), "Team");
    const auto home = newCalendar(store(), "Home");
    ICalendarImporter importer;
    QString error;
    ASSERT_EQ(
        count(importer.importText(calendar(teamCalendar("Stand-up")), "team.ics", team, store()), &error), 3);
    auto birthday = EKEvent::eventWithEventStore(store());
    birthday->setTitle("Ada");
    birthday->setAllDay(true);
    birthday->setStartDate(local(1990, 12, 10));
    birthday->setEndDate(local(1990, 12, 11));
    birthday->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Yearly, 1, std::nullopt));
    birthday->setCalendar(home);
    StoreError storeError;
    ASSERT_TRUE(store().saveEvent(birthday, EKSpan::ThisEvent, &storeError))
        << storeError.localizedDescription.toStdString();

    const QString file = path("export.ics");
    ASSERT_TRUE(ICalendarExporter::exportToFile(file, {team, home}, store(), &error)) << error.toStdString();

    QTemporaryDir otherDirectory;
    EKEventStore other(otherDirectory.filePath("events.sqlite"));
    const auto imported = newCalendar(other, "Imported");
    EXPECT_EQ(count(importer.import(file, imported, other), &error), 4) << error.toStdString();

    auto exported = store().eventRecords(team);
    const auto homeRecords = store().eventRecords(home);
    exported.insert(exported.end(), homeRecords.begin(), homeRecords.end());
    EXPECT_EQ(describeAll(other.eventRecords(imported)), describeAll(exported));
    EXPECT_EQ(exported.size(), 5u);
}

TEST_F(ICalendarImportExportTest, ExportErrorsAndProgress) {
    const auto team = newCalendar(store(), "Team");
    QString error;
    EXPECT_FALSE(ICalendarExporter::exportToFile(path("missing-folder/export.ics"), {team}, store(), &error));
    EXPECT_TRUE(error.startsWith(path("missing-folder/export.ics") + ": cannot write the file"))
        << error.toStdString();

    // An empty calendar exports as an empty VCALENDAR that imports as nothing.
    const QByteArray empty = ICalendarExporter::exportCalendars({team}, store());
    EXPECT_EQ(empty.count("BEGIN:VEVENT"), 0);
    ICalendarImporter importer;
    std::vector<std::pair<int, int>> steps;
    importer.setOnProgress([&](int done, int total) { steps.emplace_back(done, total); });
    EXPECT_EQ(count(importer.importText(empty, "empty.ics", team, store()), &error), 0);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 1}}));

    steps.clear();
    EXPECT_EQ(
        count(importer.importText(calendar(teamCalendar("Stand-up")), "team.ics", team, store()), &error), 3);
    EXPECT_EQ(steps, (std::vector<std::pair<int, int>>{{1, 6}, {2, 6}, {3, 6}, {4, 6}, {5, 6}, {6, 6}}));
}
