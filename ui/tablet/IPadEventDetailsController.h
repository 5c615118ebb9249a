#pragma once

#include "core/events/EventModel.h"
#include "kit/PopoverControllerDelegate.h"
#include "kit/Size.h"
#include "kit/TextFieldDelegate.h"
#include "ui/daylist/BaseTableViewController.h"

#include <functional>
#include <memory>
#include <optional>

class AllDayCell;
class CalendarPickerCell;
class ChangedElsewhereCheck;
class DatePicker;
class DayView;
class EKCalendar;
class EKEvent;
class EventDetailsViewControllerDelegate;
class EventView;
class IPadDayViewController;
class Notification;
class PopoverController;
class TextFieldTableViewCell;
class TimeCell;
class View;

// The tablet's compact editor: title, all-day, time and calendar of one event in a popover beside
// its row. A new event stands in its day as a half-transparent placeholder row while it is
// entered, and every edit shows in the row at once; nothing is stored before saving. Saving
// closes the popover, slides the row to its sorted place and then stores the event. Make it
// with `create`. Main thread only.
class IPadEventDetailsController : public BaseTableViewController,
                                   public PopoverControllerDelegate,
                                   public TextFieldDelegate {
public:
    static constexpr double width = 320.0;
    // The table alone, the table with the time picker under it, and the table without the time
    // row.
    static constexpr double tableHeight = 240.0;
    static constexpr double heightWithTimePicker = 456.0;
    static constexpr double allDayHeight = 185.0;
    static constexpr double timePickerHeight = 216.0;
    static constexpr int timePickerMinuteInterval = 5;
    static constexpr double weekMoveDuration = 0.25;
    // The keyboard rule is made for the upright screen: a row must stay this far above the
    // keyboard's top.
    static constexpr double portraitScreenHeight = 1024.0;
    static constexpr double keyboardMargin = 52.0;

    enum Section {
        titleSection = 0,
        allDaySection = 1,
        timeSection = 2,
        calendarSection = 3,
        sectionCount = 4
    };

    static std::shared_ptr<IPadEventDetailsController> create();
    IPadEventDetailsController();
    ~IPadEventDetailsController() override;

    // Not owned.
    void setDelegate(std::weak_ptr<EventDetailsViewControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // The tapped day; none for a tap in the day list.
    void setDayViewController(std::weak_ptr<IPadDayViewController> dayViewController) {
        m_dayViewController = std::move(dayViewController);
    }
    // The week screen's view, pushed up while the keyboard would cover the edited row.
    void setWeekScrollView(std::weak_ptr<View> weekScrollView) {
        m_weekScrollView = std::move(weekScrollView);
    }
    // Run when the popover has gone away.
    std::function<void()> onHide;

    void setEventModel(const EventModel& eventModel);
    void applyValuesFromEventModel();
    // Marks the row (or puts the placeholder in the day) and presents the popover beside it.
    void show();

    // Done.
    void saveEvent();
    // The same from a tap outside after a change; `done` changes nothing.
    void saveEvent(bool done);
    // Cancel: closes without saving.
    void dismissPopover();
    void onPopoverHide(bool animated);

    // The controls' reports.
    void textChanged();
    void timeChanged();
    void calendarChanged(const std::shared_ptr<EKCalendar>& calendar);
    void allDayValueChanged();
    void deselectTimeSection();
    void eventModelChanged();

    void keyboardWillOpenOrDock(const Notification& notification);
    void keyboardWillCloseOrUndock(const Notification& notification);
    void moveWeekScrollViewDownIfNecessary();

    const std::shared_ptr<PopoverController>& popoverController() const { return m_popoverController; }
    const std::shared_ptr<TextFieldTableViewCell>& titleCell() const { return m_titleCell; }
    const std::shared_ptr<AllDayCell>& allDayCell() const { return m_allDayCell; }
    const std::shared_ptr<TimeCell>& timeCell() const { return m_timeCell; }
    const std::optional<EventModel>& eventModel() const { return m_eventModel; }
    std::shared_ptr<EventView> currentEventView() const { return m_currentEventView.lock(); }
    double weekScrollViewMovedUpPixels() const { return m_weekScrollViewMovedUpPixels; }

    // PopoverControllerDelegate: a tap outside saves a changed event and closes an unchanged one.
    bool popoverControllerShouldDismissPopover(PopoverController& popoverController) override;
    // TextFieldDelegate: Return in the title saves, as Done does.
    bool textFieldShouldReturn(TextField& textField) override;

    // The table.
    int numberOfSectionsInTableView(TableView& tableView) override;
    int numberOfRowsInSection(TableView& tableView, int section) override;
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView& tableView,
                                                         const IndexPath& indexPath) override;
    std::optional<double> heightForHeaderInSection(TableView& tableView, int section) override;
    std::optional<double> heightForFooterInSection(TableView& tableView, int section) override;
    std::optional<IndexPath> willSelectRowAtIndexPath(TableView& tableView,
                                                      const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) override;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

protected:
    void loadView() override;
    // Typing while the title field does not have the keyboard goes into the title.
    bool handleScreenKeyInput(const KeyInput& input) override;

private:
    void init();
    std::weak_ptr<IPadEventDetailsController> weakSelf();
    bool allDay() const;
    void presentPopover();
    // Moves the week screen's content by `dy` over the keyboard's time and points the popover at
    // the row where it then stands, above a keyboard of that height (0 without one).
    void moveWeekScrollViewBy(double dy, double keyboardHeight, const std::function<void()>& completion);
    // The popover follows its row and stays clear of the keyboard.
    void repositionPopover(double keyboardHeight);
    // The store refused the save: the placeholder or the edited row is shown again with the
    // popover, the edit kept, under the store's alert.
    void saveRefused(const EventModel& eventModel, const std::shared_ptr<EKEvent>& shownEvent);

    std::shared_ptr<PopoverController> m_popoverController;
    std::shared_ptr<TextFieldTableViewCell> m_titleCell;
    std::shared_ptr<AllDayCell> m_allDayCell;
    std::shared_ptr<TimeCell> m_timeCell;
    std::shared_ptr<CalendarPickerCell> m_calendarCell;
    std::shared_ptr<DatePicker> m_timePicker;
    std::optional<EventModel> m_eventModel;
    std::weak_ptr<EventView> m_currentEventView;
    bool m_eventModelChanged = false;
    std::shared_ptr<ChangedElsewhereCheck> m_changedElsewhere;
    double m_weekScrollViewMovedUpPixels = 0.0;
    // The height of the keyboard while it is up, else 0.
    double m_keyboardHeight = 0.0;
    std::weak_ptr<EventDetailsViewControllerDelegate> m_delegate;
    std::weak_ptr<IPadDayViewController> m_dayViewController;
    std::weak_ptr<View> m_weekScrollView;
};
