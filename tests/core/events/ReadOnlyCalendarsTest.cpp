#include "EventsTestSupport.h"
#include "core/events/CalendarGroup.h"
#include "core/settings/AppSettings.h"

#include <QFile>

namespace {

// Calendars the user cannot write to: subscriptions to .ics files and the birthdays calendar.
class ReadOnlyCalendarsTest : public EventsTest {
protected:
    std::shared_ptr<EKCalendar> addSubscription(const QString& title) {
        const QString path = m_folder.filePath(title + ".ics");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                   "BEGIN:VEVENT\r\nUID:holiday-1@test\r\nDTSTAMP:20240101T000000Z\r\n"
                   "DTSTART;VALUE=DATE:20240329\r\nDTEND;VALUE=DATE:20240330\r\nSUMMARY:Good Friday\r\n"
                   "END:VEVENT\r\nEND:VCALENDAR\r\n");
        file.close();
        StoreError error;
        std::shared_ptr<EKCalendar> calendar = store().addSubscribedCalendar(title, path, &error);
        EXPECT_TRUE(calendar) << error.localizedDescription.toStdString();
        return calendar;
    }

    std::shared_ptr<EKCalendar> addBirthdays() {
        const QString path = m_folder.filePath("contacts.vcf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Example\r\nUID:ann\r\nBDAY:1990-03-14\r\nEND:VCARD\r\n");
        file.close();
        StoreError error;
        EXPECT_TRUE(store().setBirthdaysContactsFile(path, &error))
            << error.localizedDescription.toStdString();
        for (const std::shared_ptr<EKCalendar>& calendar : store().calendars()) {
            if (calendar->type() == EKCalendarType::Birthday) {
                return calendar;
            }
        }
        ADD_FAILURE() << "no birthdays calendar";
        return nullptr;
    }

    static std::string titles(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
        return titlesOf(calendars);
    }
};

} // namespace

TEST_F(ReadOnlyCalendarsTest, BirthdayAndSubscribedCalendarsAreNeverEditable) {
    const auto birthdays = addBirthdays();
    const auto holidays = addSubscription("Holidays");
    ASSERT_TRUE(birthdays && holidays);
    EXPECT_EQ(service().visibleCalendars().size(), 3U);
    EXPECT_EQ(titles(service().editableCalendars()), "Calendar");
    EXPECT_EQ(titles(service().editableAndInvisibleCalendars()), "Calendar");
}

TEST_F(ReadOnlyCalendarsTest, GroupsFollowTheAccountKindsLocalFirstBirthdaysLast) {
    addBirthdays();
    addSubscription("Holidays");
    addCalendar("Work");
    addCalendar("Home");
    const std::vector<std::shared_ptr<CalendarGroup>> calendarGroups = service().calendarGroups();
    ASSERT_EQ(calendarGroups.size(), 3U);
    EXPECT_TRUE(calendarGroups[0]->sortString().startsWith("10|Default|"));
    EXPECT_EQ(calendarGroups[0]->title(), "Default");
    EXPECT_EQ(calendarGroups[0]->localizedTitle(), "On This Computer");
    EXPECT_TRUE(calendarGroups[0]->isAddCalendarEnabled());
    EXPECT_TRUE(calendarGroups[1]->sortString().startsWith("50|"));
    EXPECT_FALSE(calendarGroups[1]->isAddCalendarEnabled());
    EXPECT_TRUE(calendarGroups[2]->sortString().startsWith("60|"));
    EXPECT_EQ(titles(calendarGroups[0]->calendars()), "Calendar Home Work");
}
