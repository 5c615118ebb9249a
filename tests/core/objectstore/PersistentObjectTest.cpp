#include "ObjectStoreTestSupport.h"

#include "core/hints/Hint.h"
#include "core/objectstore/ColumnNames.h"
#include "core/objectstore/ColumnPersistence.h"
#include "foundation/Paths.h"
#include "testing/LogCapture.h"

#include <QCoreApplication>
#include <QFile>

namespace {

using PersistentObjectTest = ObjectStoreTest;

std::shared_ptr<Hint> newHint(const QString& identifier) {
    return std::make_shared<Hint>(QStringLiteral("text of ") + identifier, 10.0f, identifier);
}

TEST_F(PersistentObjectTest, FirstSavesGiveKeysOneAndTwoAndTheSequenceRowHoldsTheLast) {
    auto first = newHint(QStringLiteral("first"));
    auto second = newHint(QStringLiteral("second"));
    EXPECT_EQ(first->pk(), -1);
    EXPECT_TRUE(first->isDirty());
    EXPECT_FALSE(first->existsInDB());

    first->save();
    second->save();
    EXPECT_EQ(first->pk(), 1);
    EXPECT_EQ(second->pk(), 2);
    EXPECT_TRUE(first->existsInDB());
    EXPECT_FALSE(first->isDirty());
    EXPECT_EQ(column(QStringLiteral("SELECT seq FROM SQLITESEQUENCE WHERE name = 'hint'")), QStringList{"2"});
    EXPECT_EQ(first->memoryMapKey(), "Hint-1");

    // Keys keep counting in a new run; a saved object keeps its key.
    newRun();
    auto third = newHint(QStringLiteral("third"));
    third->save();
    first->setText(QStringLiteral("changed"));
    first->save();
    EXPECT_EQ(third->pk(), 3);
    EXPECT_EQ(first->pk(), 1);
    EXPECT_EQ(column(QStringLiteral("SELECT identifier FROM hint ORDER BY pk")),
              (QStringList{"first", "second", "third"}));
}

TEST_F(PersistentObjectTest, TheSameRowFoundTwiceIsTheSameObject) {
    newHint(QStringLiteral("shared"))->save();
    newRun();

    const auto& hints = Hint::staticPersistentClass();
    auto once = std::dynamic_pointer_cast<Hint>(hints.findByPK(1));
    auto twice = std::dynamic_pointer_cast<Hint>(
        hints.findFirstByCriteria(QStringLiteral("WHERE identifier = ?"), {QStringLiteral("shared")}));
    ASSERT_TRUE(once);
    EXPECT_EQ(once.get(), twice.get());
    EXPECT_EQ(once.get(), hints.allObjects().front().get());
    once->setTriggerCount(5);
    EXPECT_EQ(twice->triggerCount(), 5);
    // A changed object in memory wins over its row until saved.
    EXPECT_EQ(std::dynamic_pointer_cast<Hint>(hints.findByPK(1))->triggerCount(), 5);
}

TEST_F(PersistentObjectTest, NoMatchFindsNothing) {
    newHint(QStringLiteral("only"))->save();
    const auto& hints = Hint::staticPersistentClass();
    EXPECT_EQ(hints.findFirstByCriteria(QStringLiteral("WHERE identifier = 'other'")), nullptr);
    EXPECT_EQ(hints.findByPK(7), nullptr);
    EXPECT_TRUE(hints.findByCriteria(QStringLiteral("WHERE trigger_count > 3")).empty());
}

TEST_F(PersistentObjectTest, BooleansAreStoredAsTheTextsOneAndZeroAndReadBackAsNumbers) {
    auto hint = newHint(QStringLiteral("flags"));
    hint->setInvalid(true);
    hint->save();
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT typeof(invalid) || ':' || invalid || ',' || typeof(only_show_first_time) "
                  "|| ':' || only_show_first_time FROM hint")),
              QStringList{"text:1,text:0"});

    SqliteStatement query(manager().connection(),
                          QStringLiteral("SELECT invalid, only_show_first_time FROM hint"));
    ASSERT_TRUE(query.step());
    const ObjectValue invalid = ColumnPersistence::readProperty(query, 0, PropertyKind::Character);
    const ObjectValue firstTime = ColumnPersistence::readProperty(query, 1, PropertyKind::Character);
    ASSERT_TRUE(std::holds_alternative<std::int64_t>(invalid));
    EXPECT_EQ(std::get<std::int64_t>(invalid), 1);
    ASSERT_TRUE(std::holds_alternative<std::int64_t>(firstTime));
    EXPECT_EQ(std::get<std::int64_t>(firstTime), 0);

    newRun();
    auto loaded = std::dynamic_pointer_cast<Hint>(Hint::staticPersistentClass().findByPK(1));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->invalid());
    EXPECT_FALSE(loaded->onlyShowFirstTime());
}

