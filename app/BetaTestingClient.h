#pragma once

#include <QString>

// The beta-testing and crash-reporting client. This build reports to no service: starting it
// and passing checkpoints only note them in the log at debug level.
class BetaTestingClient {
public:
    static void takeOff(const QString& token);
    static void setDeviceIdentifier(const QString& identifier);
    static void passCheckpoint(const QString& name);
};
