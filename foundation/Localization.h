#pragma once

#include <QString>

class QTranslator;

// User-visible texts are looked up by key. A key may end in "~Place", naming where the text
// is used ("Add Event ~Button"); the text part is the English text and the place tells apart
// keys of the same text. A translator installed on the application wins; without one, a few
// keys that would read badly have an English text of their own, and every other key shows its
// text part.
//
// The translations are Qt Linguist files built into the program, one per language, in the
// context `Localization::context`; the key's place is the message's disambiguation.
class Localization {
public:
    static QString text(const QString& key);
    // The text of a key that holds a count ("%i more events", "%1 events cannot be read:"), in
    // the plural form the language gives `count`, with the count written in place of the key's
    // "%i" or "%1" (or of "%n", as translations write it).
    static QString text(const QString& key, int count);

    // The key's text part and its place ("Add Event", "Button"); the place is empty without
    // one. A "~" with no text before it does not begin a place.
    static QString sourceText(const QString& key);
    static QString disambiguation(const QString& key);

    // The language texts are shown in: `requested` (a code such as "de" or "fr_CH") when given,
    // else the first of the LANGUAGE variable's list, else the language of the locale, which
    // follows LC_ALL, LC_MESSAGES and LANG.
    static QString chosenLanguage(const QString& requested);
    // Loads the texts of `language` into `translator`: the language's own translation, or the
    // English one (its plural forms) for a language that has none.
    static bool loadTranslation(QTranslator& translator, const QString& language);
    // Shows the program in the chosen language (see chosenLanguage): a language other than the
    // locale's replaces the locale's language, keeping its region, so that dates and names
    // follow; `translator` is loaded and installed on the application, which must exist.
    // Returns the language.
    static QString useLanguage(const QString& requested, QTranslator& translator);
    // Loads the toolkit's own texts of `language` (network and file errors, standard buttons) into
    // `translator` and installs it, where the system has them (Debian: qt6-translations-l10n).
    static bool useToolkitLanguage(const QString& language, QTranslator& translator);

    // The translation context every key is looked up in.
    static constexpr const char* context = "Orvella";
};

// Short for Localization::text.
QString localizedString(const QString& key);
QString localizedString(const QString& key, int count);

// Marks a key that is kept (in a table, or for a helper) and looked up later: the source scan
// that checks the translations finds keys in calls of localizedString and of this.
constexpr const char* localizationKey(const char* key) {
    return key;
}
