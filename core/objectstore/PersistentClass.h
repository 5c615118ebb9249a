#pragma once

#include "core/objectstore/ObjectValue.h"
#include "core/objectstore/PersistentProperty.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class PersistentObject;
class SqliteStatement;

// The metadata and class operations of one persisted class: its table, its persistent
// properties (its own after those of its persisted ancestors), the finders, counting, the
// aggregates and deletion. Every persisted class has one, created on first use and kept for
// the process; it registers itself so that stored references can name it.
//
// Criteria texts are SQL written by the caller ("WHERE identifier = ?"); values go in
// `parameters` and are bound, never pasted into the text.
class PersistentClass {
public:
    using Factory = std::function<std::shared_ptr<PersistentObject>()>;

    PersistentClass(QString className, const PersistentClass* parent,
                    std::vector<PersistentProperty> properties, Factory factory, QStringList transients = {},
                    std::vector<QStringList> indices = {});

    PersistentClass(const PersistentClass&) = delete;
    PersistentClass& operator=(const PersistentClass&) = delete;

    // A registered class by its name or its table's name, or null.
    static const PersistentClass* forClassName(const QString& className);
    static const PersistentClass* forTableName(const QString& tableName);
    static QString classNameForTableName(const QString& tableName);

    const QString& className() const { return m_className; }
    const QString& tableName() const { return m_tableName; }
    // All persistent properties, ancestors' first.
    const std::vector<PersistentProperty>& propertiesWithEncodedTypes() const { return m_properties; }
    const PersistentProperty* property(const QString& name) const;
    const QStringList& transients() const { return m_transients; }
    const std::vector<QStringList>& indices() const { return m_indices; }
    // The persistent properties that are not transient.
    std::vector<const PersistentProperty*> storedProperties() const;
    std::shared_ptr<PersistentObject> makeObject() const { return m_factory(); }

    // Creates the table, its cross-reference tables, sequence row and indices, and adds
    // columns for new properties; once per class per run.
    void tableCheck() const;
    QStringList tableColumns() const;

    std::vector<std::shared_ptr<PersistentObject>>
    findByCriteria(const QString& criteria, const std::vector<ObjectValue>& parameters = {}) const;
    std::shared_ptr<PersistentObject>
    findFirstByCriteria(const QString& criteria, const std::vector<ObjectValue>& parameters = {}) const;
    std::vector<std::shared_ptr<PersistentObject>> allObjects() const;
    std::shared_ptr<PersistentObject> findByPK(std::int64_t pk) const;
    // The objects whose property is like `value` (SQL LIKE); nothing for a property kept in a
    // blob or an unknown one.
    std::vector<std::shared_ptr<PersistentObject>> findByProperty(const QString& propertyName,
                                                                  const ObjectValue& value) const;
    // A finder by its name: "findByTriggerCount" is findByProperty("triggerCount", value).
    std::vector<std::shared_ptr<PersistentObject>> findBy(const QString& finderName,
                                                          const ObjectValue& value) const;

    std::int64_t count() const;
    std::int64_t countByCriteria(const QString& criteria,
                                 const std::vector<ObjectValue>& parameters = {}) const;
    // The first column of the first row as a double; -1 without a row.
    double performSQLAggregation(const QString& sql, const std::vector<ObjectValue>& parameters = {}) const;
    // An aggregate by its name: an operation (average, sum, min, max, count), "Of" and a
    // property, with or without "WithCriteria": "sumOfTriggerCount",
    // "maxOfTriggerCountWithCriteria". Null for a name of another form or an unknown property.
    std::optional<double> aggregate(const QString& aggregateName, const QString& criteria = QString(),
                                    const std::vector<ObjectValue>& parameters = {}) const;

    void deleteObject(std::int64_t pk, bool cascade) const;

    QString memoryMapKeyForObject(std::int64_t pk) const;
    static void registerObjectInMemory(const std::shared_ptr<PersistentObject>& object);
    static void unregisterObject(const PersistentObject& object);
    // Empties the memory map and the list of checked tables.
    static void clearCache();

    // The name of a collection property's cross-reference table.
    QString crossReferenceTableName(const PersistentProperty& property) const;

private:
    std::shared_ptr<PersistentObject> objectFromRow(const SqliteStatement& row) const;
    void loadCollections(PersistentObject& object) const;

    QString m_className;
    QString m_tableName;
    std::vector<PersistentProperty> m_properties;
    Factory m_factory;
    QStringList m_transients;
    std::vector<QStringList> m_indices;
};

// Binds `parameters` to ?1, ?2, … of a statement.
void bindParameters(SqliteStatement& statement, const std::vector<ObjectValue>& parameters, int first = 1);
