#include "core/events/ReadOnlyCheck.h"
#include "EventsTestSupport.h"
#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/Localization.h"

using namespace ReadOnlyCheck;

namespace {

class ReadOnlyCheckTest : public CalendarTest {
protected:
    static std::shared_ptr<EKCalendar> calendarOfType(EKCalendarType type) {
        return std::make_shared<EKCalendar>(
            QStringLiteral("calendar-%1").arg(static_cast<int>(type)), type,
            std::make_shared<EKSource>("source", "Default", EKSourceType::Local));
    }

    static std::shared_ptr<EKEvent> event(Date start, Date end, EKCalendarType type = EKCalendarType::Local) {
        auto event = std::make_shared<EKEvent>();
        event->setStartDate(start);
        event->setEndDate(end);
        event->setCalendar(calendarOfType(type));
        return event;
    }

    static std::shared_ptr<EKEvent> titled(const QString& title, const QString& location) {
        auto event = std::make_shared<EKEvent>();
        event->setTitle(title);
        event->setLocation(location);
        return event;
    }
};

} // namespace

TEST_F(ReadOnlyCheckTest, ShortEventBelongsOnlyToItsStartDayLongOneToBoth) {
    const Date monday = local(2024, 3, 11);
    const Date tuesday = local(2024, 3, 12);
    const auto halfHour = event(local(2024, 3, 11, 23, 45), local(2024, 3, 12, 0, 15));
    EXPECT_TRUE(happensOnDay(*halfHour, monday));
    EXPECT_FALSE(happensOnDay(*halfHour, tuesday));
    const auto twoHours = event(local(2024, 3, 11, 23, 0), local(2024, 3, 12, 1, 0));
    EXPECT_TRUE(happensOnDay(*twoHours, monday));
    EXPECT_TRUE(happensOnDay(*twoHours, tuesday));
}

TEST_F(ReadOnlyCheckTest, EventEndingAtMidnightDoesNotBelongToTheNextDay) {
    const auto allDay = event(local(2024, 3, 11), local(2024, 3, 12));
    EXPECT_TRUE(happensOnDay(*allDay, local(2024, 3, 11)));
    EXPECT_FALSE(happensOnDay(*allDay, local(2024, 3, 12)));
    EXPECT_FALSE(happensOnDay(*allDay, local(2024, 3, 10)));
}

TEST_F(ReadOnlyCheckTest, EventWithoutDurationBelongsToItsDayAndPeriodsHoldingItsStart) {
    const auto instant = event(local(2024, 3, 11, 10, 0), local(2024, 3, 11, 10, 0));
    EXPECT_EQ(endDateWithOptionalDuration(*instant), local(2024, 3, 11, 10, 0, 1));
    EXPECT_TRUE(happensOnDay(*instant, local(2024, 3, 11)));
    EXPECT_TRUE(happensInPeriodFromDate(*instant, local(2024, 3, 11, 10, 0), local(2024, 3, 11, 10, 0)));
    EXPECT_TRUE(happensInPeriodFromDate(*instant, local(2024, 3, 11, 9, 0), local(2024, 3, 11, 11, 0)));
    EXPECT_FALSE(happensInPeriodFromDate(*instant, local(2024, 3, 11, 10, 0, 1), local(2024, 3, 11, 11, 0)));
    EXPECT_FALSE(happensInPeriodFromDate(*instant, local(2024, 3, 11, 8, 0), local(2024, 3, 11, 9, 59)));
}

TEST_F(ReadOnlyCheckTest, OnlyEventsLongerThanAnHourUseTheirRealEnd) {
    const auto hour = event(local(2024, 3, 11, 10, 0), local(2024, 3, 11, 11, 0));
    EXPECT_EQ(endDateWithOptionalDuration(*hour), local(2024, 3, 11, 10, 0, 1));
    const auto longer = event(local(2024, 3, 11, 10, 0), local(2024, 3, 11, 11, 0, 1));
    EXPECT_EQ(endDateWithOptionalDuration(*longer), local(2024, 3, 11, 11, 0, 1));
}

TEST_F(ReadOnlyCheckTest, EventsOfReadOnlyCalendarsAreReadOnly) {
    const auto birthday = event(local(2024, 3, 11), local(2024, 3, 12), EKCalendarType::Birthday);
    birthday->setAllDay(true);
    EXPECT_TRUE(isReadOnly(*birthday));
    const auto subscribed = event(local(2024, 3, 11), local(2024, 3, 12), EKCalendarType::Subscription);
    subscribed->setAllDay(true);
    EXPECT_TRUE(isReadOnly(*subscribed));
}

