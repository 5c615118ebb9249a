#include "core/sqlite/SqliteStatement.h"

#include "core/sqlite/SqliteConnection.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(SqliteConnection& connection, const QString& sql,
                                 std::source_location location)
    : SqliteStatement(connection, sql, Lifetime::OneUse, location) {}

SqliteStatement::SqliteStatement(SqliteConnection& connection, const QString& sql, Lifetime lifetime,
                                 std::source_location location)
    : m_connection(connection), m_location(location) {
    if (!connection.m_database) {
        m_error = SqliteError{QStringLiteral("the database is not open"), sql, location};
        connection.m_lastFailure = m_error;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    const unsigned flags = lifetime == Lifetime::Kept ? SQLITE_PREPARE_PERSISTENT : 0;
    if (sqlite3_prepare_v3(connection.m_database, utf8.constData(), static_cast<int>(utf8.size()), flags,
                           &m_statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_error = SqliteError{QString::fromUtf8(sqlite3_errmsg(connection.m_database)), sql, location};
        connection.m_lastFailure = m_error;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteResult SqliteStatement::result() const {
    return m_error ? SqliteResult(*m_error) : SqliteResult();
}

void SqliteStatement::fail() {
    m_error = SqliteError{QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_statement))),
                          QString::fromUtf8(sqlite3_sql(m_statement)), m_location};
    m_connection.m_lastFailure = m_error;
}

SqliteStatement& SqliteStatement::reset() {
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_error.reset();
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
    if (m_statement) {
        sqlite3_bind_int64(m_statement, index, value);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
    if (m_statement) {
        sqlite3_bind_double(m_statement, index, value);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::optional<double>& value) {
    return value ? bind(index, *value) : bindNull(index);
}

SqliteStatement& SqliteStatement::bind(int index, const QString& value) {
    if (!m_statement) {
        return *this;
    }
    if (value.isNull()) {
        return bindNull(index);
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, const QByteArray& value) {
    if (!m_statement) {
        return *this;
    }
    if (value.isNull()) {
        return bindNull(index);
    }
    sqlite3_bind_blob(m_statement, index, value.constData(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    if (m_statement) {
        sqlite3_bind_null(m_statement, index);
    }
    return *this;
}

bool SqliteStatement::step() {
    if (!m_statement) {
        return false;
    }
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code != SQLITE_DONE) {
        fail();
    }
    return false;
}

SqliteResult SqliteStatement::execute() {
    while (step()) {
    }
    if (m_statement) {
        sqlite3_reset(m_statement);
    }
    return result();
}

int SqliteStatement::columnCount() const {
    return m_statement ? sqlite3_column_count(m_statement) : 0;
}

QString SqliteStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqliteStatement::isBlob(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_BLOB;
}

std::int64_t SqliteStatement::int64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QString SqliteStatement::text(int column) const {
    const auto* data = sqlite3_column_text(m_statement, column);
    if (!data) {
        return QString();
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), sqlite3_column_bytes(m_statement, column));
}

QByteArray SqliteStatement::blob(int column) const {
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data) {
        return isNull(column) ? QByteArray() : QByteArray("");
    }
    return QByteArray(static_cast<const char*>(data), size);
}
