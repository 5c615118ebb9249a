#pragma once

#include "kit/AlertView.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class TextField;

// An alert that asks for an account's password: the title, a secure field under it, "Cancel"
// and "Sync". The field takes the typing while the prompt is up; Return answers "Sync", Escape
// "Cancel"; a field typed into before gets the keyboard back afterwards. The answer is the
// password, or none when cancelled or dismissed by the program.
class PasswordPromptView : public AlertView {
public:
    static constexpr int syncButtonIndex = 1;

    explicit PasswordPromptView(const QString& accountTitle);
    ~PasswordPromptView() override;

    TextField& passwordField() { return *m_passwordField; }

    // Told once, as the prompt goes.
    std::function<void(std::optional<QString> password)> onAnswer;

    bool handleKeyInput(const KeyInput& input) override;

protected:
    void layoutSubviews() override;
    void didMoveToSuperview() override;
    void willDismiss(int buttonIndex) override;

private:
    std::shared_ptr<TextField> m_passwordField;
    std::weak_ptr<View> m_previousResponder;
};
