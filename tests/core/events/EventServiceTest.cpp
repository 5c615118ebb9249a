#include "EventsTestSupport.h"
#include "core/bus/UserIsIdleEvent.h"
#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "core/events/EventModel.h"
#include "core/events/EventStoreChangeThrottler.h"
#include "core/events/LogAlertPresenter.h"
#include "core/events/NetworkActivityIndicator.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKEvent.h"
#include "core/settings/AppSettings.h"
#include "core/sqlite/SqliteConnection.h"
#include "testing/LogCapture.h"

#include <thread>

namespace {

using EventServiceTest = EventsTest;

std::shared_ptr<EKEvent> repeatingDaily(EKEventStore& store, const QString& title, Date start, Date end,
                                        bool allDay, int count, std::shared_ptr<EKCalendar> calendar) {
    std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(store);
    event->setTitle(title);
    event->setAllDay(allDay);
    event->setStartDate(start);
    event->setEndDate(end);
    event->setCalendar(std::move(calendar));
    event->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 1,
                                              EKRecurrenceEnd::recurrenceEndWithOccurrenceCount(count)));
    StoreError error;
    EXPECT_TRUE(store.saveEvent(event, EKSpan::ThisEvent, &error))
        << error.localizedDescription.toStdString();
    return event;
}

} // namespace

TEST_F(EventServiceTest, SharedInstanceIsTheInstalledOne) {
    EXPECT_EQ(&EventService::sharedInstance(), m_service.get());
    EXPECT_EQ(&service().appSettings(), &AppSettings::instance());
    EXPECT_FALSE(service().throttler().idle());
}

TEST_F(EventServiceTest, NewEventStartsAtNoonForAnHourInTheDefaultCalendarWithTheDefaultAlarms) {
    AppSettings::instance().storeDefaultAlarmSeconds(-900, 1);
    AppSettings::instance().storeDefaultAlarmSeconds(-300, 2);
    const std::shared_ptr<EKEvent> event = service().newEventForDay(Day(2024, 3, 14));
    EXPECT_EQ(event->startDate(), local(2024, 3, 14, 12, 0));
    EXPECT_EQ(event->endDate(), local(2024, 3, 14, 13, 0));
    ASSERT_TRUE(event->calendar());
    EXPECT_TRUE(event->calendar()->isEqual(*defaultCalendar()));
    EXPECT_EQ(event->alarms(), (std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-900),
                                                     EKAlarm::alarmWithRelativeOffset(-300)}));
    EXPECT_TRUE(event->eventIdentifier().isEmpty());
}

TEST_F(EventServiceTest, NewEventsStartAtNoonOnTheWallClockAlsoWhenTheClocksChange) {
    // Berlin's clocks go forward on 31 March 2024 and back on 27 October 2024.
    for (const Day& day : {Day(2024, 3, 31), Day(2024, 10, 27)}) {
        SCOPED_TRACE(day.description().toStdString());
        const Date noon = local(day.yearNumber(), day.monthNumber(), day.dayNumber(), 12, 0);
        const std::shared_ptr<EKEvent> event = service().newEventForDay(day);
        EXPECT_EQ(event->startDate(), noon);
        EXPECT_EQ(event->endDate(), noon.addingTimeInterval(3600.0));
        EXPECT_EQ(EventModel(day).date(), noon);
    }
}

TEST_F(EventServiceTest, NewEventGoesToTheStoredDefaultCalendar) {
    const auto work = addCalendar("Work");
    AppSettings::instance().storeDefaultCalendar(*work);
    const std::shared_ptr<EKEvent> event = service().newEventForDay(Day(2024, 3, 14));
    EXPECT_TRUE(event->calendar()->isEqual(*work));
    EXPECT_TRUE(event->alarms().empty());
}

