#pragma once

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

    // Why Radicale is not started in this build, or empty when it is: under ThreadSanitizer a
    // process forked beside the test program's threads leaves it reporting races in later tests
    // that lock properly.
    static QString notStartedWhy();

    // Makes it serve https:// with a self-signed certificate made for it (openssl); call before the
    // first start. Gives why it could not (empty when done).
    QString useSelfSignedCertificate();
    // SHA-256 of that certificate (DER), as a person would confirm it.
    QByteArray certificateSha256() const { return m_certificateSha256; }

    // Starts it, on the same port as before when it ran already, and returns once it listens.
    // Gives why it could not start (empty when it runs).
    QString start();
    // Stops it (terminated, killed when it does not end soon).
    void stop();
    bool isRunning() const;

    // http://127.0.0.1:<port>/, or https:// with the certificate.
    QUrl url() const;
    // The user's principal, which Radicale also uses as the calendar home.
    QUrl homeUrl() const;
    QString userName() const { return QStringLiteral("orvella"); }
    QString password() const { return QStringLiteral("week-planner"); }
    QString storageFolder() const;

    // Makes the calendar collection `name` in the user's home with a plain MKCALENDAR, holding
    // `component`s (VEVENT or VTODO); gives why it could not (empty when it is made).
    QString createCalendar(const QString& name, const QString& displayName, const QString& color = QString(),
                           const QString& component = QStringLiteral("VEVENT"));
    // The address of the user's calendar collection `name`.
    QUrl calendarUrl(const QString& name) const;

private:
    QString writeConfiguration();

    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_port = 0;
    QByteArray m_certificateSha256;
};
