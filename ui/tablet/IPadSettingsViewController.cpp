#include "ui/tablet/IPadSettingsViewController.h"

#include "kit/NavigationItem.h"

void IPadSettingsViewController::viewDidLoad() {
    SettingsViewController::viewDidLoad();
    reloadAndDeselect(false);
    fitPopoverToTable();
    navigationItem()->setRightBarButtonItem(nullptr);
}

void IPadSettingsViewController::viewWillAppear(bool animated) {
    // Back from an option list, the popover takes the settings' size again.
    forcePopoverSize();
    SettingsViewController::viewWillAppear(animated);
}

void IPadSettingsViewController::viewDidAppear(bool animated) {
    SettingsViewController::viewDidAppear(animated);
    fitPopoverToTable();
}

void IPadSettingsViewController::fitPopoverToTable() {
    setContentSizeForViewInPopover(Size(popoverWidth, tableView()->contentSize().height()));
}
