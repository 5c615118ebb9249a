#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "core/events/EventList.h"
#include "core/events/SearchResult.h"
#include "kit/ViewController.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ApplicationEventDispatcher;
class DayViewController;
class EKEvent;
class EventService;
class EventTouchLock;
class EventStoreChangedEvent;

// One page of the week screen: seven day boxes laid out like an open paper planner, the first
// three down the left column, the next two down the right one and the two weekend days sharing
// the bottom-right slot. The page re-dates its boxes when it is given another week, reads the
// week's events on the global queue, splits them into days and hands every day its list on the
// main thread. It reads its week again whenever the event store changes.
class WeekViewController : public ViewController, public BusReceiver {
public:
    static constexpr int daysInWeek = 7;

    // The page and its seven boxes exist as soon as this returns. The rows of all boxes share
    // `touchLock`.
    static std::shared_ptr<WeekViewController> create(std::shared_ptr<EventTouchLock> touchLock);
    explicit WeekViewController(std::shared_ptr<EventTouchLock> touchLock);
    ~WeekViewController() override;

    const std::vector<std::shared_ptr<DayViewController>>& dayViewControllers() const {
        return m_dayViewControllers;
    }
    // None until the first clearWithWeek.
    const std::optional<Week>& displayedWeek() const { return m_displayedWeek; }
    const std::optional<SearchResult>& searchResultToHighlight() const { return m_searchResultToHighlight; }
    bool loadingEvents() const { return m_loadingEvents; }

    // Re-dates the boxes for another week; nothing happens for the week already shown. Events
    // are not read here.
    void clearWithWeek(const Week& week, bool firstTime);
    // Reads the week's events in the background and fills the days on the main thread; the
    // completion runs after that. A load overtaken by another week distributes nothing.
    void load(std::function<void()> completion = {});
    // Runs the completion once the days show the displayed week's events: at once when they do,
    // after the load under way when there is one, and after a new load otherwise, so that the
    // week is read only once. A change of week drops the completion.
    void ensureLoaded(std::function<void()> completion);
    void reload(const std::shared_ptr<EventStoreChangedEvent>& event);

    // Per-event requests, passed on to the days concerned.
    void addEvent(const std::shared_ptr<EKEvent>& event, bool animated, bool delayed);
    void reloadEvent(const std::shared_ptr<EKEvent>& event);
    void removeEvent(const QString& eventIdentifier, bool animated, bool delayed);
    void selectEvent(const EKEvent& event);
    void deselectEvents();
    void flashEvent(const EKEvent& event, bool delayed);
    void deselectEventsAnimated(bool animated, bool delayed);
    void highlightSearchResult(const SearchResult& result);

    // Per-day requests.
    void deselectBackgroundDelayed(bool delayed);
    void updateHighlightedDay();
    void disableEditEvents(bool disable);
    void disableMoreButton(bool disable);
    void shrinkOrStretchDays(bool bottomBar);
    void startMoveAnimation(const EKEvent& event, Date date);
    void stopMoveAnimation();
    void startMoveDayOverlayAnimation();
    void stopMoveDayOverlayAnimation();

    // The seven day lists of a week, split from one sorted fetch: an event shows on every day
    // it overlaps. Empty when `isCurrent` says the week changed meanwhile. Any thread.
    static std::optional<std::vector<EventList>> splitIntoDays(const EventList& events,
                                                               const std::vector<Date>& dayStarts,
                                                               const std::function<bool()>& isCurrent);

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    virtual std::shared_ptr<DayViewController> newDayViewController(bool halfSize, Point point);
    // How a load reads a week; the function runs on the global queue and must not touch the page.
    using EventsFetcher = std::function<EventList(const Week& week)>;
    virtual EventsFetcher eventsFetcher() const;
    const std::shared_ptr<EventTouchLock>& touchLock() const { return m_touchLock; }
    virtual Size pageSize() const;
    // Places the seven boxes with positionDayViews.
    virtual void layOutDayViews();
    // Box width, height and the padding at the left and the top.
    virtual void positionDayViews(double width, double height, double paddingLeft, double paddingTop);
    virtual void adjustDayViews();

private:
    // How far the days have come with the displayed week's events.
    enum class WeekEvents { Unread, Reading, Shown };

    std::shared_ptr<DayViewController> createDayView(double x, double y, bool weekend);
    std::vector<Date> dayStarts() const;
    // Hands each day its list and builds the rows, on the main thread.
    void distribute(std::vector<EventList> days, const std::function<void()>& completion);

    EventService& m_eventService;
    ApplicationEventDispatcher& m_dispatcher;
    std::shared_ptr<EventTouchLock> m_touchLock;
    bool m_loadingEvents = false;
    WeekEvents m_weekEvents = WeekEvents::Unread;
    // What ensureLoaded asked to run after the load under way.
    std::vector<std::function<void()>> m_afterLoad;
    std::optional<SearchResult> m_searchResultToHighlight;
    std::vector<std::shared_ptr<DayViewController>> m_dayViewControllers;
    std::optional<Week> m_displayedWeek;
    // Grows with every change of the displayed week; a background load compares it with the
    // value it started with to learn that its week is gone. Shared so that a load running
    // while the page goes away can still read it.
    std::shared_ptr<std::atomic<unsigned>> m_weekGeneration = std::make_shared<std::atomic<unsigned>>(0);
};
