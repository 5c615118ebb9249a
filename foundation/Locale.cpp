#include "foundation/Locale.h"

#include <unicode/locid.h>

QString Locale::currentLocaleIdentifier() {
    return QString::fromUtf8(icu::Locale::getDefault().getName());
}

QString Locale::countryCode() {
    return QString::fromUtf8(icu::Locale::getDefault().getCountry());
}

void Locale::setCurrentLocale(const QString& identifier) {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale(identifier.toUtf8().constData()), status);
}
