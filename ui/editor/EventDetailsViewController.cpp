#include "ui/editor/EventDetailsViewController.h"
#include "ui/common/WeakScreenAction.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/UserChangedEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKCalendar.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"
#include "foundation/StringUtilities.h"
#include "kit/Artwork.h"
#include "kit/BarButtonItem.h"
#include "kit/DatePicker.h"
#include "kit/Device.h"
#include "kit/Font.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/StringDrawing.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/editing/CalendarPickerView.h"
#include "ui/editing/DeleteEventActionSheet.h"
#include "ui/editing/EditorArtwork.h"
#include "ui/editor/AllDaySwitch.h"
#include "ui/editor/DeleteButton.h"
#include "ui/editor/EventDetailsViewControllerDelegate.h"
#include "ui/editor/FormParts.h"
#include "ui/editor/InsetTextField.h"
#include "ui/editor/TitleFieldTyping.h"
#include "ui/eventkit/ChangedElsewhereCheck.h"
#include "ui/eventkit/EKEventEditViewController.h"

#include <cmath>

namespace {

// The form's arrangement ("EventDetailsView"): a caption column on the left, the inputs from
// x 62 to 307, rows 35 points high.
constexpr double formWidth = 320.0;
constexpr double formHeight = 416.0;
constexpr double captionX = 13.0;
constexpr double inputX = 62.0;
constexpr double inputWidth = 245.0;
constexpr double rowHeight = EditorArtwork::faceHeight;
constexpr double textRowY = 10.0;
constexpr double timeRowY = 52.0;
constexpr double dateRowY = 94.0;
constexpr double timeButtonWidth = 91.0;
constexpr double timeButtonPadding = 25.0;
// Captions wider than this push the inputs to the right.
constexpr double captionRoom = 40.0;
constexpr double allDayX = 214.0;
constexpr double allDayWidth = 93.0;
constexpr double calendarCaptionY = 134.0;
constexpr double calendarCaptionHeight = 16.0;
constexpr double calendarPickerX = 13.0;
constexpr double calendarPickerY = 151.0;
constexpr double pickerWidthBesideDelete = 148.0;
constexpr double pickerWidthAlone = 176.0;
// The buttons of the calendar row line up with the picker's face, 7 points into its strip.
constexpr double calendarRowButtonY = calendarPickerY + 7.0;
constexpr Rect deleteButtonFrame(171, calendarRowButtonY, 38, rowHeight);
constexpr Rect moreButtonFrame(217, calendarRowButtonY, 90, rowHeight);
constexpr int moreFaceTopCap = 17;
constexpr double dateMinimumFontSize = 13.0;
constexpr int timePickerMinuteInterval = 5;

bool olderDevice() {
    return Device::current().isOlderGeneration();
}

} // namespace

EventDetailsViewController::EventDetailsViewController()
    : m_formatter(DateTimeFormatter::instance()), m_eventService(EventService::sharedInstance()),
      m_dispatcher(ApplicationEventDispatcher::sharedInstance()),
      m_copyMoveEventMode(CopyMoveEventMode::sharedInstance()) {
    EditorArtwork::registerImages();
    m_inputFieldImage = FormParts::face(QStringLiteral("edit-input-bg"));
    m_selectedButtonImage = FormParts::face(QStringLiteral("edit-button-bg-selected"));
}

EventDetailsViewController::~EventDetailsViewController() = default;

std::weak_ptr<EventDetailsViewController> EventDetailsViewController::weakSelf() {
    return std::static_pointer_cast<EventDetailsViewController>(shared_from_this());
}

void EventDetailsViewController::loadView() {
    auto root = std::make_shared<View>(Rect(0, 0, formWidth, formHeight));
    root->setBackgroundColor(FormParts::background());
    root->setClipsToBounds(true);
    createControls(*root);
    setView(root);
}

