#include "core/sqlite/SqliteChangeRecorder.h"

#include "core/sqlite/SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

// Any row that is no longer as the changeset left it makes the whole inverse fail: taking back
// a change over a later one would lose the later one.
int abortOnConflict(void*, int, sqlite3_changeset_iter*) {
    return SQLITE_CHANGESET_ABORT;
}

// Whether the session records a table: every one the recorder does not leave out.
int recordsTable(void* context, const char* table) {
    const auto* leftOut = static_cast<const std::vector<QByteArray>*>(context);
    return std::find(leftOut->begin(), leftOut->end(), QByteArray(table)) == leftOut->end() ? 1 : 0;
}

} // namespace

SqliteChangeRecorder::SqliteChangeRecorder(SqliteConnection& connection) : m_connection(connection) {}

SqliteChangeRecorder::~SqliteChangeRecorder() {
    if (m_session) {
        sqlite3session_delete(m_session);
    }
}

SqliteResult SqliteChangeRecorder::start(std::vector<QByteArray> leftOut, std::source_location location) {
    if (!m_connection.m_database) {
        return SqliteError{QStringLiteral("the database is not open"), QString(), location};
    }
    if (sqlite3session_create(m_connection.m_database, "main", &m_session) != SQLITE_OK ||
        sqlite3session_attach(m_session, nullptr) != SQLITE_OK) {
        return SqliteError{QString::fromUtf8(sqlite3_errmsg(m_connection.m_database)),
                           QStringLiteral("recording changes"), location};
    }
    m_leftOut = std::move(leftOut);
    sqlite3session_table_filter(m_session, recordsTable, &m_leftOut);
    return SqliteResult();
}

QByteArray SqliteChangeRecorder::changeset() const {
    if (!m_session) {
        return {};
    }
    int size = 0;
    void* data = nullptr;
    if (sqlite3session_changeset(m_session, &size, &data) != SQLITE_OK) {
        return {};
    }
    QByteArray changes(static_cast<const char*>(data), size);
    sqlite3_free(data);
    return changes;
}

SqliteResult SqliteConnection::applyInverse(const QByteArray& changeset, std::source_location location) {
    const QString what = QStringLiteral("taking back a recorded change");
    if (!m_database) {
        return SqliteError{QStringLiteral("the database is not open"), what, location};
    }
    int invertedSize = 0;
    void* inverted = nullptr;
    if (sqlite3changeset_invert(static_cast<int>(changeset.size()), const_cast<char*>(changeset.constData()),
                                &invertedSize, &inverted) != SQLITE_OK) {
        return SqliteError{QStringLiteral("the recorded change cannot be read"), what, location};
    }
    const int applied =
        sqlite3changeset_apply(m_database, invertedSize, inverted, nullptr, abortOnConflict, nullptr);
    sqlite3_free(inverted);
    if (applied == SQLITE_ABORT) {
        return SqliteError{QStringLiteral("the rows were changed since"), what, location};
    }
    if (applied != SQLITE_OK) {
        return SqliteError{QString::fromUtf8(sqlite3_errmsg(m_database)), what, location};
    }
    return SqliteResult();
}
