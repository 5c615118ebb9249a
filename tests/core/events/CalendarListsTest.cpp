#include "EventsTestSupport.h"
#include "core/events/Account.h"
#include "core/events/CalendarGroup.h"
#include "core/eventstore/EKSource.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

namespace {

class CalendarListsTest : public EventsTest {
protected:
    static std::string titles(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
        return titlesOf(calendars);
    }
};

} // namespace

TEST_F(CalendarListsTest, FirstRunHasOneLocalCalendarThatIsTheDefault) {
    ASSERT_EQ(store().calendars().size(), 1U);
    const std::shared_ptr<EKCalendar> calendar = store().calendars().front();
    EXPECT_EQ(titles(service().visibleCalendars()), calendar->title().toStdString());
    EXPECT_EQ(titles(service().editableCalendars()), calendar->title().toStdString());
    EXPECT_EQ(titles(service().editableAndInvisibleCalendars()), calendar->title().toStdString());
    EXPECT_TRUE(service().systemDefaultCalendar()->isEqual(*calendar));
}

TEST_F(CalendarListsTest, LookupTriesThePlatformIdentifierThenTheSourceTitleThenTheDescription) {
    const auto work = addCalendar("Work");
    EXPECT_TRUE(service().findCalendarByIdentifier(work->calendarIdentifier())->isEqual(*work));
    EXPECT_TRUE(
        service().findCalendarByIdentifier(*Account::identifierUsingSourceTitle(*work))->isEqual(*work));
    EXPECT_TRUE(service()
                    .findCalendarByIdentifier(Account::identifierUsingAccountFromDescription(*work))
                    ->isEqual(*work));
    EXPECT_EQ(service().findCalendarByIdentifier("Default:work"), nullptr);
    EXPECT_EQ(service().findCalendarByIdentifier(""), nullptr);
    EXPECT_EQ(Account::identifier(*work), work->calendarIdentifier());
}

TEST_F(CalendarListsTest, HiddenCalendarsAreNeitherVisibleNorEditableButStayWritable) {
    const std::shared_ptr<EKCalendar> calendar = store().calendars().front();
    const auto work = addCalendar("Work");
    const auto home = addCalendar("Home");
    AppSettings::instance().storeHiddenCalendars({work});
    EXPECT_EQ(titles(service().visibleCalendars()), calendar->title().toStdString() + " Home");
    EXPECT_EQ(titles(service().editableAndInvisibleCalendars()),
              calendar->title().toStdString() + " Work Home");
    // Editable calendars follow the groups, each group in title order.
    EXPECT_EQ(titles(service().editableCalendars()), "Calendar Home");
}

TEST_F(CalendarListsTest, HidingEveryCalendarLeavesNothingVisibleAndTheDefaultWritable) {
    addCalendar("Work");
    AppSettings::instance().storeHiddenCalendars(store().calendars());
    EXPECT_TRUE(service().visibleCalendars().empty());
    EXPECT_TRUE(service().editableCalendars().empty());
    const std::shared_ptr<EKCalendar> fallback = service().systemDefaultCalendar();
    ASSERT_TRUE(fallback);
    EXPECT_NE(fallback->type(), EKCalendarType::Birthday);
    EXPECT_TRUE(fallback->allowsContentModifications());
}

TEST_F(CalendarListsTest, WithoutAnyCalendarThereIsNoDefault) {
    const auto work = addCalendar("Work");
    ASSERT_TRUE(service().deleteCalendar(defaultCalendar()));
    EXPECT_TRUE(service().systemDefaultCalendar()->isEqual(*work));
    ASSERT_TRUE(service().deleteCalendar(work));
    EXPECT_TRUE(service().calendarGroups().empty());
    EXPECT_EQ(service().systemDefaultCalendar(), nullptr);
    EXPECT_EQ(AppSettings::instance().loadDefaultCalendar(service()), nullptr);
}
