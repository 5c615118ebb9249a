#include "ui/tablet/IPadEventDetailsController.h"
#include "ui/eventkit/ChangedElsewhereCheck.h"

#include "core/calendar/DateUtilities.h"
#include "core/events/EventList.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"
#include "core/settings/AppSettings.h"
#include "foundation/Localization.h"
#include "kit/AlertView.h"
#include "kit/BarButtonItem.h"
#include "kit/DatePicker.h"
#include "kit/Keyboard.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/NotificationCenter.h"
#include "kit/PopoverController.h"
#include "kit/Switch.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "ui/common/WeakScreenAction.h"
#include "ui/daybox/EventView.h"
#include "ui/editing/CalendarPickerView.h"
#include "ui/editing/TextFieldTableViewCell.h"
#include "ui/editor/EventDetailsViewControllerDelegate.h"
#include "ui/editor/TitleFieldTyping.h"
#include "ui/tablet/AllDayCell.h"
#include "ui/tablet/CalendarPickerCell.h"
#include "ui/tablet/IPadDayView.h"
#include "ui/tablet/IPadDayViewController.h"
#include "ui/tablet/TimeCell.h"

namespace {

constexpr IndexPath timeRowIndexPath(0, IPadEventDetailsController::timeSection);
constexpr double editorFirstHeaderHeight = 15.0;
constexpr double editorGroupSpacing = 5.0;
// A section without rows still needs a height above zero to count as collapsed.
constexpr double editorCollapsedSpacing = 0.1;

} // namespace

std::shared_ptr<IPadEventDetailsController> IPadEventDetailsController::create() {
    auto controller = std::make_shared<IPadEventDetailsController>();
    controller->init();
    return controller;
}

IPadEventDetailsController::IPadEventDetailsController()
    : m_titleCell(std::make_shared<TextFieldTableViewCell>()), m_allDayCell(std::make_shared<AllDayCell>()),
      m_timeCell(std::make_shared<TimeCell>()), m_calendarCell(std::make_shared<CalendarPickerCell>()),
      m_timePicker(std::make_shared<DatePicker>(Rect(0, tableHeight, width, timePickerHeight))) {}

IPadEventDetailsController::~IPadEventDetailsController() {
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::weak_ptr<IPadEventDetailsController> IPadEventDetailsController::weakSelf() {
    return std::static_pointer_cast<IPadEventDetailsController>(shared_from_this());
}

void IPadEventDetailsController::init() {
    setTitle(localizedString(QStringLiteral("Add Event")));
    setContentSizeForViewInPopover(Size(width, heightWithTimePicker));
    const std::weak_ptr<IPadEventDetailsController> weak = weakSelf();

    TextField& titleField = m_titleCell->textField();
    titleField.setPlaceholder(localizedString(QStringLiteral("New Event")));
    titleField.setAutocapitalizationType(TextField::AutocapitalizationType::Sentences);
    titleField.setReturnKeyType(TextField::ReturnKeyType::Done);
    titleField.onEditingDidBegin = weakScreenAction(weak, &IPadEventDetailsController::deselectTimeSection);
    titleField.onEditingChanged = weakScreenAction(weak, &IPadEventDetailsController::textChanged);
    titleField.setDelegate(std::static_pointer_cast<TextFieldDelegate>(weak.lock()));

    m_calendarCell->calendarPickerView()->setOnCalendarPicked([weak] {
        if (const auto self = weak.lock()) {
            self->calendarChanged(self->m_calendarCell->calendarPickerView()->selectedCalendar());
        }
    });
    m_allDayCell->allDaySwitch()->onValueChanged =
        weakScreenAction(weak, &IPadEventDetailsController::allDayValueChanged);

    m_timePicker->setDatePickerMode(DatePicker::Mode::Time);
    m_timePicker->setMinuteInterval(timePickerMinuteInterval);
    m_timePicker->onValueChanged = weakScreenAction(weak, &IPadEventDetailsController::timeChanged);

    navigationItem()->setLeftBarButtonItem(
        std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Cancel,
                                        weakScreenAction(weak, &IPadEventDetailsController::dismissPopover)));
    navigationItem()->setRightBarButtonItem(std::make_shared<BarButtonItem>(
        BarButtonItem::SystemItem::Done,
        weakScreenAction(weak, static_cast<void (IPadEventDetailsController::*)()>(
                                   &IPadEventDetailsController::saveEvent))));

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, Keyboard::willShowNotification, [weak](const Notification& notification) {
        if (const auto self = weak.lock()) {
            self->keyboardWillOpenOrDock(notification);
        }
    });
    center.addObserver(this, Keyboard::willHideNotification, [weak](const Notification& notification) {
        if (const auto self = weak.lock()) {
            self->keyboardWillCloseOrUndock(notification);
        }
    });
}