TEST_F(EventServiceTest, CopyKeepsTheTimeOfDayAndDurationOnTheTargetDate) {
    const auto meeting =
        addEvent("Meeting", local(2024, 3, 11, 9, 30), local(2024, 3, 11, 11, 0), false, nullptr, "Room 1");
    meeting->setAlarms({EKAlarm::alarmWithRelativeOffset(-600)});
    meeting->setNotes("not copied");
    const std::shared_ptr<EKEvent> copy = service().copyEvent(*meeting, local(2024, 3, 20, 18, 45));
    EXPECT_EQ(copy->startDate(), local(2024, 3, 20, 9, 30));
    EXPECT_EQ(copy->endDate(), local(2024, 3, 20, 11, 0));
    EXPECT_EQ(copy->title(), "Meeting");
    EXPECT_EQ(copy->location(), "Room 1");
    EXPECT_EQ(copy->alarms(), meeting->alarms());
    EXPECT_TRUE(copy->notes().isEmpty());
    EXPECT_FALSE(copy->eventIdentifier().isEmpty());
    EXPECT_NE(copy->eventIdentifier(), meeting->eventIdentifier());
    EXPECT_EQ(m_bus->userChangedCount, 1);
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 20)).array()), "Meeting");
}

TEST_F(EventServiceTest, CopyOfAnAllDayEventStaysAllDayWithTheSameDuration) {
    const auto trip = addEvent("Trip", local(2024, 3, 11), local(2024, 3, 13), true);
    const std::shared_ptr<EKEvent> copy = service().copyEvent(*trip, local(2024, 4, 2, 15, 0));
    EXPECT_TRUE(copy->allDay());
    EXPECT_EQ(copy->startDate(), local(2024, 4, 2));
    EXPECT_EQ(copy->endDate(), local(2024, 4, 4));
}

TEST_F(EventServiceTest, CopyIntoAReadOnlyCalendarFailsButIsReturned) {
    auto event = std::make_shared<EKEvent>();
    event->setTitle("Holiday");
    event->setStartDate(local(2024, 3, 11));
    event->setEndDate(local(2024, 3, 12));
    event->setCalendar(std::make_shared<EKCalendar>("nowhere", EKCalendarType::Subscription, nullptr));
    const std::shared_ptr<EKEvent> copy = service().copyEvent(*event, local(2024, 3, 20));
    EXPECT_TRUE(copy->eventIdentifier().isEmpty());
    EXPECT_EQ(m_bus->userChangedCount, 1);
    ASSERT_EQ(m_alerts->alerts.size(), 1U);
    EXPECT_TRUE(m_alerts->alerts[0].startsWith("Error saving event | "));
}

TEST_F(EventServiceTest, RedatingAnAllDayEventAsTimedGivesOneHourAtTheDate) {
    auto event = std::make_shared<EKEvent>();
    event->setAllDay(true);
    event->setStartDate(local(2024, 3, 11));
    event->setEndDate(local(2024, 3, 13));
    service().applyDate(local(2024, 3, 15, 14, 20), *event, false);
    EXPECT_FALSE(event->allDay());
    EXPECT_EQ(event->startDate(), local(2024, 3, 15, 14, 20));
    EXPECT_EQ(event->endDate(), local(2024, 3, 15, 15, 20));
}

TEST_F(EventServiceTest, RedatingAsAllDayStartsAtTheBeginningOfTheDayAndKeepsTheDuration) {
    auto event = std::make_shared<EKEvent>();
    event->setStartDate(local(2024, 3, 11, 9, 0));
    event->setEndDate(local(2024, 3, 11, 11, 0));
    service().applyDate(local(2024, 3, 15, 14, 20), *event, true);
    EXPECT_TRUE(event->allDay());
    EXPECT_EQ(event->startDate(), local(2024, 3, 15));
    EXPECT_EQ(event->endDate(), local(2024, 3, 15, 2, 0));

    auto timed = std::make_shared<EKEvent>();
    timed->setStartDate(local(2024, 3, 11, 9, 0));
    timed->setEndDate(local(2024, 3, 11, 9, 45));
    service().applyDate(local(2024, 3, 12, 16, 0), *timed, false);
    EXPECT_EQ(timed->startDate(), local(2024, 3, 12, 16, 0));
    EXPECT_EQ(timed->endDate(), local(2024, 3, 12, 16, 45));
}

