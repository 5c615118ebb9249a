#include "core/sqlite/SqliteTransaction.h"

#include "core/sqlite/SqliteConnection.h"

SqliteTransaction::SqliteTransaction(SqliteConnection& connection) : m_connection(connection) {}

SqliteTransaction::~SqliteTransaction() {
    if (m_state != State::Open) {
        return;
    }
    if (m_nested) {
        m_connection.exec(QStringLiteral("ROLLBACK TO nested_write"));
        m_connection.exec(QStringLiteral("RELEASE nested_write"));
    } else {
        m_connection.exec(QStringLiteral("ROLLBACK"));
    }
}

SqliteResult SqliteTransaction::begin(std::source_location location) {
    m_nested = !m_connection.isAutocommit();
    SqliteResult begun = m_connection.exec(
        m_nested ? QStringLiteral("SAVEPOINT nested_write") : QStringLiteral("BEGIN IMMEDIATE"), location);
    m_state = begun ? State::Open : State::Done;
    return begun;
}

SqliteResult SqliteTransaction::commit(std::source_location location) {
    if (m_state != State::Open) {
        return SqliteError{QStringLiteral("no transaction to commit"), QString(), location};
    }
    SqliteResult committed = m_connection.exec(
        m_nested ? QStringLiteral("RELEASE nested_write") : QStringLiteral("COMMIT"), location);
    if (committed) {
        m_state = State::Done;
    }
    return committed;
}
