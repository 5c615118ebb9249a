#pragma once

#include "core/objectstore/Archivable.h"
#include "core/objectstore/ObjectValue.h"

#include <QString>

#include <concepts>
#include <functional>
#include <optional>
#include <type_traits>

class PersistentObject;

// What a persistent property holds; it decides the column type and how values are written and
// read back.
enum class PropertyKind {
    Integer,         // signed integers: INTEGER
    UnsignedInteger, // unsigned integers: INTEGER
    Real,            // float and double: REAL
    Character,       // bool and single characters: TEXT holding "1" or "0"
    Reference,       // another persistent object: TEXT holding its memory-map key
    String,          // TEXT
    Number,          // a number of either kind held in an ObjectValue: REAL
    Date,            // REAL column holding the UTC text "yyyy-MM-dd HH:mm:ss.SSSS"
    Data,            // TEXT column holding the bytes as a blob
    Image,           // PNG bytes: BLOB
    Color,           // BLOB, archived
    Archivable,      // BLOB, archived under its class name
    Array,           // cross-reference rows in order
    Dictionary,      // cross-reference rows by key
    Set,             // cross-reference rows
};

// A persistent property as a persisted class declares it: its name, kind and how to read and
// write it on an object. Collections use the list or dictionary accessors, everything else the
// value ones. The accessors never mark the object dirty; the store uses them to save and load.
struct PersistentProperty {
    QString name;
    PropertyKind kind = PropertyKind::String;

    std::function<ObjectValue(const PersistentObject&)> get;
    std::function<void(PersistentObject&, const ObjectValue&)> set;
    std::function<std::vector<ObjectValue>(const PersistentObject&)> getMembers;
    std::function<void(PersistentObject&, std::vector<ObjectValue>)> setMembers;
    std::function<ObjectDictionary(const PersistentObject&)> getDictionary;
    std::function<void(PersistentObject&, ObjectDictionary)> setDictionary;

    bool isCollection() const {
        return kind == PropertyKind::Array || kind == PropertyKind::Dictionary || kind == PropertyKind::Set;
    }
};

