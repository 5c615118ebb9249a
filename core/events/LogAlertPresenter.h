#pragma once

#include "core/events/AlertPresenter.h"

// Writes alerts to the log (category "eventservice") where no screen shows them.
class LogAlertPresenter final : public AlertPresenter {
public:
    void showAlert(const QString& title, const QString& message, const QString& buttonTitle) override;
};
