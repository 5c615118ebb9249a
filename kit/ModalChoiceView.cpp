#include "kit/ModalChoiceView.h"

#include "kit/KeyInput.h"

#include "kit/Button.h"
#include "kit/Label.h"

ModalChoiceView::ModalChoiceView(const Rect& frame) : View(frame), m_titleLabel(std::make_shared<Label>()) {}

ModalChoiceView::~ModalChoiceView() = default;

QString ModalChoiceView::title() const {
    return m_titleLabel->text();
}

void ModalChoiceView::setTitle(const QString& title) {
    m_titleLabel->setText(title);
    setNeedsLayout();
}

int ModalChoiceView::addButtonWithTitle(const QString& title) {
    return m_buttonTitles.add(title);
}

QString ModalChoiceView::buttonTitleAtIndex(int buttonIndex) const {
    return m_buttonTitles.at(buttonIndex);
}

void ModalChoiceView::setCancelButtonIndex(int buttonIndex) {
    m_cancelButtonIndex = m_buttonTitles.validIndexOrNone(buttonIndex);
}

std::shared_ptr<ModalChoiceView> ModalChoiceView::self() {
    return std::static_pointer_cast<ModalChoiceView>(shared_from_this());
}

void ModalChoiceView::beginPresentation() {
    m_visible = true;
    m_dismissing = false;
    m_retainedWhileVisible = self();
}

void ModalChoiceView::rebuildButtons() {
    if (m_titleLabel->superview().get() != this) {
        addSubview(m_titleLabel);
    }
    for (const auto& button : m_buttons) {
        if (button) {
            button->removeFromSuperview();
        }
    }
    m_buttons.clear();
    const std::weak_ptr<View> weakSelf = weak_from_this();
    for (int index = 0; index < numberOfButtons(); ++index) {
        std::shared_ptr<Button> button = makeButton(index);
        if (button) {
            button->onTouchUpInside = [weakSelf, index] {
                if (auto choice = weakSelf.lock()) {
                    std::static_pointer_cast<ModalChoiceView>(choice)->buttonTapped(index);
                }
            };
            addSubview(button);
        }
        m_buttons.push_back(std::move(button));
    }
}

void ModalChoiceView::coverWindow(View& window, DimmingView::Style style) {
    m_dimmingView = std::make_shared<DimmingView>(window.bounds(), style);
    window.addSubview(m_dimmingView);
    m_dimmingView->addSubview(self());
}

void ModalChoiceView::buttonTapped(int buttonIndex) {
    if (!m_visible || m_dismissing) {
        return;
    }
    const auto keepAlive = self();
    buttonClicked(buttonIndex);
    // Whoever heard the click may have dismissed the choice already.
    if (m_visible && !m_dismissing) {
        dismiss(buttonIndex, true);
    }
}

bool ModalChoiceView::handleKeyInput(const KeyInput& input) {
    if (input.type != KeyInput::Type::Press || input.hasCommandModifiers()) {
        return true;
    }
    if (input.key == Qt::Key_Escape && m_cancelButtonIndex >= 0) {
        buttonTapped(m_cancelButtonIndex);
    } else if ((input.key == Qt::Key_Return || input.key == Qt::Key_Enter) && numberOfButtons() == 1) {
        buttonTapped(0);
    }
    return true;
}

void ModalChoiceView::dismissWithClickedButtonIndex(int buttonIndex, bool animated) {
    if (!m_visible) {
        dismissWhileHidden(buttonIndex);
        return;
    }
    if (m_dismissing) {
        return;
    }
    dismiss(buttonIndex, animated);
}

void ModalChoiceView::dismiss(int buttonIndex, bool animated) {
    const auto keepAlive = self();
    m_dismissing = true;
    willDismiss(buttonIndex);
    if (!animated) {
        finishDismissal(buttonIndex);
        return;
    }
    animateDismissal([weakSelf = weak_from_this(), buttonIndex](bool) {
        if (auto view = weakSelf.lock()) {
            std::static_pointer_cast<ModalChoiceView>(view)->finishDismissal(buttonIndex);
        }
    });
}

void ModalChoiceView::finishDismissal(int buttonIndex) {
    if (!m_visible) {
        return;
    }
    const auto keepAlive = self();
    m_visible = false;
    m_dismissing = false;
    removeAllAnimations();
    leaveScreen();
    removeFromSuperview();
    if (m_dimmingView) {
        m_dimmingView->removeFromSuperview();
        m_dimmingView.reset();
    }
    m_retainedWhileVisible.reset();
    didDismiss(buttonIndex);
    dismissalDidFinish();
}

void ModalChoiceView::dismissWhileHidden(int) {}
void ModalChoiceView::leaveScreen() {}
void ModalChoiceView::dismissalDidFinish() {}
void ModalChoiceView::buttonClicked(int) {}
void ModalChoiceView::willDismiss(int) {}
void ModalChoiceView::didDismiss(int) {}
