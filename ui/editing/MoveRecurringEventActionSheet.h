#pragma once

#include "foundation/Date.h"
#include "ui/editing/RecurringEventActionSheet.h"

#include <memory>
#include <optional>

// The span choice for moving a repeating event to another day by quick move: one sheet for the
// whole run, which carries the day the event is to go to. Each move sets its own target day
// and delegate. Main thread only.
class MoveRecurringEventActionSheet : public RecurringEventActionSheet {
public:
    static std::shared_ptr<MoveRecurringEventActionSheet> instance();
    // The question for a move.
    MoveRecurringEventActionSheet();

    const std::optional<Date>& targetDate() const { return m_targetDate; }
    void setTargetDate(std::optional<Date> targetDate) { m_targetDate = targetDate; }

private:
    std::optional<Date> m_targetDate;
};
