#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

struct Birthday {
    QString name;
    int month = 0;
    int day = 0;
    std::optional<int> year;
    QString uid;
};

// Reads the birthdays (BDAY) of a vCard file (RFC 6350 vCard 4.0, RFC 2426 vCard 3.0). Cards
// without a usable birthday are skipped; a file that is not vCard, or a birthday that is not a
// date, is refused with "file.vcf:LINE: problem".
namespace VCardBirthdays {

std::optional<std::vector<Birthday>> parse(const QByteArray& text, const QString& fileName, QString* error);
std::optional<std::vector<Birthday>> parseFile(const QString& path, QString* error);

} // namespace VCardBirthdays
