#include "EventStoreTestSupport.h"

#include "core/eventstore/EventStoreSchema.h"
#include "core/sqlite/SqliteConnection.h"
#include "testing/LogCapture.h"

namespace {

using EventStoreBasicsTest = EventStoreTest;

TEST_F(EventStoreBasicsTest, FirstRunMakesTheLocalSourceWithOneDefaultCalendar) {
    const auto sources = store().sources();
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0]->title(), QStringLiteral("Default"));
    EXPECT_EQ(sources[0]->sourceType(), EKSourceType::Local);

    const auto calendars = store().calendars();
    ASSERT_EQ(calendars.size(), 1u);
    EXPECT_EQ(calendars[0]->title(), QStringLiteral("Calendar"));
    EXPECT_EQ(calendars[0]->type(), EKCalendarType::Local);
    EXPECT_TRUE(calendars[0]->allowsContentModifications());
    EXPECT_TRUE(calendars[0]->color().has_value());
    ASSERT_TRUE(defaultCalendar());
    EXPECT_TRUE(defaultCalendar()->isEqual(*calendars[0]));
    EXPECT_EQ(calendars[0]->source()->sourceIdentifier(), sources[0]->sourceIdentifier());
    EXPECT_TRUE(calendars[0]->descriptionText().contains(QStringLiteral("account = Default;")));
    EXPECT_TRUE(calendars[0]->descriptionText().contains(
        QStringLiteral("title = Calendar; type = Local; allowsModify = YES")));

    // A second opening neither adds nor changes anything.
    const QString identifier = calendars[0]->calendarIdentifier();
    reopen();
    ASSERT_EQ(store().calendars().size(), 1u);
    EXPECT_EQ(store().calendars()[0]->calendarIdentifier(), identifier);
    EXPECT_EQ(store().sources().size(), 1u);
}

TEST_F(EventStoreBasicsTest, EventsKeepEveryFieldAcrossReopening) {
    auto event = newEvent(QStringLiteral("Dentist"), at(2024, 5, 6, 9, 30), at(2024, 5, 6, 10, 15));
    event->setLocation(QStringLiteral("Main Street 1"));
    event->setNotes(QStringLiteral("Bring the card\nand the form"));
    event->setURL(QStringLiteral("https://example.org/?a=1&b='x'"));
    event->setAlarms({EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(-86400)});
    StoreError error;
    ASSERT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    ASSERT_FALSE(event->eventIdentifier().isEmpty());
    EXPECT_EQ(event->timeZone(), QString());

    reopen();
    const auto found = store().eventWithIdentifier(event->eventIdentifier());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->title(), QStringLiteral("Dentist"));
    EXPECT_EQ(found->location(), QStringLiteral("Main Street 1"));
    EXPECT_EQ(found->notes(), QStringLiteral("Bring the card\nand the form"));
    EXPECT_EQ(found->URL(), QStringLiteral("https://example.org/?a=1&b='x'"));
    EXPECT_EQ(found->startDate(), at(2024, 5, 6, 9, 30));
    EXPECT_EQ(found->endDate(), at(2024, 5, 6, 10, 15));
    EXPECT_FALSE(found->allDay());
    EXPECT_EQ(found->timeZone(), QStringLiteral("Europe/Berlin"));
    EXPECT_EQ(found->alarms(), (std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-900),
                                                     EKAlarm::alarmWithRelativeOffset(-86400)}));
    EXPECT_FALSE(found->hasRecurrenceRules());
    EXPECT_FALSE(found->occurrenceDate().has_value());
    ASSERT_TRUE(found->calendar());
    EXPECT_TRUE(found->calendar()->isEqual(*defaultCalendar()));
    EXPECT_TRUE(found->isEqual(*event));
    EXPECT_FALSE(store().eventWithIdentifier(QStringLiteral("no such event")));
}

TEST_F(EventStoreBasicsTest, AbsentTextsStayAbsentAndEmptyOnesStayEmpty) {
    auto event = newEvent(QString(), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    event->setLocation(QStringLiteral(""));
    store().saveEvent(event, EKSpan::ThisEvent, nullptr);
    const auto found = store().eventWithIdentifier(event->eventIdentifier());
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->title().isNull());
    EXPECT_FALSE(found->location().isNull());
    EXPECT_TRUE(found->location().isEmpty());
    EXPECT_TRUE(found->notes().isNull());
}