void IPadEventDetailsController::loadView() {
    auto root = std::make_shared<View>(Rect(0, 0, width, heightWithTimePicker));
    root->addSubview(makeTableView(Rect(0, 0, width, tableHeight), TableView::Style::Grouped));
    root->addSubview(m_timePicker);
    setView(root);
}

bool IPadEventDetailsController::allDay() const {
    return m_eventModel ? m_eventModel->allDay() : m_allDayCell->allDaySwitch()->on();
}

// Opening.

void IPadEventDetailsController::setEventModel(const EventModel& eventModel) {
    m_eventModelChanged = false;
    m_eventModel = eventModel;
    m_changedElsewhere = std::make_shared<ChangedElsewhereCheck>(EventService::sharedInstance().eventStore(),
                                                                 eventModel.identifier().value_or(QString()));
    if (!m_eventModel->calendar()) {
        m_eventModel->setCalendar(
            AppSettings::instance().loadDefaultCalendar(EventService::sharedInstance()));
    }
    applyValuesFromEventModel();
}

void IPadEventDetailsController::applyValuesFromEventModel() {
    if (!m_eventModel) {
        return;
    }
    view();
    m_titleCell->textField().setText(m_eventModel->title());
    m_allDayCell->allDaySwitch()->setOn(m_eventModel->allDay());
    m_timeCell->setTime(m_eventModel->date());
    if (m_eventModel->calendar()) {
        m_calendarCell->calendarPickerView()->selectCalendar(*m_eventModel->calendar());
    }
    m_timePicker->setDate(m_eventModel->date());
    tableView()->reloadData();
    if (m_eventModel->allDay()) {
        deselectTimeSection();
        m_titleCell->textField().becomeFirstResponder();
    } else {
        setContentSizeForViewInPopover(Size(width, heightWithTimePicker));
    }
}

void IPadEventDetailsController::show() {
    if (!m_eventModel) {
        return;
    }
    const std::shared_ptr<IPadDayViewController> dayViewController = m_dayViewController.lock();
    std::shared_ptr<EventView> row;
    if (dayViewController) {
        if (!m_eventModel->identifier()) {
            if (const std::shared_ptr<EKEvent> event = m_eventModel->ekEvent()) {
                row = dayViewController->addFakeEvent(event);
            }
        } else {
            row = dayViewController->findEventViewByEventIdentifier(*m_eventModel->identifier());
        }
        dayViewController->deselectBackgroundDelayed(false, false);
    }
    m_currentEventView = row;
    presentPopover();
}

void IPadEventDetailsController::presentPopover() {
    const auto self = shared_from_this();
    m_popoverController = std::make_shared<PopoverController>(std::make_shared<NavigationController>(self));
    m_popoverController->setDelegate(std::static_pointer_cast<PopoverControllerDelegate>(
        std::static_pointer_cast<IPadEventDetailsController>(self)));
    const PopoverArrowDirections sideways = PopoverArrowDirection::left | PopoverArrowDirection::right;
    // Beside the row; without one (a full card, an event in the overflow) beside the card, and
    // for a day list with no card in the middle of the week, without an arrow.
    const std::shared_ptr<EventView> row = m_currentEventView.lock();
    if (row && row->superview()) {
        m_popoverController->presentPopoverFromRect(row->frame(), *row->superview(), sideways, true);
        // Shown again after a refused save, the keyboard may still be up.
        if (m_keyboardHeight > 0.0) {
            repositionPopover(m_keyboardHeight);
        }
        return;
    }
    const std::shared_ptr<IPadDayViewController> dayViewController = m_dayViewController.lock();
    const std::shared_ptr<DayView> card = dayViewController ? dayViewController->dayView() : nullptr;
    if (card && card->window()) {
        m_popoverController->presentPopoverFromRect(card->bounds(), *card, sideways, true);
        return;
    }
    if (const std::shared_ptr<View> week = m_weekScrollView.lock(); week && week->window()) {
        const Rect middle(week->bounds().center(), Size());
        m_popoverController->presentPopoverFromRect(middle, *week, PopoverArrowDirections(), true);
    }
}

