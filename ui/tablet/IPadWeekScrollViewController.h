#pragma once

#include "ui/editor/EventDetailsViewControllerDelegate.h"
#include "ui/week/GlobalActionsListViewDelegate.h"
#include "ui/week/WeekScrollViewController.h"

#include <memory>

class BarButtonItem;
class IPadMenuViewController;
class PopoverController;
class DayView;
class IPadEventDetailsController;

// The week screen of the tablet: larger pages, a recoloured title, the actions menu, the calendar
// list and the settings in one popover at the menu button, and a compact editor popover beside
// the tapped row in place of the full editor.
class IPadWeekScrollViewController : public WeekScrollViewController,
                                     public GlobalActionsListViewDelegate,
                                     public EventDetailsViewControllerDelegate {
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
    // The tablet's week stays upright: the three-weeks view is laid out for the phone's
    // landscape screen only.
    bool shouldAutorotateToInterfaceOrientation(int orientation) override;

    // The compact editor popover.
    // A tapped event or day opens a new editor beside its row; a read-only event opens nothing.
    void handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event) override;
    void handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event) override;
    // An editor for the card's day (none for the day list) reporting to this screen.
    std::shared_ptr<IPadEventDetailsController>
    createEventDetailsController(const std::shared_ptr<DayView>& dayView);
    // The editor of the last tap, or null.
    const std::shared_ptr<IPadEventDetailsController>& iPadEventDetailsController() const {
        return m_iPadEventDetailsController;
    }
    // EventDetailsViewControllerDelegate: the editor's reports go where the phone's go.
    void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spansMultipleEvents,
                    bool delayed) override;
    void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) override;
    void eventDeleted(const QString& eventIdentifier, bool recurring) override;
    void toggleMovingEventMode() override;

protected:
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override;
    std::shared_ptr<DateTitleView> newDateTitleView(const Rect& frame) override;

    // The menu popover: Escape closes it first.
    bool closeTopmostPopup() override;
    // The compact editor popover: while it shows, the keys go to it: Escape cancels, Return in the
    // title saves.
    bool handleScreenKeyInput(const KeyInput& input) override;

private:
    // The menu popover.
    std::shared_ptr<PopoverController> m_menuPopoverController;
    std::shared_ptr<IPadMenuViewController> m_iPadMenuViewController;
    // The compact editor popover.
    std::shared_ptr<IPadEventDetailsController> m_iPadEventDetailsController;
};
