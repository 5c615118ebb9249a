#pragma once

#include "QtPrinters.h"
#include "core/eventstore/EKEventStore.h"
#include "testing/ManualRunLoop.h"
#include "foundation/TimeZone.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <memory>

// A store in a temporary folder, a manual main loop and Berlin as the process zone; the zone is
// put back afterwards.
class EventStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_previousZone = TimeZone::defaultTimeZone().name();
        useZone(u"Europe/Berlin");
        RunLoop::setMain(m_loop);
    }

    void TearDown() override {
        m_store.reset();
        m_loop->runUntilIdle();
        RunLoop::setMain(nullptr);
        TimeZone::setDefaultTimeZone(*TimeZone::withName(m_previousZone));
    }

    static void useZone(const char16_t* zone) {
        TimeZone::setDefaultTimeZone(*TimeZone::withName(QString::fromUtf16(zone)));
    }

    QString databasePath() const { return m_folder.filePath(QStringLiteral("events.sqlite")); }

    EKEventStore& store() {
        if (!m_store) {
            m_store = std::make_unique<EKEventStore>(databasePath());
        }
        return *m_store;
    }

    void reopen() {
        m_store.reset();
        m_loop->runUntilIdle();
        store();
    }

    // A wall-clock time in a zone (the first of two where it happens twice), computed with an
    // ICU calendar of the test's own rather than with the code under test.
    static Date local(const char16_t* zone, int year, int month, int day, int hour = 0, int minute = 0,
                      int second = 0) {
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar calendar(icu::TimeZone::createTimeZone(zone), status);
        calendar.setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
        calendar.clear();
        calendar.set(year, month - 1, day, hour, minute, second);
        return Date::withUDate(calendar.getTime(status));
    }

    // The same in Berlin, the tests' process zone.
    static Date at(int year, int month, int day, int hour = 0, int minute = 0) {
        return local(u"Europe/Berlin", year, month, day, hour, minute);
    }

    // "2024-03-05 09:00" in the zone.
    static QString text(Date date, const char16_t* zone = u"Europe/Berlin") {
        UErrorCode status = U_ZERO_ERROR;
        icu::GregorianCalendar calendar(icu::TimeZone::createTimeZone(zone), status);
        calendar.setTime(date.udate(), status);
        return QString::asprintf("%04d-%02d-%02d %02d:%02d", calendar.get(UCAL_EXTENDED_YEAR, status),
                                 calendar.get(UCAL_MONTH, status) + 1, calendar.get(UCAL_DATE, status),
                                 calendar.get(UCAL_HOUR_OF_DAY, status), calendar.get(UCAL_MINUTE, status));
    }

    std::shared_ptr<EKCalendar> defaultCalendar() { return store().defaultCalendarForNewEvents(); }

    std::shared_ptr<EKEvent> newEvent(const QString& title, Date start, Date end,
                                      std::optional<EKRecurrenceRule> rule = std::nullopt) {
        auto event = EKEvent::eventWithEventStore(store());
        event->setTitle(title);
        event->setStartDate(start);
        event->setEndDate(end);
        event->setCalendar(defaultCalendar());
        event->setRecurrenceRule(std::move(rule));
        return event;
    }

    std::shared_ptr<EKEvent> saved(const QString& title, Date start, Date end,
                                   std::optional<EKRecurrenceRule> rule = std::nullopt) {
        auto event = newEvent(title, start, end, std::move(rule));
        StoreError error;
        EXPECT_TRUE(store().saveEvent(event, EKSpan::ThisEvent, &error))
            << error.localizedDescription.toStdString();
        return event;
    }

    static EKRecurrenceRule rule(const char* text) {
        QString error;
        const std::optional<EKRecurrenceRule> parsed =
            EKRecurrenceRule::fromRRule(QString::fromLatin1(text), &error);
        EXPECT_TRUE(parsed.has_value()) << error.toStdString();
        return parsed.value_or(EKRecurrenceRule(EKRecurrenceFrequency::Daily, 1, std::nullopt));
    }

    // Every event of every calendar overlapping the range, sorted by start.
    std::vector<std::shared_ptr<EKEvent>> query(Date start, Date end) {
        auto events =
            store().eventsMatchingPredicate(store().predicateForEvents(start, end, store().calendars()));
        std::stable_sort(events.begin(), events.end(),
                         [](const auto& a, const auto& b) { return a->startDate() < b->startDate(); });
        return events;
    }

    // "title start–end" per event, times in the zone.
    static QStringList describe(const std::vector<std::shared_ptr<EKEvent>>& events,
                                const char16_t* zone = u"Europe/Berlin") {
        QStringList lines;
        for (const auto& event : events) {
            lines.append(
                QStringLiteral("%1 %2 – %3")
                    .arg(event->title(), text(event->startDate(), zone), text(event->endDate(), zone)));
        }
        return lines;
    }

    // The start times only, in the zone.
    static QStringList starts(const std::vector<std::shared_ptr<EKEvent>>& events,
                              const char16_t* zone = u"Europe/Berlin") {
        QStringList lines;
        for (const auto& event : events) {
            lines.append(text(event->startDate(), zone));
        }
        return lines;
    }

    QTemporaryDir m_folder;
    std::shared_ptr<ManualRunLoop> m_loop =
        std::make_shared<ManualRunLoop>(Date::withTimeIntervalSince1970(1.7e9));
    std::unique_ptr<EKEventStore> m_store;
    QString m_previousZone;
};
