#include "core/calendar/WeekInMonth.h"

QString WeekInMonth::description() const {
    return QStringLiteral("%1 in %2").arg(m_week.description(), m_month.description());
}
