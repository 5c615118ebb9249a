#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QThread>
#include <QUrl>

#include <map>
#include <memory>
#include <utility>
#include <vector>

class QObject;
class QTcpSocket;

// For tests: a small HTTP/1.1 server on 127.0.0.1 and a free port, in a thread of its own so
// that a client may block the test's thread while it answers. Each request is answered from a
// table of paths given by the test (404 for other paths) and then the connection is closed; the
// requests it saw are kept for the test to check. Stopped by its destructor.
class LocalHttpServer {
public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    struct Answer {
        int status = 200;
        Headers headers;
        QByteArray body;
        // Keeps the connection open without ever answering.
        bool hold = false;
    };

    struct Request {
        QByteArray method;
        // As sent, percent-encoded, with the query.
        QByteArray path;
        Headers headers;
        QByteArray body;

        // The first header of that name (without regard to case); empty when absent.
        QByteArray header(const QByteArray& name) const;
    };

    // Answers by path, such as "/" or "/calendar.ics".
    explicit LocalHttpServer(std::map<QByteArray, Answer> answers);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    quint16 port() const { return m_port; }
    // http://127.0.0.1:<port><path>
    QUrl url(const QString& path = QStringLiteral("/")) const;
    std::vector<Request> requests() const;
    // Sets or replaces the answer for `path`, for answers that name the server's own address.
    void setAnswer(const QByteArray& path, Answer answer);

private:
    struct State;

    // Answers the requests arriving on `socket`, in the server's thread.
    static void serve(QTcpSocket* socket, const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_state;
    QThread m_thread;
    // Lives in m_thread and holds the listening socket; deleted when the thread finishes.
    QObject* m_context = nullptr;
    quint16 m_port = 0;
};
