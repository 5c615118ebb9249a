#pragma once

#include "core/settings/SettingOptions.h"
#include "kit/TableViewController.h"

#include <memory>

class MultiValueSelectControllerDelegate;

// The options of one setting, the current one checked. It opens scrolled to the current option;
// a tap reports the option to the setting and goes back to the settings screen.
class MultiValueSelectController : public TableViewController {
public:
    // The delegate (the setting) must outlive the screen.
    MultiValueSelectController(const QString& title, SettingOptions settingOptions,
                               MultiValueSelectControllerDelegate& delegate);

    const SettingOptions& settingOptions() const { return m_settingOptions; }

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    // The first appearance shows the current option in the middle.
    void viewWillAppear(bool animated) override;

private:
    SettingOptions m_settingOptions;
    MultiValueSelectControllerDelegate& m_delegate;
    bool m_scrolledToSelectedOption = false;
};
