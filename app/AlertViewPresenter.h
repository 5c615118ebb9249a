#pragma once

#include "core/events/AlertPresenter.h"

// Shows a failure on screen, in an alert over the key window with the title, the message and
// the one button (an alert shown while another is up waits for it), and writes it to the log.
// Main thread only.
class AlertViewPresenter final : public AlertPresenter {
public:
    void showAlert(const QString& title, const QString& message, const QString& buttonTitle) override;
};
