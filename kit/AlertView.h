#pragma once

#include "kit/ButtonTitleList.h"
#include "kit/View.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class AlertViewDelegate;
class Button;
class DimmingView;
class Label;

// The platform's alert: a dark-blue box in the middle of the key window with a title, a message
// and its buttons, over a dimmed screen. Two buttons stand side by side (the cancel button on
// the left); any other number is stacked, the cancel button at the bottom. Alerts shown while
// another is on screen wait for it to go.
//
// Make it with std::make_shared; a shown alert keeps itself alive until it is dismissed. The
// delegate is not owned. Main thread only.
class AlertView : public View {
public:
    static constexpr double width = 284.0;

    // The cancel button, when given, is the first (index 0); the other buttons follow in order.
    AlertView(const QString& title, const QString& message, AlertViewDelegate* delegate = nullptr,
              const QString& cancelButtonTitle = QString(), const QStringList& otherButtonTitles = {});
    ~AlertView() override;

    QString title() const;
    void setTitle(const QString& title);
    QString message() const;
    void setMessage(const QString& message);
    AlertViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(AlertViewDelegate* delegate) { m_delegate = delegate; }

    // Adds a button after the others and returns its index.
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const { return m_buttonTitles.count(); }
    // An empty text for an index out of range.
    QString buttonTitleAtIndex(int buttonIndex) const;
    // −1 without a cancel button.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int buttonIndex);

    // Puts the alert on screen in the key window, or queues it behind the alert shown now.
    void show();
    // True while it is on screen (not while it waits in the queue).
    bool isVisible() const { return m_visible; }
    // Takes the alert away (or out of the queue) as if the button had been chosen, reporting
    // only the dismissal to the delegate.
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    // The button views in index order, while the alert is laid out (for tests and drawing).
    const std::vector<std::shared_ptr<Button>>& buttons() const { return m_buttons; }
    // The alerts shown or waiting, the one on screen first.
    static std::vector<std::shared_ptr<AlertView>> queuedAlerts();

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

private:
    std::shared_ptr<AlertView> self();
    // Builds the buttons, the labels' frames and the box's size.
    void buildLayout();
    void present();
    void buttonTapped(int buttonIndex);
    void dismiss(int buttonIndex, bool animated);
    void finishDismissal(int buttonIndex);
    std::vector<int> displayOrder() const;

    std::shared_ptr<Label> m_titleLabel;
    std::shared_ptr<Label> m_messageLabel;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::shared_ptr<DimmingView> m_dimmingView;
    ButtonTitleList m_buttonTitles;
    AlertViewDelegate* m_delegate;
    int m_cancelButtonIndex = -1;
    bool m_visible = false;
    bool m_dismissing = false;
};