TEST_F(EventServiceTest, AllDayEventsMovedOrCopiedAcrossAClockChangeKeepTheirNumberOfDays) {
    // Berlin's clocks go forward on 31 March 2024 (a 23-hour day) and back on 27 October (25 hours).
    const auto daysStored = [this](const std::shared_ptr<EKEvent>& event) {
        const std::shared_ptr<EKEvent> stored = store().eventWithIdentifier(event->eventIdentifier());
        return stored ? DateUtilities::day(stored->startDate()).description() + " " +
                            QString::number(DateUtilities::daysTo(stored->startDate(), stored->endDate()))
                      : QStringLiteral("missing");
    };
    const auto oneDay = addEvent("One day", local(2024, 3, 30), local(2024, 3, 31), true);
    service().applyDate(local(2024, 3, 31), *oneDay, true);
    EXPECT_EQ(oneDay->endDate(), local(2024, 4, 1));
    ASSERT_TRUE(service().saveEvent(oneDay, EKSpan::ThisEvent));
    EXPECT_EQ(daysStored(oneDay), "2024-03-31 1");

    const auto twoDays = addEvent("Two days", local(2024, 3, 28), local(2024, 3, 30), true);
    service().applyDate(local(2024, 3, 30), *twoDays, true);
    EXPECT_EQ(twoDays->endDate(), local(2024, 4, 1));
    ASSERT_TRUE(service().saveEvent(twoDays, EKSpan::ThisEvent));
    EXPECT_EQ(daysStored(twoDays), "2024-03-30 2");

    const auto autumn = addEvent("Autumn", local(2024, 10, 27), local(2024, 10, 28), true);
    service().applyDate(local(2024, 10, 26), *autumn, true);
    EXPECT_EQ(autumn->endDate(), local(2024, 10, 27));
    ASSERT_TRUE(service().saveEvent(autumn, EKSpan::ThisEvent));
    EXPECT_EQ(daysStored(autumn), "2024-10-26 1");

    const auto march = addEvent("March", local(2024, 3, 12), local(2024, 3, 13), true);
    const auto marchTwo = addEvent("March two", local(2024, 3, 14), local(2024, 3, 16), true);
    EXPECT_EQ(daysStored(service().copyEvent(*march, local(2024, 3, 31, 15, 0))), "2024-03-31 1");
    EXPECT_EQ(daysStored(service().copyEvent(*marchTwo, local(2024, 3, 30))), "2024-03-30 2");
    EXPECT_EQ(daysStored(service().copyEvent(*oneDay, local(2024, 10, 27))), "2024-10-27 1");
    EXPECT_EQ(daysStored(service().copyEvent(*autumn, local(2024, 3, 30))), "2024-03-30 1");
    // Timed events keep their length in hours.
    const auto night = addEvent("Night", local(2024, 3, 30, 22, 0), local(2024, 3, 31, 6, 0));
    const std::shared_ptr<EKEvent> copied = service().copyEvent(*night, local(2024, 10, 26));
    EXPECT_EQ(copied->endDate().timeIntervalSinceDate(copied->startDate()), 7 * 3600.0);
}

TEST_F(EventServiceTest, DayFetchKeepsOnlyEventsOfThatDaySortedByStart) {
    addEvent("Late", local(2024, 3, 11, 23, 45), local(2024, 3, 12, 0, 15));
    addEvent("Night", local(2024, 3, 11, 23, 0), local(2024, 3, 12, 1, 0));
    addEvent("Lunch", local(2024, 3, 12, 12, 0), local(2024, 3, 12, 13, 0));
    addEvent("Breakfast", local(2024, 3, 12, 8, 0), local(2024, 3, 12, 8, 30));
    addEvent("Wednesday", local(2024, 3, 13, 8, 0), local(2024, 3, 13, 9, 0));
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 11)).array()), "Night Late");
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 12)).array()),
              "Night Breakfast Lunch");
}

