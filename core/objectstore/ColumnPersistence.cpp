#include "core/objectstore/ColumnPersistence.h"

#include "core/sqlite/SqliteStatement.h"
#include "foundation/Locale.h"
#include "foundation/StringUtilities.h"

#include <QDateTime>
#include <QTimeZone>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>

#include <cmath>

namespace ColumnPersistence {

namespace {

const QString colorKey = QStringLiteral("UIImage");

struct NumberSymbols {
    QString decimalSeparator;
    QString groupingSeparator;
    QString currencySymbol;
};

NumberSymbols currentNumberSymbols() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale(Locale::currentLocaleIdentifier().toUtf8().constData());
    const icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status)) {
        return {QStringLiteral("."), QStringLiteral(","), QStringLiteral("$")};
    }
    return {
        StringUtilities::fromUnicodeString(
            symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol)),
        StringUtilities::fromUnicodeString(
            symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol)),
        StringUtilities::fromUnicodeString(symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol)),
    };
}

bool allDigits(const QString& text) {
    for (const QChar character : text) {
        if (character < QLatin1Char('0') || character > QLatin1Char('9')) {
            return false;
        }
    }
    return true;
}

// The text without grouping and currency, with "." as its decimal separator, when it holds a
// floating-point value in the current locale.
std::optional<QString> floatingPointText(const QString& text) {
    const NumberSymbols symbols = currentNumberSymbols();
    QString stripped = text.trimmed();
    if (!symbols.currencySymbol.isEmpty() && stripped.startsWith(symbols.currencySymbol)) {
        stripped = stripped.mid(symbols.currencySymbol.size()).trimmed();
    }
    if (!symbols.groupingSeparator.isEmpty() && symbols.groupingSeparator != symbols.decimalSeparator) {
        stripped.remove(symbols.groupingSeparator);
    }
    if (symbols.decimalSeparator.isEmpty() || stripped.count(symbols.decimalSeparator) != 1) {
        return std::nullopt;
    }
    const qsizetype separator = stripped.indexOf(symbols.decimalSeparator);
    const QString whole = stripped.left(separator);
    const QString fraction = stripped.mid(separator + symbols.decimalSeparator.size());
    if (whole.isEmpty() && fraction.isEmpty()) {
        return std::nullopt;
    }
    if (!allDigits(whole) || !allDigits(fraction)) {
        return std::nullopt;
    }
    return whole + QLatin1Char('.') + fraction;
}

QString numberText(const ObjectValue& value) {
    if (const auto* real = std::get_if<double>(&value)) {
        return ObjectValues::decimalText(*real);
    }
    return ObjectValues::toString(value);
}

// An integer when the double holds a whole number, else the double.
ObjectValue numberValue(double value) {
    if (std::isfinite(value) && std::fabs(value) < 9.2e18 &&
        value == static_cast<double>(static_cast<std::int64_t>(value))) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

} // namespace

QString columnTypeForObjectStorage(PropertyKind kind) {
    switch (kind) {
    case PropertyKind::Integer:
    case PropertyKind::UnsignedInteger:
        return QStringLiteral("INTEGER");
    case PropertyKind::Real:
    case PropertyKind::Number:
    case PropertyKind::Date:
        return QStringLiteral("REAL");
    case PropertyKind::Character:
    case PropertyKind::Reference:
    case PropertyKind::String:
    case PropertyKind::Data:
        return QStringLiteral("TEXT");
    case PropertyKind::Image:
    case PropertyKind::Color:
    case PropertyKind::Archivable:
        return QStringLiteral("BLOB");
    case PropertyKind::Array:
    case PropertyKind::Dictionary:
    case PropertyKind::Set:
        break;
    }
    return QString();
}

bool shouldBeStoredInBlob(PropertyKind kind) {
    return kind == PropertyKind::Data || kind == PropertyKind::Image || kind == PropertyKind::Color ||
           kind == PropertyKind::Archivable;
}

