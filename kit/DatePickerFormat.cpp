#include "kit/DatePickerFormat.h"

#include "foundation/StringUtilities.h"

#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/smpdtfmt.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

constexpr int monthsInYear = 12;

// The pattern with its quoted literals blanked, so that letters inside them do not count.
QString patternLetters(const QString& pattern) {
    QString letters;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            letters += QLatin1Char(' ');
        } else {
            letters += quoted ? QChar(QLatin1Char(' ')) : c;
        }
    }
    return letters;
}

QString patternOf(const icu::DateFormat* format) {
    if (const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format)) {
        icu::UnicodeString text;
        simple->toPattern(text);
        return StringUtilities::fromUnicodeString(text);
    }
    return {};
}

// Month names from ICU, filled up with numbers where it has fewer than twelve.
QStringList monthNamesOf(const icu::UnicodeString* names, int32_t count) {
    QStringList list;
    for (int32_t i = 0; i < std::min(count, monthsInYear); ++i) {
        list.append(StringUtilities::fromUnicodeString(names[i]));
    }
    for (auto month = list.size() + 1; month <= monthsInYear; ++month) {
        list.append(QString::number(month));
    }
    return list;
}

} // namespace

DatePickerFormat::DatePickerFormat() {
    m_monthNames = monthNamesOf(nullptr, 0);
    m_abbreviatedMonthNames = m_monthNames;
}

DatePickerFormat::DatePickerFormat(const QString& localeIdentifier) : DatePickerFormat() {
    const icu::Locale locale(localeIdentifier.toUtf8().constData());
    const std::unique_ptr<icu::DateFormat> time(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    readTimeFormat(patternOf(time.get()));
    // The wheels follow the fields of the medium date pattern, or of the short one where the
    // medium lacks one of them.
    const std::unique_ptr<icu::DateFormat> medium(
        icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
    const std::unique_ptr<icu::DateFormat> shortFormat(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    readDateFormat(patternOf(shortFormat.get()));
    readDateFormat(patternOf(medium.get()));

    UErrorCode status = U_ZERO_ERROR;
    const icu::DateFormatSymbols symbols(locale, status);
    if (U_FAILURE(status)) {
        return;
    }
    int32_t count = 0;
    const icu::UnicodeString* amPm = symbols.getAmPmStrings(count);
    if (count >= 2) {
        m_amPmSymbols = {StringUtilities::fromUnicodeString(amPm[0]),
                         StringUtilities::fromUnicodeString(amPm[1])};
    }
    const icu::UnicodeString* names =
        symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::WIDE);
    m_monthNames = monthNamesOf(names, count);
    names = symbols.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
    m_abbreviatedMonthNames = monthNamesOf(names, count);
}

void DatePickerFormat::readTimeFormat(const QString& pattern) {
    const QString letters = patternLetters(pattern);
    qsizetype hourAt = -1;
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const char c = letters[i].toLatin1();
        if (c == 'H' || c == 'h' || c == 'K' || c == 'k') {
            hourAt = i;
            m_hourLetter = c;
            m_padHours = i + 1 < letters.size() && letters[i + 1] == letters[i];
            break;
        }
    }
    if (hourAt < 0) {
        m_hourLetter = 'H';
        m_padHours = true;
    }
    const qsizetype dayPeriodAt = letters.indexOf(QLatin1Char('a'));
    m_amPmFirst = usesTwelveHourClock() && dayPeriodAt >= 0 && dayPeriodAt < hourAt;
}

void DatePickerFormat::readDateFormat(const QString& pattern) {
    const QString letters = patternLetters(pattern);
    const auto firstOf = [&letters](const QString& fieldLetters) {
        qsizetype first = -1;
        for (const QChar c : fieldLetters) {
            const qsizetype at = letters.indexOf(c);
            if (at >= 0 && (first < 0 || at < first)) {
                first = at;
            }
        }
        return first;
    };
    std::vector<std::pair<qsizetype, DateField>> fields{{firstOf(QStringLiteral("ML")), DateField::Month},
                                                        {firstOf(QStringLiteral("d")), DateField::Day},
                                                        {firstOf(QStringLiteral("yYu")), DateField::Year}};
    if (std::any_of(fields.begin(), fields.end(), [](const auto& field) { return field.first < 0; })) {
        return;
    }
    std::sort(fields.begin(), fields.end());
    m_dateOrder.clear();
    for (const auto& field : fields) {
        m_dateOrder.push_back(field.second);
    }
}

QStringList DatePickerFormat::hourTitles() const {
    QStringList titles;
    for (int hour = 0; hour < (usesTwelveHourClock() ? 12 : 24); ++hour) {
        int shown = hour;
        if (m_hourLetter == 'h' && hour == 0) {
            shown = 12;
        } else if (m_hourLetter == 'k' && hour == 0) {
            shown = 24;
        }
        titles.append(m_padHours ? QStringLiteral("%1").arg(shown, 2, 10, QLatin1Char('0'))
                                 : QString::number(shown));
    }
    return titles;
}