void IPadEventDetailsController::viewWillAppear(bool animated) {
    BaseTableViewController::viewWillAppear(animated);
    if (!allDay() && !m_titleCell->textField().isEditing()) {
        tableView()->selectRowAtIndexPath(timeRowIndexPath, false, TableView::ScrollPosition::None);
    }
}

void IPadEventDetailsController::viewDidAppear(bool animated) {
    BaseTableViewController::viewDidAppear(animated);
    // The form is filled before the popover shows, while the title field cannot take the
    // keyboard yet.
    if (m_eventModel && allDay() && !m_titleCell->textField().isFirstResponder()) {
        m_titleCell->textField().becomeFirstResponder();
    }
}

// Live editing.

void IPadEventDetailsController::textChanged() {
    if (!m_eventModel) {
        return;
    }
    m_eventModel->setTitle(m_titleCell->textField().text());
    eventModelChanged();
}

void IPadEventDetailsController::timeChanged() {
    if (!m_eventModel) {
        return;
    }
    m_eventModel->setDate(m_timePicker->date());
    m_timeCell->setTime(m_eventModel->date());
    eventModelChanged();
}

void IPadEventDetailsController::calendarChanged(const std::shared_ptr<EKCalendar>& calendar) {
    if (!m_eventModel) {
        return;
    }
    m_eventModel->setCalendar(calendar);
    eventModelChanged();
}

void IPadEventDetailsController::allDayValueChanged() {
    if (!m_eventModel) {
        return;
    }
    const bool on = m_allDayCell->allDaySwitch()->on();
    if (on == m_eventModel->allDay()) {
        return;
    }
    m_eventModel->setAllDay(on);
    if (on) {
        tableView()->deleteRowsAtIndexPaths({timeRowIndexPath}, TableView::RowAnimation::Fade);
        m_titleCell->textField().becomeFirstResponder();
        setContentSizeForViewInPopover(Size(width, allDayHeight));
    } else {
        tableView()->insertRowsAtIndexPaths({timeRowIndexPath}, TableView::RowAnimation::Fade);
        setContentSizeForViewInPopover(Size(width, tableHeight));
    }
    eventModelChanged();
}

void IPadEventDetailsController::deselectTimeSection() {
    if (isViewLoaded() && tableView()->indexPathForSelectedRow() == timeRowIndexPath) {
        tableView()->deselectRowAtIndexPath(timeRowIndexPath, false);
    }
    setContentSizeForViewInPopover(Size(width, allDay() ? allDayHeight : tableHeight));
}

void IPadEventDetailsController::eventModelChanged() {
    m_eventModelChanged = true;
    const std::shared_ptr<EKEvent> event = m_eventModel->ekEvent();
    if (!event) {
        return;
    }
    const bool isNew = !m_eventModel->identifier();
    if (const std::shared_ptr<EventView> row = m_currentEventView.lock()) {
        row->initializeWithEvent(event, m_eventModel->date(), false);
        if (isNew) {
            row->setAlpha(IPadDayViewController::placeholderAlpha);
        }
    }
    if (isNew) {
        if (const auto dayViewController = m_dayViewController.lock()) {
            dayViewController->setFakeEvent(event);
        }
    }
}

// Saving and closing.

void IPadEventDetailsController::saveEvent() {
    if (!m_changedElsewhere) {
        saveEvent(true);
        return;
    }
    const std::weak_ptr<IPadEventDetailsController> weak = weakSelf();
    m_changedElsewhere->confirmSave(
        [weak] {
            if (const auto self = weak.lock()) {
                self->saveEvent(true);
            }
        },
        weakScreenAction(weak, &IPadEventDetailsController::dismissPopover));
}

void IPadEventDetailsController::saveEvent(bool) {
    if (!m_eventModel) {
        return;
    }
    const EventModel kept = *m_eventModel;
    const std::shared_ptr<EKEvent> event = kept.ekEvent();
    const bool isNew = !kept.identifier();
    // Later reports of the form change nothing.
    m_eventModel.reset();
    if (m_popoverController) {
        m_popoverController->dismissPopoverAnimated(true);
    }
    if (!event) {
        // The event left the store while it was edited: there is nothing to save.
        onPopoverHide(false);
        return;
    }
    const std::shared_ptr<IPadDayViewController> dayViewController = m_dayViewController.lock();
    // The day as shown before the slide, put back should the store refuse the save.
    const std::shared_ptr<EKEvent> shownEvent =
        !isNew && dayViewController ? dayViewController->findEventByEventIdentifier(*kept.identifier())
                                    : nullptr;
    // The completion holds the editor: the save and the removal of the placeholder must happen
    // even when another tap has replaced the editor during the slide. It runs once and lets go.
    auto completion = [self = std::static_pointer_cast<IPadEventDetailsController>(shared_from_this()), event,
                       kept, shownEvent] {
        if (!EventService::sharedInstance().saveEvent(event, EKSpan::ThisEvent)) {
            self->saveRefused(kept, shownEvent);
            return;
        }
        if (const auto reportTo = self->m_delegate.lock()) {
            reportTo->eventSaved(event, true, false, false);
        }
        self->onPopoverHide(false);
    };
    if (!dayViewController) {
        completion();
    } else if (isNew) {
        dayViewController->animateFakeEventIntoPosition(std::move(completion));
    } else {
        dayViewController->animateEventIntoPosition(event, std::move(completion));
    }
}

