#include "ui/calendars/DefaultCalendarViewController.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/VisibleCalendarsChangedEvent.h"
#include "core/events/Account.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKCalendar.h"
#include "core/settings/AppSettings.h"
#include "core/settings/MultiValueSelectControllerDelegate.h"
#include "foundation/Localization.h"
#include "kit/Label.h"
#include "kit/NavigationController.h"
#include "ui/calendars/CalendarCell.h"
#include "ui/calendars/InvisibleCalendarAlertView.h"

#include <algorithm>

std::shared_ptr<DefaultCalendarViewController>
DefaultCalendarViewController::create(MultiValueSelectControllerDelegate* delegate) {
    auto screen = std::make_shared<DefaultCalendarViewController>(EventService::sharedInstance(),
                                                                  AppSettings::instance(), delegate);
    screen->reloadCalendars();
    return screen;
}

DefaultCalendarViewController::DefaultCalendarViewController(EventService& eventService,
                                                             AppSettings& appSettings,
                                                             MultiValueSelectControllerDelegate* delegate)
    : CalendarsViewController(eventService), m_appSettings(&appSettings), m_delegate(delegate) {
    setTitle(localizedString(QStringLiteral("Default Calendar")));
}

DefaultCalendarViewController::~DefaultCalendarViewController() = default;

bool DefaultCalendarViewController::accept(const EKCalendar& calendar) const {
    return calendar.type() != EKCalendarType::Birthday && calendar.allowsContentModifications();
}

bool DefaultCalendarViewController::isHidden(const EKCalendar& calendar) const {
    const std::vector<std::shared_ptr<EKCalendar>> hidden =
        m_appSettings->loadHiddenCalendars(eventService());
    return std::any_of(hidden.begin(), hidden.end(), [&calendar](const std::shared_ptr<EKCalendar>& other) {
        return other->isEqual(calendar);
    });
}

std::shared_ptr<TableViewCell>
DefaultCalendarViewController::cellForRowAtIndexPath(TableView& tableView, const IndexPath& indexPath) {
    auto cell = std::static_pointer_cast<CalendarCell>(
        CalendarsViewController::cellForRowAtIndexPath(tableView, indexPath));
    const std::shared_ptr<EKCalendar> defaultCalendar = m_appSettings->loadDefaultCalendar(eventService());
    const bool isDefault = defaultCalendar && cell->calendar() && defaultCalendar->isEqual(*cell->calendar());
    cell->setChecked(isDefault);
    cell->calendarTitleLabel().setTextColor(isDefault ? defaultCalendarTitleColor() : Color(0, 0, 0));
    cell->setFaded(cell->calendar() && isHidden(*cell->calendar()));
    return cell;
}

void DefaultCalendarViewController::didSelectRowAtIndexPath(TableView& tableView,
                                                            const IndexPath& indexPath) {
    const std::shared_ptr<EKCalendar> calendar = calendarAtIndexPath(indexPath);
    if (!calendar) {
        return;
    }
    if (!isHidden(*calendar)) {
        choose(*calendar);
        return;
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
    m_alert = std::make_shared<InvisibleCalendarAlertView>(
        calendar, std::static_pointer_cast<DefaultCalendarViewController>(shared_from_this()));
    m_alert->show();
}

void DefaultCalendarViewController::clickedButtonAtIndex(AlertView& alertView, int buttonIndex) {
    if (&alertView != m_alert.get()) {
        return;
    }
    const std::shared_ptr<InvisibleCalendarAlertView> alert = std::exchange(m_alert, nullptr);
    if (buttonIndex == InvisibleCalendarAlertView::yesButtonIndex) {
        confirmedMakingCalendarVisibleAndDefault(alert->calendar());
    }
}

void DefaultCalendarViewController::confirmedMakingCalendarVisibleAndDefault(
    const std::shared_ptr<EKCalendar>& calendar) {
    std::vector<std::shared_ptr<EKCalendar>> hidden = m_appSettings->loadHiddenCalendars(eventService());
    std::erase_if(
        hidden, [&calendar](const std::shared_ptr<EKCalendar>& other) { return other->isEqual(*calendar); });
    m_appSettings->storeHiddenCalendars(hidden);
    // The calendar's events are fetched again from now on; screens that cache them must know.
    ApplicationEventDispatcher::sharedInstance().dispatch<VisibleCalendarsChangedEvent>();
    choose(*calendar);
}

void DefaultCalendarViewController::choose(const EKCalendar& calendar) {
    if (m_delegate) {
        m_delegate->optionSelected(Account::identifier(calendar), calendar.title());
    }
    if (const auto navigation = navigationController()) {
        navigation->popViewControllerAnimated(true);
    }
}
