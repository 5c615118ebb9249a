#include "foundation/Localization.h"

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

} // namespace
