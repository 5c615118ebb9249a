#pragma once

#include "kit/ActionSheet.h"
#include "kit/ActionSheetDelegate.h"

#include <QString>

#include <functional>
#include <memory>

class EKEvent;

// The confirmation for deleting an event. A repeating event offers "Delete this event only"
// and "Delete all future events" under the title "This is a repeating event."; a single event
// offers only the red "Delete Event", without a title; "Cancel" comes last. The sheet deletes
// through the event service and reports a deletion with the event's identifier and whether it
// repeated; "Cancel", and a deletion the store refused (which the service shows to the user),
// report a cancel. Show it with showInView. Main thread only.
class DeleteEventActionSheet : public ActionSheet, private ActionSheetDelegate {
public:
    using DeletedAction = std::function<void(const QString& eventIdentifier, bool recurring)>;

    static std::shared_ptr<DeleteEventActionSheet> actionSheetForEvent(std::shared_ptr<EKEvent> event);
    explicit DeleteEventActionSheet(std::shared_ptr<EKEvent> event);
    ~DeleteEventActionSheet() override;

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setOnDeleted(DeletedAction onDeleted) { m_onDeleted = std::move(onDeleted); }
    void setOnCancelled(std::function<void()> onCancelled) { m_onCancelled = std::move(onCancelled); }

private:
    void clickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex) override;
    void deleteEventMultiple(bool future);
    void reportCancelled();

    std::shared_ptr<EKEvent> m_event;
    bool m_recurring;
    DeletedAction m_onDeleted;
    std::function<void()> m_onCancelled;
};
