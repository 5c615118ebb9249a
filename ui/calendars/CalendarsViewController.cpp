#include "ui/calendars/CalendarsViewController.h"

#include "core/events/CalendarGroup.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "ui/calendars/CalendarCell.h"

#include <algorithm>

CalendarsViewController::CalendarsViewController(EventService& eventService, TableView::Style style)
    : FollowsPresenterRotation<TableViewController>(style), m_eventService(&eventService) {}

CalendarsViewController::~CalendarsViewController() = default;

void CalendarsViewController::reloadCalendars() {
    std::vector<std::shared_ptr<CalendarGroup>> groups = m_eventService->calendarGroups();
    for (const std::shared_ptr<CalendarGroup>& group : groups) {
        std::erase_if(group->calendars(),
                      [this](const std::shared_ptr<EKCalendar>& calendar) { return !accept(*calendar); });
    }
    std::erase_if(groups,
                  [](const std::shared_ptr<CalendarGroup>& group) { return group->calendars().empty(); });
    m_calendarsByAccount = std::move(groups);
}

std::shared_ptr<EKCalendar> CalendarsViewController::calendarAtIndexPath(const IndexPath& indexPath) const {
    if (indexPath.section() < 0 || indexPath.section() >= static_cast<int>(m_calendarsByAccount.size())) {
        return nullptr;
    }
    const auto& calendars = m_calendarsByAccount[static_cast<std::size_t>(indexPath.section())]->calendars();
    if (indexPath.row() < 0 || indexPath.row() >= static_cast<int>(calendars.size())) {
        return nullptr;
    }
    return calendars[static_cast<std::size_t>(indexPath.row())];
}

int CalendarsViewController::numberOfSectionsInTableView(TableView& /*tableView*/) {
    return static_cast<int>(m_calendarsByAccount.size());
}

int CalendarsViewController::numberOfRowsInSection(TableView& /*tableView*/, int section) {
    if (section < 0 || section >= static_cast<int>(m_calendarsByAccount.size())) {
        return 0;
    }
    return static_cast<int>(m_calendarsByAccount[static_cast<std::size_t>(section)]->calendars().size());
}

std::shared_ptr<TableViewCell> CalendarsViewController::cellForRowAtIndexPath(TableView& /*tableView*/,
                                                                              const IndexPath& indexPath) {
    auto cell = std::make_shared<CalendarCell>(calendarAtIndexPath(indexPath));
    onCreateCell(*cell);
    return cell;
}

QString CalendarsViewController::titleForHeaderInSection(TableView& /*tableView*/, int section) {
    if (section < 0 || section >= static_cast<int>(m_calendarsByAccount.size())) {
        return {};
    }
    return m_calendarsByAccount[static_cast<std::size_t>(section)]->localizedTitle();
}

bool CalendarsViewController::accept(const EKCalendar& /*calendar*/) const {
    return true;
}

void CalendarsViewController::onCreateCell(CalendarCell& /*cell*/) {}
