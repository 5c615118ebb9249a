#include "ui/week/WeekCopyMoveCoordinator.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/calendar/DateUtilities.h"
#include "core/events/EventSaveCommand.h"
#include "core/events/EventService.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "foundation/RunLoop.h"
#include "kit/BarButtonItem.h"
#include "kit/Device.h"
#include "kit/ViewController.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/MoveEventBarView.h"
#include "ui/editing/MoveRecurringEventActionSheet.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/week/WeekViewController.h"

#include <utility>

namespace {

// A quick move saves after its rows have moved.
constexpr double quickMoveSaveDelay = 0.5;
// A cancelled move from the editor goes back to its week once the editor is back on top.
constexpr double restoreMoveDelay = 0.4;
// A day list reopens after the scroll back to the week where the copy or move began.
constexpr double reopenListDelay = 0.3;

} // namespace

WeekCopyMoveCoordinator::WeekCopyMoveCoordinator(EventService& eventService,
                                                 CopyMoveEventMode& copyMoveEventMode,
                                                 ApplicationEventDispatcher& dispatcher)
    : m_eventService(eventService), m_copyMoveEventMode(copyMoveEventMode), m_dispatcher(dispatcher) {}

void WeekCopyMoveCoordinator::activateCopyOrMove(const std::shared_ptr<EKEvent>& event, Date date,
                                                 bool copy) {
    if (m_copyMoveEventMode.activated() || !event) {
        return;
    }
    if (copy) {
        m_copyMoveEventMode.activateCopy(event, date);
    } else {
        m_copyMoveEventMode.activateQuickMove(event, date);
    }
    toggleMovingEventModeAnimated(m_copyMoveEventMode.activated(), false);
}

void WeekCopyMoveCoordinator::toggleMovingEventModeAnimated(bool animated, bool cancelled) {
    const auto host = m_host.lock();
    if (!host || host->weekViews().size() != 3) {
        return;
    }
    const std::vector<std::shared_ptr<WeekViewController>>& pages = host->weekViews();
    const bool active = m_copyMoveEventMode.activated();
    for (const auto& page : pages) {
        page->disableEditEvents(active);
    }
    // A cancel that scrolls back to another week keeps the bar until that scroll settles.
    const std::optional<Week>& returnWeek = m_copyMoveEventMode.returnWeek();
    const bool barWaitsForScrollBack =
        !active && cancelled && returnWeek && *returnWeek != host->currentWeek();
    if (!barWaitsForScrollBack && m_moveBarVisible != active) {
        showOrHideMoveEventBarAnimated(animated, false);
    }
    showCopyMoveLook(*host, active);
    for (const auto& page : pages) {
        page->updateHighlightedDay();
    }
    if (active) {
        // Set on every start, so that a list left faded by a completed copy or move does not
        // come back after a later cancel.
        const bool listOpen = host->listEventsViewVisible();
        m_copyMoveEventMode.setReopenListEventsView(listOpen);
        if (listOpen) {
            host->fadeOutListEventsForCopyMove();
        }
    }
    if (!active && cancelled && m_copyMoveEventMode.reopenListEventsView()) {
        reopenListEventsAfterCancel(*host);
    }
}

void WeekCopyMoveCoordinator::showCopyMoveLook(WeekCopyMoveHost& host, bool active) {
    const std::vector<std::shared_ptr<WeekViewController>>& pages = host.weekViews();
    if (!active) {
        for (const auto& page : pages) {
            page->stopMoveDayOverlayAnimation();
        }
        host.showCancelMoveButton(false);
        return;
    }
    const std::shared_ptr<EKEvent>& event = m_copyMoveEventMode.event();
    const std::optional<Date>& tappedDate = m_copyMoveEventMode.tappedDate();
    if (event && tappedDate) {
        for (const auto& page : pages) {
            page->startMoveAnimation(*event, *tappedDate);
        }
    }
    pages[1]->startMoveDayOverlayAnimation();
    host.showCancelMoveButton(true);
}

void WeekCopyMoveCoordinator::reopenListEventsAfterCancel(WeekCopyMoveHost& host) {
    m_copyMoveEventMode.setReopenListEventsView(false);
    const std::optional<Week>& returnWeek = m_copyMoveEventMode.returnWeek();
    if (!returnWeek || *returnWeek == host.currentWeek()) {
        host.fadeInListEventsAfterCopyMove();
        return;
    }
    const std::weak_ptr<WeekCopyMoveHost> weakHost = m_host;
    RunLoop::main().scheduleTimer(reopenListDelay, false, [weakHost] {
        if (const auto delayedHost = weakHost.lock()) {
            delayedHost->fadeInListEventsAfterCopyMove();
        }
    });
}

