#pragma once

#include "core/sqlite/SqliteResult.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <source_location>

class SqliteConnection;
struct sqlite3_stmt;

// A prepared statement. Values are only ever bound, never pasted into the SQL text; SQL that is
// built at run time (the object store's table and column names) is built from our own
// identifiers. Parameters are numbered from 1, columns from 0. Text goes in and out as UTF-8.
class SqliteStatement {
public:
    // Prepares `sql` for this statement's lifetime: for SQL that names tables chosen at run time.
    // Fixed SQL run again and again comes from SqliteConnection::statement(), which keeps it.
    SqliteStatement(SqliteConnection& connection, const QString& sql,
                    std::source_location location = std::source_location::current());
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Success, or why preparing or the last step failed.
    SqliteResult result() const;

    // Clears the bindings and the error and rewinds; call before binding a new set of values.
    SqliteStatement& reset();
    SqliteStatement& bind(int index, std::int64_t value);
    SqliteStatement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    SqliteStatement& bind(int index, double value);
    SqliteStatement& bind(int index, const std::optional<double>& value);
    // A null QString binds NULL.
    SqliteStatement& bind(int index, const QString& value);
    // A null QByteArray binds NULL.
    SqliteStatement& bindBlob(int index, const QByteArray& value);
    SqliteStatement& bindNull(int index);

    // True while a row is available; false at the end or on a failure (see result()).
    bool step();
    // Steps to the end and rewinds, keeping the bindings.
    SqliteResult execute();

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    bool isBlob(int column) const;
    std::int64_t int64(int column) const;
    int integer(int column) const { return static_cast<int>(int64(column)); }
    double real(int column) const;
    // NULL reads as a null QString.
    QString text(int column) const;
    // NULL reads as a null QByteArray, an empty blob as an empty one.
    QByteArray blob(int column) const;

private:
    friend class SqliteConnection;

    enum class Lifetime { OneUse, Kept };

    SqliteStatement(SqliteConnection& connection, const QString& sql, Lifetime lifetime,
                    std::source_location location);
    void fail();

    SqliteConnection& m_connection;
    sqlite3_stmt* m_statement = nullptr;
    std::source_location m_location;
    std::optional<SqliteError> m_error;
};
