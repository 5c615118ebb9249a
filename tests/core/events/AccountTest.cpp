#include "core/events/Account.h"
#include "EventsTestSupport.h"
#include "core/events/CalendarGroup.h"
#include "core/events/EventService.h"
#include "foundation/Localization.h"

namespace {

std::shared_ptr<const EKSource> source(EKSourceType type, const QString& title = "Account",
                                       const QString& identifier = "source-id") {
    return std::make_shared<EKSource>(identifier, title, type);
}

std::shared_ptr<EKCalendar> calendar(const QString& title, EKCalendarType type,
                                     std::shared_ptr<const EKSource> calendarSource,
                                     const QString& identifier = "") {
    auto calendar = std::make_shared<EKCalendar>(identifier, type, std::move(calendarSource));
    calendar->setTitle(title);
    return calendar;
}

} // namespace

TEST(Account, IdentifierPrefersThePlatformIdentifierThenTheSourceTitle) {
    const auto withIdentifier =
        calendar("Work", EKCalendarType::Local, source(EKSourceType::Local, "Default"), "UUID-1");
    EXPECT_EQ(Account::identifier(*withIdentifier), "UUID-1");
    EXPECT_EQ(Account::identifierUsingiOS5Identifier(*withIdentifier), QString("UUID-1"));
    EXPECT_EQ(Account::identifierUsingSourceTitle(*withIdentifier), QString("Default:Work"));

    const auto withoutIdentifier =
        calendar("Work", EKCalendarType::Local, source(EKSourceType::Local, "Default"));
    EXPECT_EQ(Account::identifierUsingiOS5Identifier(*withoutIdentifier), std::nullopt);
    EXPECT_EQ(Account::identifier(*withoutIdentifier), "Default:Work");

    const auto bare = calendar("Work", EKCalendarType::Local, nullptr);
    EXPECT_EQ(Account::identifierUsingSourceTitle(*bare), std::nullopt);
    EXPECT_EQ(Account::identifier(*bare), Account::identifierUsingAccountFromDescription(*bare));
}

TEST(Account, AccountIsReadFromTheDescriptionText) {
    const auto work =
        calendar("Work", EKCalendarType::Local, source(EKSourceType::Local, "Default"), "UUID-1");
    const QString description = work->descriptionText();
    ASSERT_TRUE(description.contains("account = ")) << description.toStdString();
    const std::optional<QString> account = Account::accountFromDescription(*work);
    ASSERT_TRUE(account.has_value()) << description.toStdString();
    EXPECT_EQ(*account, "Default");
    EXPECT_EQ(Account::identifierUsingAccountFromDescription(*work), *account + ":Work");
}

TEST(Account, CategoryCodesOrderTheAccountKinds) {
    const std::pair<EKSourceType, const char*> bySource[] = {
        {EKSourceType::Local, "10"},    {EKSourceType::Exchange, "20"},   {EKSourceType::CalDAV, "30"},
        {EKSourceType::MobileMe, "40"}, {EKSourceType::Subscribed, "50"}, {EKSourceType::Birthdays, "60"},
    };
    for (const auto& [type, code] : bySource) {
        EXPECT_EQ(Account::uniqueSortableCategoryId(*calendar("x", EKCalendarType::Local, source(type))),
                  code);
    }
    const std::pair<EKCalendarType, const char*> byCalendar[] = {
        {EKCalendarType::Local, "11"},    {EKCalendarType::Exchange, "21"},
        {EKCalendarType::CalDAV, "31"},   {EKCalendarType::Subscription, "51"},
        {EKCalendarType::Birthday, "61"},
    };
    for (const auto& [type, code] : byCalendar) {
        EXPECT_EQ(Account::uniqueSortableCategoryId(*calendar("x", type, nullptr)), code);
    }
}

TEST(Account, GroupKeyJoinsKindTitleAndSourceIdentifier) {
    const auto work =
        calendar("Work", EKCalendarType::Exchange, source(EKSourceType::Exchange, "Office", "S-9"));
    EXPECT_EQ(Account::uniqueSortableSourceId(*work), "20|Office|S-9");
}

TEST(CalendarGroup, BuiltInAccountTitlesAreShownLocalized) {
    EXPECT_EQ(CalendarGroup("Default", "", nullptr).localizedTitle(), "On This Computer");
    EXPECT_EQ(CalendarGroup("Other", "", nullptr).localizedTitle(), localizedString("Other"));
    EXPECT_EQ(CalendarGroup("Subscribed Calendars", "", nullptr).localizedTitle(),
              localizedString("Subscribed Calendars"));
    EXPECT_EQ(CalendarGroup("Office", "", nullptr).localizedTitle(), "Office");
}

TEST(CalendarGroup, CalendarsCanBeAddedOnlyToLocalCalDavAndMobileMeAccounts) {
    const std::pair<EKSourceType, bool> kinds[] = {
        {EKSourceType::Local, true},    {EKSourceType::Exchange, false},   {EKSourceType::CalDAV, true},
        {EKSourceType::MobileMe, true}, {EKSourceType::Subscribed, false}, {EKSourceType::Birthdays, false},
    };
    for (const auto& [type, enabled] : kinds) {
        EXPECT_EQ(CalendarGroup("x", "", source(type)).isAddCalendarEnabled(), enabled)
            << static_cast<int>(type);
    }
    EXPECT_FALSE(CalendarGroup("x", "", nullptr).isAddCalendarEnabled());
}

TEST(CalendarGroup, SortsCalendarsByTitleCaseSensitively) {
    CalendarGroup group("Default", "10|Default|x", source(EKSourceType::Local));
    for (const char* title : {"work", "Home", "Work", "Birthdays"}) {
        group.calendars().push_back(calendar(title, EKCalendarType::Local, nullptr));
    }
    group.sortCalendarsOnTitle();
    EXPECT_EQ(titlesOf(group.calendars()), "Birthdays Home Work work");
}

TEST(CalendarGroup, GroupsAreOrderedByAccountKindThenTitleIgnoringCase) {
    const auto office = source(EKSourceType::Exchange, "office", "S-1");
    const auto agency = source(EKSourceType::Exchange, "Agency", "S-2");
    const auto local = source(EKSourceType::Local, "Default", "S-3");
    const auto cloud = source(EKSourceType::CalDAV, "Cloud", "S-4");
    const std::vector<std::shared_ptr<EKCalendar>> calendars = {
        calendar("Team", EKCalendarType::Exchange, office),
        calendar("Clients", EKCalendarType::Exchange, agency),
        calendar("Shared", EKCalendarType::CalDAV, cloud),
        calendar("Work", EKCalendarType::Local, local),
        calendar("Board", EKCalendarType::Exchange, office),
        calendar("Home", EKCalendarType::Local, local),
    };
    std::string text;
    for (const std::shared_ptr<CalendarGroup>& group : EventService::groupCalendars(calendars)) {
        if (!text.empty()) {
            text += " / ";
        }
        text += group->localizedTitle().toStdString() + ": " + titlesOf(group->calendars());
    }
    EXPECT_EQ(text, "On This Computer: Home Work / Agency: Clients / office: Board Team / Cloud: Shared");
}
