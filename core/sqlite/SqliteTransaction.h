#pragma once

#include "core/sqlite/SqliteResult.h"

#include <source_location>

class SqliteConnection;

// One write as a whole: what runs between begin() and commit() lands together or not at all.
// An outermost transaction takes the write lock at once (BEGIN IMMEDIATE), so two processes
// never both start writing from the same state; one begun inside another becomes a savepoint.
// Destroyed without a commit, it rolls back.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteConnection& connection);
    ~SqliteTransaction();

    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    SqliteResult begin(std::source_location location = std::source_location::current());
    SqliteResult commit(std::source_location location = std::source_location::current());

private:
    enum class State { NotBegun, Open, Done };

    SqliteConnection& m_connection;
    State m_state = State::NotBegun;
    bool m_nested = false;
};
