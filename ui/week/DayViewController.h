#pragma once

#include "core/events/EventList.h"
#include "foundation/Date.h"
#include "kit/Point.h"
#include "kit/ViewController.h"
#include "ui/common/TouchableViewDelegate.h"
#include "ui/copymove/CopyMoveMenuResponder.h"
#include "ui/daybox/EventViewDelegate.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DayOverlayView;
class DayView;
class EKEvent;
class EventTouchLock;
class EventView;
class GestureRecognizer;
class SearchResult;

// One day of a week page: owns the day's events and their rows on the card, and tells the bus
// what the user did with them.
class DayViewController : public ViewController,
                          public EventViewDelegate,
                          public TouchableViewDelegate,
                          public CopyMoveMenuResponder {
public:
    static constexpr int maxEventsCount = 5;
    static constexpr int maxEventsCountInWeekend = 2;

    // The view (a DayView at the point) exists as soon as this returns. The rows share
    // `touchLock`.
    static std::shared_ptr<DayViewController> create(Point point, bool halfSize,
                                                     std::shared_ptr<EventTouchLock> touchLock);
    DayViewController(bool halfSize, std::shared_ptr<EventTouchLock> touchLock);
    ~DayViewController() override;

    const std::shared_ptr<DayView>& dayView() const { return m_dayView; }
    const std::shared_ptr<DayOverlayView>& dayOverlayView() const { return m_dayOverlayView; }

    void initializeWithDate(Date dayStart, bool firstTime);
    // An invalid (zero) date until the first initializeWithDate.
    Date displayedDate() const { return m_displayedDate.value_or(Date()); }
    // The week page hands the list over on the main thread.
    void setDisplayedEvents(EventList events) { m_displayedEvents = std::move(events); }
    const EventList& displayedEvents() const { return m_displayedEvents; }
    // The list the rows are filled from; the tablet box adds to it.
    virtual EventList compileEventList() const { return m_displayedEvents; }
    bool leftColumn() const { return m_leftColumn; }
    void setLeftColumn(bool leftColumn) { m_leftColumn = leftColumn; }
    bool halfSized() const { return m_halfSized; }
    bool shrunk() const { return m_shrunk; }
    const std::vector<std::shared_ptr<EventView>>& eventViews() const { return *m_eventViews; }
    // The number of rows a card of this size holds.
    virtual int maxRows() const { return m_halfSized ? maxEventsCountInWeekend : maxEventsCount; }

    void populateViewsAnimated(bool animated);
    void addEvent(const std::shared_ptr<EKEvent>& event, bool animated, bool delayed);
    void reloadEvent(const std::shared_ptr<EKEvent>& event);
    void removeEvent(const QString& eventIdentifier, bool animated, bool delayed);
    bool eventIsVisible(const EKEvent& event) const;
    std::shared_ptr<EventView> findEventViewByEventIdentifier(const QString& identifier) const;
    void selectEvent(const EKEvent& event);
    void deselectEvents();
    void flashEvent(const EKEvent& event, bool delayed);
    void deselectEventsAnimated(bool animated, bool delayed);
    void deselectBackgroundDelayed(bool delayed, bool animated);
    void highlightIfToday();
    void highlightSearchResult(const SearchResult& result);
    void resetAfterSearchHighlight();
    void showSearchHighlightOverDayBox(const EKEvent& event);
    void disableEditEvents(bool disable);
    void disableMoreButton(bool disable);
    void shrinkOrStretch(int stagger, bool bottomBar);
    void startMoveAnimation(const EKEvent& event);
    void stopMoveAnimation();
    void showQuickCopyMoveOverlay(bool show, bool animated);
    void startAnimatingDayOverlay();
    void stopAnimatingDayOverlay();
    void listEvents();

    // EventViewDelegate
    void beforeEventSelected(EventView& eventView) override;
    void eventSelected(EventView& eventView) override;
    void eventLongPressed(EventView& eventView) override;
    void removeAnimationFinished(EventView& eventView) override;
    // TouchableViewDelegate
    void viewTouched() override;
    void viewBeginsTouching() override;

    // CopyMoveMenuResponder: the choices of the copy/move menu opened over one of the rows.
    void handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) override;
    void handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) override;
    void handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) override;

protected:
    void viewDidUnload() override;
    // Makes the card at `point` through newDayView and wires it, its more button and its pinch to
    // this controller; create() of a subclass calls it.
    void initWithPoint(Point point);
    virtual std::shared_ptr<DayView> newDayView(Point point, bool halfSize);
    virtual std::shared_ptr<EventView> newEventViewForIndex(int index) const;
    // Where, on the card, the search bubble of an event without a row shows: over the last row.
    virtual Point searchHighlightPositionOverDayBox() const;
    void createAndAddEventView();
    // Runs after every filling of the rows.
    virtual void didPopulateRows() {}
    const std::shared_ptr<EventTouchLock>& touchLock() const { return m_touchLock; }

private:
    void pinchDetected(GestureRecognizer& recognizer);
    void activateCopyOrMoveForEvent(const std::shared_ptr<EKEvent>& event, bool copy);
    bool hasOverflow() const;
    bool rowShowsEvent(const EventView& eventView, const QString& identifier) const;
    std::shared_ptr<EventView> visibleRowShowing(const QString& identifier) const;
    void updateDayOverlayVisibility();
    void unselectMoreButtonAfter(double delay);
    void keepOverlayInFront();
    std::weak_ptr<DayViewController> weakSelf();

    std::shared_ptr<DayView> m_dayView;
    std::shared_ptr<DayOverlayView> m_dayOverlayView;
    std::optional<Date> m_displayedDate;
    EventList m_displayedEvents;
    std::shared_ptr<std::vector<std::shared_ptr<EventView>>> m_eventViews;
    std::shared_ptr<EventTouchLock> m_touchLock;
    bool m_leftColumn = false;
    bool m_halfSized = false;
    bool m_shrunk = false;
};
