#include "SamplePictures.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/events/EventService.h"
#include "core/sync/AccountSync.h"
#include "core/sync/CalDavStore.h"
#include "core/sync/MemoryKeyring.h"
#include "harness/ScreenHarness.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/KeyInput.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationController.h"
#include "kit/TableView.h"
#include "kit/TableViewCell.h"
#include "kit/TextField.h"
#include "kit/Window.h"
#include "testing/LocalHttpServer.h"
#include "testing/RadicaleServer.h"
#include "ui/accounts/AccountsViewController.h"
#include "ui/accounts/AddAccountViewController.h"
#include "ui/accounts/PasswordPromptPresenter.h"
#include "ui/accounts/PasswordPromptView.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The account list in a navigation controller as the window's root, over a real account service
// on the harness's store with a keyring in memory.
class AccountsScreenTest : public testing::Test {
protected:
    void SetUp() override {
        accountSync = std::make_shared<AccountSync>(harness.eventService().sharedEventStore(), keyring);
        previousAccountSync = AccountSync::setSharedInstance(accountSync);
        accounts = std::make_shared<AccountsViewController>(accountSync);
        navigation = std::make_shared<NavigationController>(accounts);
        harness.launch(navigation);
        settle();
    }

    void TearDown() override {
        for (const std::shared_ptr<AlertView>& alert : AlertView::queuedAlerts()) {
            alert->dismissWithClickedButtonIndex(alert->cancelButtonIndex(), false);
        }
        harness.runUntilIdle();
        AccountSync::setSharedInstance(previousAccountSync);
    }

    void settle(double seconds = 1.0) {
        harness.runUntilIdle();
        harness.advance(seconds);
        harness.runUntilIdle();
    }

    void tapView(const View& view) {
        harness.tap(view.convertRectToView(view.bounds(), nullptr).center());
        settle();
    }

    void tapRow(TableViewController& screen, const IndexPath& indexPath) {
        TableView& table = *screen.tableView();
        table.scrollToRowAtIndexPath(indexPath, TableView::ScrollPosition::Middle, false);
        harness.runUntilIdle();
        const auto cell = table.cellForRowAtIndexPath(indexPath);
        ASSERT_TRUE(cell);
        tapView(*cell);
    }

    void press(int key) {
        KeyInput input;
        input.key = key;
        harness.window().keyInput(input);
        harness.runUntilIdle();
    }

    // The list's rows as "title: detail", the actions as their titles.
    QStringList rows() {
        TableView& table = *accounts->tableView();
        QStringList texts;
        for (int section = 0; section < accounts->numberOfSectionsInTableView(table); ++section) {
            for (int row = 0; row < accounts->numberOfRowsInSection(table, section); ++row) {
                const auto cell = accounts->cellForRowAtIndexPath(table, IndexPath(row, section));
                const QString detail = cell->detailTextLabel().text();
                texts.append(cell->textLabel().text() + (detail.isEmpty() ? QString() : ": " + detail));
            }
        }
        return texts;
    }

    std::shared_ptr<AddAccountViewController> openAddAccount() {
        TableView& table = *accounts->tableView();
        const int actions = accounts->numberOfRowsInSection(table, AccountsViewController::ActionsSection);
        tapRow(*accounts, IndexPath(actions - 1, AccountsViewController::ActionsSection));
        return std::dynamic_pointer_cast<AddAccountViewController>(navigation->topViewController());
    }

    std::shared_ptr<PasswordPromptView> shownPrompt() const {
        const std::vector<std::shared_ptr<AlertView>> alerts = AlertView::queuedAlerts();
        return alerts.empty() ? nullptr : std::dynamic_pointer_cast<PasswordPromptView>(alerts.front());
    }

    ScreenHarness harness;
    std::shared_ptr<MemoryKeyring> keyring = std::make_shared<MemoryKeyring>();
    std::shared_ptr<AccountSync> accountSync;
    std::shared_ptr<AccountSync> previousAccountSync;
    std::shared_ptr<AccountsViewController> accounts;
    std::shared_ptr<NavigationController> navigation;
};