TEST_F(EventServiceTest, PeriodFetchesFilterByOverlapWhileTheUnfilteredOneDoesNot) {
    addEvent("Short", local(2024, 3, 10, 23, 30), local(2024, 3, 11, 0, 30));
    addEvent("Monday", local(2024, 3, 11, 9, 0), local(2024, 3, 11, 10, 0));
    addEvent("Sunday", local(2024, 3, 17, 20, 0), local(2024, 3, 17, 21, 0));
    addEvent("Next week", local(2024, 3, 18, 9, 0), local(2024, 3, 18, 10, 0));
    const Week week(local(2024, 3, 11));
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireWeek(week).array()), "Monday Sunday");
    EXPECT_EQ(titlesOf(service().findEventsInWeek(week).array()), "Monday Sunday");
    EXPECT_EQ(
        titlesOf(service()
                     .synchronousFindAllEventsFromDateTime(local(2024, 3, 11), local(2024, 3, 17, 23, 59, 59))
                     .array()),
        "Short Monday Sunday");
}

TEST_F(EventServiceTest, FetchesSkipHiddenCalendars) {
    const auto work = addCalendar("Work");
    addEvent("Private", local(2024, 3, 11, 9, 0), local(2024, 3, 11, 10, 0));
    addEvent("Office", local(2024, 3, 11, 11, 0), local(2024, 3, 11, 12, 0), false, work);
    AppSettings::instance().storeHiddenCalendars({work});
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 11)).array()), "Private");
    AppSettings::instance().storeHiddenCalendars({});
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 11)).array()),
              "Private Office");
}

TEST_F(EventServiceTest, EventByIdentifier) {
    const auto saved = addEvent("Saved", local(2024, 3, 11, 9, 0), local(2024, 3, 11, 10, 0));
    const std::shared_ptr<EKEvent> found = service().eventByIdentifier(saved->eventIdentifier());
    ASSERT_TRUE(found);
    EXPECT_EQ(found->title(), "Saved");
    EXPECT_EQ(service().eventByIdentifier("no such event"), nullptr);
    EXPECT_EQ(service().eventByIdentifier(""), nullptr);
}

TEST_F(EventServiceTest, SaveAndDeleteAnnounceTheUsersChange) {
    const std::shared_ptr<EKEvent> event = service().newEventForDay(Day(2024, 3, 14));
    event->setTitle("Dentist");
    EXPECT_TRUE(service().saveEvent(event, EKSpan::ThisEvent));
    EXPECT_EQ(m_bus->userChangedCount, 1);
    EXPECT_EQ(titlesOf(service().synchronousFindEventsForEntireDay(Day(2024, 3, 14)).array()), "Dentist");
    EXPECT_TRUE(service().deleteEvent(event, EKSpan::ThisEvent));
    EXPECT_EQ(m_bus->userChangedCount, 2);
    EXPECT_EQ(service().synchronousFindEventsForEntireDay(Day(2024, 3, 14)).size(), 0);
    EXPECT_TRUE(m_alerts->alerts.empty());
}

TEST_F(EventServiceTest, OwnSaveIsNotAnnouncedAsAForeignChange) {
    m_loop->advance(10.0);
    const std::shared_ptr<EKEvent> event = service().newEventForDay(Day(2024, 3, 14));
    ASSERT_TRUE(service().saveEvent(event, EKSpan::ThisEvent));
    m_loop->runUntilIdle();
    EXPECT_FALSE(service().throttler().eventStoreChanged());
    m_loop->advance(0.5);
    ApplicationEventDispatcher::sharedInstance().dispatch<UserIsIdleEvent>();
    m_loop->advance(1.0);
    EXPECT_EQ(m_bus->storeChangedCount, 0);
}

