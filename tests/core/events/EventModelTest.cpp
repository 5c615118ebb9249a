#include "core/events/EventModel.h"
#include "EventsTestSupport.h"
#include "core/calendar/Day.h"
#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKEvent.h"
#include "core/settings/AppSettings.h"

using EventModelTest = EventsTest;

TEST_F(EventModelTest, ModelForADayStartsAtNoonAndIsOtherwiseEmpty) {
    const EventModel model(Day(2024, 3, 14));
    EXPECT_EQ(model.date(), local(2024, 3, 14, 12, 0));
    EXPECT_FALSE(model.identifier());
    EXPECT_TRUE(model.title().isEmpty());
    EXPECT_FALSE(model.calendar());
    EXPECT_FALSE(model.allDay());
}

TEST_F(EventModelTest, ModelOfAnEventCopiesItsFields) {
    const auto event = addEvent("Trip", local(2024, 3, 14), local(2024, 3, 16), true);
    const EventModel model(*event);
    EXPECT_EQ(model.identifier(), event->eventIdentifier());
    EXPECT_EQ(model.title(), "Trip");
    EXPECT_EQ(model.date(), local(2024, 3, 14));
    ASSERT_TRUE(model.calendar());
    EXPECT_TRUE(model.calendar()->isEqual(*defaultCalendar()));
    EXPECT_TRUE(model.allDay());
}

TEST_F(EventModelTest, NewEventGetsTheModelAndTheDefaultAlarms) {
    AppSettings::instance().storeDefaultAlarmSeconds(-1800, 1);
    const auto work = addCalendar("Work");
    EventModel model(Day(2024, 3, 14));
    model.setTitle("  Piano lesson \n");
    model.setDate(local(2024, 3, 15, 16, 30));
    model.setCalendar(work);
    const std::shared_ptr<EKEvent> event = model.ekEvent();
    ASSERT_TRUE(event);
    EXPECT_TRUE(event->eventIdentifier().isEmpty());
    EXPECT_EQ(event->title(), "Piano lesson");
    EXPECT_EQ(event->startDate(), local(2024, 3, 15, 16, 30));
    EXPECT_EQ(event->endDate(), local(2024, 3, 15, 17, 30));
    EXPECT_TRUE(event->calendar()->isEqual(*work));
    EXPECT_EQ(event->alarms(), std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-1800)});
}

TEST_F(EventModelTest, ExistingEventKeepsItsAlarmsAndCalendarUnlessTheModelNamesAnother) {
    AppSettings::instance().storeDefaultAlarmSeconds(-1800, 1);
    const auto saved = addEvent("Meeting", local(2024, 3, 14, 9, 0), local(2024, 3, 14, 10, 30));
    saved->setAlarms({EKAlarm::alarmWithRelativeOffset(-60)});
    StoreError error;
    ASSERT_TRUE(store().saveEvent(saved, EKSpan::ThisEvent, &error));

    EventModel model(*saved);
    model.setDate(local(2024, 3, 18, 0, 0));
    model.setAllDay(true);
    const std::shared_ptr<EKEvent> event = model.ekEvent();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->eventIdentifier(), saved->eventIdentifier());
    EXPECT_TRUE(event->allDay());
    EXPECT_EQ(event->startDate(), local(2024, 3, 18));
    EXPECT_EQ(event->endDate(), local(2024, 3, 18, 1, 30));
    EXPECT_EQ(event->alarms(), std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-60)});
    EXPECT_TRUE(event->calendar()->isEqual(*defaultCalendar()));

    const auto work = addCalendar("Work");
    model.setCalendar(work);
    model.applyToEKEvent(*event);
    EXPECT_TRUE(event->calendar()->isEqual(*work));
}

TEST_F(EventModelTest, ModelOfADeletedEventGivesNothing) {
    const auto saved = addEvent("Gone", local(2024, 3, 14, 9, 0), local(2024, 3, 14, 10, 0));
    const EventModel model(*saved);
    StoreError error;
    ASSERT_TRUE(store().removeEvent(saved, EKSpan::ThisEvent, &error));
    EXPECT_EQ(model.ekEvent(), nullptr);
}
