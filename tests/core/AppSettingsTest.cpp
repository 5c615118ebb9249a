#include "core/settings/AppSettings.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/bus/WeekendDaysChangedEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "core/events/Account.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKAlarm.h"
#include "core/eventstore/EKEventStore.h"
#include "core/settings/DefaultAlertSetting.h"
#include "core/settings/DefaultCalendarSetting.h"
#include "core/settings/HintsSetting.h"
#include "core/settings/ResetScreenSetting.h"
#include "core/settings/TimeZoneSetting.h"
#include "core/settings/WeekNumbersSetting.h"
#include "core/settings/WeekendDaysSetting.h"
#include "foundation/Locale.h"
#include "foundation/UserDefaults.h"
#include "testing/LogCapture.h"
#include "testing/ManualRunLoop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Each test starts with empty user defaults in a temporary folder, a known locale and zone, and
// leaves the process-wide week state as it found it.
class AppSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(m_folder.filePath("settings.ini")));
        m_previousLocale = Locale::currentLocaleIdentifier();
        m_previousZone = TimeZone::defaultTimeZone();
        m_previousFirstWeekday = Week::firstWeekdayOfWeek();
        m_previousMethod = Week::weekNumberMethod();
        useZone("Europe/Berlin");
    }

    void TearDown() override {
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        Locale::setCurrentLocale(m_previousLocale);
        useZone(m_previousZone.name());
        Week::setFirstWeekdayOfWeek(m_previousFirstWeekday);
        Week::setWeekNumberMethod(m_previousMethod);
    }

    static void useZone(const QString& name) {
        TimeZone::setDefaultTimeZone(*TimeZone::withName(name));
        DateUtilities::reloadCalendar();
        DateTimeFormatter::instance().reset();
    }

    static AppSettings& settings() { return AppSettings::instance(); }
    static UserDefaults& defaults() { return UserDefaults::standardUserDefaults(); }

    // The stored text of a key as another process would read it from the file.
    QString storedOnDisk(const QString& key) const {
        UserDefaults reader(m_folder.filePath("settings.ini"));
        return reader.stringForKey(key).value_or("<absent>");
    }

    QTemporaryDir m_folder;
    std::shared_ptr<UserDefaults> m_previousDefaults;
    QString m_previousLocale;
    TimeZone m_previousZone = TimeZone::defaultTimeZone();
    int m_previousFirstWeekday = 2;
    int m_previousMethod = 0;
};

struct LocaleDefaults {
    const char* locale;
    int weekNumberMethod;
    int weekendDays;
    int firstWeekday;
};

} // namespace

TEST_F(AppSettingsTest, DefaultsFollowTheLocaleAndRegion) {
    const LocaleDefaults cases[] = {
        {"en_US", 1, 2, 2},
        {"ja_JP", 1, 2, 2},
        {"en_GB", 0, 2, 2},
        {"de_DE", 0, 2, 2},
        {"ar_SA", 0, 0, 7},
        {"ar_EG", 0, 1, 1},
        {"en", 0, 2, 2},
        // Only the exact identifiers give the USA method.
        {"ja_JP@calendar=japanese", 0, 2, 2},
    };
    for (const LocaleDefaults& expected : cases) {
        SCOPED_TRACE(expected.locale);
        Locale::setCurrentLocale(expected.locale);
        EXPECT_EQ(settings().loadWeekNumberMethod(), expected.weekNumberMethod);
        EXPECT_EQ(settings().loadWeekendDays(), expected.weekendDays);
        EXPECT_EQ(AppSettings::firstWeekDayForWeekendDays(settings().loadWeekendDays()),
                  expected.firstWeekday);
    }
    EXPECT_EQ(AppSettings::weekendDaysForRegion("sa"), 0); // case is ignored
    EXPECT_EQ(AppSettings::weekendDaysForRegion("S"), 2);  // a fragment of a code is not a code
    EXPECT_TRUE(settings().loadHintsEnabled());
    EXPECT_EQ(settings().loadJumpToTodayAfterSeconds(), 900);
    EXPECT_EQ(settings().loadDefaultAlarmSecondsForAlarm(1), -2147483648.0);
    EXPECT_EQ(settings().loadDefaultAlarmSecondsForAlarm(2), -2147483648.0);
    EXPECT_FALSE(settings().loadLastActiveDate().has_value());
}

