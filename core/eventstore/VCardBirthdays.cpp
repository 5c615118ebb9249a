#include "core/eventstore/VCardBirthdays.h"

#include "core/eventstore/ContentLineReader.h"
#include "foundation/CivilDate.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace {

struct Refusal {
    int line;
    QString problem;
};

bool allAsciiDigits(const QByteArray& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

enum class DateReading { Date, NoDay, Malformed };

// The date forms of RFC 6350 4.3.1 and RFC 2426 (basic and extended, with or without year). A
// time after "T" is dropped. Reduced forms without a day ("--12", "1980-05") are valid but give no
// birthday.
DateReading readDate(QByteArray text, Birthday& birthday) {
    const qsizetype time = text.indexOf('T');
    if (time >= 0) {
        text.truncate(time);
    }
    QByteArray digits;
    if (text.startsWith("---")) {
        return allAsciiDigits(text.mid(3)) && text.size() == 5 ? DateReading::NoDay : DateReading::Malformed;
    }
    if (text.startsWith("--")) {
        digits = text.mid(2);
        if (digits.size() == 2 && allAsciiDigits(digits)) {
            return DateReading::NoDay;
        }
        if (digits.size() == 5 && digits[2] == '-') {
            digits.remove(2, 1);
        }
        if (digits.size() != 4 || !allAsciiDigits(digits)) {
            return DateReading::Malformed;
        }
        birthday.year.reset();
        birthday.month = digits.left(2).toInt();
        birthday.day = digits.mid(2).toInt();
    } else {
        if ((text.size() == 4 && allAsciiDigits(text)) ||
            (text.size() == 7 && text[4] == '-' && allAsciiDigits(text.left(4)) &&
             allAsciiDigits(text.mid(5)))) {
            return DateReading::NoDay;
        }
        digits = text;
        if (digits.size() == 10 && digits[4] == '-' && digits[7] == '-') {
            digits.remove(7, 1);
            digits.remove(4, 1);
        }
        if (digits.size() != 8 || !allAsciiDigits(digits)) {
            return DateReading::Malformed;
        }
        birthday.year = digits.left(4).toInt();
        birthday.month = digits.mid(4, 2).toInt();
        birthday.day = digits.mid(6).toInt();
    }
    // Without a year, 29 February is a valid birthday.
    if (!CivilDate::isValid(birthday.year.value_or(2000), birthday.month, birthday.day)) {
        return DateReading::Malformed;
    }
    return DateReading::Date;
}

// The components of a structured value (N: family;given;additional;prefixes;suffixes), split at
// unescaped separators.
QStringList components(const QByteArray& value) {
    QStringList parts;
    QByteArray current;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            current += value[i];
            current += value[++i];
        } else if (value[i] == ';') {
            parts.append(ContentLineReader::unescapeText(current));
            current.clear();
        } else {
            current += value[i];
        }
    }
    parts.append(ContentLineReader::unescapeText(current));
    return parts;
}

QString nameFromN(const QByteArray& value) {
    const QStringList parts = components(value);
    QStringList words;
    // Prefixes, given, additional, family, suffixes.
    for (const int index : {3, 1, 2, 0, 4}) {
        if (index < parts.size()) {
            const QString part =
                parts[index].split(QLatin1Char(','), Qt::SkipEmptyParts).join(QLatin1Char(' ')).trimmed();
            if (!part.isEmpty()) {
                words.append(part);
            }
        }
    }
    return words.join(QLatin1Char(' '));
}

struct Card {
    int beginLine = 0;
    QString formattedName;
    QByteArray structuredName;
    bool hasStructuredName = false;
    std::optional<ContentLine> birthday;
    QString uid;
};

std::optional<Birthday> birthdayOf(const Card& card) {
    if (!card.birthday) {
        return std::nullopt;
    }
    const ContentLine& property = *card.birthday;
    if (property.parameter("VALUE").toUpper() == "TEXT") {
        return std::nullopt;
    }
    Birthday birthday;
    switch (readDate(property.value.trimmed(), birthday)) {
    case DateReading::NoDay:
        return std::nullopt;
    case DateReading::Malformed:
        throw Refusal{property.line,
                      QStringLiteral("BDAY \"%1\" is not a date").arg(QString::fromUtf8(property.value))};
    case DateReading::Date:
        break;
    }
    // Apple's contacts write a birthday without year with a placeholder year they name.
    const QByteArray omittedYear = property.parameter("X-APPLE-OMIT-YEAR");
    if (!omittedYear.isNull() && birthday.year && omittedYear.toInt() == *birthday.year) {
        birthday.year.reset();
    }
    birthday.name = card.formattedName.trimmed();
    if (birthday.name.isEmpty() && card.hasStructuredName) {
        birthday.name = nameFromN(card.structuredName);
    }
    birthday.uid = card.uid;
    return birthday;
}