TEST_F(PersistentObjectTest, AnUnchangedObjectIsNotWrittenAgain) {
    auto hint = newHint(QStringLiteral("quiet"));
    hint->save();
    const std::int64_t afterFirstSave = manager().totalChanges();

    hint->save();
    EXPECT_EQ(manager().totalChanges(), afterFirstSave);

    // Setting a value equal to the current one is no change either.
    hint->setTriggerCount(0);
    hint->setText(hint->text());
    EXPECT_FALSE(hint->isDirty());
    hint->save();
    EXPECT_EQ(manager().totalChanges(), afterFirstSave);

    newRun();
    auto loaded = Hint::staticPersistentClass().findByPK(1);
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(loaded->isDirty());
    loaded->save();
    EXPECT_EQ(manager().totalChanges(), afterFirstSave);

    std::dynamic_pointer_cast<Hint>(loaded)->setTriggerCount(4);
    EXPECT_TRUE(loaded->isDirty());
    loaded->save();
    EXPECT_GT(manager().totalChanges(), afterFirstSave);
    EXPECT_EQ(column(QStringLiteral("SELECT trigger_count FROM hint")), QStringList{"4"});
}

TEST_F(PersistentObjectTest, SettingAPropertyByNameMarksTheObjectDirty) {
    auto hint = newHint(QStringLiteral("keyed"));
    hint->save();
    hint->setValueForKey(QStringLiteral("triggerCount"), std::int64_t{9});
    EXPECT_TRUE(hint->isDirty());
    EXPECT_EQ(hint->triggerCount(), 9);
    EXPECT_EQ(ObjectValues::toInt64(hint->valueForKey(QStringLiteral("triggerCount"))), 9);
    hint->save();
    EXPECT_EQ(column(QStringLiteral("SELECT trigger_count FROM hint")), QStringList{"9"});
}

TEST_F(PersistentObjectTest, QuotesInValuesFindTheirOwnRowAndChangeNothingElse) {
    const QString quoted = QStringLiteral("it's");
    const QString injection = QStringLiteral("x' OR '1'='1");
    const QString dropping = QStringLiteral("a'; DROP TABLE hint; --");
    for (const QString& identifier : {quoted, injection, dropping, QStringLiteral("plain")}) {
        newHint(identifier)->save();
    }
    newRun();

    const auto& hints = Hint::staticPersistentClass();
    for (const QString& identifier : {quoted, injection, dropping}) {
        const auto found = as<Hint>(hints.findByProperty(QStringLiteral("identifier"), identifier));
        ASSERT_EQ(found.size(), 1u) << identifier.toStdString();
        EXPECT_EQ(found.front()->identifier(), identifier);
        EXPECT_EQ(Hint::hintByIdentifier(identifier).get(), found.front().get());
    }
    EXPECT_EQ(Hint::hintByIdentifier(QStringLiteral("nobody' OR 'a'='a")), nullptr);
    EXPECT_TRUE(hints.findBy(QStringLiteral("findByIdentifier"), QStringLiteral("' OR 1=1 --")).empty());
    EXPECT_EQ(hints.count(), 4);
    EXPECT_EQ(column(QStringLiteral("SELECT identifier FROM hint ORDER BY pk")),
              (QStringList{quoted, injection, dropping, QStringLiteral("plain")}));
}

