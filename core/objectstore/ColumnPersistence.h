#pragma once

#include "core/objectstore/ObjectValue.h"
#include "core/objectstore/PersistentProperty.h"

#include <QString>

class SqliteStatement;

// How values become column values and back: the column type of each property kind, how a
// value is bound, and how a column is read. Collection members are told apart by a class name
// stored beside them ("String", "Number", "Date", "Data", "Image", "Color", or the class name
// of an archivable value).
namespace ColumnPersistence {

// "INTEGER", "REAL", "TEXT" or "BLOB"; empty for collections, which get no column.
QString columnTypeForObjectStorage(PropertyKind kind);
bool shouldBeStoredInBlob(PropertyKind kind);

// Binds a property value of any kind but Reference and the collections.
void bindProperty(SqliteStatement& statement, int index, PropertyKind kind, const ObjectValue& value);
// Reads a property column of any kind but Reference and the collections; NULL reads as nil.
ObjectValue readProperty(const SqliteStatement& statement, int column, PropertyKind kind);

// The stored class name of a collection member, empty when it cannot be stored as a value
// (nil and persistent objects).
QString memberClassName(const ObjectValue& member);
void bindMember(SqliteStatement& statement, int index, const ObjectValue& member);
ObjectValue readMember(const SqliteStatement& statement, int column, const QString& className);

// Dates as "yyyy-MM-dd HH:mm:ss.SSSS" in UTC.
QString dateText(Date date);
std::optional<Date> dateFromText(const QString& text);

// A colour in a keyed archive under the key "UIImage" (red, green, blue, alpha as doubles).
QByteArray colorBlob(Color color);
std::optional<Color> colorFromBlob(const QByteArray& blob);
// An archivable value in a keyed archive under its class name.
QByteArray archivableBlob(const Archivable& value);
std::shared_ptr<const Archivable> archivableFromBlob(const QByteArray& blob);

// Trimmed of white space, not empty and only decimal digits (no sign).
bool holdsIntegerValue(const QString& text);
// In the current locale: trimmed of white space, with grouping separators and a leading
// currency symbol (and white space after it) removed, only decimal digits and exactly one
// decimal separator.
bool holdsFloatingPointValue(const QString& text);

} // namespace ColumnPersistence