std::vector<Birthday> readBirthdays(ContentLineReader& lines) {
    std::vector<Birthday> birthdays;
    Card card;
    // vCard 2.1 nests cards (AGENT); only the outer card's properties count.
    int depth = 0;
    while (std::optional<ContentLine> next = lines.next()) {
        ContentLine& line = *next;
        if (line.name.isEmpty()) {
            // Lines of other vCard dialects inside a card are not ours to judge.
            if (depth == 0) {
                throw Refusal{line.line, line.problem};
            }
            continue;
        }
        const bool isBegin = line.name == "BEGIN" && line.value.trimmed().toUpper() == "VCARD";
        const bool isEnd = line.name == "END" && line.value.trimmed().toUpper() == "VCARD";
        if (isBegin) {
            if (depth++ == 0) {
                card = Card();
                card.beginLine = line.line;
            }
            continue;
        }
        if (isEnd) {
            if (depth == 0) {
                throw Refusal{line.line, QStringLiteral("END:VCARD without BEGIN:VCARD")};
            }
            if (--depth == 0) {
                if (std::optional<Birthday> birthday = birthdayOf(card)) {
                    birthdays.push_back(std::move(*birthday));
                }
            }
            continue;
        }
        if (depth == 0) {
            throw Refusal{line.line,
                          QStringLiteral("%1 outside of a vCard").arg(QString::fromUtf8(line.name))};
        }
        if (depth > 1) {
            continue;
        }
        if (line.name == "FN" && card.formattedName.isEmpty()) {
            card.formattedName = ContentLineReader::unescapeText(line.value);
        } else if (line.name == "N" && !card.hasStructuredName) {
            card.structuredName = line.value;
            card.hasStructuredName = true;
        } else if (line.name == "BDAY" && !card.birthday) {
            card.birthday = std::move(line);
        } else if (line.name == "UID" && card.uid.isEmpty()) {
            card.uid = ContentLineReader::unescapeText(line.value).trimmed();
        }
    }
    if (!lines.problem().isEmpty()) {
        throw Refusal{lines.problemLine(), lines.problem()};
    }
    if (depth > 0) {
        throw Refusal{card.beginLine, QStringLiteral("BEGIN:VCARD is not closed (END:VCARD is missing)")};
    }
    return birthdays;
}

} // namespace

namespace VCardBirthdays {

std::optional<std::vector<Birthday>> parse(const QByteArray& text, const QString& fileName, QString* error) {
    auto refuse = [&](int line, const QString& problem) -> std::optional<std::vector<Birthday>> {
        if (error) {
            *error = line > 0 ? QStringLiteral("%1:%2: %3").arg(fileName, QString::number(line), problem)
                              : QStringLiteral("%1: %2").arg(fileName, problem);
        }
        return std::nullopt;
    };
    if (auto problem = ContentLineReader::startProblem(text, ContentLineReader::Syntax::VCard)) {
        return refuse(problem->line, std::move(problem->problem));
    }
    ContentLineReader lines(text, ContentLineReader::Syntax::VCard);
    try {
        return readBirthdays(lines);
    } catch (const Refusal& refusal) {
        // A broken limit anywhere in the text is reported before what is wrong in a card.
        lines.skipToEnd();
        if (!lines.problem().isEmpty()) {
            return refuse(lines.problemLine(), lines.problem());
        }
        return refuse(refusal.line, refusal.problem);
    }
}

std::optional<std::vector<Birthday>> parseFile(const QString& path, QString* error) {
    const QString fileName = QFileInfo(path).fileName();
    QString problem;
    const std::optional<QByteArray> text =
        ContentLineReader::readFile(path, ContentLineReader::Syntax::VCard, &problem);
    if (!text) {
        if (error) {
            *error = QStringLiteral("%1: %2").arg(fileName, problem);
        }
        return std::nullopt;
    }
    return parse(*text, fileName, error);
}

} // namespace VCardBirthdays
