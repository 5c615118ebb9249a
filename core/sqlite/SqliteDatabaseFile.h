#pragma once

#include "core/sqlite/SqliteResult.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class SqliteConnection;

// The checks that keep this program's stores from adopting or altering files that are not theirs.
class SqliteDatabaseFile {
public:
    // Why the file cannot be opened as an SQLite database, judged from its first bytes before SQLite
    // touches it: its folder is not a folder, it is a folder itself, it is no SQLite database, or it
    // is cut short. Nothing for a file that does not exist yet (it is created) or is empty.
    static std::optional<QString> problem(const QString& path);

    // Marks the database as this program's with PRAGMA application_id (in one write transaction):
    // a new, empty database and one made before databases were marked (recognised by
    // `isOwnSchema`) are marked; a database of another program is refused and left as it was.
    static SqliteResult claim(SqliteConnection& connection, std::int32_t applicationId,
                              const std::function<bool(SqliteConnection&)>& isOwnSchema);
};
