#pragma once

#include "kit/TableViewController.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class EKAlarm;
class EKEvent;
class EKRecurrenceRule;

// The read-only screen of one event, pushed on a navigation stack: a grouped table with the
// title, location and time on top, then the repetition, the calendar with its colour, the
// alerts, the address and the notes, each only when the event has it. With editing allowed,
// an "Edit" button hands the event to `toEditEvent`.
class EKEventViewController : public TableViewController {
public:
    // One row of the table: a label and its value, or, for the summary and the notes, lines
    // of text.
    struct Row {
        enum class Kind { Summary, Value, Calendar, Link, Notes };
        Kind kind;
        QString label;
        QStringList lines;
    };

    EKEventViewController();

    void setEvent(std::shared_ptr<EKEvent> event);
    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    void setAllowsEditing(bool allows);
    bool allowsEditing() const { return m_allowsEditing; }
    void setAllowsCalendarPreview(bool allows) { m_allowsCalendarPreview = allows; }
    bool allowsCalendarPreview() const { return m_allowsCalendarPreview; }

    // Called with the event when the user taps "Edit".
    std::function<void(const std::shared_ptr<EKEvent>&)> toEditEvent;

    // The table's content, one list of rows per section.
    const std::vector<std::vector<Row>>& sections() const { return m_sections; }

    // The time of the event in one or two lines, for all-day and for several days as well.
    static QStringList whenText(const EKEvent& event);
    static QString repeatText(const EKRecurrenceRule& rule);
    // The end of the repetition, or nothing for a rule without end.
    static std::optional<QString> repeatEndText(const EKRecurrenceRule& rule);
    static QString alertText(const EKAlarm& alarm);

    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    std::optional<double> heightForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;

protected:
    void viewDidLoad() override;

private:
    void rebuildSections();
    void updateEditButton();
    const Row& rowAt(const IndexPath& indexPath) const;
    // The width text has inside a grouped row of the table.
    double textWidth();

    std::shared_ptr<EKEvent> m_event;
    bool m_allowsEditing = true;
    bool m_allowsCalendarPreview = true;
    std::vector<std::vector<Row>> m_sections;
};
