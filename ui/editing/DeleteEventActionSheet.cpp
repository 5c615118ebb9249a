#include "ui/editing/DeleteEventActionSheet.h"

#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"

DeleteEventActionSheet::DeleteEventActionSheet(std::shared_ptr<EKEvent> event)
    : RecurringEventActionSheet(Change::Delete, event && event->hasRecurrenceRules()),
      m_event(std::move(event)) {}

DeleteEventActionSheet::~DeleteEventActionSheet() = default;

std::shared_ptr<DeleteEventActionSheet>
DeleteEventActionSheet::actionSheetForEvent(std::shared_ptr<EKEvent> event) {
    return std::make_shared<DeleteEventActionSheet>(std::move(event));
}

void DeleteEventActionSheet::spanChosen(EKSpan span) {
    deleteEventMultiple(span == EKSpan::FutureEvents);
}

void DeleteEventActionSheet::deleteEventMultiple(bool future) {
    if (!m_event) {
        choiceCancelled();
        return;
    }
    const QString eventIdentifier = m_event->eventIdentifier();
    const bool recurring = m_event->hasRecurrenceRules();
    const bool deleted = EventService::sharedInstance().deleteEvent(m_event, future ? EKSpan::FutureEvents
                                                                                    : EKSpan::ThisEvent);
    // A refused deletion leaves the event where it was; the service has told the user why.
    if (!deleted) {
        choiceCancelled();
        return;
    }
    if (m_onDeleted) {
        const DeletedAction report = m_onDeleted;
        report(eventIdentifier, recurring);
    }
}

void DeleteEventActionSheet::choiceCancelled() {
    if (m_onCancelled) {
        const std::function<void()> report = m_onCancelled;
        report();
    }
}