void bindProperty(SqliteStatement& statement, int index, PropertyKind kind, const ObjectValue& value) {
    if (ObjectValues::isNil(value)) {
        statement.bindNull(index);
        return;
    }
    switch (kind) {
    case PropertyKind::UnsignedInteger:
        // Above the signed range a decimal text would turn into an inexact REAL; the bit pattern
        // of the signed integer keeps every value exact and reads back as the same unsigned one.
        statement.bind(index, static_cast<std::int64_t>(ObjectValues::toUInt64(value)));
        return;
    case PropertyKind::Integer:
    case PropertyKind::Real:
    case PropertyKind::Character:
    case PropertyKind::Number:
        statement.bind(index, numberText(value));
        return;
    case PropertyKind::String:
        statement.bind(index, ObjectValues::toString(value));
        return;
    case PropertyKind::Date:
    case PropertyKind::Data:
    case PropertyKind::Image:
    case PropertyKind::Color:
    case PropertyKind::Archivable:
        bindMember(statement, index, value);
        return;
    case PropertyKind::Reference:
    case PropertyKind::Array:
    case PropertyKind::Dictionary:
    case PropertyKind::Set:
        break;
    }
    statement.bindNull(index);
}

ObjectValue readProperty(const SqliteStatement& statement, int column, PropertyKind kind) {
    if (statement.isNull(column)) {
        return {};
    }
    switch (kind) {
    case PropertyKind::Integer:
        return statement.int64(column);
    case PropertyKind::UnsignedInteger:
        return static_cast<std::uint64_t>(statement.int64(column));
    case PropertyKind::Real:
        return statement.real(column);
    case PropertyKind::Character: {
        const QString text = statement.text(column);
        if (const auto real = floatingPointText(text)) {
            return real->toDouble();
        }
        if (holdsIntegerValue(text)) {
            return text.trimmed().toLongLong();
        }
        return text;
    }
    case PropertyKind::String:
        return statement.text(column);
    case PropertyKind::Number:
        return numberValue(statement.real(column));
    case PropertyKind::Date:
        return readMember(statement, column, QStringLiteral("Date"));
    case PropertyKind::Data:
        return statement.blob(column);
    case PropertyKind::Image:
        return PngImage{statement.blob(column)};
    case PropertyKind::Color:
        return readMember(statement, column, QStringLiteral("Color"));
    case PropertyKind::Archivable: {
        auto archived = archivableFromBlob(statement.blob(column));
        return archived ? ObjectValue(std::move(archived)) : ObjectValue();
    }
    case PropertyKind::Reference:
    case PropertyKind::Array:
    case PropertyKind::Dictionary:
    case PropertyKind::Set:
        break;
    }
    return {};
}

QString memberClassName(const ObjectValue& member) {
    return std::visit(
        [](const auto& value) -> QString {
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, QString>) {
                return QStringLiteral("String");
            } else if constexpr (std::is_same_v<Value, std::int64_t> ||
                                 std::is_same_v<Value, std::uint64_t> || std::is_same_v<Value, double>) {
                return QStringLiteral("Number");
            } else if constexpr (std::is_same_v<Value, ::Date>) {
                return QStringLiteral("Date");
            } else if constexpr (std::is_same_v<Value, QByteArray>) {
                return QStringLiteral("Data");
            } else if constexpr (std::is_same_v<Value, PngImage>) {
                return QStringLiteral("Image");
            } else if constexpr (std::is_same_v<Value, ::Color>) {
                return QStringLiteral("Color");
            } else if constexpr (std::is_same_v<Value, std::shared_ptr<const Archivable>>) {
                return value ? value->archiveClassName() : QString();
            } else {
                return QString();
            }
        },
        member);
}

void bindMember(SqliteStatement& statement, int index, const ObjectValue& member) {
    if (const auto* text = std::get_if<QString>(&member)) {
        statement.bind(index, *text);
    } else if (const auto* date = std::get_if<::Date>(&member)) {
        statement.bind(index, dateText(*date));
    } else if (const auto* bytes = std::get_if<QByteArray>(&member)) {
        statement.bindBlob(index, bytes->isNull() ? QByteArray("") : *bytes);
    } else if (const auto* image = std::get_if<PngImage>(&member)) {
        statement.bindBlob(index, image->png.isNull() ? QByteArray("") : image->png);
    } else if (const auto* color = std::get_if<::Color>(&member)) {
        statement.bindBlob(index, colorBlob(*color));
    } else if (const auto* archived = std::get_if<std::shared_ptr<const Archivable>>(&member)) {
        if (*archived) {
            statement.bindBlob(index, archivableBlob(**archived));
        } else {
            statement.bindNull(index);
        }
    } else if (std::holds_alternative<std::int64_t>(member) ||
               std::holds_alternative<std::uint64_t>(member) || std::holds_alternative<double>(member)) {
        statement.bind(index, numberText(member));
    } else {
        statement.bindNull(index);
    }
}

