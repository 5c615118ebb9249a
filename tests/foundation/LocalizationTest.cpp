#include "foundation/Localization.h"

#include "foundation/Locale.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

namespace {

// A translator that knows two texts, one of them only for a given place.
class FakeTranslator final : public QTranslator {
public:
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int /*n*/) const override {
        const QString source = QString::fromUtf8(sourceText);
        const QString place = QString::fromUtf8(disambiguation);
        if (QString::fromUtf8(context) != "Orvella") {
            return QString();
        }
        if (source == "Add Event" && place == "Button") {
            return "Termin hinzufügen";
        }
        if (source == "Cancel" && place.isEmpty()) {
            return "Abbrechen";
        }
        if (source == "jumpToDateHint") {
            return "Zur Woche springen";
        }
        return QString();
    }

    bool isEmpty() const override { return false; }
};

TEST(Localization, SplitsKeysIntoTextAndPlace) {
    EXPECT_EQ(Localization::sourceText("Add Event ~Button"), "Add Event");
    EXPECT_EQ(Localization::disambiguation("Add Event ~Button"), "Button");
    EXPECT_EQ(Localization::sourceText("Delete Calendar~actionSheet"), "Delete Calendar");
    EXPECT_EQ(Localization::disambiguation("Delete Calendar~actionSheet"), "actionSheet");
    EXPECT_EQ(Localization::sourceText("Cancel"), "Cancel");
    EXPECT_EQ(Localization::disambiguation("Cancel"), "");
    EXPECT_EQ(Localization::sourceText("This is a repeating event. ~Save"), "This is a repeating event.");
}

TEST(Localization, TildeWithoutTextBeforeItIsPartOfTheText) {
    EXPECT_EQ(Localization::sourceText("~Button"), "~Button");
    EXPECT_EQ(Localization::disambiguation("~Button"), "");
    EXPECT_EQ(localizedString("~Button"), "~Button");
    EXPECT_EQ(localizedString("  ~Button"), "  ~Button");
}

TEST(Localization, WithoutTranslationShowsTheKeyText) {
    EXPECT_EQ(localizedString("Cancel"), "Cancel");
    EXPECT_EQ(localizedString("Add Event ~Button"), "Add Event");
    EXPECT_EQ(localizedString("Copy ~menu"), "Copy");
    EXPECT_EQ(localizedString(""), "");
}

TEST(Localization, IdentifierKeysHaveEnglishTexts) {
    EXPECT_EQ(localizedString("jumpToDateHint"),
              "Tap on the week/year button at the top to directly jump to the desired week.");
    EXPECT_EQ(Localization::text("searchHint"), "You can also swipe up to activate search.");
    EXPECT_EQ(localizedString("On My iPhone"), "On This Computer");
}

TEST(Localization, InstalledTranslatorWins) {
    FakeTranslator translator;
    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    EXPECT_EQ(localizedString("Add Event ~Button"), "Termin hinzufügen");
    EXPECT_EQ(localizedString("Add Event ~Menu"), "Add Event");
    EXPECT_EQ(localizedString("Cancel"), "Abbrechen");
    EXPECT_EQ(localizedString("jumpToDateHint"), "Zur Woche springen");
    EXPECT_EQ(localizedString("searchHint"), "You can also swipe up to activate search.");
    QCoreApplication::removeTranslator(&translator);
    EXPECT_EQ(localizedString("Cancel"), "Cancel");
}

// Installs the program's translation of a language for the length of a test.
class InstalledTranslation {
public:
    explicit InstalledTranslation(const QString& language) {
        EXPECT_TRUE(Localization::loadTranslation(m_translator, language)) << language.toStdString();
        QCoreApplication::installTranslator(&m_translator);
    }
    ~InstalledTranslation() { QCoreApplication::removeTranslator(&m_translator); }
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;

private:
    QTranslator m_translator;
};

