#include "ui/tablet/IPadWeekScrollViewController.h"

#include "kit/BarButtonItem.h"
#include "kit/PopoverController.h"
#include "ui/tablet/IPadDateTitleView.h"
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
