#include "core/objectstore/KeyedArchive.h"

#include <QtEndian>

#include <bit>
#include <limits>

namespace {

constexpr char magic[] = {'O', 'V', 'K', 'A'};
constexpr char formatVersion = 1;

void appendUInt32(QByteArray& out, std::uint32_t value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendUInt64(QByteArray& out, std::uint64_t value) {
    char bytes[8];
    qToBigEndian(value, bytes);
    out.append(bytes, 8);
}

void appendSized(QByteArray& out, const QByteArray& bytes) {
    appendUInt32(out, static_cast<std::uint32_t>(bytes.size()));
    out.append(bytes);
}

// Reads from the front of the data; every read fails once one has failed.
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    bool atEnd() const { return m_position == m_data.size(); }

    std::optional<QByteArray> take(qsizetype length) {
        if (length < 0 || length > m_data.size() - m_position) {
            return std::nullopt;
        }
        QByteArray bytes = m_data.mid(m_position, length);
        m_position += length;
        return bytes;
    }

    std::optional<std::uint32_t> uint32() {
        const auto bytes = take(4);
        if (!bytes) {
            return std::nullopt;
        }
        return qFromBigEndian<std::uint32_t>(bytes->constData());
    }

    std::optional<std::uint64_t> uint64() {
        const auto bytes = take(8);
        if (!bytes) {
            return std::nullopt;
        }
        return qFromBigEndian<std::uint64_t>(bytes->constData());
    }

    std::optional<QByteArray> sized() {
        const auto length = uint32();
        if (!length) {
            return std::nullopt;
        }
        return take(static_cast<qsizetype>(*length));
    }

private:
    const QByteArray& m_data;
    qsizetype m_position = 0;
};

} // namespace

void KeyedArchive::setInteger(const QString& key, std::int64_t value) {
    m_entries[key] = value;
}

void KeyedArchive::setDouble(const QString& key, double value) {
    m_entries[key] = value;
}

void KeyedArchive::setString(const QString& key, const QString& value) {
    m_entries[key] = value;
}

void KeyedArchive::setBytes(const QString& key, const QByteArray& value) {
    m_entries[key] = value;
}

void KeyedArchive::setArchive(const QString& key, const KeyedArchive& value) {
    m_entries[key] = Nested{value.encoded()};
}

bool KeyedArchive::contains(const QString& key) const {
    return m_entries.contains(key);
}

QStringList KeyedArchive::keys() const {
    QStringList names;
    for (const auto& entry : m_entries) {
        names.append(entry.first);
    }
    return names;
}

std::optional<std::int64_t> KeyedArchive::integer(const QString& key) const {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    if (const auto* value = std::get_if<std::int64_t>(&found->second)) {
        return *value;
    }
    return std::nullopt;
}

std::optional<double> KeyedArchive::real(const QString& key) const {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    if (const auto* value = std::get_if<double>(&found->second)) {
        return *value;
    }
    if (const auto* value = std::get_if<std::int64_t>(&found->second)) {
        return static_cast<double>(*value);
    }
    return std::nullopt;
}

std::optional<QString> KeyedArchive::string(const QString& key) const {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    if (const auto* value = std::get_if<QString>(&found->second)) {
        return *value;
    }
    return std::nullopt;
}

std::optional<QByteArray> KeyedArchive::bytes(const QString& key) const {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    if (const auto* value = std::get_if<QByteArray>(&found->second)) {
        return *value;
    }
    return std::nullopt;
}

std::optional<KeyedArchive> KeyedArchive::archive(const QString& key) const {
    const auto found = m_entries.find(key);
    if (found == m_entries.end()) {
        return std::nullopt;
    }
    if (const auto* value = std::get_if<Nested>(&found->second)) {
        return decode(value->encoded);
    }
    return std::nullopt;
}

QByteArray KeyedArchive::encoded() const {
    QByteArray out;
    out.append(magic, 4);
    out.append(formatVersion);
    appendUInt32(out, static_cast<std::uint32_t>(m_entries.size()));
    for (const auto& [key, entry] : m_entries) {
        appendSized(out, key.toUtf8());
        if (const auto* integer = std::get_if<std::int64_t>(&entry)) {
            out.append('i');
            appendUInt64(out, static_cast<std::uint64_t>(*integer));
        } else if (const auto* real = std::get_if<double>(&entry)) {
            out.append('d');
            appendUInt64(out, std::bit_cast<std::uint64_t>(*real));
        } else if (const auto* text = std::get_if<QString>(&entry)) {
            out.append('s');
            appendSized(out, text->toUtf8());
        } else if (const auto* bytes = std::get_if<QByteArray>(&entry)) {
            out.append('b');
            appendSized(out, *bytes);
        } else {
            out.append('a');
            appendSized(out, std::get<Nested>(entry).encoded);
        }
    }
    return out;
}

std::optional<KeyedArchive> KeyedArchive::decode(const QByteArray& data) {
    Reader reader(data);
    const auto header = reader.take(5);
    if (!header || header->left(4) != QByteArray(magic, 4) || header->at(4) != formatVersion) {
        return std::nullopt;
    }
    const auto count = reader.uint32();
    if (!count) {
        return std::nullopt;
    }
    KeyedArchive archive;
    for (std::uint32_t index = 0; index < *count; ++index) {
        const auto key = reader.sized();
        const auto type = reader.take(1);
        if (!key || !type) {
            return std::nullopt;
        }
        const QString name = QString::fromUtf8(*key);
        if (archive.m_entries.contains(name)) {
            return std::nullopt;
        }
        switch (type->at(0)) {
        case 'i': {
            const auto value = reader.uint64();
            if (!value) {
                return std::nullopt;
            }
            archive.m_entries[name] = static_cast<std::int64_t>(*value);
            break;
        }
        case 'd': {
            const auto value = reader.uint64();
            if (!value) {
                return std::nullopt;
            }
            archive.m_entries[name] = std::bit_cast<double>(*value);
            break;
        }
        case 's':
        case 'b':
        case 'a': {
            const auto value = reader.sized();
            if (!value) {
                return std::nullopt;
            }
            if (type->at(0) == 's') {
                archive.m_entries[name] = QString::fromUtf8(*value);
            } else if (type->at(0) == 'b') {
                archive.m_entries[name] = *value;
            } else {
                if (!decode(*value)) {
                    return std::nullopt;
                }
                archive.m_entries[name] = Nested{*value};
            }
            break;
        }
        default:
            return std::nullopt;
        }
    }
    if (!reader.atEnd()) {
        return std::nullopt;
    }
    return archive;
}
