#pragma once

#include "SamplePictures.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "core/eventstore/StoreError.h"
#include "harness/ScreenHarness.h"
#include "kit/NavigationController.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/week/WeekScrollViewController.h"
#include "ui/week/WeekViewController.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

// Records every week a page reads from the store, in the order of the reads. While held, a
// read waits after it is recorded, until the log is let go (only with background threads).
class ReadLog {
public:
    void add(const Week& week) {
        std::unique_lock lock(m_mutex);
        m_weeks.push_back(week);
        m_letGo.wait(lock, [this] { return !m_held; });
    }
    void hold() {
        std::lock_guard lock(m_mutex);
        m_held = true;
    }
    void letGo() {
        {
            std::lock_guard lock(m_mutex);
            m_held = false;
        }
        m_letGo.notify_all();
    }
    std::vector<Week> weeks() const {
        std::lock_guard lock(m_mutex);
        return m_weeks;
    }
    void clear() {
        std::lock_guard lock(m_mutex);
        m_weeks.clear();
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_letGo;
    bool m_held = false;
    std::vector<Week> m_weeks;
};

class SpyWeekPage : public WeekViewController {
public:
    SpyWeekPage(std::shared_ptr<ReadLog> log, std::shared_ptr<EventTouchLock> touchLock)
        : WeekViewController(std::move(touchLock)), m_log(std::move(log)) {}

protected:
    EventsFetcher eventsFetcher() const override {
        return [log = m_log, read = WeekViewController::eventsFetcher()](const Week& week) {
            log->add(week);
            return read(week);
        };
    }

private:
    std::shared_ptr<ReadLog> m_log;
};

class SpyWeekScreen : public WeekScrollViewController {
public:
    std::shared_ptr<ReadLog> reads = std::make_shared<ReadLog>();

protected:
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override {
        auto page = std::make_shared<SpyWeekPage>(reads, std::move(touchLock));
        page->view();
        return page;
    }
};

// The week screen launched as the executable launches it, on the harness.
class WeekScreen {
public:
    explicit WeekScreen(const ScreenHarness::Options& options = {}) : harness(options) {}

    void launch() {
        screen = std::make_shared<SpyWeekScreen>();
        navigation = std::make_shared<NavigationController>(screen);
        harness.launch(navigation);
        settle();
    }

    // Lets every animation and deferred step run out.
    void settle(double seconds = 2.0) {
        harness.runUntilIdle();
        harness.advance(seconds);
        harness.runUntilIdle();
    }

    // The local time on that day in the harness zone.
    static Date at(int year, int month, int day, int hour = 0, int minute = 0) {
        return DateUtilities::dateWithYear(year, month, day)
            .addingTimeInterval(hour * 3600.0 + minute * 60.0);
    }

    std::shared_ptr<EKEvent> addEvent(const QString& title, Date start, Date end, bool allDay = false,
                                      std::shared_ptr<EKCalendar> calendar = nullptr,
                                      const QString& location = {}) {
        std::shared_ptr<EKEvent> event = unsavedEvent(title, start, end);
        event->setLocation(location);
        event->setAllDay(allDay);
        if (calendar) {
            event->setCalendar(std::move(calendar));
        }
        save(event);
        return event;
    }

    // An hour-long event repeating every week without end.
    std::shared_ptr<EKEvent> addWeeklyEvent(const QString& title, Date start) {
        std::shared_ptr<EKEvent> event = unsavedEvent(title, start, start.addingTimeInterval(3600));
        event->setRecurrenceRule(EKRecurrenceRule(EKRecurrenceFrequency::Weekly, 1, std::nullopt));
        save(event);
        return event;
    }

    std::shared_ptr<EKCalendar> addCalendar(const QString& title, const Color& color) {
        EKEventStore& store = harness.eventStore();
        std::shared_ptr<EKCalendar> calendar = EKCalendar::calendarWithEventStore(store);
        calendar->setTitle(title);
        calendar->setColor(color);
        StoreError error;
        EXPECT_TRUE(store.saveCalendar(calendar, true, &error)) << error.localizedDescription.toStdString();
        return calendar;
    }

    // Birthdays come from a contacts file, as on a real device.
    void addBirthday(const QString& name, const QString& birthday) {
        const QString path = harness.dataDirectory() + "/contacts.vcf";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
        QTextStream(&file) << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" << name << "\r\nBDAY:" << birthday
                           << "\r\nEND:VCARD\r\n";
        file.close();
        StoreError error;
        EXPECT_TRUE(harness.eventStore().setBirthdaysContactsFile(path, &error))
            << error.localizedDescription.toStdString();
    }

    // The weeks the three pages show, left to right.
    std::vector<Week> pageWeeks() const {
        std::vector<Week> weeks;
        for (const auto& page : screen->weekViews()) {
            weeks.push_back(page->displayedWeek().value_or(Week(Date())));
        }
        return weeks;
    }

    // Taps the middle of a view, in window points, and lets what it starts run out.
    void tapView(const View& view) {
        harness.tap(view.convertRectToView(view.bounds(), nullptr).center());
        settle();
    }

    // A drag across the page area, from one window point to another.
    void dragAcross(double fromX, double toX, bool release = true) {
        harness.drag(Point(fromX, 250), Point(toX, 250), 0.3, 10, release);
    }

    ScreenHarness harness;

    std::shared_ptr<SpyWeekScreen> screen;
    std::shared_ptr<NavigationController> navigation;

private:
    std::shared_ptr<EKEvent> unsavedEvent(const QString& title, Date start, Date end) {
        EKEventStore& store = harness.eventStore();
        std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(store);
        event->setTitle(title);
        event->setStartDate(start);
        event->setEndDate(end);
        event->setCalendar(store.defaultCalendarForNewEvents());
        return event;
    }

    void save(const std::shared_ptr<EKEvent>& event) {
        StoreError error;
        EXPECT_TRUE(harness.eventStore().saveEvent(event, EKSpan::ThisEvent, &error))
            << error.localizedDescription.toStdString();
    }
};
