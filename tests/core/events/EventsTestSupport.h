#pragma once

#include "../CalendarTestSupport.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/events/AlertPresenter.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/DispatchQueue.h"
#include "testing/ManualRunLoop.h"
#include "foundation/UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Remembers every alert instead of showing it.
class AlertSpy final : public AlertPresenter {
public:
    void showAlert(const QString& title, const QString& message, const QString& buttonTitle) override {
        alerts.push_back(title + " | " + message + " | " + buttonTitle);
    }

    std::vector<QString> alerts;
};

// Counts the store-related bus events.
class BusSpy final : public BusReceiver {
public:
    BusSpy() {
        ApplicationEventDispatcher::sharedInstance().registerTarget<EventStoreChangedEvent>(
            this, &BusSpy::storeChanged);
        ApplicationEventDispatcher::sharedInstance().registerTarget<UserChangedEvent>(this,
                                                                                      &BusSpy::userChanged);
    }
    ~BusSpy() override { ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this); }

    void storeChanged() { ++storeChangedCount; }
    void userChanged() { ++userChangedCount; }

    int storeChangedCount = 0;
    int userChangedCount = 0;
};

// Each test gets Berlin time and the en_US locale, a manual main loop standing at Wednesday
// 13 March 2024 10:00, empty user defaults and an event store in a temporary folder, with an
// event service on it installed as the shared one. The global queue runs inline unless a test
// switches it.
class EventsTest : public CalendarTest {
protected:
    void SetUp() override {
        CalendarTest::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        m_loop = std::make_shared<ManualRunLoop>(local(2024, 3, 13, 10, 0));
        RunLoop::setMain(m_loop);
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Inline);
        m_previousDefaults = UserDefaults::setStandardUserDefaults(
            std::make_shared<UserDefaults>(m_folder.filePath("settings.ini")));
        m_store = std::make_shared<EKEventStore>(m_folder.filePath("events.sqlite"));
        m_service = std::make_shared<EventService>(m_store);
        m_alerts = std::make_shared<AlertSpy>();
        m_service->setAlertPresenter(m_alerts);
        m_previousService = EventService::setSharedInstance(m_service);
        m_bus = std::make_unique<BusSpy>();
    }

    void TearDown() override {
        DispatchQueue::global().waitUntilIdle();
        m_loop->runUntilIdle();
        m_bus.reset();
        EventService::setSharedInstance(m_previousService);
        m_service.reset();
        m_store.reset();
        UserDefaults::setStandardUserDefaults(m_previousDefaults);
        DispatchQueue::setGlobalMode(DispatchQueue::Mode::Threads);
        RunLoop::setMain(nullptr);
        CalendarTest::TearDown();
    }

    EventService& service() { return *m_service; }
    EKEventStore& store() { return *m_store; }
    std::shared_ptr<EKCalendar> defaultCalendar() { return m_store->defaultCalendarForNewEvents(); }

    // A saved event in the given calendar (the store's default when none is given).
    std::shared_ptr<EKEvent> addEvent(const QString& title, Date start, Date end, bool allDay = false,
                                      std::shared_ptr<EKCalendar> calendar = nullptr,
                                      const QString& location = {}) {
        std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(*m_store);
        event->setTitle(title);
        event->setLocation(location);
        event->setAllDay(allDay);
        event->setStartDate(start);
        event->setEndDate(end);
        event->setCalendar(calendar ? calendar : defaultCalendar());
        StoreError error;
        EXPECT_TRUE(m_store->saveEvent(event, EKSpan::ThisEvent, &error))
            << error.localizedDescription.toStdString();
        return event;
    }

    // A saved calendar of the local source.
    std::shared_ptr<EKCalendar> addCalendar(const QString& title) {
        std::shared_ptr<EKCalendar> calendar = EKCalendar::calendarWithEventStore(*m_store);
        calendar->setTitle(title);
        StoreError error;
        EXPECT_TRUE(m_store->saveCalendar(calendar, true, &error))
            << error.localizedDescription.toStdString();
        return calendar;
    }

    QTemporaryDir m_folder;
    std::shared_ptr<ManualRunLoop> m_loop;
    std::shared_ptr<EKEventStore> m_store;
    std::shared_ptr<EventService> m_service;
    std::shared_ptr<AlertSpy> m_alerts;
    std::unique_ptr<BusSpy> m_bus;

private:
    std::shared_ptr<UserDefaults> m_previousDefaults;
    std::shared_ptr<EventService> m_previousService;
};

// Titles of a list of events, joined by spaces, for short comparisons.
template <class Events> std::string titlesOf(const Events& events) {
    std::string text;
    for (const auto& event : events) {
        if (!text.empty()) {
            text += " ";
        }
        text += event->title().toStdString();
    }
    return text;
}
