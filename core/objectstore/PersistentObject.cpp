#include "core/objectstore/PersistentObject.h"

#include "core/objectstore/ColumnNames.h"
#include "core/objectstore/ColumnPersistence.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "core/objectstore/PersistentClass.h"
#include "core/sqlite/SqliteStatement.h"
#include "core/sqlite/SqliteTransaction.h"
#include "foundation/Log.h"

#include <functional>

namespace {

bool isDirtyObject(const ObjectValue& value) {
    const auto object = ObjectValues::toObject(value);
    return object && object->isDirty();
}

// Clears the re-entrancy guard however a save ends.
class SavingGuard {
public:
    explicit SavingGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~SavingGuard() { m_flag = false; }
    SavingGuard(const SavingGuard&) = delete;
    SavingGuard& operator=(const SavingGuard&) = delete;

private:
    bool& m_flag;
};

// Runs an insert into a cross-reference table: the leading values, then the referenced object's
// key and table or the value's class and data. SQLite's message on failure, else a null text.
QString insertRow(const QString& sql, const std::vector<ObjectValue>& leading,
                  const std::function<void(SqliteStatement&, int next)>& bindRest) {
    SqliteStatement insert(ObjectStoreManager::sharedConnection(), sql);
    bindParameters(insert, leading);
    bindRest(insert, static_cast<int>(leading.size()) + 1);
    const SqliteResult result = insert.execute();
    return result ? QString() : result.error().message;
}

} // namespace

QString PersistentObject::memoryMapKey() const {
    return persistentClass().memoryMapKeyForObject(m_pk);
}

ObjectValue PersistentObject::valueForKey(const QString& propertyName) const {
    const PersistentProperty* property = persistentClass().property(propertyName);
    return property && property->get ? property->get(*this) : ObjectValue();
}

void PersistentObject::setValueForKey(const QString& propertyName, const ObjectValue& value) {
    const PersistentProperty* property = persistentClass().property(propertyName);
    if (property && property->set) {
        property->set(*this, value);
        markDirty();
    }
}

bool PersistentObject::anyDirtyMember() const {
    for (const PersistentProperty* property : persistentClass().storedProperties()) {
        if (property->kind == PropertyKind::Dictionary) {
            for (const auto& entry : property->getDictionary(*this)) {
                if (isDirtyObject(entry.second)) {
                    return true;
                }
            }
        } else if (property->isCollection()) {
            for (const ObjectValue& member : property->getMembers(*this)) {
                if (isDirtyObject(member)) {
                    return true;
                }
            }
        }
    }
    return false;
}

void PersistentObject::save() {
    if (m_alreadySaving) {
        return;
    }
    SavingGuard guard(m_alreadySaving);
    const PersistentClass& ownClass = persistentClass();
    ownClass.tableCheck();
    if (m_pk == 0) {
        Log::error(
            objectStoreLogCategory,
            QStringLiteral(
                "Object of type '%1' seems to be uninitialised, perhaps init does not call super init.")
                .arg(ownClass.className()));
        return;
    }
    if (!m_dirty && anyDirtyMember()) {
        m_dirty = true;
    }
    if (!m_dirty) {
        return;
    }
    m_dirty = false;
    // One save, with the objects it saves along and its cross-reference rows, is written as a
    // whole: a crash midway must not leave a collection emptied.
    auto& manager = ObjectStoreManager::sharedManager();
    SqliteTransaction transaction(ObjectStoreManager::sharedConnection());
    transaction.begin();

    if (m_pk < 0) {
        SqliteStatement next(ObjectStoreManager::sharedConnection(),
                             QStringLiteral("SELECT SEQ FROM SQLITESEQUENCE WHERE NAME=?"));
        if (!next.result()) {
            Log::error(
                objectStoreLogCategory,
                QStringLiteral("Error determining next PK value in table %1").arg(ownClass.tableName()));
        } else {
            next.bind(1, ownClass.tableName());
            m_pk = (next.step() ? next.int64(0) : 0) + 1;
            SqliteStatement update(ObjectStoreManager::sharedConnection(),
                                   QStringLiteral("UPDATE SQLITESEQUENCE set seq=? WHERE name=?"));
            update.bind(1, m_pk);
            update.bind(2, ownClass.tableName());
            if (const SqliteResult updated = update.execute(); !updated) {
                ObjectStoreManager::sharedManager().reportWriteFailure(
                    QStringLiteral("Error Message: %1").arg(updated.error().message));
            }
        }
    }

    std::vector<const PersistentProperty*> columns;
    QString names;
    QString placeholders;
    for (const PersistentProperty* property : ownClass.storedProperties()) {
        if (!property->isCollection()) {
            columns.push_back(property);
            names += QStringLiteral(", ") + ColumnNames::stringAsSQLColumnName(property->name);
            placeholders += QStringLiteral(", ?");
        }
    }
    SqliteStatement row(ObjectStoreManager::sharedConnection(),
                        QStringLiteral("INSERT OR REPLACE INTO %1 (pk%2) VALUES (?%3)")
                            .arg(ownClass.tableName(), names, placeholders));
    if (const SqliteResult prepared = row.result(); !prepared) {
        ObjectStoreManager::sharedManager().reportWriteFailure(
            QStringLiteral("Error preparing save SQL: %1").arg(prepared.error().message));
    } else {
        row.bind(1, m_pk);
        int index = 2;
        for (const PersistentProperty* property : columns) {
            const ObjectValue value = property->get(*this);
            if (property->kind == PropertyKind::Reference) {
                const auto referenced = ObjectValues::toObject(value);
                if (referenced) {
                    referenced->save();
                    row.bind(index, referenced->memoryMapKey());
                } else {
                    row.bindNull(index);
                }
            } else {
                ColumnPersistence::bindProperty(row, index, property->kind, value);
            }
            ++index;
        }
        saveCollections(ownClass);
    }
    if (const SqliteResult written = row.execute(); !written) {
        manager.reportWriteFailure(
            QStringLiteral("Error inserting or updating row: %1").arg(written.error().message));
    }
    transaction.commit();
    if (!manager.memoryMapObject(memoryMapKey())) {
        if (auto self = weak_from_this().lock()) {
            PersistentClass::registerObjectInMemory(self);
        }
    }
}

