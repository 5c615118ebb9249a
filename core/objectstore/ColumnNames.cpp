#include "core/objectstore/ColumnNames.h"

#include "foundation/StringUtilities.h"

namespace ColumnNames {

QString stringAsSQLColumnName(const QString& name) {
    QString column;
    column.reserve(name.size() + 4);
    for (qsizetype index = 0; index < name.size(); ++index) {
        const QChar character = name.at(index);
        if (index > 0 && character.toUpper() == character) {
            column.append(QLatin1Char('_'));
        }
        column.append(character.toLower());
    }
    return column;
}

QString stringAsPropertyString(const QString& column) {
    QString property;
    property.reserve(column.size());
    bool upperNext = false;
    for (const QChar character : column) {
        if (character == QLatin1Char('_')) {
            upperNext = true;
            continue;
        }
        property.append(upperNext ? character.toUpper() : character);
        upperNext = false;
    }
    return property;
}

QString classNameForTableName(const QString& table) {
    return StringUtilities::stringByUppercasingFirstLetter(stringAsPropertyString(table));
}

} // namespace ColumnNames
