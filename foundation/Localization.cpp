#include "foundation/Localization.h"

#include "foundation/Locale.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace {

// English texts for keys that are identifiers rather than English, or that name another platform.
const QHash<QString, QString>& englishTexts() {
    static const QHash<QString, QString> texts{
        {QStringLiteral("jumpToDateHint"),
         QStringLiteral("Tap on the week/year button at the top to directly jump to the desired week.")},
        {QStringLiteral("searchHint"), QStringLiteral("You can also swipe up to activate search.")},
        {QStringLiteral("rateTitle"), QStringLiteral("Rate %@")},
        {QStringLiteral("On My iPhone"), QStringLiteral("On This Computer")},
        // The [More] button opens this program's own full event editor.
        {QStringLiteral(
             "The [More] button opens the event details in the standard iPhone Calendar app. Use this to "
             "set additional options for the event."),
         QStringLiteral(
             "The [More] button opens the full event editor. Use it to set additional options for the "
             "event, such as its address and notes.")},
    };
    return texts;
}

// The position of the "~" that begins the place, or -1; a "~" with no text before it is part
// of the text.
qsizetype placeMarker(const QString& key) {
    const qsizetype marker = key.lastIndexOf(QLatin1Char('~'));
    return marker > 0 && !key.left(marker).trimmed().isEmpty() ? marker : -1;
}

// The key looked up in the installed translators; `count` picks the plural form (-1: none).
QString translatedKey(const QString& key, int count) {
    const QByteArray source = Localization::sourceText(key).toUtf8();
    const QByteArray place = Localization::disambiguation(key).toUtf8();
    return QCoreApplication::translate(Localization::context, source.constData(),
                                       place.isEmpty() ? nullptr : place.constData(), count);
}

// The language part of a locale or language code: "de" of "de_DE.UTF-8" or "de-AT".
QString languagePart(const QString& code) {
    const qsizetype end = code.indexOf(QRegularExpression(QStringLiteral("[_.@-]")));
    return (end < 0 ? code : code.left(end)).toLower();
}

// The locale `identifier` with the language `language`: "de" with "en_US@calendar=gregorian"
// gives "de_US@calendar=gregorian"; a language with its own region ("fr_CH") brings that region.
QString localeSpeaking(const QString& identifier, const QString& language) {
    const QString code =
        QString(language).replace(QLatin1Char('-'), QLatin1Char('_')).section(QLatin1Char('.'), 0, 0);
    const qsizetype keywordsAt = identifier.indexOf(QLatin1Char('@'));
    const QString keywords = keywordsAt < 0 ? QString() : identifier.mid(keywordsAt);
    if (code.contains(QLatin1Char('_'))) {
        return code + keywords;
    }
    const QString name = keywordsAt < 0 ? identifier : identifier.left(keywordsAt);
    const qsizetype regionAt = name.indexOf(QLatin1Char('_'));
    return code + (regionAt < 0 ? QString() : name.mid(regionAt)) + keywords;
}

} // namespace

QString Localization::sourceText(const QString& key) {
    const qsizetype marker = placeMarker(key);
    if (marker < 0) {
        return key;
    }
    qsizetype end = marker;
    while (end > 0 && key.at(end - 1).isSpace()) {
        --end;
    }
    return key.left(end);
}

QString Localization::disambiguation(const QString& key) {
    const qsizetype marker = placeMarker(key);
    return marker < 0 ? QString() : key.mid(marker + 1);
}

QString Localization::text(const QString& key) {
    const QString source = sourceText(key);
    const QString translated = translatedKey(key, -1);
    if (translated != source) {
        return translated;
    }
    const auto english = englishTexts().constFind(key);
    return english != englishTexts().constEnd() ? *english : source;
}

QString Localization::text(const QString& key, int count) {
    const QString number = QString::number(count);
    return translatedKey(key, count)
        .replace(QStringLiteral("%i"), number)
        .replace(QStringLiteral("%1"), number);
}

QString Localization::chosenLanguage(const QString& requested) {
    if (!requested.isEmpty()) {
        return requested;
    }
    // GNU's list of languages in order of preference ("de_AT:de"); "C" or garbage names none.
    const QString preferred = qEnvironmentVariable("LANGUAGE").section(QLatin1Char(':'), 0, 0);
    static const QRegularExpression languageCode(QStringLiteral("^[A-Za-z]{2,3}([_.@-]|$)"));
    if (languageCode.match(preferred).hasMatch()) {
        return preferred;
    }
    return languagePart(Locale::currentLocaleIdentifier());
}

bool Localization::loadTranslation(QTranslator& translator, const QString& language) {
    const QString folder = QStringLiteral(":/translations");
    return translator.load(QStringLiteral("orvella_") + languagePart(language), folder) ||
           translator.load(QStringLiteral("orvella_en"), folder);
}

QString Localization::useLanguage(const QString& requested, QTranslator& translator) {
    const QString language = chosenLanguage(requested);
    const QString locale = Locale::currentLocaleIdentifier();
    if (languagePart(language) != languagePart(locale)) {
        Locale::setCurrentLocale(localeSpeaking(locale, language));
    }
    if (loadTranslation(translator, language)) {
        QCoreApplication::installTranslator(&translator);
    }
    return language;
}

bool Localization::useToolkitLanguage(const QString& language, QTranslator& translator) {
    if (!translator.load(QStringLiteral("qtbase_") + languagePart(language),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(&translator);
    return true;
}

QString localizedString(const QString& key) {
    return Localization::text(key);
}

QString localizedString(const QString& key, int count) {
    return Localization::text(key, count);
}