TEST_F(AppSettingsTest, StoredTextsAreReadBackAndUnknownTextsGiveDefaults) {
    Locale::setCurrentLocale("en_US");
    settings().storeWeekNumberMethod(0);
    EXPECT_EQ(storedOnDisk("weekNumberStandard"), "ISO8601");
    EXPECT_EQ(settings().loadWeekNumberMethod(), 0);
    settings().storeWeekNumberMethod(1);
    EXPECT_EQ(storedOnDisk("weekNumberStandard"), "USA");
    EXPECT_EQ(Week::weekNumberMethod(), 1);
    defaults().setString("weekNumberStandard", "Mayan");
    EXPECT_EQ(settings().loadWeekNumberMethod(), 0);

    settings().storeWeekendDays(0);
    EXPECT_EQ(storedOnDisk("weekendDays"), "ThursdayFriday");
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 7);
    settings().storeWeekendDays(1);
    EXPECT_EQ(storedOnDisk("weekendDays"), "FridaySaturday");
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 1);
    settings().storeWeekendDays(5); // nothing is written, weeks begin on Monday
    EXPECT_EQ(storedOnDisk("weekendDays"), "FridaySaturday");
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 2);
    defaults().setString("weekendDays", "SundayMonday");
    EXPECT_EQ(settings().loadWeekendDays(), 2);

    settings().storeHintsEnabled(false);
    EXPECT_EQ(storedOnDisk("hintsEnabled"), "DISABLED");
    EXPECT_FALSE(settings().loadHintsEnabled());
    defaults().setString("hintsEnabled", "disabled");
    EXPECT_TRUE(settings().loadHintsEnabled());

    settings().storeJumpToTodayAfterSeconds(0);
    EXPECT_EQ(settings().loadJumpToTodayAfterSeconds(), 0);
    defaults().setString("jumpToTodayAfterSeconds", "300 seconds");
    EXPECT_EQ(settings().loadJumpToTodayAfterSeconds(), 300);
    defaults().setString("jumpToTodayAfterSeconds", "soon");
    EXPECT_EQ(settings().loadJumpToTodayAfterSeconds(), 900);
}

TEST_F(AppSettingsTest, LastActiveDateIsStoredInTheSettingsFormatWithoutFlushing) {
    // Three hours after midnight on the day the clocks go forward is 04:00 on the wall.
    const Date moment = DateUtilities::dateWithYear(2012, 3, 25).addingTimeInterval(3 * 3600 + 61);
    settings().storeLastActiveDate(moment);
    EXPECT_EQ(defaults().stringForKey("lastActiveDate").value_or(""), "2012-03-25 04:01:01 +0200");
    ASSERT_TRUE(settings().loadLastActiveDate().has_value());
    EXPECT_EQ(*settings().loadLastActiveDate(), moment);
    defaults().setString("lastActiveDate", "yesterday");
    EXPECT_FALSE(settings().loadLastActiveDate().has_value());
}

