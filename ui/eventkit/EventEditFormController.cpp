#include "ui/eventkit/EventEditFormController.h"
#include "ui/common/WeakScreenAction.h"

#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/eventstore/StoreError.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/Switch.h"
#include "kit/TextField.h"
#include "kit/Window.h"
#include "ui/common/DotImage.h"
#include "ui/editing/DeleteButtonTableViewCell.h"
#include "ui/editing/TextFieldTableViewCell.h"
#include "ui/eventkit/ChangedElsewhereCheck.h"
#include "ui/eventkit/EKEventEditViewController.h"
#include "ui/eventkit/EKEventViewController.h"
#include "ui/eventkit/EventDateText.h"
#include "ui/eventkit/EventDatesViewController.h"
#include "ui/eventkit/EventEditOptionListController.h"
#include "ui/eventkit/RecurrenceDescription.h"

#include <algorithm>

namespace {

using FormRow = EventEditFormController::FormRow;
using RepeatChoice = EventEditFormController::RepeatChoice;

constexpr double formRowHeight = 44.0;
constexpr double deleteRowHeight = 46.0;
constexpr double captionWidth = 112.0;
constexpr double fieldInset = 10.0;
constexpr double alertMinute = 60.0;
constexpr double alertHour = 3600.0;
constexpr double alertDay = 86400.0;

// The alerts the list offers, as offsets from the start; "None" comes before them.
constexpr std::array<double, 8> standardAlertOffsets{
    0.0,        -5 * alertMinute, -15 * alertMinute, -30 * alertMinute,
    -alertHour, -2 * alertHour,   -alertDay,         -2 * alertDay};

struct SimpleRepetition {
    RepeatChoice choice;
    EKRecurrenceFrequency frequency;
    int interval;
    const char* title;
};
constexpr std::array<SimpleRepetition, 5> simpleRepetitions{{
    {RepeatChoice::Daily, EKRecurrenceFrequency::Daily, 1, localizationKey("Every Day")},
    {RepeatChoice::Weekly, EKRecurrenceFrequency::Weekly, 1, localizationKey("Every Week")},
    {RepeatChoice::Biweekly, EKRecurrenceFrequency::Weekly, 2, localizationKey("Every 2 Weeks")},
    {RepeatChoice::Monthly, EKRecurrenceFrequency::Monthly, 1, localizationKey("Every Month")},
    {RepeatChoice::Yearly, EKRecurrenceFrequency::Yearly, 1, localizationKey("Every Year")},
}};

const SimpleRepetition* simpleRepetition(RepeatChoice choice) {
    const auto found = std::find_if(simpleRepetitions.begin(), simpleRepetitions.end(),
                                    [choice](const SimpleRepetition& each) { return each.choice == choice; });
    return found == simpleRepetitions.end() ? nullptr : &*found;
}

// The list's entry for a rule, or Kept when the list cannot express it: the rule must be one
// the list would make, ending never or on a day.
RepeatChoice repeatChoiceForRule(const EKRecurrenceRule& rule) {
    const auto end = rule.recurrenceEnd();
    if (end && !end->endDate()) {
        return RepeatChoice::Kept;
    }
    for (const SimpleRepetition& each : simpleRepetitions) {
        if (each.frequency == rule.frequency() && each.interval == rule.interval() &&
            EKRecurrenceRule(each.frequency, each.interval, end).rrule() == rule.rrule()) {
            return each.choice;
        }
    }
    return RepeatChoice::Kept;
}

// A row with a caption on the left and a text field filling the rest.
class EventEditLabeledFieldCell : public TableViewCell {
public:
    explicit EventEditLabeledFieldCell(const QString& caption)
        : TableViewCell(Style::Default), m_caption(std::make_shared<Label>()),
          m_field(std::make_shared<TextField>()) {
        setSelectionStyle(SelectionStyle::None);
        m_caption->setText(caption);
        m_caption->setFont(Font::boldSystemFontOfSize(15));
        m_caption->setBackgroundColor(std::nullopt);
        m_field->setFont(Font::systemFontOfSize(17));
        m_field->setTextColor(Color::fromRgb255(50, 79, 133));
        m_field->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
        m_field->setClearButtonMode(TextField::ViewMode::WhileEditing);
        contentView().addSubview(m_caption);
        contentView().addSubview(m_field);
    }

