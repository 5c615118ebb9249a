#pragma once

#include "kit/TableViewController.h"
#include "ui/common/PresenterRotation.h"

#include <memory>
#include <vector>

class CalendarCell;
class CalendarGroup;
class EKCalendar;
class EventService;

// The base of the calendar screens: a grouped table of calendars, one section per account in the
// order of EventService::calendarGroups, headed by the account's localized title. Subclasses
// choose the calendars they list (`accept`) and dress the rows (`onCreateCell`).
//
// Subclasses load the groups with reloadCalendars once they are constructed (their hooks are
// not yet in place in this constructor). Make every screen with std::make_shared.
// It turns as the week screen it was opened from does.
class CalendarsViewController : public FollowsPresenterRotation<TableViewController> {
public:
    explicit CalendarsViewController(EventService& eventService,
                                     TableView::Style style = TableView::Style::Grouped);
    ~CalendarsViewController() override;

    // Reads the groups again from the store, keeping the calendars `accept` takes and dropping
    // groups left empty. Does not reload the table.
    void reloadCalendars();
    const std::vector<std::shared_ptr<CalendarGroup>>& calendarsByAccount() const {
        return m_calendarsByAccount;
    }
    // Null for a row past the group's calendars (such as an "Add Calendar..." row).
    std::shared_ptr<EKCalendar> calendarAtIndexPath(const IndexPath& indexPath) const;

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    QString titleForHeaderInSection(TableView& tableView, int section) override;

protected:
    EventService& eventService() const { return *m_eventService; }
    // Whether to list the calendar; all of them by default.
    virtual bool accept(const EKCalendar& calendar) const;
    // Called for every row made for a calendar; nothing by default.
    virtual void onCreateCell(CalendarCell& cell);

private:
    EventService* m_eventService;
    std::vector<std::shared_ptr<CalendarGroup>> m_calendarsByAccount;
};