TEST_F(AppSettingsTest, LastActiveDateReadsBackExactlyAlsoInTheRepeatedHour) {
    // Berlin's clocks go back from 03:00 to 02:00 on 27 October 2024, so 02:30 happens twice.
    const Date first = DateUtilities::dateWithYear(2024, 10, 27).addingTimeInterval(2.5 * 3600);
    const Date second = first.addingTimeInterval(3600.0);
    settings().storeLastActiveDate(first);
    EXPECT_EQ(settings().loadLastActiveDate(), first);
    settings().storeLastActiveDate(second);
    EXPECT_EQ(defaults().stringForKey("lastActiveDate").value_or(""), "2024-10-27 02:30:00 +0100");
    EXPECT_EQ(settings().loadLastActiveDate(), second);
    // The moment stays the same when the zone changes before it is read.
    useZone("America/New_York");
    EXPECT_EQ(settings().loadLastActiveDate(), second);
    useZone("Europe/Berlin");
    // Texts written without the offset read as the settings format reads them; a broken offset
    // reads as nothing.
    defaults().setString("lastActiveDate", "2024-10-27 02:30:00");
    EXPECT_EQ(settings().loadLastActiveDate(),
              DateTimeFormatter::instance().parseSettingsDate("2024-10-27 02:30:00"));
    defaults().setString("lastActiveDate", "2024-10-28 09:15:00");
    EXPECT_EQ(settings().loadLastActiveDate(),
              DateUtilities::dateWithYear(2024, 10, 28).addingTimeInterval(33300.0));
    for (const char* broken : {"2024-10-27 02:30:00 +01", "2024-10-27 02:30:00 0100", "2024-10-27 +0100",
                               "2024-10-27 02:30:00 +0100 ", "2024-10-27 02:30:00 +2500"}) {
        defaults().setString("lastActiveDate", broken);
        EXPECT_FALSE(settings().loadLastActiveDate().has_value()) << broken;
    }
}

TEST_F(AppSettingsTest, FirstLoadOfTheTimeZoneStoresTheProcessZone) {
    EXPECT_EQ(settings().loadDefaultTimeZone().name(), "Europe/Berlin");
    EXPECT_EQ(storedOnDisk("timeZone"), "Europe/Berlin");
    useZone("Asia/Tokyo"); // the device moves; the program keeps its zone
    EXPECT_EQ(settings().loadDefaultTimeZone().name(), "Europe/Berlin");
}

TEST_F(AppSettingsTest, DefaultAlertsRemoveTheKeyForNoneAndHideTheSecondRow) {
    DefaultAlertSetting first(1), second(2);
    EXPECT_FALSE(first.hideFromOverview());
    EXPECT_TRUE(second.hideFromOverview());
    EXPECT_EQ(first.settingValue(), "None");

    first.optionSelected("-900", "15 minutes before");
    second.optionSelected("-86400", "1 day before");
    EXPECT_EQ(storedOnDisk("defaultAlert"), "-900");
    EXPECT_EQ(storedOnDisk("defaultSecondAlert"), "-86400");
    EXPECT_EQ(first.settingValue(), "15 minutes before");
    EXPECT_EQ(second.settingValue(), "1 day before");
    EXPECT_FALSE(second.hideFromOverview());
    EXPECT_EQ(first.settingTitle(), "Default Alert");
    EXPECT_EQ(second.settingTitle(), "Default 2nd Alert");

    first.optionSelected("-2147483648", "None");
    EXPECT_EQ(storedOnDisk("defaultAlert"), "<absent>");
    EXPECT_EQ(storedOnDisk("defaultSecondAlert"), "-86400");
    EXPECT_TRUE(second.hideFromOverview());

    defaults().setString("defaultAlert", "-1800.7");
    EXPECT_EQ(first.settingValue(), "30 minutes before"); // truncated to whole seconds
    EXPECT_EQ(first.settingOptions().count(), 9);
}

TEST_F(AppSettingsTest, MultiSelectSettingsShowTheirValueAndAnnounceChanges) {
    ResetScreenSetting reset;
    EXPECT_EQ(reset.settingTitle(), "Back to Current Week");
    EXPECT_EQ(reset.settingValue(), "after 15 minutes");
    reset.optionSelected("3600", "after 1 hour");
    EXPECT_EQ(storedOnDisk("jumpToTodayAfterSeconds"), "3600");
    EXPECT_EQ(reset.settingValue(), "after 1 hour");
    EXPECT_EQ(reset.settingOptions().keyForIndex(0), "0");

    BusReceiver receiver;
    int methodEvents = 0, weekendEvents = 0;
    auto& bus = ApplicationEventDispatcher::sharedInstance();
    bus.registerTarget<WeekNumberMethodChangedEvent>(
        &receiver, std::function<void(const std::shared_ptr<WeekNumberMethodChangedEvent>&)>(
                       [&](const auto&) { ++methodEvents; }));
    bus.registerTarget<WeekendDaysChangedEvent>(
        &receiver, std::function<void(const std::shared_ptr<WeekendDaysChangedEvent>&)>(
                       [&](const auto&) { ++weekendEvents; }));

    WeekNumbersSetting numbers;
    numbers.optionSelected("1", "USA");
    EXPECT_EQ(methodEvents, 1);
    EXPECT_EQ(numbers.settingValue(), "USA");
    EXPECT_EQ(Week::weekNumberMethod(), 1);

    WeekendDaysSetting weekend;
    weekend.optionSelected("0", "Thursday and Friday");
    EXPECT_EQ(weekendEvents, 1);
    EXPECT_EQ(weekend.settingValue(), "Thursday and Friday");
    EXPECT_EQ(Week::firstWeekdayOfWeek(), 7);
}

