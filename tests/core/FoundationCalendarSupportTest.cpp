#include "CalendarTestSupport.h"

#include "foundation/Color.h"

#include <unicode/gregocal.h>

namespace {

class FoundationCalendarSupportTest : public CalendarTest {};

} // namespace

TEST(ColorTest, HsbRoundTrips) {
    const Color red = Color::fromHsb(0.0, 1.0, 1.0);
    EXPECT_EQ(red, Color(1, 0, 0, 1));
    EXPECT_EQ(Color::fromHsb(1.0, 1.0, 1.0), red);
    EXPECT_EQ(Color::fromHsb(1.0 / 3.0, 1.0, 1.0, 0.5).green(), 1.0);
    EXPECT_EQ(Color::fromHsb(0.5, 0.0, 0.25, 0.5), Color(0.25, 0.25, 0.25, 0.5));

    for (int k = 0; k < 12; ++k) {
        const Color color = Color::fromHsb(k / 12.0, 0.6, 0.6, 1.0);
        EXPECT_NEAR(color.hue(), k / 12.0, 1e-12) << k;
        EXPECT_NEAR(color.saturation(), 0.6, 1e-12);
        EXPECT_NEAR(color.brightness(), 0.6, 1e-12);
        EXPECT_EQ(color.alpha(), 1.0);
    }
    // January in the north: a blue.
    const Color blue = Color::fromHsb(7.0 / 12.0, 0.6, 0.6);
    EXPECT_NEAR(blue.red(), 0.24, 1e-12);
    EXPECT_NEAR(blue.green(), 0.42, 1e-12);
    EXPECT_NEAR(blue.blue(), 0.6, 1e-12);
    EXPECT_EQ(Color(0.3, 0.3, 0.3).hue(), 0.0);
    EXPECT_EQ(Color(0.3, 0.3, 0.3).saturation(), 0.0);
    EXPECT_EQ(Color(0, 0, 0).saturation(), 0.0);
    EXPECT_NE(Color(0.1, 0.2, 0.3, 1.0), Color(0.1, 0.2, 0.3, 0.9));
}

TEST_F(FoundationCalendarSupportTest, TimeZonesByName) {
    ASSERT_TRUE(TimeZone::withName("America/New_York").has_value());
    EXPECT_EQ(TimeZone::withName("America/New_York")->name(), "America/New_York");
    EXPECT_FALSE(TimeZone::withName("Mars/Olympus_Mons").has_value());
    EXPECT_FALSE(TimeZone::withName("").has_value());
    EXPECT_FALSE(TimeZone::withName("Etc/Unknown").has_value());

    TimeZone::setDefaultTimeZone(*TimeZone::withName("Asia/Kolkata"));
    EXPECT_EQ(TimeZone::defaultTimeZone().name(), "Asia/Kolkata");
    EXPECT_EQ(TimeZone::defaultTimeZone(), *TimeZone::withName("Asia/Kolkata"));

    const QStringList names = TimeZone::knownTimeZoneNames();
    EXPECT_GT(names.size(), 300);
    for (const char* name : {"Europe/Berlin", "America/Sao_Paulo", "Australia/Sydney",
                             "Antarctica/DumontDUrville", "America/Buenos_Aires", "Etc/UTC"}) {
        EXPECT_TRUE(names.contains(name)) << name;
    }
    EXPECT_FALSE(names.contains("Factory"));
    EXPECT_TRUE(TimeZone::withName("Asia/Kolkata").has_value());
    for (const QString& name : names) {
        ASSERT_TRUE(TimeZone::withName(name).has_value()) << name.toStdString();
    }
    EXPECT_FALSE(TimeZone::systemTimeZone().name().isEmpty());
    EXPECT_TRUE(TimeZone::withName(TimeZone::systemTimeZone().name()).has_value());
}

TEST_F(FoundationCalendarSupportTest, LocaleIdentifierAndRegion) {
    Locale::setCurrentLocale("ja_JP@calendar=japanese");
    EXPECT_EQ(Locale::currentLocaleIdentifier(), "ja_JP@calendar=japanese");
    EXPECT_EQ(Locale::countryCode(), "JP");
    Locale::setCurrentLocale("en_US");
    EXPECT_EQ(Locale::currentLocaleIdentifier(), "en_US");
    EXPECT_EQ(Locale::countryCode(), "US");
    Locale::setCurrentLocale("de");
    EXPECT_EQ(Locale::countryCode(), "");
}