TEST_F(EventServiceTest, FailedSaveShowsTheStoresMessageLogsAndStillAnnouncesTheChange) {
    LogCapture log;
    auto event = EKEvent::eventWithEventStore(store());
    event->setTitle("Nowhere");
    event->setStartDate(local(2024, 3, 14, 9, 0));
    event->setEndDate(local(2024, 3, 14, 10, 0));
    event->setCalendar(std::make_shared<EKCalendar>("gone", EKCalendarType::Local, nullptr));
    EXPECT_FALSE(service().saveEvent(event, EKSpan::ThisEvent));
    EXPECT_EQ(m_bus->userChangedCount, 1);
    ASSERT_EQ(m_alerts->alerts.size(), 1U);
    EXPECT_TRUE(m_alerts->alerts[0].startsWith("Error saving event | "));
    EXPECT_TRUE(m_alerts->alerts[0].endsWith(" | OK"));
    EXPECT_FALSE(m_alerts->alerts[0].contains("|  |")) << "the store's message is shown";

    const QStringList lines = log.lines();
    const int calendarCount = static_cast<int>(store().calendars().size());
    ASSERT_EQ(lines.size(), 3 + calendarCount) << lines.join("\n").toStdString();
    EXPECT_TRUE(lines[0].startsWith("[error] eventservice: Error = "));
    EXPECT_TRUE(lines[1].startsWith("[error] eventservice: event = "));
    EXPECT_EQ(lines[2], QString("[error] eventservice: calendars.count = %1").arg(calendarCount));
    for (int index = 0; index < calendarCount; ++index) {
        EXPECT_TRUE(lines[3 + index].startsWith("[error] eventservice: calendar = "));
    }
}

