#include "core/events/LogAlertPresenter.h"

#include "foundation/Log.h"

void LogAlertPresenter::showAlert(const QString& title, const QString& message, const QString&) {
    Log::error(QStringLiteral("eventservice"), QStringLiteral("%1: %2").arg(title, message));
}
