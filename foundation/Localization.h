#pragma once

#include <QString>

// User-visible texts are looked up by key. A key may end in "~Place", naming where the text
// is used ("Add Event ~Button"); the text part is the English text and the place tells apart
// keys of the same text. A translator installed on the application wins; without one, a few
// keys that would read badly have an English text of their own, and every other key shows its
// text part.
class Localization {
public:
    static QString text(const QString& key);

    // The key's text part and its place ("Add Event", "Button"); the place is empty without
    // one. A "~" with no text before it does not begin a place.
    static QString sourceText(const QString& key);
    static QString disambiguation(const QString& key);

    // The translation context every key is looked up in.
    static constexpr const char* context = "Orvella";
};

// Short for Localization::text.
QString localizedString(const QString& key);
