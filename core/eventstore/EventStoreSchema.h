#pragma once

#include "core/sqlite/SqliteResult.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class SqliteConnection;

// The versions of the store's database layout. Each version has a migration from the one before;
// a database is brought to the current version in one transaction when the store opens it, and
// the version is kept in PRAGMA user_version.
class EventStoreSchema {
public:
    using Migration = std::function<SqliteResult(SqliteConnection&)>;

    // PRAGMA application_id of the store's databases: "ORVE".
    static constexpr std::int32_t applicationId = 0x4F525645;
    // Whether an unmarked database holds the store's tables (made before databases were marked).
    static bool isOwnSchema(SqliteConnection& connection);

    static int currentVersion();
    // migrations()[i] takes a database from version i to version i + 1.
    static const std::vector<Migration>& migrations();

    enum class Result { Migrated, UpToDate, TooNew, Failed };
    // Brings the database to the version `steps.size()` (by default the current one).
    static Result migrate(SqliteConnection& connection, QString* error);
    static Result migrate(SqliteConnection& connection, const std::vector<Migration>& steps, QString* error);
};
