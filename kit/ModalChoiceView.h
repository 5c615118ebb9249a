#pragma once

#include "kit/ButtonTitleList.h"
#include "kit/DimmingView.h"
#include "kit/View.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class Button;
class Label;

// A modal choice: a title and a row of buttons shown over a veil that keeps the screen behind
// from taking touches, gone again once a button is chosen. It keeps the button titles and the
// cancel button, keeps itself alive while shown and runs the order of the reports: a button
// chosen by the user is reported as clicked, then as the reason of the dismissal; a dismissal
// asked for by the program reports only the dismissal. Subclasses give the look: how the buttons
// are made and laid out, how the choice comes on screen and how it goes, and whom they report
// to. Main thread only.
class ModalChoiceView : public View {
public:
    ~ModalChoiceView() override;

    QString title() const;
    void setTitle(const QString& title);

    // Adds a button after the others and returns its index.
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const { return m_buttonTitles.count(); }
    // An empty text for an index out of range.
    QString buttonTitleAtIndex(int buttonIndex) const;
    // −1 without a cancel button.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int buttonIndex);

    // True while it is on screen.
    bool isVisible() const { return m_visible; }
    // Takes the choice away as if the button had been chosen, reporting only the dismissal.
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    // The button views in index order while shown; an index the look leaves out has none.
    const std::vector<std::shared_ptr<Button>>& buttons() const { return m_buttons; }

    // While shown the choice takes all typing: Escape chooses its cancel button, Return its only
    // button; other keys do nothing.
    bool handleKeyInput(const KeyInput& input) override;

protected:
    explicit ModalChoiceView(const Rect& frame = Rect());

    Label& titleLabel() const { return *m_titleLabel; }
    // The index when it names a button, else −1.
    int validButtonIndexOrNone(int buttonIndex) const { return m_buttonTitles.validIndexOrNone(buttonIndex); }
    bool isDismissing() const { return m_dismissing; }

    // Marks the choice as shown; it keeps itself alive until its dismissal has finished.
    void beginPresentation();
    // A button chosen: reported as clicked, then the choice goes away unless the report took it
    // away already. Ignored while the choice is not shown or already going.
    void buttonTapped(int buttonIndex);
    // Puts the title label on the choice and makes the buttons again through makeButton, each
    // reporting its index when tapped.
    void rebuildButtons();
    // Lays the veil of `style` over the whole of `window` and puts the choice on it.
    void coverWindow(View& window, DimmingView::Style style);
    // The veil while the choice is shown over a window, or none.
    const std::shared_ptr<DimmingView>& dimmingView() const { return m_dimmingView; }

    // The button for the index, or none to leave it out.
    virtual std::shared_ptr<Button> makeButton(int buttonIndex) = 0;
    // Animates the choice away and calls `completion` at the end.
    virtual void animateDismissal(std::function<void(bool)> completion) = 0;
    // A dismissal asked for while the choice is not on screen; by default nothing happens.
    virtual void dismissWhileHidden(int buttonIndex);
    // Called as the choice leaves the screen, before its view and veil are removed.
    virtual void leaveScreen();
    // Called once the dismissal has been reported.
    virtual void dismissalDidFinish();

    // The reports; by default they go nowhere.
    virtual void buttonClicked(int buttonIndex);
    virtual void willDismiss(int buttonIndex);
    virtual void didDismiss(int buttonIndex);

private:
    std::shared_ptr<ModalChoiceView> self();
    void dismiss(int buttonIndex, bool animated);
    void finishDismissal(int buttonIndex);

    std::shared_ptr<Label> m_titleLabel;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::shared_ptr<DimmingView> m_dimmingView;
    std::shared_ptr<ModalChoiceView> m_retainedWhileVisible;
    ButtonTitleList m_buttonTitles;
    int m_cancelButtonIndex = -1;
    bool m_visible = false;
    bool m_dismissing = false;
};
