#pragma once

#include "core/sync/AccountSync.h"
#include "kit/AlertViewDelegate.h"
#include "kit/TableViewController.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class AccountFieldCell;
class AlertView;
class BarButtonItem;
class Label;
class LoadingIndicator;
class TextField;
class View;

// The form that adds a calendar server account: the server's address, the user name, the
// password and an optional name for the account. "Add" (possible once the first three are
// filled) asks the account service, with a spinner turning and the fields locked meanwhile;
// the account added, the screen goes back to the list. A failure is told in red under the
// fields; a certificate the system does not trust is shown by its fingerprint for the person
// to trust or not. Tab moves between the fields, Return in the last one adds, Escape cancels.
class AddAccountViewController : public TableViewController, public AlertViewDelegate {
public:
    enum Field { ServerField = 0, UserNameField = 1, PasswordField = 2, TitleField = 3 };
    static constexpr int fieldCount = 4;

    explicit AddAccountViewController(std::shared_ptr<AccountSync> accountSync);
    ~AddAccountViewController() override;

    TextField& textField(Field field);
    const std::shared_ptr<BarButtonItem>& addButtonItem() const { return m_addButtonItem; }
    const std::shared_ptr<LoadingIndicator>& spinner() const { return m_spinner; }
    // The failure shown under the fields; empty when there is none.
    QString message() const;
    // The fingerprint as hex pairs in upper case separated by ":", eight pairs a line.
    static QString fingerprintText(const QByteArray& sha256);

    void add();
    void cancel();

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;

    void clickedButtonAtIndex(AlertView& alertView, int buttonIndex) override;

    void viewDidAppear(bool animated) override;

protected:
    void viewDidLoad() override;
    bool handleScreenKeyInput(const KeyInput& input) override;

private:
    std::weak_ptr<AddAccountViewController> weakSelf();
    bool canAdd() const;
    void updateAddButton();
    void setAdding(bool adding);
    void addEnded(const AddAccountResult& result);
    void showMessage(const QString& message);
    void layoutFooter();

    std::shared_ptr<AccountSync> m_accountSync;
    std::array<std::shared_ptr<AccountFieldCell>, fieldCount> m_cells;
    std::shared_ptr<BarButtonItem> m_addButtonItem;
    std::shared_ptr<View> m_footer;
    std::shared_ptr<LoadingIndicator> m_spinner;
    std::shared_ptr<Label> m_messageLabel;
    std::shared_ptr<AlertView> m_certificateAlert;
    QByteArray m_offeredCertificate;
    QByteArray m_trustedCertificate;
    bool m_adding = false;
    bool m_focusedFirstField = false;
};
