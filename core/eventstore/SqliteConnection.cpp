#include "core/eventstore/SqliteConnection.h"

#include "foundation/Log.h"

#include <sqlite3.h>

SqliteConnection::~SqliteConnection() {
    m_statements.clear();
    if (m_database) {
        sqlite3_close_v2(m_database);
    }
}

bool SqliteConnection::open(const QString& path, Mode mode, QString* error) {
    const int flags =
        (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_database, flags, nullptr) != SQLITE_OK) {
        if (error) {
            *error =
                m_database ? QString::fromUtf8(sqlite3_errmsg(m_database)) : QStringLiteral("out of memory");
        }
        sqlite3_close_v2(m_database);
        m_database = nullptr;
        return false;
    }
    // Another process may hold the write lock for a moment; wait rather than fail.
    sqlite3_busy_timeout(m_database, 5000);
    exec("PRAGMA foreign_keys = ON");
    return true;
}

bool SqliteConnection::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(m_database, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        Log::error(QStringLiteral("eventstore"),
                   QStringLiteral("“%1” failed: %2").arg(QString::fromUtf8(sql), QString::fromUtf8(message)));
        sqlite3_free(message);
        return false;
    }
    return true;
}

SqliteStatement& SqliteConnection::statement(const char* sql) {
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        found = m_statements.emplace(sql, std::make_unique<SqliteStatement>(m_database, sql)).first;
    }
    return found->second->reset();
}

QString SqliteConnection::lastError() const {
    return m_database ? QString::fromUtf8(sqlite3_errmsg(m_database)) : QString();
}

int SqliteConnection::userVersion() {
    SqliteStatement& query = statement("PRAGMA user_version");
    const int version = query.step() ? query.integer(0) : 0;
    query.reset();
    return version;
}

bool SqliteConnection::setUserVersion(int version) {
    // PRAGMA takes no parameters; the value is our own number, never user text.
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(version).toUtf8().constData());
}

std::int64_t SqliteConnection::dataVersion() {
    SqliteStatement& query = statement("PRAGMA data_version");
    const std::int64_t version = query.step() ? query.int64(0) : 0;
    query.reset();
    return version;
}
