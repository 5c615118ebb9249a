#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The desktop's notification server (org.freedesktop.Notifications on the session bus): shows
// notifications with actions and reports the actions the user chose and the notifications that
// closed. Without a session bus or a server it says so once in the log and shows nothing.
class DesktopNotifications final : public QObject {
    Q_OBJECT

public:
    static const QString serviceName;

    explicit DesktopNotifications(QDBusConnection connection);
    ~DesktopNotifications() override;

    // Shows a notification of the application. `actions` alternates keys and labels
    // ("open", "Open", ...). `onShown` receives the server's id, 0 when it was not shown.
    void notify(const QString& summary, const QString& body, const QStringList& actions,
                std::function<void(uint id)> onShown);

    std::function<void(uint id, const QString& actionKey)> onActionInvoked;
    // The notification was dismissed, expired or closed after an action.
    std::function<void(uint id)> onClosed;

private Q_SLOTS:
    void actionInvoked(uint id, const QString& actionKey);
    void notificationClosed(uint id, uint reason);

private:
    void reportUnavailable(const QString& why);

    QDBusConnection m_connection;
    bool m_unavailableReported = false;
};