void PersistentObject::saveCollections(const PersistentClass& ownClass) {
    for (const PersistentProperty* property : ownClass.storedProperties()) {
        if (!property->isCollection()) {
            continue;
        }
        const QString table = ownClass.crossReferenceTableName(*property);
        SqliteStatement clear(ObjectStoreManager::sharedConnection(),
                              QStringLiteral("delete from %1 where parent_pk = ?").arg(table));
        clear.bind(1, m_pk);
        if (const SqliteResult cleared = clear.execute(); !cleared) {
            ObjectStoreManager::sharedManager().reportWriteFailure(
                QStringLiteral("Error deleting child rows in xref table for array: %1")
                    .arg(cleared.error().message));
        }

        // Saves a persistent member, or stores a value member; false when it can be neither.
        auto store = [&](const ObjectValue& member, const QString& referenceSql, const QString& valueSql,
                         const std::vector<ObjectValue>& leading) {
            if (const auto object = ObjectValues::toObject(member)) {
                object->save();
                const QString error =
                    insertRow(referenceSql, leading, [&](SqliteStatement& insert, int next) {
                        insert.bind(next, object->pk());
                        insert.bind(next + 1, object->persistentClass().tableName());
                    });
                if (!error.isNull()) {
                    ObjectStoreManager::sharedManager().reportWriteFailure(
                        QStringLiteral("Error inserting child rows in xref table for array: %1").arg(error));
                }
                return true;
            }
            const QString className = ColumnPersistence::memberClassName(member);
            if (className.isEmpty()) {
                return false;
            }
            const QString error = insertRow(valueSql, leading, [&](SqliteStatement& insert, int next) {
                insert.bind(next, className);
                ColumnPersistence::bindMember(insert, next + 1, member);
            });
            if (!error.isNull()) {
                ObjectStoreManager::sharedManager().reportWriteFailure(
                    QStringLiteral("Error inserting or updating cross-reference row"));
            }
            return true;
        };

        if (property->kind == PropertyKind::Array) {
            std::int64_t index = 0;
            for (const ObjectValue& member : property->getMembers(*this)) {
                if (!store(member,
                           QStringLiteral(
                               "insert into %1 (parent_pk, array_index, fk, fk_table_name) values (?, ?, "
                               "?, ?)")
                               .arg(table),
                           QStringLiteral(
                               "insert into %1 (parent_pk, array_index, object_class, object_data) values "
                               "(?, ?, ?, ?)")
                               .arg(table),
                           {m_pk, index})) {
                    Log::error(objectStoreLogCategory,
                               QStringLiteral("Could not save object at array index: %1").arg(index));
                }
                ++index;
            }
        } else if (property->kind == PropertyKind::Dictionary) {
            for (const auto& [key, member] : property->getDictionary(*this)) {
                if (!store(member,
                           QStringLiteral(
                               "insert into %1 (parent_pk, dictionary_key, fk, fk_table_name) values (?, "
                               "?, ?, ?)")
                               .arg(table),
                           QStringLiteral(
                               "insert into %1 (parent_pk, dictionary_key, object_class, object_data) "
                               "values (?, ?, ?, ?)")
                               .arg(table),
                           {m_pk, key})) {
                    Log::error(objectStoreLogCategory,
                               QStringLiteral("Could not save object for dictionary key: %1").arg(key));
                }
            }
        } else {
            for (const ObjectValue& member : property->getMembers(*this)) {
                if (!store(member,
                           QStringLiteral("insert into %1 (parent_pk, fk, fk_table_name) values (?, ?, ?)")
                               .arg(table),
                           QStringLiteral(
                               "insert into %1 (parent_pk, object_class, object_data) values (?, ?, ?)")
                               .arg(table),
                           {m_pk})) {
                    Log::error(objectStoreLogCategory, QStringLiteral("Could not save object from set"));
                }
            }
        }
    }
}

void PersistentObject::deleteObjectCascade(bool cascade) {
    persistentClass().deleteObject(m_pk, cascade);
}

std::vector<std::shared_ptr<PersistentObject>>
PersistentObject::findRelated(const PersistentClass& relatedClass, const QString& filter) const {
    return findRelated(relatedClass, persistentClass().tableName(), filter);
}

std::vector<std::shared_ptr<PersistentObject>>
PersistentObject::findRelated(const PersistentClass& relatedClass, const QString& propertyName,
                              const QString& filter) const {
    QString criteria = QStringLiteral("WHERE %1 = ?").arg(ColumnNames::stringAsSQLColumnName(propertyName));
    if (!filter.isEmpty()) {
        criteria += QStringLiteral(" AND %1").arg(filter);
    }
    return relatedClass.findByCriteria(criteria, {memoryMapKey()});
}