TEST(Localization, TheGermanAndFrenchTranslationsGiveTheirTexts) {
    {
        const InstalledTranslation german(QStringLiteral("de"));
        EXPECT_EQ(localizedString("Today"), "Heute");
        EXPECT_EQ(localizedString("Add Event ~Button"), "Termin hinzufügen");
        EXPECT_EQ(localizedString("Delete Calendar~actionSheet"), "Kalender löschen");
        EXPECT_EQ(localizedString("This is a repeating event. ~Move"),
                  "Dies ist ein sich wiederholender Termin.");
        EXPECT_EQ(localizedString("On My iPhone"), "Auf diesem Computer");
        EXPECT_EQ(localizedString("Week %@"), "Woche %@");
        EXPECT_EQ(localizedString("No more results"), "Keine weiteren Treffer");
    }
    EXPECT_EQ(localizedString("Today"), "Today");
    {
        // A region without a translation of its own takes its language's.
        const InstalledTranslation french(QStringLiteral("fr_CH"));
        EXPECT_EQ(localizedString("Today"), "Aujourd'hui");
        EXPECT_EQ(localizedString("Settings"), "Réglages");
    }
    {
        // A language without a translation shows the English texts.
        const InstalledTranslation spanish(QStringLiteral("es"));
        EXPECT_EQ(localizedString("Today"), "Today");
        EXPECT_EQ(localizedString("On My iPhone"), "On This Computer");
    }
}

// Messages that carry the toolkit's own words (a network error's reason) read in one language.
TEST(Localization, TheToolkitsOwnTextsFollowTheLanguage) {
    QTranslator toolkit;
    ASSERT_TRUE(Localization::useToolkitLanguage(QStringLiteral("de_AT"), toolkit));
    EXPECT_EQ(QCoreApplication::translate("QAbstractSocket", "Connection refused"), "Verbindung verweigert");
    QCoreApplication::removeTranslator(&toolkit);
    EXPECT_EQ(QCoreApplication::translate("QAbstractSocket", "Connection refused"), "Connection refused");
}

TEST(Localization, PluralFormsFollowTheCountInEachLanguage) {
    const QString key = QStringLiteral(" %i more events ...");
    // Without a translation the count fills the key's own marker.
    EXPECT_EQ(localizedString(key, 3), " 3 more events ...");
    EXPECT_EQ(localizedString("and %1 more", 4), "and 4 more");
    const std::map<QString, std::vector<std::pair<int, QString>>> expected{
        {"en", {{1, " 1 more event ..."}, {2, " 2 more events ..."}, {12, " 12 more events ..."}}},
        {"de", {{1, " 1 weiterer ..."}, {2, " 2 weitere ..."}, {12, " 12 weitere ..."}}},
        {"fr", {{0, " 0 autre ..."}, {1, " 1 autre ..."}, {2, " 2 autres ..."}, {12, " 12 autres ..."}}},
    };
    for (const auto& [language, forms] : expected) {
        const InstalledTranslation translation(language);
        for (const auto& [count, text] : forms) {
            EXPECT_EQ(localizedString(key, count), text) << language.toStdString() << " " << count;
        }
    }
}

TEST(Localization, TheLanguageComesFromTheRequestThenLanguageThenTheLocale) {
    const QString previousLocale = Locale::currentLocaleIdentifier();
    const QByteArray previousLanguage = qgetenv("LANGUAGE");
    Locale::setCurrentLocale(QStringLiteral("en_US"));
    qunsetenv("LANGUAGE");
    EXPECT_EQ(Localization::chosenLanguage(QString()), "en");
    qputenv("LANGUAGE", "C");
    EXPECT_EQ(Localization::chosenLanguage(QString()), "en");
    qputenv("LANGUAGE", "fr_CA:de");
    EXPECT_EQ(Localization::chosenLanguage(QString()), "fr_CA");
    EXPECT_EQ(Localization::chosenLanguage(QStringLiteral("de")), "de");
    {
        // The locale takes the language and keeps its region: dates and names follow it.
        QTranslator translator;
        EXPECT_EQ(Localization::useLanguage(QStringLiteral("de"), translator), "de");
        EXPECT_EQ(Locale::currentLocaleIdentifier(), "de_US");
        EXPECT_EQ(localizedString("Today"), "Heute");
    }
    EXPECT_EQ(localizedString("Today"), "Today");
    Locale::setCurrentLocale(QStringLiteral("ja_JP@calendar=japanese"));
    {
        QTranslator translator;
        EXPECT_EQ(Localization::useLanguage(QString(), translator), "fr_CA");
        EXPECT_EQ(Locale::currentLocaleIdentifier(), "fr_CA@calendar=japanese");
        EXPECT_EQ(localizedString("Week %@"), "Semaine %@");
    }
    Locale::setCurrentLocale(previousLocale);
    if (previousLanguage.isNull()) {
        qunsetenv("LANGUAGE");
    } else {
        qputenv("LANGUAGE", previousLanguage);
    }
}

} // namespace
