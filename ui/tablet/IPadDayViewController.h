#pragma once

#include "ui/week/DayViewController.h"

#include <functional>
#include <memory>

class IPadDayView;

// The tablet's day: ten rows a card and four a half card, and the placeholder row of an event
// being created here (`fakeEvent`), shown after the day's events until the editor closes. On
// saving, a row slides to its sorted place before the store is written; the rows are put back
// afterwards and the save refills them in the new order.
class IPadDayViewController : public DayViewController {
public:
    static constexpr int maxEventsCount = 10;
    static constexpr int maxEventsCountInWeekend = 4;
    static constexpr double rowTop = 31.0;
    static constexpr double rowHeight = 28.0;
    static constexpr double slideDuration = 0.3;
    // The placeholder row is half transparent until it slides into place.
    static constexpr double placeholderAlpha = 0.5;

    static std::shared_ptr<IPadDayViewController> create(Point point, bool halfSize,
                                                         std::shared_ptr<EventTouchLock> touchLock);
    IPadDayViewController(bool halfSize, std::shared_ptr<EventTouchLock> touchLock);

    std::shared_ptr<IPadDayView> iPadDayView() const;

    // The day's events with the placeholder appended unsorted.
    EventList compileEventList() const override;
    const std::shared_ptr<EKEvent>& fakeEvent() const { return m_fakeEvent; }
    // Keeps the rows' preview of an edit when they are filled again.
    void setFakeEvent(std::shared_ptr<EKEvent> event) {
        m_fakeEvent = std::move(event);
        m_fakeEventSliding = false;
    }
    // Shows the placeholder and returns its row, or null when the card has no row for it.
    std::shared_ptr<EventView> addFakeEvent(std::shared_ptr<EKEvent> event);
    void removeFakeEventAnimated(bool animated);
    // The row bound to this very event object, or null.
    std::shared_ptr<EventView> findEventViewByEvent(const EKEvent& event) const;
    // The displayed event with this identifier, or null.
    std::shared_ptr<EKEvent> findEventByEventIdentifier(const QString& identifier) const;

    // The slide of the placeholder, or of the edited `event`, to its sorted place; the
    // completion runs once the rows are back where they were (at once when there is no row to
    // slide).
    void animateFakeEventIntoPosition(std::function<void()> completion);
    void animateEventIntoPosition(const std::shared_ptr<EKEvent>& event, std::function<void()> completion);
    void doAnimationIntoPosition(const std::shared_ptr<EventView>& row, int fromIndex, int toIndex,
                                 std::function<void()> completion);
    // The rows between the two places make room for a row moving from one to the other, or go
    // back with `reverse`. Only rows that exist move.
    void moveEventFromCurrentIndex(int currentIndex, int newIndex, bool reverse);

protected:
    int maxRows() const override { return halfSized() ? maxEventsCountInWeekend : maxEventsCount; }
    std::shared_ptr<DayView> newDayView(Point point, bool halfSize) override;
    std::shared_ptr<EventView> newEventViewForIndex(int index) const override;
    // A refilled placeholder row stays half transparent.
    void didPopulateRows() override;
    Point searchHighlightPositionOverDayBox() const override;

private:
    std::weak_ptr<IPadDayViewController> weakSelf();
    // The frame of the row at `index`.
    Rect rowFrameForIndex(int index) const;

    std::shared_ptr<EKEvent> m_fakeEvent;
    bool m_fakeEventSliding = false;
};