TEST_F(EventStoreBasicsTest, QueriesHandOutFreshObjects) {
    saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    const auto first = query(at(2024, 5, 6), at(2024, 5, 7));
    const auto second = query(at(2024, 5, 6), at(2024, 5, 7));
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_NE(first[0], second[0]);
    EXPECT_NE(first[0]->calendar(), second[0]->calendar());
    EXPECT_NE(first[0]->calendar()->source(), second[0]->calendar()->source());
    EXPECT_NE(store().calendars()[0], store().calendars()[0]);
}

TEST_F(EventStoreBasicsTest, TheDatabaseCarriesTheSchemaVersionAndWriteAheadLog) {
    store();
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadOnly));
    EXPECT_EQ(connection.userVersion(), EKEventStore::schemaVersion());
    EXPECT_EQ(EKEventStore::schemaVersion(), 4);
    SqliteStatement& mode = connection.statement("PRAGMA journal_mode");
    ASSERT_TRUE(mode.step());
    EXPECT_EQ(mode.text(0), QStringLiteral("wal"));
}

TEST_F(EventStoreBasicsTest, AFolderOfTheFirstVersionOpensWithItsEvents) {
    {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadWrite));
        const std::vector<EventStoreSchema::Migration> first(EventStoreSchema::migrations().begin(),
                                                             EventStoreSchema::migrations().begin() + 1);
        ASSERT_EQ(EventStoreSchema::migrate(connection, first, nullptr), EventStoreSchema::Result::Migrated);
        ASSERT_TRUE(connection.exec(QStringLiteral(
            "INSERT INTO sources (id, identifier, title, type) VALUES (1, 'local', 'On My Computer', 0);"
            "INSERT INTO calendars (id, identifier, source_id, title, color, type) "
            "VALUES (1, 'home', 1, 'Home', '#3366cc', 0);"
            "INSERT INTO events (identifier, calendar_id, kind, title, all_day, tzid, dtstart, dtend, "
            "start_utc, end_utc, alarms, revision) VALUES ('old-1', 1, 0, 'Dentist', 0, 'Europe/Berlin', "
            "'20240506T093000', '20240506T101500', 1714980600, 1714983300, '-900', 1);")));
    }
    const auto found = store().eventWithIdentifier(QStringLiteral("old-1"));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->title(), QStringLiteral("Dentist"));
    EXPECT_EQ(found->startDate(), at(2024, 5, 6, 9, 30));
    EXPECT_EQ(found->alarms(), std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-900)});
    EXPECT_EQ(found->sequence(), 0);
    EXPECT_TRUE(found->otherProperties().isEmpty());
    EXPECT_FALSE(found->lastModifiedDate().has_value());
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadOnly));
    EXPECT_EQ(connection.userVersion(), EKEventStore::schemaVersion());
}

TEST_F(EventStoreBasicsTest, MigrationsRunInOrderOnceAndStopAtTheFirstFailure) {
    LogCapture log;
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadWrite));
    QStringList ran;
    std::vector<EventStoreSchema::Migration> steps = {
        [&](SqliteConnection& c) {
            ran.append(QStringLiteral("1"));
            return c.exec("CREATE TABLE a (x)");
        },
        [&](SqliteConnection& c) {
            ran.append(QStringLiteral("2"));
            return c.exec("INSERT INTO a VALUES (1)");
        },
    };
    EXPECT_EQ(EventStoreSchema::migrate(connection, steps, nullptr), EventStoreSchema::Result::Migrated);
    EXPECT_EQ(ran, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(connection.userVersion(), 2);
    EXPECT_EQ(EventStoreSchema::migrate(connection, steps, nullptr), EventStoreSchema::Result::UpToDate);
    EXPECT_EQ(ran.size(), 2);

    // A third version that fails leaves version 2 and its data as they were.
    steps.push_back([&](SqliteConnection& c) {
        ran.append(QStringLiteral("3"));
        if (SqliteResult inserted = c.exec(QStringLiteral("INSERT INTO a VALUES (2)")); !inserted) {
            return inserted;
        }
        return c.exec(QStringLiteral("INSERT INTO missing VALUES (1)"));
    });
    QString error;
    EXPECT_EQ(EventStoreSchema::migrate(connection, steps, &error), EventStoreSchema::Result::Failed);
    EXPECT_TRUE(error.contains(QStringLiteral("version 3")));
    EXPECT_EQ(connection.userVersion(), 2);
    SqliteStatement& rows = connection.statement("SELECT count(*) FROM a");
    ASSERT_TRUE(rows.step());
    EXPECT_EQ(rows.integer(0), 1);
}

