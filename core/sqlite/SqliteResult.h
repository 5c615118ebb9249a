#pragma once

#include "core/sqlite/SqliteError.h"

#include <QtGlobal>

#include <optional>
#include <utility>

// The outcome of running SQL: success, or the error with its location. True when it succeeded,
// so `if (!statement.execute())` reads as it says.
class SqliteResult {
public:
    SqliteResult() = default;
    SqliteResult(SqliteError error) : m_error(std::move(error)) {}

    explicit operator bool() const { return !m_error.has_value(); }
    // Only for a failed result.
    const SqliteError& error() const {
        Q_ASSERT(m_error.has_value());
        return *m_error;
    }

private:
    std::optional<SqliteError> m_error;
};
