#include "ui/editing/RecurringEventActionSheet.h"

#include "foundation/Localization.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"

namespace {

constexpr int thisEventButton = 0;
constexpr int futureEventsButton = 1;

} // namespace

RecurringEventActionSheet::RecurringEventActionSheet(const QString& titleForThisEvent,
                                                     const QString& titleForFutureEvents)
    : RecurringEventActionSheet(localizedString(QStringLiteral("This is a repeating event. ~Move")),
                                titleForThisEvent, titleForFutureEvents) {}

RecurringEventActionSheet::RecurringEventActionSheet(const QString& title, const QString& titleForThisEvent,
                                                     const QString& titleForFutureEvents)
    : ActionSheet(title, nullptr, localizedString(QStringLiteral("Cancel")), QString(),
                  {titleForThisEvent, titleForFutureEvents}) {
    setDelegate(this);
}

RecurringEventActionSheet::~RecurringEventActionSheet() = default;

void RecurringEventActionSheet::clickedButtonAtIndex(ActionSheet&, int buttonIndex) {
    if (buttonIndex != thisEventButton && buttonIndex != futureEventsButton) {
        return;
    }
    if (const std::shared_ptr<RecurringEventActionSheetDelegate> delegate = m_recurringEventDelegate.lock()) {
        delegate->clickedButtonForSpan(*this, buttonIndex == thisEventButton ? EKSpan::ThisEvent
                                                                             : EKSpan::FutureEvents);
    }
}