TEST_F(AppSettingsTest, HintsSwitchStoresTheOppositeAndTellsTheHints) {
    HintsSetting hints;
    std::vector<bool> told;
    hints.toSetHintsEnabled = [&](bool enabled) { told.push_back(enabled); };
    EXPECT_TRUE(hints.switchedOn());
    hints.switchFlipped();
    EXPECT_FALSE(hints.switchedOn());
    hints.switchFlipped();
    EXPECT_TRUE(hints.switchedOn());
    EXPECT_EQ(told, (std::vector<bool>{false, true}));
}

TEST_F(AppSettingsTest, TimeZoneChangeAppliesTheZoneEverywhereThenAnnouncesIt) {
    TimeZoneSetting setting;
    EXPECT_EQ(TimeZoneSetting::toReadableFormat("America/Argentina/Buenos_Aires"),
              "Buenos Aires, Argentina, America");
    EXPECT_EQ(TimeZoneSetting::toReadableFormat("Antarctica/DumontDUrville"), "Dumont d'Urville, Antarctica");

    const SettingOptions options = setting.settingOptions();
    EXPECT_GT(options.count(), 300);
    EXPECT_EQ(options.valueForKey(), "Berlin, Europe");
    for (int i = 1; i < options.count(); ++i) {
        ASSERT_LE(QString::compare(options.valueForIndex(i - 1), options.valueForIndex(i)), 0);
    }

    std::vector<std::pair<QString, QString>> changes;
    QString dayStartSeenByReceiver;
    BusReceiver receiver;
    ApplicationEventDispatcher::sharedInstance().registerTarget<TimeZoneChangedEvent>(
        &receiver, std::function<void(const std::shared_ptr<TimeZoneChangedEvent>&)>([&](const auto& event) {
            changes.emplace_back(event->fromTimeZone()->name(), event->toTimeZone()->name());
            dayStartSeenByReceiver =
                DateTimeFormatter::instance().formatSettingsDate(DateUtilities::dateWithYear(2012, 6, 1));
        }));

    // A zone stored under a name that the list shows under another is still the selected one.
    defaults().setString("timeZone", "Asia/Kolkata");
    EXPECT_EQ(setting.settingOptions().valueForKey(), "Calcutta, Asia");
    EXPECT_EQ(setting.settingValue(), "Kolkata, Asia");
    defaults().setString("timeZone", "Europe/Berlin");

    setting.optionSelected("Asia/Tokyo", "Tokyo, Asia");
    EXPECT_EQ(storedOnDisk("timeZone"), "Asia/Tokyo");
    EXPECT_EQ(TimeZone::defaultTimeZone().name(), "Asia/Tokyo");
    EXPECT_EQ(dayStartSeenByReceiver, "2012-06-01 00:00:00");
    EXPECT_EQ(DateUtilities::dateWithYear(2012, 6, 1).timeIntervalSince1970(), 1338476400.0); // 15:00 UTC

    setting.optionSelected("Asia/Tokyo", "Tokyo, Asia"); // the same zone again still announces
    LogCapture log;
    setting.optionSelected("Mars/Olympus_Mons", "?"); // unknown: nothing happens but a warning
    EXPECT_TRUE(log.contains(Log::Level::Warning, "settings", "Mars/Olympus_Mons"));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], std::make_pair(QString("Europe/Berlin"), QString("Asia/Tokyo")));
    EXPECT_EQ(changes[1], std::make_pair(QString("Asia/Tokyo"), QString("Asia/Tokyo")));
    EXPECT_EQ(setting.settingValue(), "Tokyo, Asia");
}

