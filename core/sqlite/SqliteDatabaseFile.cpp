#include "core/sqlite/SqliteDatabaseFile.h"

#include "core/sqlite/SqliteConnection.h"
#include "core/sqlite/SqliteTransaction.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The database header (https://www.sqlite.org/fileformat.html#the_database_header).
constexpr qsizetype headerSize = 100;

std::uint32_t bigEndian(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

} // namespace

std::optional<QString> SqliteDatabaseFile::problem(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (folder.exists() && !folder.isDir()) {
        return QStringLiteral("its folder %1 is a file, not a folder").arg(folder.filePath());
    }
    if (!file.exists()) {
        return std::nullopt;
    }
    if (file.isDir()) {
        return QStringLiteral("it is a folder");
    }
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        return QStringLiteral("it cannot be read: %1").arg(input.errorString());
    }
    const QByteArray header = input.read(headerSize);
    if (header.isEmpty() && input.size() == 0) {
        return std::nullopt;
    }
    if (header.size() < headerSize || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) {
        return QStringLiteral("it is not an SQLite database");
    }
    const std::uint32_t pageSizeField = bigEndian(header, 16, 2);
    const std::int64_t pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    // The page count in the header holds when the change counter it was written with is current.
    const bool countValid = bigEndian(header, 92, 4) == bigEndian(header, 24, 4);
    const std::int64_t expected = std::int64_t(bigEndian(header, 28, 4)) * pageSize;
    if (countValid && expected > 0 && input.size() < expected) {
        return QStringLiteral("it is cut short (%1 of %2 bytes)").arg(input.size()).arg(expected);
    }
    return std::nullopt;
}

SqliteResult SqliteDatabaseFile::claim(SqliteConnection& connection, std::int32_t applicationId,
                                       const std::function<bool(SqliteConnection&)>& isOwnSchema) {
    if (connection.applicationId() == applicationId) {
        return SqliteResult();
    }
    // IMMEDIATE: two processes creating the database at once mark it once.
    SqliteTransaction transaction(connection);
    if (SqliteResult begun = transaction.begin(); !begun) {
        return begun;
    }
    const std::int32_t found = connection.applicationId();
    if (found == applicationId) {
        return transaction.commit();
    }
    if (found != 0) {
        return SqliteError{QStringLiteral("it belongs to another program (application id %1)").arg(found),
                           QString(), std::source_location::current()};
    }
    if (connection.hasTables() && !isOwnSchema(connection)) {
        return SqliteError{QStringLiteral("it is another program's database"), QString(),
                           std::source_location::current()};
    }
    if (SqliteResult marked = connection.setApplicationId(applicationId); !marked) {
        return marked;
    }
    return transaction.commit();
}
