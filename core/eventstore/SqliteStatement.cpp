#include "core/eventstore/SqliteStatement.h"

#include "foundation/Log.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(sqlite3* database, const char* sql) {
    if (sqlite3_prepare_v3(database, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr) !=
        SQLITE_OK) {
        Log::error(QStringLiteral("eventstore"),
                   QStringLiteral("could not prepare “%1”: %2")
                       .arg(QString::fromUtf8(sql), QString::fromUtf8(sqlite3_errmsg(database))));
        m_statement = nullptr;
        m_ok = false;
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::reset() {
    if (m_statement) {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
        m_ok = true;
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

SqliteStatement& SqliteStatement::bind(int index, const QString& value) {
    if (!m_statement) {
        return *this;
    }
    if (value.isNull()) {
        sqlite3_bind_null(m_statement, index);
    } else {
        sqlite3_bind_text16(m_statement, index, value.utf16(), static_cast<int>(value.size() * 2),
                            SQLITE_TRANSIENT);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bindNull(int index) {
    if (m_statement) {
        sqlite3_bind_null(m_statement, index);
    }
    return *this;
}

SqliteStatement& SqliteStatement::bind(int index, const std::optional<double>& value) {
    return value ? bind(index, *value) : bindNull(index);
}

bool SqliteStatement::step() {
    if (!m_statement) {
        m_ok = false;
        return false;
    }
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        m_ok = false;
        sqlite3* database = sqlite3_db_handle(m_statement);
        Log::error(QStringLiteral("eventstore"),
                   QStringLiteral("statement failed: %1").arg(QString::fromUtf8(sqlite3_errmsg(database))));
    }
    return false;
}

bool SqliteStatement::execute() {
    while (step()) {
    }
    const bool succeeded = m_ok;
    if (m_statement) {
        sqlite3_reset(m_statement);
    }
    return succeeded;
}

bool SqliteStatement::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::int64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteStatement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QString SqliteStatement::text(int column) const {
    const void* data = sqlite3_column_text16(m_statement, column);
    if (!data) {
        return QString();
    }
    const int bytes = sqlite3_column_bytes16(m_statement, column);
    return QString(static_cast<const QChar*>(data), bytes / 2);
}

std::optional<double> SqliteStatement::optionalReal(int column) const {
    if (isNull(column)) {
        return std::nullopt;
    }
    return real(column);
}