TEST(SettingOptions, LooksUpByIndexKeyAndSelectionAndSortsByDisplayText) {
    SettingOptions options;
    options.addOption("b", "Beta");
    options.addOption("a", "alpha");
    options.addOption("c", "Alpha");
    EXPECT_EQ(options.count(), 3);
    EXPECT_EQ(options.indexForKey(), SettingOptions::notFound);
    EXPECT_EQ(options.valueForKey(), "");
    options.setSelectedOption(QString("a"));
    EXPECT_EQ(options.indexForKey(), 1);
    EXPECT_EQ(options.valueForKey(), "alpha");
    EXPECT_EQ(options.indexForKey(QString("zzz")), SettingOptions::notFound);
    EXPECT_EQ(options.valueForIndex(7), "");

    options.sortByDisplayValue(); // plain character order: upper case first
    EXPECT_EQ(options.keys(), (QStringList{"c", "b", "a"}));
    EXPECT_EQ(options.indexForKey(), 2);
}

namespace {

// The settings that name calendars, over an event store in the test's folder whose event service
// is installed as the shared one.
class AppSettingsCalendarTest : public AppSettingsTest {
protected:
    void SetUp() override {
        AppSettingsTest::SetUp();
        RunLoop::setMain(m_loop);
        m_store = std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"));
        m_service = std::make_shared<EventService>(m_store);
        m_previousService = EventService::setSharedInstance(m_service);
    }

    void TearDown() override {
        EventService::setSharedInstance(m_previousService);
        m_service.reset();
        m_store.reset();
        RunLoop::setMain(nullptr);
        AppSettingsTest::TearDown();
    }

    std::shared_ptr<EKCalendar> addCalendar(const QString& title, std::optional<Color> color = std::nullopt) {
        std::shared_ptr<EKCalendar> calendar = EKCalendar::calendarWithEventStore(*m_store);
        calendar->setTitle(title);
        calendar->setColor(color);
        StoreError error;
        EXPECT_TRUE(m_store->saveCalendar(calendar, true, &error));
        return calendar;
    }

