#pragma once

#include "ui/settings/SettingsViewController.h"

// The settings in the menu's popover: no "Done" (a touch outside closes the popover), and the
// popover as high as the settings' table.
class IPadSettingsViewController : public SettingsViewController {
public:
    static constexpr double popoverWidth = 320.0;

    using SettingsViewController::SettingsViewController;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

protected:
    void viewDidLoad() override;

private:
    void fitPopoverToTable();
};
