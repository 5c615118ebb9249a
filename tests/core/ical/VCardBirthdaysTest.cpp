#include "ICalendarTestSupport.h"

#include "core/eventstore/VCardBirthdays.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray lines(const QStringList& textLines) {
    return (textLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// "name month-day[-year] uid" per birthday, or the error.
QString read(const QByteArray& text) {
    QString error;
    const std::optional<std::vector<Birthday>> birthdays =
        VCardBirthdays::parse(text, "contacts.vcf", &error);
    if (!birthdays) {
        return error;
    }
    QStringList described;
    for (const Birthday& birthday : *birthdays) {
        described.append(QStringLiteral("%1 %2-%3%4 %5")
                             .arg(birthday.name)
                             .arg(birthday.month)
                             .arg(birthday.day)
                             .arg(birthday.year ? QStringLiteral("-%1").arg(*birthday.year) : QString())
                             .arg(birthday.uid));
    }
    return described.join(QStringLiteral(" | "));
}

} // namespace

TEST(VCardBirthdaysTest, ReadsTheDateFormsOfBothVersions) {
    const QByteArray text = lines({
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Ada Lovelace",
        "UID:urn:uuid:ada",
        "BDAY:18151210",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:Grace Hopper",
        "BDAY:1906-12-09",
        "UID:grace",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:No Year",
        "BDAY:--0229",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Dashed",
        "BDAY:--03-15",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:With Time",
        "BDAY:1980-05-04T00:00:00Z",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:Apple",
        "BDAY;X-APPLE-OMIT-YEAR=1604:1604-07-01",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:3.0",
        "FN:Grouped",
        "item1.BDAY;VALUE=date:2000-01-31",
        "END:VCARD",
    });
    EXPECT_EQ(read(text),
              "Ada Lovelace 12-10-1815 urn:uuid:ada | Grace Hopper 12-9-1906 grace | No Year 2-29  | "
              "Dashed 3-15  | With Time 5-4-1980  | Apple 7-1  | Grouped 1-31-2000 ");
}

TEST(VCardBirthdaysTest, NamesAndSkippedCards) {
    const QByteArray text = lines({
        // N when FN is missing or empty: prefix, given, additional, family, suffix.
        "BEGIN:VCARD",
        "VERSION:3.0",
        "N:Curie;Marie;Salomea,Skłodowska;Dr.;",
        "BDAY:18671107",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:",
        "N:Doe\\;Smith;Jo;;;",
        "BDAY:19900101",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Escaped\\, Name",
        "BDAY:19900102",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Folded",
        " Name",
        "BDAY:19900103",
        "END:VCARD",
        // Without a birthday, with a text birthday, or with a date that names no day: skipped.
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Nobody",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Text",
        "BDAY;VALUE=text:circa 1800",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Month",
        "BDAY:--12",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Day",
        "BDAY:---28",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Year",
        "BDAY:1980",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:Year and month",
        "BDAY:1980-05",
        "END:VCARD",
        "BEGIN:VCARD",
        "VERSION:4.0",
        "FN:",
        "BDAY:19900104",
        "END:VCARD",
    });
    EXPECT_EQ(read(text),
              QString::fromUtf8("Dr. Marie Salomea Skłodowska Curie 11-7-1867  | Jo Doe;Smith 1-1-1990  | "
                                "Escaped, Name 1-2-1990  | FoldedName 1-3-1990  |  1-4-1990 "));
}

TEST(VCardBirthdaysTest, ToleratesOtherDialectsInsideCards) {
    // vCard 2.1: bare parameter types, quoted-printable soft breaks, a nested AGENT card.
    const QByteArray text = "BEGIN:VCARD\nVERSION:2.1\nN:Smith;John\nTEL;HOME;VOICE:123\n"
                            "NOTE;ENCODING=QUOTED-PRINTABLE:first=\nsecond line\n"
                            "AGENT:\nBEGIN:VCARD\nFN:Agent\nBDAY:19000101\nEND:VCARD\n"
                            "BDAY:19700101\nEND:VCARD\n";
    EXPECT_EQ(read(text), "John Smith 1-1-1970 ");
}

TEST(VCardBirthdaysTest, RefusesWhatIsNotVCard) {
    EXPECT_EQ(read("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"),
              "contacts.vcf:1: not a vCard file (it does not begin with BEGIN:VCARD)");
    EXPECT_EQ(read(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
              "contacts.vcf:1: not a vCard file (it does not begin with BEGIN:VCARD)");
    EXPECT_EQ(read(""), "contacts.vcf: the file is empty");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "BDAY:19900101", "END:VCARD", "BEGIN:VCARD", "FN:B"})),
              "contacts.vcf:5: BEGIN:VCARD is not closed (END:VCARD is missing)");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "END:VCARD", "END:VCARD"})),
              "contacts.vcf:4: END:VCARD without BEGIN:VCARD");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "END:VCARD", "FN:B"})),
              "contacts.vcf:4: FN outside of a vCard");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "END:VCARD", "garbage"})),
              "contacts.vcf:4: expected \":\" after garbage");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "BDAY:yesterday", "END:VCARD"})),
              "contacts.vcf:3: BDAY \"yesterday\" is not a date");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "BDAY:19810229", "END:VCARD"})),
              "contacts.vcf:3: BDAY \"19810229\" is not a date");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "BDAY:--1301", "END:VCARD"})),
              "contacts.vcf:3: BDAY \"--1301\" is not a date");
    EXPECT_EQ(read(lines({"BEGIN:VCARD", "FN:A", "BDAY:--0230", "END:VCARD"})),
              "contacts.vcf:3: BDAY \"--0230\" is not a date");
}

TEST(VCardBirthdaysTest, ReadsFiles) {
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath("Friends.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines({"BEGIN:VCARD", "VERSION:4.0", "FN:Friend", "BDAY:--0704", "END:VCARD"}));
    file.close();
    QString error;
    const auto birthdays = VCardBirthdays::parseFile(path, &error);
    ASSERT_TRUE(birthdays.has_value()) << error.toStdString();
    ASSERT_EQ(birthdays->size(), 1u);
    EXPECT_EQ(birthdays->front().name, "Friend");
    EXPECT_EQ(birthdays->front().month, 7);
    EXPECT_EQ(birthdays->front().day, 4);
    EXPECT_FALSE(birthdays->front().year.has_value());

    EXPECT_FALSE(VCardBirthdays::parseFile(directory.filePath("none.vcf"), &error).has_value());
    EXPECT_EQ(error, "none.vcf: cannot open the file: No such file or directory");
}
