#include "core/reminders/ReminderSchedule.h"
#include "../events/EventsTestSupport.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/reminders/ReminderRecord.h"
#include "core/settings/AppSettings.h"
#include "core/settings/RemindersWhenClosedSetting.h"
#include "foundation/Paths.h"

#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

// The schedule on the manual clock (Wednesday 13 March 2024 10:00 in Berlin), with what it
// delivered written down as "title day hh:mm" in Berlin time.
class ReminderScheduleTest : public EventsTest {
protected:
    void SetUp() override {
        EventsTest::SetUp();
        startSchedule();
    }

    void TearDown() override {
        m_schedule.reset();
        EventsTest::TearDown();
    }

    void startSchedule() {
        m_schedule = std::make_shared<ReminderSchedule>(
            service(), std::make_shared<ReminderRecord>(m_folder.filePath("reminders-shown.txt")));
        m_schedule->onReminderDue = [this](const Reminder& reminder) {
            shown.push_back(reminder.title.toStdString() + " " + berlin(m_loop->now()));
        };
        m_schedule->onRemindersMissed = [this](const std::vector<Reminder>& reminders) {
            QStringList titles{QStringLiteral("missed")};
            for (const Reminder& reminder : reminders) {
                titles.append(reminder.title);
            }
            missed.push_back(titles.join(QLatin1Char(' ')).toStdString());
        };
        m_schedule->start();
    }

    static std::string berlin(Date date) {
        return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(date.timeIntervalSince1970()),
                                             QTimeZone("Europe/Berlin"))
            .toString(QStringLiteral("d HH:mm"))
            .toStdString();
    }

    std::shared_ptr<EKEvent> addAlertEvent(const QString& title, Date start, double alarmOffset,
                                           bool allDay = false, bool daily = false) {
        std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(store());
        event->setTitle(title);
        event->setAllDay(allDay);
        event->setStartDate(start);
        event->setEndDate(start.addingTimeInterval(allDay ? 86400.0 : 3600.0));
        event->setCalendar(defaultCalendar());
        event->addAlarm(EKAlarm::alarmWithRelativeOffset(alarmOffset));
        if (daily) {
            event->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 1, std::nullopt));
        }
        EXPECT_TRUE(service().saveEvent(event, EKSpan::ThisEvent));
        return event;
    }

    // The occurrence of the series `identifier` that starts at `start`.
    std::shared_ptr<EKEvent> occurrence(const QString& identifier, Date start) {
        for (const auto& event : store().eventsMatchingPredicate(
                 store().predicateForEvents(start, start.addingTimeInterval(1), store().calendars()))) {
            if (event->eventIdentifier() == identifier && event->startDate() == start) {
                return event;
            }
        }
        return nullptr;
    }

    std::shared_ptr<ReminderSchedule> m_schedule;
    std::vector<std::string> shown;
    std::vector<std::string> missed;
};

TEST_F(ReminderScheduleTest, ATimedAlertFiresOnceAtItsMomentFromOneTimer) {
    addAlertEvent("Dentist", local(2024, 3, 13, 11, 0), -900);
    addAlertEvent("Lunch", local(2024, 3, 13, 12, 30), 0);
    m_loop->runPostedTasks();
    EXPECT_EQ(m_loop->pendingTimerCount(), 1);

    m_loop->advance(44 * 60 + 59);
    EXPECT_TRUE(shown.empty());
    m_loop->advance(1);
    EXPECT_EQ(shown, (std::vector<std::string>{"Dentist 13 10:45"}));
    m_loop->advance(3 * 3600);
    EXPECT_EQ(shown, (std::vector<std::string>{"Dentist 13 10:45", "Lunch 13 12:30"}));
    EXPECT_EQ(m_loop->pendingTimerCount(), 1);

    // A clock set forward past an alert (a sleeping computer) delivers it once when told.
    addAlertEvent("Call", local(2024, 3, 13, 14, 0), -600);
    m_loop->runPostedTasks();
    m_loop->setNow(local(2024, 3, 13, 15, 0));
    m_schedule->recompute();
    m_schedule->recompute();
    EXPECT_EQ(shown.back(), "Call 13 15:00");
    EXPECT_EQ(shown.size(), 3U);
    EXPECT_TRUE(missed.empty());
}

TEST_F(ReminderScheduleTest, AnAllDayAlertFallsOnItsTimeOfDayInTheSettingsZone) {
    addAlertEvent("Holiday", local(2024, 3, 14), 9 * 3600.0, true);
    // The settings change to New York, where 9:00 on the event's day is 14:00 in Berlin.
    useZone("America/New_York");
    ApplicationEventDispatcher::sharedInstance().dispatch<TimeZoneChangedEvent>();
    m_loop->advance(27 * 3600 + 59 * 60);
    EXPECT_TRUE(shown.empty());
    m_loop->advance(60);
    EXPECT_EQ(shown, (std::vector<std::string>{"Holiday 14 14:00"}));
}

