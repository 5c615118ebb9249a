#include "app/InstanceHandOver.h"

#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVirtualObject>
#include <QDir>
#include <QUrl>
#include <QVariantMap>

namespace {

const QString handOverLogArea = QStringLiteral("app");

} // namespace

// The object at objectPath. QtDBus may deliver its calls on its own thread; each is answered at
// once and its work posted to the main run loop.
class InstanceHandOver::Service final : public QDBusVirtualObject {
public:
    explicit Service(InstanceHandOver& owner) : m_owner(&owner) {}

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.interface() != QLatin1String(interfaceName)) {
            return false;
        }
        const QList<QVariant> arguments = message.arguments();
        if (message.member() == QLatin1String("Activate")) {
            m_owner->received([](InstanceHandOver& owner) {
                if (owner.onActivate) {
                    owner.onActivate();
                }
            });
        } else if (message.member() == QLatin1String("Open") && !arguments.isEmpty()) {
            QStringList files;
            for (const QString& address : arguments.first().toStringList()) {
                const QUrl url(address);
                // Only local files: the paths come from another start of ours as file:// addresses.
                if (url.isLocalFile() && QDir::isAbsolutePath(url.toLocalFile())) {
                    files.append(url.toLocalFile());
                }
            }
            m_owner->received([files](InstanceHandOver& owner) {
                if (owner.onActivate) {
                    owner.onActivate();
                }
                if (owner.onOpen && !files.isEmpty()) {
                    owner.onOpen(files);
                }
            });
        } else {
            return false;
        }
        connection.send(message.createReply());
        return true;
    }

    QString introspect(const QString& /*path*/) const override {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.Application\">"
            "<method name=\"Activate\"><arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
            "<method name=\"Open\"><arg type=\"as\" name=\"uris\" direction=\"in\"/>"
            "<arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/></method>"
            "</interface>");
    }

private:
    InstanceHandOver* m_owner;
};

InstanceHandOver::InstanceHandOver(QDBusConnection connection)
    : m_connection(std::move(connection)), m_service(std::make_unique<Service>(*this)) {}

InstanceHandOver::~InstanceHandOver() {
    if (m_serving) {
        m_connection.unregisterObject(QLatin1String(objectPath));
        m_connection.unregisterService(QLatin1String(busName));
    }
}

void InstanceHandOver::received(std::function<void(InstanceHandOver&)> call) {
    DispatchQueue::main().async([this, alive = std::weak_ptr<void>(m_lifetimeToken), call = std::move(call)] {
        if (alive.lock()) {
            call(*this);
        }
    });
}

InstanceHandOver::Outcome InstanceHandOver::start(const QStringList& files) {
    if (!m_connection.isConnected() || !m_connection.interface()) {
        Log::info(handOverLogArea,
                  QStringLiteral("no session bus (%1): this window takes no files from later starts")
                      .arg(m_connection.lastError().message()));
        return Outcome::Alone;
    }
    // The object first, so that no call finds the name without it.
    if (!m_connection.registerVirtualObject(QLatin1String(objectPath), m_service.get())) {
        Log::warning(handOverLogArea, QStringLiteral("cannot serve %1 on the session bus").arg(objectPath));
        return Outcome::Alone;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> registered =
        m_connection.interface()->registerService(QLatin1String(busName),
                                                  QDBusConnectionInterface::DontQueueService,
                                                  QDBusConnectionInterface::DontAllowReplacement);
    if (registered.isValid() && registered.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_serving = true;
        return Outcome::Serving;
    }
    m_connection.unregisterObject(QLatin1String(objectPath));

    QDBusMessage call;
    if (files.isEmpty()) {
        call = QDBusMessage::createMethodCall(QLatin1String(busName), QLatin1String(objectPath),
                                              QLatin1String(interfaceName), QStringLiteral("Activate"));
        call << QVariantMap();
    } else {
        QStringList addresses;
        for (const QString& file : files) {
            addresses.append(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded));
        }
        call = QDBusMessage::createMethodCall(QLatin1String(busName), QLatin1String(objectPath),
                                              QLatin1String(interfaceName), QStringLiteral("Open"));
        call << addresses << QVariantMap();
    }
    const QDBusMessage answer = m_connection.call(call, QDBus::Block, answerTimeoutMilliseconds);
    if (answer.type() == QDBusMessage::ReplyMessage) {
        return Outcome::HandedOver;
    }
    Log::warning(handOverLogArea,
                 QStringLiteral("the running Orvella did not take the start over (%1); this one "
                                "opens a window of its own")
                     .arg(answer.errorMessage()));
    return Outcome::Alone;
}
