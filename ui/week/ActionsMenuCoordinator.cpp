#include "ui/week/ActionsMenuCoordinator.h"

#include "core/events/EventService.h"
#include "kit/InterfaceOrientation.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "ui/calendars/VisibleCalendarsViewController.h"
#include "ui/settings/SettingsViewController.h"
#include "ui/week/GlobalActionsListView.h"

ActionsMenuCoordinator::ActionsMenuCoordinator(EventService& eventService) : m_eventService(eventService) {}

void ActionsMenuCoordinator::showActions() {
    const bool landscape = InterfaceOrientation::isLandscape();
    std::shared_ptr<GlobalActionsListView>& menu = landscape ? m_landscapeMenuView : m_portraitMenuView;
    if (!menu) {
        menu = GlobalActionsListView::initForOrientation(landscape);
        menu->setDelegate(std::static_pointer_cast<GlobalActionsListViewDelegate>(shared_from_this()));
    }
    menu->show();
}

void ActionsMenuCoordinator::clickedButtonAtIndex(int buttonIndex) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    switch (static_cast<GlobalActionsListView::Action>(buttonIndex)) {
    case GlobalActionsListView::Action::Calendars:
        presentCalendarsScreen();
        break;
    case GlobalActionsListView::Action::JumpToWeek:
        host->openWeekPicker(true);
        break;
    case GlobalActionsListView::Action::Search:
        host->openSearchFromMenu();
        break;
    case GlobalActionsListView::Action::Settings:
        presentSettingsScreen();
        break;
    }
}

void ActionsMenuCoordinator::presentSettingsScreen() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    host->closeSearchForMenuScreen();
    auto navigation =
        std::make_shared<NavigationController>(std::make_shared<SettingsViewController>(m_eventService));
    navigation->navigationBar()->setBarStyle(NavigationBar::BarStyle::Default);
    host->weekScreen().presentModalViewController(navigation, true);
}

void ActionsMenuCoordinator::presentCalendarsScreen() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    host->closeSearchForMenuScreen();
    VisibleCalendarsViewController::presentFrom(host->weekScreen());
}

bool ActionsMenuCoordinator::hideShownMenu() {
    for (const auto& menu : {m_portraitMenuView, m_landscapeMenuView}) {
        if (menu && menu->superview() && !menu->hidden()) {
            menu->hide();
            return true;
        }
    }
    return false;
}