void IPadEventDetailsController::saveRefused(const EventModel& eventModel,
                                             const std::shared_ptr<EKEvent>& shownEvent) {
    m_eventModel = eventModel;
    m_eventModelChanged = true;
    std::shared_ptr<EventView> row;
    if (const auto dayViewController = m_dayViewController.lock()) {
        if (shownEvent) {
            // The slide took the edit into the day's list; the day shows what the store holds.
            EventList events = dayViewController->displayedEvents();
            events.update(shownEvent);
            dayViewController->setDisplayedEvents(std::move(events));
            row = dayViewController->findEventViewByEventIdentifier(shownEvent->eventIdentifier());
        } else if (const std::shared_ptr<EKEvent>& placeholder = dayViewController->fakeEvent()) {
            // Filled again, the placeholder row is half transparent once more.
            dayViewController->setFakeEvent(placeholder);
            dayViewController->populateViewsAnimated(false);
            row = dayViewController->findEventViewByEvent(*placeholder);
        }
    }
    m_currentEventView = row;
    presentPopover();
    // The store's alert was shown before the popover came back; it stays in front and keeps the
    // touches and the keys until it is answered.
    for (const std::shared_ptr<AlertView>& alert : AlertView::queuedAlerts()) {
        if (alert->isVisible()) {
            if (const std::shared_ptr<View> cover = alert->superview()) {
                if (const std::shared_ptr<View> window = cover->superview()) {
                    window->bringSubviewToFront(*cover);
                }
            }
        }
    }
}

void IPadEventDetailsController::dismissPopover() {
    onPopoverHide(false);
    if (m_popoverController) {
        m_popoverController->dismissPopoverAnimated(true);
    }
}

bool IPadEventDetailsController::popoverControllerShouldDismissPopover(PopoverController&) {
    if (m_eventModelChanged && m_eventModel && m_changedElsewhere &&
        m_changedElsewhere->changedSinceOpened()) {
        // The popover stays while the person is asked; the answer saves or closes it.
        saveEvent();
        return false;
    }
    if (m_eventModelChanged && m_eventModel) {
        saveEvent(false);
    } else {
        onPopoverHide(false);
    }
    return true;
}

void IPadEventDetailsController::onPopoverHide(bool animated) {
    moveWeekScrollViewDownIfNecessary();
    NotificationCenter::defaultCenter().removeObserver(this);
    if (const auto dayViewController = m_dayViewController.lock()) {
        dayViewController->removeFakeEventAnimated(animated);
    }
    m_titleCell->textField().resignFirstResponder();
    m_currentEventView.reset();
    if (onHide) {
        onHide();
    }
}

bool IPadEventDetailsController::textFieldShouldReturn(TextField&) {
    saveEvent();
    return false;
}

bool IPadEventDetailsController::handleScreenKeyInput(const KeyInput& input) {
    if (!m_eventModel) {
        return false;
    }
    const std::weak_ptr<IPadEventDetailsController> weak = weakSelf();
    return TitleFieldTyping::typeIntoTitle(input, m_titleCell->textField(), [weak] {
        if (const auto self = weak.lock()) {
            self->tableView()->selectRowAtIndexPath(IndexPath(0, titleSection), false,
                                                    TableView::ScrollPosition::None);
            self->didSelectRowAtIndexPath(*self->tableView(), IndexPath(0, titleSection));
        }
    });
}

// The keyboard.

