#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement of the object store, finalized when destroyed. Parameters are
// numbered from 1, columns from 0. It logs nothing itself: the store reports its failures in
// its own words.
class SqlStatement {
public:
    SqlStatement(sqlite3* database, const QString& sql);
    ~SqlStatement();

    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    bool isValid() const { return m_statement != nullptr; }
    // SQLite's message for the last failure of this statement's connection.
    QString errorMessage() const;

    void bind(int index, std::int64_t value);
    void bind(int index, double value);
    // A null QString binds NULL.
    void bind(int index, const QString& value);
    // A null QByteArray binds NULL.
    void bindBlob(int index, const QByteArray& value);
    void bindNull(int index);

    // True while a row is available; false at the end or on a failure (see failed()).
    bool step();
    // Steps to the end; true when the statement completed.
    bool execute();
    bool failed() const { return m_failed; }

    int columnCount() const;
    QString columnName(int column) const;
    bool isNull(int column) const;
    bool isBlob(int column) const;
    std::int64_t int64(int column) const;
    double real(int column) const;
    // NULL reads as a null QString.
    QString text(int column) const;
    QByteArray blob(int column) const;

private:
    sqlite3* m_database = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};
