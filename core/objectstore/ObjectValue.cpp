#include "core/objectstore/ObjectValue.h"

#include <cmath>

namespace ObjectValues {

bool isNil(const ObjectValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

std::int64_t toInt64(const ObjectValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return *integer;
    }
    if (const auto* unsignedInteger = std::get_if<std::uint64_t>(&value)) {
        return static_cast<std::int64_t>(*unsignedInteger);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return std::isfinite(*real) ? static_cast<std::int64_t>(*real) : 0;
    }
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const qlonglong integer = text->trimmed().toLongLong(&ok);
        if (ok) {
            return integer;
        }
        const double real = text->trimmed().toDouble(&ok);
        return ok && std::isfinite(real) ? static_cast<std::int64_t>(real) : 0;
    }
    return 0;
}

std::uint64_t toUInt64(const ObjectValue& value) {
    if (const auto* unsignedInteger = std::get_if<std::uint64_t>(&value)) {
        return *unsignedInteger;
    }
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const qulonglong integer = text->trimmed().toULongLong(&ok);
        if (ok) {
            return integer;
        }
    }
    return static_cast<std::uint64_t>(toInt64(value));
}

double toDouble(const ObjectValue& value) {
    if (const auto* real = std::get_if<double>(&value)) {
        return *real;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*integer);
    }
    if (const auto* unsignedInteger = std::get_if<std::uint64_t>(&value)) {
        return static_cast<double>(*unsignedInteger);
    }
    if (const auto* text = std::get_if<QString>(&value)) {
        bool ok = false;
        const double real = text->trimmed().toDouble(&ok);
        return ok ? real : 0.0;
    }
    return 0.0;
}

QString toString(const ObjectValue& value) {
    if (const auto* text = std::get_if<QString>(&value)) {
        return *text;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return QString::number(*integer);
    }
    if (const auto* unsignedInteger = std::get_if<std::uint64_t>(&value)) {
        return QString::number(*unsignedInteger);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return decimalText(*real);
    }
    return QString();
}

std::optional<Date> toDate(const ObjectValue& value) {
    if (const auto* date = std::get_if<Date>(&value)) {
        return *date;
    }
    return std::nullopt;
}

std::shared_ptr<PersistentObject> toObject(const ObjectValue& value) {
    if (const auto* object = std::get_if<std::shared_ptr<PersistentObject>>(&value)) {
        return *object;
    }
    return nullptr;
}

QString decimalText(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 9.0e15) {
        return QString::number(static_cast<std::int64_t>(value));
    }
    return QString::number(value, 'g', 17);
}

} // namespace ObjectValues
