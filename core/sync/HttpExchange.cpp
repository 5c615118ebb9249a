#include "core/sync/HttpExchange.h"

#include "foundation/Localization.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

int defaultPortOf(const QUrl& url) {
    return url.scheme().compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0 ? 443 : 80;
}

bool isSameServer(const QUrl& a, const QUrl& b) {
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 &&
           a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(defaultPortOf(a)) == b.port(defaultPortOf(b));
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

DavError davError(DavError::Kind kind, const QUrl& url, int status, const QString& message) {
    DavError error;
    error.kind = kind;
    error.httpStatus = status;
    error.url = url;
    error.message = message;
    return error;
}

QByteArray HttpAnswer::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

HttpExchange::HttpExchange(QNetworkAccessManager& network, Bounds bounds, QByteArray authorization)
    : m_network(network), m_bounds(std::move(bounds)), m_authorization(std::move(authorization)) {}

bool HttpExchange::isLoopbackHost(const QString& host) {
    return host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 ||
           QHostAddress(host).isLoopback();
}

DavResult<HttpAnswer> HttpExchange::send(const HttpRequest& request) {
    const QUrl& url = request.url;
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("http")) {
        if (!isLoopbackHost(url.host())) {
            return davError(
                DavError::Kind::Insecure, url, 0,
                localizedString(QStringLiteral("%1 is a plain http:// address; only https:// addresses are "
                                               "used for other computers than this one"))
                    .arg(url.toDisplayString()));
        }
    } else if (scheme != QStringLiteral("https") || url.host().isEmpty()) {
        return davError(
            DavError::Kind::Insecure, url, 0,
            localizedString(QStringLiteral("%1 is not an https:// address")).arg(url.toDisplayString()));
    }

    const QDeadlineTimer deadline(m_bounds.timeout);
    HttpRequest current = request;
    for (int redirects = 0;; ++redirects) {
        auto answer = sendOnce(current, deadline);
        if (!answer || !isRedirect(answer.value().status)) {
            return answer;
        }
        const QByteArray location = answer.value().header("Location");
        if (location.isEmpty()) {
            return answer;
        }
        const QUrl target = current.url.resolved(QUrl::fromEncoded(location.trimmed()));
        if (!isSameServer(target, request.url)) {
            return davError(
                DavError::Kind::Insecure, current.url, 0,
                localizedString(QStringLiteral("%1 sent the request on to %2, another server; it was not "
                                               "followed so that the password stays with %3"))
                    .arg(current.url.toDisplayString(), target.toDisplayString(), request.url.host()));
        }
        if (redirects >= m_bounds.maxRedirects) {
            return davError(DavError::Kind::Insecure, current.url, 0,
                            localizedString(QStringLiteral("%1 sent the request on more than %2 times"))
                                .arg(request.url.toDisplayString())
                                .arg(m_bounds.maxRedirects));
        }
        // WebDAV methods keep their method and body through every kind of redirect.
        current.url = target;
    }
}

DavResult<HttpAnswer> HttpExchange::sendOnce(const HttpRequest& request, const QDeadlineTimer& deadline) {
    const QUrl& url = request.url;
    const auto timedOut = [&] {
        return davError(DavError::Kind::Timeout, url, 0,
                        localizedString(QStringLiteral("%1 did not answer completely within %2 seconds"))
                            .arg(url.toDisplayString())
                            .arg(static_cast<double>(m_bounds.timeout.count()) / 1000.0));
    };
    if (deadline.hasExpired()) {
        return timedOut();
    }

    QNetworkRequest networkRequest(url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                QNetworkRequest::ManualRedirectPolicy);
    networkRequest.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
    networkRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    networkRequest.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    networkRequest.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    networkRequest.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    for (const auto& [name, value] : request.headers) {
        networkRequest.setRawHeader(name, value);
    }
    if (!m_authorization.isEmpty()) {
        networkRequest.setRawHeader("Authorization", m_authorization);
    }

    QEventLoop loop;
    const std::unique_ptr<QNetworkReply> reply(
        m_network.sendCustomRequest(networkRequest, request.method, request.body));
    QByteArray body;
    bool tooLarge = false;
    bool expired = false;
    QByteArray refusedCertificate;

    const auto readAvailable = [&] {
        body += reply->readAll();
        if (body.size() > m_bounds.maxAnswerBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_bounds.maxAnswerBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, readAvailable);
    QObject::connect(reply.get(), &QNetworkReply::sslErrors, &loop, [&](const QList<QSslError>& errors) {
        const QByteArray fingerprint =
            reply->sslConfiguration().peerCertificate().digest(QCryptographicHash::Sha256);
        if (!m_bounds.pinnedCertificateSha256.isEmpty() && fingerprint == m_bounds.pinnedCertificateSha256) {
            reply->ignoreSslErrors(errors);
        } else {
            refusedCertificate = fingerprint;
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, [&] {
        expired = true;
        reply->abort();
    });
    bound.start(std::chrono::milliseconds(std::max<qint64>(deadline.remainingTime(), 0)));
    if (!reply->isFinished()) {
        loop.exec();
    }
    bound.stop();

    if (expired) {
        return timedOut();
    }
    if (!tooLarge) {
        readAvailable();
    }
    if (tooLarge) {
        return davError(
            DavError::Kind::TooLarge, url, 0,
            localizedString(QStringLiteral("The answer of %1 is larger than the %2 bytes allowed"))
                .arg(url.toDisplayString())
                .arg(m_bounds.maxAnswerBytes));
    }

    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid()) {
        if (!refusedCertificate.isEmpty()) {
            DavError error =
                davError(DavError::Kind::Certificate, url, 0,
                         localizedString(QStringLiteral("The certificate of %1 is not trusted: %2"))
                             .arg(url.host(), reply->errorString()));
            error.certificateSha256 = refusedCertificate;
            return error;
        }
        return davError(DavError::Kind::Network, url, 0,
                        localizedString(QStringLiteral("Could not reach %1: %2"))
                            .arg(url.toDisplayString(), reply->errorString()));
    }

    HttpAnswer answer;
    answer.status = status.toInt();
    answer.url = url;
    for (const auto& [name, value] : reply->rawHeaderPairs()) {
        answer.headers.append({name, value});
    }
    answer.body = std::move(body);
    return answer;
}