TEST_F(PersistentObjectTest, ANewPropertyWidensTheExistingTableAndOldRowsReadNull) {
    // The same class in two versions of the program: the second declares one more property.
    struct GadgetV1 : PersistentObject {
        static const PersistentClass& type() {
            static const PersistentClass persistentClass(
                QStringLiteral("Gadget"), nullptr,
                {PersistentProperties::make(QStringLiteral("name"), &GadgetV1::name)},
                [] { return std::make_shared<GadgetV1>(); });
            return persistentClass;
        }
        const PersistentClass& persistentClass() const override { return type(); }
        QString name;
    };
    struct GadgetV2 : PersistentObject {
        static const PersistentClass& type() {
            static const PersistentClass persistentClass(
                QStringLiteral("Gadget"), nullptr,
                {PersistentProperties::make(QStringLiteral("name"), &GadgetV2::name),
                 PersistentProperties::make(QStringLiteral("weightInGrams"), &GadgetV2::weightInGrams)},
                [] { return std::make_shared<GadgetV2>(); });
            return persistentClass;
        }
        const PersistentClass& persistentClass() const override { return type(); }
        QString name;
        std::optional<Date> weightInGrams;
    };

    auto old = std::make_shared<GadgetV1>();
    old->name = QStringLiteral("lamp");
    old->save();
    EXPECT_EQ(GadgetV1::type().tableColumns(), (QStringList{"pk", "name"}));

    newRun();
    EXPECT_EQ(GadgetV2::type().count(), 1);
    EXPECT_EQ(GadgetV2::type().tableColumns(), (QStringList{"pk", "name", "weight_in_grams"}));
    EXPECT_EQ(column(QStringLiteral("SELECT weight_in_grams FROM gadget")), QStringList{"NULL"});
    const auto loaded = std::dynamic_pointer_cast<GadgetV2>(GadgetV2::type().findByPK(1));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->name, "lamp");
    EXPECT_FALSE(loaded->weightInGrams.has_value());

    loaded->weightInGrams = Date::withTimeIntervalSince1970(5.0);
    loaded->markDirty();
    loaded->save();
    newRun();
    const auto again = std::dynamic_pointer_cast<GadgetV2>(GadgetV2::type().findByPK(1));
    ASSERT_TRUE(again && again->weightInGrams);
    EXPECT_EQ(again->weightInGrams->timeIntervalSince1970(), 5.0);
}

