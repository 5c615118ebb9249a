#include "core/events/EventService.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/UserChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "core/events/Account.h"
#include "core/events/CalendarGroup.h"
#include "core/events/EventStoreChangeThrottler.h"
#include "core/events/LogAlertPresenter.h"
#include "core/events/NetworkActivityIndicator.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/WallClock.h"
#include "core/settings/AppSettings.h"
#include "core/sync/WebCalendarSubscriptions.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Log.h"

#include <QHash>

#include <algorithm>
#include <mutex>

namespace {

const QString logCategory = QStringLiteral("eventservice");

struct SharedService {
    std::mutex mutex;
    std::shared_ptr<EventService> service;
};

// Never destroyed: background threads may use the service until the process ends.
SharedService& sharedService() {
    static auto* const holder = new SharedService;
    return *holder;
}

bool isBirthdayCalendar(const EKCalendar& calendar) {
    return calendar.type() == EKCalendarType::Birthday;
}

bool isWritable(const EKCalendar& calendar) {
    return !isBirthdayCalendar(calendar) && calendar.allowsContentModifications();
}

// The three identifier forms in the order in which lookups try them.
std::optional<QString> identifierForm(const EKCalendar& calendar, int pass) {
    switch (pass) {
    case 0:
        return Account::identifierUsingiOS5Identifier(calendar);
    case 1:
        return Account::identifierUsingSourceTitle(calendar);
    default:
        return Account::identifierUsingAccountFromDescription(calendar);
    }
}

// The end of `event` once its start moves to `start`. All-day events keep their number of calendar
// days, which are 23 or 25 hours long where the clocks change; other events keep their length.
Date endOfMovedEvent(const EKEvent& event, Date start) {
    if (event.allDay()) {
        return DateUtilities::addDays(event.endDate(), DateUtilities::daysTo(event.startDate(), start));
    }
    return start.addingTimeInterval(event.endDate().timeIntervalSinceDate(event.startDate()));
}

// The length of a span as the wall clock shows it, so that a day on which the clocks go back
// counts as one day, not 25 hours.
double wallClockLength(Date start, Date end) {
    return static_cast<double>(WallClock::wallSeconds(end, QString()) -
                               WallClock::wallSeconds(start, QString()));
}

} // namespace

EventService& EventService::sharedInstance() {
    SharedService& holder = sharedService();
    std::lock_guard lock(holder.mutex);
    if (!holder.service) {
        holder.service = std::make_shared<EventService>(std::make_shared<EKEventStore>());
    }
    return *holder.service;
}

std::shared_ptr<EventService> EventService::setSharedInstance(std::shared_ptr<EventService> eventService) {
    SharedService& holder = sharedService();
    std::lock_guard lock(holder.mutex);
    return std::exchange(holder.service, std::move(eventService));
}

EventService::EventService(std::shared_ptr<EKEventStore> eventStore)
    : m_eventStore(std::move(eventStore)),
      m_throttler(std::make_unique<EventStoreChangeThrottler>(*m_eventStore)),
      m_appSettings(&AppSettings::instance()), m_alertPresenter(std::make_shared<LogAlertPresenter>()) {}

// The throttler goes first: it stops observing the store it refers to.
EventService::~EventService() {
    m_throttler.reset();
}

EventList EventService::sortedList(std::vector<std::shared_ptr<EKEvent>> events) const {
    EventList list(std::move(events));
    list.sort();
    return list;
}

std::vector<std::shared_ptr<EKEvent>> EventService::storeEvents(Date from, Date to) const {
    return m_eventStore->eventsMatchingPredicate(
        m_eventStore->predicateForEvents(from, to, visibleCalendars()));
}

EventList EventService::synchronousFindEventsFromDateTime(Date from, Date to) const {
    std::vector<std::shared_ptr<EKEvent>> events = storeEvents(from, to);
    std::erase_if(events, [from, to](const std::shared_ptr<EKEvent>& event) {
        return !ReadOnlyCheck::happensInPeriodFromDate(*event, from, to);
    });
    return sortedList(std::move(events));
}

EventList EventService::synchronousFindEventsForEntireWeek(const Week& week) const {
    return synchronousFindEventsFromDateTime(week.firstDay().beginDateTime(), week.lastDay().endDateTime());
}

