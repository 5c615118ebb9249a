#pragma once

#include "core/sqlite/SqliteResult.h"
#include "core/sqlite/SqliteStatement.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <unordered_map>

struct sqlite3;

// One connection to an SQLite database with its fixed statements kept for reuse. Both stores
// use it: the event store gives each reading thread a connection of its own and guards its
// writer's with a lock; the object store has one on the main thread. Not safe for use by two
// threads at once.
class SqliteConnection {
public:
    enum class Mode { ReadWrite, ReadOnly };

    SqliteConnection() = default;
    ~SqliteConnection();

    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    // Waits a moment for another process's write lock rather than failing, and enforces
    // foreign keys. A read-write database is created when missing.
    SqliteResult open(const QString& path, Mode mode,
                      std::source_location location = std::source_location::current());
    bool isOpen() const { return m_database != nullptr; }
    // Finalizes the kept statements and closes; statements of one use must be gone by then.
    void close();

    // Runs SQL without parameters: schema, pragmas, transaction control.
    SqliteResult exec(const QString& sql, std::source_location location = std::source_location::current());
    // The kept statement for `sql`, reset with its bindings cleared.
    SqliteStatement& statement(const char* sql,
                               std::source_location location = std::source_location::current());
    // The most recent failure of any statement on this connection, for code that reports a
    // failure after a chain of steps that each only said whether they succeeded.
    const std::optional<SqliteError>& lastFailure() const { return m_lastFailure; }

    std::int64_t lastInsertRowId() const;
    // Rows inserted, updated or deleted through this connection since it was opened.
    std::int64_t totalChanges() const;
    // False inside BEGIN … COMMIT.
    bool isAutocommit() const;

    // PRAGMA user_version and PRAGMA data_version.
    int userVersion();
    SqliteResult setUserVersion(int version);
    std::int64_t dataVersion();
    // PRAGMA application_id: the mark of the program a database belongs to, 0 when unmarked.
    std::int32_t applicationId();
    SqliteResult setApplicationId(std::int32_t id);
    bool hasTables();
    // PRAGMA journal_mode, lower case ("wal", "delete", ...).
    QString journalMode();
    bool hasTable(const QString& name);

    // Takes back a change a SqliteChangeRecorder recorded on a connection to this database, in
    // the current transaction. Fails, changing nothing, when a row it touched was changed since.
    SqliteResult applyInverse(const QByteArray& changeset,
                              std::source_location location = std::source_location::current());

private:
    friend class SqliteStatement;
    friend class SqliteChangeRecorder;

    sqlite3* m_database = nullptr;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> m_statements;
    std::optional<SqliteError> m_lastFailure;
};
