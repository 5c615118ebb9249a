#include "core/events/CalendarGroup.h"

#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKSource.h"
#include "foundation/Localization.h"

#include <algorithm>

CalendarGroup::CalendarGroup(QString title, QString sortString, std::shared_ptr<const EKSource> source)
    : m_title(std::move(title)), m_sortString(std::move(sortString)), m_source(std::move(source)) {}

QString CalendarGroup::localizedTitle() const {
    if (m_title == QLatin1String("Other")) {
        return localizedString(QStringLiteral("Other"));
    }
    if (m_title == QLatin1String("Subscribed Calendars")) {
        return localizedString(QStringLiteral("Subscribed Calendars"));
    }
    if (m_title == QLatin1String("Default")) {
        return localizedString(QStringLiteral("On My iPhone"));
    }
    return m_title;
}

void CalendarGroup::sortCalendarsOnTitle() {
    std::stable_sort(m_calendars.begin(), m_calendars.end(),
                     [](const std::shared_ptr<EKCalendar>& a, const std::shared_ptr<EKCalendar>& b) {
                         return QString::compare(a->title(), b->title(), Qt::CaseSensitive) < 0;
                     });
}

bool CalendarGroup::isAddCalendarEnabled() const {
    if (!m_source) {
        return false;
    }
    switch (m_source->sourceType()) {
    case EKSourceType::Local:
    case EKSourceType::CalDAV:
    case EKSourceType::MobileMe:
        return true;
    default:
        return false;
    }
}