TEST_F(EventServiceTest, FailedDeleteShowsItsTitleWithoutTheSaveLog) {
    LogCapture log;
    auto unsaved = EKEvent::eventWithEventStore(store());
    unsaved->setCalendar(defaultCalendar());
    EXPECT_FALSE(service().deleteEvent(unsaved, EKSpan::ThisEvent));
    EXPECT_EQ(m_bus->userChangedCount, 1);
    ASSERT_EQ(m_alerts->alerts.size(), 1U);
    EXPECT_TRUE(m_alerts->alerts[0].startsWith("Error deleting event | "));
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(EventServiceTest, CalendarWritesAndTheirFailures) {
    const std::shared_ptr<EKCalendar> calendar = service().newCalendarForSource(store().localSource());
    calendar->setTitle("Garden");
    EXPECT_TRUE(service().saveCalendar(calendar));
    EXPECT_TRUE(service().findCalendarByIdentifier(calendar->calendarIdentifier()));
    EXPECT_TRUE(service().deleteCalendar(calendar));
    EXPECT_FALSE(service().findCalendarByIdentifier(calendar->calendarIdentifier()));
    EXPECT_TRUE(m_alerts->alerts.empty());
    EXPECT_FALSE(service().deleteCalendar(calendar));
    ASSERT_EQ(m_alerts->alerts.size(), 1U);
    EXPECT_TRUE(m_alerts->alerts[0].startsWith("Error deleting calendar | "));
    EXPECT_EQ(m_bus->userChangedCount, 0);
}

// A second store on the same file sees either the whole calendar or none of it: its events go
// with it in the same write, and a write refused halfway leaves both in place.
TEST_F(EventServiceTest, DeletingACalendarTakesItsEventsInOneWrite) {
    const auto garden = addCalendar("Garden");
    addEvent("Digging", local(2024, 3, 13, 9, 0), local(2024, 3, 13, 10, 0), false, garden);
    repeatingDaily(store(), "Watering", local(2024, 3, 11, 7, 0), local(2024, 3, 11, 7, 30), false, 5,
                   garden);
    addEvent("Dentist", local(2024, 3, 13, 11, 0), local(2024, 3, 13, 12, 0));
    EKEventStore other(store().databasePath());
    const auto titlesInOtherStore = [&other] {
        return titlesOf(other.eventsMatchingPredicate(
            other.predicateForEvents(local(2024, 3, 11), local(2024, 3, 16), other.calendars())));
    };
    ASSERT_EQ(other.calendars().size(), 2U);

    {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(store().databasePath(), SqliteConnection::Mode::ReadWrite));
        ASSERT_TRUE(connection.exec("CREATE TRIGGER refuse BEFORE DELETE ON calendars "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    EXPECT_FALSE(service().deleteCalendar(garden));
    EXPECT_EQ(other.calendars().size(), 2U);
    const std::string before = titlesInOtherStore();
    EXPECT_NE(before.find("Digging"), std::string::npos);
    EXPECT_NE(before.find("Watering"), std::string::npos);

    {
        SqliteConnection connection;
        ASSERT_TRUE(connection.open(store().databasePath(), SqliteConnection::Mode::ReadWrite));
        ASSERT_TRUE(connection.exec("DROP TRIGGER refuse"));
    }
    EXPECT_TRUE(service().deleteCalendar(garden));
    ASSERT_EQ(other.calendars().size(), 1U);
    EXPECT_TRUE(other.calendars()[0]->isEqual(*defaultCalendar()));
    EXPECT_EQ(titlesInOtherStore(), "Dentist");
}

TEST_F(EventServiceTest, DefaultAlertPresenterLogsTheAlert) {
    LogCapture log;
    service().setAlertPresenter(std::make_shared<LogAlertPresenter>());
    service().displayError(StoreError{StoreError::CalendarReadOnly, "The calendar is read-only."},
                           "Error saving calendar");
    EXPECT_TRUE(
        log.contains(Log::Level::Error, "eventservice", "Error saving calendar: The calendar is read-only."));
}

TEST_F(EventServiceTest, RefreshShowsTheNetworkIndicatorWhileTheStoreRefreshes) {
    std::vector<bool> changes;
    NetworkActivityIndicator::setOnVisibilityChanged(
        [&changes](bool visible) { changes.push_back(visible); });
    std::thread refresher([this] { service().refreshSourcesIfNecessary(); });
    refresher.join();
    EXPECT_TRUE(changes.empty());
    m_loop->runUntilIdle();
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    EXPECT_FALSE(NetworkActivityIndicator::isVisible());
    NetworkActivityIndicator::setOnVisibilityChanged(nullptr);
}

TEST_F(EventServiceTest, DailyRepeatingAllDayEventOnThreeDaysIsOneHoliday) {
    repeatingDaily(store(), "Easter holidays", local(2024, 3, 29), local(2024, 3, 30), true, 3,
                   defaultCalendar());
    const EventList events =
        service().synchronousFindAllEventsFromDateTime(local(2024, 3, 25), local(2024, 4, 8));
    ASSERT_EQ(events.size(), 3);
    const std::vector<Holiday> holidays = EventService::extractHolidaysFromEvents(events);
    ASSERT_EQ(holidays.size(), 1U);
    EXPECT_EQ(holidays[0].startDateTime(), local(2024, 3, 29));
    EXPECT_EQ(holidays[0].endDateTime(), local(2024, 4, 1));
    EXPECT_EQ(holidays[0].event()->title(), "Easter holidays");
}

TEST_F(EventServiceTest, SingleAllDayEventsAreHolidaysOnlyFromTwentyFiveHoursOn) {
    addEvent("One day", local(2024, 3, 12), local(2024, 3, 13), true);
    addEvent("Two days", local(2024, 3, 14), local(2024, 3, 16), true);
    addEvent("Long meeting", local(2024, 3, 18, 9, 0), local(2024, 3, 19, 10, 0));
    addEvent("Almost", local(2024, 3, 20, 9, 0), local(2024, 3, 21, 9, 59, 59));
    const EventList events =
        service().synchronousFindAllEventsFromDateTime(local(2024, 3, 11), local(2024, 3, 25));
    const std::vector<Holiday> holidays = EventService::extractHolidaysFromEvents(events);
    ASSERT_EQ(holidays.size(), 2U);
    EXPECT_EQ(holidays[0].event()->title(), "Two days");
    EXPECT_EQ(holidays[0].startDateTime(), local(2024, 3, 14));
    EXPECT_EQ(holidays[0].endDateTime(), local(2024, 3, 16));
    EXPECT_EQ(holidays[1].event()->title(), "Long meeting");
}

TEST_F(EventServiceTest, HolidaysAreEventsOfMoreThanOneCalendarDayAlsoWhenTheClocksGoBack) {
    // 27 October 2024 has 25 hours in Berlin, 31 March 23.
    addEvent("Long Sunday", local(2024, 10, 27), local(2024, 10, 28), true);
    addEvent("Weekend", local(2024, 10, 26), local(2024, 10, 28), true);
    addEvent("Spring weekend", local(2024, 3, 30), local(2024, 4, 1), true);
    addEvent("Night shift", local(2024, 10, 26, 22, 0), local(2024, 10, 27, 22, 30));
    const EventList events =
        service().synchronousFindAllEventsFromDateTime(local(2024, 3, 25), local(2024, 11, 4));
    ASSERT_EQ(events.size(), 4);
    std::vector<std::shared_ptr<EKEvent>> holidays;
    for (const Holiday& holiday : EventService::extractHolidaysFromEvents(events)) {
        holidays.push_back(holiday.event());
    }
    EXPECT_EQ(titlesOf(holidays), "Spring weekend Weekend");
}

TEST_F(EventServiceTest, OnlyOccurrencesThatFollowEachOtherAreJoined) {
    // Weekly one-day occurrences never join, and a short daily event never reaches 25 hours.
    std::shared_ptr<EKEvent> weekly = EKEvent::eventWithEventStore(store());
    weekly->setTitle("Sports day");
    weekly->setAllDay(true);
    weekly->setStartDate(local(2024, 3, 11));
    weekly->setEndDate(local(2024, 3, 12));
    weekly->setCalendar(defaultCalendar());
    weekly->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Weekly, 1, std::nullopt));
    StoreError error;
    ASSERT_TRUE(store().saveEvent(weekly, EKSpan::ThisEvent, &error));
    repeatingDaily(store(), "Stand-up", local(2024, 3, 11, 9, 0), local(2024, 3, 11, 9, 15), false, 10,
                   defaultCalendar());
    const EventList events =
        service().synchronousFindAllEventsFromDateTime(local(2024, 3, 11), local(2024, 4, 30));
    EXPECT_TRUE(EventService::extractHolidaysFromEvents(events).empty());
}

TEST_F(EventServiceTest, RepeatingBirthdaysCountAsSingleEvents) {
    const auto birthdays = std::make_shared<EKCalendar>("birthdays", EKCalendarType::Birthday, nullptr);
    std::vector<std::shared_ptr<EKEvent>> occurrences;
    for (int day = 11; day <= 12; ++day) {
        auto occurrence = std::make_shared<EKEvent>();
        occurrence->setEventIdentifier("birthday");
        occurrence->setTitle("Ann");
        occurrence->setAllDay(true);
        occurrence->setStartDate(local(2024, 3, day));
        occurrence->setEndDate(local(2024, 3, day + 1));
        occurrence->setCalendar(birthdays);
        occurrence->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 1, std::nullopt));
        occurrences.push_back(occurrence);
    }
    EXPECT_TRUE(EventService::extractHolidaysFromEvents(EventList(occurrences)).empty());
    // The same occurrences in an ordinary calendar join into a two-day holiday.
    for (const auto& occurrence : occurrences) {
        occurrence->setCalendar(defaultCalendar());
    }
    const std::vector<Holiday> holidays = EventService::extractHolidaysFromEvents(EventList(occurrences));
    ASSERT_EQ(holidays.size(), 1U);
    EXPECT_EQ(holidays[0].endDateTime(), local(2024, 3, 13));
}
