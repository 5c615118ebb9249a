#pragma once

#include "foundation/Date.h"
#include "kit/Image.h"
#include "kit/TextFieldDelegate.h"
#include "kit/ViewController.h"
#include "ui/editing/RecurringEventActionSheet.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"
#include "ui/eventkit/EKEventEditViewDelegate.h"

#include <QString>

#include <memory>
#include <optional>

class AllDaySwitch;
class ApplicationEventDispatcher;
class BarButtonItem;
class Button;
class CalendarPickerView;
class ChangedElsewhereCheck;
class CopyMoveEventMode;
class DatePicker;
class DateTimeFormatter;
class DeleteButton;
class EKEvent;
class EventDetailsViewControllerDelegate;
class EventService;
class InsetTextField;
class Label;

// The quick editor of one event: its text, its time or all-day flag, its day (changed by
// picking another day on the week screen) and its calendar, with a delete button for an
// existing event and "More" for the full editor. The week screen keeps one for the whole run,
// prepares it with setEvent and pushes it; the outcome reaches the delegate. Main thread only.
class EventDetailsViewController : public ViewController,
                                   public TextFieldDelegate,
                                   public RecurringEventActionSheetDelegate,
                                   public EKEventEditViewDelegate {
public:
    // The time picker's top edge while shown and while hidden below the form.
    static constexpr double timePickerShownY = 200.0;
    static constexpr double timePickerHiddenY = 416.0;
    static constexpr double animationDuration = 0.3;

    EventDetailsViewController();
    ~EventDetailsViewController() override;

    void setDelegate(std::weak_ptr<EventDetailsViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // Prepares the form before the editor is pushed.
    void setEvent(std::shared_ptr<EKEvent> event, bool isNew, Date tappedDate);
    // The day the user picked on the week screen while moving the event.
    void moveToDate(Date date);

    const std::shared_ptr<EKEvent>& event() const { return m_event; }
    Date tappedDate() const { return m_tappedDate; }
    bool editMode() const { return m_editMode; }
    bool changed() const { return m_changed; }
    bool dateChanged() const { return m_dateChanged; }
    // Set when the editor finished by saving or deleting.
    bool doneEditing() const { return m_doneEditing; }

    // The form's controls, made when the view loads.
    const std::shared_ptr<InsetTextField>& titleField() const { return m_titleField; }
    const std::shared_ptr<Label>& textLabel() const { return m_textLabel; }
    const std::shared_ptr<Label>& dateLabel() const { return m_dateLabel; }
    const std::shared_ptr<Label>& timeLabel() const { return m_timeLabel; }
    const std::shared_ptr<Label>& orLabel() const { return m_orLabel; }
    const std::shared_ptr<Label>& calendarLabel() const { return m_calendarLabel; }
    const std::shared_ptr<Button>& moveButton() const { return m_moveButton; }
    const std::shared_ptr<Button>& timeButton() const { return m_timeButton; }
    const std::shared_ptr<DatePicker>& timePicker() const { return m_timePicker; }
    const std::shared_ptr<AllDaySwitch>& allDaySwitch() const { return m_allDaySwitch; }
    const std::shared_ptr<CalendarPickerView>& calendarPickerView() const { return m_calendarPickerView; }
    const std::shared_ptr<DeleteButton>& deleteButton() const { return m_deleteButton; }
    const std::shared_ptr<Button>& moreButton() const { return m_moreButton; }
    const std::shared_ptr<BarButtonItem>& doneButtonItem() const { return m_doneButtonItem; }
    // The choice shown when a repeating event is saved; made at the first such save.
    const std::shared_ptr<RecurringEventActionSheet>& saveChoice() const { return m_saveChoice; }
    // The full editor while it is open.
    std::shared_ptr<EKEventEditViewController> nativeEditor() const { return m_nativeEditor.lock(); }

    // Operations of the controls.
    void saveEvent();
    void showTimePicker();
    void hideTimePicker();
    void timeChanged();
    void textChanged();
    void beforeMoveEvent();
    void moveEvent();
    void deleteEvent();
    void showMoreDetails();

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    // Keeps the form while the editor is away in the move round trip.
    void didReceiveMemoryWarning() override;

    // TextFieldDelegate: Return in the title field saves once something changed.
    bool textFieldShouldReturn(TextField& textField) override;
    // RecurringEventActionSheetDelegate: the save choice for a repeating event.
    void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) override;
    void clickedCancelButton(RecurringEventActionSheet& actionSheet) override;
    // EKEventEditViewDelegate: the full editor finished.
    void eventEditViewController(EKEventEditViewController& controller,
                                 EKEventEditViewAction action) override;

protected:
    void loadView() override;
    void viewDidLoad() override;
    // Text typed on a computer's keyboard goes into the title, even while the time picker shows.
    bool handleScreenKeyInput(const KeyInput& input) override;

private:
    std::shared_ptr<EventDetailsViewControllerDelegate> delegate() const { return m_delegate.lock(); }
    std::weak_ptr<EventDetailsViewController> weakSelf();
    void createControls(View& root);
    void adjustInputFieldPositions();
    void initializeViewsAnimated(bool animated);
    void setDate(Date date);
    void setTime(Date date);
    void toggleAllDayAnimated(bool animated);
    void showTimePicker(bool show, bool animated);
    void placeTimePicker(bool show);
    void selectTimeButtonIfTimePickerIsVisible();
    void toggleTimeButtonSelected(bool selected);
    void setMoveButtonSelected(bool selected);
    void switchDidSwitch();
    void calendarPicked();
    void markChanged();
    void applyChangesToEvent();
    // Saves with the span and reports; false when the store refused the save (the event
    // service has told the user), and the editor then stays open.
    // "Done" once no change made elsewhere meanwhile is in the way.
    void saveForm();
    bool saveEventMultiple(bool future);
    void reportMoveIfDayChanged(Date previousStart);
    void popEditor(bool animated);
    void eventDeletedWithSheet(const QString& eventIdentifier, bool recurring);
    void nativeEditorDeleted(EKEventEditViewController& controller);
    void nativeEditorSaved(EKEventEditViewController& controller);
    void nativeEditorCancelled(EKEventEditViewController& controller);

    DateTimeFormatter& m_formatter;
    EventService& m_eventService;
    ApplicationEventDispatcher& m_dispatcher;
    CopyMoveEventMode& m_copyMoveEventMode;
    Image m_inputFieldImage;
    Image m_selectedButtonImage;

    std::shared_ptr<EKEvent> m_event;
    Date m_tappedDate;
    bool m_editMode = false;
    bool m_changed = false;
    bool m_dateChanged = false;
    bool m_doneEditing = false;
    std::shared_ptr<ChangedElsewhereCheck> m_changedElsewhere;
    bool m_wasRecurring = false;
    std::optional<Date> m_previousStartDate;
    QString m_beforeNativeEditEventTitle;
    QString m_beforeNativeEditEventLocation;
    QString m_beforeNativeEditEventNotes;
    QString m_beforeNativeEditEventURL;
    bool m_isCancellingNativeEdit = false;
    QString m_lastDeletedEventId;
    std::weak_ptr<EventDetailsViewControllerDelegate> m_delegate;

    std::shared_ptr<InsetTextField> m_titleField;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_dateLabel;
    std::shared_ptr<Label> m_timeLabel;
    std::shared_ptr<Label> m_orLabel;
    std::shared_ptr<Label> m_calendarLabel;
    std::shared_ptr<Button> m_moveButton;
    std::shared_ptr<Button> m_timeButton;
    std::shared_ptr<DatePicker> m_timePicker;
    std::shared_ptr<AllDaySwitch> m_allDaySwitch;
    std::shared_ptr<CalendarPickerView> m_calendarPickerView;
    std::shared_ptr<DeleteButton> m_deleteButton;
    std::shared_ptr<Button> m_moreButton;
    std::shared_ptr<BarButtonItem> m_doneButtonItem;
    std::shared_ptr<RecurringEventActionSheet> m_saveChoice;
    std::weak_ptr<EKEventEditViewController> m_nativeEditor;
};