EventList EventService::findEventsInWeek(const Week& week) const {
    return synchronousFindEventsForEntireWeek(week);
}

EventList EventService::synchronousFindEventsForEntireDay(const Day& day) const {
    const Date begin = day.beginDateTime();
    std::vector<std::shared_ptr<EKEvent>> events = storeEvents(begin, day.endDateTime());
    std::erase_if(events, [begin](const std::shared_ptr<EKEvent>& event) {
        return !ReadOnlyCheck::happensOnDay(*event, begin);
    });
    return sortedList(std::move(events));
}

EventList EventService::synchronousFindAllEventsFromDateTime(Date from, Date to) const {
    return sortedList(storeEvents(from, to));
}

std::shared_ptr<EKEvent> EventService::eventByIdentifier(const QString& identifier) const {
    if (identifier.isEmpty()) {
        return nullptr;
    }
    return m_eventStore->eventWithIdentifier(identifier);
}

std::shared_ptr<EKEvent> EventService::newEventForDay(const Day& day) const {
    std::shared_ptr<EKEvent> event = EKEvent::eventWithEventStore(*m_eventStore);
    event->setStartDate(day.noon());
    return fillDefaultEventProperties(std::move(event));
}

std::shared_ptr<EKEvent> EventService::fillDefaultEventProperties(std::shared_ptr<EKEvent> event) const {
    event->setEndDate(event->startDate().addingTimeInterval(3600.0));
    event->setCalendar(m_appSettings->loadDefaultCalendar(*this));
    ReadOnlyCheck::applyAlarms(*event, m_appSettings->defaultAlarmsAsEKAlarms());
    return event;
}

std::shared_ptr<EKEvent> EventService::copyEvent(const EKEvent& event, Date date) {
    std::shared_ptr<EKEvent> copy = EKEvent::eventWithEventStore(*m_eventStore);
    copy->setTitle(event.title());
    const Date start = DateUtilities::applyDateWithoutTime(event.startDate(), date);
    copy->setStartDate(start);
    copy->setEndDate(endOfMovedEvent(event, start));
    copy->setAllDay(event.allDay());
    copy->setLocation(event.location());
    copy->setAlarms(event.alarms());
    copy->setCalendar(event.calendar());
    saveEvent(copy, EKSpan::ThisEvent, EKUndo::Kept);
    return copy;
}

void EventService::applyDate(Date date, EKEvent& event, bool allday) const {
    if (allday) {
        date = DateUtilities::day(date).beginDateTime();
    }
    Date end = date.addingTimeInterval(event.endDate().timeIntervalSinceDate(event.startDate()));
    if (event.allDay()) {
        end = allday ? endOfMovedEvent(event, date) : date.addingTimeInterval(3600.0);
    }
    event.setAllDay(allday);
    event.setStartDate(date);
    event.setEndDate(end);
}

bool EventService::saveEvent(const std::shared_ptr<EKEvent>& event, EKSpan span, EKUndo undo) {
    StoreError error;
    const bool saved = m_eventStore->saveEvent(event, span, &error, undo);
    ApplicationEventDispatcher::sharedInstance().dispatch<UserChangedEvent>();
    if (!saved) {
        displayError(error, QStringLiteral("Error saving event"));
        logFailedSave(error, *event);
    }
    return saved;
}

bool EventService::deleteEvent(const std::shared_ptr<EKEvent>& event, EKSpan span) {
    StoreError error;
    const bool removed = m_eventStore->removeEvent(event, span, &error, EKUndo::Kept);
    ApplicationEventDispatcher::sharedInstance().dispatch<UserChangedEvent>();
    if (!removed) {
        displayError(error, QStringLiteral("Error deleting event"));
    }
    return removed;
}

bool EventService::undoLastChange() {
    if (!m_eventStore->canUndo()) {
        return false;
    }
    StoreError error;
    const bool undone = m_eventStore->undo(&error);
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    dispatcher.dispatch<UserChangedEvent>();
    if (!undone) {
        displayError(error, QStringLiteral("Cannot Undo"));
        return false;
    }
    // No screen shows the change by itself, as they do for a save: every one reads its data again.
    dispatcher.dispatch<EventStoreChangedEvent>();
    return true;
}