TEST_F(EventStoreBasicsTest, ADatabaseOfANewerVersionIsReadButNeverWritten) {
    LogCapture log;
    saved(QStringLiteral("Kept"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    m_store.reset();
    {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadWrite));
        ASSERT_TRUE(connection.setUserVersion(99));
    }
    EXPECT_EQ(query(at(2024, 5, 6), at(2024, 5, 7)).size(), 1u);
    StoreError error;
    auto event = newEvent(QStringLiteral("New"), at(2024, 5, 7, 9), at(2024, 5, 7, 10));
    EXPECT_FALSE(store().saveEvent(event, EKSpan::ThisEvent, &error));
    EXPECT_TRUE(error.localizedDescription.contains(QStringLiteral("newer version")));
    EXPECT_TRUE(
        log.contains(Log::Level::Error, QStringLiteral("eventstore"), QStringLiteral("newer version")));
    SqliteConnection connection;
    ASSERT_TRUE(connection.open(databasePath(), SqliteConnection::Mode::ReadOnly));
    EXPECT_EQ(connection.userVersion(), 99);
}

TEST_F(EventStoreBasicsTest, WritesAreRefusedWithReadableErrorsAndLeaveNothingBehind) {
    StoreError error;
    auto noCalendar = newEvent(QStringLiteral("Nowhere"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    noCalendar->setCalendar(nullptr);
    EXPECT_FALSE(store().saveEvent(noCalendar, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::NoCalendar);
    EXPECT_EQ(error.localizedDescription, QStringLiteral("The event has no calendar."));
    EXPECT_TRUE(noCalendar->eventIdentifier().isEmpty());

    auto backwards = newEvent(QStringLiteral("Backwards"), at(2024, 5, 6, 10), at(2024, 5, 6, 9));
    error = {};
    EXPECT_FALSE(store().saveEvent(backwards, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::InvalidDates);
    EXPECT_FALSE(error.localizedDescription.isEmpty());

    auto unsavedCalendar = EKCalendar::calendarWithEventStore(store());
    unsavedCalendar->setTitle(QStringLiteral("Unsaved"));
    auto lost = newEvent(QStringLiteral("Lost"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    lost->setCalendar(unsavedCalendar);
    error = {};
    EXPECT_FALSE(store().saveEvent(lost, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::CalendarNotFound);
    EXPECT_EQ(error.localizedDescription, QStringLiteral("The calendar “Unsaved” is not in the store."));

    auto never = newEvent(QStringLiteral("Never"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    error = {};
    EXPECT_FALSE(store().removeEvent(never, EKSpan::ThisEvent, &error));
    EXPECT_EQ(error.code, StoreError::EventNotFound);

    EXPECT_TRUE(query(at(2024, 5, 1), at(2024, 6, 1)).empty());
}

TEST_F(EventStoreBasicsTest, ARemovedEventIsGone) {
    auto event = saved(QStringLiteral("Gone"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    StoreError error;
    ASSERT_TRUE(store().removeEvent(event, EKSpan::FutureEvents, &error));
    EXPECT_FALSE(store().eventWithIdentifier(event->eventIdentifier()));
    EXPECT_TRUE(query(at(2024, 5, 6), at(2024, 5, 7)).empty());
}

TEST_F(EventStoreBasicsTest, SavingAnEventAgainChangesItInPlace) {
    auto event = saved(QStringLiteral("Draft"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    const QString identifier = event->eventIdentifier();
    event->setTitle(QStringLiteral("Final"));
    event->setStartDate(at(2024, 5, 8, 14));
    event->setEndDate(at(2024, 5, 8, 15));
    ASSERT_TRUE(store().saveEvent(event, EKSpan::FutureEvents, nullptr));
    EXPECT_EQ(event->eventIdentifier(), identifier);
    EXPECT_EQ(describe(query(at(2024, 5, 1), at(2024, 6, 1))),
              (QStringList{QStringLiteral("Final 2024-05-08 14:00 – 2024-05-08 15:00")}));
}

TEST_F(EventStoreBasicsTest, CalendarsAreSavedRenamedAndRemovedWithTheirEvents) {
    auto work = EKCalendar::calendarWithEventStore(store());
    work->setTitle(QStringLiteral("Work"));
    work->setColor(Color(1.0, 0.5, 0.0));
    StoreError error;
    ASSERT_TRUE(store().saveCalendar(work, true, &error)) << error.localizedDescription.toStdString();
    ASSERT_EQ(store().calendars().size(), 2u);
    EXPECT_EQ(store().calendars()[1]->title(), QStringLiteral("Work"));
    EXPECT_EQ(store().calendars()[1]->color(), Color(1.0, 0.5, 0.0));
    EXPECT_EQ(store().calendars()[1]->source()->title(), QStringLiteral("Default"));
    EXPECT_TRUE(store().calendars()[1]->descriptionText().contains(QStringLiteral("color = #FF8000")));

    work->setTitle(QStringLiteral("Office"));
    work->setColor(std::nullopt);
    ASSERT_TRUE(store().saveCalendar(work, true, &error));
    EXPECT_EQ(store().calendars()[1]->title(), QStringLiteral("Office"));
    EXPECT_FALSE(store().calendars()[1]->color().has_value());
    EXPECT_EQ(store().calendars().size(), 2u);

    auto meeting =
        newEvent(QStringLiteral("Meeting"), at(2024, 5, 6, 9), at(2024, 5, 6, 10), rule("FREQ=DAILY"));
    meeting->setCalendar(work);
    ASSERT_TRUE(store().saveEvent(meeting, EKSpan::ThisEvent, &error));
    saved(QStringLiteral("Private"), at(2024, 5, 6, 12), at(2024, 5, 6, 13));
    EXPECT_EQ(query(at(2024, 5, 6), at(2024, 5, 8)).size(), 3u);

    ASSERT_TRUE(store().removeCalendar(work, true, &error));
    EXPECT_EQ(store().calendars().size(), 1u);
    EXPECT_EQ(describe(query(at(2024, 5, 6), at(2024, 5, 8))),
              (QStringList{QStringLiteral("Private 2024-05-06 12:00 – 2024-05-06 13:00")}));
    EXPECT_FALSE(store().eventWithIdentifier(meeting->eventIdentifier()));
    error = {};
    EXPECT_FALSE(store().removeCalendar(work, true, &error));
    EXPECT_EQ(error.code, StoreError::CalendarNotFound);
}

TEST_F(EventStoreBasicsTest, RemovingTheDefaultCalendarMakesAnotherWritableOneTheDefault) {
    auto first = defaultCalendar();
    auto second = EKCalendar::calendarWithEventStore(store());
    second->setTitle(QStringLiteral("Second"));
    ASSERT_TRUE(store().saveCalendar(second, true, nullptr));
    EXPECT_TRUE(defaultCalendar()->isEqual(*first));

    ASSERT_TRUE(store().removeCalendar(first, true, nullptr));
    ASSERT_TRUE(defaultCalendar());
    EXPECT_TRUE(defaultCalendar()->isEqual(*second));

    ASSERT_TRUE(store().removeCalendar(second, true, nullptr));
    EXPECT_FALSE(defaultCalendar());
    EXPECT_TRUE(store().calendars().empty());

    // The next calendar made becomes the default again, and a reopened store makes no new one.
    auto third = EKCalendar::calendarWithEventStore(store());
    third->setTitle(QStringLiteral("Third"));
    ASSERT_TRUE(store().saveCalendar(third, true, nullptr));
    reopen();
    ASSERT_EQ(store().calendars().size(), 1u);
    EXPECT_TRUE(defaultCalendar()->isEqual(*third));
}

TEST_F(EventStoreBasicsTest, EmptyCalendarListsFindNothing) {
    saved(QStringLiteral("A"), at(2024, 5, 6, 9), at(2024, 5, 6, 10));
    EXPECT_TRUE(store()
                    .eventsMatchingPredicate(store().predicateForEvents(at(2024, 5, 6), at(2024, 5, 7), {}))
                    .empty());
    auto other = EKCalendar::calendarWithEventStore(store());
    other->setTitle(QStringLiteral("Other"));
    ASSERT_TRUE(store().saveCalendar(other, true, nullptr));
    EXPECT_TRUE(
        store()
            .eventsMatchingPredicate(store().predicateForEvents(at(2024, 5, 6), at(2024, 5, 7), {other}))
            .empty());
    EXPECT_EQ(store()
                  .eventsMatchingPredicate(
                      store().predicateForEvents(at(2024, 5, 6), at(2024, 5, 7), {defaultCalendar()}))
                  .size(),
              1u);
}

} // namespace
