#pragma once

#include "ui/calendars/VisibleCalendarsViewController.h"

#include <memory>

// The calendar list in the menu's popover: the popover as high as the list, only the edit
// button in the bar (no "Done", in or out of edit mode), and the weeks behind read again as soon
// as a calendar is shown or hidden.
class IPadVisibleCalendarsViewController : public VisibleCalendarsViewController {
public:
    static constexpr double popoverWidth = 320.0;

    // The shared event service and settings.
    static std::shared_ptr<IPadVisibleCalendarsViewController> create();

    using VisibleCalendarsViewController::VisibleCalendarsViewController;

    void viewDidAppear(bool animated) override;

protected:
    void viewDidLoad() override;
    void onShowOrHideCalendar() override;
    std::shared_ptr<BarButtonItem> getRightBarButtonItem() override;
    void configureBarButtonItemsForEditing(bool editing, bool animated) override;

private:
    void fitPopoverToTable();
};