void EventService::logFailedSave(const StoreError& error, const EKEvent& event) const {
    Log::error(
        logCategory,
        QStringLiteral("Error = %1 (code %2)").arg(error.localizedDescription, QString::number(error.code)));
    Log::error(logCategory, QStringLiteral("event = %1").arg(event.description()));
    const std::vector<std::shared_ptr<EKCalendar>> calendars = m_eventStore->calendars();
    Log::error(logCategory, QStringLiteral("calendars.count = %1").arg(calendars.size()));
    for (const std::shared_ptr<EKCalendar>& calendar : calendars) {
        Log::error(logCategory, QStringLiteral("calendar = %1").arg(calendar->descriptionText()));
    }
}

std::vector<std::shared_ptr<CalendarGroup>> EventService::calendarGroups() const {
    return groupCalendars(m_eventStore->calendars());
}

std::vector<std::shared_ptr<CalendarGroup>>
EventService::groupCalendars(const std::vector<std::shared_ptr<EKCalendar>>& calendars) {
    std::vector<std::shared_ptr<CalendarGroup>> groups;
    QHash<QString, std::shared_ptr<CalendarGroup>> groupsByKey;
    for (const std::shared_ptr<EKCalendar>& calendar : calendars) {
        const QString key = Account::uniqueSortableSourceId(*calendar);
        std::shared_ptr<CalendarGroup>& group = groupsByKey[key];
        if (!group) {
            const std::shared_ptr<const EKSource> source = calendar->source();
            group = std::make_shared<CalendarGroup>(source ? source->title() : QString(), key, source);
            groups.push_back(group);
        }
        group->calendars().push_back(calendar);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const std::shared_ptr<CalendarGroup>& a, const std::shared_ptr<CalendarGroup>& b) {
                         return QString::compare(a->sortString(), b->sortString(), Qt::CaseInsensitive) < 0;
                     });
    for (const std::shared_ptr<CalendarGroup>& group : groups) {
        group->sortCalendarsOnTitle();
    }
    return groups;
}

bool EventService::isHidden(const EKCalendar& calendar,
                            const std::vector<std::shared_ptr<EKCalendar>>& hiddenCalendars) const {
    return std::any_of(
        hiddenCalendars.begin(), hiddenCalendars.end(),
        [&calendar](const std::shared_ptr<EKCalendar>& hidden) { return hidden->isEqual(calendar); });
}

std::vector<std::shared_ptr<EKCalendar>> EventService::editableCalendars() const {
    const std::vector<std::shared_ptr<EKCalendar>> hidden = m_appSettings->loadHiddenCalendars(*this);
    std::vector<std::shared_ptr<EKCalendar>> editable;
    for (const std::shared_ptr<CalendarGroup>& group : calendarGroups()) {
        for (const std::shared_ptr<EKCalendar>& calendar : group->calendars()) {
            if (!isHidden(*calendar, hidden) && isWritable(*calendar)) {
                editable.push_back(calendar);
            }
        }
    }
    return editable;
}

std::vector<std::shared_ptr<EKCalendar>> EventService::editableAndInvisibleCalendars() const {
    std::vector<std::shared_ptr<EKCalendar>> calendars = m_eventStore->calendars();
    std::erase_if(calendars,
                  [](const std::shared_ptr<EKCalendar>& calendar) { return !isWritable(*calendar); });
    return calendars;
}

std::vector<std::shared_ptr<EKCalendar>> EventService::visibleCalendars() const {
    const std::vector<std::shared_ptr<EKCalendar>> hidden = m_appSettings->loadHiddenCalendars(*this);
    std::vector<std::shared_ptr<EKCalendar>> calendars = m_eventStore->calendars();
    std::erase_if(calendars, [this, &hidden](const std::shared_ptr<EKCalendar>& calendar) {
        return isHidden(*calendar, hidden);
    });
    return calendars;
}