void IPadEventDetailsController::keyboardWillOpenOrDock(const Notification& notification) {
    const double keyboardHeight =
        notification.rectValue(Keyboard::frameEndUserInfoKey).value_or(Rect()).height();
    m_keyboardHeight = keyboardHeight;
    if (m_weekScrollViewMovedUpPixels != 0.0) {
        return;
    }
    const std::shared_ptr<EventView> row = m_currentEventView.lock();
    const double rowTop = row ? row->convertRectToView(row->bounds(), nullptr).y() : 0.0;
    const double limit = portraitScreenHeight - keyboardHeight - keyboardMargin;
    if (rowTop > limit) {
        m_weekScrollViewMovedUpPixels = rowTop - limit;
    }
    moveWeekScrollViewBy(-m_weekScrollViewMovedUpPixels, keyboardHeight, {});
}

void IPadEventDetailsController::keyboardWillCloseOrUndock(const Notification&) {
    m_keyboardHeight = 0.0;
    const bool moved = m_weekScrollViewMovedUpPixels != 0.0;
    moveWeekScrollViewDownIfNecessary();
    if (!moved) {
        repositionPopover(0.0);
    }
}

void IPadEventDetailsController::moveWeekScrollViewDownIfNecessary() {
    if (m_weekScrollViewMovedUpPixels == 0.0) {
        return;
    }
    const std::weak_ptr<IPadEventDetailsController> weak = weakSelf();
    moveWeekScrollViewBy(m_weekScrollViewMovedUpPixels, 0.0, [weak] {
        if (const auto self = weak.lock()) {
            self->m_weekScrollViewMovedUpPixels = 0.0;
        }
    });
}

void IPadEventDetailsController::moveWeekScrollViewBy(double dy, double keyboardHeight,
                                                      const std::function<void()>& completion) {
    const std::shared_ptr<View> week = m_weekScrollView.lock();
    if (week && dy != 0.0) {
        // The navigation controller lays its screen's frame out again whenever it lays itself out;
        // the week's content moves by its bounds, which that leaves alone.
        View::animate(
            weekMoveDuration, [week, dy] { week->setBounds(week->bounds().offset(0, -dy)); },
            [completion](bool) {
                if (completion) {
                    completion();
                }
            });
    } else if (completion) {
        completion();
    }
    repositionPopover(keyboardHeight);
}

void IPadEventDetailsController::repositionPopover(double keyboardHeight) {
    const std::shared_ptr<EventView> row = m_currentEventView.lock();
    if (m_popoverController && row && row->superview()) {
        m_popoverController->repositionPopoverFromRect(row->frame(), *row->superview(), keyboardHeight, true);
    }
}

// The table.

int IPadEventDetailsController::numberOfSectionsInTableView(TableView&) {
    return sectionCount;
}

int IPadEventDetailsController::numberOfRowsInSection(TableView&, int section) {
    return section == timeSection && allDay() ? 0 : 1;
}

std::shared_ptr<TableViewCell> IPadEventDetailsController::cellForRowAtIndexPath(TableView&,
                                                                                 const IndexPath& indexPath) {
    switch (indexPath.section()) {
    case titleSection:
        return m_titleCell;
    case allDaySection:
        return m_allDayCell;
    case timeSection:
        return m_timeCell;
    default:
        return m_calendarCell;
    }
}

std::optional<double> IPadEventDetailsController::heightForHeaderInSection(TableView&, int section) {
    if (section == timeSection && allDay()) {
        return editorCollapsedSpacing;
    }
    return section == titleSection ? editorFirstHeaderHeight : editorGroupSpacing;
}

std::optional<double> IPadEventDetailsController::heightForFooterInSection(TableView&, int section) {
    return section == timeSection && allDay() ? editorCollapsedSpacing : editorGroupSpacing;
}

std::optional<IndexPath> IPadEventDetailsController::willSelectRowAtIndexPath(TableView&,
                                                                              const IndexPath& indexPath) {
    if (indexPath.section() == titleSection || indexPath.section() == timeSection) {
        return indexPath;
    }
    // The switch and the calendar strip take their own touches; a tap beside them keeps the
    // time row chosen, unless the title is being typed.
    if (m_titleCell->textField().isEditing()) {
        return indexPath;
    }
    if (allDay()) {
        return std::nullopt;
    }
    return timeRowIndexPath;
}

void IPadEventDetailsController::didSelectRowAtIndexPath(TableView&, const IndexPath& indexPath) {
    if (indexPath.section() == titleSection) {
        m_titleCell->textField().becomeFirstResponder();
        setContentSizeForViewInPopover(Size(width, tableHeight));
    } else if (indexPath.section() == timeSection) {
        m_titleCell->textField().resignFirstResponder();
        setContentSizeForViewInPopover(Size(width, heightWithTimePicker));
    }
}
