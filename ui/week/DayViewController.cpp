#include "ui/week/DayViewController.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/SearchResult.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "kit/Button.h"
#include "kit/PinchGestureRecognizer.h"
#include "kit/Screen.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/CopyMoveMenu.h"
#include "ui/daybox/DayView.h"
#include "ui/daybox/EventView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/week/DayOverlayView.h"

namespace {

constexpr double moreButtonFadeDuration = 0.3;
constexpr double overlayFadeDuration = 0.25;

void triggerHint(const char* identifier) {
    if (auto hint = Hint::hintByIdentifier(QString::fromLatin1(identifier))) {
        hint->trigger();
    }
}

void invalidateHint(const char* identifier) {
    if (auto hint = Hint::hintByIdentifier(QString::fromLatin1(identifier))) {
        hint->invalidate();
    }
}

} // namespace

DayViewController::DayViewController(bool halfSize, std::shared_ptr<EventTouchLock> touchLock)
    : m_eventViews(std::make_shared<std::vector<std::shared_ptr<EventView>>>()),
      m_touchLock(std::move(touchLock)), m_halfSized(halfSize) {}

DayViewController::~DayViewController() = default;

std::shared_ptr<DayViewController> DayViewController::create(Point point, bool halfSize,
                                                             std::shared_ptr<EventTouchLock> touchLock) {
    auto controller = std::make_shared<DayViewController>(halfSize, std::move(touchLock));
    controller->initWithPoint(point);
    return controller;
}

std::shared_ptr<DayView> DayViewController::newDayView(Point point, bool halfSize) {
    return DayView::create(point, halfSize);
}

void DayViewController::initWithPoint(Point point) {
    const std::weak_ptr<DayViewController> weak = weakSelf();
    auto dayView = newDayView(point, m_halfSized);
    m_dayView = dayView;
    setView(dayView);
    dayView->setDelegate(std::weak_ptr<TouchableViewDelegate>(weakSelf().lock()));
    dayView->setEventViews(m_eventViews);
    dayView->setExclusiveTouch(true);

    Button& more = *dayView->moreEventsButton();
    more.setExclusiveTouch(true);
    more.onTouchUpInside = [weak] {
        if (auto self = weak.lock()) {
            self->listEvents();
        }
    };
    auto pinch = std::make_shared<PinchGestureRecognizer>();
    pinch->onAction = [weak](GestureRecognizer& recognizer) {
        if (auto self = weak.lock()) {
            self->pinchDetected(recognizer);
        }
    };
    dayView->addGestureRecognizer(pinch);

    m_dayOverlayView = DayOverlayView::create(dayView->bounds());
    m_dayOverlayView->setHidden(true);
    dayView->addSubview(m_dayOverlayView);
}

std::weak_ptr<DayViewController> DayViewController::weakSelf() {
    return std::static_pointer_cast<DayViewController>(shared_from_this());
}

void DayViewController::initializeWithDate(Date dayStart, bool firstTime) {
    if (m_displayedDate == dayStart) {
        return;
    }
    m_displayedDate = dayStart;
    highlightIfToday();
    m_dayView->setDisplayedDate(dayStart);
    if (!firstTime) {
        for (const auto& eventView : *m_eventViews) {
            eventView->initializeWithEvent(nullptr, dayStart, false);
        }
        m_dayView->moreEventsButton()->setHidden(true);
        m_dayView->setEventCount(0);
    }
    keepOverlayInFront();
}

void DayViewController::keepOverlayInFront() {
    m_dayView->bringSubviewToFront(*m_dayOverlayView);
}

std::shared_ptr<EventView> DayViewController::newEventViewForIndex(int index) const {
    const double height = m_halfSized ? 21.0 : 22.0;
    const double top = m_halfSized ? 23.0 : 24.0;
    double y = top + height * index;
    if (m_shrunk) {
        y -= 2 * index + 1;
    }
    if (Screen::main().scale() == 2.0) {
        return EventView::create(Rect(0.5, y, 157.5, height), m_touchLock);
    }
    return EventView::create(Rect(1, y - 1, m_leftColumn ? 156 : 157, height), m_touchLock);
}

void DayViewController::createAndAddEventView() {
    auto eventView = newEventViewForIndex(static_cast<int>(m_eventViews->size()));
    eventView->setDelegate(std::weak_ptr<EventViewDelegate>(weakSelf().lock()));
    m_dayView->addSubview(eventView);
    keepOverlayInFront();
    m_eventViews->push_back(eventView);
}

