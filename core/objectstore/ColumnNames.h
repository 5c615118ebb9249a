#pragma once

#include <QString>

// How the store names tables and columns after classes and properties.
namespace ColumnNames {

// Each character lower-cased, and every character after the first that upper-casing leaves
// unchanged (capitals, digits, punctuation) preceded by "_": "triggerCount" gives
// "trigger_count", "Hint" gives "hint".
QString stringAsSQLColumnName(const QString& name);
// Underscores dropped and the character after each one upper-cased: "trigger_count" gives
// "triggerCount".
QString stringAsPropertyString(const QString& column);
// As stringAsPropertyString, with the first character upper-cased too: "hint" gives "Hint".
QString classNameForTableName(const QString& table);

} // namespace ColumnNames