    static std::string titles(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
        std::string text;
        for (const auto& calendar : calendars) {
            if (!text.empty()) {
                text += " ";
            }
            text += calendar->title().toStdString();
        }
        return text;
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<EKEventStore> m_store;
    std::shared_ptr<EventService> m_service;
    std::shared_ptr<EventService> m_previousService;
};

} // namespace

TEST_F(AppSettingsCalendarTest, DefaultCalendarIsStoredByIdentifierAndFallsBackToTheSystemDefault) {
    const std::shared_ptr<EKCalendar> systemDefault = m_store->defaultCalendarForNewEvents();
    ASSERT_TRUE(systemDefault);
    EXPECT_TRUE(settings().loadDefaultCalendar(*m_service)->isEqual(*systemDefault));

    const auto work = addCalendar("Work");
    settings().storeDefaultCalendar(*work);
    EXPECT_EQ(storedOnDisk("defaultCalendar"), work->calendarIdentifier());
    EXPECT_TRUE(settings().loadDefaultCalendar(*m_service)->isEqual(*work));

    StoreError error;
    ASSERT_TRUE(m_store->removeCalendar(work, true, &error));
    EXPECT_TRUE(settings().loadDefaultCalendar(*m_service)->isEqual(*systemDefault));
    EXPECT_EQ(storedOnDisk("defaultCalendar"), work->calendarIdentifier());
}

TEST_F(AppSettingsCalendarTest, CalendarStoredUnderItsSourceTitleIsStillFound) {
    const auto work = addCalendar("Work");
    defaults().setString("defaultCalendar", "Default:Work");
    EXPECT_TRUE(settings().loadDefaultCalendar(*m_service)->isEqual(*work));
    defaults().setStringList("hiddenCalendars", {"Default:Work", "nothing:here"});
    const auto hidden = settings().loadHiddenCalendars(*m_service);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_TRUE(hidden[0]->isEqual(*work));
}

TEST_F(AppSettingsCalendarTest, HiddenCalendarsKeepOrderAndDuplicatesAndDropWhatNoLongerResolves) {
    EXPECT_TRUE(settings().loadHiddenCalendars(*m_service).empty());
    const auto home = addCalendar("Home");
    const auto work = addCalendar("Work");
    settings().storeHiddenCalendars({work, home, work});
    UserDefaults reader(m_folder.filePath("settings.ini"));
    EXPECT_EQ(
        reader.stringListForKey("hiddenCalendars"),
        (QStringList{work->calendarIdentifier(), home->calendarIdentifier(), work->calendarIdentifier()}));
    EXPECT_EQ(titles(settings().loadHiddenCalendars(*m_service)), "Work Home Work");

    StoreError error;
    ASSERT_TRUE(m_store->removeCalendar(home, true, &error));
    EXPECT_EQ(titles(settings().loadHiddenCalendars(*m_service)), "Work Work");
    settings().storeHiddenCalendars({});
    EXPECT_TRUE(settings().loadHiddenCalendars(*m_service).empty());
    settings().storeHiddenCalendars({home});
    EXPECT_TRUE(settings().loadHiddenCalendars(*m_service).empty());
}

TEST_F(AppSettingsCalendarTest, DefaultAlarmsNeedAFirstAlert) {
    EXPECT_TRUE(settings().defaultAlarmsAsEKAlarms().empty());
    settings().storeDefaultAlarmSeconds(-900, 1);
    EXPECT_EQ(settings().defaultAlarmsAsEKAlarms(),
              std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-900)});
    settings().storeDefaultAlarmSeconds(0, 2);
    EXPECT_EQ(
        settings().defaultAlarmsAsEKAlarms(),
        (std::vector<EKAlarm>{EKAlarm::alarmWithRelativeOffset(-900), EKAlarm::alarmWithRelativeOffset(0)}));
    // "None" for the first alert removes it; the second one still stored is not used.
    settings().storeDefaultAlarmSeconds(AppSettings::noAlarm, 1);
    EXPECT_EQ(storedOnDisk("defaultAlert"), "<absent>");
    EXPECT_EQ(storedOnDisk("defaultSecondAlert"), "0");
    EXPECT_TRUE(settings().defaultAlarmsAsEKAlarms().empty());
}

TEST_F(AppSettingsCalendarTest, DefaultCalendarSettingShowsTheDefaultAndStoresThePick) {
    const auto work = addCalendar("Work", Color(14 / 255.0, 97 / 255.0, 185 / 255.0));
    DefaultCalendarSetting setting(*m_service);
    EXPECT_EQ(setting.settingTitle(), "Default Calendar");
    const std::shared_ptr<EKCalendar> systemDefault = m_store->defaultCalendarForNewEvents();
    EXPECT_EQ(setting.settingValue(), systemDefault->title());

    const SettingOptions options = setting.settingOptions();
    EXPECT_EQ(options.count(), 2);
    EXPECT_EQ(options.valueForKey(Account::identifier(*work)), "Work");
    EXPECT_EQ(options.selectedOption(), Account::identifier(*systemDefault));

    setting.optionSelected(Account::identifier(*work), "Work");
    EXPECT_EQ(storedOnDisk("defaultCalendar"), work->calendarIdentifier());
    EXPECT_EQ(setting.settingValue(), "Work");
    EXPECT_EQ(setting.settingValueColor(), work->color());
    EXPECT_EQ(setting.settingOptions().selectedOption(), Account::identifier(*work));

    setting.optionSelected("no such calendar", "Gone");
    EXPECT_EQ(storedOnDisk("defaultCalendar"), work->calendarIdentifier());
}
