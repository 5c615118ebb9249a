#pragma once

#include <QString>

#include <unicode/unistr.h>

namespace StringUtilities {

// Both versions split at "."; true only when each has at least two components and the first
// two are equal as strings ("2.0.3" and "2.0" are the same minor version, "2" and "2" are not).
bool isSameMinorVersionNumberAs(const QString& version, const QString& otherVersion);

// The first character upper-cased, the rest kept.
QString stringByUppercasingFirstLetter(const QString& string);
// The first character lower-cased, the rest kept.
QString stringByLowercasingFirstLetter(const QString& string);

// Both hold UTF-16, so the conversions copy the code units as they are.
QString fromUnicodeString(const icu::UnicodeString& string);
icu::UnicodeString toUnicodeString(const QString& string);

} // namespace StringUtilities