TEST_F(PersistentObjectTest, EveryScalarKindRoundTrips) {
    auto tag = Tag::make(QStringLiteral("work"));
    auto record = std::make_shared<Record>();
    record->count = -42;
    record->bigUnsigned = 18'000'000'000'000'000'000ull;
    record->ratio = 0.1;
    record->flag = true;
    record->name = QStringLiteral("Zoë's \"note\"");
    record->amount = 2.5;
    record->happenedAt = Date::withTimeIntervalSince1970(1'700'000'000.1234);
    record->bytes = QByteArray("\x00\x01\xff", 3);
    record->picture = PngImage{QByteArray("\x89PNG\r\n", 6)};
    record->tint = Color(1.0, 0.5, 0.25, 0.75);
    record->place = std::make_shared<Point>(3, -4);
    record->mainTag = tag;
    record->scratch = QStringLiteral("not stored");
    record->save();
    EXPECT_EQ(tag->pk(), 1) << "a referenced object is saved with its referrer";
    EXPECT_EQ(column(QStringLiteral("SELECT main_tag FROM field_record")), QStringList{"Tag-1"});
    EXPECT_FALSE(Record::staticPersistentClass().tableColumns().contains(QStringLiteral("scratch")));

    newRun();
    const auto loaded =
        std::dynamic_pointer_cast<Record>(Record::staticPersistentClass().findByPK(record->pk()));
    ASSERT_TRUE(loaded);
    EXPECT_NE(loaded.get(), record.get());
    EXPECT_EQ(loaded->count, -42);
    EXPECT_EQ(loaded->bigUnsigned, 18'000'000'000'000'000'000ull);
    EXPECT_EQ(loaded->ratio, 0.1);
    EXPECT_TRUE(loaded->flag);
    EXPECT_EQ(loaded->name, record->name);
    ASSERT_TRUE(std::holds_alternative<double>(loaded->amount));
    EXPECT_EQ(std::get<double>(loaded->amount), 2.5);
    ASSERT_TRUE(loaded->happenedAt);
    EXPECT_NEAR(loaded->happenedAt->timeIntervalSince1970(), 1'700'000'000.1234, 1e-6);
    EXPECT_EQ(loaded->bytes, record->bytes);
    EXPECT_EQ(loaded->picture, record->picture);
    EXPECT_EQ(loaded->tint, record->tint);
    ASSERT_TRUE(loaded->place);
    EXPECT_EQ(loaded->place->x(), 3);
    EXPECT_EQ(loaded->place->y(), -4);
    ASSERT_TRUE(loaded->mainTag);
    EXPECT_EQ(loaded->mainTag->label(), "work");
    EXPECT_EQ(loaded->mainTag.get(), Tag::staticPersistentClass().findByPK(1).get());
    EXPECT_TRUE(loaded->scratch.isNull());
    EXPECT_FALSE(loaded->isDirty());
}

TEST_F(PersistentObjectTest, AWholeNumberReadsBackAsAnIntegerAndNilsAsNull) {
    auto record = std::make_shared<Record>();
    record->amount = std::int64_t{7};
    record->save();
    EXPECT_EQ(
        column(QStringLiteral("SELECT typeof(amount) || ',' || typeof(name) || ',' || typeof(main_tag) FROM "
                              "field_record")),
        QStringList{"real,null,null"});
    newRun();
    const auto loaded = std::dynamic_pointer_cast<Record>(Record::staticPersistentClass().findByPK(1));
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(std::holds_alternative<std::int64_t>(loaded->amount));
    EXPECT_EQ(std::get<std::int64_t>(loaded->amount), 7);
    EXPECT_TRUE(loaded->name.isNull());
    EXPECT_EQ(loaded->mainTag, nullptr);
    EXPECT_FALSE(loaded->tint.has_value());
    EXPECT_EQ(loaded->place, nullptr);
}

TEST_F(PersistentObjectTest, CollectionsRoundTripThroughTheirCrossReferenceTables) {
    auto red = Tag::make(QStringLiteral("red"));
    auto blue = Tag::make(QStringLiteral("blue"));
    auto record = std::make_shared<Record>();
    record->items = {ObjectValue(QStringLiteral("first")),
                     ObjectValue(red),
                     ObjectValue(std::int64_t{12}),
                     ObjectValue(1.5),
                     ObjectValue(Date::withTimeIntervalSince1970(86400.5)),
                     ObjectValue(QByteArray("raw")),
                     ObjectValue(Color(0.0, 1.0, 0.0, 1.0)),
                     ObjectValue(std::shared_ptr<const Archivable>(std::make_shared<Point>(1, 2))),
                     ObjectValue(QStringLiteral("last"))};
    record->byName = {{QStringLiteral("it's a key"), ObjectValue(blue)},
                      {QStringLiteral("text"), ObjectValue(QStringLiteral("value"))}};
    record->members.members = {ObjectValue(red), ObjectValue(QStringLiteral("loose"))};
    record->save();
    EXPECT_EQ(red->pk(), 1);
    EXPECT_EQ(blue->pk(), 2);
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT array_index || ':' || ifnull(fk, '') || ':' || ifnull(fk_table_name, '') "
                  "|| ':' || ifnull(object_class, '') FROM field_record_items ORDER BY array_index")),
              (QStringList{"0:::String", "1:1:tag:", "2:::Number", "3:::Number", "4:::Date", "5:::Data",
                           "6:::Color", "7:::Point", "8:::String"}));
    EXPECT_EQ(
        column(QStringLiteral("SELECT dictionary_key FROM field_record_by_name ORDER BY dictionary_key")),
        (QStringList{"it's a key", "text"}));

    newRun();
    const auto loaded = std::dynamic_pointer_cast<Record>(Record::staticPersistentClass().findByPK(1));
    ASSERT_TRUE(loaded);
    ASSERT_EQ(loaded->items.size(), 9u);
    EXPECT_EQ(std::get<QString>(loaded->items[0]), "first");
    const auto loadedRed = std::dynamic_pointer_cast<Tag>(ObjectValues::toObject(loaded->items[1]));
    ASSERT_TRUE(loadedRed);
    EXPECT_EQ(loadedRed->label(), "red");
    EXPECT_EQ(std::get<std::int64_t>(loaded->items[2]), 12);
    EXPECT_EQ(std::get<double>(loaded->items[3]), 1.5);
    EXPECT_EQ(std::get<Date>(loaded->items[4]).timeIntervalSince1970(), 86400.5);
    EXPECT_EQ(std::get<QByteArray>(loaded->items[5]), QByteArray("raw"));
    EXPECT_EQ(std::get<Color>(loaded->items[6]), Color(0.0, 1.0, 0.0, 1.0));
    const auto point =
        std::dynamic_pointer_cast<const Point>(std::get<std::shared_ptr<const Archivable>>(loaded->items[7]));
    ASSERT_TRUE(point);
    EXPECT_EQ(point->y(), 2);
    EXPECT_EQ(std::get<QString>(loaded->items[8]), "last");

    ASSERT_EQ(loaded->byName.size(), 2u);
    const auto loadedBlue = std::dynamic_pointer_cast<Tag>(
        ObjectValues::toObject(loaded->byName.at(QStringLiteral("it's a key"))));
    ASSERT_TRUE(loadedBlue);
    EXPECT_EQ(loadedBlue->label(), "blue");
    EXPECT_EQ(std::get<QString>(loaded->byName.at(QStringLiteral("text"))), "value");

    ASSERT_EQ(loaded->members.members.size(), 2u);
    QStringList memberTexts;
    for (const ObjectValue& member : loaded->members.members) {
        if (const auto tag = std::dynamic_pointer_cast<Tag>(ObjectValues::toObject(member))) {
            memberTexts.append(QStringLiteral("tag ") + tag->label());
            // The member of the set is the same object as the member of the array.
            EXPECT_EQ(tag.get(), loadedRed.get());
        } else {
            memberTexts.append(std::get<QString>(member));
        }
    }
    memberTexts.sort();
    EXPECT_EQ(memberTexts, (QStringList{"loose", "tag red"}));
}