void WeekCopyMoveCoordinator::createMoveEventBar(WeekCopyMoveHost& host) {
    m_moveEventBar = MoveEventBarView::create();
    m_moveEventBar->setHidden(true);
    host.weekScreen().view()->addSubview(m_moveEventBar);
}

void WeekCopyMoveCoordinator::showOrHideMoveEventBarAnimated(bool animated, bool bottomBar) {
    const auto host = m_host.lock();
    if (!host || host->weekViews().size() != 3) {
        return;
    }
    const std::vector<std::shared_ptr<WeekViewController>>& pages = host->weekViews();
    // The outer pages are off screen and change at once.
    pages.front()->shrinkOrStretchDays(bottomBar);
    pages.back()->shrinkOrStretchDays(bottomBar);
    if (!bottomBar && !m_moveEventBar) {
        createMoveEventBar(*host);
    }
    if (m_moveEventBar) {
        if (m_copyMoveEventMode.copyActivated()) {
            m_moveEventBar->setCopyMode();
        } else if (m_copyMoveEventMode.activated()) {
            m_moveEventBar->setMoveMode();
        }
    }
    double duration = 0;
    if (animated) {
        duration = Device::current().isAtLeastVersion(QStringLiteral("5.0")) ? 0.25 : 0.3;
    }
    const std::weak_ptr<WeekViewController> middle = pages[1];
    const std::weak_ptr<MoveEventBarView> weakBar = m_moveEventBar;
    const std::weak_ptr<WeekCopyMoveCoordinator> weakSelf = weak_from_this();
    View::animate(
        duration, 0, AnimationCurve::easeInOut, AnimationOption::none,
        [middle, weakBar, bottomBar] {
            if (auto page = middle.lock()) {
                page->shrinkOrStretchDays(bottomBar);
            }
            const std::shared_ptr<MoveEventBarView> bar = weakBar.lock();
            if (bottomBar || !bar) {
                return;
            }
            if (bar->frame().y() == -MoveEventBarView::barHeight) {
                bar->setHidden(false);
                bar->moveFrameY(MoveEventBarView::barHeight);
            } else {
                bar->moveFrameY(-MoveEventBarView::barHeight);
            }
        },
        [weakSelf](bool) {
            if (auto self = weakSelf.lock()) {
                self->moveEventBarSlideFinished();
            }
        });
    if (!bottomBar) {
        m_moveBarVisible = !m_moveBarVisible;
        host->actionButton()->setEnabled(!m_moveBarVisible);
    }
}

void WeekCopyMoveCoordinator::moveEventBarSlideFinished() {
    if (m_moveEventBar && m_moveEventBar->frame().y() == -MoveEventBarView::barHeight) {
        m_moveEventBar->setHidden(true);
    }
}

void WeekCopyMoveCoordinator::quickMoveEventToDate(Date date) {
    if (auto hint = Hint::hintByIdentifier(QStringLiteral("quickMoveHint"))) {
        hint->invalidate();
    }
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    const auto host = m_host.lock();
    if (!event || !host) {
        return;
    }
    if (DateUtilities::isEqualToDateIgnoreTime(date, event->startDate())) {
        cancelCopyMoveEvent();
        return;
    }
    if (!event->hasRecurrenceRules()) {
        quickMoveEventToDate(date, EKSpan::ThisEvent, false);
        return;
    }
    const std::shared_ptr<MoveRecurringEventActionSheet> sheet = MoveRecurringEventActionSheet::instance();
    sheet->setTargetDate(date);
    sheet->setRecurringEventDelegate(
        std::static_pointer_cast<RecurringEventActionSheetDelegate>(shared_from_this()));
    sheet->showInView(*host->weekScreen().view());
}

void WeekCopyMoveCoordinator::clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) {
    const auto* sheet = dynamic_cast<MoveRecurringEventActionSheet*>(&actionSheet);
    if (sheet && sheet->targetDate() && m_copyMoveEventMode.quickMoveActivated()) {
        quickMoveEventToDate(*sheet->targetDate(), span, true);
    }
}