    TextField& field() { return *m_field; }

protected:
    void layoutSubviews() override {
        TableViewCell::layoutSubviews();
        const Rect content = contentView().bounds();
        m_caption->setFrame(Rect(fieldInset, 0, captionWidth - fieldInset, content.height()));
        m_field->setFrame(
            Rect(captionWidth, 0, content.width() - captionWidth - fieldInset, content.height()));
    }

private:
    std::shared_ptr<Label> m_caption;
    std::shared_ptr<TextField> m_field;
};

std::shared_ptr<TableViewCell> makeValueCell(const QString& caption) {
    auto cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1);
    cell->textLabel().setText(caption);
    cell->textLabel().setFont(Font::boldSystemFontOfSize(15));
    cell->detailTextLabel().setFont(Font::systemFontOfSize(15));
    cell->detailTextLabel().setLineBreakMode(LineBreakMode::TailTruncation);
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    return cell;
}

// In the order of FormRow.
constexpr std::array<const char*, 13> rowCaptions{
    localizationKey("Title"),       localizationKey("Location"), localizationKey("All-day"),
    localizationKey("Starts"),      localizationKey("Ends"),     localizationKey("Repeat"),
    localizationKey("End Repeat"),  localizationKey("Alert"),    localizationKey("Second Alert"),
    localizationKey("Calendar"),    localizationKey("URL"),      localizationKey("Notes"),
    localizationKey("Delete Event")};

QString captionForRow(FormRow row) {
    return localizedString(QString::fromLatin1(rowCaptions.at(static_cast<std::size_t>(row))));
}

// A failure or a refused form, told with "OK" only; the form stays as it is.
void showAlert(const QString& titleKey, const QString& message) {
    auto alert = std::make_shared<AlertView>(localizedString(titleKey), message, nullptr,
                                             localizedString(QStringLiteral("OK")));
    alert->show();
}

bool isValueRow(FormRow row) {
    return row == FormRow::Starts || row == FormRow::Ends || row == FormRow::Repeat ||
           row == FormRow::Alert || row == FormRow::SecondAlert || row == FormRow::Calendar;
}

QString alertTitle(std::optional<double> offset) {
    return offset ? EKEventViewController::alertText(EKAlarm::alarmWithRelativeOffset(*offset))
                  : localizedString(QStringLiteral("None"));
}

} // namespace

EventEditFormController::EventEditFormController(EKEventStore& eventStore)
    : TableViewController(TableView::Style::Grouped), m_eventStore(eventStore) {}

EventEditFormController::~EventEditFormController() = default;

std::weak_ptr<EventEditFormController> EventEditFormController::weakSelf() {
    return std::static_pointer_cast<EventEditFormController>(shared_from_this());
}

void EventEditFormController::setEvent(std::shared_ptr<EKEvent> event) {
    m_event = std::move(event);
    m_existing = m_event && !m_event->eventIdentifier().isEmpty();
    m_wasRepeating = m_event && m_event->hasRecurrenceRules();
    m_changedElsewhere = std::make_shared<ChangedElsewhereCheck>(
        m_eventStore, m_existing ? m_event->eventIdentifier() : QString());
    m_finished = false;
    setTitle(localizedString(m_existing ? QStringLiteral("Edit Event") : QStringLiteral("Add Event")));
    if (isViewLoaded()) {
        fillForm();
    }
}

void EventEditFormController::viewDidLoad() {
    const std::weak_ptr<EventEditFormController> weakSelf = this->weakSelf();
    navigationItem()->setLeftBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Cancel, weakScreenAction(weakSelf, &EventEditFormController::cancel)));
    m_doneButtonItem =
        std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Done")), BarButtonItem::Style::Done,
                                        weakScreenAction(weakSelf, &EventEditFormController::done));
    navigationItem()->setRightBarButtonItem(m_doneButtonItem);
    makeCells();
    m_allDaySwitch->onValueChanged = weakScreenAction(weakSelf, &EventEditFormController::allDaySwitched);
    auto& deleteCell = static_cast<DeleteButtonTableViewCell&>(*m_cells.at(FormRow::Delete));
    deleteCell.button().onTouchUpInside = weakScreenAction(weakSelf, &EventEditFormController::deleteEvent);
    fillForm();
}