TEST_F(PersistentObjectTest, ADirtyMemberMakesItsCollectionOwnerSaveAndAResaveReplacesTheRows) {
    auto tag = Tag::make(QStringLiteral("old"));
    auto record = std::make_shared<Record>();
    record->items = {ObjectValue(tag), ObjectValue(QStringLiteral("x"))};
    record->save();
    EXPECT_FALSE(record->isDirty());

    tag->setLabel(QStringLiteral("new"));
    record->save();
    EXPECT_EQ(column(QStringLiteral("SELECT label FROM tag")), QStringList{"new"});

    record->items = {ObjectValue(QStringLiteral("only"))};
    record->markDirty();
    record->save();
    EXPECT_EQ(column(QStringLiteral("SELECT ifnull(object_data, fk) FROM field_record_items")),
              QStringList{"only"});
}

TEST_F(PersistentObjectTest, DeletingRemovesTheRowAndItsCrossReferencesAndCascadesWhenAsked) {
    auto keep = std::make_shared<Record>();
    auto kept = Tag::make(QStringLiteral("kept"));
    keep->items = {ObjectValue(kept)};
    keep->save();
    auto drop = std::make_shared<Record>();
    auto gone = Tag::make(QStringLiteral("gone"));
    auto alsoGone = Tag::make(QStringLiteral("also gone"));
    drop->items = {ObjectValue(gone), ObjectValue(QStringLiteral("value"))};
    drop->byName = {{QStringLiteral("k"), ObjectValue(alsoGone)}};
    drop->save();
    const auto& tags = Tag::staticPersistentClass();
    EXPECT_EQ(tags.count(), 3);

    keep->deleteObject();
    EXPECT_EQ(Record::staticPersistentClass().findByPK(keep->pk()), nullptr);
    EXPECT_EQ(tags.count(), 3) << "without cascade the members stay";
    EXPECT_EQ(
        column(
            QStringLiteral("SELECT count(*) FROM field_record_items WHERE parent_pk = %1").arg(keep->pk())),
        QStringList{"0"});

    drop->deleteObjectCascade(true);
    EXPECT_EQ(Record::staticPersistentClass().count(), 0);
    EXPECT_EQ(column(QStringLiteral("SELECT label FROM tag")), QStringList{"kept"});
    EXPECT_EQ(tags.findByPK(gone->pk()), nullptr);
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM field_record_items")), QStringList{"0"});
    EXPECT_EQ(column(QStringLiteral("SELECT count(*) FROM field_record_by_name")), QStringList{"0"});

    // Deleting what is not there, or a new object, changes nothing.
    const std::int64_t changes = manager().totalChanges();
    Record::staticPersistentClass().deleteObject(99, true);
    std::make_shared<Record>()->deleteObject();
    EXPECT_EQ(manager().totalChanges(), changes);
}

