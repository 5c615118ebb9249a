#include "kit/IndexPath.h"

QString IndexPath::toString() const {
    return QStringLiteral("%1.%2").arg(m_section).arg(m_row);
}
