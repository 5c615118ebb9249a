#include "ui/editing/DeleteEventActionSheet.h"

#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/Localization.h"

namespace {

bool repeats(const std::shared_ptr<EKEvent>& event) {
    return event && event->hasRecurrenceRules();
}

QString deleteSheetTitle(bool recurring) {
    return recurring ? localizedString(QStringLiteral("This is a repeating event. ~Delete")) : QString();
}

QString deleteSheetDestructiveTitle(bool recurring) {
    return recurring ? QString() : localizedString(QStringLiteral("Delete Event"));
}

QStringList deleteSheetSpanTitles(bool recurring) {
    if (!recurring) {
        return {};
    }
    return {localizedString(QStringLiteral("Delete this event only")),
            localizedString(QStringLiteral("Delete all future events"))};
}

} // namespace

DeleteEventActionSheet::DeleteEventActionSheet(std::shared_ptr<EKEvent> event)
    : ActionSheet(deleteSheetTitle(repeats(event)), nullptr, localizedString(QStringLiteral("Cancel")),
                  deleteSheetDestructiveTitle(repeats(event)), deleteSheetSpanTitles(repeats(event))),
      m_event(std::move(event)), m_recurring(repeats(m_event)) {
    setDelegate(this);
}

DeleteEventActionSheet::~DeleteEventActionSheet() = default;

std::shared_ptr<DeleteEventActionSheet>
DeleteEventActionSheet::actionSheetForEvent(std::shared_ptr<EKEvent> event) {
    return std::make_shared<DeleteEventActionSheet>(std::move(event));
}

void DeleteEventActionSheet::clickedButtonAtIndex(ActionSheet&, int buttonIndex) {
    if (buttonIndex == 0) {
        deleteEventMultiple(false);
    } else if (buttonIndex == 1 && m_recurring) {
        deleteEventMultiple(true);
    } else {
        reportCancelled();
    }
}

void DeleteEventActionSheet::deleteEventMultiple(bool future) {
    if (!m_event) {
        reportCancelled();
        return;
    }
    const QString eventIdentifier = m_event->eventIdentifier();
    const bool recurring = m_event->hasRecurrenceRules();
    const bool deleted = EventService::sharedInstance().deleteEvent(m_event, future ? EKSpan::FutureEvents
                                                                                    : EKSpan::ThisEvent);
    // A refused deletion leaves the event where it was; the service has told the user why.
    if (!deleted) {
        reportCancelled();
        return;
    }
    if (m_onDeleted) {
        const DeletedAction report = m_onDeleted;
        report(eventIdentifier, recurring);
    }
}

void DeleteEventActionSheet::reportCancelled() {
    if (m_onCancelled) {
        const std::function<void()> report = m_onCancelled;
        report();
    }
}
