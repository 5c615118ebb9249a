#pragma once

#include "core/eventstore/EKEventStore.h"
#include "kit/ActionSheet.h"

#include <memory>
#include <optional>

class RecurringEventActionSheetDelegate;

// The one question of how far a change to an event reaches: this occurrence only (button 0) or
// this and all future occurrences (button 1), with "Cancel" last; the answer reaches the
// recurring-event delegate as a span. What is changed chooses the texts:
//
//   Save    "This is a repeating event."  "Save for this event"     "Save for future events"
//   Move    "This is a repeating event."  "Move this event only"    "Move all future events"
//   Delete  "This is a repeating event."  "Delete this event only"  "Delete all future events"
//
// An event that does not repeat has no span to choose, so only its deletion is asked: no title,
// the red "Delete Event" (button 0, reported as this event) and "Cancel". The sheet's own
// delegate still hears the buttons as with any action sheet. Make it with std::make_shared and
// show it as any action sheet. Main thread only.
class RecurringEventActionSheet : public ActionSheet {
public:
    enum class Change { Save, Move, Delete };

    explicit RecurringEventActionSheet(Change change, bool repeating = true);
    ~RecurringEventActionSheet() override;

    Change change() const { return m_change; }
    // The span a button stands for; none for "Cancel".
    std::optional<EKSpan> spanForButtonIndex(int buttonIndex) const;

    std::shared_ptr<RecurringEventActionSheetDelegate> recurringEventDelegate() const {
        return m_recurringEventDelegate.lock();
    }
    // Not owned.
    void setRecurringEventDelegate(std::weak_ptr<RecurringEventActionSheetDelegate> delegate) {
        m_recurringEventDelegate = std::move(delegate);
    }

protected:
    void buttonClicked(int buttonIndex) override;
    // The answer; by default told to the recurring-event delegate.
    virtual void spanChosen(EKSpan span);
    // "Cancel", or a touch outside the sheet's popover; by default told to the delegate.
    virtual void choiceCancelled();

private:
    Change m_change;
    bool m_repeating;
    std::weak_ptr<RecurringEventActionSheetDelegate> m_recurringEventDelegate;
};
