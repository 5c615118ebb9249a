#pragma once

#include "core/sync/AccountSync.h"
#include "kit/AlertViewDelegate.h"
#include "kit/TableViewController.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class AlertView;

// The calendar server accounts, pushed by the settings: one row each with its title and a line
// telling the server's host and how its last sync went, a "Sync Now" row while there are
// accounts, and "Add Account". Selecting an account asks whether to remove it. The list follows
// the account service's reports while the screen exists.
class AccountsViewController : public TableViewController, public AlertViewDelegate {
public:
    enum Section { AccountsSection = 0, ActionsSection = 1 };

    // The service is the shared one unless given.
    explicit AccountsViewController(std::shared_ptr<AccountSync> accountSync = nullptr);
    ~AccountsViewController() override;

    const std::vector<AccountStatus>& accounts() const { return m_accounts; }
    // The line under an account's title: "host · Last synced …", "host · Never synced",
    // "host · Syncing…", or the host and why the last sync failed.
    static QString detailText(const AccountStatus& status);

    void reloadAccounts();
    void syncNow();
    void addAccount();
    // Asks before removing the account.
    void confirmRemoval(const AccountStatus& status);

    void viewWillAppear(bool animated) override;

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    void clickedButtonAtIndex(AlertView& alertView, int buttonIndex) override;

protected:
    void viewDidLoad() override;

private:
    enum class Action { SyncNow, AddAccount };

    std::vector<Action> actions() const;
    void removeAccount(const QString& accountIdentifier);

    std::shared_ptr<AccountSync> m_accountSync;
    std::optional<AccountSync::ObserverId> m_observer;
    std::vector<AccountStatus> m_accounts;
    std::shared_ptr<AlertView> m_removeAlert;
    QString m_accountToRemove;
};