void EventEditFormController::makeCells() {
    for (FormRow row : {FormRow::Title, FormRow::Location, FormRow::Url, FormRow::Notes}) {
        auto cell = std::make_shared<TextFieldTableViewCell>();
        cell->textField().setPlaceholder(captionForRow(row));
        m_cells[row] = cell;
    }
    field(FormRow::Url).setKeyboardType(TextField::KeyboardType::Url);
    field(FormRow::Title).setAutocapitalizationType(TextField::AutocapitalizationType::Sentences);
    m_cells[FormRow::EndRepeat] =
        std::make_shared<EventEditLabeledFieldCell>(captionForRow(FormRow::EndRepeat));
    field(FormRow::EndRepeat).setKeyboardType(TextField::KeyboardType::NumbersAndPunctuation);
    field(FormRow::EndRepeat).setPlaceholder(localizedString(QStringLiteral("Never")));
    for (FormRow row : {FormRow::Starts, FormRow::Ends, FormRow::Repeat, FormRow::Alert, FormRow::SecondAlert,
                        FormRow::Calendar}) {
        m_cells[row] = makeValueCell(captionForRow(row));
    }
    auto allDay = std::make_shared<TableViewCell>(TableViewCell::Style::Default);
    allDay->setSelectionStyle(TableViewCell::SelectionStyle::None);
    allDay->textLabel().setText(captionForRow(FormRow::AllDay));
    allDay->textLabel().setFont(Font::boldSystemFontOfSize(15));
    m_allDaySwitch = std::make_shared<Switch>();
    allDay->setAccessoryView(m_allDaySwitch);
    m_cells[FormRow::AllDay] = allDay;
    auto deleteCell = std::make_shared<DeleteButtonTableViewCell>();
    deleteCell->button().setTitle(captionForRow(FormRow::Delete));
    m_cells[FormRow::Delete] = deleteCell;
}

TextField& EventEditFormController::field(FormRow row) const {
    const std::shared_ptr<TableViewCell>& cell = m_cells.at(row);
    if (auto* labeled = dynamic_cast<EventEditLabeledFieldCell*>(cell.get())) {
        return labeled->field();
    }
    return static_cast<TextFieldTableViewCell&>(*cell).textField();
}

std::shared_ptr<TableViewCell> EventEditFormController::cellForRow(FormRow row) const {
    const auto found = m_cells.find(row);
    return found == m_cells.end() ? nullptr : found->second;
}

void EventEditFormController::fillForm() {
    if (!m_event || m_cells.empty()) {
        return;
    }
    const EKEvent& event = *m_event;
    field(FormRow::Title).setText(event.title());
    field(FormRow::Location).setText(event.location());
    field(FormRow::Url).setText(event.URL());
    field(FormRow::Notes).setText(event.notes());
    m_allDaySwitch->setOn(event.allDay());
    const bool allDay = event.allDay();
    // An all-day event ends at the beginning of the day after its last day; the form shows that day.
    m_shownStart = allDay ? DateUtilities::day(event.startDate()).beginDateTime() : event.startDate();
    m_shownEnd = allDay
                     ? DateUtilities::day(std::max(event.startDate(), event.endDate().addingTimeInterval(-1)))
                           .beginDateTime()
                     : event.endDate();

    m_keptRule.reset();
    m_repeatChoice = RepeatChoice::Never;
    field(FormRow::EndRepeat).setText(QString());
    if (const auto& rule = event.recurrenceRule()) {
        m_repeatChoice = repeatChoiceForRule(*rule);
        if (m_repeatChoice == RepeatChoice::Kept) {
            m_keptRule = rule;
        } else if (const auto end = rule->recurrenceEnd(); end && end->endDate()) {
            field(FormRow::EndRepeat).setText(EventDateText::format(*end->endDate(), true));
        }
    }
    m_alerts = {};
    for (std::size_t slot = 0; slot < m_alerts.size() && slot < event.alarms().size(); ++slot) {
        m_alerts[slot] = event.alarms()[slot].relativeOffset();
    }
    m_calendar = event.calendar();
    updateValueRows();
}

