#include "foundation/Localization.h"

#include <QCoreApplication>
#include <QHash>

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
    const QByteArray sourceUtf8 = source.toUtf8();
    const QByteArray disambiguationUtf8 = disambiguation(key).toUtf8();
    const QString translated =
        QCoreApplication::translate(context, sourceUtf8.constData(),
                                    disambiguationUtf8.isEmpty() ? nullptr : disambiguationUtf8.constData());
    if (translated != source) {
        return translated;
    }
    const auto english = englishTexts().constFind(key);
    return english != englishTexts().constEnd() ? *english : source;
}

QString localizedString(const QString& key) {
    return Localization::text(key);
}
