#pragma once

#include "core/eventstore/EKEventStore.h"

class RecurringEventActionSheet;

// Hears how far a change to an event is to reach.
class RecurringEventActionSheetDelegate {
public:
    virtual ~RecurringEventActionSheetDelegate() = default;

    virtual void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) = 0;
    // "Cancel" was chosen; optional.
    virtual void clickedCancelButton(RecurringEventActionSheet& actionSheet);
};