bool DayViewController::hasOverflow() const {
    // Events handed over but not yet filled in have no rows to overflow.
    return !m_eventViews->empty() && static_cast<int>(m_eventViews->size()) < compileEventList().size();
}

void DayViewController::populateViewsAnimated(bool animated) {
    const EventList events = compileEventList();
    m_dayView->setEventCount(events.size());
    const int rows = maxRows();
    for (int i = 0; i < rows; ++i) {
        const std::shared_ptr<EKEvent> event = i < events.size() ? events.eventAtIndex(i) : nullptr;
        if (i >= static_cast<int>(m_eventViews->size())) {
            if (!event) {
                continue;
            }
            createAndAddEventView();
        }
        (*m_eventViews)[i]->initializeWithEvent(event, displayedDate(), animated);
    }

    const bool overflow = hasOverflow();
    if (overflow) {
        m_eventViews->back()->setHidden(true);
    }
    Button& more = *m_dayView->moreEventsButton();
    more.setHidden(!overflow);
    if (overflow) {
        const int hiddenCount = events.size() - static_cast<int>(m_eventViews->size()) + 1;
        more.setTitle(localizedString(QStringLiteral(" %i more events ..."), hiddenCount));
        if (animated) {
            more.setAlpha(0);
            const std::weak_ptr<View> weakMore = m_dayView->moreEventsButton();
            View::animate(moreButtonFadeDuration, [weakMore] {
                if (auto button = weakMore.lock()) {
                    button->setAlpha(1);
                }
            });
        } else {
            more.setAlpha(1);
        }
    }
    updateDayOverlayVisibility();
    didPopulateRows();
}

void DayViewController::updateDayOverlayVisibility() {
    const CopyMoveEventMode& mode = CopyMoveEventMode::sharedInstance();
    const bool otherDay =
        !mode.tappedDate() || !DateUtilities::isEqualToDateIgnoreTime(*mode.tappedDate(), displayedDate());
    const bool veiled = mode.activated() && otherDay;
    m_dayOverlayView->setHidden(!veiled);
    if (veiled) {
        m_dayOverlayView->setAlpha(1);
    }
}

void DayViewController::addEvent(const std::shared_ptr<EKEvent>& event, bool animated, bool delayed) {
    if (m_displayedEvents.contains(*event)) {
        return;
    }
    m_displayedEvents.addWithSort(event);
    populateViewsAnimated(false);
    if (animated) {
        flashEvent(*event, delayed);
    }
    if (m_displayedEvents.size() == maxRows()) {
        triggerHint("headerHint");
    }
    if (!eventIsVisible(*event)) {
        listEvents();
    }
}

void DayViewController::reloadEvent(const std::shared_ptr<EKEvent>& event) {
    m_displayedEvents.update(event);
    populateViewsAnimated(false);
}

void DayViewController::removeEvent(const QString& eventIdentifier, bool animated, bool delayed) {
    const auto& events = m_displayedEvents.array();
    for (int i = 0; i < m_displayedEvents.size(); ++i) {
        if (events[i]->eventIdentifier() != eventIdentifier) {
            continue;
        }
        m_displayedEvents.removeEventAtIndex(i);
        // A row that shows the event fades it out and refills the rows when done; an event in
        // the overflow has no row to wait for.
        if (auto eventView = visibleRowShowing(eventIdentifier)) {
            eventView->removeEventAnimated(animated, delayed);
        } else {
            populateViewsAnimated(false);
        }
        return;
    }
}

bool DayViewController::rowShowsEvent(const EventView& eventView, const QString& identifier) const {
    return eventView.event() && eventView.event()->eventIdentifier() == identifier;
}

std::shared_ptr<EventView> DayViewController::visibleRowShowing(const QString& identifier) const {
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, identifier) && !eventView->hidden()) {
            return eventView;
        }
    }
    return nullptr;
}

bool DayViewController::eventIsVisible(const EKEvent& event) const {
    return visibleRowShowing(event.eventIdentifier()) != nullptr;
}

std::shared_ptr<EventView>
DayViewController::findEventViewByEventIdentifier(const QString& identifier) const {
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, identifier)) {
            return eventView;
        }
    }
    return nullptr;
}

void DayViewController::selectEvent(const EKEvent& event) {
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, event.eventIdentifier())) {
            eventView->hideSelectedBackgroundImage(false);
        }
    }
}

void DayViewController::deselectEvents() {
    for (const auto& eventView : *m_eventViews) {
        eventView->hideSelectedBackgroundImage(true);
    }
}

