#include "app/BetaTestingClient.h"

#include "foundation/Log.h"

void BetaTestingClient::takeOff(const QString& token) {
    Log::debug(QStringLiteral("beta"),
               QStringLiteral("started with a token of %1 characters").arg(token.size()));
}

void BetaTestingClient::setDeviceIdentifier(const QString& identifier) {
    Log::debug(QStringLiteral("beta"), QStringLiteral("device %1").arg(identifier));
}

void BetaTestingClient::passCheckpoint(const QString& name) {
    Log::debug(QStringLiteral("beta"), QStringLiteral("checkpoint %1").arg(name));
}