TEST_F(PersistentObjectTest, GeneratedFindersCountsAndAggregates) {
    for (int count : {1, 3, 3, 8}) {
        auto hint = newHint(QStringLiteral("h%1").arg(count));
        hint->setTriggerCount(count);
        hint->save();
    }
    const auto& hints = Hint::staticPersistentClass();
    EXPECT_EQ(hints.findBy(QStringLiteral("findByTriggerCount"), std::int64_t{3}).size(), 2u);
    EXPECT_EQ(hints.findBy(QStringLiteral("findByTriggerCount:"), 8.0).size(), 1u);
    EXPECT_EQ(hints.findByProperty(QStringLiteral("identifier"), QStringLiteral("H8")).size(), 1u)
        << "LIKE ignores case";
    LogCapture log;
    EXPECT_TRUE(hints.findBy(QStringLiteral("findByNothing"), std::int64_t{1}).empty());

    EXPECT_EQ(hints.count(), 4);
    EXPECT_EQ(hints.countByCriteria(QStringLiteral("WHERE trigger_count > ?"), {std::int64_t{2}}), 3);
    EXPECT_EQ(hints.aggregate(QStringLiteral("sumOfTriggerCount")), 15.0);
    EXPECT_EQ(hints.aggregate(QStringLiteral("averageOfTriggerCount")), 3.75);
    EXPECT_EQ(
        hints.aggregate(QStringLiteral("maxOfTriggerCountWithCriteria:"), QStringLiteral("WHERE pk < 3")),
        3.0);
    EXPECT_EQ(hints.aggregate(QStringLiteral("countOfIdentifier")), 4.0);
    EXPECT_FALSE(hints.aggregate(QStringLiteral("medianOfTriggerCount")).has_value());
    EXPECT_FALSE(hints.aggregate(QStringLiteral("sumOfColour")).has_value());
    EXPECT_EQ(hints.performSQLAggregation(QStringLiteral("SELECT min(trigger_count) FROM hint")), 1.0);
    EXPECT_EQ(hints.performSQLAggregation(QStringLiteral("SELECT pk FROM hint WHERE pk > 10")), -1.0);
}

TEST_F(PersistentObjectTest, BlobFieldsCannotBeSearched) {
    auto record = std::make_shared<Record>();
    record->bytes = QByteArray("abc");
    record->save();
    LogCapture log;
    EXPECT_TRUE(
        Record::staticPersistentClass().findBy(QStringLiteral("findByBytes"), QByteArray("abc")).empty());
    EXPECT_TRUE(log.contains(Log::Level::Error, QStringLiteral("objectstore"),
                             QStringLiteral("*** Can't search on BLOB fields")));
}

