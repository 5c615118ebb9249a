#include "core/objectstore/SqlStatement.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3* database, const QString& sql) : m_database(database) {
    if (!database) {
        m_failed = true;
        return;
    }
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(database, utf8.constData(), static_cast<int>(utf8.size()), &m_statement,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_failed = true;
    }
}

SqlStatement::~SqlStatement() {
    sqlite3_finalize(m_statement);
}

QString SqlStatement::errorMessage() const {
    return m_database ? QString::fromUtf8(sqlite3_errmsg(m_database)) : QStringLiteral("no database");
}

void SqlStatement::bind(int index, std::int64_t value) {
    if (m_statement) {
        sqlite3_bind_int64(m_statement, index, value);
    }
}

void SqlStatement::bind(int index, double value) {
    if (m_statement) {
        sqlite3_bind_double(m_statement, index, value);
    }
}

void SqlStatement::bind(int index, const QString& value) {
    if (!m_statement) {
        return;
    }
    if (value.isNull()) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void SqlStatement::bindBlob(int index, const QByteArray& value) {
    if (!m_statement) {
        return;
    }
    if (value.isNull()) {
        sqlite3_bind_null(m_statement, index);
        return;
    }
    sqlite3_bind_blob(m_statement, index, value.constData(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
}

void SqlStatement::bindNull(int index) {
    if (m_statement) {
        sqlite3_bind_null(m_statement, index);
    }
}

bool SqlStatement::step() {
    if (!m_statement) {
        m_failed = true;
        return false;
    }
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW) {
        return true;
    }
    if (result != SQLITE_DONE) {
        m_failed = true;
    }
    return false;
}

bool SqlStatement::execute() {
    while (step()) {
    }
    return !m_failed;
}

int SqlStatement::columnCount() const {
    return m_statement ? sqlite3_column_count(m_statement) : 0;
}

QString SqlStatement::columnName(int column) const {
    return QString::fromUtf8(sqlite3_column_name(m_statement, column));
}

bool SqlStatement::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqlStatement::isBlob(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_BLOB;
}

std::int64_t SqlStatement::int64(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqlStatement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QString SqlStatement::text(int column) const {
    const auto* data = sqlite3_column_text(m_statement, column);
    if (!data) {
        return QString();
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(data), sqlite3_column_bytes(m_statement, column));
}

QByteArray SqlStatement::blob(int column) const {
    const void* data = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    if (!data) {
        return isNull(column) ? QByteArray() : QByteArray("");
    }
    return QByteArray(static_cast<const char*>(data), size);
}