// The static arrangement of the form, as an interface description would hold it.
void EventDetailsViewController::createControls(View& root) {
    m_textLabel = FormParts::caption(Rect(captionX, textRowY, captionRoom, rowHeight));
    m_timeLabel = FormParts::caption(Rect(captionX, timeRowY, captionRoom, rowHeight));
    m_dateLabel = FormParts::caption(Rect(captionX, dateRowY, captionRoom, rowHeight));
    m_calendarLabel =
        FormParts::caption(Rect(captionX + 2, calendarCaptionY, captionRoom, calendarCaptionHeight));
    m_calendarLabel->setFont(Font::boldSystemFontOfSize(13));

    m_titleField = std::make_shared<InsetTextField>(Rect(inputX, textRowY, inputWidth, rowHeight));
    m_titleField->setFont(Font::systemFontOfSize(17));
    m_titleField->setContentVerticalAlignment(TextField::VerticalAlignment::Center);
    m_titleField->setClearButtonMode(TextField::ViewMode::WhileEditing);
    m_titleField->setAutocapitalizationType(TextField::AutocapitalizationType::Sentences);
    m_titleField->setReturnKeyType(TextField::ReturnKeyType::Done);

    m_timeButton = FormParts::faceButton(Rect(inputX, timeRowY, timeButtonWidth, rowHeight));
    m_orLabel = FormParts::caption(
        Rect(inputX + timeButtonWidth, timeRowY, allDayX - inputX - timeButtonWidth, rowHeight));
    m_orLabel->setTextAlignment(TextAlignment::Center);
    m_orLabel->setFont(Font::systemFontOfSize(15));

    m_moveButton = FormParts::faceButton(Rect(inputX, dateRowY, inputWidth, rowHeight));
    m_moveButton->setContentHorizontalAlignment(Button::ContentHorizontalAlignment::Left);
    m_moveButton->setContentEdgeInsets(EdgeInsets(0, 6, 0, 8));
    m_moveButton->titleLabel().setAdjustsFontSizeToFitWidth(true);
    m_moveButton->titleLabel().setMinimumFontSize(dateMinimumFontSize);

    m_moreButton = FormParts::faceButton(moreButtonFrame);
    m_deleteButton = std::make_shared<DeleteButton>(deleteButtonFrame);

    m_timePicker =
        std::make_shared<DatePicker>(Rect(0, timePickerHiddenY, formWidth, DatePicker::pickerHeight));
    m_timePicker->setMinuteInterval(timePickerMinuteInterval);

    m_calendarPickerView = CalendarPickerView::create(Point(calendarPickerX, calendarPickerY));

    for (const std::shared_ptr<View>& control : std::initializer_list<std::shared_ptr<View>>{
             m_textLabel, m_timeLabel, m_dateLabel, m_calendarLabel, m_titleField, m_timeButton, m_orLabel,
             m_moveButton, m_deleteButton, m_moreButton, m_calendarPickerView, m_timePicker}) {
        root.addSubview(control);
    }
}

