#pragma once

#include "core/sqlite/SqliteResult.h"

#include <QByteArray>

#include <source_location>
#include <vector>

class SqliteConnection;
struct sqlite3_session;

// Records the rows one connection inserts, updates and deletes in its tables (SQLite's session
// extension), so that the change can later be taken back exactly with
// SqliteConnection::applyInverse. Lives no longer than its connection.
class SqliteChangeRecorder {
public:
    explicit SqliteChangeRecorder(SqliteConnection& connection);
    ~SqliteChangeRecorder();

    SqliteChangeRecorder(const SqliteChangeRecorder&) = delete;
    SqliteChangeRecorder& operator=(const SqliteChangeRecorder&) = delete;

    // Starts recording every table of the main database but those left out.
    SqliteResult start(std::vector<QByteArray> leftOut = {},
                       std::source_location location = std::source_location::current());
    // What was recorded so far as a changeset; empty when nothing changed.
    QByteArray changeset() const;

private:
    SqliteConnection& m_connection;
    sqlite3_session* m_session = nullptr;
    std::vector<QByteArray> m_leftOut;
};
