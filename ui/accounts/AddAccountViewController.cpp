#include "ui/accounts/AddAccountViewController.h"

#include "core/sync/CalDavStore.h"

#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/Font.h"
#include "kit/KeyInput.h"
#include "kit/Label.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/StringDrawing.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "ui/accounts/AccountFieldCell.h"
#include "ui/common/WeakScreenAction.h"

#include <QStringList>

#include <algorithm>
#include <utility>

namespace {

constexpr double addAccountFooterMargin = 20.0;
constexpr double addAccountFooterGap = 10.0;
constexpr int fingerprintPairsPerLine = 8;
const Color addAccountFailureColor = Color::fromRgb255(190, 30, 30);

} // namespace

AddAccountViewController::AddAccountViewController(std::shared_ptr<AccountSync> accountSync)
    : TableViewController(TableView::Style::Grouped), m_accountSync(std::move(accountSync)),
      m_cells{std::make_shared<AccountFieldCell>(localizedString(QStringLiteral("Server"))),
              std::make_shared<AccountFieldCell>(localizedString(QStringLiteral("User Name"))),
              std::make_shared<AccountFieldCell>(localizedString(QStringLiteral("Password"))),
              std::make_shared<AccountFieldCell>(localizedString(QStringLiteral("Account Name")))},
      m_spinner(std::make_shared<LoadingIndicator>(LoadingIndicator::Style::Gray)),
      m_messageLabel(std::make_shared<Label>()) {
    setTitle(localizedString(QStringLiteral("Add Account")));
    textField(ServerField).setPlaceholder(QStringLiteral("https://example.com"));
    textField(ServerField).setKeyboardType(TextField::KeyboardType::Url);
    textField(UserNameField).setPlaceholder(localizedString(QStringLiteral("Required")));
    textField(PasswordField).setPlaceholder(localizedString(QStringLiteral("Required")));
    textField(PasswordField).setSecureTextEntry(true);
    textField(TitleField).setPlaceholder(localizedString(QStringLiteral("Optional")));
    for (const Field field : {ServerField, UserNameField, PasswordField}) {
        textField(field).setReturnKeyType(TextField::ReturnKeyType::Next);
    }
    textField(TitleField).setReturnKeyType(TextField::ReturnKeyType::Done);
    m_messageLabel->setFont(Font::systemFontOfSize(15));
    m_messageLabel->setTextColor(addAccountFailureColor);
    m_messageLabel->setTextAlignment(TextAlignment::Center);
    m_messageLabel->setLineBreakMode(LineBreakMode::WordWrap);
    m_messageLabel->setNumberOfLines(0);
    m_messageLabel->setBackgroundColor(Color(0, 0, 0, 0));
}

AddAccountViewController::~AddAccountViewController() = default;

std::weak_ptr<AddAccountViewController> AddAccountViewController::weakSelf() {
    return std::static_pointer_cast<AddAccountViewController>(shared_from_this());
}

TextField& AddAccountViewController::textField(Field field) {
    return m_cells.at(static_cast<std::size_t>(field))->textField();
}

QString AddAccountViewController::message() const {
    return m_messageLabel->text();
}

QString AddAccountViewController::fingerprintText(const QByteArray& sha256) {
    const QString pairs = CalDavStore::fingerprintText(sha256);
    QStringList lines;
    const qsizetype lineLength = fingerprintPairsPerLine * 3;
    for (qsizetype start = 0; start < pairs.size(); start += lineLength) {
        lines.append(pairs.mid(start, lineLength));
    }
    return lines.join(QLatin1Char('\n'));
}

void AddAccountViewController::viewDidLoad() {
    TableViewController::viewDidLoad();
    const std::weak_ptr<AddAccountViewController> weak = weakSelf();
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel, weakScreenAction(weak, &AddAccountViewController::cancel)));
    m_addButtonItem =
        std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Add")), BarButtonItem::Style::Done,
                                        weakScreenAction(weak, &AddAccountViewController::add));
    navigationItem()->setRightBarButtonItem(m_addButtonItem);
    for (int index = 0; index < fieldCount; ++index) {
        TextField& field = textField(static_cast<Field>(index));
        field.onEditingChanged = weakScreenAction(weak, &AddAccountViewController::updateAddButton);
        if (index + 1 < fieldCount) {
            // Return goes on to the next field.
            const auto next = static_cast<Field>(index + 1);
            field.onEditingDidEndOnExit = [weak, next] {
                if (const auto self = weak.lock()) {
                    self->textField(next).becomeFirstResponder();
                }
            };
        } else {
            field.onEditingDidEndOnExit = weakScreenAction(weak, &AddAccountViewController::add);
        }
    }
    m_footer = std::make_shared<View>();
    m_footer->setBackgroundColor(Color(0, 0, 0, 0));
    m_footer->addSubview(m_spinner);
    m_footer->addSubview(m_messageLabel);
    layoutFooter();
    updateAddButton();
}

void AddAccountViewController::viewDidAppear(bool animated) {
    TableViewController::viewDidAppear(animated);
    if (!m_focusedFirstField) {
        m_focusedFirstField = true;
        textField(ServerField).becomeFirstResponder();
    }
}