void EventDetailsViewController::viewDidLoad() {
    const std::weak_ptr<EventDetailsViewController> weakSelf = this->weakSelf();
    View& root = *view();
    m_allDaySwitch = std::make_shared<AllDaySwitch>(Rect(allDayX, timeRowY, allDayWidth, rowHeight));
    root.addSubview(m_allDaySwitch);
    m_allDaySwitch->onSwitched = [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->switchDidSwitch();
        }
    };

    m_moreButton->setTitle(localizedString(QStringLiteral("More")));
    m_titleField->setPlaceholder(localizedString(QStringLiteral("New Event")));
    m_dateLabel->setText(localizedString(QStringLiteral("Date")));
    m_timeLabel->setText(localizedString(QStringLiteral("Time")));
    m_textLabel->setText(localizedString(QStringLiteral("Text")));
    m_orLabel->setText(localizedString(QStringLiteral("or")));
    m_calendarLabel->setText(localizedString(QStringLiteral("Calendar")));

    adjustInputFieldPositions();

    m_doneButtonItem = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Done")),
                                                       BarButtonItem::Style::Done, [weakSelf] {
                                                           if (auto self = weakSelf.lock()) {
                                                               self->saveEvent();
                                                           }
                                                       });
    m_doneButtonItem->setEnabled(false);
    navigationItem()->setRightBarButtonItem(m_doneButtonItem);

    m_timeButton->setBackgroundImage(m_selectedButtonImage, ControlState::Highlighted);
    toggleTimeButtonSelected(true);
    m_titleField->setBackground(m_inputFieldImage);
    m_moveButton->setBackgroundImage(m_selectedButtonImage, ControlState::Highlighted);
    m_moreButton->setBackgroundImage(FormParts::face(QStringLiteral("edit-button-bg"), moreFaceTopCap));
    m_moreButton->setBackgroundImage(
        FormParts::face(QStringLiteral("edit-button-bg-selected"), moreFaceTopCap),
        ControlState::Highlighted);
    m_moreButton->setTitleColor(Color(1, 1, 1), ControlState::Highlighted);

    for (const std::shared_ptr<View>& exclusive : std::initializer_list<std::shared_ptr<View>>{
             m_deleteButton, m_moveButton, m_moreButton, m_timeButton, m_titleField}) {
        exclusive->setExclusiveTouch(true);
    }

    // The bindings of the interface description.
    m_timeButton->onTouchUpInside = weakScreenAction(weakSelf, &EventDetailsViewController::showTimePicker);
    m_moveButton->onTouchDown = weakScreenAction(weakSelf, &EventDetailsViewController::beforeMoveEvent);
    m_moveButton->onTouchUpInside = weakScreenAction(weakSelf, &EventDetailsViewController::moveEvent);
    m_deleteButton->onTouchUpInside = weakScreenAction(weakSelf, &EventDetailsViewController::deleteEvent);
    m_moreButton->onTouchUpInside = weakScreenAction(weakSelf, &EventDetailsViewController::showMoreDetails);
    m_timePicker->onValueChanged = weakScreenAction(weakSelf, &EventDetailsViewController::timeChanged);
    m_calendarPickerView->setOnCalendarPicked(
        weakScreenAction(weakSelf, &EventDetailsViewController::calendarPicked));
    m_titleField->onEditingChanged = weakScreenAction(weakSelf, &EventDetailsViewController::textChanged);
    m_titleField->onEditingDidBegin = [weakSelf] {
        // A touch on the title brings its keyboard back in place of the time picker.
        if (auto self = weakSelf.lock(); self && !self->m_allDaySwitch->isOn()) {
            self->showTimePicker(false, true);
        }
    };
    m_titleField->setDelegate(std::static_pointer_cast<TextFieldDelegate>(weakSelf.lock()));
}

void EventDetailsViewController::adjustInputFieldPositions() {
    const double widest = std::max({FormParts::fitCaption(*m_dateLabel), FormParts::fitCaption(*m_timeLabel),
                                    FormParts::fitCaption(*m_textLabel)});
    if (widest <= captionRoom) {
        return;
    }
    const double excess = widest - captionRoom;
    m_moveButton->setFrameX(inputX + excess);
    m_moveButton->setFrameWidth(inputWidth - excess);
    m_timeButton->setFrameX(inputX + excess);
    m_timeButton->setFrameWidth(timeButtonWidth - excess);
    m_titleField->setFrameX(inputX + excess);
    m_titleField->setFrameWidth(inputWidth - excess);
}

// Opening.

void EventDetailsViewController::setEvent(std::shared_ptr<EKEvent> event, bool isNew, Date tappedDate) {
    // The form edits a copy: the shown event changes only through a save the store accepted, never
    // through an edit that was abandoned.
    m_event = event ? event->copy() : nullptr;
    m_changedElsewhere = std::make_shared<ChangedElsewhereCheck>(
        m_eventService.eventStore(), isNew || !event ? QString() : event->eventIdentifier());
    m_tappedDate = tappedDate;
    // Occurrences of one series share the identifier: a deletion is reported once per event set.
    m_lastDeletedEventId.clear();
    m_doneEditing = false;
    m_changed = false;
    m_dateChanged = false;
    setTitle(localizedString(isNew ? QStringLiteral("Add Event") : QStringLiteral("Edit Event")));
    m_editMode = !isNew;
    view();
    m_doneButtonItem->setEnabled(false);
    m_wasRecurring = m_event && m_event->hasRecurrenceRules();
}

