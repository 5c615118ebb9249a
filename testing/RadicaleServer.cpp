#include "testing/RadicaleServer.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTimer>

#include <algorithm>

#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int radicaleStartMilliseconds = 15000;
constexpr int radicaleStopMilliseconds = 5000;
constexpr int radicaleRequestMilliseconds = 10000;

quint16 freeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size();
}

} // namespace

RadicaleServer::RadicaleServer() {
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // A test program that crashes, or a benchmark that never destroys its server, takes it along.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

RadicaleServer::~RadicaleServer() {
    stop();
}

QString RadicaleServer::writeConfiguration() {
    if (!m_folder.isValid()) {
        return QStringLiteral("No temporary folder for Radicale: %1").arg(m_folder.errorString());
    }
    const QString users = m_folder.filePath(QStringLiteral("users"));
    const QString configuration = m_folder.filePath(QStringLiteral("config"));
    const QString text = QStringLiteral("[server]\n"
                                        "hosts = 127.0.0.1:%1\n"
                                        "[auth]\n"
                                        "type = htpasswd\n"
                                        "htpasswd_filename = %2\n"
                                        "htpasswd_encryption = plain\n"
                                        "delay = 0\n"
                                        "[rights]\n"
                                        "type = owner_only\n"
                                        "[storage]\n"
                                        "filesystem_folder = %3\n"
                                        "[web]\n"
                                        "type = none\n"
                                        "[logging]\n"
                                        "level = info\n"
                                        "mask_passwords = True\n")
                             .arg(m_port)
                             .arg(users, storageFolder())
                             .replace(QStringLiteral("[auth]\n"),
                                      m_certificateSha256.isEmpty()
                                          ? QStringLiteral("[auth]\n")
                                          : QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n[auth]\n")
                                                .arg(m_folder.filePath(QStringLiteral("cert.pem")),
                                                     m_folder.filePath(QStringLiteral("key.pem"))));
    if (!writeFile(users, (userName() + QLatin1Char(':') + password() + QLatin1Char('\n')).toUtf8()) ||
        !writeFile(configuration, text.toUtf8())) {
        return QStringLiteral("Could not write Radicale's configuration in %1").arg(m_folder.path());
    }
    return QString();
}

QString RadicaleServer::notStartedWhy() {
#if defined(__SANITIZE_THREAD__)
    return QStringLiteral("Radicale is not started under ThreadSanitizer");
#else
    return QString();
#endif
}

QString RadicaleServer::useSelfSignedCertificate() {
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                   QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"),
                   QStringLiteral("-keyout"), m_folder.filePath(QStringLiteral("key.pem")),
                   QStringLiteral("-out"), m_folder.filePath(QStringLiteral("cert.pem"))});
    if (!openssl.waitForFinished(radicaleStartMilliseconds) || openssl.exitCode() != 0) {
        return QStringLiteral("openssl could not make a certificate: %1%2")
            .arg(openssl.errorString(), QString::fromUtf8(openssl.readAll()));
    }
    const QList<QSslCertificate> certificates =
        QSslCertificate::fromPath(m_folder.filePath(QStringLiteral("cert.pem")));
    if (certificates.isEmpty()) {
        return QStringLiteral("openssl's certificate cannot be read");
    }
    m_certificateSha256 = certificates.front().digest(QCryptographicHash::Sha256);
    return QString();
}

QString RadicaleServer::start() {
    if (isRunning()) {
        return QString();
    }
    if (m_port == 0) {
        m_port = freeLoopbackPort();
        if (const QString failure = writeConfiguration(); !failure.isEmpty()) {
            return failure;
        }
    }
    // Debian's interpreter, which sees the modules of Debian's radicale package, rather than another
    // python3 earlier on the PATH.
    QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (python.isEmpty()) {
        python = QStringLiteral("python3");
    }
    m_process.start(python, {QStringLiteral("-m"), QStringLiteral("radicale"), QStringLiteral("--config"),
                             m_folder.filePath(QStringLiteral("config"))});
    if (!m_process.waitForStarted(radicaleStartMilliseconds)) {
        return QStringLiteral("python3 could not be started for Radicale: %1").arg(m_process.errorString());
    }
    // Radicale says so in its log once it listens.
    const QDeadlineTimer deadline(radicaleStartMilliseconds);
    QByteArray log;
    while (!log.contains("Radicale server ready")) {
        if (!m_process.waitForReadyRead(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)))) {
            log += m_process.readAll();
            const bool missing = log.contains("No module named radicale");
            const bool ended = !isRunning();
            stop();
            if (missing) {
                return QStringLiteral("Radicale is not installed: install the Debian package radicale "
                                      "(scripts/setup.sh does)");
            }
            if (ended) {
                return QStringLiteral("Radicale stopped before it listened on 127.0.0.1:%1:\n%2")
                    .arg(m_port)
                    .arg(QString::fromUtf8(log));
            }
            return QStringLiteral("Radicale did not start listening on 127.0.0.1:%1 within %2 seconds:\n%3")
                .arg(m_port)
                .arg(radicaleStartMilliseconds / 1000)
                .arg(QString::fromUtf8(log));
        }
        log += m_process.readAll();
    }
    return QString();
}

void RadicaleServer::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(radicaleStopMilliseconds)) {
        m_process.kill();
        m_process.waitForFinished(radicaleStopMilliseconds);
    }
}

bool RadicaleServer::isRunning() const {
    return m_process.state() != QProcess::NotRunning;
}

QUrl RadicaleServer::url() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/")
                    .arg(m_certificateSha256.isEmpty() ? QStringLiteral("http") : QStringLiteral("https"))
                    .arg(m_port));
}

QUrl RadicaleServer::homeUrl() const {
    return url().resolved(QUrl(userName() + QLatin1Char('/')));
}

QString RadicaleServer::storageFolder() const {
    return m_folder.filePath(QStringLiteral("collections"));
}

QUrl RadicaleServer::calendarUrl(const QString& name) const {
    return homeUrl().resolved(QUrl(name + QLatin1Char('/')));
}

QString RadicaleServer::createCalendar(const QString& name, const QString& displayName, const QString& color,
                                       const QString& component) {
    QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                      "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\" "
                      "xmlns:I=\"http://apple.com/ns/ical/\"><D:set><D:prop>";
    body += "<D:displayname>" + displayName.toHtmlEscaped().toUtf8() + "</D:displayname>";
    if (!color.isEmpty()) {
        body += "<I:calendar-color>" + color.toHtmlEscaped().toUtf8() + "</I:calendar-color>";
    }
    body += "<C:supported-calendar-component-set><C:comp name=\"" + component.toUtf8() +
            "\"/></C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>";

    QNetworkAccessManager network;
    QNetworkRequest request(calendarUrl(name));
    request.setRawHeader("Authorization",
                         "Basic " + (userName() + QLatin1Char(':') + password()).toUtf8().toBase64());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/xml; charset=utf-8"));
    QNetworkReply* reply = network.sendCustomRequest(request, "MKCALENDAR", body);
    // Its own certificate, which no one has confirmed.
    QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply] { reply->ignoreSslErrors(); });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(radicaleRequestMilliseconds, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        loop.exec();
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString failure =
        status == 201 ? QString()
                      : QStringLiteral("MKCALENDAR %1 failed with status %2: %3")
                            .arg(calendarUrl(name).toString())
                            .arg(status)
                            .arg(reply->isFinished() ? reply->errorString() : QStringLiteral("no answer"));
    delete reply;
    return failure;
}
