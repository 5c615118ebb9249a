#include "ui/week/WeekViewController.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/events/EventService.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/eventstore/EKEvent.h"
#include "foundation/DispatchQueue.h"
#include "kit/Screen.h"
#include "ui/daybox/DayView.h"
#include "ui/week/DayViewController.h"
#include "ui/week/WeekArtwork.h"

#include <cmath>
#include <utility>

namespace {

// The page colour shows through the 1-point gaps around the day boxes.
constexpr Color pageColor = Color::fromRgb255(192, 203, 211);

bool denseScreen() {
    return Screen::main().scale() == 2.0;
}

} // namespace

std::shared_ptr<WeekViewController> WeekViewController::create(std::shared_ptr<EventTouchLock> touchLock) {
    auto page = std::make_shared<WeekViewController>(std::move(touchLock));
    page->view();
    return page;
}

WeekViewController::WeekViewController(std::shared_ptr<EventTouchLock> touchLock)
    : m_eventService(EventService::sharedInstance()),
      m_dispatcher(ApplicationEventDispatcher::sharedInstance()), m_touchLock(std::move(touchLock)) {}

WeekViewController::~WeekViewController() {
    m_dispatcher.unregisterAllEventsForTarget(this);
}

void WeekViewController::loadView() {
    auto page = std::make_shared<View>(Rect(Point(0, 0), pageSize()));
    page->setBackgroundColor(pageColor);
    setView(page);
}

Size WeekViewController::pageSize() const {
    return Size(WeekArtwork::pageWidth, WeekArtwork::pageHeight);
}

void WeekViewController::viewDidLoad() {
    layOutDayViews();
    m_dispatcher.registerTarget<EventStoreChangedEvent>(this, &WeekViewController::reload);
}

void WeekViewController::viewDidUnload() {
    m_dispatcher.unregisterAllEventsForTarget(this);
}

std::shared_ptr<DayViewController> WeekViewController::newDayViewController(bool halfSize, Point point) {
    return DayViewController::create(point, halfSize, m_touchLock);
}

std::shared_ptr<DayViewController> WeekViewController::createDayView(double x, double y, bool weekend) {
    std::shared_ptr<DayViewController> day = newDayViewController(weekend, Point(x, y));
    view()->addSubview(day->view());
    m_dayViewControllers.push_back(day);
    return day;
}

void WeekViewController::layOutDayViews() {
    if (denseScreen()) {
        positionDayViews(159.5, 138.5, 1, 1);
    } else {
        positionDayViews(159, 138, 1, 1);
    }
}

void WeekViewController::positionDayViews(double width, double height, double paddingLeft,
                                          double paddingTop) {
    double x = paddingLeft;
    double y = paddingTop;
    bool leftColumn = true;
    for (int i = 0; i < 5; ++i) {
        createDayView(x, y, false)->setLeftColumn(leftColumn);
        y += height;
        if (y > paddingTop + 2 * height) {
            y = paddingTop;
            x += width;
            leftColumn = false;
        }
    }
    createDayView(x, y, true);
    createDayView(x, y + std::floor(height / 2), true);
    adjustDayViews();
}

void WeekViewController::adjustDayViews() {
    const auto box = [this](int index) -> View& { return *m_dayViewControllers[index]->view(); };
    if (denseScreen()) {
        box(2).moveFrameHeight(-0.5);
        return;
    }
    box(2).moveFrameHeight(1);
    box(6).moveFrameHeight(1);
    for (int index : {3, 4, 5, 6}) {
        box(index).moveFrameWidth(1);
    }
}

void WeekViewController::clearWithWeek(const Week& week, bool firstTime) {
    if (m_displayedWeek == week) {
        return;
    }
    m_displayedWeek = week;
    m_weekGeneration->fetch_add(1);
    m_weekEvents = WeekEvents::Unread;
    m_afterLoad.clear();
    Day day = week.firstDay();
    for (const auto& controller : m_dayViewControllers) {
        controller->initializeWithDate(day.beginDateTime(), firstTime);
        day = day.nextDay();
    }
}

