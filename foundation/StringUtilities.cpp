#include "foundation/StringUtilities.h"

#include <QStringList>

namespace StringUtilities {

bool isSameMinorVersionNumberAs(const QString& version, const QString& otherVersion) {
    const QStringList components = version.split(QLatin1Char('.'));
    const QStringList otherComponents = otherVersion.split(QLatin1Char('.'));
    if (components.size() < 2 || otherComponents.size() < 2) {
        return false;
    }
    return components[0] == otherComponents[0] && components[1] == otherComponents[1];
}

QString stringByUppercasingFirstLetter(const QString& string) {
    if (string.isEmpty()) {
        return string;
    }
    // A letter outside the basic plane takes two UTF-16 units.
    const qsizetype firstLength = string.at(0).isHighSurrogate() && string.size() > 1 ? 2 : 1;
    return string.left(firstLength).toUpper() + string.mid(firstLength);
}

QString stringByLowercasingFirstLetter(const QString& string) {
    if (string.isEmpty()) {
        return string;
    }
    const qsizetype firstLength = string.at(0).isHighSurrogate() && string.size() > 1 ? 2 : 1;
    return string.left(firstLength).toLower() + string.mid(firstLength);
}

QString fromUnicodeString(const icu::UnicodeString& string) {
    return QString(reinterpret_cast<const QChar*>(string.getBuffer()), string.length());
}

icu::UnicodeString toUnicodeString(const QString& string) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(string.utf16()),
                              static_cast<int32_t>(string.size()));
}

} // namespace StringUtilities