TEST_F(AccountsScreenTest,
       TheListShowsEachAccountsServerAndLastSyncFollowsTheServiceAndRemovesOnConfirmation) {
    EXPECT_EQ(accounts->title(), "Accounts");
    EXPECT_EQ(rows(), QStringList{"Add Account"});

    CalDavStore calDav(harness.eventStore());
    StoreError error;
    CalDavAccount home;
    home.title = QStringLiteral("Home");
    home.serverUrl = QUrl(QStringLiteral("http://127.0.0.1:9/dav/"));
    home.userName = QStringLiteral("bo");
    ASSERT_TRUE(calDav.addAccount(home, &error));
    CalDavAccount work;
    work.title = QStringLiteral("Work");
    work.serverUrl = QUrl(QStringLiteral("https://dav.example.org/"));
    work.userName = QStringLiteral("bo");
    ASSERT_TRUE(calDav.addAccount(work, &error));
    // 2026-12-07 09:30 in Berlin.
    ASSERT_TRUE(
        calDav.setAccountSynced(work, QUrl(), Date::withTimeIntervalSince1970(1'796'632'200.0), &error));

    // Sync Now: the home account's password is asked for; while its sync runs and after it failed,
    // the service tells the list.
    accountSync->syncNow();
    harness.runUntilIdle();
    const std::shared_ptr<PasswordPromptView> prompt = shownPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->title(), "Password for “Home”");
    EXPECT_TRUE(prompt->passwordField().isSecureTextEntry());
    EXPECT_TRUE(prompt->passwordField().isFirstResponder());
    harness.type(QStringLiteral("secretx"));
    press(Qt::Key_Backspace);
    EXPECT_EQ(prompt->passwordField().text(), "secret");
    settle();
    SamplePictures::keep(harness.render(), "accounts-password-prompt.png");
    press(Qt::Key_Return);
    settle();
    // The work account has no password either; it is declined.
    if (const std::shared_ptr<PasswordPromptView> second = shownPrompt()) {
        EXPECT_EQ(second->title(), "Password for “Work”");
        press(Qt::Key_Escape);
        settle();
    }
    const QStringList shown = rows();
    ASSERT_EQ(shown.size(), 4) << shown.join(" / ").toStdString();
    EXPECT_TRUE(shown[0].startsWith("Home: 127.0.0.1 · ")) << shown[0].toStdString();
    EXPECT_NE(shown[0], "Home: 127.0.0.1 · Never synced") << "the failure shows";
    EXPECT_EQ(shown[1],
              "Work: dav.example.org · Last synced " +
                  DateTimeFormatter::instance().formatShortDateTime(
                      *CalDavStore(harness.eventStore()).account(QStringLiteral("Work"))->lastSync));
    EXPECT_TRUE(shown[1].contains("12/7/26, 9:30")) << "in the locale's short styles";
    EXPECT_EQ(shown.mid(2), (QStringList{"Sync Now", "Add Account"}));
    SamplePictures::keep(harness.render(), "accounts.png");

    AccountStatus syncing{home, true, QString()};
    EXPECT_EQ(AccountsViewController::detailText(syncing), "127.0.0.1 · Syncing…");
    AccountStatus never{home, false, QString()};
    EXPECT_EQ(AccountsViewController::detailText(never), "127.0.0.1 · Never synced");

    // Removing asks first; Cancel keeps the account.
    tapRow(*accounts, IndexPath(1, AccountsViewController::AccountsSection));
    std::vector<std::shared_ptr<AlertView>> alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts.front()->message(),
              "Remove “Work”? Its calendars and events are removed from this computer; "
              "the server keeps them.");
    EXPECT_EQ(alerts.front()->buttonTitleAtIndex(alerts.front()->cancelButtonIndex()), "Cancel");
    SamplePictures::keep(harness.render(), "accounts-remove.png");
    press(Qt::Key_Escape);
    settle();
    EXPECT_EQ(rows().size(), 4);
    tapRow(*accounts, IndexPath(1, AccountsViewController::AccountsSection));
    alerts = AlertView::queuedAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    tapView(*alerts.front()->buttons().at(1));
    EXPECT_EQ(rows().size(), 3);
    EXPECT_TRUE(rows().front().startsWith("Home: ")) << "Work is gone";
    EXPECT_FALSE(CalDavStore(harness.eventStore()).account(QStringLiteral("Work")));

    EXPECT_EQ(PasswordPromptPresenter::conflictsMessage(QStringLiteral("Home"), 3),
              "3 events were changed both here and on the server of “Home”. Both versions are kept: this "
              "computer's has “ (changed on this computer)” in its title.");
}

TEST_F(AccountsScreenTest, AddAccountWaitsForTheFieldsShowsEachFailureAndGoesBackOnceAdded) {
    const std::shared_ptr<AddAccountViewController> form = openAddAccount();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->title(), "Add Account");
    TextField& server = form->textField(AddAccountViewController::ServerField);
    TextField& user = form->textField(AddAccountViewController::UserNameField);
    TextField& password = form->textField(AddAccountViewController::PasswordField);
    TextField& name = form->textField(AddAccountViewController::TitleField);
    EXPECT_EQ(server.placeholder(), "https://example.com");
    EXPECT_TRUE(password.isSecureTextEntry());
    EXPECT_TRUE(server.isFirstResponder());
    EXPECT_FALSE(form->addButtonItem()->enabled());
    SamplePictures::keep(harness.render(), "add-account.png");

    // Tab goes from field to field; Add waits for the server, the user and the password.
    harness.type(QStringLiteral("http://192.0.2.1/"));
    press(Qt::Key_Tab);
    EXPECT_TRUE(user.isFirstResponder());
    harness.type(QStringLiteral("orvella"));
    EXPECT_FALSE(form->addButtonItem()->enabled());
    press(Qt::Key_Tab);
    EXPECT_TRUE(password.isFirstResponder());
    harness.type(QStringLiteral("wrong"));
    EXPECT_TRUE(form->addButtonItem()->enabled());
    press(Qt::Key_Tab);
    EXPECT_TRUE(name.isFirstResponder());

    // Return in the last field adds; plain http to another computer is refused.
    press(Qt::Key_Return);
    settle();
    EXPECT_FALSE(form->spinner()->isAnimating());
    EXPECT_TRUE(form->message().contains("https://")) << form->message().toStdString();
    EXPECT_TRUE(server.enabled());
    EXPECT_EQ(navigation->topViewController(), form);
    SamplePictures::keep(harness.render(), "add-account-failed.png");

    // A web server that is no calendar server.
    LocalHttpServer web(
        {{"/", LocalHttpServer::Answer{200, {{"Content-Type", "text/html"}}, "<html></html>", false}}});
    server.setText(web.url().toString());
    form->add();
    EXPECT_TRUE(form->spinner()->isAnimating());
    EXPECT_FALSE(server.enabled());
    EXPECT_FALSE(form->addButtonItem()->enabled());
    SamplePictures::keep(harness.render(), "add-account-adding.png");
    settle();
    EXPECT_FALSE(form->spinner()->isAnimating());
    EXPECT_TRUE(server.enabled());
    const QString notCalDav = form->message();
    EXPECT_FALSE(notCalDav.isEmpty()) << "not a calendar server";

    if (const QString why = RadicaleServer::notStartedWhy(); !why.isEmpty()) {
        GTEST_SKIP() << why.toStdString();
    }
    RadicaleServer radicale;
    const QString failure = radicale.start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
    ASSERT_TRUE(radicale.createCalendar(QStringLiteral("work"), QStringLiteral("Work")).isEmpty());
    server.setText(radicale.url().toString());
    form->add();
    settle();
    const QString wrongPassword = form->message();
    EXPECT_TRUE(wrongPassword.contains("password")) << wrongPassword.toStdString();
    EXPECT_NE(wrongPassword, notCalDav);
    EXPECT_EQ(navigation->topViewController(), form);

    password.setText(radicale.password());
    name.setText(QStringLiteral("Radicale"));
    form->add();
    settle();
    EXPECT_EQ(navigation->topViewController(), accounts) << "back in the list";
    const QStringList shown = rows();
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown.front().startsWith("Radicale: 127.0.0.1 · ")) << shown.front().toStdString();
    EXPECT_EQ(keyring->passwords.size(), 1u);
    SamplePictures::keep(harness.render(), "accounts-added.png");
}

TEST_F(AccountsScreenTest, EscapeCancelsTheFormAndACertificateIsShownAsHexPairs) {
    const std::shared_ptr<AddAccountViewController> form = openAddAccount();
    ASSERT_TRUE(form);
    press(Qt::Key_Escape);
    settle();
    EXPECT_EQ(navigation->topViewController(), accounts);

    QByteArray sha256;
    for (int byte = 0; byte < 32; ++byte) {
        sha256.append(static_cast<char>(byte * 8));
    }
    EXPECT_EQ(AddAccountViewController::fingerprintText(sha256),
              "00:08:10:18:20:28:30:38:\n40:48:50:58:60:68:70:78:\n80:88:90:98:A0:A8:B0:B8:\n"
              "C0:C8:D0:D8:E0:E8:F0:F8");
}

} // namespace
