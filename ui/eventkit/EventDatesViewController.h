#pragma once

#include "foundation/Date.h"
#include "kit/TableViewController.h"

#include <functional>
#include <memory>

class DatePicker;

// The "Start & End" screen of the full event editor: the start and the end as two rows, the one
// being set marked, and date wheels under them (date and time; dates only for an all-day event,
// whose end is its last day). A tap on a row sets that one. Moving the start takes the end along,
// keeping the event's length. "Done" hands both back; "Cancel" goes back without them.
class EventDatesViewController : public TableViewController {
public:
    enum class Row { Starts, Ends };

    EventDatesViewController(Date start, Date end, bool allDay, Row editing);

    Date start() const { return m_start; }
    Date end() const { return m_end; }
    Row editing() const { return m_editing; }
    // Made when the view loads.
    const std::shared_ptr<DatePicker>& datePicker() const { return m_datePicker; }
    // Marks the row and turns the wheels to its date, as a tap on it does.
    void edit(Row row);

    // The bar's buttons.
    void done();
    void cancel();

    std::function<void(Date start, Date end)> onDone;

    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    void viewWillAppear(bool animated) override;

protected:
    void viewDidLoad() override;

private:
    std::weak_ptr<EventDatesViewController> weakSelf();
    void pickerChanged();
    void markEditedRow();
    void goBack();

    Date m_start;
    Date m_end;
    bool m_allDay;
    Row m_editing;
    std::shared_ptr<DatePicker> m_datePicker;
    std::shared_ptr<TableViewCell> m_startsCell;
    std::shared_ptr<TableViewCell> m_endsCell;
};
