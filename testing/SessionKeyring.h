#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// For tests: a session bus of its own (dbus-daemon) with the GNOME keyring's Secret Service on it
// (gnome-keyring-daemon, unlocked with a test password), in a temporary home. Programs started
// with environment() keep their passwords there, never in the person's own keyring. Stopped by
// its destructor.
class SessionKeyring {
public:
    SessionKeyring() = default;
    ~SessionKeyring();
    SessionKeyring(const SessionKeyring&) = delete;
    SessionKeyring& operator=(const SessionKeyring&) = delete;

    // Starts both and returns once the Secret Service answers on the bus; gives why it could not
    // (empty when it runs).
    QString start();
    // The system environment with this bus, home and runtime folder.
    QProcessEnvironment environment() const { return m_environment; }
    // The folder the keyring keeps its files in.
    QString keyringFolder() const;

    // The system environment with no session bus: a program started with it finds no keyring.
    static QProcessEnvironment withoutKeyring();

private:
    bool serviceAnswers() const;

    QTemporaryDir m_home;
    QProcessEnvironment m_environment;
    QProcess m_bus;
    QProcess m_keyring;
};
