#pragma once

#include "kit/ModalChoiceView.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class AlertViewDelegate;
class Button;
class Label;

// The platform's alert: a dark-blue box in the middle of the key window with a title, a message
// and its buttons, over a dimmed screen. Two buttons stand side by side (the cancel button on
// the left); any other number is stacked, the cancel button at the bottom. Alerts shown while
// another is on screen wait for it to go.
//
// Make it with std::make_shared; a shown alert keeps itself alive until it is dismissed. The
// delegate is held weakly: one that goes away while the alert is up hears nothing more. Main
// thread only.
class AlertView : public ModalChoiceView {
public:
    static constexpr double width = 284.0;

    // The cancel button, when given, is the first (index 0); the other buttons follow in order.
    // The delegate is held weakly, as with setDelegate.
    AlertView(const QString& title, const QString& message,
              const std::shared_ptr<AlertViewDelegate>& delegate = nullptr,
              const QString& cancelButtonTitle = QString(), const QStringList& otherButtonTitles = {});
    ~AlertView() override;

    QString message() const;
    void setMessage(const QString& message);
    std::shared_ptr<AlertViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<AlertViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // Puts the alert on screen in the key window, or queues it behind the alert shown now.
    // isVisible() is true while it is on screen, not while it waits in the queue; a dismissal
    // of a waiting alert takes it out of the queue and reports the dismissal.
    void show();

    // The alerts shown or waiting, the one on screen first.
    static std::vector<std::shared_ptr<AlertView>> queuedAlerts();

protected:
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

    std::shared_ptr<Button> makeButton(int buttonIndex) override;
    void animateDismissal(std::function<void(bool)> completion) override;
    void dismissWhileHidden(int buttonIndex) override;
    void leaveScreen() override;
    void dismissalDidFinish() override;
    void buttonClicked(int buttonIndex) override;
    void willDismiss(int buttonIndex) override;
    void didDismiss(int buttonIndex) override;

private:
    std::shared_ptr<AlertView> self();
    void present();
    std::vector<int> displayOrder() const;

    std::shared_ptr<Label> m_messageLabel;
    std::weak_ptr<AlertViewDelegate> m_delegate;
};
