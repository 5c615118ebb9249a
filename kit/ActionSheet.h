#pragma once

#include "kit/ModalChoiceView.h"
#include "kit/PopoverArrowDirection.h"
#include "kit/PopoverControllerDelegate.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class ActionSheetDelegate;
class BarButtonItem;
class Button;
class PopoverController;

// The platform's action sheet: a choice of buttons on a dark translucent sheet that slides up
// from the bottom of the window over a dimmed screen, white buttons with dark text, the
// destructive one red and the cancel one dark. On the tablet, shown from a rectangle or a bar
// button item, it sits in a popover without its cancel button (buttons() has no view for it);
// a touch outside the popover then counts as the cancel button.
//
// Make it with std::make_shared; a shown sheet keeps itself alive until it is dismissed. The
// delegate is held weakly: one that goes away while the sheet is up hears nothing more. Main
// thread only.
class ActionSheet : public ModalChoiceView, private PopoverControllerDelegate {
public:
    enum class Style { Automatic, Default, BlackTranslucent, BlackOpaque };

    static constexpr double slideDuration = 0.3;

    // The buttons are ordered as the platform orders them: the destructive button first, then
    // the other buttons, the cancel button last. Empty titles leave a button out. The delegate
    // is held weakly, as with setDelegate.
    ActionSheet(const QString& title, const std::shared_ptr<ActionSheetDelegate>& delegate = nullptr,
                const QString& cancelButtonTitle = QString(),
                const QString& destructiveButtonTitle = QString(), const QStringList& otherButtonTitles = {});
    ~ActionSheet() override;

    std::shared_ptr<ActionSheetDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ActionSheetDelegate> delegate) { m_delegate = std::move(delegate); }
    Style actionSheetStyle() const { return m_actionSheetStyle; }
    void setActionSheetStyle(Style style);

    // −1 when there is none.
    int destructiveButtonIndex() const { return m_destructiveButtonIndex; }
    void setDestructiveButtonIndex(int buttonIndex);
    // The index of the first button that is neither destructive nor cancel, or −1.
    int firstOtherButtonIndex() const;

    // Slides the sheet up over the window of `view`; on the tablet it stands in the middle of
    // the view in a box without an arrow.
    void showInView(View& view);
    // On the tablet, in a popover pointing at `rect` of `view`; on the phone as showInView.
    void showFromRect(const Rect& rect, View& view, bool animated);
    // On the tablet, in a popover pointing at a bar button item (its frame in `bar`); on the
    // phone over the window of the bar.
    void showFromBarButtonItem(const Rect& itemFrame, View& bar, bool animated);
    void showFromBarButtonItem(BarButtonItem& item, bool animated);

    // The popover while the sheet is shown in one.
    std::shared_ptr<PopoverController> popoverController() const { return m_popoverController; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

    std::shared_ptr<Button> makeButton(int buttonIndex) override;
    void animateDismissal(std::function<void(bool)> completion) override;
    void leaveScreen() override;
    void buttonClicked(int buttonIndex) override;
    void willDismiss(int buttonIndex) override;
    void didDismiss(int buttonIndex) override;

private:
    bool popoverControllerShouldDismissPopover(PopoverController& popoverController) override;
    void popoverControllerDidDismissPopover(PopoverController& popoverController) override;

    std::shared_ptr<ActionSheet> self();
    void buildButtons();
    // Lays out for the width and returns the sheet's height.
    double layoutForWidth(double width);
    void showInPopover(const Rect& rect, View& view, PopoverArrowDirections directions,
                       bool fromBarButtonItem, bool animated);

    std::shared_ptr<PopoverController> m_popoverController;
    std::weak_ptr<ActionSheetDelegate> m_delegate;
    Style m_actionSheetStyle = Style::Automatic;
    int m_destructiveButtonIndex = -1;
    bool m_inPopover = false;
};
