#include "core/sqlite/SqliteConnection.h"

#include <sqlite3.h>

SqliteConnection::~SqliteConnection() {
    close();
}

SqliteResult SqliteConnection::open(const QString& path, Mode mode, std::source_location location) {
    close();
    const int flags =
        (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_database, flags, nullptr) != SQLITE_OK) {
        SqliteError error{m_database ? QString::fromUtf8(sqlite3_errmsg(m_database))
                                     : QStringLiteral("out of memory"),
                          QString(), location};
        sqlite3_close_v2(m_database);
        m_database = nullptr;
        m_lastFailure = error;
        return error;
    }
    sqlite3_busy_timeout(m_database, 5000);
    return exec(QStringLiteral("PRAGMA foreign_keys = ON"), location);
}

void SqliteConnection::close() {
    m_statements.clear();
    if (m_database) {
        sqlite3_close_v2(m_database);
        m_database = nullptr;
    }
}

SqliteResult SqliteConnection::exec(const QString& sql, std::source_location location) {
    if (!m_database) {
        SqliteError error{QStringLiteral("the database is not open"), sql, location};
        m_lastFailure = error;
        return error;
    }
    char* message = nullptr;
    if (sqlite3_exec(m_database, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        SqliteError error{QString::fromUtf8(message ? message : sqlite3_errmsg(m_database)), sql, location};
        sqlite3_free(message);
        m_lastFailure = error;
        return error;
    }
    return SqliteResult();
}

SqliteStatement& SqliteConnection::statement(const char* sql, std::source_location location) {
    auto found = m_statements.find(sql);
    if (found == m_statements.end()) {
        auto prepared = std::unique_ptr<SqliteStatement>(
            new SqliteStatement(*this, QString::fromUtf8(sql), SqliteStatement::Lifetime::Kept, location));
        found = m_statements.emplace(sql, std::move(prepared)).first;
    }
    found->second->m_location = location;
    return found->second->reset();
}

std::int64_t SqliteConnection::lastInsertRowId() const {
    return m_database ? sqlite3_last_insert_rowid(m_database) : 0;
}

std::int64_t SqliteConnection::totalChanges() const {
    return m_database ? sqlite3_total_changes64(m_database) : 0;
}

bool SqliteConnection::isAutocommit() const {
    return !m_database || sqlite3_get_autocommit(m_database) != 0;
}

int SqliteConnection::userVersion() {
    SqliteStatement& query = statement("PRAGMA user_version");
    const int version = query.step() ? query.integer(0) : 0;
    query.reset();
    return version;
}

SqliteResult SqliteConnection::setUserVersion(int version) {
    // PRAGMA takes no parameters; the value is our own number, never user text.
    return exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

std::int64_t SqliteConnection::dataVersion() {
    SqliteStatement& query = statement("PRAGMA data_version");
    const std::int64_t version = query.step() ? query.int64(0) : 0;
    query.reset();
    return version;
}

std::int32_t SqliteConnection::applicationId() {
    SqliteStatement& query = statement("PRAGMA application_id");
    const std::int32_t id = query.step() ? query.integer(0) : 0;
    query.reset();
    return id;
}

SqliteResult SqliteConnection::setApplicationId(std::int32_t id) {
    // PRAGMA takes no parameters; the value is our own number.
    return exec(QStringLiteral("PRAGMA application_id = %1").arg(id));
}

bool SqliteConnection::hasTables() {
    SqliteStatement& query = statement("SELECT 1 FROM sqlite_master WHERE type = 'table' LIMIT 1");
    const bool found = query.step();
    query.reset();
    return found;
}

bool SqliteConnection::hasTable(const QString& name) {
    SqliteStatement& query = statement("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
    query.bind(1, name);
    const bool found = query.step();
    query.reset();
    return found;
}

QString SqliteConnection::journalMode() {
    SqliteStatement& query = statement("PRAGMA journal_mode");
    const QString mode = query.step() ? query.text(0).toLower() : QString();
    query.reset();
    return mode;
}