void EventDetailsViewController::viewWillAppear(bool) {
    m_deleteButton->setHidden(!m_editMode);
    FormParts::fitCaption(*m_calendarLabel);
    // Back from the move round trip, or from a cancelled full editor, the form keeps its state.
    if (m_copyMoveEventMode.activated() || m_isCancellingNativeEdit) {
        return;
    }
    // The delete button shares the calendar row with the strip.
    m_calendarPickerView->setMaximumWidth(
        static_cast<int>(m_editMode ? pickerWidthBesideDelete : pickerWidthAlone));
    m_calendarPickerView->setCalendars(m_eventService.editableCalendars());
    initializeViewsAnimated(false);
}

void EventDetailsViewController::viewDidAppear(bool) {
    if (m_copyMoveEventMode.activated()) {
        m_copyMoveEventMode.deactivate();
        if (auto reportTo = delegate()) {
            reportTo->toggleMovingEventMode();
        }
    }
    selectTimeButtonIfTimePickerIsVisible();
    setMoveButtonSelected(false);
    // The form is filled before the push, while the title field cannot take the keyboard yet.
    if (m_allDaySwitch->isOn() && !m_titleField->isFirstResponder()) {
        m_titleField->becomeFirstResponder();
    }
}

void EventDetailsViewController::didReceiveMemoryWarning() {
    if (m_copyMoveEventMode.moveActivated()) {
        return;
    }
    ViewController::didReceiveMemoryWarning();
}

// Filling the form.

void EventDetailsViewController::initializeViewsAnimated(bool animated) {
    if (!isViewLoaded() || !m_event || m_isCancellingNativeEdit) {
        return;
    }
    const Date start = m_event->startDate();
    setDate(start);
    m_titleField->setText(m_event->title());
    setTime(start);
    m_allDaySwitch->toggle(m_event->allDay());
    if (m_event->allDay()) {
        // Switching all-day off then offers noon.
        setTime(DateUtilities::day(start).noon());
    }
    toggleAllDayAnimated(animated);
    if (const std::shared_ptr<EKCalendar> calendar = m_event->calendar()) {
        m_calendarPickerView->selectCalendar(*calendar);
    }
}

void EventDetailsViewController::setDate(Date date) {
    m_moveButton->setTitle(QStringLiteral(" ") +
                           StringUtilities::stringByUppercasingFirstLetter(m_formatter.formatFullDate(date)));
}

void EventDetailsViewController::setTime(Date date) {
    m_timePicker->setDate(date, false);
    const QString title = m_formatter.formatTime(date);
    m_timeButton->setTitle(title);
    m_timeButton->setFrameWidth(
        StringDrawing::sizeWithFont(title, m_timeButton->titleLabel().font()).width() + timeButtonPadding);
    const double orX = m_timeButton->frame().x() + m_timeButton->frame().width();
    m_orLabel->setFrameX(orX);
    m_orLabel->setFrameWidth(m_allDaySwitch->frame().x() - orX);
}

// All-day and the time picker.

void EventDetailsViewController::toggleAllDayAnimated(bool animated) {
    const double alpha = m_allDaySwitch->isOn() ? 0.0 : 1.0;
    const std::shared_ptr<Label> timeLabel = m_timeLabel;
    const std::shared_ptr<Button> timeButton = m_timeButton;
    const std::shared_ptr<Label> orLabel = m_orLabel;
    const auto fade = [timeLabel, timeButton, orLabel, alpha] {
        timeLabel->setAlpha(alpha);
        timeButton->setAlpha(alpha);
        orLabel->setAlpha(alpha);
    };
    if (animated && !olderDevice()) {
        View::animate(animationDuration, fade);
    } else {
        fade();
    }
    if (m_allDaySwitch->isOn()) {
        m_titleField->becomeFirstResponder();
    } else {
        m_titleField->resignFirstResponder();
    }
    showTimePicker(!m_allDaySwitch->isOn(), animated);
}

