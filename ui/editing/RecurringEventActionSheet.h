#pragma once

#include "kit/ActionSheet.h"
#include "kit/ActionSheetDelegate.h"

#include <QString>

#include <memory>

class RecurringEventActionSheetDelegate;

// The choice for a repeating event between this occurrence only (button 0) and this and all
// future occurrences (button 1), with "Cancel" last; the choice reaches the delegate as a span.
// Make it with std::make_shared and show it as any action sheet.
class RecurringEventActionSheet : public ActionSheet, private ActionSheetDelegate {
public:
    // Titled "This is a repeating event. ~Move".
    RecurringEventActionSheet(const QString& titleForThisEvent, const QString& titleForFutureEvents);
    // The same choice under another title, such as the editor's for saving.
    RecurringEventActionSheet(const QString& title, const QString& titleForThisEvent,
                              const QString& titleForFutureEvents);
    ~RecurringEventActionSheet() override;

    std::shared_ptr<RecurringEventActionSheetDelegate> recurringEventDelegate() const {
        return m_recurringEventDelegate.lock();
    }
    // Not owned.
    void setRecurringEventDelegate(std::weak_ptr<RecurringEventActionSheetDelegate> delegate) {
        m_recurringEventDelegate = std::move(delegate);
    }

private:
    void clickedButtonAtIndex(ActionSheet& actionSheet, int buttonIndex) override;

    std::weak_ptr<RecurringEventActionSheetDelegate> m_recurringEventDelegate;
};
