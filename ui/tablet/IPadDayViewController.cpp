#include "ui/tablet/IPadDayViewController.h"

#include "core/eventstore/EKEvent.h"
#include "kit/View.h"
#include "ui/daybox/EventView.h"
#include "ui/tablet/IPadDayView.h"
#include "ui/tablet/IPadEventView.h"

#include <algorithm>

namespace {

constexpr double rowX = 2.5;
constexpr double rowWidth = 372.0;

} // namespace

IPadDayViewController::IPadDayViewController(bool halfSize, std::shared_ptr<EventTouchLock> touchLock)
    : DayViewController(halfSize, std::move(touchLock)) {}

std::shared_ptr<IPadDayViewController>
IPadDayViewController::create(Point point, bool halfSize, std::shared_ptr<EventTouchLock> touchLock) {
    auto controller = std::make_shared<IPadDayViewController>(halfSize, std::move(touchLock));
    controller->initWithPoint(point);
    return controller;
}

std::weak_ptr<IPadDayViewController> IPadDayViewController::weakSelf() {
    return std::static_pointer_cast<IPadDayViewController>(shared_from_this());
}

std::shared_ptr<IPadDayView> IPadDayViewController::iPadDayView() const {
    return std::static_pointer_cast<IPadDayView>(dayView());
}

std::shared_ptr<DayView> IPadDayViewController::newDayView(Point point, bool halfSize) {
    auto dayView = IPadDayView::create(point, halfSize);
    dayView->setDayViewController(weakSelf());
    return dayView;
}

Rect IPadDayViewController::rowFrameForIndex(int index) const {
    double y = rowTop + rowHeight * index;
    if (shrunk()) {
        y -= 2 * index + 1;
    }
    return Rect(rowX, y, rowWidth, rowHeight);
}

std::shared_ptr<EventView> IPadDayViewController::newEventViewForIndex(int index) const {
    return IPadEventView::create(rowFrameForIndex(index), touchLock());
}

Point IPadDayViewController::searchHighlightPositionOverDayBox() const {
    return rowFrameForIndex(maxRows() - 1).origin();
}

void IPadDayViewController::didPopulateRows() {
    if (!m_fakeEvent || m_fakeEventSliding) {
        return;
    }
    if (const std::shared_ptr<EventView> row = findEventViewByEvent(*m_fakeEvent)) {
        row->setAlpha(placeholderAlpha);
    }
}

EventList IPadDayViewController::compileEventList() const {
    EventList events = displayedEvents();
    if (m_fakeEvent) {
        events.addWithoutSort(m_fakeEvent);
    }
    return events;
}

std::shared_ptr<EventView> IPadDayViewController::addFakeEvent(std::shared_ptr<EKEvent> event) {
    m_fakeEvent = std::move(event);
    m_fakeEventSliding = false;
    populateViewsAnimated(false);
    return findEventViewByEvent(*m_fakeEvent);
}

void IPadDayViewController::removeFakeEventAnimated(bool animated) {
    m_fakeEvent.reset();
    m_fakeEventSliding = false;
    populateViewsAnimated(animated);
}

std::shared_ptr<EventView> IPadDayViewController::findEventViewByEvent(const EKEvent& event) const {
    for (const auto& row : eventViews()) {
        if (row->event().get() == &event && !row->hidden()) {
            return row;
        }
    }
    return nullptr;
}

std::shared_ptr<EKEvent> IPadDayViewController::findEventByEventIdentifier(const QString& identifier) const {
    for (const auto& event : displayedEvents().array()) {
        if (event->eventIdentifier() == identifier) {
            return event;
        }
    }
    return nullptr;
}

void IPadDayViewController::animateFakeEventIntoPosition(std::function<void()> completion) {
    if (!m_fakeEvent) {
        if (completion) {
            completion();
        }
        return;
    }
    const int from = displayedEvents().size();
    EventList sorted = displayedEvents();
    sorted.addWithSort(m_fakeEvent);
    const int to = sorted.indexOfEvent(*m_fakeEvent);
    const std::shared_ptr<EventView> row = findEventViewByEvent(*m_fakeEvent);
    m_fakeEventSliding = true;
    if (row) {
        row->setAlpha(1);
    }
    doAnimationIntoPosition(row, from, to, std::move(completion));
}

void IPadDayViewController::animateEventIntoPosition(const std::shared_ptr<EKEvent>& event,
                                                     std::function<void()> completion) {
    const std::shared_ptr<EKEvent> shown = findEventByEventIdentifier(event->eventIdentifier());
    if (!shown) {
        if (completion) {
            completion();
        }
        return;
    }
    const int from = displayedEvents().indexOfEvent(*shown);
    EventList events = displayedEvents();
    events.update(event);
    const int to = events.indexOfEvent(*event);
    setDisplayedEvents(std::move(events));
    doAnimationIntoPosition(findEventViewByEventIdentifier(event->eventIdentifier()), from, to,
                            std::move(completion));
}

void IPadDayViewController::doAnimationIntoPosition(const std::shared_ptr<EventView>& row, int fromIndex,
                                                    int toIndex, std::function<void()> completion) {
    const int rows = static_cast<int>(eventViews().size());
    if (!row || fromIndex < 0 || toIndex < 0 || fromIndex >= rows) {
        if (completion) {
            completion();
        }
        return;
    }
    // A row sinking into the overflow stops at the last row.
    const int target = std::min(toIndex, rows - 1);
    const double startY = row->frame().y();
    const double targetY = rowFrameForIndex(target).y();
    const std::weak_ptr<IPadDayViewController> weak = weakSelf();
    const std::weak_ptr<EventView> weakRow = row;
    View::animate(
        slideDuration,
        [weak, weakRow, fromIndex, target, targetY] {
            const auto self = weak.lock();
            const auto slidingRow = weakRow.lock();
            if (!self || !slidingRow) {
                return;
            }
            self->moveEventFromCurrentIndex(fromIndex, target, false);
            slidingRow->setFrameY(targetY);
        },
        [weak, weakRow, fromIndex, target, startY, completion = std::move(completion)](bool) {
            const auto self = weak.lock();
            if (self) {
                self->moveEventFromCurrentIndex(fromIndex, target, true);
            }
            if (const auto slidingRow = weakRow.lock()) {
                slidingRow->setFrameY(startY);
            }
            // The save rides on the completion: it runs even when the day has gone meanwhile.
            if (completion) {
                completion();
            }
        });
}

void IPadDayViewController::moveEventFromCurrentIndex(int currentIndex, int newIndex, bool reverse) {
    const double step = reverse ? -rowHeight : rowHeight;
    const auto& rows = eventViews();
    const int last = static_cast<int>(rows.size()) - 1;
    if (newIndex < currentIndex) {
        for (int i = newIndex; i <= std::min(currentIndex - 1, last); ++i) {
            rows[static_cast<std::size_t>(i)]->moveFrameY(step);
        }
    } else if (currentIndex < newIndex) {
        for (int i = currentIndex + 1; i <= std::min(newIndex, last); ++i) {
            rows[static_cast<std::size_t>(i)]->moveFrameY(-step);
        }
    }
}
