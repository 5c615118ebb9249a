#include "ui/tablet/IPadMenuViewController.h"

#include "core/events/EventService.h"
#include "foundation/Localization.h"
#include "kit/NavigationController.h"
#include "kit/PopoverController.h"
#include "ui/common/WeakScreenAction.h"
#include "ui/tablet/IPadSettingsViewController.h"
#include "ui/tablet/IPadVisibleCalendarsViewController.h"
#include "ui/week/GlobalActionsListView.h"
#include "ui/week/GlobalActionsListViewDelegate.h"
#include "ui/week/MenuArtwork.h"

void IPadMenuViewController::loadView() {
    auto view = std::make_shared<View>(Rect(Point(), menuContentSize));
    view->setBackgroundColor(std::nullopt);
    setView(view);
}

void IPadMenuViewController::viewDidLoad() {
    MenuArtwork::registerImages();
    addButton(localizedString(QStringLiteral("Calendars")), &IPadMenuViewController::openVisibleCalendars,
              QStringLiteral("menu-calendaricon"));
    addButton(localizedString(QStringLiteral("Jump to Week")), &IPadMenuViewController::openJumpToWeekOrMonth,
              QStringLiteral("menu-jumpicon"));
    addButton(localizedString(QStringLiteral("Search")), &IPadMenuViewController::openSearch,
              QStringLiteral("menu-searchicon"));
    addButton(localizedString(QStringLiteral("Settings")), &IPadMenuViewController::openSettings,
              QStringLiteral("menu-settingsicon"));
    setContentSizeForViewInPopover(menuContentSize);
}

void IPadMenuViewController::viewDidAppear(bool) {
    setContentSizeForViewInPopover(menuContentSize);
}

void IPadMenuViewController::addButton(const QString& title, void (IPadMenuViewController::*action)(),
                                       const QString& icon) {
    auto button = std::make_shared<GlobalActionsListView::Button>(
        Rect(0, m_currentY, buttonWidth, buttonHeight), title, icon);
    const std::weak_ptr<IPadMenuViewController> weakSelf =
        std::static_pointer_cast<IPadMenuViewController>(shared_from_this());
    button->onTouchUpInside = weakScreenAction(weakSelf, action);
    view()->addSubview(button);
    m_currentY += buttonHeight + buttonSpacing;
}

void IPadMenuViewController::openInPopover(const std::shared_ptr<ViewController>& screen) {
    if (const std::shared_ptr<PopoverController> popover = popoverController()) {
        popover->setContentViewController(std::make_shared<NavigationController>(screen), true);
    }
}

void IPadMenuViewController::openVisibleCalendars() {
    openInPopover(IPadVisibleCalendarsViewController::create());
}

void IPadMenuViewController::openSettings() {
    openInPopover(std::make_shared<IPadSettingsViewController>(EventService::sharedInstance()));
}

void IPadMenuViewController::openJumpToWeekOrMonth() {
    tellDelegateAndDismiss(static_cast<int>(GlobalActionsListView::Action::JumpToWeek));
}

void IPadMenuViewController::openSearch() {
    tellDelegateAndDismiss(static_cast<int>(GlobalActionsListView::Action::Search));
}

void IPadMenuViewController::tellDelegateAndDismiss(int buttonIndex) {
    const std::shared_ptr<PopoverController> popover = popoverController();
    if (const std::shared_ptr<GlobalActionsListViewDelegate> delegate = m_delegate.lock()) {
        delegate->clickedButtonAtIndex(buttonIndex);
    }
    if (popover) {
        popover->dismissPopoverAnimated(true);
    }
}
