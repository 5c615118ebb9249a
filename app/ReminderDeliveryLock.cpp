#include "app/ReminderDeliveryLock.h"

#include "foundation/Date.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QCryptographicHash>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>

#include <utility>

namespace {

const QString deliveryObjectPath = QStringLiteral("/org/orvella/Orvella/Reminders");
const QString deliveryInterface = QStringLiteral("org.orvella.Orvella.Reminders");

} // namespace

ReminderDeliveryLock::ReminderDeliveryLock(QDBusConnection connection, Claim claim)
    : m_connection(std::move(connection)), m_claim(claim) {}

ReminderDeliveryLock::~ReminderDeliveryLock() {
    if (m_connection.isConnected()) {
        m_connection.unregisterObject(deliveryObjectPath);
        if (m_held) {
            m_connection.interface()->unregisterService(serviceName());
        }
    }
}

QString ReminderDeliveryLock::serviceName() {
    // Bus name elements may not start with a digit.
    const QByteArray folder = QDir(Paths::dataDirectory()).canonicalPath().toUtf8();
    return QStringLiteral("org.orvella.Orvella.Reminders.d") +
           QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(16));
}

void ReminderDeliveryLock::claim() {
    if (!m_connection.isConnected()) {
        return;
    }
    QDBusConnectionInterface* bus = m_connection.interface();
    connect(bus, &QDBusConnectionInterface::serviceRegistered, this,
            [this](const QString& name) { nameAcquired(name); });
    connect(bus, &QDBusConnectionInterface::serviceUnregistered, this,
            [this](const QString& name) { nameLost(name); });
    m_connection.registerObject(deliveryObjectPath, this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_claim == Claim::TakeOver
            ? bus->registerService(serviceName(), QDBusConnectionInterface::ReplaceExistingService,
                                   QDBusConnectionInterface::DontAllowReplacement)
            : bus->registerService(serviceName(), QDBusConnectionInterface::QueueService,
                                   QDBusConnectionInterface::AllowReplacement);
    if (!reply.isValid()) {
        Log::warning(QStringLiteral("reminders"), QStringLiteral("Could not ask the session bus for %1: %2")
                                                      .arg(serviceName(), reply.error().message()));
        return;
    }
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        nameAcquired(serviceName());
    }
}

void ReminderDeliveryLock::askOwnerToShowEvent(const QString& identifier, Date startDate) {
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName(), deliveryObjectPath, deliveryInterface,
                                                       QStringLiteral("ShowEvent"));
    call << identifier << startDate.timeIntervalSince1970();
    m_connection.call(call, QDBus::NoBlock);
}

void ReminderDeliveryLock::tellOwnerRecordChanged() {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        serviceName(), deliveryObjectPath, deliveryInterface, QStringLiteral("RecordChanged"));
    m_connection.call(call, QDBus::NoBlock);
}

void ReminderDeliveryLock::ShowEvent(const QString& identifier, double startSeconds) {
    if (onShowEvent) {
        onShowEvent(identifier, Date::withTimeIntervalSince1970(startSeconds));
    }
}

void ReminderDeliveryLock::RecordChanged() {
    if (onRecordChanged) {
        onRecordChanged();
    }
}

void ReminderDeliveryLock::nameAcquired(const QString& name) {
    if (name != serviceName() || std::exchange(m_held, true)) {
        return;
    }
    if (onAcquired) {
        onAcquired();
    }
}

void ReminderDeliveryLock::nameLost(const QString& name) {
    if (name != serviceName() || !std::exchange(m_held, false)) {
        return;
    }
    if (onLost) {
        onLost();
    }
}
