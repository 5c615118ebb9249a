#pragma once

#include "core/eventstore/EKEventStore.h"

class RecurringEventActionSheet;

// Hears how far a change to a repeating event is to reach. "Cancel" reports nothing.
class RecurringEventActionSheetDelegate {
public:
    virtual ~RecurringEventActionSheetDelegate() = default;

    virtual void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) = 0;
};
