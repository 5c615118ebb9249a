#include "ui/tablet/IPadVisibleCalendarsViewController.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/events/EventService.h"
#include "core/settings/AppSettings.h"

std::shared_ptr<IPadVisibleCalendarsViewController> IPadVisibleCalendarsViewController::create() {
    auto screen = std::make_shared<IPadVisibleCalendarsViewController>(EventService::sharedInstance(),
                                                                       AppSettings::instance());
    screen->reloadCalendars();
    return screen;
}

void IPadVisibleCalendarsViewController::viewDidLoad() {
    VisibleCalendarsViewController::viewDidLoad();
    tableView()->reloadData();
    fitPopoverToTable();
}

void IPadVisibleCalendarsViewController::viewDidAppear(bool animated) {
    VisibleCalendarsViewController::viewDidAppear(animated);
    fitPopoverToTable();
}

void IPadVisibleCalendarsViewController::fitPopoverToTable() {
    setContentSizeForViewInPopover(Size(popoverWidth, tableView()->contentSize().height()));
}

void IPadVisibleCalendarsViewController::onShowOrHideCalendar() {
    ApplicationEventDispatcher::sharedInstance().dispatch<EventStoreChangedEvent>();
}

std::shared_ptr<BarButtonItem> IPadVisibleCalendarsViewController::getRightBarButtonItem() {
    return nullptr;
}

void IPadVisibleCalendarsViewController::configureBarButtonItemsForEditing(bool, bool) {}
