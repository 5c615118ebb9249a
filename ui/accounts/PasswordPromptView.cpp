#include "ui/accounts/PasswordPromptView.h"

#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/KeyInput.h"
#include "kit/Keyboard.h"
#include "kit/TextField.h"
#include "kit/Window.h"

#include <algorithm>

namespace {

constexpr double promptFieldInset = 16.0;
constexpr double promptFieldHeight = 31.0;
constexpr double promptFieldGap = 12.0;

} // namespace

PasswordPromptView::PasswordPromptView(const QString& accountTitle)
    : AlertView(localizedString(QStringLiteral("Password for “%1”")).arg(accountTitle), QString(), nullptr,
                localizedString(QStringLiteral("Cancel")),
                QStringList{localizedString(QStringLiteral("Sync"))}),
      m_passwordField(std::make_shared<TextField>()) {
    m_passwordField->setBorderStyle(TextField::BorderStyle::Bezel);
    m_passwordField->setBackgroundColor(Color(1, 1, 1));
    m_passwordField->setFont(Font::systemFontOfSize(17));
    m_passwordField->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
    m_passwordField->setSecureTextEntry(true);
    m_passwordField->setReturnKeyType(TextField::ReturnKeyType::Done);
}

PasswordPromptView::~PasswordPromptView() = default;

void PasswordPromptView::layoutSubviews() {
    AlertView::layoutSubviews();
    // The field takes the place where the buttons began; they move down below it.
    double buttonsTop = bounds().height();
    for (const std::shared_ptr<Button>& button : buttons()) {
        buttonsTop = std::min(buttonsTop, button->frame().minY());
    }
    const double shift = promptFieldHeight + promptFieldGap;
    m_passwordField->setFrame(
        Rect(promptFieldInset, buttonsTop, bounds().width() - 2 * promptFieldInset, promptFieldHeight));
    for (const std::shared_ptr<Button>& button : buttons()) {
        button->setFrame(button->frame().offset(0, shift));
    }
    const Point centre = center();
    setBounds(Rect(0, 0, bounds().width(), bounds().height() + shift));
    setCenter(centre);
}

void PasswordPromptView::didMoveToSuperview() {
    AlertView::didMoveToSuperview();
    if (window() == nullptr || isDismissing()) {
        return;
    }
    // Added here rather than when made: a view links to its superview only once it is owned.
    if (m_passwordField->superview().get() != this) {
        addSubview(m_passwordField);
    }
    // The field that was typed into before gets the keyboard back once the prompt goes.
    m_previousResponder = window()->firstResponder();
    m_passwordField->becomeFirstResponder();
    // Once the alert has taken its place in the middle, it moves up above the keyboard the field
    // brought up.
    const std::weak_ptr<View> weakSelf = weak_from_this();
    RunLoop::main().post([weakSelf] {
        const std::shared_ptr<View> self = weakSelf.lock();
        Window* window = self ? self->window() : nullptr;
        if (window == nullptr) {
            return;
        }
        const Rect area = window->bounds();
        const double keyboardTop = area.height() - Keyboard::heightForLandscape(area.width() > area.height());
        const double middle = std::max(self->bounds().height() / 2, keyboardTop / 2);
        self->setCenter(Point(self->center().x(), std::min(self->center().y(), middle)));
    });
}

bool PasswordPromptView::handleKeyInput(const KeyInput& input) {
    if (input.type == KeyInput::Type::Press && !input.hasCommandModifiers()) {
        if (input.key == Qt::Key_Escape) {
            return AlertView::handleKeyInput(input);
        }
        if (input.key == Qt::Key_Return || input.key == Qt::Key_Enter) {
            buttonTapped(syncButtonIndex);
            return true;
        }
    }
    // The alert holds the typing; what types text or deletes goes on to the field.
    if (input.typesText()) {
        m_passwordField->insertText(input.type == KeyInput::Type::InputMethod ? input.commitString
                                                                              : input.text);
    } else if (input.type == KeyInput::Type::Press && input.key == Qt::Key_Backspace) {
        m_passwordField->deleteBackward();
    }
    return true;
}

void PasswordPromptView::willDismiss(int buttonIndex) {
    m_passwordField->resignFirstResponder();
    if (const std::shared_ptr<View> previous = m_previousResponder.lock()) {
        previous->becomeFirstResponder();
    }
    AlertView::willDismiss(buttonIndex);
    if (auto answer = std::exchange(onAnswer, nullptr)) {
        answer(buttonIndex == syncButtonIndex ? std::optional<QString>(m_passwordField->text())
                                              : std::nullopt);
    }
}
