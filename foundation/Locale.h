#pragma once

#include <QString>

// The user's locale, as the platform reports it (ICU's default locale).
class Locale {
public:
    // The full identifier, such as "en_US" or "ja_JP@calendar=japanese".
    static QString currentLocaleIdentifier();
    // The two-letter region code ("US"), empty when the locale names no region.
    static QString countryCode();
    // Changes the user's locale for this process (start-up and tests).
    static void setCurrentLocale(const QString& identifier);
};
