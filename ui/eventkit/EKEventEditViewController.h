#pragma once

#include "kit/NavigationController.h"
#include "ui/eventkit/EKEventEditViewDelegate.h"

#include <memory>

class EKEvent;
class EKEventStore;
class EventEditFormController;

// The full event editor, presented modally: a navigation stack whose first screen is the form
// of every detail of the event, with "Cancel" and "Done" in its bar. It writes to the store
// itself and tells its delegate how it finished: cancelled, saved or deleted. The presenter
// dismisses it.
class EKEventEditViewController : public NavigationController {
public:
    explicit EKEventEditViewController(EKEventStore& eventStore);
    ~EKEventEditViewController() override;

    void setEvent(std::shared_ptr<EKEvent> event);
    const std::shared_ptr<EKEvent>& event() const;
    void setEditViewDelegate(std::weak_ptr<EKEventEditViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    EventEditFormController& form() { return *m_form; }

    // Called by the form when it finished.
    void report(EKEventEditViewAction action);

private:
    explicit EKEventEditViewController(std::shared_ptr<EventEditFormController> form);

    std::shared_ptr<EventEditFormController> m_form;
    std::weak_ptr<EKEventEditViewDelegate> m_delegate;
};
