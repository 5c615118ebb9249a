#pragma once

#include "kit/TableViewController.h"

#include <memory>
#include <vector>

class CalendarDirectory;
class MultiSelectSetting;
class Setting;

// The settings: one grouped section per setting (a group of settings shares one), each showing
// the stored value. A multi-select setting opens its option list; a switch flips in place. The
// last section is empty and carries the version in its footer. Values are read at every reload,
// so the screen always shows what is stored.
class SettingsViewController : public TableViewController {
public:
    // The calendars (the event service) decide whether the default calendar is offered.
    explicit SettingsViewController(const CalendarDirectory& calendars);
    ~SettingsViewController() override;

    // The top-level settings, and those of them shown now.
    const std::vector<std::shared_ptr<Setting>>& settings() const { return m_settings; }
    const std::vector<std::shared_ptr<Setting>>& visibleSettings() const { return m_visibleSettings; }

    void closeSettings();
    // Shows the stored values again; the selected row is deselected with the animation given.
    void reloadAndDeselect(bool animated);
    // "Orvella 1.2 (build 34)", or without a build version "Orvella 1.2".
    static QString versionText();

    void viewWillAppear(bool animated) override;

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    QString titleForHeaderInSection(TableView& tableView, int section) override;
    QString titleForFooterInSection(TableView& tableView, int section) override;
    std::optional<double> heightForHeaderInSection(TableView& tableView, int section) override;
    std::optional<double> heightForFooterInSection(TableView& tableView, int section) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

protected:
    // The "Done" button that closes the settings.
    void viewDidLoad() override;

private:
    std::weak_ptr<SettingsViewController> weakSelf();
    bool isVersionSection(int section) const;
    Setting& settingAtIndexPath(const IndexPath& indexPath) const;
    std::shared_ptr<ViewController> multiSelectViewController(MultiSelectSetting& setting);

    std::vector<std::shared_ptr<Setting>> m_settings;
    std::vector<std::shared_ptr<Setting>> m_visibleSettings;
};