TEST_F(PersistentObjectTest, RelatedObjectsAreFoundByTheirReferenceColumn) {
    // A class whose reference column is named after the referenced class's table.
    struct Note : PersistentObject {
        static const PersistentClass& type() {
            static const PersistentClass persistentClass(
                QStringLiteral("Note"), nullptr,
                {PersistentProperties::make(QStringLiteral("tag"), &Note::tag),
                 PersistentProperties::make(QStringLiteral("body"), &Note::body)},
                [] { return std::make_shared<Note>(); });
            return persistentClass;
        }
        const PersistentClass& persistentClass() const override { return type(); }
        std::shared_ptr<Tag> tag;
        QString body;
    };
    auto home = Tag::make(QStringLiteral("home"));
    auto work = Tag::make(QStringLiteral("work"));
    for (const auto& [tag, body] : {std::pair{home, "a"}, std::pair{home, "b"}, std::pair{work, "c"}}) {
        auto note = std::make_shared<Note>();
        note->tag = tag;
        note->body = QString::fromUtf8(body);
        note->save();
    }
    EXPECT_EQ(home->findRelated(Note::type()).size(), 2u);
    EXPECT_EQ(work->findRelated(Note::type()).size(), 1u);
    EXPECT_EQ(home->findRelated(Note::type(), QStringLiteral("tag"), QStringLiteral("body = 'b'")).size(),
              1u);
    auto notes = as<Note>(home->findRelated(Note::type(), QStringLiteral("body <> 'a'")));
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front()->tag.get(), home.get());
}

TEST_F(PersistentObjectTest, IndicesAndTheSequenceRowAreCreatedByTheTableCheck) {
    Record::staticPersistentClass().tableCheck();
    EXPECT_EQ(column(QStringLiteral(
                  "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'field_record'")),
              QStringList{"field_record_name_count"});
    EXPECT_EQ(column(QStringLiteral("SELECT seq FROM SQLITESEQUENCE WHERE name = 'field_record'")),
              QStringList{"0"});
    EXPECT_TRUE(manager().tableExists(QStringLiteral("field_record_by_name")));
    EXPECT_FALSE(manager().tableExists(QStringLiteral("field_record_scratch")));
}

TEST_F(PersistentObjectTest, FailuresAreLoggedAndTheStoreGoesOn) {
    LogCapture log;
    auto hint = newHint(QStringLiteral("uninitialised"));
    hint->setPk(0);
    hint->save();
    EXPECT_TRUE(
        log.contains(Log::Level::Error, QStringLiteral("objectstore"),
                     QStringLiteral("Object of type 'Hint' seems to be uninitialised, perhaps init does not "
                                    "call super init.")));
    EXPECT_EQ(Hint::staticPersistentClass().count(), 0);
    EXPECT_EQ(Hint::staticPersistentClass().countByCriteria(QStringLiteral("WHERE no_such_column = 1")), 0);
    EXPECT_TRUE(log.contains(Log::Level::Error, QStringLiteral("objectstore"),
                             QStringLiteral("Error determining count of rows in table hint")));

    manager().setDatabaseFilepath(m_folder.filePath(QStringLiteral("missing/folder/store.sqlite")));
    log.clear();
    auto lost = newHint(QStringLiteral("lost"));
    lost->save();
    EXPECT_TRUE(log.contains(Log::Level::Error, QStringLiteral("objectstore"),
                             QStringLiteral("Failed to open database with message")));
    EXPECT_TRUE(log.contains(Log::Level::Error, QStringLiteral("objectstore"),
                             QStringLiteral("Changes cannot be saved")));
    EXPECT_FALSE(lost->isDirty()) << "a failed save leaves the object clean";
    EXPECT_EQ(Hint::hintByIdentifier(QStringLiteral("lost")), nullptr);
}

TEST_F(PersistentObjectTest, DeletingTheDatabaseForgetsItsObjects) {
    auto hint = newHint(QStringLiteral("temporary"));
    hint->save();
    ASSERT_TRUE(QFile::exists(databasePath()));
    manager().deleteDatabase();
    EXPECT_FALSE(QFile::exists(databasePath()));
    EXPECT_EQ(Hint::staticPersistentClass().findByPK(1), nullptr);
    auto fresh = newHint(QStringLiteral("fresh"));
    fresh->save();
    EXPECT_EQ(fresh->pk(), 1);
}

