#pragma once

#include <QString>

#include <memory>

class EKEvent;

// What the event editor reports to the screen that opened it.
class EventDetailsViewControllerDelegate {
public:
    virtual ~EventDetailsViewControllerDelegate() = default;

    // `spansMultipleEvents` when the save reached this and future occurrences of a series.
    virtual void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spansMultipleEvents,
                            bool delayed) = 0;
    // The editor moved the event to another day (`copied` is false).
    virtual void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) = 0;
    virtual void eventDeleted(const QString& eventIdentifier, bool recurring) = 0;
    // Switches the screen in or out of picking the day an event moves to.
    virtual void toggleMovingEventMode() = 0;
};
