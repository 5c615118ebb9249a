#pragma once

#include "ui/week/WeekScrollViewController.h"

#include <memory>

// The week screen of the tablet: larger pages, a recoloured title, the actions menu, the calendar
// list and the settings in one popover at the menu button, and a compact editor popover beside
// the tapped row in place of the full editor.
class IPadWeekScrollViewController : public WeekScrollViewController {
public:
    // Becomes the shared instance, as WeekScrollViewController::create does.
    static std::shared_ptr<IPadWeekScrollViewController> create();

protected:
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override;
    std::shared_ptr<DateTitleView> newDateTitleView(const Rect& frame) override;
};
