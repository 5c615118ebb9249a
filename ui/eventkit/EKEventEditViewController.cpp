#include "ui/eventkit/EKEventEditViewController.h"

#include "ui/eventkit/EventEditFormController.h"

EKEventEditViewController::EKEventEditViewController(EKEventStore& eventStore)
    : EKEventEditViewController(std::make_shared<EventEditFormController>(eventStore)) {}

EKEventEditViewController::EKEventEditViewController(std::shared_ptr<EventEditFormController> form)
    : NavigationController(form), m_form(std::move(form)) {}

EKEventEditViewController::~EKEventEditViewController() = default;

void EKEventEditViewController::setEvent(std::shared_ptr<EKEvent> event) {
    m_form->setEvent(std::move(event));
}

const std::shared_ptr<EKEvent>& EKEventEditViewController::event() const {
    return m_form->event();
}

void EKEventEditViewController::report(EKEventEditViewAction action) {
    if (auto delegate = m_delegate.lock()) {
        delegate->eventEditViewController(*this, action);
    }
}
