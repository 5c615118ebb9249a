#pragma once

#include "ui/editing/RecurringEventActionSheet.h"

#include <QString>

#include <functional>
#include <memory>

class EKEvent;

// The confirmation for deleting an event: the deletion question for a repeating or a single
// event. The sheet deletes through the event service and reports a deletion with the event's
// identifier and whether it repeated; "Cancel", and a deletion the store refused (which the
// service shows to the user), report a cancel. Show it with showInView. Main thread only.
class DeleteEventActionSheet : public RecurringEventActionSheet {
public:
    using DeletedAction = std::function<void(const QString& eventIdentifier, bool recurring)>;

    static std::shared_ptr<DeleteEventActionSheet> actionSheetForEvent(std::shared_ptr<EKEvent> event);
    explicit DeleteEventActionSheet(std::shared_ptr<EKEvent> event);
    ~DeleteEventActionSheet() override;

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setOnDeleted(DeletedAction onDeleted) { m_onDeleted = std::move(onDeleted); }
    void setOnCancelled(std::function<void()> onCancelled) { m_onCancelled = std::move(onCancelled); }

protected:
    void spanChosen(EKSpan span) override;
    void choiceCancelled() override;

private:
    void deleteEventMultiple(bool future);

    std::shared_ptr<EKEvent> m_event;
    DeletedAction m_onDeleted;
    std::function<void()> m_onCancelled;
};
