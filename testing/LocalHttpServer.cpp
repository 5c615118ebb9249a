#include "testing/LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <mutex>
#include <optional>

struct LocalHttpServer::State {
    std::mutex mutex;
    std::map<QByteArray, Answer> answers;
    std::vector<Request> requests;
};

namespace {

QByteArray reasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 207:
        return "Multi-Status";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 401:
        return "Unauthorized";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    default:
        return "Status";
    }
}

// A whole request from the start of `buffer`, taken out of it; nothing while it is incomplete.
std::optional<LocalHttpServer::Request> takeRequest(QByteArray& buffer) {
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    LocalHttpServer::Request request;
    const QList<QByteArray> requestLine = lines.first().trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    qsizetype length = 0;
    for (qsizetype index = 1; index < lines.size(); ++index) {
        const qsizetype colon = lines[index].indexOf(':');
        if (colon > 0) {
            request.headers.append(
                {lines[index].left(colon).trimmed(), lines[index].mid(colon + 1).trimmed()});
        }
    }
    length = request.header("Content-Length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length) {
        return std::nullopt;
    }
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return request;
}

void answerOn(QTcpSocket& socket, const LocalHttpServer::Answer& answer) {
    QByteArray head =
        "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reasonOf(answer.status) + "\r\n";
    head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\nConnection: close\r\n";
    for (const auto& [name, value] : answer.headers) {
        head += name + ": " + value + "\r\n";
    }
    socket.write(head + "\r\n" + answer.body);
    socket.disconnectFromHost();
}

} // namespace

void LocalHttpServer::serve(QTcpSocket* socket, const std::shared_ptr<State>& state) {
    auto buffer = std::make_shared<QByteArray>();
    QObject::connect(
        socket, &QTcpSocket::readyRead, socket, [socket, buffer, weakState = std::weak_ptr(state)] {
            *buffer += socket->readAll();
            const auto request = takeRequest(*buffer);
            const auto shared = weakState.lock();
            if (!request || !shared) {
                return;
            }
            LocalHttpServer::Answer answer{404, {}, "Not Found", false};
            {
                std::lock_guard lock(shared->mutex);
                shared->requests.push_back(*request);
                const QByteArray path = request->path.split('?').first();
                if (const auto found = shared->answers.find(path); found != shared->answers.end()) {
                    answer = found->second;
                }
            }
            if (!answer.hold) {
                answerOn(*socket, answer);
            }
        });
}

QByteArray LocalHttpServer::Request::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

LocalHttpServer::LocalHttpServer(std::map<QByteArray, Answer> answers)
    : m_state(std::make_shared<State>()), m_context(new QObject) {
    m_state->answers = std::move(answers);
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("LocalHttpServer"));
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            auto* server = new QTcpServer(m_context);
            server->listen(QHostAddress::LocalHost, 0);
            m_port = server->serverPort();
            QObject::connect(server, &QTcpServer::newConnection, server,
                             [server, weakState = std::weak_ptr(m_state)] {
                                 while (QTcpSocket* socket = server->nextPendingConnection()) {
                                     if (const auto state = weakState.lock()) {
                                         serve(socket, state);
                                     }
                                 }
                             });
        },
        Qt::BlockingQueuedConnection);
}

LocalHttpServer::~LocalHttpServer() {
    m_thread.quit();
    m_thread.wait();
}

QUrl LocalHttpServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
}

std::vector<LocalHttpServer::Request> LocalHttpServer::requests() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

void LocalHttpServer::setAnswer(const QByteArray& path, Answer answer) {
    std::lock_guard lock(m_state->mutex);
    m_state->answers[path] = std::move(answer);
}
