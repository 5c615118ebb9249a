#pragma once

#include "foundation/Date.h"
#include "kit/TableViewCell.h"

// The tablet editor's time row: the label "Time" and the event's time at the right.
class TimeCell : public TableViewCell {
public:
    TimeCell();

    void setTime(Date date);
};
