#pragma once

#include "core/eventstore/EKEventStore.h"
#include "core/eventstore/EKRecurrenceRule.h"
#include "kit/ActionSheetDelegate.h"
#include "kit/TableViewController.h"
#include "ui/editing/RecurringEventActionSheet.h"
#include "ui/eventkit/EKEventEditViewDelegate.h"
#include "ui/eventkit/EventDatesViewController.h"

#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class BarButtonItem;
class ChangedElsewhereCheck;
class EKCalendar;
class EKEvent;
class Switch;
class TextField;

// The form of the full event editor: title and location; all-day, start and end; repetition
// and its end; two alerts; the calendar (writable ones); URL and notes; and "Delete Event" for
// an event already in the store. Start and end are set on date wheels of their own screen. Nothing
// touches the event until the store has taken the change: "Done" checks the form (an end before
// the start, or an unreadable end of repetition, is refused with a message), asks for the span when a
// repeating event changes, writes, and only then reports. A repetition the list cannot express stays as it
// is, shown in words, unless another is chosen.
class EventEditFormController : public TableViewController, public ActionSheetDelegate {
public:
    enum class FormRow {
        Title,
        Location,
        AllDay,
        Starts,
        Ends,
        Repeat,
        EndRepeat,
        Alert,
        SecondAlert,
        Calendar,
        Url,
        Notes,
        Delete
    };
    enum class RepeatChoice { Never, Daily, Weekly, Biweekly, Monthly, Yearly, Kept };

    explicit EventEditFormController(EKEventStore& eventStore);
    ~EventEditFormController() override;

    void setEvent(std::shared_ptr<EKEvent> event);
    const std::shared_ptr<EKEvent>& event() const { return m_event; }

    // The rows as shown now, by section.
    std::vector<std::vector<FormRow>> sections() const;
    // The row's view (made when the view loads).
    std::shared_ptr<TableViewCell> cellForRow(FormRow row) const;
    TextField& field(FormRow row) const;
    Switch& allDaySwitch() const { return *m_allDaySwitch; }
    const std::shared_ptr<BarButtonItem>& doneButtonItem() const { return m_doneButtonItem; }
    // The detail text of a value row (repeat, alerts, calendar).
    QString valueText(FormRow row) const;
    // The options a value row offers, as its list shows them, and the one chosen.
    QStringList optionsForRow(FormRow row) const;
    int chosenOptionForRow(FormRow row) const;
    // Chooses as the row's list does.
    void chooseOption(FormRow row, int index);
    // The span choice or the delete choice while one is shown.
    const std::shared_ptr<RecurringEventActionSheet>& openChoice() const { return m_openChoice; }

    // The bar's buttons and the delete row.
    void cancel();
    void done();
    void deleteEvent();

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    void didDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex) override;

protected:
    void viewDidLoad() override;

private:
    struct CheckedDates {
        Date start;
        Date end;
        std::optional<Date> repeatEnd;
    };

    std::weak_ptr<EventEditFormController> weakSelf();
    void makeCells();
    void fillForm();
    void allDaySwitched();
    void showDates(EventDatesViewController::Row row);
    void setShownDates(Date start, Date end);
    void showOptions(FormRow row);
    void updateValueRows();
    // The dates of the form, or a message saying what is wrong.
    std::optional<CheckedDates> checkDates(QString* message) const;
    bool asksForSpan() const;
    void showChoice(RecurringEventActionSheet::Change change, bool repeating);
    // After "Done" and the check for a change made elsewhere meanwhile.
    void saveOrAskForSpan();
    void save(EKSpan span);
    void remove(EKSpan span);
    void applyForm(EKEvent& event, const CheckedDates& dates) const;
    std::optional<EKRecurrenceRule> chosenRule(const CheckedDates& dates) const;
    std::vector<double> alertOffsets(int slot) const;
    std::vector<std::shared_ptr<EKCalendar>> writableCalendars() const;
    void finish(EKEventEditViewAction action);

    EKEventStore& m_eventStore;
    std::shared_ptr<ChangedElsewhereCheck> m_changedElsewhere;
    std::shared_ptr<EKEvent> m_event;
    bool m_existing = false;
    bool m_wasRepeating = false;
    // The start and end as the form shows them: for an all-day event the first and the last day.
    Date m_shownStart;
    Date m_shownEnd;
    RepeatChoice m_repeatChoice = RepeatChoice::Never;
    std::optional<EKRecurrenceRule> m_keptRule;
    // Offsets in seconds; none is "None".
    std::array<std::optional<double>, 2> m_alerts;
    std::shared_ptr<EKCalendar> m_calendar;
    std::map<FormRow, std::shared_ptr<TableViewCell>> m_cells;
    std::shared_ptr<Switch> m_allDaySwitch;
    std::shared_ptr<BarButtonItem> m_doneButtonItem;
    std::shared_ptr<RecurringEventActionSheet> m_openChoice;
    std::optional<CheckedDates> m_pendingDates;
    bool m_finished = false;
};