void EventEditFormController::updateValueRows() {
    for (FormRow row : {FormRow::Starts, FormRow::Ends, FormRow::Repeat, FormRow::Alert, FormRow::SecondAlert,
                        FormRow::Calendar}) {
        m_cells.at(row)->detailTextLabel().setText(valueText(row));
    }
    auto& calendarCell = *m_cells.at(FormRow::Calendar);
    if (m_calendar) {
        calendarCell.imageView().setImage(DotImage::dotImageForColor(m_calendar->color()));
    }
    if (isViewLoaded()) {
        tableView()->reloadData();
    }
}

// The rows.

std::vector<std::vector<FormRow>> EventEditFormController::sections() const {
    std::vector<std::vector<FormRow>> result{{FormRow::Title, FormRow::Location},
                                             {FormRow::AllDay, FormRow::Starts, FormRow::Ends},
                                             {FormRow::Repeat},
                                             {FormRow::Alert},
                                             {FormRow::Calendar},
                                             {FormRow::Url, FormRow::Notes}};
    if (m_repeatChoice != RepeatChoice::Never && m_repeatChoice != RepeatChoice::Kept) {
        result[2].push_back(FormRow::EndRepeat);
    }
    if (m_alerts[0]) {
        result[3].push_back(FormRow::SecondAlert);
    }
    if (m_existing) {
        result.push_back({FormRow::Delete});
    }
    return result;
}

int EventEditFormController::numberOfSectionsInTableView(TableView&) {
    return static_cast<int>(sections().size());
}

int EventEditFormController::numberOfRowsInSection(TableView&, int section) {
    const auto all = sections();
    return section >= 0 && section < static_cast<int>(all.size())
               ? static_cast<int>(all[static_cast<std::size_t>(section)].size())
               : 0;
}

std::shared_ptr<TableViewCell> EventEditFormController::cellForRowAtIndexPath(TableView&,
                                                                              const IndexPath& indexPath) {
    const auto all = sections();
    return m_cells.at(
        all.at(static_cast<std::size_t>(indexPath.section())).at(static_cast<std::size_t>(indexPath.row())));
}

std::optional<double> EventEditFormController::heightForRowAtIndexPath(TableView&,
                                                                       const IndexPath& indexPath) {
    const auto all = sections();
    const FormRow row =
        all.at(static_cast<std::size_t>(indexPath.section())).at(static_cast<std::size_t>(indexPath.row()));
    return row == FormRow::Delete ? deleteRowHeight : formRowHeight;
}

std::optional<IndexPath> EventEditFormController::willSelectRowAtIndexPath(TableView&,
                                                                           const IndexPath& indexPath) {
    const auto all = sections();
    const FormRow row =
        all.at(static_cast<std::size_t>(indexPath.section())).at(static_cast<std::size_t>(indexPath.row()));
    if (isValueRow(row)) {
        return indexPath;
    }
    return std::nullopt;
}

void EventEditFormController::didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    const auto all = sections();
    showOptions(
        all.at(static_cast<std::size_t>(indexPath.section())).at(static_cast<std::size_t>(indexPath.row())));
}

// The value rows and their lists.

QStringList EventEditFormController::optionsForRow(FormRow row) const {
    QStringList options;
    if (row == FormRow::Repeat) {
        options.append(localizedString(QStringLiteral("Never")));
        for (const SimpleRepetition& each : simpleRepetitions) {
            options.append(localizedString(QString::fromLatin1(each.title)));
        }
        if (m_keptRule) {
            options.append(RecurrenceDescription::describe(*m_keptRule));
        }
    } else if (row == FormRow::Alert || row == FormRow::SecondAlert) {
        options.append(alertTitle(std::nullopt));
        for (double offset : alertOffsets(row == FormRow::Alert ? 0 : 1)) {
            options.append(alertTitle(offset));
        }
    } else if (row == FormRow::Calendar) {
        for (const auto& calendar : writableCalendars()) {
            options.append(calendar->title());
        }
    }
    return options;
}

