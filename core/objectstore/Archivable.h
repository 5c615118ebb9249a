#pragma once

#include "core/objectstore/KeyedArchive.h"

#include <QString>

#include <functional>
#include <memory>

// A value the object store can keep in a blob by archiving it: it writes its fields into a
// keyed archive, and a decoder registered under its class name makes it again from one.
class Archivable {
public:
    virtual ~Archivable() = default;

    virtual QString archiveClassName() const = 0;
    virtual void encodeWithArchive(KeyedArchive& archive) const = 0;

    using Decoder = std::function<std::shared_ptr<const Archivable>(const KeyedArchive& archive)>;

    // Registers the decoder of a class; a later registration of the same name replaces it.
    static void registerClass(const QString& className, Decoder decoder);
    static bool isRegisteredClass(const QString& className);
    // Null when the class is unknown or its decoder refuses the archive.
    static std::shared_ptr<const Archivable> decode(const QString& className, const KeyedArchive& archive);
};
