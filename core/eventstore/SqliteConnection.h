#pragma once

#include "core/eventstore/SqliteStatement.h"

#include <QString>

#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;

// One connection to an SQLite database with its prepared statements kept for reuse. Not safe for
// use by two threads at once; the store gives each user its own connection or a lock.
class SqliteConnection {
public:
    enum class Mode { ReadWrite, ReadOnly };

    SqliteConnection() = default;
    ~SqliteConnection();

    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    bool open(const QString& path, Mode mode, QString* error);
    bool isOpen() const { return m_database != nullptr; }
    sqlite3* handle() const { return m_database; }

    // Runs SQL without parameters (schema, pragmas, transactions).
    bool exec(const char* sql);
    // The prepared statement for `sql`, reset with its bindings cleared.
    SqliteStatement& statement(const char* sql);
    QString lastError() const;

    // Runs `PRAGMA user_version` / `PRAGMA data_version` and returns the number.
    int userVersion();
    bool setUserVersion(int version);
    std::int64_t dataVersion();

private:
    sqlite3* m_database = nullptr;
    std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> m_statements;
};