std::vector<Date> WeekViewController::dayStarts() const {
    std::vector<Date> starts;
    starts.reserve(m_dayViewControllers.size());
    for (const auto& controller : m_dayViewControllers) {
        starts.push_back(controller->displayedDate());
    }
    return starts;
}

std::optional<std::vector<EventList>>
WeekViewController::splitIntoDays(const EventList& events, const std::vector<Date>& dayStarts,
                                  const std::function<bool()>& isCurrent) {
    std::vector<EventList> days;
    days.reserve(dayStarts.size());
    for (Date dayStart : dayStarts) {
        EventList day(events.size());
        for (const auto& event : events.array()) {
            if (!isCurrent()) {
                return std::nullopt;
            }
            if (ReadOnlyCheck::happensOnDay(*event, dayStart)) {
                day.addWithoutSort(event);
            }
        }
        day.sort();
        days.push_back(std::move(day));
    }
    return days;
}

void WeekViewController::load(std::function<void()> completion) {
    if (!m_displayedWeek) {
        return;
    }
    m_loadingEvents = true;
    if (m_weekEvents == WeekEvents::Unread) {
        m_weekEvents = WeekEvents::Reading;
    }
    const Week week = *m_displayedWeek;
    const std::vector<Date> starts = dayStarts();
    const std::shared_ptr<std::atomic<unsigned>> generation = m_weekGeneration;
    const unsigned startedWith = generation->load();
    const std::weak_ptr<WeekViewController> weakSelf =
        std::static_pointer_cast<WeekViewController>(shared_from_this());
    DispatchQueue::global().async([=, fetch = eventsFetcher(), completion = std::move(completion)] {
        const EventList events = fetch(week);
        std::optional<std::vector<EventList>> days =
            splitIntoDays(events, starts, [&] { return generation->load() == startedWith; });
        if (!days) {
            return;
        }
        DispatchQueue::main().sync([&] {
            const std::shared_ptr<WeekViewController> self = weakSelf.lock();
            // The page may have been given another week while the main thread was busy.
            if (self && generation->load() == startedWith) {
                self->distribute(std::move(*days), completion);
            }
        });
    });
}

void WeekViewController::ensureLoaded(std::function<void()> completion) {
    switch (m_weekEvents) {
    case WeekEvents::Unread:
        load(std::move(completion));
        return;
    case WeekEvents::Reading:
        if (completion) {
            m_afterLoad.push_back(std::move(completion));
        }
        return;
    case WeekEvents::Shown:
        if (completion) {
            completion();
        }
        return;
    }
}

WeekViewController::EventsFetcher WeekViewController::eventsFetcher() const {
    EventService* service = &m_eventService;
    return [service](const Week& week) { return service->findEventsInWeek(week); };
}

void WeekViewController::distribute(std::vector<EventList> days, const std::function<void()>& completion) {
    for (std::size_t i = 0; i < m_dayViewControllers.size() && i < days.size(); ++i) {
        m_dayViewControllers[i]->setDisplayedEvents(std::move(days[i]));
    }
    m_loadingEvents = false;
    m_weekEvents = WeekEvents::Shown;
    for (const auto& controller : m_dayViewControllers) {
        controller->populateViewsAnimated(true);
    }
    if (m_searchResultToHighlight) {
        const SearchResult result = *m_searchResultToHighlight;
        m_searchResultToHighlight.reset();
        highlightSearchResult(result);
    }
    if (completion) {
        completion();
    }
    for (const auto& waiting : std::exchange(m_afterLoad, {})) {
        waiting();
    }
}

void WeekViewController::reload(const std::shared_ptr<EventStoreChangedEvent>&) {
    load();
}