// The standard offsets, and the slot's own offset after them when the list lacks it.
std::vector<double> EventEditFormController::alertOffsets(int slot) const {
    std::vector<double> offsets(standardAlertOffsets.begin(), standardAlertOffsets.end());
    const std::optional<double> own = m_alerts[static_cast<std::size_t>(slot)];
    if (own && std::find(offsets.begin(), offsets.end(), *own) == offsets.end()) {
        offsets.push_back(*own);
    }
    return offsets;
}

std::vector<std::shared_ptr<EKCalendar>> EventEditFormController::writableCalendars() const {
    std::vector<std::shared_ptr<EKCalendar>> writable;
    for (const auto& calendar : m_eventStore.calendars()) {
        if (calendar->allowsContentModifications()) {
            writable.push_back(calendar);
        }
    }
    return writable;
}

int EventEditFormController::chosenOptionForRow(FormRow row) const {
    if (row == FormRow::Repeat) {
        if (m_repeatChoice == RepeatChoice::Kept) {
            return static_cast<int>(simpleRepetitions.size()) + 1;
        }
        return m_repeatChoice == RepeatChoice::Never
                   ? 0
                   : 1 + static_cast<int>(simpleRepetition(m_repeatChoice) - simpleRepetitions.data());
    }
    if (row == FormRow::Alert || row == FormRow::SecondAlert) {
        const int slot = row == FormRow::Alert ? 0 : 1;
        const std::optional<double> own = m_alerts[static_cast<std::size_t>(slot)];
        if (!own) {
            return 0;
        }
        const std::vector<double> offsets = alertOffsets(slot);
        return 1 + static_cast<int>(std::find(offsets.begin(), offsets.end(), *own) - offsets.begin());
    }
    if (row == FormRow::Calendar) {
        const auto calendars = writableCalendars();
        for (std::size_t index = 0; index < calendars.size(); ++index) {
            if (m_calendar && calendars[index]->isEqual(*m_calendar)) {
                return static_cast<int>(index);
            }
        }
    }
    return -1;
}

QString EventEditFormController::valueText(FormRow row) const {
    if (row == FormRow::Starts || row == FormRow::Ends) {
        return EventDateText::display(row == FormRow::Starts ? m_shownStart : m_shownEnd,
                                      m_allDaySwitch->on());
    }
    if (row == FormRow::Calendar) {
        return m_calendar ? m_calendar->title() : QString();
    }
    return optionsForRow(row).value(chosenOptionForRow(row));
}

void EventEditFormController::chooseOption(FormRow row, int index) {
    if (row == FormRow::Repeat) {
        if (index == 0) {
            m_repeatChoice = RepeatChoice::Never;
        } else if (index <= static_cast<int>(simpleRepetitions.size())) {
            m_repeatChoice = simpleRepetitions[static_cast<std::size_t>(index - 1)].choice;
        } else if (m_keptRule) {
            m_repeatChoice = RepeatChoice::Kept;
        }
    } else if (row == FormRow::Alert || row == FormRow::SecondAlert) {
        const int slot = row == FormRow::Alert ? 0 : 1;
        const std::vector<double> offsets = alertOffsets(slot);
        m_alerts[static_cast<std::size_t>(slot)] =
            index <= 0 || index > static_cast<int>(offsets.size())
                ? std::nullopt
                : std::optional<double>(offsets[static_cast<std::size_t>(index - 1)]);
        if (!m_alerts[0]) {
            // The second alert moves up when the first is removed.
            m_alerts[0] = m_alerts[1];
            m_alerts[1].reset();
        }
    } else if (row == FormRow::Calendar) {
        const auto calendars = writableCalendars();
        if (index >= 0 && index < static_cast<int>(calendars.size())) {
            m_calendar = calendars[static_cast<std::size_t>(index)];
        }
    }
    updateValueRows();
}