TEST(ColumnNamesTest, PropertiesTablesAndClassesAreNamedAlike) {
    EXPECT_EQ(ColumnNames::stringAsSQLColumnName(QStringLiteral("triggerCount")), "trigger_count");
    EXPECT_EQ(ColumnNames::stringAsSQLColumnName(QStringLiteral("onlyShowFirstTime")),
              "only_show_first_time");
    EXPECT_EQ(ColumnNames::stringAsSQLColumnName(QStringLiteral("Hint")), "hint");
    EXPECT_EQ(ColumnNames::stringAsSQLColumnName(QStringLiteral("line2")), "line_2");
    EXPECT_EQ(ColumnNames::stringAsPropertyString(QStringLiteral("only_show_first_time")),
              "onlyShowFirstTime");
    EXPECT_EQ(ColumnNames::classNameForTableName(QStringLiteral("field_record")), "FieldRecord");
    EXPECT_EQ(PersistentClass::classNameForTableName(QStringLiteral("hint")), "Hint");
}

} // namespace

namespace {

TEST_F(PersistentObjectTest, TheManagerOpensTheFileWithItsPragmas) {
    EXPECT_EQ(column(QStringLiteral("PRAGMA encoding")), QStringList{"UTF-8"});
    EXPECT_EQ(column(QStringLiteral("PRAGMA auto_vacuum")), QStringList{"1"});
    manager().setCacheSize(321);
    EXPECT_EQ(column(QStringLiteral("PRAGMA cache_size")), QStringList{"321"});
    manager().setAutoVacuum(0);
    manager().vacuum();
    EXPECT_EQ(column(QStringLiteral("PRAGMA auto_vacuum")), QStringList{"0"});
    EXPECT_FALSE(manager().tableExists(QStringLiteral("hint")));
    manager().executeUpdateSQL(QStringLiteral("CREATE TABLE hint (pk INTEGER PRIMARY KEY)"));
    manager().executeUpdateSQL(QStringLiteral("this is not SQL"));
    EXPECT_TRUE(manager().tableExists(QStringLiteral("hint")));
}

TEST_F(PersistentObjectTest, WithoutAPathTheDatabaseIsNamedAfterTheProgramInTheDataFolder) {
    Paths::setDataDirectory(m_folder.filePath(QStringLiteral("documents")));
    manager().setDatabaseFilepath(QString());
    const QString expected = m_folder.filePath(QStringLiteral("documents/%1.sqlite3"))
                                 .arg(QCoreApplication::applicationName().toLower().remove(QLatin1Char(' ')));
    EXPECT_EQ(manager().databaseFilepath(), expected);
    newHint(QStringLiteral("anywhere"))->save();
    EXPECT_TRUE(QFile::exists(expected));
    manager().deleteDatabase();
    Paths::setDataDirectory(QString());
    manager().setDatabaseFilepath(databasePath());
}

} // namespace

TEST_F(PersistentObjectTest, ADatabaseThatCannotBeWrittenIsReportedOnceAndKeepsItsRows) {
    auto kept = newHint(QStringLiteral("kept"));
    kept->save();
    newRun();
    manager().executeUpdateSQL(QStringLiteral("PRAGMA query_only = 1"));

    LogCapture log;
    auto again = std::dynamic_pointer_cast<Hint>(Hint::staticPersistentClass().findByPK(1));
    ASSERT_TRUE(again);
    for (int count = 1; count <= 20; ++count) {
        again->setTriggerCount(count);
        again->save();
        newHint(QStringLiteral("new %1").arg(count))->save();
    }
    again->deleteObjectCascade(true);

    const QStringList lines = log.lines();
    ASSERT_EQ(lines.size(), 2) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("[error] objectstore: ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("readonly")) << lines[0].toStdString();
    EXPECT_EQ(
        lines[1],
        QStringLiteral("[error] objectstore: Changes cannot be saved: the database %1 cannot be written.")
            .arg(databasePath()));
    EXPECT_EQ(again->triggerCount(), 20) << "the object keeps its value in memory";
    EXPECT_EQ(column(QStringLiteral("SELECT identifier || ':' || trigger_count FROM hint")),
              QStringList{"kept:0"});
}
