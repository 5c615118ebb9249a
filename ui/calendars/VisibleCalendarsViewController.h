#pragma once

#include "ui/calendars/CalendarsViewController.h"
#include "ui/calendars/EditCalendarViewControllerDelegate.h"

#include <memory>
#include <vector>

class AppSettings;
class BarButtonItem;
class ViewController;

// The calendar list opened from the week screen's actions menu: a row per calendar, checked
// while it is shown and faded while hidden; a tap shows or hides it at once. In edit mode every
// account that takes new calendars gains an "Add Calendar..." row, and a tap on a calendar opens
// its form.
//
// To open it from another screen:
//     VisibleCalendarsViewController::presentFrom(presenter);
// which makes the screen, puts it in a new navigation controller and presents that modally
// (animated). "Done" announces the store change and dismisses it.
class VisibleCalendarsViewController : public CalendarsViewController,
                                       public EditCalendarViewControllerDelegate {
public:
    // The shared event service and settings.
    static std::shared_ptr<VisibleCalendarsViewController> create();
    // Makes the screen and presents it modally inside a navigation controller; returns the screen.
    static std::shared_ptr<VisibleCalendarsViewController> presentFrom(ViewController& presenter);

    VisibleCalendarsViewController(EventService& eventService, AppSettings& appSettings);
    ~VisibleCalendarsViewController() override;

    const std::shared_ptr<BarButtonItem>& doneButtonItem() const { return m_doneButtonItem; }
    // None on the oldest devices.
    const std::shared_ptr<BarButtonItem>& editButtonItem() const { return m_editButtonItem; }
    const std::vector<std::shared_ptr<EKCalendar>>& hiddenCalendars() const { return m_hiddenCalendars; }

    // Announces a store change and closes the screen.
    void done();
    // The colours of every listed calendar.
    std::vector<Color> gatherTakenColors() const;
    // Reloads the groups and the table after the form saved or deleted a calendar.
    void calendarsChanged() override;

    void setEditing(bool editing, bool animated) override;

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;
    TableViewCell::EditingStyle editingStyleForRowAtIndexPath(TableView& tableView,
                                                              const IndexPath& indexPath) override;
    bool shouldIndentWhileEditingRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

protected:
    void viewDidLoad() override;
    void onCreateCell(CalendarCell& cell) override;
    // A calendar was shown or hidden; nothing here (the tablet layout follows it).
    virtual void onShowOrHideCalendar();
    // The edit button, made on first use; none on the oldest devices.
    std::shared_ptr<BarButtonItem> determineEditButtonItem();
    // The bar's buttons: the edit button on the left, "Done" on the right.
    virtual std::shared_ptr<BarButtonItem> getLeftBarButtonItem();
    virtual std::shared_ptr<BarButtonItem> getRightBarButtonItem();
    // In edit mode the edit button reads "Done" and the right button goes; back out, both return.
    virtual void configureBarButtonItemsForEditing(bool editing, bool animated);

private:
    bool isHidden(const EKCalendar& calendar) const;
    void toggleVisibility(const std::shared_ptr<EKCalendar>& calendar, const IndexPath& indexPath);
    void openForm(const std::shared_ptr<EKCalendar>& calendar, bool editMode, bool deleteEnabled);
    void addCalendarInGroup(int section);
    std::vector<IndexPath> addCalendarRows() const;
    void toggleEditing();
    void explainEditingUnavailable();

    AppSettings* m_appSettings;
    std::shared_ptr<BarButtonItem> m_doneButtonItem;
    std::shared_ptr<BarButtonItem> m_editButtonItem;
    std::vector<std::shared_ptr<EKCalendar>> m_hiddenCalendars;
};