TEST_F(ReminderScheduleTest, ARepeatingEventRemindsOfEachOccurrenceAsItIsNow) {
    const auto series = addAlertEvent("Standup", local(2024, 3, 13, 10, 30), -300, false, true);
    m_loop->advance(3600);
    EXPECT_EQ(shown, (std::vector<std::string>{"Standup 13 10:25"}));

    // Thursday's occurrence is removed, Friday's moved to 15:00.
    ASSERT_TRUE(service().deleteEvent(occurrence(series->eventIdentifier(), local(2024, 3, 14, 10, 30)),
                                      EKSpan::ThisEvent));
    const auto friday = occurrence(series->eventIdentifier(), local(2024, 3, 15, 10, 30));
    ASSERT_TRUE(friday);
    friday->setStartDate(local(2024, 3, 15, 15, 0));
    friday->setEndDate(local(2024, 3, 15, 16, 0));
    ASSERT_TRUE(service().saveEvent(friday, EKSpan::ThisEvent));
    m_loop->advance(3 * 86400);
    EXPECT_EQ(shown, (std::vector<std::string>{"Standup 13 10:25", "Standup 15 14:55", "Standup 16 10:25"}));

    // A hidden calendar reminds of nothing.
    AppSettings::instance().storeHiddenCalendars({defaultCalendar()});
    ApplicationEventDispatcher::sharedInstance().dispatch<VisibleCalendarsChangedEvent>();
    m_loop->advance(86400);
    EXPECT_EQ(shown.size(), 3U);
}

TEST_F(ReminderScheduleTest, TheRecordKeepsARestartFromShowingAReminderAgainAndASnoozeShowsItLater) {
    addAlertEvent("Dentist", local(2024, 3, 13, 11, 0), -900);
    Reminder delivered;
    m_schedule->onReminderDue = [&](const Reminder& reminder) {
        delivered = reminder;
        shown.push_back(reminder.title.toStdString() + " " + berlin(m_loop->now()));
    };
    m_loop->advance(46 * 60);
    ASSERT_EQ(shown.size(), 1U);

    // The next program to deliver finds it in the record.
    m_schedule->stop();
    startSchedule();
    m_loop->advance(60);
    EXPECT_TRUE(missed.empty());
    EXPECT_EQ(shown.size(), 1U);

    m_schedule->snooze(delivered);
    m_loop->advance(9 * 60 + 59);
    EXPECT_EQ(shown.size(), 1U);
    m_loop->advance(1);
    EXPECT_EQ(shown, (std::vector<std::string>{"Dentist 13 10:45", "Dentist 13 10:57"}));
    m_loop->advance(3600);
    EXPECT_EQ(shown.size(), 2U);
}

TEST_F(ReminderScheduleTest, RemindersMissedWithNoProgramRunningAreSummedUpOnceForTheLastDay) {
    m_schedule->stop();
    addAlertEvent("Old", local(2024, 3, 12, 5, 0), 0);
    addAlertEvent("Yesterday", local(2024, 3, 12, 11, 0), 0);
    addAlertEvent("Morning", local(2024, 3, 13, 9, 0), -300);
    addAlertEvent("Later", local(2024, 3, 13, 10, 30), -300);
    startSchedule();
    EXPECT_EQ(missed, (std::vector<std::string>{"missed Yesterday Morning"}));
    EXPECT_TRUE(shown.empty());

    m_schedule->stop();
    startSchedule();
    m_loop->advance(3600);
    EXPECT_EQ(missed.size(), 1U);
    EXPECT_EQ(shown, (std::vector<std::string>{"Later 13 10:25"}));
}

TEST(RemindersWhenClosedSettingTest, OffIsTheUsersAutostartEntryHidingTheInstalledOne) {
    QTemporaryDir folder;
    Paths::setDataDirectory(folder.path());
    RemindersWhenClosedSetting setting;
    const QString path = RemindersWhenClosedSetting::overridePath();
    EXPECT_EQ(path, Paths::configurationDirectory() + "/autostart/org.orvella.Orvella.Background.desktop");
    EXPECT_TRUE(setting.switchedOn());

    setting.switchFlipped();
    EXPECT_FALSE(setting.switchedOn());
    QFile entry(path);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nHidden=true\n"));
    entry.close();

    setting.switchFlipped();
    EXPECT_TRUE(setting.switchedOn());
    EXPECT_FALSE(QFile::exists(path));
    Paths::setDataDirectory(QString());
}

} // namespace
