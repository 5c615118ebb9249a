#include "foundation/Localization.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QXmlStreamReader>

// Compares the keys the code looks up with the entries of the translation files: every key has
// a German and a French entry, and every entry belongs to a key.

namespace {

const QString scannedSourceRoot = QStringLiteral(ORVELLA_SOURCE_DIR);

// A key as a translation file holds it: its text part and its place.
using CatalogueKey = std::pair<QString, QString>;

CatalogueKey catalogueKeyOf(const QString& key) {
    return {Localization::sourceText(key), Localization::disambiguation(key)};
}

// A string literal's contents with its escapes resolved ("\n", "\"", "\\").
QString unescapedLiteral(const QString& body) {
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body.at(i) == QLatin1Char('\\') && i + 1 < body.size()) {
            ++i;
            text += body.at(i) == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : body.at(i);
        } else {
            text += body.at(i);
        }
    }
    return text;
}

// The string literals passed to localizedString and localizationKey in one source file:
// adjacent literals are joined; comments, character literals and raw strings are skipped.
QStringList keysInSource(const QString& source) {
    QStringList keys;
    int depth = 0;          // parentheses open inside a call, 0 outside
    bool joining = false;   // the last token was a literal inside a call
    bool callAhead = false; // the last identifier names one of the two functions
    QString identifier;
    qsizetype i = 0;
    const auto at = [&source](qsizetype index) { return index < source.size() ? source.at(index) : QChar(); };
    while (i < source.size()) {
        const QChar c = source.at(i);
        if (c == QLatin1Char('/') && at(i + 1) == QLatin1Char('/')) {
            i = source.indexOf(QLatin1Char('\n'), i);
            i = i < 0 ? source.size() : i;
            continue;
        }
        if (c == QLatin1Char('/') && at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = source.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? source.size() : end + 2;
            continue;
        }
        if (c == QLatin1Char('R') && at(i + 1) == QLatin1Char('"') && identifier.isEmpty()) {
            const qsizetype open = source.indexOf(QLatin1Char('('), i + 2);
            const QString closing = QLatin1Char(')') + source.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const qsizetype end = source.indexOf(closing, open);
            i = end < 0 ? source.size() : end + closing.size();
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype end = i + 1;
            while (end < source.size() && source.at(end) != c) {
                end += source.at(end) == QLatin1Char('\\') ? 2 : 1;
            }
            if (c == QLatin1Char('"') && depth > 0) {
                const QString text = unescapedLiteral(source.mid(i + 1, end - i - 1));
                if (joining) {
                    keys.last() += text;
                } else {
                    keys.append(text);
                }
                joining = true;
            }
            identifier.clear();
            i = end + 1;
            continue;
        }
        if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            identifier += c;
            ++i;
            continue;
        }
        if (!identifier.isEmpty()) {
            callAhead = identifier == QLatin1String("localizedString") ||
                        identifier == QLatin1String("localizationKey");
            identifier.clear();
        }
        if (!c.isSpace()) {
            joining = false;
            if (c == QLatin1Char('(')) {
                if (depth > 0 || callAhead) {
                    ++depth;
                }
            } else if (c == QLatin1Char(')') && depth > 0) {
                --depth;
            }
            callAhead = false;
        }
        ++i;
    }
    return keys;
}

// Every key of the program's layers that show texts, with the files that use it.
QMap<CatalogueKey, QStringList> keysInCode() {
    QMap<CatalogueKey, QStringList> keys;
    for (const char* layer : {"core", "kit", "ui", "app"}) {
        QDirIterator files(scannedSourceRoot + QLatin1Char('/') + QLatin1String(layer), {"*.cpp", "*.h"},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            for (const QString& key : keysInSource(QString::fromUtf8(file.readAll()))) {
                keys[catalogueKeyOf(key)].append(file.fileName().mid(scannedSourceRoot.size() + 1));
            }
        }
    }
    return keys;
}

struct TranslationEntry {
    QStringList translations; // one, or a plural form each
    bool plural = false;
    bool unfinished = false;
};

