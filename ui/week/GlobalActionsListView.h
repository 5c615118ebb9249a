#pragma once

#include "kit/Button.h"
#include "kit/View.h"

#include <QString>

#include <memory>
#include <vector>

class GlobalActionsListViewDelegate;

// The actions menu: a small dark panel under the week screen's actions button with one button
// per action, four in portrait and the first two in landscape. A transparent view over the whole
// screen behind it closes it when tapped elsewhere. A choice tells the delegate and fades the
// menu out.
class GlobalActionsListView : public View {
public:
    // The entries, by the index the delegate is told.
    enum class Action { Calendars = 0, JumpToWeek = 1, Search = 2, Settings = 3 };

    // A button of the menu: light with a dark title, blue with a white title while pressed.
    class Button : public ::Button {
    public:
        Button(const Rect& frame, const QString& title, const QString& iconName);
    };

    static constexpr double fadeOutDuration = 0.3;

    // The menu with its buttons; `landscape` gives the shorter menu of the landscape screen.
    static std::shared_ptr<GlobalActionsListView> initForOrientation(bool landscape);
    // An empty panel; initForOrientation adds the buttons.
    explicit GlobalActionsListView(bool landscape);
    ~GlobalActionsListView() override;

    // Not owned; told of the user's choice.
    void setDelegate(std::weak_ptr<GlobalActionsListViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    const std::vector<std::shared_ptr<Button>>& buttons() const { return m_buttons; }
    const std::shared_ptr<View>& invisibleView() const { return m_invisibleView; }

    // Puts the catcher and the menu over the key window's content.
    void show();
    // Fades the menu out and takes it and the catcher away.
    void hide();

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    std::weak_ptr<GlobalActionsListView> weakSelf();
    void addButton(const QString& title, Action action, const QString& iconName);
    void openAction(Action action);

    std::shared_ptr<View> m_invisibleView;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::weak_ptr<GlobalActionsListViewDelegate> m_delegate;
};
