#include "app/AlertViewPresenter.h"

#include "core/events/LogAlertPresenter.h"
#include "kit/AlertView.h"

#include <memory>

void AlertViewPresenter::showAlert(const QString& title, const QString& message, const QString& buttonTitle) {
    // The log keeps a trace, also of a failure that comes while no window can show it.
    LogAlertPresenter().showAlert(title, message, buttonTitle);
    std::make_shared<AlertView>(title, message, nullptr, buttonTitle)->show();
}
