#include "ui/eventkit/EventDatesViewController.h"
#include "ui/common/WeakScreenAction.h"

#include "foundation/Localization.h"
#include "kit/BarButtonItem.h"
#include "kit/DatePicker.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "ui/eventkit/EventDateText.h"

namespace {

std::shared_ptr<TableViewCell> makeDateCell(const QString& caption) {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1);
    cell->textLabel().setText(caption);
    cell->textLabel().setFont(Font::boldSystemFontOfSize(15));
    cell->detailTextLabel().setFont(Font::systemFontOfSize(15));
    return cell;
}

} // namespace

EventDatesViewController::EventDatesViewController(Date start, Date end, bool allDay, Row editing)
    : TableViewController(TableView::Style::Grouped), m_start(start), m_end(end), m_allDay(allDay),
      m_editing(editing) {
    setTitle(localizedString(QStringLiteral("Start & End")));
}

std::weak_ptr<EventDatesViewController> EventDatesViewController::weakSelf() {
    return std::static_pointer_cast<EventDatesViewController>(shared_from_this());
}

void EventDatesViewController::viewDidLoad() {
    const std::weak_ptr<EventDatesViewController> weakSelf = this->weakSelf();
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel, weakScreenAction(weakSelf, &EventDatesViewController::cancel)));
    navigationItem()->setRightBarButtonItem(
        std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Done")), BarButtonItem::Style::Done,
                                        weakScreenAction(weakSelf, &EventDatesViewController::done)));
    m_startsCell = makeDateCell(localizedString(QStringLiteral("Starts")));
    m_endsCell = makeDateCell(localizedString(QStringLiteral("Ends")));
    // Two rows need no scrolling, and a table that scrolled would take the wheels' drags.
    tableView()->setScrollEnabled(false);
    m_datePicker = std::make_shared<DatePicker>();
    m_datePicker->setDatePickerMode(m_allDay ? DatePicker::Mode::Date : DatePicker::Mode::DateAndTime);
    m_datePicker->setMinuteInterval(5);
    m_datePicker->onValueChanged = weakScreenAction(weakSelf, &EventDatesViewController::pickerChanged);
    view()->addSubview(m_datePicker);
    edit(m_editing);
}

void EventDatesViewController::viewWillAppear(bool animated) {
    TableViewController::viewWillAppear(animated);
    // The wheels rest at the bottom of the screen, under the rows.
    m_datePicker->setFrameY(view()->bounds().height() - DatePicker::pickerHeight);
    markEditedRow();
}

void EventDatesViewController::edit(Row row) {
    m_editing = row;
    if (m_datePicker) {
        m_datePicker->setDate(row == Row::Starts ? m_start : m_end, true);
    }
    markEditedRow();
}

void EventDatesViewController::markEditedRow() {
    if (!m_startsCell) {
        return;
    }
    m_startsCell->detailTextLabel().setText(EventDateText::display(m_start, m_allDay));
    m_endsCell->detailTextLabel().setText(EventDateText::display(m_end, m_allDay));
    if (const auto table = tableView()) {
        table->reloadData();
        table->selectRowAtIndexPath(IndexPath(m_editing == Row::Starts ? 0 : 1, 0), false,
                                    TableView::ScrollPosition::None);
    }
}

void EventDatesViewController::pickerChanged() {
    const Date picked = m_datePicker->date();
    if (m_editing == Row::Starts) {
        // The end moves with the start, keeping the length (an end already before the start stays).
        const double length = m_end.timeIntervalSinceDate(m_start);
        if (length >= 0) {
            m_end = picked.addingTimeInterval(length);
        }
        m_start = picked;
    } else {
        m_end = picked;
    }
    markEditedRow();
}

void EventDatesViewController::done() {
    if (onDone) {
        onDone(m_start, m_end);
    }
    goBack();
}

void EventDatesViewController::cancel() {
    goBack();
}

void EventDatesViewController::goBack() {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}

int EventDatesViewController::numberOfRowsInSection(TableView&, int) {
    return 2;
}

std::shared_ptr<TableViewCell> EventDatesViewController::cellForRowAtIndexPath(TableView&,
                                                                               const IndexPath& indexPath) {
    return indexPath.row() == 0 ? m_startsCell : m_endsCell;
}

void EventDatesViewController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    edit(indexPath.row() == 0 ? Row::Starts : Row::Ends);
}
