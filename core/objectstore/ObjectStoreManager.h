#pragma once

#include "core/sqlite/SqliteConnection.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <cstdint>
#include <memory>

class PersistentObject;

// The log category of the object store.
inline const QString objectStoreLogCategory = QStringLiteral("objectstore");

// The object store's one database connection, with the process-wide memory map (one live
// object per stored row, under "<class name>-<pk>") and the list of classes whose tables were
// checked in this run. Main thread only.
class ObjectStoreManager {
public:
    // PRAGMA application_id of the object store's database: "ORVO".
    static constexpr std::int32_t applicationId = 0x4F52564F;

    static ObjectStoreManager& sharedManager();

    ObjectStoreManager(const ObjectStoreManager&) = delete;
    ObjectStoreManager& operator=(const ObjectStoreManager&) = delete;

    // Opens the file on first use (and again after a failure or deleteDatabase()). When it cannot
    // be opened, which is logged, the connection stays closed and its statements fail.
    SqliteConnection& connection();
    // The shared manager's connection.
    static SqliteConnection& sharedConnection() { return sharedManager().connection(); }

    // Unless set, the data folder plus the program's name in lower case without spaces and
    // ".sqlite3".
    QString databaseFilepath();
    // A new path closes the open connection and forgets the memory map and the checked tables,
    // which belong to the old file.
    void setDatabaseFilepath(const QString& path);

    // Logs a failed write. A database that cannot be written (a read-only file or folder, a full
    // disk) fails every write the same way, so only the first failure since the connection opened
    // is logged as an error, followed by a line that changes cannot be saved; the later ones are
    // debug lines. Nothing is changed in memory: the objects keep their values.
    void reportWriteFailure(const QString& message);

    // Runs one statement and ignores its failure.
    void executeUpdateSQL(const QString& sql);
    bool tableExists(const QString& tableName);
    void setAutoVacuum(int mode);
    void setCacheSize(int pages);
    void setLockingMode(int mode);
    void vacuum();
    // Closes the connection, removes the file and forgets the memory map and the checked tables.
    void deleteDatabase();

    // Rows inserted, updated or deleted through the open connection since it was opened.
    std::int64_t totalChanges();

    std::shared_ptr<PersistentObject> memoryMapObject(const QString& key) const;
    void registerInMemoryMap(const QString& key, std::shared_ptr<PersistentObject> object);
    // Removes the entry, or, with `only` given, the entry only if it is that object.
    void unregisterFromMemoryMap(const QString& key, const PersistentObject* only = nullptr);
    bool isClassPrepared(const QString& className) const;
    void markClassPrepared(const QString& className);
    // Empties the memory map and the checked-tables list.
    void clearCache();

private:
    ObjectStoreManager() = default;
    ~ObjectStoreManager();

    // Whether this connection's trouble was already told: its failed writes, or, while it cannot be
    // opened, the reason (each statement tries again).
    bool m_writeFailureReported = false;
    QString m_reportedOpenFailure;

    QString m_databaseFilepath;
    SqliteConnection m_connection;
    QHash<QString, std::shared_ptr<PersistentObject>> m_memoryMap;
    QSet<QString> m_preparedClasses;
};