void EventDetailsViewController::showTimePicker(bool show, bool animated) {
    if (animated && !olderDevice()) {
        if (show) {
            m_timePicker->setFrameY(timePickerHiddenY);
        }
        const std::weak_ptr<EventDetailsViewController> weakSelf = this->weakSelf();
        View::animate(animationDuration, [weakSelf, show] {
            if (auto self = weakSelf.lock()) {
                self->placeTimePicker(show);
            }
        });
    } else {
        placeTimePicker(show);
    }
}

void EventDetailsViewController::placeTimePicker(bool show) {
    toggleTimeButtonSelected(show);
    if (show) {
        m_timePicker->setFrameY(timePickerShownY);
    } else if (!olderDevice()) {
        m_timePicker->setFrameY(timePickerHiddenY);
    }
}

void EventDetailsViewController::showTimePicker() {
    if (m_allDaySwitch->isOn()) {
        return;
    }
    m_titleField->resignFirstResponder();
    showTimePicker(true, true);
}

void EventDetailsViewController::hideTimePicker() {
    showTimePicker(false, true);
    m_titleField->becomeFirstResponder();
}

bool EventDetailsViewController::handleScreenKeyInput(const KeyInput& input) {
    return TitleFieldTyping::typeIntoTitle(input, *m_titleField, [this] { hideTimePicker(); });
}

void EventDetailsViewController::selectTimeButtonIfTimePickerIsVisible() {
    if (m_timePicker->frame().y() == timePickerShownY) {
        toggleTimeButtonSelected(true);
    }
}

void EventDetailsViewController::toggleTimeButtonSelected(bool selected) {
    m_timeButton->setBackgroundImage(selected ? m_selectedButtonImage
                                              : FormParts::face(QStringLiteral("edit-button-bg")));
    m_timeButton->setTitleColor(selected ? Color(1, 1, 1) : Color(0, 0, 0));
    m_timeButton->setTitleShadowColor(selected ? Color(0, 0, 0) : Color(0, 0, 0, 0));
    m_timeButton->titleLabel().setShadowOffset(selected ? Size(0, -1) : Size(0, 1));
}

void EventDetailsViewController::setMoveButtonSelected(bool selected) {
    m_moveButton->setBackgroundImage(selected ? m_selectedButtonImage
                                              : FormParts::face(QStringLiteral("edit-button-bg")));
    m_moveButton->setTitleColor(selected ? Color(1, 1, 1) : Color(0, 0, 0));
    m_moveButton->setTitleShadowColor(selected ? Color(0, 0, 0) : Color(1, 1, 1));
}

// Change tracking.

void EventDetailsViewController::markChanged() {
    m_doneButtonItem->setEnabled(true);
    m_changed = true;
}

void EventDetailsViewController::textChanged() {
    markChanged();
}

void EventDetailsViewController::timeChanged() {
    markChanged();
    m_timeButton->setTitle(m_formatter.formatTime(m_timePicker->date()));
}

void EventDetailsViewController::switchDidSwitch() {
    markChanged();
    toggleAllDayAnimated(true);
}

void EventDetailsViewController::calendarPicked() {
    markChanged();
}

bool EventDetailsViewController::textFieldShouldReturn(TextField&) {
    if (m_doneButtonItem->enabled()) {
        saveEvent();
    }
    return false;
}

// The move round trip.

void EventDetailsViewController::beforeMoveEvent() {
    toggleTimeButtonSelected(false);
}

void EventDetailsViewController::moveEvent() {
    m_copyMoveEventMode.activateMove(m_event, m_tappedDate);
    if (auto reportTo = delegate()) {
        reportTo->toggleMovingEventMode();
    }
    popEditor(true);
    setMoveButtonSelected(true);
}

void EventDetailsViewController::moveToDate(Date date) {
    view();
    m_doneButtonItem->setEnabled(true);
    m_dateChanged = true;
    const Date moved = DateUtilities::applyDateWithoutTime(m_timePicker->date(), date);
    m_timePicker->setDate(moved, false);
    setDate(moved);
}

