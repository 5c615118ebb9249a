#include "ui/tablet/IPadWeekScrollViewController.h"

#include "core/bus/DateSelectedEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventModel.h"
#include "core/events/ReadOnlyCheck.h"
#include "kit/BarButtonItem.h"
#include "kit/InterfaceOrientation.h"
#include "kit/PopoverController.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/tablet/IPadDateTitleView.h"
#include "ui/tablet/IPadDayView.h"
#include "ui/tablet/IPadDayViewController.h"
#include "ui/tablet/IPadEventDetailsController.h"
#include "ui/tablet/IPadMenuViewController.h"
#include "ui/tablet/IPadWeekViewController.h"

std::shared_ptr<IPadWeekScrollViewController> IPadWeekScrollViewController::create() {
    auto controller = std::make_shared<IPadWeekScrollViewController>();
    becomeSharedInstance(controller);
    return controller;
}

std::shared_ptr<WeekViewController>
IPadWeekScrollViewController::newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) {
    return IPadWeekViewController::create(std::move(touchLock));
}

std::shared_ptr<DateTitleView> IPadWeekScrollViewController::newDateTitleView(const Rect& frame) {
    return IPadDateTitleView::create(frame);
}

bool IPadWeekScrollViewController::shouldAutorotateToInterfaceOrientation(int orientation) {
    return orientation == InterfaceOrientation::Portrait;
}

// The menu popover.

void IPadWeekScrollViewController::showActions() {
    settleGlideNow();
    if (const std::shared_ptr<BarButtonItem>& item = actionButton()) {
        openMenu(*item);
    }
}

void IPadWeekScrollViewController::openMenu(BarButtonItem& item) {
    if (!m_menuPopoverController) {
        m_iPadMenuViewController = std::make_shared<IPadMenuViewController>();
        m_iPadMenuViewController->setDelegate(std::static_pointer_cast<GlobalActionsListViewDelegate>(
            std::static_pointer_cast<IPadWeekScrollViewController>(shared_from_this())));
        // The menu finds the popover through its content link (ViewController::popoverController).
        m_menuPopoverController = std::make_shared<PopoverController>(m_iPadMenuViewController);
    }
    if (m_menuPopoverController->isPopoverVisible()) {
        m_menuPopoverController->dismissPopoverAnimated(true);
        return;
    }
    // A previous choice may have left the calendar list or the settings in the popover.
    m_menuPopoverController->setContentViewController(m_iPadMenuViewController);
    m_menuPopoverController->setPopoverContentSize(IPadMenuViewController::menuContentSize);
    m_menuPopoverController->presentPopoverFromBarButtonItem(item, PopoverArrowDirection::any, true);
}

bool IPadWeekScrollViewController::closeTopmostPopup() {
    if (m_menuPopoverController && m_menuPopoverController->isPopoverVisible()) {
        m_menuPopoverController->dismissPopoverAnimated(true);
        return true;
    }
    return WeekScrollViewController::closeTopmostPopup();
}

// The compact editor popover.

namespace {

std::shared_ptr<IPadDayViewController> dayViewControllerOfCard(const std::shared_ptr<DayView>& dayView) {
    const auto card = std::dynamic_pointer_cast<IPadDayView>(dayView);
    return card ? card->dayViewController() : nullptr;
}

} // namespace

std::shared_ptr<IPadEventDetailsController>
IPadWeekScrollViewController::createEventDetailsController(const std::shared_ptr<DayView>& dayView) {
    auto editor = IPadEventDetailsController::create();
    editor->setDayViewController(dayViewControllerOfCard(dayView));
    editor->setDelegate(std::static_pointer_cast<IPadWeekScrollViewController>(shared_from_this()));
    editor->setWeekScrollView(view());
    return editor;
}

void IPadWeekScrollViewController::handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event) {
    if (!event->event() || ReadOnlyCheck::isReadOnly(*event->event())) {
        return;
    }
    m_iPadEventDetailsController = createEventDetailsController(event->dayView());
    m_iPadEventDetailsController->setEventModel(EventModel(*event->event()));
    m_iPadEventDetailsController->show();
    const std::weak_ptr<IPadDayViewController> tappedDay = dayViewControllerOfCard(event->dayView());
    m_iPadEventDetailsController->onHide = [tappedDay] {
        if (const auto day = tappedDay.lock()) {
            day->deselectEventsAnimated(true, false);
        }
    };
}

void IPadWeekScrollViewController::handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event) {
    CopyMoveEventMode& copyMoveEventMode = CopyMoveEventMode::sharedInstance();
    if (copyMoveEventMode.quickMoveActivated()) {
        quickMoveEventToDate(event->date());
    } else if (copyMoveEventMode.copyActivated()) {
        copyEventToDate(event->date());
    } else {
        m_iPadEventDetailsController = createEventDetailsController(event->dayView());
        m_iPadEventDetailsController->setEventModel(EventModel(DateUtilities::day(event->date())));
        m_iPadEventDetailsController->show();
    }
}

bool IPadWeekScrollViewController::handleScreenKeyInput(const KeyInput& input) {
    const std::shared_ptr<PopoverController> popover =
        m_iPadEventDetailsController ? m_iPadEventDetailsController->popoverController() : nullptr;
    if (popover && popover->isPopoverVisible() && popover->contentViewController()) {
        popover->contentViewController()->handleKeyInput(input);
        // The week under the popover does not move with the arrows meanwhile.
        return true;
    }
    return WeekScrollViewController::handleScreenKeyInput(input);
}

void IPadWeekScrollViewController::eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew,
                                              bool spansMultipleEvents, bool delayed) {
    WeekScrollViewController::eventSaved(event, isNew, spansMultipleEvents, delayed);
}

void IPadWeekScrollViewController::eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) {
    WeekScrollViewController::eventCopiedOrMoved(event, copied);
}

void IPadWeekScrollViewController::eventDeleted(const QString& eventIdentifier, bool recurring) {
    WeekScrollViewController::eventDeleted(eventIdentifier, recurring);
}

void IPadWeekScrollViewController::toggleMovingEventMode() {
    WeekScrollViewController::toggleMovingEventMode();
}
