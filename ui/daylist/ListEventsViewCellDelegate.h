#pragma once

class ListEventsViewCell;

// Hears the day list's rows.
class ListEventsViewCellDelegate {
public:
    virtual ~ListEventsViewCellDelegate() = default;
    // A long press on the row of a writable event reached its start.
    virtual void eventLongPressed(ListEventsViewCell& cell) = 0;
};
