#include "app/BetaTestingClient.h"

#include "foundation/Log.h"

namespace {
bool s_takenOff = false;
}

void BetaTestingClient::takeOff(const QString& token) {
    s_takenOff = !token.isEmpty();
}

void BetaTestingClient::setDeviceIdentifier(const QString& identifier) {
    Log::debug(QStringLiteral("beta"), QStringLiteral("device %1").arg(identifier));
}

void BetaTestingClient::passCheckpoint(const QString& name) {
    Log::debug(QStringLiteral("beta"), QStringLiteral("checkpoint %1").arg(name));
}

bool BetaTestingClient::hasTakenOff() {
    return s_takenOff;
}
