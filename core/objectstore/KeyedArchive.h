#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <variant>

// A set of named values that encodes to bytes, used for the values the object store keeps in
// blobs (colours and other archivable values).
//
// Encoded form (all integers big-endian):
//   4 bytes   magic "OVKA"
//   1 byte    format version, 1
//   4 bytes   number of entries, unsigned
//   per entry, in ascending order of the key's UTF-16 code units:
//     4 bytes   key length in bytes, unsigned, then the key in UTF-8
//     1 byte    type: 'i' integer, 'd' double, 's' text, 'b' bytes, 'a' nested archive
//     payload   'i': 8 bytes two's complement; 'd': the 8 bytes of the IEEE 754 binary64 value;
//               's', 'b', 'a': 4 bytes length, unsigned, then the UTF-8 text, the bytes or
//               the nested archive's own encoded form
// Decoding refuses anything else: another magic or version, an unknown type, a length running
// past the end, trailing bytes, or a key given twice.
class KeyedArchive {
public:
    void setInteger(const QString& key, std::int64_t value);
    void setDouble(const QString& key, double value);
    void setString(const QString& key, const QString& value);
    void setBytes(const QString& key, const QByteArray& value);
    void setArchive(const QString& key, const KeyedArchive& value);

    bool contains(const QString& key) const;
    QStringList keys() const;
    std::optional<std::int64_t> integer(const QString& key) const;
    // An integer entry reads as a double too.
    std::optional<double> real(const QString& key) const;
    std::optional<QString> string(const QString& key) const;
    std::optional<QByteArray> bytes(const QString& key) const;
    std::optional<KeyedArchive> archive(const QString& key) const;

    QByteArray encoded() const;
    static std::optional<KeyedArchive> decode(const QByteArray& data);

    bool operator==(const KeyedArchive&) const = default;

private:
    struct Nested {
        QByteArray encoded;
        bool operator==(const Nested&) const = default;
    };
    using Entry = std::variant<std::int64_t, double, QString, QByteArray, Nested>;

    std::map<QString, Entry> m_entries;
};