std::shared_ptr<EKCalendar> EventService::systemDefaultCalendar() const {
    if (std::shared_ptr<EKCalendar> storeDefault = m_eventStore->defaultCalendarForNewEvents()) {
        return storeDefault;
    }
    const std::vector<std::shared_ptr<EKCalendar>> visible = visibleCalendars();
    if (!visible.empty()) {
        return visible.front();
    }
    const std::vector<std::shared_ptr<EKCalendar>> writable = editableAndInvisibleCalendars();
    return writable.empty() ? nullptr : writable.front();
}

std::shared_ptr<EKCalendar> EventService::findCalendarByIdentifier(const QString& identifier) const {
    const std::vector<std::shared_ptr<EKCalendar>> calendars = m_eventStore->calendars();
    for (int pass = 0; pass < 3; ++pass) {
        for (const std::shared_ptr<EKCalendar>& calendar : calendars) {
            if (identifierForm(*calendar, pass) == identifier) {
                return calendar;
            }
        }
    }
    return nullptr;
}

bool EventService::saveCalendar(const std::shared_ptr<EKCalendar>& calendar) {
    StoreError error;
    const bool saved = m_eventStore->saveCalendar(calendar, true, &error);
    if (!saved) {
        displayError(error, QStringLiteral("Error saving calendar"));
    }
    return saved;
}

bool EventService::deleteCalendar(const std::shared_ptr<EKCalendar>& calendar) {
    StoreError error;
    const bool removed = m_eventStore->removeCalendar(calendar, true, &error);
    if (!removed) {
        displayError(error, QStringLiteral("Error deleting calendar"));
    }
    return removed;
}

std::shared_ptr<EKCalendar> EventService::newCalendarForSource(std::shared_ptr<const EKSource> source) const {
    std::shared_ptr<EKCalendar> calendar = EKCalendar::calendarWithEventStore(*m_eventStore);
    calendar->setSource(std::move(source));
    return calendar;
}

void EventService::refreshSourcesIfNecessary() {
    DispatchQueue::main().async([] { NetworkActivityIndicator::setVisible(true); });
    m_eventStore->refreshSourcesIfNecessary();
    WebCalendarSubscriptions(*m_eventStore).refreshDueLoggingProblems();
    DispatchQueue::main().async([] { NetworkActivityIndicator::setVisible(false); });
}

std::vector<Holiday> EventService::extractHolidaysFromEvents(const EventList& events) {
    // Holiday records are immutable, so the spans are gathered first.
    struct Span {
        std::shared_ptr<EKEvent> event;
        Date startDateTime;
        Date endDateTime;
    };
    constexpr double adjacentOccurrenceTolerance = 5.0;
    // More than one calendar day, on the wall clock.
    constexpr double minimumHolidayDuration = 90000.0;

    std::vector<Span> spans;
    QHash<QString, std::size_t> positionByIdentifier;
    for (const std::shared_ptr<EKEvent>& event : events.array()) {
        const std::shared_ptr<EKCalendar> calendar = event->calendar();
        const bool repeating = event->hasRecurrenceRules() && !(calendar && isBirthdayCalendar(*calendar));
        if (repeating) {
            const auto known = positionByIdentifier.constFind(event->eventIdentifier());
            if (known != positionByIdentifier.constEnd() &&
                event->startDate().timeIntervalSinceDate(spans[*known].endDateTime) <
                    adjacentOccurrenceTolerance) {
                spans[*known].endDateTime = event->endDate();
            } else {
                spans.push_back({event, event->startDate(), event->endDate()});
                positionByIdentifier[event->eventIdentifier()] = spans.size() - 1;
            }
        } else if (wallClockLength(event->startDate(), event->endDate()) >= minimumHolidayDuration) {
            spans.push_back({event, event->startDate(), event->endDate()});
        }
    }
    std::vector<Holiday> holidays;
    for (const Span& span : spans) {
        if (wallClockLength(span.startDateTime, span.endDateTime) >= minimumHolidayDuration) {
            holidays.emplace_back(span.event, span.startDateTime, span.endDateTime);
        }
    }
    return holidays;
}

void EventService::displayError(const StoreError& error, const QString& title) const {
    if (m_alertPresenter) {
        m_alertPresenter->showAlert(title, error.localizedDescription, QStringLiteral("OK"));
    }
}

void EventService::setAlertPresenter(std::shared_ptr<AlertPresenter> alertPresenter) {
    m_alertPresenter = std::move(alertPresenter);
}
