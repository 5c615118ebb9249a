#include "ui/editing/MoveRecurringEventActionSheet.h"

MoveRecurringEventActionSheet::MoveRecurringEventActionSheet() : RecurringEventActionSheet(Change::Move) {}

std::shared_ptr<MoveRecurringEventActionSheet> MoveRecurringEventActionSheet::instance() {
    // Kept to the end of the process and never destroyed, like the other shared instances, so
    // that no view outlives the toolkit in the teardown of statics.
    static const auto* const sheet =
        new std::shared_ptr<MoveRecurringEventActionSheet>(std::make_shared<MoveRecurringEventActionSheet>());
    return *sheet;
}