void WeekViewController::addEvent(const std::shared_ptr<EKEvent>& event, bool animated, bool delayed) {
    for (const auto& controller : m_dayViewControllers) {
        if (ReadOnlyCheck::happensOnDay(*event, controller->displayedDate())) {
            controller->addEvent(event, animated, delayed);
        }
    }
}

void WeekViewController::reloadEvent(const std::shared_ptr<EKEvent>& event) {
    for (const auto& controller : m_dayViewControllers) {
        if (ReadOnlyCheck::happensOnDay(*event, controller->displayedDate())) {
            controller->reloadEvent(event);
        } else {
            controller->removeEvent(event->eventIdentifier(), true, true);
        }
    }
}

void WeekViewController::removeEvent(const QString& eventIdentifier, bool animated, bool delayed) {
    for (const auto& controller : m_dayViewControllers) {
        controller->removeEvent(eventIdentifier, animated, delayed);
    }
}

void WeekViewController::selectEvent(const EKEvent& event) {
    for (const auto& controller : m_dayViewControllers) {
        controller->selectEvent(event);
    }
}

void WeekViewController::deselectEvents() {
    for (const auto& controller : m_dayViewControllers) {
        controller->deselectEvents();
    }
}

void WeekViewController::flashEvent(const EKEvent& event, bool delayed) {
    for (const auto& controller : m_dayViewControllers) {
        controller->flashEvent(event, delayed);
    }
}

void WeekViewController::deselectEventsAnimated(bool animated, bool delayed) {
    for (const auto& controller : m_dayViewControllers) {
        controller->deselectEventsAnimated(animated, delayed);
    }
}

void WeekViewController::highlightSearchResult(const SearchResult& result) {
    if (m_loadingEvents) {
        m_searchResultToHighlight = result;
        return;
    }
    for (const auto& controller : m_dayViewControllers) {
        if (DateUtilities::isEqualToDateIgnoreTime(controller->displayedDate(), result.dateTime())) {
            controller->highlightSearchResult(result);
        }
    }
}

void WeekViewController::deselectBackgroundDelayed(bool delayed) {
    for (const auto& controller : m_dayViewControllers) {
        controller->deselectBackgroundDelayed(delayed, true);
    }
}

void WeekViewController::updateHighlightedDay() {
    for (const auto& controller : m_dayViewControllers) {
        controller->highlightIfToday();
    }
}

void WeekViewController::disableEditEvents(bool disable) {
    for (const auto& controller : m_dayViewControllers) {
        controller->disableEditEvents(disable);
    }
}

void WeekViewController::disableMoreButton(bool disable) {
    for (const auto& controller : m_dayViewControllers) {
        controller->disableMoreButton(disable);
    }
}

void WeekViewController::shrinkOrStretchDays(bool bottomBar) {
    // Each column's boxes move by a different amount, so that the column opens a band of 30
    // points at the top (or at the bottom for a bar there).
    int stagger = 30;
    for (const auto& controller : m_dayViewControllers) {
        controller->shrinkOrStretch(stagger, bottomBar);
        stagger -= 10;
        if (stagger == 0) {
            stagger = 30;
        }
    }
}

void WeekViewController::startMoveAnimation(const EKEvent& event, Date date) {
    for (const auto& controller : m_dayViewControllers) {
        if (DateUtilities::isEqualToDateIgnoreTime(controller->displayedDate(), date)) {
            controller->startMoveAnimation(event);
        } else {
            controller->showQuickCopyMoveOverlay(true, true);
        }
    }
}

void WeekViewController::stopMoveAnimation() {
    for (const auto& controller : m_dayViewControllers) {
        controller->stopMoveAnimation();
        controller->showQuickCopyMoveOverlay(false, true);
    }
}

void WeekViewController::startMoveDayOverlayAnimation() {
    for (const auto& controller : m_dayViewControllers) {
        controller->startAnimatingDayOverlay();
    }
}

void WeekViewController::stopMoveDayOverlayAnimation() {
    for (const auto& controller : m_dayViewControllers) {
        controller->stopAnimatingDayOverlay();
    }
}
