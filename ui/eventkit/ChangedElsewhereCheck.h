#pragma once

#include "kit/AlertViewDelegate.h"

#include <QString>

#include <functional>
#include <memory>

class EKEvent;
class EKEventStore;

// Keeps the editor from silently undoing a change that came in while it was open (a sync
// bringing the server's version, another program writing the store): it holds the stored event as
// it was when the editor opened and, on "Done", asks before saving over a different one.
class ChangedElsewhereCheck final : public AlertViewDelegate,
                                    public std::enable_shared_from_this<ChangedElsewhereCheck> {
public:
    // Reads the stored event now; a new event has nothing stored to compare with.
    ChangedElsewhereCheck(const EKEventStore& store, const QString& eventIdentifier);

    // Calls `save` at once when the stored event is as it was; otherwise asks, and calls `save`
    // when the person keeps their version or `keepOther` when they take the stored one.
    void confirmSave(std::function<void()> save, std::function<void()> keepOther);

    // Whether the stored event differs from the one the editor opened with (or is gone).
    bool changedSinceOpened() const;

    void didDismissWithButtonIndex(AlertView& alertView, int buttonIndex) override;

private:
    const EKEventStore& m_store;
    QString m_eventIdentifier;
    std::shared_ptr<EKEvent> m_opened;
    std::function<void()> m_save;
    std::function<void()> m_keepOther;
};
