#pragma once

#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Week.h"
#include "foundation/Date.h"
#include "foundation/Locale.h"
#include "testing/ManualRunLoop.h"
#include "foundation/TimeZone.h"

#include <gtest/gtest.h>

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <memory>

// Runs each test in a zone and locale of its own choosing and puts the process state back
// afterwards: default zone, locale, the calling thread's calendar, the formatters and the week
// settings.
class CalendarTest : public testing::Test {
protected:
    void SetUp() override {
        m_previousZone = TimeZone::defaultTimeZone().name();
        m_previousLocale = Locale::currentLocaleIdentifier();
        m_previousFirstWeekday = Week::firstWeekdayOfWeek();
        m_previousMethod = Week::weekNumberMethod();
        use("Europe/Berlin", "en_US");
        Week::setFirstWeekdayOfWeek(2);
        Week::setWeekNumberMethod(0);
    }

    void TearDown() override {
        Week::setFirstWeekdayOfWeek(m_previousFirstWeekday);
        Week::setWeekNumberMethod(m_previousMethod);
        use(m_previousZone, m_previousLocale);
    }

    static void use(const QString& zone, const QString& locale) {
        TimeZone::setDefaultTimeZone(*TimeZone::withName(zone));
        Locale::setCurrentLocale(locale);
        DateUtilities::reloadCalendar();
        DateTimeFormatter::instance().reset();
    }

    static void useZone(const QString& zone) { use(zone, Locale::currentLocaleIdentifier()); }

    // A wall-clock time in the named zone (the first of two where it happens twice), computed
    // with a calendar of the test's own, not the application calendar under test.
    static Date local(const char16_t* zone, int year, int month, int day, int hour = 0, int minute = 0,
                      int second = 0) {
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar calendar(icu::TimeZone::createTimeZone(zone), status);
        calendar.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar.clear();
        calendar.set(year, month - 1, day, hour, minute, second);
        return Date::withUDate(calendar.getTime(status));
    }

    // The same in the test's current zone.
    static Date local(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        const QString zone = TimeZone::defaultTimeZone().name();
        return local(reinterpret_cast<const char16_t*>(zone.utf16()), year, month, day, hour, minute, second);
    }

private:
    QString m_previousZone;
    QString m_previousLocale;
    int m_previousFirstWeekday = 2;
    int m_previousMethod = 0;
};
