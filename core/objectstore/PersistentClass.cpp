#include "core/objectstore/PersistentClass.h"

#include "core/objectstore/ColumnNames.h"
#include "core/objectstore/ColumnPersistence.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "core/objectstore/PersistentObject.h"
#include "core/sqlite/SqliteStatement.h"
#include "core/sqlite/SqliteTransaction.h"
#include "foundation/Log.h"
#include "foundation/StringUtilities.h"

#include <QHash>

namespace {

struct Registry {
    QHash<QString, const PersistentClass*> byClassName;
    QHash<QString, const PersistentClass*> byTableName;
};

Registry& registry() {
    static Registry classes;
    return classes;
}

// Runs a statement without results; SQLite's message on failure, or a null QString.
QString run(const QString& sql, const std::vector<ObjectValue>& parameters = {}) {
    SqliteStatement statement(ObjectStoreManager::sharedConnection(), sql);
    bindParameters(statement, parameters);
    const SqliteResult result = statement.execute();
    return result ? QString() : result.error().message;
}

// A table name read from the database, quoted for use as an identifier.
QString quotedIdentifier(const QString& name) {
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString crossReferenceCreation(PropertyKind kind, const QString& table) {
    switch (kind) {
    case PropertyKind::Array:
        return QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (parent_pk, array_index INTEGER, fk INTEGER, "
                   "fk_table_name TEXT, object_data TEXT, object_class BLOB, PRIMARY KEY (parent_pk, "
                   "array_index))")
            .arg(table);
    case PropertyKind::Dictionary:
        return QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (parent_pk integer, dictionary_key TEXT, fk INTEGER, "
                   "fk_table_name TEXT, object_data BLOB, object_class TEXT, PRIMARY KEY (parent_pk, "
                   "dictionary_key))")
            .arg(table);
    default:
        return QStringLiteral(
                   "CREATE TABLE IF NOT EXISTS %1 (parent_pk INTEGER, fk INTEGER, fk_table_name TEXT, "
                   "object_data BLOB, object_class TEXT)")
            .arg(table);
    }
}

// The object a stored reference or cross-reference row names.
std::shared_ptr<PersistentObject> referencedObject(const QString& className, std::int64_t pk) {
    const PersistentClass* referencedClass = PersistentClass::forClassName(className);
    return referencedClass ? referencedClass->findByPK(pk) : nullptr;
}

// A stored reference: "<class name>-<pk>".
std::shared_ptr<PersistentObject> objectForMemoryMapKey(const QString& key) {
    const qsizetype dash = key.indexOf(QLatin1Char('-'));
    if (dash <= 0) {
        return nullptr;
    }
    bool ok = false;
    const qlonglong pk = key.mid(dash + 1).toLongLong(&ok);
    return ok ? referencedObject(key.left(dash), pk) : nullptr;
}

bool isBlobValue(const ObjectValue& value) {
    return std::holds_alternative<QByteArray>(value) || std::holds_alternative<PngImage>(value) ||
           std::holds_alternative<Color>(value) ||
           std::holds_alternative<std::shared_ptr<const Archivable>>(value);
}

// A collection member read from a cross-reference row: a value, or the key and table of an
// object to find once the row's statement is done.
struct StoredMember {
    QString dictionaryKey;
    ObjectValue value;
    std::int64_t fk = 0;
    QString fkTableName;
};

} // namespace

void bindParameters(SqliteStatement& statement, const std::vector<ObjectValue>& parameters, int first) {
    int index = first;
    for (const ObjectValue& parameter : parameters) {
        if (const auto* integer = std::get_if<std::int64_t>(&parameter)) {
            statement.bind(index, *integer);
        } else if (const auto* real = std::get_if<double>(&parameter)) {
            statement.bind(index, *real);
        } else if (const auto* object = std::get_if<std::shared_ptr<PersistentObject>>(&parameter)) {
            statement.bind(index, *object ? (*object)->memoryMapKey() : QString());
        } else if (isBlobValue(parameter) || std::holds_alternative<Date>(parameter)) {
            ColumnPersistence::bindMember(statement, index, parameter);
        } else if (ObjectValues::isNil(parameter)) {
            statement.bindNull(index);
        } else {
            statement.bind(index, ObjectValues::toString(parameter));
        }
        ++index;
    }
}

PersistentClass::PersistentClass(QString className, const PersistentClass* parent,
                                 std::vector<PersistentProperty> properties, Factory factory,
                                 QStringList transients, std::vector<QStringList> indices)
    : m_className(std::move(className)), m_tableName(ColumnNames::stringAsSQLColumnName(m_className)),
      m_factory(std::move(factory)), m_transients(std::move(transients)), m_indices(std::move(indices)) {
    if (parent) {
        m_properties = parent->m_properties;
        m_transients.append(parent->m_transients);
    }
    for (auto& property : properties) {
        m_properties.push_back(std::move(property));
    }
    registry().byClassName.insert(m_className, this);
    registry().byTableName.insert(m_tableName, this);
}

const PersistentClass* PersistentClass::forClassName(const QString& className) {
    return registry().byClassName.value(className);
}

const PersistentClass* PersistentClass::forTableName(const QString& tableName) {
    return registry().byTableName.value(tableName);
}

QString PersistentClass::classNameForTableName(const QString& tableName) {
    if (const PersistentClass* persistentClass = forTableName(tableName)) {
        return persistentClass->className();
    }
    return ColumnNames::classNameForTableName(tableName);
}

const PersistentProperty* PersistentClass::property(const QString& name) const {
    for (const auto& candidate : m_properties) {
        if (candidate.name == name) {
            return &candidate;
        }
    }
    return nullptr;
}

std::vector<const PersistentProperty*> PersistentClass::storedProperties() const {
    std::vector<const PersistentProperty*> stored;
    for (const auto& candidate : m_properties) {
        if (!m_transients.contains(candidate.name)) {
            stored.push_back(&candidate);
        }
    }
    return stored;
}

QString PersistentClass::crossReferenceTableName(const PersistentProperty& property) const {
    return m_tableName + QLatin1Char('_') + ColumnNames::stringAsSQLColumnName(property.name);
}

void PersistentClass::tableCheck() const {
    auto& manager = ObjectStoreManager::sharedManager();
    if (manager.isClassPrepared(m_className)) {
        return;
    }
    manager.markClassPrepared(m_className);

    QString creation =
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (pk INTEGER PRIMARY KEY").arg(m_tableName);
    for (const PersistentProperty* stored : storedProperties()) {
        if (stored->isCollection()) {
            const QString error = run(crossReferenceCreation(stored->kind, crossReferenceTableName(*stored)));
            if (!error.isNull()) {
                ObjectStoreManager::sharedManager().reportWriteFailure(
                    QStringLiteral("Error Message: %1").arg(error));
            }
            continue;
        }
        creation +=
            QStringLiteral(", %1 %2").arg(ColumnNames::stringAsSQLColumnName(stored->name),
                                          ColumnPersistence::columnTypeForObjectStorage(stored->kind));
    }
    creation += QLatin1Char(')');
    for (const QString& statement :
         {creation,
          QStringLiteral("CREATE TABLE IF NOT EXISTS SQLITESEQUENCE (name TEXT PRIMARY KEY, seq INTEGER)")}) {
        const QString error = run(statement);
        if (!error.isNull()) {
            ObjectStoreManager::sharedManager().reportWriteFailure(
                QStringLiteral("Error Message: %1").arg(error));
        }
    }
    const QString sequenceError =
        run(QStringLiteral("INSERT OR IGNORE INTO SQLITESEQUENCE (name,seq) VALUES (?, 0)"), {m_tableName});
    if (!sequenceError.isNull()) {
        ObjectStoreManager::sharedManager().reportWriteFailure(
            QStringLiteral("Error Message: %1").arg(sequenceError));
    }

    for (const QStringList& index : m_indices) {
        QStringList columns;
        for (const QString& propertyName : index) {
            columns.append(ColumnNames::stringAsSQLColumnName(propertyName));
        }
        const QString name = m_tableName + QLatin1Char('_') + columns.join(QLatin1Char('_'));
        const QString error = run(QStringLiteral("create index if not exists %1 on %2 (%3)")
                                      .arg(name, m_tableName, columns.join(QStringLiteral(", "))));
        if (!error.isNull()) {
            ObjectStoreManager::sharedManager().reportWriteFailure(
                QStringLiteral("Error creating indices on %1: %2").arg(m_tableName, error));
        }
    }

    const QStringList existing = tableColumns();
    for (const PersistentProperty* stored : storedProperties()) {
        const QString column = ColumnNames::stringAsSQLColumnName(stored->name);
        if (stored->isCollection() || existing.contains(column)) {
            continue;
        }
        const QString error =
            run(QStringLiteral("alter table %1 add column %2 %3")
                    .arg(m_tableName, column, ColumnPersistence::columnTypeForObjectStorage(stored->kind)));
        if (!error.isNull()) {
            ObjectStoreManager::sharedManager().reportWriteFailure(
                QStringLiteral("Error Message: %1").arg(error));
        }
    }
}

QStringList PersistentClass::tableColumns() const {
    QStringList columns;
    SqliteStatement query(ObjectStoreManager::sharedConnection(),
                          QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
    query.bind(1, m_tableName);
    while (query.step()) {
        columns.append(query.text(0));
    }
    return columns;
}

std::vector<std::shared_ptr<PersistentObject>>
PersistentClass::findByCriteria(const QString& criteria, const std::vector<ObjectValue>& parameters) const {
    tableCheck();
    std::vector<std::shared_ptr<PersistentObject>> results;
    // References and collections are read once the row statement is done, since reading them
    // may check and create other tables.
    struct PendingReference {
        std::shared_ptr<PersistentObject> object;
        const PersistentProperty* property;
        QString key;
    };
    std::vector<PendingReference> references;
    std::vector<std::shared_ptr<PersistentObject>> loaded;
    {
        SqliteStatement query(ObjectStoreManager::sharedConnection(),
                              QStringLiteral("SELECT pk,* FROM %1 %2").arg(m_tableName, criteria));
        if (const SqliteResult prepared = query.result(); !prepared) {
            Log::error(objectStoreLogCategory,
                       QStringLiteral("Error Message: %1").arg(prepared.error().message));
            return results;
        }
        bindParameters(query, parameters);
        while (query.step()) {
            const std::int64_t pk = query.int64(0);
            if (auto mapped =
                    ObjectStoreManager::sharedManager().memoryMapObject(memoryMapKeyForObject(pk))) {
                results.push_back(std::move(mapped));
                continue;
            }
            auto object = m_factory();
            object->setPk(pk);
            registerObjectInMemory(object);
            for (int column = 1; column < query.columnCount(); ++column) {
                const QString name = query.columnName(column);
                if (name == QLatin1String("pk")) {
                    continue;
                }
                const PersistentProperty* found = property(ColumnNames::stringAsPropertyString(name));
                if (!found || found->isCollection() || m_transients.contains(found->name)) {
                    continue;
                }
                if (found->kind == PropertyKind::Reference) {
                    references.push_back({object, found, query.text(column)});
                } else {
                    found->set(*object, ColumnPersistence::readProperty(query, column, found->kind));
                }
            }
            loaded.push_back(object);
            results.push_back(std::move(object));
        }
    }
    for (const PendingReference& reference : references) {
        reference.property->set(*reference.object, reference.key.isNull()
                                                       ? ObjectValue()
                                                       : ObjectValue(objectForMemoryMapKey(reference.key)));
    }
    for (const auto& object : loaded) {
        loadCollections(*object);
        object->makeClean();
    }
    return results;
}

void PersistentClass::loadCollections(PersistentObject& object) const {
    for (const PersistentProperty* stored : storedProperties()) {
        if (!stored->isCollection()) {
            continue;
        }
        const bool dictionary = stored->kind == PropertyKind::Dictionary;
        QString sql = dictionary
                          ? QStringLiteral("SELECT dictionary_key, fk, fk_table_name, object_data, "
                                           "object_class FROM %1 WHERE parent_pk = ?")
                          : QStringLiteral("SELECT fk, fk_table_name, object_data, object_class FROM %1 "
                                           "WHERE parent_pk = ?");
        if (stored->kind == PropertyKind::Array) {
            sql += QStringLiteral(" order by array_index");
        }
        std::vector<StoredMember> members;
        {
            SqliteStatement query(ObjectStoreManager::sharedConnection(),
                                  sql.arg(crossReferenceTableName(*stored)));
            bindParameters(query, {object.pk()});
            const int first = dictionary ? 1 : 0;
            while (query.step()) {
                StoredMember member;
                if (dictionary) {
                    member.dictionaryKey = query.text(0);
                }
                member.fk = query.int64(first);
                if (member.fk < 1) {
                    member.value = ColumnPersistence::readMember(query, first + 2, query.text(first + 3));
                } else {
                    member.fkTableName = query.text(first + 1);
                }
                members.push_back(std::move(member));
            }
        }
        for (StoredMember& member : members) {
            if (member.fk >= 1) {
                auto found = referencedObject(classNameForTableName(member.fkTableName), member.fk);
                member.value = found ? ObjectValue(std::move(found)) : ObjectValue();
            }
        }
        if (dictionary) {
            ObjectDictionary values;
            for (StoredMember& member : members) {
                values[member.dictionaryKey] = std::move(member.value);
            }
            stored->setDictionary(object, std::move(values));
        } else {
            std::vector<ObjectValue> values;
            for (StoredMember& member : members) {
                values.push_back(std::move(member.value));
            }
            stored->setMembers(object, std::move(values));
        }
    }
}

std::shared_ptr<PersistentObject>
PersistentClass::findFirstByCriteria(const QString& criteria,
                                     const std::vector<ObjectValue>& parameters) const {
    auto results = findByCriteria(criteria, parameters);
    return results.empty() ? nullptr : results.front();
}

std::vector<std::shared_ptr<PersistentObject>> PersistentClass::allObjects() const {
    return findByCriteria(QString());
}

std::shared_ptr<PersistentObject> PersistentClass::findByPK(std::int64_t pk) const {
    return findFirstByCriteria(QStringLiteral("WHERE pk = ?"), {pk});
}

std::vector<std::shared_ptr<PersistentObject>>
PersistentClass::findByProperty(const QString& propertyName, const ObjectValue& value) const {
    const PersistentProperty* found = property(propertyName);
    if (!found || found->isCollection()) {
        Log::error(objectStoreLogCategory,
                   QStringLiteral("No persistent property '%1' in %2").arg(propertyName, m_className));
        return {};
    }
    if (ColumnPersistence::shouldBeStoredInBlob(found->kind) || isBlobValue(value)) {
        Log::error(objectStoreLogCategory, QStringLiteral("*** Can't search on BLOB fields"));
        return {};
    }
    ObjectValue parameter = value;
    if (const auto* number = std::get_if<double>(&value)) {
        parameter = ObjectValues::decimalText(*number);
    }
    return findByCriteria(
        QStringLiteral("WHERE %1 like ?").arg(ColumnNames::stringAsSQLColumnName(found->name)), {parameter});
}

std::vector<std::shared_ptr<PersistentObject>> PersistentClass::findBy(const QString& finderName,
                                                                       const ObjectValue& value) const {
    QString name = finderName;
    if (name.endsWith(QLatin1Char(':'))) {
        name.chop(1);
    }
    if (!name.startsWith(QLatin1String("findBy")) || name.size() == 6) {
        return {};
    }
    const QString propertyName = StringUtilities::stringByLowercasingFirstLetter(name.mid(6));
    Log::debug(objectStoreLogCategory, QStringLiteral("Property: %1").arg(propertyName));
    return findByProperty(propertyName, value);
}

std::int64_t PersistentClass::count() const {
    return countByCriteria(QString());
}

std::int64_t PersistentClass::countByCriteria(const QString& criteria,
                                              const std::vector<ObjectValue>& parameters) const {
    tableCheck();
    SqliteStatement query(ObjectStoreManager::sharedConnection(),
                          QStringLiteral("SELECT COUNT(*) FROM %1 %2").arg(m_tableName, criteria));
    if (!query.result()) {
        Log::error(objectStoreLogCategory,
                   QStringLiteral("Error determining count of rows in table %1").arg(m_tableName));
        return 0;
    }
    bindParameters(query, parameters);
    return query.step() ? query.int64(0) : 0;
}

double PersistentClass::performSQLAggregation(const QString& sql,
                                              const std::vector<ObjectValue>& parameters) const {
    SqliteStatement query(ObjectStoreManager::sharedConnection(), sql);
    if (const SqliteResult prepared = query.result(); !prepared) {
        Log::error(objectStoreLogCategory, QStringLiteral("Error Message: %1").arg(prepared.error().message));
        return -1.0;
    }
    bindParameters(query, parameters);
    return query.step() ? query.real(0) : -1.0;
}

std::optional<double> PersistentClass::aggregate(const QString& aggregateName, const QString& criteria,
                                                 const std::vector<ObjectValue>& parameters) const {
    const qsizetype of = aggregateName.indexOf(QLatin1String("Of"));
    if (of <= 0) {
        return std::nullopt;
    }
    QString operation = aggregateName.left(of);
    if (operation == QLatin1String("average")) {
        operation = QStringLiteral("avg");
    }
    static const QStringList operations{QStringLiteral("avg"), QStringLiteral("sum"), QStringLiteral("min"),
                                        QStringLiteral("max"), QStringLiteral("count")};
    if (!operations.contains(operation)) {
        return std::nullopt;
    }
    QString rest = aggregateName.mid(of + 2);
    if (rest.endsWith(QLatin1Char(':'))) {
        rest.chop(1);
    }
    if (rest.endsWith(QLatin1String("WithCriteria"))) {
        rest.chop(12);
    }
    const PersistentProperty* found = property(StringUtilities::stringByLowercasingFirstLetter(rest));
    if (rest.isEmpty() || !found || found->isCollection()) {
        return std::nullopt;
    }
    tableCheck();
    const QString query =
        QStringLiteral("select %1(%2) from %3 %4")
            .arg(operation, ColumnNames::stringAsSQLColumnName(found->name), m_tableName, criteria);
    Log::debug(objectStoreLogCategory, QStringLiteral("Query: %1").arg(query));
    return performSQLAggregation(query, parameters);
}

void PersistentClass::deleteObject(std::int64_t pk, bool cascade) const {
    if (pk < 0) {
        return;
    }
    tableCheck();
    const auto object = findByPK(pk);
    if (!object) {
        return;
    }
    unregisterObject(*object);
    // The row, its cross-reference rows and, with `cascade`, the rows they point at go together.
    SqliteTransaction transaction(ObjectStoreManager::sharedConnection());
    transaction.begin();
    const QString error = run(QStringLiteral("DELETE FROM %1 WHERE pk = ?").arg(m_tableName), {pk});
    if (!error.isNull()) {
        ObjectStoreManager::sharedManager().reportWriteFailure(
            QStringLiteral("Error deleting row in table: %1").arg(error));
    }
    for (const PersistentProperty* stored : storedProperties()) {
        if (!stored->isCollection()) {
            continue;
        }
        const QString crossReference = crossReferenceTableName(*stored);
        if (cascade) {
            std::vector<std::pair<QString, std::int64_t>> rows;
            {
                SqliteStatement query(ObjectStoreManager::sharedConnection(),
                                      QStringLiteral("select fk_table_name, fk from %1 where parent_pk = ?")
                                          .arg(crossReference));
                bindParameters(query, {pk});
                while (query.step()) {
                    rows.emplace_back(query.text(0), query.int64(1));
                }
            }
            for (const auto& [table, fk] : rows) {
                if (table.isEmpty()) {
                    continue;
                }
                const QString childError =
                    run(QStringLiteral("delete from %1 where pk = ?").arg(quotedIdentifier(table)), {fk});
                if (!childError.isNull()) {
                    ObjectStoreManager::sharedManager().reportWriteFailure(
                        QStringLiteral("Error deleting foreign key rows in table: %1").arg(childError));
                }
                // The deleted row's object must not be found again through the memory map.
                ObjectStoreManager::sharedManager().unregisterFromMemoryMap(
                    QStringLiteral("%1-%2").arg(classNameForTableName(table)).arg(fk));
            }
        }
        const QString xrefError =
            run(QStringLiteral("DELETE FROM %1 WHERE parent_pk = ?").arg(crossReference), {pk});
        if (!xrefError.isNull()) {
            ObjectStoreManager::sharedManager().reportWriteFailure(
                QStringLiteral("Error deleting from foreign key table: %1").arg(xrefError));
        }
    }
    transaction.commit();
}

QString PersistentClass::memoryMapKeyForObject(std::int64_t pk) const {
    return QStringLiteral("%1-%2").arg(m_className).arg(pk);
}

void PersistentClass::registerObjectInMemory(const std::shared_ptr<PersistentObject>& object) {
    if (object) {
        ObjectStoreManager::sharedManager().registerInMemoryMap(object->memoryMapKey(), object);
    }
}

void PersistentClass::unregisterObject(const PersistentObject& object) {
    ObjectStoreManager::sharedManager().unregisterFromMemoryMap(object.memoryMapKey(), &object);
}

void PersistentClass::clearCache() {
    ObjectStoreManager::sharedManager().clearCache();
}
