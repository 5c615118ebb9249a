#include "ui/calendars/InvisibleCalendarAlertView.h"

#include "foundation/Localization.h"

InvisibleCalendarAlertView::InvisibleCalendarAlertView(std::shared_ptr<EKCalendar> calendar,
                                                       const std::shared_ptr<AlertViewDelegate>& delegate)
    : AlertView(localizedString(QStringLiteral("Calendar is hidden")),
                localizedString(QStringLiteral("Making it default will make it visible. Continue?")),
                delegate, localizedString(QStringLiteral("No")), {localizedString(QStringLiteral("Yes"))}),
      m_calendar(std::move(calendar)) {}
