#include "app/DesktopNotifications.h"

#include "foundation/Log.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <utility>

namespace {

const QString notificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString notificationsInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

const QString DesktopNotifications::serviceName = QStringLiteral("org.freedesktop.Notifications");

DesktopNotifications::DesktopNotifications(QDBusConnection connection) : m_connection(std::move(connection)) {
    if (!m_connection.isConnected()) {
        reportUnavailable(QStringLiteral("there is no session bus"));
        return;
    }
    m_connection.connect(serviceName, notificationsPath, notificationsInterface,
                         QStringLiteral("ActionInvoked"), this, SLOT(actionInvoked(uint, QString)));
    m_connection.connect(serviceName, notificationsPath, notificationsInterface,
                         QStringLiteral("NotificationClosed"), this, SLOT(notificationClosed(uint, uint)));
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::notify(const QString& summary, const QString& body, const QStringList& actions,
                                  std::function<void(uint id)> onShown) {
    if (!m_connection.isConnected()) {
        reportUnavailable(QStringLiteral("there is no session bus"));
        onShown(0);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName, notificationsPath, notificationsInterface,
                                                       QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("org.orvella.Orvella")},
                            {QStringLiteral("category"), QStringLiteral("x-orvella.reminder")}};
    call << QStringLiteral("Orvella") << uint(0) << QStringLiteral("org.orvella.Orvella") << summary << body
         << actions << hints << -1;
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, onShown = std::move(onShown)](QDBusPendingCallWatcher* finished) {
                const QDBusPendingReply<uint> reply = *finished;
                finished->deleteLater();
                if (reply.isError()) {
                    reportUnavailable(reply.error().message());
                    onShown(0);
                    return;
                }
                onShown(reply.value());
            });
}

void DesktopNotifications::actionInvoked(uint id, const QString& actionKey) {
    if (onActionInvoked) {
        onActionInvoked(id, actionKey);
    }
}

void DesktopNotifications::notificationClosed(uint id, uint) {
    if (onClosed) {
        onClosed(id);
    }
}

void DesktopNotifications::reportUnavailable(const QString& why) {
    if (std::exchange(m_unavailableReported, true)) {
        return;
    }
    Log::warning(QStringLiteral("reminders"),
                 QStringLiteral("Reminders cannot be shown as desktop notifications: %1").arg(why));
}
