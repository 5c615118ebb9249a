#pragma once

#include "core/sync/DavResult.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// For tests: a real CalDAV server, Radicale (the Debian package radicale), run as a process on
// 127.0.0.1 with its own temporary storage and one user whose password is kept in plain text.
// Each user may reach only their own collections. Stopped by its destructor.
class RadicaleServer {
public:
    RadicaleServer();
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer&) = delete;
    RadicaleServer& operator=(const RadicaleServer&) = delete;

    // Starts it, on the same port as before when it ran already, and returns once it listens.
    // Gives why it could not start (empty when it runs).
    QString start();
    // Stops it (terminated, killed when it does not end soon).
    void stop();
    bool isRunning() const;

    // http://127.0.0.1:<port>/
    QUrl url() const;
    // The user's principal, which Radicale also uses as the calendar home.
    QUrl homeUrl() const;
    QString userName() const { return QStringLiteral("orvella"); }
    QString password() const { return QStringLiteral("week-planner"); }
    QString storageFolder() const;

    // Makes a calendar collection for events in the user's home; gives its address.
    DavResult<QUrl> createCalendar(const QString& displayName, const QString& color = QString());

private:
    QString writeConfiguration();

    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_port = 0;
};
