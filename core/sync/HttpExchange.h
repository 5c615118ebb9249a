#pragma once

#include "core/sync/DavResult.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QUrl>

#include <chrono>
#include <utility>

class QNetworkAccessManager;

// An error of a request to `url`, with the status it was answered with (0 when none).
DavError davError(DavError::Kind kind, const QUrl& url, int status, const QString& message);

using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One HTTP request to a calendar server and its answer.
struct HttpRequest {
    QByteArray method;
    QUrl url;
    HttpHeaders headers;
    QByteArray body;
};

struct HttpAnswer {
    int status = 0;
    // Where the answer came from, after redirects.
    QUrl url;
    HttpHeaders headers;
    QByteArray body;

    // The first header of that name (compared without regard to case); empty when absent.
    QByteArray header(const QByteArray& name) const;
};

// Sends one request and blocks the calling thread (in a local event loop) until its answer is
// complete or a bound is reached: the answer's size, the total time, the number of redirects.
// Redirects are followed only within the request's own scheme, host and port, which are also the
// only ones to receive the credentials. Plain http:// is refused unless the host is this computer.
class HttpExchange {
public:
    struct Bounds {
        qint64 maxAnswerBytes = 0;
        std::chrono::milliseconds timeout{0};
        int maxRedirects = 0;
        QByteArray pinnedCertificateSha256;
    };

    HttpExchange(QNetworkAccessManager& network, Bounds bounds, QByteArray authorization);

    // Any status the server answers is a value; errors are only failures to get an answer.
    DavResult<HttpAnswer> send(const HttpRequest& request);

    // True for addresses plain http:// may go to: 127.0.0.0/8, ::1 and "localhost".
    static bool isLoopbackHost(const QString& host);

private:
    // The outcome of one round trip, before redirects are considered.
    DavResult<HttpAnswer> sendOnce(const HttpRequest& request, const QDeadlineTimer& deadline);

    QNetworkAccessManager& m_network;
    Bounds m_bounds;
    QByteArray m_authorization;
};
