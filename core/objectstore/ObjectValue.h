#pragma once

#include "foundation/Color.h"
#include "foundation/Date.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class Archivable;
class PersistentObject;

// An image as the store keeps it: PNG bytes. Core code knows no image type; the user-interface
// layer turns these bytes into its images and back.
struct PngImage {
    QByteArray png;

    bool operator==(const PngImage&) const = default;
};

// One value a persistent property or a collection member can hold; std::monostate is nil.
using ObjectValue =
    std::variant<std::monostate, std::int64_t, std::uint64_t, double, QString, Date, QByteArray, PngImage,
                 Color, std::shared_ptr<const Archivable>, std::shared_ptr<PersistentObject>>;

// The collections a persistent property can hold. A set keeps each member once; its order
// carries no meaning.
using ObjectArray = std::vector<ObjectValue>;
using ObjectDictionary = std::map<QString, ObjectValue>;
struct ObjectSet {
    std::vector<ObjectValue> members;
};

// Conversions between stored values and the fields of persisted classes.
namespace ObjectValues {

bool isNil(const ObjectValue& value);
// Numbers as they are; texts that hold a number are read as that number; everything else 0.
std::int64_t toInt64(const ObjectValue& value);
std::uint64_t toUInt64(const ObjectValue& value);
double toDouble(const ObjectValue& value);
// Texts as they are, numbers as their decimal text; a null QString for everything else.
QString toString(const ObjectValue& value);
std::optional<Date> toDate(const ObjectValue& value);
std::shared_ptr<PersistentObject> toObject(const ObjectValue& value);

// The decimal text of a number, as the store writes it: integers without a fraction, other
// values with as many digits as reading them back exactly needs.
QString decimalText(double value);

} // namespace ObjectValues
