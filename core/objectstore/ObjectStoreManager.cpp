#include "core/objectstore/ObjectStoreManager.h"

#include "core/objectstore/PersistentObject.h"
#include "core/sqlite/SqliteDatabaseFile.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

ObjectStoreManager& ObjectStoreManager::sharedManager() {
    // Never destroyed: persistent objects may outlive static destruction order.
    static auto* const manager = new ObjectStoreManager;
    return *manager;
}

ObjectStoreManager::~ObjectStoreManager() = default;

SqliteConnection& ObjectStoreManager::connection() {
    if (m_connection.isOpen()) {
        return m_connection;
    }
    const auto refuse = [&](const QString& reason) -> SqliteConnection& {
        const QString message =
            QStringLiteral("Failed to open database with message '%1: %2'.").arg(databaseFilepath(), reason);
        Log::write(message == m_reportedOpenFailure ? Log::Level::Debug : Log::Level::Error,
                   objectStoreLogCategory, message);
        m_reportedOpenFailure = message;
        m_connection.close();
        return m_connection;
    };
    // Another program's file in our place is left as it was.
    if (const std::optional<QString> problem = SqliteDatabaseFile::problem(databaseFilepath())) {
        return refuse(*problem);
    }
    if (const SqliteResult opened = m_connection.open(databaseFilepath(), SqliteConnection::Mode::ReadWrite);
        !opened) {
        return refuse(opened.error().message);
    }
    // Both only take effect on a new database, before its first page is written; on another
    // program's database they change nothing.
    m_connection.exec(QStringLiteral("PRAGMA encoding = \"UTF-8\""));
    m_connection.exec(QStringLiteral("PRAGMA auto_vacuum=1"));
    if (const SqliteResult claimed =
            SqliteDatabaseFile::claim(m_connection, applicationId,
                                      [](SqliteConnection& connection) {
                                          return connection.hasTable(QStringLiteral("SQLITESEQUENCE"));
                                      });
        !claimed) {
        return refuse(claimed.error().message);
    }
    m_reportedOpenFailure.clear();
    m_writeFailureReported = false;
    return m_connection;
}

void ObjectStoreManager::reportWriteFailure(const QString& message) {
    if (std::exchange(m_writeFailureReported, true)) {
        Log::debug(objectStoreLogCategory, message);
        return;
    }
    Log::error(objectStoreLogCategory, message);
    Log::error(objectStoreLogCategory,
               QStringLiteral("Changes cannot be saved: the database %1 cannot be written.")
                   .arg(databaseFilepath()));
}

QString ObjectStoreManager::databaseFilepath() {
    if (m_databaseFilepath.isEmpty()) {
        QString name = QCoreApplication::applicationName();
        if (name.isEmpty()) {
            name = QStringLiteral("Orvella");
        }
        name = name.toLower().remove(QLatin1Char(' '));
        m_databaseFilepath = Paths::dataFilePath(QStringLiteral("%1.sqlite3").arg(name));
    }
    return m_databaseFilepath;
}

void ObjectStoreManager::setDatabaseFilepath(const QString& path) {
    if (path == m_databaseFilepath) {
        return;
    }
    m_connection.close();
    clearCache();
    m_databaseFilepath = path;
    m_writeFailureReported = false;
}

void ObjectStoreManager::executeUpdateSQL(const QString& sql) {
    connection().exec(sql);
}

bool ObjectStoreManager::tableExists(const QString& tableName) {
    SqliteStatement query(connection(), QStringLiteral("SELECT 1 FROM pragma_table_info(?1)"));
    return query.bind(1, tableName).step();
}

void ObjectStoreManager::setAutoVacuum(int mode) {
    executeUpdateSQL(QStringLiteral("PRAGMA auto_vacuum=%1").arg(mode));
}

void ObjectStoreManager::setCacheSize(int pages) {
    executeUpdateSQL(QStringLiteral("PRAGMA cache_size=%1").arg(pages));
}

void ObjectStoreManager::setLockingMode(int mode) {
    executeUpdateSQL(QStringLiteral("PRAGMA locking_mode=%1").arg(mode));
}

void ObjectStoreManager::vacuum() {
    executeUpdateSQL(QStringLiteral("VACUUM"));
}

void ObjectStoreManager::deleteDatabase() {
    const QString path = databaseFilepath();
    m_connection.close();
    QFile::remove(path);
    clearCache();
}

std::int64_t ObjectStoreManager::totalChanges() {
    return m_connection.totalChanges();
}

std::shared_ptr<PersistentObject> ObjectStoreManager::memoryMapObject(const QString& key) const {
    return m_memoryMap.value(key);
}

void ObjectStoreManager::registerInMemoryMap(const QString& key, std::shared_ptr<PersistentObject> object) {
    m_memoryMap.insert(key, std::move(object));
}

void ObjectStoreManager::unregisterFromMemoryMap(const QString& key, const PersistentObject* only) {
    const auto found = m_memoryMap.find(key);
    if (found != m_memoryMap.end() && (!only || found->get() == only)) {
        m_memoryMap.erase(found);
    }
}

bool ObjectStoreManager::isClassPrepared(const QString& className) const {
    return m_preparedClasses.contains(className);
}

void ObjectStoreManager::markClassPrepared(const QString& className) {
    m_preparedClasses.insert(className);
}

void ObjectStoreManager::clearCache() {
    // Moved out first: destroying the objects may call back into the map.
    auto objects = std::move(m_memoryMap);
    m_memoryMap.clear();
    m_preparedClasses.clear();
    objects.clear();
}