void AddAccountViewController::layoutFooter() {
    if (!m_footer) {
        return;
    }
    const double width = tableView()->bounds().width();
    const double textWidth = std::max(0.0, width - 2 * addAccountFooterMargin);
    double y = addAccountFooterGap;
    if (!m_spinner->hidden()) {
        const Size spinnerSize = LoadingIndicator::sizeForStyle(m_spinner->style());
        m_spinner->setFrame(
            Rect((width - spinnerSize.width()) / 2, y, spinnerSize.width(), spinnerSize.height()));
        y += spinnerSize.height() + addAccountFooterGap;
    }
    const Size textSize = m_messageLabel->text().isEmpty()
                              ? Size(textWidth, 0)
                              : StringDrawing::sizeWithFont(m_messageLabel->text(), m_messageLabel->font(),
                                                            Size(textWidth, 0), LineBreakMode::WordWrap);
    m_messageLabel->setFrame(Rect(addAccountFooterMargin, y, textWidth, textSize.height()));
    y += textSize.height() + addAccountFooterGap;
    m_footer->setFrame(Rect(0, 0, width, y));
    tableView()->setTableFooterView(m_footer);
}

bool AddAccountViewController::canAdd() const {
    for (const Field field : {ServerField, UserNameField, PasswordField}) {
        if (m_cells.at(static_cast<std::size_t>(field))->textField().text().trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

void AddAccountViewController::updateAddButton() {
    if (m_addButtonItem) {
        m_addButtonItem->setEnabled(!m_adding && canAdd());
    }
}

void AddAccountViewController::setAdding(bool adding) {
    m_adding = adding;
    for (const std::shared_ptr<AccountFieldCell>& cell : m_cells) {
        cell->textField().setEnabled(!adding);
    }
    if (adding) {
        m_messageLabel->setText(QString());
        m_spinner->startAnimating();
    } else {
        m_spinner->stopAnimating();
    }
    updateAddButton();
    layoutFooter();
}

void AddAccountViewController::add() {
    if (m_adding || !canAdd()) {
        return;
    }
    AccountForm form;
    form.serverAddress = textField(ServerField).text().trimmed();
    form.userName = textField(UserNameField).text().trimmed();
    form.password = textField(PasswordField).text();
    form.title = textField(TitleField).text().trimmed();
    form.confirmedCertificateSha256 = m_trustedCertificate;
    setAdding(true);
    const std::weak_ptr<AddAccountViewController> weak = weakSelf();
    m_accountSync->addAccount(form, [weak](const AddAccountResult& result) {
        if (const auto self = weak.lock()) {
            self->addEnded(result);
        }
    });
}

void AddAccountViewController::addEnded(const AddAccountResult& result) {
    setAdding(false);
    switch (result.outcome) {
    case AddAccountResult::Outcome::Added:
        if (auto navigation = navigationController()) {
            navigation->popViewControllerAnimated(true);
        }
        return;
    case AddAccountResult::Outcome::CertificateToConfirm:
        m_offeredCertificate = result.certificateSha256;
        m_certificateAlert = std::make_shared<AlertView>(
            localizedString(QStringLiteral("Confirm the server's certificate")),
            localizedString(QStringLiteral("SHA-256 fingerprint:")) + QLatin1Char('\n') +
                fingerprintText(result.certificateSha256),
            std::static_pointer_cast<AddAccountViewController>(shared_from_this()),
            localizedString(QStringLiteral("Cancel")), QStringList{localizedString(QStringLiteral("Trust"))});
        m_certificateAlert->show();
        return;
    case AddAccountResult::Outcome::BadAddress:
    case AddAccountResult::Outcome::WrongPassword:
    case AddAccountResult::Outcome::NotCalDav:
    case AddAccountResult::Outcome::NoNetwork:
    case AddAccountResult::Outcome::Failed:
        showMessage(result.message);
        return;
    }
}

void AddAccountViewController::showMessage(const QString& message) {
    m_messageLabel->setText(message);
    layoutFooter();
}

void AddAccountViewController::clickedButtonAtIndex(AlertView& alertView, int buttonIndex) {
    if (&alertView != m_certificateAlert.get()) {
        return;
    }
    m_certificateAlert.reset();
    if (buttonIndex != alertView.cancelButtonIndex()) {
        m_trustedCertificate = std::exchange(m_offeredCertificate, QByteArray());
        add();
    }
}

void AddAccountViewController::cancel() {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

bool AddAccountViewController::handleScreenKeyInput(const KeyInput& input) {
    if (input.type == KeyInput::Type::Press && input.key == Qt::Key_Escape) {
        cancel();
        return true;
    }
    return TableViewController::handleScreenKeyInput(input);
}

int AddAccountViewController::numberOfSectionsInTableView(TableView&) {
    return 1;
}

int AddAccountViewController::numberOfRowsInSection(TableView&, int) {
    return fieldCount;
}

std::shared_ptr<TableViewCell> AddAccountViewController::cellForRowAtIndexPath(TableView&,
                                                                               const IndexPath& indexPath) {
    return m_cells.at(static_cast<std::size_t>(indexPath.row()));
}
