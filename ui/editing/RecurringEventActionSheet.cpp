#include "ui/editing/RecurringEventActionSheet.h"

#include "foundation/Localization.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"

void RecurringEventActionSheetDelegate::clickedCancelButton(RecurringEventActionSheet&) {}

namespace {

constexpr int thisEventButton = 0;
constexpr int futureEventsButton = 1;

QString spanQuestionTitle(RecurringEventActionSheet::Change change, bool repeating) {
    if (!repeating) {
        return {};
    }
    switch (change) {
    case RecurringEventActionSheet::Change::Save:
        return localizedString(QStringLiteral("This is a repeating event. ~Save"));
    case RecurringEventActionSheet::Change::Move:
        return localizedString(QStringLiteral("This is a repeating event. ~Move"));
    case RecurringEventActionSheet::Change::Delete:
        return localizedString(QStringLiteral("This is a repeating event. ~Delete"));
    }
    return {};
}

QString singleEventDeletionTitle(bool repeating) {
    return repeating ? QString() : localizedString(QStringLiteral("Delete Event"));
}

QStringList spanButtonTitles(RecurringEventActionSheet::Change change, bool repeating) {
    if (!repeating) {
        return {};
    }
    switch (change) {
    case RecurringEventActionSheet::Change::Save:
        return {localizedString(QStringLiteral("Save for this event")),
                localizedString(QStringLiteral("Save for future events"))};
    case RecurringEventActionSheet::Change::Move:
        return {localizedString(QStringLiteral("Move this event only")),
                localizedString(QStringLiteral("Move all future events"))};
    case RecurringEventActionSheet::Change::Delete:
        return {localizedString(QStringLiteral("Delete this event only")),
                localizedString(QStringLiteral("Delete all future events"))};
    }
    return {};
}

} // namespace

RecurringEventActionSheet::RecurringEventActionSheet(Change change, bool repeating)
    : ActionSheet(spanQuestionTitle(change, repeating), nullptr, localizedString(QStringLiteral("Cancel")),
                  singleEventDeletionTitle(repeating), spanButtonTitles(change, repeating)),
      m_change(change), m_repeating(repeating) {}

RecurringEventActionSheet::~RecurringEventActionSheet() = default;

std::optional<EKSpan> RecurringEventActionSheet::spanForButtonIndex(int buttonIndex) const {
    if (buttonIndex == thisEventButton) {
        return EKSpan::ThisEvent;
    }
    if (buttonIndex == futureEventsButton && m_repeating) {
        return EKSpan::FutureEvents;
    }
    return std::nullopt;
}

void RecurringEventActionSheet::buttonClicked(int buttonIndex) {
    ActionSheet::buttonClicked(buttonIndex);
    if (const std::optional<EKSpan> span = spanForButtonIndex(buttonIndex)) {
        spanChosen(*span);
    } else {
        choiceCancelled();
    }
}

void RecurringEventActionSheet::spanChosen(EKSpan span) {
    if (const std::shared_ptr<RecurringEventActionSheetDelegate> delegate = recurringEventDelegate()) {
        delegate->clickedButtonForSpan(*this, span);
    }
}

void RecurringEventActionSheet::choiceCancelled() {
    if (const std::shared_ptr<RecurringEventActionSheetDelegate> delegate = recurringEventDelegate()) {
        delegate->clickedCancelButton(*this);
    }
}