void EventEditFormController::showOptions(FormRow row) {
    // The list takes the whole screen: typing ends first, so that the keyboard goes with it.
    if (Window* window = view()->window(); window && window->firstResponder()) {
        window->firstResponder()->resignFirstResponder();
    }
    if (row == FormRow::Starts || row == FormRow::Ends) {
        showDates(row == FormRow::Starts ? EventDatesViewController::Row::Starts
                                         : EventDatesViewController::Row::Ends);
        return;
    }
    auto list = std::make_shared<EventEditOptionListController>(captionForRow(row), optionsForRow(row),
                                                                chosenOptionForRow(row));
    const std::weak_ptr<EventEditFormController> weakSelf = this->weakSelf();
    list->onChosen = [weakSelf, row](int index) {
        if (auto self = weakSelf.lock()) {
            self->chooseOption(row, index);
        }
    };
    if (auto navigation = navigationController()) {
        navigation->pushViewController(list, true);
    }
}

void EventEditFormController::showDates(EventDatesViewController::Row row) {
    auto dates =
        std::make_shared<EventDatesViewController>(m_shownStart, m_shownEnd, m_allDaySwitch->on(), row);
    const std::weak_ptr<EventEditFormController> weakSelf = this->weakSelf();
    dates->onDone = [weakSelf](Date start, Date end) {
        if (auto self = weakSelf.lock()) {
            self->setShownDates(start, end);
        }
    };
    if (auto navigation = navigationController()) {
        navigation->pushViewController(dates, true);
    }
}

void EventEditFormController::setShownDates(Date start, Date end) {
    m_shownStart = start;
    m_shownEnd = end;
    updateValueRows();
}

void EventEditFormController::allDaySwitched() {
    // Days are kept at their beginning; back to times, they start from there.
    if (m_allDaySwitch->on()) {
        m_shownStart = DateUtilities::day(m_shownStart).beginDateTime();
        m_shownEnd = DateUtilities::day(m_shownEnd).beginDateTime();
    }
    updateValueRows();
}

// Checking and saving.

std::optional<EventEditFormController::CheckedDates>
EventEditFormController::checkDates(QString* message) const {
    const bool allDay = m_allDaySwitch->on();
    const Date start = m_shownStart;
    const Date end = m_shownEnd;
    if (end < start) {
        *message = localizedString(QStringLiteral("The event cannot end before it starts."));
        return std::nullopt;
    }
    CheckedDates dates{start, allDay ? DateUtilities::addDays(end, 1) : end, std::nullopt};
    const QString repeatEnd = field(FormRow::EndRepeat).text().trimmed();
    if (simpleRepetition(m_repeatChoice) && !repeatEnd.isEmpty()) {
        dates.repeatEnd = EventDateText::parse(repeatEnd, true);
        if (!dates.repeatEnd) {
            *message =
                localizedString(QStringLiteral("Enter the end of the repetition as %@, or leave it empty."))
                    .replace(QStringLiteral("%@"), QStringLiteral("2026-12-31"));
            return std::nullopt;
        }
        if (DateUtilities::endOfDay(*dates.repeatEnd) < start) {
            *message = localizedString(QStringLiteral("The repetition cannot end before the event starts."));
            return std::nullopt;
        }
    }
    return dates;
}

bool EventEditFormController::asksForSpan() const {
    return m_existing && m_wasRepeating;
}

void EventEditFormController::done() {
    if (m_finished || !m_event) {
        return;
    }
    QString message;
    m_pendingDates = checkDates(&message);
    if (!m_pendingDates) {
        showAlert(localizationKey("Cannot Save Event"), message);
        return;
    }
    const std::weak_ptr<EventEditFormController> weak = weakSelf();
    m_changedElsewhere->confirmSave(weakScreenAction(weak, &EventEditFormController::saveOrAskForSpan),
                                    weakScreenAction(weak, &EventEditFormController::cancel));
}

