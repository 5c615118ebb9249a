#include "core/objectstore/ObjectStoreManager.h"

#include "core/objectstore/PersistentObject.h"
#include "core/objectstore/SqlStatement.h"
#include "foundation/Log.h"
#include "foundation/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace {

const QString category = QStringLiteral("objectstore");

} // namespace

ObjectStoreManager& ObjectStoreManager::sharedManager() {
    // Never destroyed: persistent objects may outlive static destruction order.
    static auto* const manager = new ObjectStoreManager;
    return *manager;
}

ObjectStoreManager::~ObjectStoreManager() {
    closeDatabase();
}

sqlite3* ObjectStoreManager::database() {
    if (m_database) {
        return m_database;
    }
    const QString path = databaseFilepath();
    if (sqlite3_open(QFile::encodeName(path).constData(), &m_database) != SQLITE_OK) {
        Log::error(category, QStringLiteral("Failed to open database with message '%1'.")
                                 .arg(m_database ? QString::fromUtf8(sqlite3_errmsg(m_database))
                                                 : QStringLiteral("out of memory")));
        sqlite3_close(m_database);
        m_database = nullptr;
        return nullptr;
    }
    sqlite3_exec(m_database, "PRAGMA encoding = \"UTF-8\"", nullptr, nullptr, nullptr);
    sqlite3_exec(m_database, "PRAGMA auto_vacuum=1", nullptr, nullptr, nullptr);
    return m_database;
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
    closeDatabase();
    clearCache();
    m_databaseFilepath = path;
}

void ObjectStoreManager::executeUpdateSQL(const QString& sql) {
    if (sqlite3* connection = database()) {
        sqlite3_exec(connection, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
}

bool ObjectStoreManager::tableExists(const QString& tableName) {
    SqlStatement query(database(), QStringLiteral("pragma table_info(%1);").arg(tableName));
    return query.step();
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
    closeDatabase();
    QFile::remove(path);
    clearCache();
}

std::int64_t ObjectStoreManager::totalChanges() {
    return m_database ? sqlite3_total_changes64(m_database) : 0;
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

void ObjectStoreManager::closeDatabase() {
    if (m_database) {
        sqlite3_close_v2(m_database);
        m_database = nullptr;
    }
}
