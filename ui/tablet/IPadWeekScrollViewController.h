#pragma once

#include "ui/week/GlobalActionsListViewDelegate.h"
#include "ui/week/WeekScrollViewController.h"

#include <memory>

class BarButtonItem;
class IPadMenuViewController;
class PopoverController;

// The week screen of the tablet: larger pages, a recoloured title, the actions menu, the calendar
// list and the settings in one popover at the menu button, and a compact editor popover beside
// the tapped row in place of the full editor.
class IPadWeekScrollViewController : public WeekScrollViewController, public GlobalActionsListViewDelegate {
public:
    // Becomes the shared instance, as WeekScrollViewController::create does.
    static std::shared_ptr<IPadWeekScrollViewController> create();

    // The menu popover.

    // The menu button: the popover is made on first use; a press while it shows closes it,
    // otherwise it shows the menu (again) pointing at `item`.
    void openMenu(BarButtonItem& item);
    void showActions() override;
    // The menu's "Jump to Week" and "Search", as the phone's menu reports them.
    void clickedButtonAtIndex(int buttonIndex) override {
        WeekScrollViewController::clickedButtonAtIndex(buttonIndex);
    }
    // None until the menu button is first pressed.
    const std::shared_ptr<PopoverController>& menuPopoverController() const {
        return m_menuPopoverController;
    }
    const std::shared_ptr<IPadMenuViewController>& iPadMenuViewController() const {
        return m_iPadMenuViewController;
    }

protected:
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override;
    std::shared_ptr<DateTitleView> newDateTitleView(const Rect& frame) override;

    // The menu popover: Escape closes it first.
    bool closeTopmostPopup() override;

private:
    // The menu popover.
    std::shared_ptr<PopoverController> m_menuPopoverController;
    std::shared_ptr<IPadMenuViewController> m_iPadMenuViewController;
};