void DayViewController::flashEvent(const EKEvent& event, bool delayed) {
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, event.eventIdentifier())) {
            eventView->flashDelayed(delayed);
        }
    }
}

void DayViewController::deselectEventsAnimated(bool animated, bool delayed) {
    if (m_dayView->deselectAnimated(animated, delayed)) {
        return;
    }
    for (const auto& eventView : *m_eventViews) {
        eventView->deselectAnimated(animated, delayed);
    }
    if (animated) {
        unselectMoreButtonAfter(delayed ? 0.45 : 0.15);
    } else {
        m_dayView->moreEventsButton()->setSelected(false);
    }
}

void DayViewController::unselectMoreButtonAfter(double delay) {
    const std::weak_ptr<Button> weakMore = m_dayView->moreEventsButton();
    RunLoop::main().scheduleTimer(delay, false, [weakMore] {
        if (auto button = weakMore.lock()) {
            button->setSelected(false);
        }
    });
}

void DayViewController::deselectBackgroundDelayed(bool delayed, bool animated) {
    m_dayView->deselectAnimated(animated, delayed);
}

void DayViewController::highlightIfToday() {
    m_dayView->highlight(m_displayedDate &&
                         DateUtilities::isEqualToDateIgnoreTime(*m_displayedDate, Date::now()));
}

void DayViewController::highlightSearchResult(const SearchResult& result) {
    bool shown = false;
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, result.eventIdentifier()) && !eventView->hidden()) {
            eventView->highlightAsSearchResult();
            shown = true;
        }
    }
    if (shown) {
        return;
    }
    for (const auto& event : m_displayedEvents.array()) {
        if (event->eventIdentifier() != result.eventIdentifier()) {
            continue;
        }
        showSearchHighlightOverDayBox(*event);
        return;
    }
}

// The event has no row here (it is in the overflow): the bubble shows over the day box in the
// last row's place, and the row comes back when the bubble goes.
void DayViewController::showSearchHighlightOverDayBox(const EKEvent& event) {
    const std::shared_ptr<SearchResultHighlightView>& bubble =
        SearchResultHighlightView::selectedResultInstance();
    const std::shared_ptr<View> background = bubble->searchBackgroundView();
    if (!background) {
        return;
    }
    bubble->setEvent(event);
    const Point position =
        m_dayView->convertPointToView(searchHighlightPositionOverDayBox(), background.get());
    bubble->showAnimatedOnTopOfPosition(position);
    const std::weak_ptr<DayViewController> weak = weakSelf();
    bubble->setOnCompletion([weak] {
        if (auto self = weak.lock()) {
            self->resetAfterSearchHighlight();
        }
    });
    if (!m_eventViews->empty()) {
        m_eventViews->back()->setHidden(true);
    }
}

Point DayViewController::searchHighlightPositionOverDayBox() const {
    return Point(0, m_halfSized ? 43 : 106);
}

void DayViewController::resetAfterSearchHighlight() {
    disableMoreButton(true);
}

void DayViewController::disableEditEvents(bool disable) {
    for (const auto& eventView : *m_eventViews) {
        eventView->disableTouch(disable);
    }
}

void DayViewController::disableMoreButton(bool disable) {
    if (!hasOverflow()) {
        return;
    }
    m_dayView->moreEventsButton()->setHidden(disable);
    m_eventViews->back()->setHidden(!disable);
}

void DayViewController::shrinkOrStretch(int stagger, bool bottomBar) {
    m_shrunk = !m_shrunk;
    const double direction = m_shrunk ? 1.0 : -1.0;
    for (std::size_t i = 0; i < m_eventViews->size(); ++i) {
        (*m_eventViews)[i]->moveFrameY(-(2.0 * static_cast<double>(i) + 1.0) * direction);
    }
    m_dayView->moreEventsButton()->moveFrameY((m_halfSized ? -2.0 : -8.0) * direction);

    const bool lastDayOfWeek = m_displayedDate && DateUtilities::isLastDayOfWeek(*m_displayedDate);
    double shift = stagger;
    if (lastDayOfWeek) {
        shift = 6;
    } else if (m_halfSized) {
        shift = 10;
    }
    if (bottomBar) {
        shift -= 30;
    }
    double heightChange = 10;
    if (m_halfSized) {
        heightChange = lastDayOfWeek ? 6 : 4;
    }
    m_dayView->moveFrameY(shift * direction);
    m_dayView->moveFrameHeight(-heightChange * direction);
    m_dayOverlayView->setFrame(m_dayView->bounds());
    m_dayView->setNeedsDisplay();
}

