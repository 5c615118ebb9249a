#pragma once

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/BusReceiver.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "harness/ScreenHarness.h"
#include "kit/Button.h"
#include "kit/ImageView.h"
#include "kit/MenuController.h"
#include "kit/Window.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/CopyMoveMenu.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/daybox/EventView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/week/DayViewController.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Writes down the day box's reports on the bus as short texts.
class BusLog : public BusReceiver {
public:
    BusLog() {
        auto& bus = ApplicationEventDispatcher::sharedInstance();
        bus.registerTarget<ListEventsEvent>(this, [this](const std::shared_ptr<ListEventsEvent>& event) {
            entries.append(QStringLiteral("list %1").arg(day(event->date())));
        });
        bus.registerTarget<DateSelectedEvent>(this, [this](const std::shared_ptr<DateSelectedEvent>& event) {
            entries.append(QStringLiteral("date %1").arg(day(event->date())));
        });
        bus.registerTarget<EventSelectedEvent>(
            this, [this](const std::shared_ptr<EventSelectedEvent>& event) {
                entries.append(
                    QStringLiteral("event %1 %2").arg(event->event()->title(), day(event->tappedDate())));
            });
        bus.registerTarget<ActivateCopyMoveEvent>(
            this, [this](const std::shared_ptr<ActivateCopyMoveEvent>& event) {
                entries.append(QStringLiteral("%1 %2 %3")
                                   .arg(event->copy() ? QStringLiteral("copy") : QStringLiteral("move"),
                                        event->event()->title(), day(event->date())));
            });
        bus.registerTarget<DeleteEventEvent>(this, [this](const std::shared_ptr<DeleteEventEvent>& event) {
            entries.append(QStringLiteral("delete %1").arg(event->event()->title()));
        });
    }
    ~BusLog() override { ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this); }

    QString text() const { return entries.join(QStringLiteral(", ")); }
    QStringList entries;

private:
    static QString day(Date date) { return QString::number(DateUtilities::day(date).dayNumber()); }
};

// One day box on a page-coloured screen of the harness, with the hints loaded into a fresh store.
// The day is Tuesday 8 December 2026, today in the harness.
class DayBoxTest : public testing::Test {
protected:
    explicit DayBoxTest(double scale = 2.0) {
        ScreenHarness::Options options;
        options.scale = scale;
        m_harness = std::make_unique<ScreenHarness>(options);
    }

    void SetUp() override {
        m_page->setBackgroundColor(Color::fromRgb255(192, 203, 211));
        Hint::setShippedDatabasePath(QString());
        m_harness->launch(m_page);
        Hint::loadHints();
        m_calendar->setColor(Color::fromRgb255(14, 97, 185));
        m_log = std::make_unique<BusLog>();
    }

    void TearDown() override {
        m_log.reset();
        CopyMoveEventMode::sharedInstance().deactivate();
        MenuController::sharedMenuController().setMenuVisible(false);
        SearchResultHighlightView::selectedResultInstance()->hide();
        SearchResultHighlightView::selectedResultInstance()->setSearchBackgroundView(nullptr);
        // The shared highlight and the rows it flashed finish their animations on this test's
        // clock, not on the next test's.
        m_harness->advance(2.0);
        ObjectStoreManager::sharedManager().deleteDatabase();
    }

    static Date day(int dayOfMonth) { return DateUtilities::dateWithYear(2026, 12, dayOfMonth); }

    // A day box at the point, dated and added to the page.
    std::shared_ptr<DayViewController> makeDay(Point point, int dayOfMonth = 8, bool halfSize = false) {
        auto controller = DayViewController::create(point, halfSize, m_touchLock);
        controller->initializeWithDate(day(dayOfMonth), true);
        m_page->addSubview(controller->dayView());
        return controller;
    }

    // A one-hour event on the day, starting at `hour`, titled and identified by `title`.
    std::shared_ptr<EKEvent> makeEvent(const QString& title, int hour, int dayOfMonth = 8) {
        auto event = std::make_shared<EKEvent>();
        event->setEventIdentifier(title);
        event->setTitle(title);
        event->setCalendar(m_calendar);
        event->setStartDate(DateUtilities::addHours(day(dayOfMonth), hour));
        event->setEndDate(DateUtilities::addHours(day(dayOfMonth), hour + 1));
        return event;
    }

    EventList eventsAt(std::initializer_list<int> hours, int dayOfMonth = 8) {
        EventList events;
        for (int hour : hours) {
            events.addWithSort(makeEvent(QStringLiteral("E%1").arg(hour), hour, dayOfMonth));
        }
        return events;
    }

    void fill(DayViewController& controller, EventList events, bool animated = false) {
        controller.setDisplayedEvents(std::move(events));
        controller.populateViewsAnimated(animated);
        m_harness->runUntilIdle();
    }

    // The titles of the rows one can see, top to bottom.
    static QString visibleTitles(const DayViewController& controller) {
        QStringList titles;
        for (const auto& row : controller.eventViews()) {
            if (!row->hidden() && row->event()) {
                titles.append(row->event()->title());
            }
        }
        return titles.join(QLatin1Char(' '));
    }

    static const Button& moreButton(const DayViewController& controller) {
        return *controller.dayView()->moreEventsButton();
    }

    // A point of the card in window coordinates.
    static Point inWindow(const View& card, Point point) { return card.convertPointToView(point, nullptr); }

    ScreenHarness& harness() { return *m_harness; }

    std::unique_ptr<ScreenHarness> m_harness;
    std::shared_ptr<View> m_page = std::make_shared<View>(Rect(0, 0, 320, 416));
    std::shared_ptr<EKCalendar> m_calendar =
        std::make_shared<EKCalendar>(QStringLiteral("work"), EKCalendarType::Local, nullptr);
    std::unique_ptr<BusLog> m_log;
    // Shared by the rows of every day box of a test, as on a page.
    std::shared_ptr<EventTouchLock> m_touchLock = std::make_shared<EventTouchLock>();
};