// Saving.

void EventDetailsViewController::applyChangesToEvent() {
    m_event->setTitle(m_titleField->text().trimmed());
    m_eventService.applyDate(m_timePicker->date(), *m_event, m_allDaySwitch->isOn());
    const std::shared_ptr<EKCalendar> picked = m_calendarPickerView->selectedCalendar();
    if (picked && !(m_event->calendar() && m_event->calendar()->isEqual(*picked))) {
        m_event->setCalendar(picked);
    }
    if (!m_editMode) {
        ReadOnlyCheck::applyAlarms(*m_event, m_eventService.appSettings().defaultAlarmsAsEKAlarms());
    }
}

void EventDetailsViewController::saveEvent() {
    if (!m_event) {
        return;
    }
    const std::weak_ptr<EventDetailsViewController> weak = weakSelf();
    m_changedElsewhere->confirmSave(weakScreenAction(weak, &EventDetailsViewController::saveForm), [weak] {
        if (const auto self = weak.lock()) {
            self->popEditor(true);
        }
    });
}

void EventDetailsViewController::saveForm() {
    m_doneEditing = true;
    const Date previousStart = m_event->startDate();
    applyChangesToEvent();
    if (m_event->hasRecurrenceRules()) {
        if (!m_saveChoice) {
            m_saveChoice =
                std::make_shared<RecurringEventActionSheet>(RecurringEventActionSheet::Change::Save);
            m_saveChoice->setRecurringEventDelegate(weakSelf());
        }
        m_saveChoice->showInView(*view());
        return;
    }
    if (!saveEventMultiple(false)) {
        return;
    }
    reportMoveIfDayChanged(previousStart);
    if (m_dateChanged && !m_changed) {
        // Only the day changed: tap and hold does that quicker.
        if (auto hint = Hint::hintByIdentifier(QStringLiteral("quickMoveHint"))) {
            hint->trigger();
        }
    }
}

void EventDetailsViewController::reportMoveIfDayChanged(Date previousStart) {
    if (DateUtilities::isEqualToDateIgnoreTime(m_timePicker->date(), previousStart)) {
        return;
    }
    if (auto reportTo = delegate()) {
        reportTo->eventCopiedOrMoved(m_event, false);
    }
}

void EventDetailsViewController::clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) {
    if (&actionSheet == m_saveChoice.get()) {
        saveEventMultiple(span == EKSpan::FutureEvents);
    }
}

void EventDetailsViewController::clickedCancelButton(RecurringEventActionSheet& actionSheet) {
    if (&actionSheet == m_saveChoice.get()) {
        // The editor stays open with the form as it is; nothing was saved.
        m_doneEditing = false;
    }
}

bool EventDetailsViewController::saveEventMultiple(bool future) {
    const EKUndo undo = m_dateChanged ? EKUndo::Kept : EKUndo::NotKept; // a move round trip
    if (!m_eventService.saveEvent(m_event, future ? EKSpan::FutureEvents : EKSpan::ThisEvent, undo)) {
        m_doneEditing = false;
        return false;
    }
    if (auto reportTo = delegate()) {
        reportTo->eventSaved(m_event, !m_editMode, future, true);
    }
    popEditor(true);
    return true;
}

void EventDetailsViewController::popEditor(bool animated) {
    if (auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(animated);
    }
}

// Deleting.

void EventDetailsViewController::deleteEvent() {
    if (!m_editMode) {
        return;
    }
    m_deleteButton->animateForward();
    const std::shared_ptr<DeleteEventActionSheet> sheet =
        DeleteEventActionSheet::actionSheetForEvent(m_event);
    const std::weak_ptr<EventDetailsViewController> weakSelf = this->weakSelf();
    sheet->setOnDeleted([weakSelf](const QString& eventIdentifier, bool recurring) {
        if (auto self = weakSelf.lock()) {
            self->eventDeletedWithSheet(eventIdentifier, recurring);
        }
    });
    sheet->setOnCancelled([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->m_deleteButton->animateBackward();
        }
    });
    sheet->showInView(*view());
}

