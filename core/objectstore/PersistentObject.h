#pragma once

#include "core/objectstore/ObjectValue.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class PersistentClass;

// The base of the classes kept in the object store, one row per object in its class's table.
// A new object has the key -1 and is dirty until its first save gives it a key; afterwards it
// is clean after a save or a load and dirty after a change of a persistent property. Objects
// are always held by std::shared_ptr: the memory map hands out the one live object of a row.
// The map holds its objects, so an object once found or saved lives until it is deleted, the
// cache is cleared or the store moves to another file.
class PersistentObject : public std::enable_shared_from_this<PersistentObject> {
public:
    PersistentObject() = default;
    virtual ~PersistentObject() = default;

    PersistentObject(const PersistentObject&) = delete;
    PersistentObject& operator=(const PersistentObject&) = delete;

    // The class's metadata and class operations.
    virtual const PersistentClass& persistentClass() const = 0;

    // Writes the object (and the dirty objects it refers to) when it has changed; failures are
    // logged and leave the object clean.
    void save();
    void deleteObject() { deleteObjectCascade(false); }
    void deleteObjectCascade(bool cascade);
    bool existsInDB() const { return m_pk > 0; }

    std::int64_t pk() const { return m_pk; }
    void setPk(std::int64_t pk) { m_pk = pk; }
    void markDirty() { m_dirty = true; }
    void makeClean() { m_dirty = false; }
    bool isDirty() const { return m_dirty; }
    // "<class name>-<pk>".
    QString memoryMapKey() const;

    // Objects of `relatedClass` whose column named after this class's table (or after
    // `propertyName`) holds this object's memory-map key, narrowed by `filter` (SQL) if given.
    std::vector<std::shared_ptr<PersistentObject>> findRelated(const PersistentClass& relatedClass,
                                                               const QString& filter = QString()) const;
    std::vector<std::shared_ptr<PersistentObject>> findRelated(const PersistentClass& relatedClass,
                                                               const QString& propertyName,
                                                               const QString& filter) const;

    // A persistent property by name; setting one marks the object dirty. Collections are read
    // and set with their own accessors of the class.
    ObjectValue valueForKey(const QString& propertyName) const;
    void setValueForKey(const QString& propertyName, const ObjectValue& value);

protected:
    // Sets a field and marks the object dirty when the value changes.
    template <class T, class U> void assign(T& field, U&& value) {
        if (!(field == value)) {
            field = std::forward<U>(value);
            markDirty();
        }
    }

private:
    bool anyDirtyMember() const;
    void saveCollections(const PersistentClass& persistentClass);

    std::int64_t m_pk = -1;
    bool m_dirty = true;
    bool m_alreadySaving = false;
};

using PersistentObjectPtr = std::shared_ptr<PersistentObject>;