QMap<CatalogueKey, TranslationEntry> entriesOf(const QString& language) {
    QFile file(scannedSourceRoot + QStringLiteral("/translations/orvella_%1.ts").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    QMap<CatalogueKey, TranslationEntry> entries;
    QXmlStreamReader xml(&file);
    CatalogueKey key;
    TranslationEntry entry;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            EXPECT_FALSE(entries.contains(key)) << "twice: " << key.first.toStdString();
            entries.insert(key, entry);
            continue;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("message")) {
            key = {};
            entry = {};
            entry.plural = xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            key.first = xml.readElementText();
        } else if (xml.name() == QLatin1String("comment")) {
            key.second = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            if (!entry.plural) {
                entry.translations.append(xml.readElementText());
            }
        } else if (xml.name() == QLatin1String("numerusform")) {
            entry.translations.append(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

std::string catalogueKeyText(const CatalogueKey& key) {
    return (key.second.isEmpty() ? key.first : key.first + QStringLiteral(" ~") + key.second).toStdString();
}

TEST(LocalizationCatalogue, EveryKeyHasAGermanAndAFrenchEntryAndEveryEntryAKey) {
    const QMap<CatalogueKey, QStringList> keys = keysInCode();
    ASSERT_GT(keys.size(), 150);
    EXPECT_TRUE(keys.contains(catalogueKeyOf(QStringLiteral("Add Event ~Button"))));
    EXPECT_TRUE(keys.contains(catalogueKeyOf(QStringLiteral("Delete Calendar~actionSheet"))));
    EXPECT_TRUE(keys.contains(
        catalogueKeyOf(QStringLiteral("Events shown:\nLonger than 1 day\n(for example holidays)."))));
    for (const QString& language : {QStringLiteral("de"), QStringLiteral("fr")}) {
        const QMap<CatalogueKey, TranslationEntry> entries = entriesOf(language);
        for (auto key = keys.cbegin(); key != keys.cend(); ++key) {
            EXPECT_TRUE(entries.contains(key.key()))
                << language.toStdString() << " lacks \"" << catalogueKeyText(key.key()) << "\", used in "
                << key.value().join(QStringLiteral(", ")).toStdString();
        }
        for (auto entry = entries.cbegin(); entry != entries.cend(); ++entry) {
            const std::string name = language.toStdString() + " \"" + catalogueKeyText(entry.key()) + "\"";
            EXPECT_TRUE(keys.contains(entry.key())) << name << " is used nowhere";
            EXPECT_FALSE(entry->unfinished) << name << " is unfinished";
            EXPECT_EQ(entry->translations.size(), entry->plural ? 2 : 1) << name;
            for (const QString& translation : entry->translations) {
                EXPECT_FALSE(translation.trimmed().isEmpty()) << name << " is empty";
                EXPECT_TRUE(!entry->plural || translation.contains(QLatin1String("%n"))) << name;
                // Every value the code fills in keeps its place in the translation.
                for (const char* marker : {"%@", "%1"}) {
                    EXPECT_TRUE(!entry.key().first.contains(QLatin1String(marker)) ||
                                translation.contains(QLatin1String(marker)))
                        << name << " lacks " << marker;
                }
            }
        }
    }
    // The English file holds only plural forms, each of a key in use.
    const QMap<CatalogueKey, TranslationEntry> english = entriesOf(QStringLiteral("en"));
    EXPECT_FALSE(english.isEmpty());
    for (auto entry = english.cbegin(); entry != english.cend(); ++entry) {
        EXPECT_TRUE(entry->plural && keys.contains(entry.key())) << catalogueKeyText(entry.key());
        EXPECT_EQ(entry->translations.size(), 2) << catalogueKeyText(entry.key());
    }
}

TEST(LocalizationCatalogue, SourceScanJoinsLiteralsAndSkipsCommentsAndOtherCalls) {
    EXPECT_EQ(
        keysInSource(QStringLiteral(
            "// localizedString(\"In a comment\")\n"
            "x = localizedString(flag ? QStringLiteral(\"Done\") : QStringLiteral(\"Edit\"));\n"
            "y = localizationKey(\"Two \"\n  \"lines\\n\");  z = other(\"Not a key\", ')');\n"
            "w = R\"(localizedString(\"raw\"))\"; v = localizedString(QStringLiteral(\"A ~Place\"), n);")),
        (QStringList{"Done", "Edit", "Two lines\n", "A ~Place"}));
}

} // namespace