void EventDetailsViewController::eventDeletedWithSheet(const QString& eventIdentifier, bool recurring) {
    m_doneEditing = true;
    if (auto reportTo = delegate()) {
        reportTo->eventDeleted(eventIdentifier, recurring);
    }
    popEditor(true);
    m_deleteButton->animateBackward();
}

// The full editor.

void EventDetailsViewController::showMoreDetails() {
    m_beforeNativeEditEventTitle = m_event->title();
    m_beforeNativeEditEventLocation = m_event->location();
    m_beforeNativeEditEventNotes = m_event->notes();
    m_beforeNativeEditEventURL = m_event->URL();
    applyChangesToEvent();
    m_previousStartDate = m_event->startDate();
    auto editor = std::make_shared<EKEventEditViewController>(m_eventService.eventStore());
    editor->setEvent(m_event);
    editor->setEditViewDelegate(std::static_pointer_cast<EKEventEditViewDelegate>(weakSelf().lock()));
    m_nativeEditor = editor;
    presentModalViewController(editor, true);
    if (!m_editMode && m_event->alarms().empty()) {
        ReadOnlyCheck::applyAlarms(*m_event, m_eventService.appSettings().defaultAlarmsAsEKAlarms());
    }
    if (auto hint = Hint::hintByIdentifier(QStringLiteral("moreDetailsHint"))) {
        hint->trigger();
    }
}

void EventDetailsViewController::eventEditViewController(EKEventEditViewController& controller,
                                                         EKEventEditViewAction action) {
    switch (action) {
    case EKEventEditViewAction::Deleted:
        nativeEditorDeleted(controller);
        break;
    case EKEventEditViewAction::Saved:
        nativeEditorSaved(controller);
        break;
    case EKEventEditViewAction::Canceled:
        nativeEditorCancelled(controller);
        break;
    }
}

void EventDetailsViewController::nativeEditorDeleted(EKEventEditViewController&) {
    dismissModalViewControllerAnimated(true);
    const QString identifier = m_event->eventIdentifier();
    if (identifier == m_lastDeletedEventId) {
        return;
    }
    m_lastDeletedEventId = identifier;
    if (auto reportTo = delegate()) {
        reportTo->eventDeleted(identifier, true);
    }
    popEditor(false);
    m_doneEditing = true;
}

void EventDetailsViewController::nativeEditorSaved(EKEventEditViewController&) {
    dismissModalViewControllerAnimated(true);
    const std::shared_ptr<EventDetailsViewControllerDelegate> reportTo = delegate();
    if (!m_event->hasRecurrenceRules() && !m_wasRecurring) {
        m_dispatcher.dispatch<UserChangedEvent>();
        const bool sameDay = m_previousStartDate && DateUtilities::isEqualToDateIgnoreTime(
                                                        m_event->startDate(), *m_previousStartDate);
        if (reportTo && !sameDay) {
            reportTo->eventCopiedOrMoved(m_event, false);
        } else if (reportTo) {
            reportTo->eventSaved(m_event, !m_editMode, false, true);
        }
        m_previousStartDate.reset();
    } else if (reportTo) {
        reportTo->eventSaved(m_event, !m_editMode, true, true);
    }
    popEditor(false);
    m_doneEditing = true;
}

void EventDetailsViewController::nativeEditorCancelled(EKEventEditViewController&) {
    m_isCancellingNativeEdit = true;
    dismissModalViewControllerAnimated(true);
    m_isCancellingNativeEdit = false;
    if (!m_editMode) {
        m_event = m_eventService.newEventForDay(DateUtilities::day(m_timePicker->date()));
    } else {
        m_event->setTitle(m_beforeNativeEditEventTitle);
        m_event->setLocation(m_beforeNativeEditEventLocation);
        m_event->setNotes(m_beforeNativeEditEventNotes);
        m_event->setURL(m_beforeNativeEditEventURL);
    }
}
