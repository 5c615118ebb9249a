#pragma once

#include "kit/ButtonTitleList.h"
#include "kit/PopoverArrowDirection.h"
#include "kit/PopoverControllerDelegate.h"
#include "kit/View.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class ActionSheetDelegate;
class BarButtonItem;
class Button;
class DimmingView;
class Label;
class PopoverController;

// The platform's action sheet: a choice of buttons on a dark translucent sheet that slides up
// from the bottom of the window over a dimmed screen, white buttons with dark text, the
// destructive one red and the cancel one dark. On the tablet, shown from a rectangle or a bar
// button item, it sits in a popover without its cancel button; a touch outside the popover
// then counts as the cancel button.
//
// Make it with std::make_shared; a shown sheet keeps itself alive until it is dismissed. The
// delegate is not owned. Main thread only.
class ActionSheet : public View, private PopoverControllerDelegate {
public:
    enum class Style { Automatic, Default, BlackTranslucent, BlackOpaque };

    static constexpr double slideDuration = 0.3;

    // The buttons are ordered as the platform orders them: the destructive button first, then
    // the other buttons, the cancel button last. Empty titles leave a button out.
    ActionSheet(const QString& title, ActionSheetDelegate* delegate = nullptr,
                const QString& cancelButtonTitle = QString(),
                const QString& destructiveButtonTitle = QString(), const QStringList& otherButtonTitles = {});
    ~ActionSheet() override;

    QString title() const;
    void setTitle(const QString& title);
    ActionSheetDelegate* delegate() const { return m_delegate; }
    void setDelegate(ActionSheetDelegate* delegate) { m_delegate = delegate; }
    Style actionSheetStyle() const { return m_actionSheetStyle; }
    void setActionSheetStyle(Style style);

    // Adds a button after the others and returns its index.
    int addButtonWithTitle(const QString& title);
    int numberOfButtons() const { return m_buttonTitles.count(); }
    QString buttonTitleAtIndex(int buttonIndex) const;
    // −1 when there is none.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int buttonIndex);
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
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);
    bool isVisible() const { return m_visible; }

    // The button views in index order while shown (the cancel button has none in a popover).
    const std::vector<std::shared_ptr<Button>>& buttons() const { return m_buttons; }
    // The popover while the sheet is shown in one.
    std::shared_ptr<PopoverController> popoverController() const { return m_popoverController; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void layoutSubviews() override;

private:
    bool popoverControllerShouldDismissPopover(PopoverController& popoverController) override;
    void popoverControllerDidDismissPopover(PopoverController& popoverController) override;

    std::shared_ptr<ActionSheet> self();
    void buildButtons();
    // Lays out for the width and returns the sheet's height.
    double layoutForWidth(double width);
    void buttonTapped(int buttonIndex);
    void dismiss(int buttonIndex, bool animated);
    void finishDismissal(int buttonIndex);
    void showInPopover(const Rect& rect, View& view, PopoverArrowDirections directions,
                       bool fromBarButtonItem, bool animated);

    std::shared_ptr<Label> m_titleLabel;
    std::vector<std::shared_ptr<Button>> m_buttons;
    std::shared_ptr<DimmingView> m_dimmingView;
    std::shared_ptr<PopoverController> m_popoverController;
    std::shared_ptr<ActionSheet> m_retainedWhileVisible;
    ButtonTitleList m_buttonTitles;
    ActionSheetDelegate* m_delegate;
    Style m_actionSheetStyle = Style::Automatic;
    int m_cancelButtonIndex = -1;
    int m_destructiveButtonIndex = -1;
    bool m_visible = false;
    bool m_dismissing = false;
    bool m_inPopover = false;
};
