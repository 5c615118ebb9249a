#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

#include <utility>
#include <variant>

// Why a request to a calendar server failed, with the address it was made to. `message` says what
// was wrong in words a person can act on, naming the address.
struct DavError {
    enum class Kind {
        // No connection, a refused connection or a broken one.
        Network,
        // No complete answer within the time allowed.
        Timeout,
        // An answer larger than allowed.
        TooLarge,
        // Plain http:// to an address other than this computer, or a redirect that would leave the
        // server with the credentials, or too many redirects.
        Insecure,
        // The server's certificate is not trusted and its fingerprint was not confirmed;
        // `certificateSha256` holds the fingerprint to show.
        Certificate,
        // 401 or 403: a wrong user name or password, or no right to do this.
        Unauthorized,
        // 404 or 410.
        NotFound,
        // 412: the resource changed on the server since its etag was read.
        PreconditionFailed,
        // The address answers, but not as a CalDAV server or calendar.
        NotCalDav,
        // The server no longer accepts the sync token; list the whole collection instead.
        SyncTokenInvalid,
        // An answer that cannot be read (bad XML, missing parts).
        BadAnswer,
        // Any other status.
        Http,
    };

    Kind kind = Kind::Network;
    int httpStatus = 0;
    QUrl url;
    QString message;
    // SHA-256 of the server's certificate (DER), for Kind::Certificate.
    QByteArray certificateSha256;
};

// A value, or the error that kept it from being had. True when it holds the value.
template <typename T> class DavResult {
public:
    DavResult(T value) : m_state(std::move(value)) {}
    DavResult(DavError error) : m_state(std::move(error)) {}

    explicit operator bool() const { return m_state.index() == 0; }
    const T& value() const& {
        Q_ASSERT(m_state.index() == 0);
        return std::get<0>(m_state);
    }
    T&& value() && {
        Q_ASSERT(m_state.index() == 0);
        return std::get<0>(std::move(m_state));
    }
    const DavError& error() const {
        Q_ASSERT(m_state.index() == 1);
        return std::get<1>(m_state);
    }

private:
    std::variant<T, DavError> m_state;
};

// The value of a request that answers nothing but success.
struct DavDone {};