void EventEditFormController::saveOrAskForSpan() {
    if (asksForSpan()) {
        showChoice(RecurringEventActionSheet::Change::Save, true);
    } else {
        save(EKSpan::ThisEvent);
    }
}

void EventEditFormController::showChoice(RecurringEventActionSheet::Change change, bool repeating) {
    m_openChoice = std::make_shared<RecurringEventActionSheet>(change, repeating);
    m_openChoice->setDelegate(weakSelf());
    m_openChoice->showInView(*view());
}

std::optional<EKRecurrenceRule> EventEditFormController::chosenRule(const CheckedDates& dates) const {
    if (m_repeatChoice == RepeatChoice::Kept) {
        return m_keptRule;
    }
    const SimpleRepetition* simple = simpleRepetition(m_repeatChoice);
    if (!simple) {
        return std::nullopt;
    }
    std::optional<EKRecurrenceEnd> end;
    if (dates.repeatEnd) {
        end = EKRecurrenceEnd::recurrenceEndWithEndDate(DateUtilities::endOfDay(*dates.repeatEnd));
    }
    return EKRecurrenceRule(simple->frequency, simple->interval, end);
}

void EventEditFormController::applyForm(EKEvent& event, const CheckedDates& dates) const {
    event.setTitle(field(FormRow::Title).text().trimmed());
    event.setLocation(field(FormRow::Location).text().trimmed());
    event.setURL(field(FormRow::Url).text().trimmed());
    event.setNotes(field(FormRow::Notes).text());
    event.setAllDay(m_allDaySwitch->on());
    event.setStartDate(dates.start);
    event.setEndDate(dates.end);
    if (m_calendar) {
        event.setCalendar(m_calendar);
    }
    std::vector<double> offsets;
    for (const std::optional<double>& offset : m_alerts) {
        if (offset) {
            offsets.push_back(*offset);
        }
    }
    event.setAlarmOffsets(offsets);
    const std::optional<EKRecurrenceRule> rule = chosenRule(dates);
    if (rule != event.recurrenceRule()) {
        event.setRecurrenceRule(rule);
    }
}

void EventEditFormController::save(EKSpan span) {
    if (!m_pendingDates) {
        return;
    }
    std::shared_ptr<EKEvent> draft = m_event->copy();
    applyForm(*draft, *m_pendingDates);
    StoreError error;
    if (!m_eventStore.saveEvent(draft, span, &error)) {
        showAlert(QStringLiteral("Error saving event"), error.localizedDescription);
        return;
    }
    *m_event = *draft;
    finish(EKEventEditViewAction::Saved);
}

// Deleting.

void EventEditFormController::deleteEvent() {
    if (m_finished || !m_existing) {
        return;
    }
    showChoice(RecurringEventActionSheet::Change::Delete, m_event->hasRecurrenceRules());
}

void EventEditFormController::remove(EKSpan span) {
    StoreError error;
    if (!m_eventStore.removeEvent(m_event, span, &error, EKUndo::Kept)) {
        showAlert(QStringLiteral("Error deleting event"), error.localizedDescription);
        return;
    }
    finish(EKEventEditViewAction::Deleted);
}

void EventEditFormController::didDismissWithButtonIndex(ActionSheet& actionSheet, int buttonIndex) {
    if (&actionSheet != m_openChoice.get()) {
        return;
    }
    // Acted on once the sheet is gone: finishing may end this screen, which should not happen
    // under a sheet still on its way out.
    const std::optional<EKSpan> span = m_openChoice->spanForButtonIndex(buttonIndex);
    if (!span) {
        return;
    }
    if (m_openChoice->change() == RecurringEventActionSheet::Change::Delete) {
        remove(*span);
    } else {
        save(*span);
    }
}

void EventEditFormController::cancel() {
    if (!m_finished) {
        finish(EKEventEditViewAction::Canceled);
    }
}

void EventEditFormController::finish(EKEventEditViewAction action) {
    m_finished = true;
    if (auto editor = std::dynamic_pointer_cast<EKEventEditViewController>(navigationController())) {
        editor->report(action);
    }
}
