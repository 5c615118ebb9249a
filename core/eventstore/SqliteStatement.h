#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement. Values are only ever bound, never pasted into the SQL text. Parameters
// are numbered from 1, columns from 0.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* database, const char* sql);
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_statement != nullptr; }

    // Clears the bindings and rewinds; call before binding a new set of values.
    SqliteStatement& reset();
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    SqliteStatement& bind(int index, double value);
    // A null QString binds NULL.
    SqliteStatement& bind(int index, const QString& value);
    SqliteStatement& bindNull(int index);
    SqliteStatement& bind(int index, const std::optional<double>& value);

    // True while a row is available; false at the end or on an error (see ok()).
    bool step();
    // Runs a statement that returns no rows; false on an error.
    bool execute();
    bool ok() const { return m_ok; }

    bool isNull(int column) const;
    std::int64_t int64(int column) const;
    int integer(int column) const { return static_cast<int>(int64(column)); }
    double real(int column) const;
    // NULL reads as a null QString.
    QString text(int column) const;
    std::optional<double> optionalReal(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    bool m_ok = true;
};