void DayViewController::startMoveAnimation(const EKEvent& event) {
    for (const auto& eventView : *m_eventViews) {
        if (rowShowsEvent(*eventView, event.eventIdentifier())) {
            eventView->startMoveAnimation();
        }
    }
}

void DayViewController::stopMoveAnimation() {
    for (const auto& eventView : *m_eventViews) {
        eventView->stopMoveAnimation();
    }
}

void DayViewController::showQuickCopyMoveOverlay(bool show, bool animated) {
    DayOverlayView& overlay = *m_dayOverlayView;
    if (!animated) {
        overlay.setHidden(!show);
        overlay.setAlpha(1);
        return;
    }
    keepOverlayInFront();
    const std::weak_ptr<DayOverlayView> weakOverlay = m_dayOverlayView;
    if (show) {
        overlay.setAlpha(0);
        overlay.setHidden(false);
        View::animate(overlayFadeDuration, [weakOverlay] {
            if (auto view = weakOverlay.lock()) {
                view->setAlpha(1);
            }
        });
        return;
    }
    View::animate(
        overlayFadeDuration,
        [weakOverlay] {
            if (auto view = weakOverlay.lock()) {
                view->setAlpha(0);
            }
        },
        [weakOverlay](bool finished) {
            if (auto view = weakOverlay.lock(); view && finished) {
                view->setHidden(true);
            }
        });
}

void DayViewController::startAnimatingDayOverlay() {
    m_dayOverlayView->startAnimating();
}

void DayViewController::stopAnimatingDayOverlay() {
    m_dayOverlayView->stopAnimating();
}

void DayViewController::listEvents() {
    ApplicationEventDispatcher::sharedInstance().dispatch<ListEventsEvent>(m_dayView, displayedDate());
}

void DayViewController::pinchDetected(GestureRecognizer& recognizer) {
    if (recognizer.state() != GestureRecognizer::State::Began) {
        return;
    }
    m_dayView->deselectAnimated(false, false);
    for (const auto& eventView : *m_eventViews) {
        eventView->deselectAnimated(false, false);
    }
    listEvents();
}

void DayViewController::beforeEventSelected(EventView& eventView) {
    for (const auto& other : *m_eventViews) {
        if (other.get() != &eventView) {
            other->deselectAnimated(false, false);
        }
    }
}

void DayViewController::eventSelected(EventView& eventView) {
    ApplicationEventDispatcher::sharedInstance().dispatch<EventSelectedEvent>(eventView.event(),
                                                                              displayedDate(), m_dayView);
}

void DayViewController::eventLongPressed(EventView& eventView) {
    if (CopyMoveEventMode::sharedInstance().activated()) {
        deselectBackgroundDelayed(false, true);
        return;
    }
    CopyMoveMenu& menu = CopyMoveMenu::instance();
    menu.setEvent(eventView.event());
    menu.showInView(*m_dayView, eventView, std::weak_ptr<CopyMoveMenuResponder>(weakSelf().lock()));
}

void DayViewController::removeAnimationFinished(EventView&) {
    populateViewsAnimated(false);
}

void DayViewController::handleMenuChoiceCopy(const std::shared_ptr<EKEvent>& event) {
    activateCopyOrMoveForEvent(event, true);
}

void DayViewController::handleMenuChoiceMove(const std::shared_ptr<EKEvent>& event) {
    activateCopyOrMoveForEvent(event, false);
}

void DayViewController::activateCopyOrMoveForEvent(const std::shared_ptr<EKEvent>& event, bool copy) {
    CopyMoveMenu::instance().preventEventViewDeselection();
    ApplicationEventDispatcher::sharedInstance().dispatch<ActivateCopyMoveEvent>(event, displayedDate(),
                                                                                 copy);
}

void DayViewController::handleMenuChoiceDelete(const std::shared_ptr<EKEvent>& event) {
    CopyMoveMenu::instance().preventEventViewDeselection();
    ApplicationEventDispatcher::sharedInstance().dispatch<DeleteEventEvent>(event);
}

void DayViewController::viewTouched() {
    if (!CopyMoveEventMode::sharedInstance().activated()) {
        invalidateHint("addEventHint");
    }
    ApplicationEventDispatcher::sharedInstance().dispatch<DateSelectedEvent>(displayedDate(), m_dayView);
}

void DayViewController::viewBeginsTouching() {
    m_dayView->moreEventsButton()->setSelected(true);
}

void DayViewController::viewDidUnload() {
    m_eventViews->clear();
}