namespace PersistentProperties {

template <class T> struct IsSharedPtr : std::false_type { using Element = void; };
template <class T> struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {
    using Element = std::remove_const_t<T>;
};

template <class Owner, class Field>
PersistentProperty value(const QString& name, PropertyKind kind, Field Owner::*member,
                         std::function<ObjectValue(const Field&)> toValue,
                         std::function<Field(const ObjectValue&)> fromValue) {
    PersistentProperty property;
    property.name = name;
    property.kind = kind;
    property.get = [member, toValue](const PersistentObject& object) {
        return toValue(static_cast<const Owner&>(object).*member);
    };
    property.set = [member, fromValue](PersistentObject& object, const ObjectValue& stored) {
        static_cast<Owner&>(object).*member = fromValue(stored);
    };
    return property;
}

// The property of a data member, its kind told by the member's type: bool → Character, other
// integers → Integer or UnsignedInteger, float and double → Real, QString → String, Date and
// std::optional<Date> → Date, QByteArray → Data, PngImage → Image, Color and
// std::optional<Color> → Color, ObjectValue → Number, std::shared_ptr of a persistent class →
// Reference, std::shared_ptr of an archivable class → Archivable, ObjectArray → Array,
// ObjectDictionary → Dictionary, ObjectSet → Set.
template <class Owner, class Field> PersistentProperty make(const QString& name, Field Owner::*member) {
    using namespace ObjectValues;
    if constexpr (std::is_same_v<Field, bool>) {
        return value<Owner, Field>(
            name, PropertyKind::Character, member,
            [](const bool& field) { return ObjectValue(std::int64_t{field ? 1 : 0}); },
            [](const ObjectValue& stored) { return toInt64(stored) != 0; });
    } else if constexpr (std::is_integral_v<Field> && std::is_signed_v<Field>) {
        return value<Owner, Field>(
            name, PropertyKind::Integer, member,
            [](const Field& field) { return ObjectValue(static_cast<std::int64_t>(field)); },
            [](const ObjectValue& stored) { return static_cast<Field>(toInt64(stored)); });
    } else if constexpr (std::is_integral_v<Field>) {
        return value<Owner, Field>(
            name, PropertyKind::UnsignedInteger, member,
            [](const Field& field) { return ObjectValue(static_cast<std::uint64_t>(field)); },
            [](const ObjectValue& stored) { return static_cast<Field>(toUInt64(stored)); });
    } else if constexpr (std::is_floating_point_v<Field>) {
        return value<Owner, Field>(
            name, PropertyKind::Real, member,
            [](const Field& field) { return ObjectValue(static_cast<double>(field)); },
            [](const ObjectValue& stored) { return static_cast<Field>(toDouble(stored)); });
    } else if constexpr (std::is_same_v<Field, QString>) {
        return value<Owner, Field>(
            name, PropertyKind::String, member,
            [](const QString& field) { return field.isNull() ? ObjectValue() : ObjectValue(field); },
            [](const ObjectValue& stored) { return toString(stored); });
    } else if constexpr (std::is_same_v<Field, ::Date>) {
        return value<Owner, Field>(
            name, PropertyKind::Date, member, [](const ::Date& field) { return ObjectValue(field); },
            [](const ObjectValue& stored) { return toDate(stored).value_or(::Date()); });
    } else if constexpr (std::is_same_v<Field, std::optional<::Date>>) {
        return value<Owner, Field>(
            name, PropertyKind::Date, member,
            [](const std::optional<::Date>& field) { return field ? ObjectValue(*field) : ObjectValue(); },
            [](const ObjectValue& stored) { return toDate(stored); });
    } else if constexpr (std::is_same_v<Field, QByteArray>) {
        return value<Owner, Field>(
            name, PropertyKind::Data, member,
            [](const QByteArray& field) { return field.isNull() ? ObjectValue() : ObjectValue(field); },
            [](const ObjectValue& stored) {
                const auto* bytes = std::get_if<QByteArray>(&stored);
                return bytes ? *bytes : QByteArray();
            });
    } else if constexpr (std::is_same_v<Field, PngImage>) {
        return value<Owner, Field>(
            name, PropertyKind::Image, member,
            [](const PngImage& field) { return field.png.isNull() ? ObjectValue() : ObjectValue(field); },
            [](const ObjectValue& stored) {
                const auto* image = std::get_if<PngImage>(&stored);
                return image ? *image : PngImage();
            });
    } else if constexpr (std::is_same_v<Field, ::Color>) {
        return value<Owner, Field>(
            name, PropertyKind::Color, member, [](const ::Color& field) { return ObjectValue(field); },
            [](const ObjectValue& stored) {
                const auto* color = std::get_if<::Color>(&stored);
                return color ? *color : ::Color();
            });
    } else if constexpr (std::is_same_v<Field, std::optional<::Color>>) {
        return value<Owner, Field>(
            name, PropertyKind::Color, member,
            [](const std::optional<::Color>& field) { return field ? ObjectValue(*field) : ObjectValue(); },
            [](const ObjectValue& stored) {
                const auto* color = std::get_if<::Color>(&stored);
                return color ? std::optional<::Color>(*color) : std::nullopt;
            });
    } else if constexpr (std::is_same_v<Field, ObjectValue>) {
        return value<Owner, Field>(
            name, PropertyKind::Number, member, [](const ObjectValue& field) { return field; },
            [](const ObjectValue& stored) { return stored; });
    } else if constexpr (IsSharedPtr<Field>::value &&
                         std::derived_from<typename IsSharedPtr<Field>::Element, PersistentObject>) {
        using Element = typename IsSharedPtr<Field>::Element;
        return value<Owner, Field>(
            name, PropertyKind::Reference, member,
            [](const Field& field) {
                return field ? ObjectValue(std::static_pointer_cast<PersistentObject>(field)) : ObjectValue();
            },
            [](const ObjectValue& stored) { return std::dynamic_pointer_cast<Element>(toObject(stored)); });
    } else if constexpr (IsSharedPtr<Field>::value &&
                         std::derived_from<typename IsSharedPtr<Field>::Element, ::Archivable>) {
        using Element = typename IsSharedPtr<Field>::Element;
        return value<Owner, Field>(
            name, PropertyKind::Archivable, member,
            [](const Field& field) {
                return field ? ObjectValue(std::static_pointer_cast<const ::Archivable>(field))
                             : ObjectValue();
            },
            [](const ObjectValue& stored) -> Field {
                const auto* archived = std::get_if<std::shared_ptr<const ::Archivable>>(&stored);
                return archived ? std::dynamic_pointer_cast<const Element>(*archived) : nullptr;
            });
    } else if constexpr (std::is_same_v<Field, ObjectArray> || std::is_same_v<Field, ObjectSet>) {
        PersistentProperty property;
        property.name = name;
        property.kind = std::is_same_v<Field, ObjectArray> ? PropertyKind::Array : PropertyKind::Set;
        property.getMembers = [member](const PersistentObject& object) {
            if constexpr (std::is_same_v<Field, ObjectArray>) {
                return static_cast<const Owner&>(object).*member;
            } else {
                return (static_cast<const Owner&>(object).*member).members;
            }
        };
        property.setMembers = [member](PersistentObject& object, std::vector<ObjectValue> members) {
            if constexpr (std::is_same_v<Field, ObjectArray>) {
                static_cast<Owner&>(object).*member = std::move(members);
            } else {
                (static_cast<Owner&>(object).*member).members = std::move(members);
            }
        };
        return property;
    } else {
        static_assert(std::is_same_v<Field, ObjectDictionary>, "this member type cannot be persisted");
        PersistentProperty property;
        property.name = name;
        property.kind = PropertyKind::Dictionary;
        property.getDictionary = [member](const PersistentObject& object) {
            return static_cast<const Owner&>(object).*member;
        };
        property.setDictionary = [member](PersistentObject& object, ObjectDictionary dictionary) {
            static_cast<Owner&>(object).*member = std::move(dictionary);
        };
        return property;
    }
}

} // namespace PersistentProperties