ObjectValue readMember(const SqliteStatement& statement, int column, const QString& className) {
    if (statement.isNull(column)) {
        return {};
    }
    if (className == QLatin1String("String")) {
        return statement.text(column);
    }
    if (className == QLatin1String("Number")) {
        const QString text = statement.text(column).trimmed();
        bool ok = false;
        const qlonglong integer = text.toLongLong(&ok);
        if (ok) {
            return static_cast<std::int64_t>(integer);
        }
        return text.toDouble();
    }
    if (className == QLatin1String("Date")) {
        const auto date = dateFromText(statement.text(column));
        return date ? ObjectValue(*date) : ObjectValue();
    }
    if (className == QLatin1String("Data")) {
        return statement.blob(column);
    }
    if (className == QLatin1String("Image")) {
        return PngImage{statement.blob(column)};
    }
    if (className == QLatin1String("Color")) {
        const auto color = colorFromBlob(statement.blob(column));
        return color ? ObjectValue(*color) : ObjectValue();
    }
    auto archived = archivableFromBlob(statement.blob(column));
    return archived ? ObjectValue(std::move(archived)) : ObjectValue();
}

QString dateText(Date date) {
    const double seconds = date.timeIntervalSince1970();
    const double whole = std::floor(seconds);
    // Four fractional digits, rounded; a fraction that rounds up to a whole second carries over.
    auto tenThousandths = static_cast<std::int64_t>(std::llround((seconds - whole) * 10000.0));
    auto wholeSeconds = static_cast<std::int64_t>(whole);
    if (tenThousandths >= 10000) {
        tenThousandths -= 10000;
        wholeSeconds += 1;
    }
    const QDateTime time = QDateTime::fromSecsSinceEpoch(wholeSeconds, QTimeZone::utc());
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char('.') +
           QStringLiteral("%1").arg(tenThousandths, 4, 10, QLatin1Char('0'));
}

std::optional<Date> dateFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype dot = trimmed.indexOf(QLatin1Char('.'));
    const QString wholePart = dot < 0 ? trimmed : trimmed.left(dot);
    const QString fractionPart = dot < 0 ? QString() : trimmed.mid(dot + 1);
    QDateTime time = QDateTime::fromString(wholePart, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!time.isValid() || !allDigits(fractionPart)) {
        return std::nullopt;
    }
    time.setTimeZone(QTimeZone::utc());
    double fraction = 0.0;
    if (!fractionPart.isEmpty()) {
        fraction = QStringLiteral("0.%1").arg(fractionPart).toDouble();
    }
    return Date::withTimeIntervalSince1970(static_cast<double>(time.toSecsSinceEpoch()) + fraction);
}

QByteArray colorBlob(Color color) {
    KeyedArchive components;
    components.setDouble(QStringLiteral("red"), color.red());
    components.setDouble(QStringLiteral("green"), color.green());
    components.setDouble(QStringLiteral("blue"), color.blue());
    components.setDouble(QStringLiteral("alpha"), color.alpha());
    KeyedArchive root;
    root.setArchive(colorKey, components);
    return root.encoded();
}

std::optional<Color> colorFromBlob(const QByteArray& blob) {
    const auto root = KeyedArchive::decode(blob);
    const auto components = root ? root->archive(colorKey) : std::nullopt;
    if (!components) {
        return std::nullopt;
    }
    const auto red = components->real(QStringLiteral("red"));
    const auto green = components->real(QStringLiteral("green"));
    const auto blue = components->real(QStringLiteral("blue"));
    const auto alpha = components->real(QStringLiteral("alpha"));
    if (!red || !green || !blue || !alpha) {
        return std::nullopt;
    }
    return Color(*red, *green, *blue, *alpha);
}

QByteArray archivableBlob(const Archivable& value) {
    KeyedArchive fields;
    value.encodeWithArchive(fields);
    KeyedArchive root;
    root.setArchive(value.archiveClassName(), fields);
    return root.encoded();
}

std::shared_ptr<const Archivable> archivableFromBlob(const QByteArray& blob) {
    const auto root = KeyedArchive::decode(blob);
    if (!root) {
        return nullptr;
    }
    // The root holds one entry, named after the value's class.
    for (const QString& className : root->keys()) {
        if (const auto fields = root->archive(className)) {
            return Archivable::decode(className, *fields);
        }
    }
    return nullptr;
}

bool holdsIntegerValue(const QString& text) {
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && allDigits(trimmed);
}

bool holdsFloatingPointValue(const QString& text) {
    return floatingPointText(text).has_value();
}

} // namespace ColumnPersistence