TEST_F(ReadOnlyCheckTest, ProbeLeavesAWritableEventAsItWas) {
    const Date start = local(2024, 3, 11, 10, 0);
    const auto writable = event(start, local(2024, 3, 11, 11, 0));
    EXPECT_FALSE(isReadOnly(*writable));
    EXPECT_EQ(writable->startDate(), start);
    EXPECT_EQ(writable->endDate(), local(2024, 3, 11, 11, 0));
}

TEST_F(ReadOnlyCheckTest, WritableEventStartingAtTheProbeInstantIsNotReadOnly) {
    const Date epoch = Date::withTimeIntervalSince1970(0.0);
    const auto atEpoch = event(epoch, epoch.addingTimeInterval(3600.0));
    EXPECT_FALSE(isReadOnly(*atEpoch));
    EXPECT_EQ(atEpoch->startDate(), epoch);
}

TEST_F(ReadOnlyCheckTest, TitleAndLocationTrimTheTitleAndFallBackToNewEvent) {
    EXPECT_EQ(titleAndLocation(*titled("  \n Lunch \t\n", QString())), "Lunch");
    EXPECT_EQ(titleAndLocation(*titled(QString(), "Cafe Blue")), "Cafe Blue");
    EXPECT_EQ(titleAndLocation(*titled(" Lunch ", "Cafe Blue")), "Lunch, Cafe Blue");
    EXPECT_EQ(titleAndLocation(*titled(QString(), QString())), localizedString("New Event"));
    EXPECT_EQ(titleAndLocation(*titled("   ", QString())), "New Event");
}

TEST_F(ReadOnlyCheckTest, LocationKeepsItsLineBreaksButLosesOuterBlanks) {
    EXPECT_EQ(titleAndLocation(*titled(QString(), "  Room 4\n")), "Room 4\n");
    EXPECT_EQ(titleAndLocation(*titled("Talk", "Hall ")), "Talk, Hall");
}

TEST_F(ReadOnlyCheckTest, EmptyLocationCountsAsNone) {
    EXPECT_EQ(titleAndLocation(*titled("Lunch", "")), "Lunch");
    EXPECT_EQ(titleAndLocation(*titled("", "")), "New Event");
}

TEST_F(ReadOnlyCheckTest, CorrectTimeShortensTwelveHourTexts) {
    EXPECT_EQ(correctTime("9:00 AM"), "9a");
    EXPECT_EQ(correctTime("12:30 PM"), "12:30p");
    EXPECT_EQ(correctTime("09:15 AM"), "9:15a");
    EXPECT_EQ(correctTime("9:00\u202fAM"), "9a");
    EXPECT_EQ(correctTime("12:30\u202fPM"), "12:30p");
    EXPECT_EQ(correctTime("09:15"), "09:15");
    EXPECT_EQ(correctTime("21:00"), "21:00");
}

TEST_F(ReadOnlyCheckTest, TimeIsTheLocalesShortTimeShortened) {
    const auto morning = event(local(2024, 3, 11, 9, 0), local(2024, 3, 11, 10, 0));
    EXPECT_EQ(time(*morning), "9a");
    const auto afternoon = event(local(2024, 3, 11, 12, 30), local(2024, 3, 11, 13, 0));
    EXPECT_EQ(time(*afternoon), "12:30p");
    use("Europe/Berlin", "de_DE");
    EXPECT_EQ(time(*morning), "09:00");
}

TEST_F(ReadOnlyCheckTest, ExchangeCalendarGetsOnlyTheFirstOfTwoAlarms) {
    const std::vector<EKAlarm> two = {EKAlarm::alarmWithRelativeOffset(-900),
                                      EKAlarm::alarmWithRelativeOffset(-300)};
    const auto exchange =
        event(local(2024, 3, 11, 9, 0), local(2024, 3, 11, 10, 0), EKCalendarType::Exchange);
    exchange->addAlarm(EKAlarm::alarmWithRelativeOffset(-60));
    applyAlarms(*exchange, two);
    EXPECT_EQ(exchange->alarms(), std::vector<EKAlarm>{two.front()});

    const auto ordinary = event(Date(), Date(), EKCalendarType::Local);
    ordinary->addAlarm(EKAlarm::alarmWithRelativeOffset(-60));
    applyAlarms(*ordinary, two);
    EXPECT_EQ(ordinary->alarms(), two);

    const std::vector<EKAlarm> one = {EKAlarm::alarmWithRelativeOffset(0)};
    applyAlarms(*exchange, one);
    EXPECT_EQ(exchange->alarms(), one);
    applyAlarms(*exchange, {});
    EXPECT_TRUE(exchange->alarms().empty());
}
