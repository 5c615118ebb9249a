#pragma once

// Told by the calendar form after it saved or deleted a calendar.
class EditCalendarViewControllerDelegate {
public:
    virtual ~EditCalendarViewControllerDelegate() = default;
    virtual void calendarsChanged() = 0;
};
