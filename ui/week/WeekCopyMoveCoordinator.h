#pragma once

#include "core/calendar/Week.h"
#include "foundation/Date.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"

#include <memory>
#include <vector>

class ApplicationEventDispatcher;
class BarButtonItem;
class CopyMoveEventMode;
class EKEvent;
class EventDetailsViewController;
class EventSaveCommand;
class EventService;
class MoveEventBarView;
class Timer;
class ViewController;
class WeekViewController;

// What copying and moving an event needs of the week screen.
class WeekCopyMoveHost {
public:
    virtual ~WeekCopyMoveHost() = default;
    virtual ViewController& weekScreen() = 0;
    virtual Week currentWeek() const = 0;
    virtual const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const = 0;
    virtual const std::shared_ptr<BarButtonItem>& actionButton() const = 0;
    // "Cancel" in place of "Today" while an event is copied or moved.
    virtual void showCancelMoveButton(bool shown) = 0;
    virtual void scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup) = 0;
    virtual void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) = 0;
    virtual bool listEventsViewVisible() const = 0;
    virtual void fadeOutListEventsForCopyMove() = 0;
    virtual void fadeInListEventsAfterCopyMove() = 0;
    // A move begun in the editor goes back to it when cancelled.
    virtual std::shared_ptr<EventDetailsViewController> getOrCreateEventDetailsController() = 0;
    virtual void pushPortraitViewController(const std::shared_ptr<ViewController>& viewController) = 0;
};

// Copying and moving an event to the day the user taps next: the pulsing event, the veil over
// the other days and the bar at the top while it lasts, the span question for a repeating event,
// and the save (a quick move of a single event waits a moment, so that its rows move first).
class WeekCopyMoveCoordinator : public RecurringEventActionSheetDelegate,
                                public std::enable_shared_from_this<WeekCopyMoveCoordinator> {
public:
    WeekCopyMoveCoordinator(EventService& eventService, CopyMoveEventMode& copyMoveEventMode,
                            ApplicationEventDispatcher& dispatcher);
    void setHost(std::weak_ptr<WeekCopyMoveHost> host) { m_host = std::move(host); }

    // Null until the first copy or move.
    const std::shared_ptr<MoveEventBarView>& moveEventBar() const { return m_moveEventBar; }

    void activateCopyOrMove(const std::shared_ptr<EKEvent>& event, Date date, bool copy);
    void toggleMovingEventModeAnimated(bool animated, bool cancelled);
    void showOrHideMoveEventBarAnimated(bool animated, bool bottomBar);
    void quickMoveEventToDate(Date date);
    void quickMoveEventToDate(Date date, EKSpan span, bool recurring);
    void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) override;
    void copyEventToDate(Date date);
    void saveEvent(const EventSaveCommand& command);
    void cancelCopyMoveEvent();
    void restoreMovingEventToPreviousState();
    void savePendingMove();
    void noteStoreChangeDuringMove();

    // The pages' movements, as far as the copy or move follows them.
    void pagesScrolled();
    void pagesSettledAfterDrag();
    void jumpSettled();

private:
    // The pulsing event on its own day, the veil with marching ants over every other day, and
    // "Cancel" in place of "Today"; or all of it taken away again.
    void showCopyMoveLook(WeekCopyMoveHost& host, bool active);
    void reopenListEventsAfterCancel(WeekCopyMoveHost& host);
    void createMoveEventBar(WeekCopyMoveHost& host);
    void moveEventBarSlideFinished();

    std::weak_ptr<WeekCopyMoveHost> m_host;
    EventService& m_eventService;
    CopyMoveEventMode& m_copyMoveEventMode;
    ApplicationEventDispatcher& m_dispatcher;
    std::shared_ptr<MoveEventBarView> m_moveEventBar;
    bool m_moveBarVisible = false;
    // A quick move whose save waits for the rows to move first.
    std::shared_ptr<EventSaveCommand> m_pendingSave;
    std::shared_ptr<Timer> m_pendingSaveTimer;
    bool m_storeChangedDuringMove = false;
};
