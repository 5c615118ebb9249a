#include "ui/accounts/AccountsViewController.h"

#include "core/calendar/DateTimeFormatter.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/TableView.h"
#include "kit/TableViewCell.h"
#include "ui/accounts/AddAccountViewController.h"

#include <utility>

namespace {

const Color accountFailureColor = Color::fromRgb255(190, 30, 30);
const Color accountDetailColor = Color::fromRgb255(128, 128, 128);
const Color accountActionColor = Color::fromRgb255(51, 80, 132);

} // namespace

AccountsViewController::AccountsViewController(std::shared_ptr<AccountSync> accountSync)
    : TableViewController(TableView::Style::Grouped),
      m_accountSync(accountSync ? std::move(accountSync) : AccountSync::sharedInstance().shared_from_this()) {
    setTitle(localizedString(QStringLiteral("Accounts")));
}

AccountsViewController::~AccountsViewController() {
    if (m_observer) {
        m_accountSync->removeObserver(*m_observer);
    }
}

void AccountsViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    // The view may load again after a memory warning; the screen observes once.
    if (!m_observer) {
        const std::weak_ptr<AccountsViewController> weakSelf =
            std::static_pointer_cast<AccountsViewController>(shared_from_this());
        m_observer = m_accountSync->addObserver([weakSelf] {
            if (const auto self = weakSelf.lock()) {
                self->reloadAccounts();
            }
        });
    }
    reloadAccounts();
}

void AccountsViewController::viewWillAppear(bool animated) {
    TableViewController::viewWillAppear(animated);
    reloadAccounts();
}

QString AccountsViewController::detailText(const AccountStatus& status) {
    QString state;
    if (status.syncing) {
        state = localizedString(QStringLiteral("Syncing…"));
    } else if (!status.failure.isEmpty()) {
        state = status.failure;
    } else if (status.account.lastSync) {
        state = localizedString(QStringLiteral("Last synced %1"))
                    .arg(DateTimeFormatter::instance().formatShortDateTime(*status.account.lastSync));
    } else {
        state = localizedString(QStringLiteral("Never synced"));
    }
    const QString host = status.account.serverUrl.host();
    return host.isEmpty() ? state : host + QStringLiteral(" · ") + state;
}

void AccountsViewController::reloadAccounts() {
    m_accounts = m_accountSync->accounts();
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

std::vector<AccountsViewController::Action> AccountsViewController::actions() const {
    if (m_accounts.empty()) {
        return {Action::AddAccount};
    }
    return {Action::SyncNow, Action::AddAccount};
}

void AccountsViewController::syncNow() {
    m_accountSync->syncNow();
}

void AccountsViewController::addAccount() {
    if (auto navigation = navigationController()) {
        navigation->pushViewController(std::make_shared<AddAccountViewController>(m_accountSync), true);
    }
}

void AccountsViewController::confirmRemoval(const AccountStatus& status) {
    m_accountToRemove = status.account.identifier;
    m_removeAlert = std::make_shared<AlertView>(
        localizedString(QStringLiteral("Remove Account")),
        localizedString(
            QStringLiteral("Remove “%1”? Its calendars and events are removed from this computer; "
                           "the server keeps them."))
            .arg(status.account.title),
        std::static_pointer_cast<AccountsViewController>(shared_from_this()),
        localizedString(QStringLiteral("Cancel")), QStringList{localizedString(QStringLiteral("Remove"))});
    m_removeAlert->show();
}

void AccountsViewController::clickedButtonAtIndex(AlertView& alertView, int buttonIndex) {
    if (&alertView != m_removeAlert.get()) {
        return;
    }
    m_removeAlert.reset();
    const QString identifier = std::exchange(m_accountToRemove, QString());
    if (buttonIndex != alertView.cancelButtonIndex()) {
        removeAccount(identifier);
    }
}

void AccountsViewController::removeAccount(const QString& accountIdentifier) {
    StoreError error;
    if (!m_accountSync->removeAccount(accountIdentifier, &error)) {
        std::make_shared<AlertView>(localizedString(QStringLiteral("Cannot Remove Account")),
                                    error.localizedDescription, nullptr,
                                    localizedString(QStringLiteral("OK")))
            ->show();
    }
    reloadAccounts();
}

int AccountsViewController::numberOfSectionsInTableView(TableView&) {
    return 2;
}

int AccountsViewController::numberOfRowsInSection(TableView&, int section) {
    return static_cast<int>(section == AccountsSection ? m_accounts.size() : actions().size());
}

std::shared_ptr<TableViewCell> AccountsViewController::cellForRowAtIndexPath(TableView& tableView,
                                                                             const IndexPath& indexPath) {
    const auto row = static_cast<std::size_t>(indexPath.row());
    if (indexPath.section() == AccountsSection) {
        const QString identifier = QStringLiteral("AccountCell");
        std::shared_ptr<TableViewCell> cell = tableView.dequeueReusableCellWithIdentifier(identifier);
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, identifier);
            cell->detailTextLabel().setFont(Font::systemFontOfSize(13));
            cell->detailTextLabel().setAdjustsFontSizeToFitWidth(true);
        }
        const AccountStatus& status = m_accounts.at(row);
        cell->textLabel().setText(status.account.title);
        cell->detailTextLabel().setText(detailText(status));
        cell->detailTextLabel().setTextColor(
            !status.syncing && !status.failure.isEmpty() ? accountFailureColor : accountDetailColor);
        return cell;
    }
    const QString identifier = QStringLiteral("AccountActionCell");
    std::shared_ptr<TableViewCell> cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, identifier);
        cell->textLabel().setTextAlignment(TextAlignment::Center);
        cell->textLabel().setTextColor(accountActionColor);
    }
    const Action action = actions().at(row);
    cell->textLabel().setText(action == Action::SyncNow ? localizedString(QStringLiteral("Sync Now"))
                                                        : localizedString(QStringLiteral("Add Account")));
    return cell;
}

void AccountsViewController::didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto row = static_cast<std::size_t>(indexPath.row());
    if (indexPath.section() == AccountsSection) {
        if (row < m_accounts.size()) {
            confirmRemoval(m_accounts[row]);
        }
        return;
    }
    if (actions().at(row) == Action::SyncNow) {
        syncNow();
    } else {
        addAccount();
    }
}
