#include "ObjectStoreTestSupport.h"

#include "core/objectstore/ColumnPersistence.h"
#include "core/objectstore/KeyedArchive.h"
#include "foundation/Locale.h"

#include <limits>

namespace {

TEST(KeyedArchiveTest, EveryEntryTypeRoundTrips) {
    KeyedArchive inner;
    inner.setString(QStringLiteral("note"), QStringLiteral("naïve ✓"));
    KeyedArchive archive;
    archive.setInteger(QStringLiteral("min"), std::numeric_limits<std::int64_t>::min());
    archive.setInteger(QStringLiteral("max"), std::numeric_limits<std::int64_t>::max());
    archive.setDouble(QStringLiteral("third"), 1.0 / 3.0);
    archive.setDouble(QStringLiteral("negativeZero"), -0.0);
    archive.setString(QStringLiteral("empty"), QString(""));
    archive.setBytes(QStringLiteral("bytes"), QByteArray("\x00\xff\x10", 3));
    archive.setArchive(QStringLiteral("inner"), inner);

    const auto decoded = KeyedArchive::decode(archive.encoded());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, archive);
    EXPECT_EQ(decoded->integer(QStringLiteral("min")), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(decoded->integer(QStringLiteral("max")), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(decoded->real(QStringLiteral("third")), 1.0 / 3.0);
    EXPECT_TRUE(std::signbit(*decoded->real(QStringLiteral("negativeZero"))));
    EXPECT_EQ(decoded->string(QStringLiteral("empty")), QString(""));
    EXPECT_EQ(decoded->bytes(QStringLiteral("bytes")), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(decoded->archive(QStringLiteral("inner"))->string(QStringLiteral("note")),
              QStringLiteral("naïve ✓"));
    EXPECT_EQ(decoded->keys(),
              (QStringList{"bytes", "empty", "inner", "max", "min", "negativeZero", "third"}));
    // A read of the wrong type or an absent key finds nothing; integers read as doubles.
    EXPECT_FALSE(decoded->integer(QStringLiteral("third")));
    EXPECT_FALSE(decoded->string(QStringLiteral("absent")));
    EXPECT_EQ(decoded->real(QStringLiteral("max")), 9223372036854775807.0);
}

TEST(KeyedArchiveTest, TheEncodedFormIsTheDocumentedOne) {
    KeyedArchive archive;
    archive.setInteger(QStringLiteral("b"), 258);
    archive.setString(QStringLiteral("a"), QStringLiteral("hi"));
    const QByteArray expected = QByteArray("OVKA\x01", 5) + QByteArray("\x00\x00\x00\x02", 4) +
                                QByteArray("\x00\x00\x00\x01"
                                           "a"
                                           "s"
                                           "\x00\x00\x00\x02"
                                           "hi",
                                           12) +
                                QByteArray("\x00\x00\x00\x01"
                                           "b"
                                           "i"
                                           "\x00\x00\x00\x00\x00\x00\x01\x02",
                                           14);
    EXPECT_EQ(archive.encoded().toHex(), expected.toHex());

    KeyedArchive real;
    real.setDouble(QStringLiteral("d"), 1.0);
    EXPECT_EQ(real.encoded().mid(9).toHex(), QByteArray("0000000164643ff0000000000000"));
}

TEST(KeyedArchiveTest, DamagedDataIsRefused) {
    KeyedArchive archive;
    archive.setString(QStringLiteral("key"), QStringLiteral("value"));
    const QByteArray good = archive.encoded();
    ASSERT_TRUE(KeyedArchive::decode(good));

    EXPECT_FALSE(KeyedArchive::decode(QByteArray()));
    EXPECT_FALSE(KeyedArchive::decode(good.left(good.size() - 1))) << "truncated";
    EXPECT_FALSE(KeyedArchive::decode(good + '\0')) << "trailing bytes";
    QByteArray otherMagic = good;
    otherMagic[0] = 'X';
    EXPECT_FALSE(KeyedArchive::decode(otherMagic));
    QByteArray otherVersion = good;
    otherVersion[4] = 2;
    EXPECT_FALSE(KeyedArchive::decode(otherVersion));
    QByteArray unknownType = good;
    unknownType[9 + 4 + 3] = 'z';
    EXPECT_FALSE(KeyedArchive::decode(unknownType));
    QByteArray hugeLength = good;
    hugeLength[9] = '\x7f';
    EXPECT_FALSE(KeyedArchive::decode(hugeLength));
    // The same key twice.
    QByteArray twice = good;
    twice[8] = 2;
    twice += good.mid(9);
    EXPECT_FALSE(KeyedArchive::decode(twice));
}

TEST(KeyedArchiveTest, ColoursAndArchivableValuesBecomeBlobsAndBack) {
    const Color color(0.1, 0.2, 0.3, 0.4);
    const QByteArray blob = ColumnPersistence::colorBlob(color);
    EXPECT_EQ(KeyedArchive::decode(blob)->keys(), QStringList{"UIImage"});
    EXPECT_EQ(ColumnPersistence::colorFromBlob(blob), color);
    EXPECT_FALSE(ColumnPersistence::colorFromBlob(QByteArray("not an archive")));

    Point::registerClass();
    const Point point(-7, 11);
    const QByteArray pointBlob = ColumnPersistence::archivableBlob(point);
    EXPECT_EQ(KeyedArchive::decode(pointBlob)->keys(), QStringList{"Point"});
    const auto decoded =
        std::dynamic_pointer_cast<const Point>(ColumnPersistence::archivableFromBlob(pointBlob));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->x(), -7);
    EXPECT_EQ(decoded->y(), 11);

    KeyedArchive unknown;
    unknown.setArchive(QStringLiteral("NoSuchClass"), KeyedArchive());
    EXPECT_EQ(ColumnPersistence::archivableFromBlob(unknown.encoded()), nullptr);
}

TEST(ColumnPersistenceTest, DatesAreWrittenAsUtcTextWithFourFractionDigits) {
    EXPECT_EQ(ColumnPersistence::dateText(Date::withTimeIntervalSince1970(0.0)), "1970-01-01 00:00:00.0000");
    EXPECT_EQ(ColumnPersistence::dateText(Date::withTimeIntervalSince1970(1'700'000'000.25)),
              "2023-11-14 22:13:20.2500");
    EXPECT_EQ(ColumnPersistence::dateText(Date::withTimeIntervalSince1970(59.99999)),
              "1970-01-01 00:01:00.0000");
    EXPECT_EQ(ColumnPersistence::dateText(Date::withTimeIntervalSince1970(-0.5)), "1969-12-31 23:59:59.5000");
    EXPECT_EQ(
        ColumnPersistence::dateFromText(QStringLiteral("2023-11-14 22:13:20.2500"))->timeIntervalSince1970(),
        1'700'000'000.25);
    EXPECT_EQ(ColumnPersistence::dateFromText(QStringLiteral("1970-01-01 00:00:10"))->timeIntervalSince1970(),
              10.0);
    EXPECT_FALSE(ColumnPersistence::dateFromText(QStringLiteral("yesterday")));
    EXPECT_FALSE(ColumnPersistence::dateFromText(QStringLiteral("1970-01-01 00:00:10.5x")));
}

class NumberTextTest : public testing::Test {
protected:
    void SetUp() override { m_previousLocale = Locale::currentLocaleIdentifier(); }
    void TearDown() override { Locale::setCurrentLocale(m_previousLocale); }

    QString m_previousLocale;
};

TEST_F(NumberTextTest, IntegersAreDigitsOnly) {
    EXPECT_TRUE(ColumnPersistence::holdsIntegerValue(QStringLiteral("0")));
    EXPECT_TRUE(ColumnPersistence::holdsIntegerValue(QStringLiteral(" 42 ")));
    EXPECT_FALSE(ColumnPersistence::holdsIntegerValue(QStringLiteral("-1")));
    EXPECT_FALSE(ColumnPersistence::holdsIntegerValue(QStringLiteral("+1")));
    EXPECT_FALSE(ColumnPersistence::holdsIntegerValue(QStringLiteral("1.0")));
    EXPECT_FALSE(ColumnPersistence::holdsIntegerValue(QStringLiteral("  ")));
    EXPECT_FALSE(ColumnPersistence::holdsIntegerValue(QStringLiteral("12a")));
}

TEST_F(NumberTextTest, FloatingPointNumbersFollowTheLocale) {
    Locale::setCurrentLocale(QStringLiteral("en_US"));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1.5")));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral(" 1,234.5 ")));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("$ 3.25")));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral(".5")));
    EXPECT_FALSE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1")));
    EXPECT_FALSE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1.2.3")));
    EXPECT_FALSE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("-1.5")));
    EXPECT_FALSE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1,5")));

    Locale::setCurrentLocale(QStringLiteral("de_DE"));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1,5")));
    EXPECT_TRUE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1.234,5")));
    EXPECT_FALSE(ColumnPersistence::holdsFloatingPointValue(QStringLiteral("1.5")));
}

} // namespace
