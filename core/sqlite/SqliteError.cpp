#include "core/sqlite/SqliteError.h"

#include <QFileInfo>

QString SqliteError::description() const {
    return QStringLiteral("%1:%2: “%3” failed: %4")
        .arg(QFileInfo(QString::fromUtf8(location.file_name())).fileName(), QString::number(location.line()),
             sql, message);
}
