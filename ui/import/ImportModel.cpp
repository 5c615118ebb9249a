#include "ui/import/ImportModel.h"

#include "core/calendar/DateTimeFormatter.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEventStore.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

ImportModel::ImportModel(QString path, ICalendarParseResult parsed, EventService& eventService,
                         AppSettings& appSettings)
    : m_path(std::move(path)), m_parsed(std::move(parsed)), m_eventService(&eventService) {
    // Changed occurrences follow their series and share its UID: the series stands for them.
    QSet<QString> listed;
    for (const std::shared_ptr<EKEvent>& event : m_parsed.events) {
        if (listed.contains(event->eventIdentifier())) {
            continue;
        }
        listed.insert(event->eventIdentifier());
        m_rows.push_back(Row{event->startDate(), event->allDay(), event->title()});
    }
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const Row& a, const Row& b) { return a.startDate < b.startDate; });

    for (const std::shared_ptr<EKCalendar>& calendar : eventService.eventStore().calendars()) {
        if (calendar->allowsContentModifications()) {
            m_calendars.push_back(calendar);
        }
    }
    const std::shared_ptr<EKCalendar> defaultCalendar = appSettings.loadDefaultCalendar(eventService);
    const auto found = std::find_if(m_calendars.begin(), m_calendars.end(),
                                    [&defaultCalendar](const std::shared_ptr<EKCalendar>& calendar) {
                                        return defaultCalendar && calendar->isEqual(*defaultCalendar);
                                    });
    if (found != m_calendars.end()) {
        m_selectedCalendarIndex = static_cast<int>(found - m_calendars.begin());
    } else if (!m_calendars.empty()) {
        m_selectedCalendarIndex = 0;
    }
}

QString ImportModel::fileName() const {
    return QFileInfo(m_path).fileName();
}

QString ImportModel::whenText(const Row& row) {
    DateTimeFormatter& formatter = DateTimeFormatter::instance();
    return QStringLiteral("%1, %2").arg(formatter.formatMediumDate(row.startDate),
                                        row.allDay ? localizedString(QStringLiteral("all-day"))
                                                   : formatter.formatTime(row.startDate));
}

QString ImportModel::problemsText() const {
    QStringList lines;
    if (unreadableCount() > 0) {
        lines.append(
            unreadableCount() == 1
                ? localizedString(QStringLiteral("1 event cannot be read:"))
                : localizedString(QStringLiteral("%1 events cannot be read:")).arg(unreadableCount()));
    }
    // Each problem names its line; the file's name is the section's title already.
    const auto describe = [](const ICalendarError& error) {
        return error.line > 0 ? QStringLiteral("line %1: %2").arg(error.line).arg(error.problem)
                              : error.problem;
    };
    int shown = 0;
    int left = 0;
    for (const std::vector<ICalendarError>* problems : {&m_parsed.skipped, &m_parsed.warnings}) {
        for (const ICalendarError& error : *problems) {
            if (shown < maximumProblemLines) {
                lines.append(describe(error));
                ++shown;
            } else {
                ++left;
            }
        }
    }
    if (left > 0) {
        lines.append(localizedString(QStringLiteral("and %1 more")).arg(left));
    }
    return lines.join(QLatin1Char('\n'));
}

std::shared_ptr<EKCalendar> ImportModel::selectedCalendar() const {
    if (m_selectedCalendarIndex < 0 || m_selectedCalendarIndex >= static_cast<int>(m_calendars.size())) {
        return nullptr;
    }
    return m_calendars[static_cast<std::size_t>(m_selectedCalendarIndex)];
}

void ImportModel::selectCalendar(int index) {
    if (index >= 0 && index < static_cast<int>(m_calendars.size())) {
        m_selectedCalendarIndex = index;
    }
}

ICalendarImportResult ImportModel::importEvents() {
    return ICalendarImporter().importRead(m_parsed, selectedCalendar(), m_eventService->eventStore());
}

std::optional<Date> ImportModel::firstStartDate() const {
    if (m_rows.empty()) {
        return std::nullopt;
    }
    return m_rows.front().startDate;
}
