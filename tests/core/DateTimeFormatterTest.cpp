#include "CalendarTestSupport.h"

namespace {

class DateTimeFormatterTest : public CalendarTest {
protected:
    static DateTimeFormatter& formatter() { return DateTimeFormatter::instance(); }
};

} // namespace

TEST_F(DateTimeFormatterTest, FormatsInAmericanEnglish) {
    use("Europe/Berlin", "en_US");
    const Date date = local(2012, 3, 5, 14, 7, 9);
    EXPECT_EQ(formatter().formatTime(date), "2:07\u202fPM");
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-03-05 14:07:09");
    EXPECT_EQ(formatter().formatYear(date), "2012");
    EXPECT_EQ(formatter().formatDayOfWeek(date), "Monday");
    EXPECT_EQ(formatter().formatFullDayOfMonth(date), "5 March");
    EXPECT_EQ(formatter().formatDayOfMonth(date), "5 Mar");
    EXPECT_EQ(formatter().formatFullDate(date), "Monday, March 5, 2012");
    EXPECT_EQ(formatter().formatSettingsDate(local(812, 1, 2, 3, 4, 5)), "812-01-02 03:04:05");
}

TEST_F(DateTimeFormatterTest, FormatsInGerman) {
    use("Europe/Berlin", "de_DE");
    const Date date = local(2012, 3, 5, 14, 7, 9);
    EXPECT_EQ(formatter().formatTime(date), "14:07");
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-03-05 14:07:09");
    EXPECT_EQ(formatter().formatYear(date), "2012");
    EXPECT_EQ(formatter().formatDayOfWeek(date), "Montag");
    EXPECT_EQ(formatter().formatFullDayOfMonth(date), "5 März");
    EXPECT_EQ(formatter().formatDayOfMonth(date), "5 Mär");
    EXPECT_EQ(formatter().formatFullDate(date), "Montag, 5. März 2012");
}

TEST_F(DateTimeFormatterTest, DayOfWeekBeginsWithACapital) {
    use("Europe/Madrid", "es_ES");
    EXPECT_EQ(formatter().formatDayOfWeek(local(2012, 3, 5, 12)), "Lunes");
}

TEST_F(DateTimeFormatterTest, SettingsDatesReadBackAndRejectOtherText) {
    const Date date = local(2012, 10, 28, 1, 30, 15);
    const std::optional<Date> parsed = formatter().parseSettingsDate(formatter().formatSettingsDate(date));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, date);
    EXPECT_EQ(formatter().parseSettingsDate("2012-06-01 00:00:00"), local(2012, 6, 1));

    for (const char* text :
         {"", "yesterday", "2012-06-01", "2012-06-01 00:00:00 trailing", "2012-06-01 00:00:00 ",
          " 2012-06-01 00:00:00", "2012-13-45 10:00:00", "2012-02-30 10:00:00", "2012-06-01 25:00:00",
          "2012/06/01 00:00:00", "2012-06-01T00:00:00", "2012-6-1 0:0:0"}) {
        EXPECT_FALSE(formatter().parseSettingsDate(text).has_value()) << text;
    }
}

TEST_F(DateTimeFormatterTest, SettingsDatesStayPlainWhateverTheLocale) {
    use("Asia/Bangkok", "th_TH@calendar=buddhist");
    const Date date = local(2012, 6, 1, 9, 0, 0);
    EXPECT_EQ(formatter().formatYear(date), "2555");
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-06-01 09:00:00");
    use("Africa/Cairo", "ar_EG");
    EXPECT_EQ(formatter().formatSettingsDate(local(2012, 6, 1, 9, 0, 0)), "2012-06-01 09:00:00");
    EXPECT_EQ(formatter().parseSettingsDate("2012-06-01 09:00:00"), local(2012, 6, 1, 9, 0, 0));
}

TEST_F(DateTimeFormatterTest, FormattersKeepTheirZoneAndLocaleUntilReset) {
    use("Europe/Berlin", "en_US");
    const Date date = Date::withTimeIntervalSince1970(1338544800.0); // 2012-06-01 10:00 UTC
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-06-01 12:00:00");
    EXPECT_EQ(formatter().formatDayOfWeek(date), "Friday");

    TimeZone::setDefaultTimeZone(*TimeZone::withName("Pacific/Auckland"));
    Locale::setCurrentLocale("de_DE");
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-06-01 12:00:00");
    EXPECT_EQ(formatter().formatDayOfWeek(date), "Friday");

    DateUtilities::reloadCalendar();
    formatter().reset();
    EXPECT_EQ(formatter().formatSettingsDate(date), "2012-06-01 22:00:00");
    EXPECT_EQ(formatter().formatTime(date), "22:00");
    EXPECT_EQ(formatter().formatDayOfWeek(date), "Freitag");
    EXPECT_EQ(formatter().formatFullDate(date.addingTimeInterval(7200)), "Samstag, 2. Juni 2012");
    EXPECT_EQ(formatter().parseSettingsDate("2012-06-01 22:00:00"), date);
    EXPECT_EQ(DateUtilities::dateWithYear(2012, 6, 1).timeIntervalSince1970(), 1338465600.0);
}