void WeekCopyMoveCoordinator::quickMoveEventToDate(Date date, EKSpan span, bool recurring) {
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    const auto host = m_host.lock();
    if (!event || !host) {
        return;
    }
    const Date start = DateUtilities::applyDateWithoutTime(event->startDate(), date);
    m_eventService.applyDate(start, *event, event->allDay());
    auto command = std::make_shared<EventSaveCommand>(event, span);
    m_copyMoveEventMode.deactivate();
    // An earlier move still waiting is written first, so that the two saves keep their order.
    savePendingMove();
    if (recurring || event->belongsToSeries()) {
        // A whole series may have moved: the weeks are read again once the store has it.
        saveEvent(*command);
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
        for (const auto& page : host->weekViews()) {
            page->stopMoveAnimation();
            page->load();
        }
    } else {
        m_pendingSave = command;
        const std::weak_ptr<WeekCopyMoveCoordinator> weakSelf = weak_from_this();
        m_pendingSaveTimer = RunLoop::main().scheduleTimer(quickMoveSaveDelay, false, [weakSelf] {
            if (auto self = weakSelf.lock()) {
                self->savePendingMove();
            }
        });
        host->eventCopiedOrMoved(event, false);
    }
    toggleMovingEventModeAnimated(true, false);
}

void WeekCopyMoveCoordinator::savePendingMove() {
    if (m_pendingSaveTimer) {
        m_pendingSaveTimer->invalidate();
        m_pendingSaveTimer.reset();
    }
    if (const std::shared_ptr<EventSaveCommand> command = std::exchange(m_pendingSave, nullptr)) {
        saveEvent(*command);
    }
    // Pages that read their weeks while the move waited show the event where it was.
    if (std::exchange(m_storeChangedDuringMove, false)) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
    }
}

void WeekCopyMoveCoordinator::noteStoreChangeDuringMove() {
    if (m_pendingSave) {
        m_storeChangedDuringMove = true;
    }
}

void WeekCopyMoveCoordinator::saveEvent(const EventSaveCommand& command) {
    m_eventService.saveEvent(command.event(), command.span(), EKUndo::Kept);
}

void WeekCopyMoveCoordinator::copyEventToDate(Date date) {
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    const auto host = m_host.lock();
    if (!event || !host) {
        return;
    }
    const std::shared_ptr<EKEvent> copy = m_eventService.copyEvent(*event, date);
    m_copyMoveEventMode.deactivate();
    host->eventCopiedOrMoved(copy, true);
    toggleMovingEventModeAnimated(true, false);
}

void WeekCopyMoveCoordinator::cancelCopyMoveEvent() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    for (const auto& page : host->weekViews()) {
        page->stopMoveAnimation();
    }
    if (m_copyMoveEventMode.quickMoveActivated() || m_copyMoveEventMode.copyActivated()) {
        m_copyMoveEventMode.deactivate();
        toggleMovingEventModeAnimated(true, true);
        for (const auto& page : host->weekViews()) {
            page->deselectEventsAnimated(true, false);
        }
        if (const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek()) {
            host->scrollToWeek(*returnWeek, true, false);
        }
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
    } else if (m_copyMoveEventMode.moveActivated()) {
        host->pushPortraitViewController(host->getOrCreateEventDetailsController());
        m_copyMoveEventMode.deactivate();
        const std::weak_ptr<WeekCopyMoveCoordinator> weakSelf = weak_from_this();
        RunLoop::main().scheduleTimer(restoreMoveDelay, false, [weakSelf] {
            if (auto self = weakSelf.lock()) {
                self->restoreMovingEventToPreviousState();
            }
        });
    }
}

void WeekCopyMoveCoordinator::restoreMovingEventToPreviousState() {
    toggleMovingEventModeAnimated(false, true);
    if (const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek()) {
        if (const auto host = m_host.lock()) {
            host->scrollToWeek(*returnWeek, true, false);
        }
    }
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
}

void WeekCopyMoveCoordinator::pagesScrolled() {
    const auto host = m_host.lock();
    if (host && m_copyMoveEventMode.activated()) {
        host->weekViews()[1]->stopMoveDayOverlayAnimation();
    }
}

void WeekCopyMoveCoordinator::pagesSettledAfterDrag() {
    const auto host = m_host.lock();
    if (host && m_copyMoveEventMode.activated()) {
        host->weekViews()[1]->startMoveDayOverlayAnimation();
    }
}

void WeekCopyMoveCoordinator::jumpSettled() {
    const auto host = m_host.lock();
    if (host && m_copyMoveEventMode.activated()) {
        host->weekViews()[1]->startMoveDayOverlayAnimation();
    } else if (m_moveBarVisible) {
        // The bar stayed while a cancelled copy or move scrolled back to its week.
        showOrHideMoveEventBarAnimated(true, false);
    }
}
