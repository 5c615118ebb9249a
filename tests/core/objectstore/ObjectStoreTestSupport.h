#pragma once

#include "core/objectstore/Archivable.h"
#include "core/objectstore/ObjectStoreManager.h"
#include "core/objectstore/PersistentClass.h"
#include "core/objectstore/PersistentObject.h"
#include "core/sqlite/SqliteStatement.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A small archivable value for the blob columns.
class Point : public Archivable {
public:
    Point(std::int64_t x, std::int64_t y) : m_x(x), m_y(y) {}

    QString archiveClassName() const override { return QStringLiteral("Point"); }
    void encodeWithArchive(KeyedArchive& archive) const override {
        archive.setInteger(QStringLiteral("x"), m_x);
        archive.setInteger(QStringLiteral("y"), m_y);
    }
    static void registerClass() {
        Archivable::registerClass(QStringLiteral("Point"),
                                  [](const KeyedArchive& archive) -> std::shared_ptr<const Archivable> {
                                      const auto x = archive.integer(QStringLiteral("x"));
                                      const auto y = archive.integer(QStringLiteral("y"));
                                      if (!x || !y) {
                                          return nullptr;
                                      }
                                      return std::make_shared<Point>(*x, *y);
                                  });
    }

    std::int64_t x() const { return m_x; }
    std::int64_t y() const { return m_y; }

private:
    std::int64_t m_x;
    std::int64_t m_y;
};

// A persisted class that others refer to and collect.
class Tag : public PersistentObject {
public:
    static const PersistentClass& staticPersistentClass() {
        static const PersistentClass persistentClass(
            QStringLiteral("Tag"), nullptr,
            {PersistentProperties::make(QStringLiteral("label"), &Tag::m_label)},
            [] { return std::make_shared<Tag>(); });
        return persistentClass;
    }
    const PersistentClass& persistentClass() const override { return staticPersistentClass(); }

    static std::shared_ptr<Tag> make(const QString& label) {
        auto tag = std::make_shared<Tag>();
        tag->setLabel(label);
        return tag;
    }

    const QString& label() const { return m_label; }
    void setLabel(const QString& label) { assign(m_label, label); }

private:
    QString m_label;
};

// A persisted class with a property of every kind.
class Record : public PersistentObject {
public:
    static const PersistentClass& staticPersistentClass() {
        static const PersistentClass persistentClass(
            QStringLiteral("FieldRecord"), nullptr,
            {
                PersistentProperties::make(QStringLiteral("count"), &Record::count),
                PersistentProperties::make(QStringLiteral("bigUnsigned"), &Record::bigUnsigned),
                PersistentProperties::make(QStringLiteral("ratio"), &Record::ratio),
                PersistentProperties::make(QStringLiteral("flag"), &Record::flag),
                PersistentProperties::make(QStringLiteral("name"), &Record::name),
                PersistentProperties::make(QStringLiteral("amount"), &Record::amount),
                PersistentProperties::make(QStringLiteral("happenedAt"), &Record::happenedAt),
                PersistentProperties::make(QStringLiteral("bytes"), &Record::bytes),
                PersistentProperties::make(QStringLiteral("picture"), &Record::picture),
                PersistentProperties::make(QStringLiteral("tint"), &Record::tint),
                PersistentProperties::make(QStringLiteral("place"), &Record::place),
                PersistentProperties::make(QStringLiteral("mainTag"), &Record::mainTag),
                PersistentProperties::make(QStringLiteral("items"), &Record::items),
                PersistentProperties::make(QStringLiteral("byName"), &Record::byName),
                PersistentProperties::make(QStringLiteral("members"), &Record::members),
                PersistentProperties::make(QStringLiteral("scratch"), &Record::scratch),
            },
            [] { return std::make_shared<Record>(); }, {QStringLiteral("scratch")},
            {{QStringLiteral("name"), QStringLiteral("count")}});
        return persistentClass;
    }
    const PersistentClass& persistentClass() const override { return staticPersistentClass(); }

    // Public for the tests; changes through setValueForKey or markDirty.
    int count = 0;
    std::uint64_t bigUnsigned = 0;
    double ratio = 0.0;
    bool flag = false;
    QString name;
    ObjectValue amount;
    std::optional<Date> happenedAt;
    QByteArray bytes;
    PngImage picture;
    std::optional<Color> tint;
    std::shared_ptr<const Point> place;
    std::shared_ptr<Tag> mainTag;
    ObjectArray items;
    ObjectDictionary byName;
    ObjectSet members;
    QString scratch;
};

// Each test gets an empty database file in a temporary folder and an empty memory map.
class ObjectStoreTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        manager().setDatabaseFilepath(databasePath());
        Point::registerClass();
    }

    void TearDown() override { manager().deleteDatabase(); }

    static ObjectStoreManager& manager() { return ObjectStoreManager::sharedManager(); }

    QString databasePath() const { return m_folder.filePath(QStringLiteral("store.sqlite")); }

    // Forgets every live object and checked table, as a new run of the program would.
    static void newRun() { PersistentClass::clearCache(); }

    // The first column of every row of a query, as text.
    static QStringList column(const QString& sql) {
        SqliteStatement query(manager().connection(), sql);
        EXPECT_TRUE(query.result()) << sql.toStdString();
        QStringList values;
        while (query.step()) {
            values.append(query.isNull(0) ? QStringLiteral("NULL") : query.text(0));
        }
        return values;
    }

    template <class T>
    static std::vector<std::shared_ptr<T>> as(const std::vector<std::shared_ptr<PersistentObject>>& objects) {
        std::vector<std::shared_ptr<T>> typed;
        for (const auto& object : objects) {
            typed.push_back(std::dynamic_pointer_cast<T>(object));
        }
        return typed;
    }

    QTemporaryDir m_folder;
};
