#pragma once

#include <QString>

// Shows a failure to the user: an alert with a title, a message and one button that only
// closes it. The screens provide the real one; EventService logs until they do.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;

    virtual void showAlert(const QString& title, const QString& message, const QString& buttonTitle) = 0;
};
