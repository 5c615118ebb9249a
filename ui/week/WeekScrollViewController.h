#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "core/events/SearchResult.h"
#include "core/eventstore/EKEventStore.h"
#include "foundation/Date.h"
#include "kit/NavigationController.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/ViewController.h"
#include "ui/week/ActionsMenuCoordinator.h"
#include "ui/week/EventEditingCoordinator.h"
#include "ui/week/WeekCopyMoveCoordinator.h"
#include "ui/week/WeekKeyboard.h"
#include "ui/week/WeekPager.h"
#include "ui/week/WeekPickerCoordinator.h"
#include "ui/week/WeekRotationCoordinator.h"
#include "ui/week/WeekSearchCoordinator.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ActivateCopyMoveEvent;
class ApplicationActivatedEvent;
class ApplicationEventDispatcher;
class BarButtonItem;
class CopyMoveEventMode;
class DateSelectedEvent;
class DateTitleView;
class DayListCoordinator;
class DeleteEventEvent;
class EKEvent;
class EventDetailsViewController;
class EventSaveCommand;
class EventSelectedEvent;
class EventService;
class EventTouchLock;
class GlobalActionsListView;
class GestureRecognizer;
class ImageView;
class ListEventsEvent;
class ListEventsViewController;
class LoadingIndicator;
class MoveEventBarView;
class RecurringEventActionSheet;
class ScrollView;
class SearchBarView;
struct KeyInput;
class TimeZoneChangedEvent;
class WeekPickerController;
class WeekViewController;
class WeekendDaysChangedEvent;

// The main screen: one week at a time as a page of seven day boxes, paged sideways without end
// (see WeekPager). The screen owns the bar's "Today" button and date title and is the hub the
// other screens report to; each of its jobs lives in a collaborator it owns and serves.
class WeekScrollViewController : public ViewController,
                                 public ScrollViewDelegate,
                                 public BusReceiver,
                                 public WeekPagerHost,
                                 public WeekPickerHost,
                                 public WeekSearchHost,
                                 public WeekCopyMoveHost,
                                 public EventEditingHost,
                                 public ActionsMenuHost,
                                 public WeekRotationHost,
                                 public WeekKeyboardHost,
                                 public NavigationControllerDelegate {
public:
    static constexpr int pageCount = WeekPager::pageCount;
    static constexpr int middlePagePosition = WeekPager::middlePagePosition;

    // Reads the settings (time zone, first weekday, week numbering) and becomes the shared
    // instance.
    static std::shared_ptr<WeekScrollViewController> create();
    // The same for a screen of a subclass (the tablet's).
    static void becomeSharedInstance(const std::shared_ptr<WeekScrollViewController>& controller);
    WeekScrollViewController();
    ~WeekScrollViewController() override;
    // The instance made last, or null.
    static std::shared_ptr<WeekScrollViewController> sharedWeekScrollViewController();

    Week currentWeek() const override { return m_pager->displayedWeek(); }
    const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const override {
        return m_pager->weekViews();
    }
    const std::shared_ptr<ScrollView>& scrollView() const override { return m_scrollView; }
    const std::shared_ptr<DateTitleView>& dateTitleView() const override { return m_dateTitleView; }
    const std::shared_ptr<BarButtonItem>& todayButton() const { return m_todayButton; }
    const std::shared_ptr<BarButtonItem>& actionButton() const override { return m_actionButton; }
    // "Cancel", in place of "Today" while an event is copied or moved.
    const std::shared_ptr<BarButtonItem>& cancelMoveButton() const { return m_cancelMoveButton; }
    // Null until the first copy or move.
    const std::shared_ptr<MoveEventBarView>& moveEventBar() const { return m_copyMove->moveEventBar(); }
    const std::shared_ptr<LoadingIndicator>& loadingIndicator() const override { return m_loadingIndicator; }
    const std::shared_ptr<ImageView>& fuzzyTransitionView() const { return m_pager->fuzzyTransitionView(); }
    const std::optional<Week>& targetWeek() const { return m_pager->targetWeek(); }
    // The day list, once it has been opened.
    const std::shared_ptr<ListEventsViewController>& listEventsViewController() const;
    int sameDirectionCount() const { return m_pager->sameDirectionCount(); }
    int lastDirection() const { return m_pager->lastDirection(); }
    // True once the displayed week's events have been shown for the first time.
    bool firstWeekLoaded() const { return m_pager->firstWeekLoaded(); }

    // Navigation.
    void scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup) override;
    void scrollToToday() override;
    void jumpToWeek(const Week& week) override;
    void updateHeaderWithWeek(const Week& week) override;
    void correctDateTitleViewSize();

    // The event editor, made on first use.
    std::shared_ptr<EventDetailsViewController> getOrCreateEventDetailsController() override;
    void pushPortraitViewController(const std::shared_ptr<ViewController>& viewController) override;

    // Reports of the editor and of deletions.
    void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spansMultipleEvents,
                    bool delayed);
    void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) override;
    void eventDeleted(const QString& eventIdentifier, bool recurring);
    void toggleMovingEventMode();
    void updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring, bool delayed);

    // Copying and moving an event to the day the user taps next.
    void toggleMovingEventModeAnimated(bool animated, bool cancelled) override {
        m_copyMove->toggleMovingEventModeAnimated(animated, cancelled);
    }
    // Slides the move bar in or out at the top (or makes room for the search bar at the
    // bottom).
    void showOrHideMoveEventBarAnimated(bool animated, bool bottomBar) override {
        m_copyMove->showOrHideMoveEventBarAnimated(animated, bottomBar);
    }
    void quickMoveEventToDate(Date date) { m_copyMove->quickMoveEventToDate(date); }
    // A repeating event (`recurring`) is saved at once and every page reads its week again;
    // any other waits a moment, so that its rows move first.
    void quickMoveEventToDate(Date date, EKSpan span, bool recurring) {
        m_copyMove->quickMoveEventToDate(date, span, recurring);
    }
    void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) {
        m_copyMove->clickedButtonForSpan(actionSheet, span);
    }
    void copyEventToDate(Date date) { m_copyMove->copyEventToDate(date); }
    void saveEvent(const EventSaveCommand& command) { m_copyMove->saveEvent(command); }
    void cancelCopyMoveEvent();
    void restoreMovingEventToPreviousState() { m_copyMove->restoreMovingEventToPreviousState(); }
    // Writes a quick move still waiting for its delayed save now; the program is ending.
    void savePendingMove() { m_copyMove->savePendingMove(); }

    // Bus receivers.
    virtual void handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event);
    virtual void handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event);
    void listEvents(const std::shared_ptr<ListEventsEvent>& event);
    void activateCopyOrMove(const std::shared_ptr<ActivateCopyMoveEvent>& event);
    void applicationBecameActive(const std::shared_ptr<ApplicationActivatedEvent>& event);
    void timeZoneChanged(const std::shared_ptr<TimeZoneChangedEvent>& event);
    void weekendDaysChanged(const std::shared_ptr<WeekendDaysChangedEvent>& event);
    void deleteEvent(const std::shared_ptr<DeleteEventEvent>& event);

    // The week picker, opened by a tap on the title (or from the actions menu) over the pages.
    void openWeekPicker(bool fromMenu) override { m_weekPicker->openWeekPicker(fromMenu); }
    void closeWeekPickerAnimated(bool animated, std::function<void()> completion);
    void handleWeekPickerCancelButton() { m_weekPicker->handleWeekPickerCancelButton(); }
    void handleWeekPickerGoButton() { m_weekPicker->handleWeekPickerGoButton(); }
    const std::shared_ptr<WeekPickerController>& weekPickerController() const {
        return m_weekPicker->weekPickerController();
    }

    // An upward swipe on a page.
    void toggleSearch(GestureRecognizer& recognizer) override;
    // Search, as told by the search bar.
    void showSearchResult(const std::optional<SearchResult>& result) { m_search->showSearchResult(result); }
    void doneSearching(bool animated) { m_search->doneSearching(animated); }
    bool searchModeActivated() const override { return m_search->searchModeActivated(); }
    // Null until search is first opened.
    const std::shared_ptr<SearchBarView>& searchBar() const { return m_search->searchBar(); }
    // The actions menu under the actions button, made on first use for each orientation, and
    // its choices.
    virtual void showActions();
    void clickedButtonAtIndex(int buttonIndex) { m_actionsMenu->clickedButtonAtIndex(buttonIndex); }
    const std::shared_ptr<GlobalActionsListView>& portraitMenuView() const {
        return m_actionsMenu->portraitMenuView();
    }
    const std::shared_ptr<GlobalActionsListView>& landscapeMenuView() const {
        return m_actionsMenu->landscapeMenuView();
    }

    // ScrollViewDelegate.
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewWillBeginDragging(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override;
    void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) override;

    void viewWillAppear(bool animated) override;
    std::vector<std::shared_ptr<ViewController>> childViewControllersForAppearance() const override;
    // Turning between the week pages (portrait) and the three-weeks view (landscape).
    bool shouldAutorotateToInterfaceOrientation(int orientation) override {
        return m_rotation->shouldAutorotateToInterfaceOrientation(orientation);
    }
    void willRotateToInterfaceOrientation(int orientation, double duration) override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;
    void didRotateFromInterfaceOrientation(int fromOrientation) override;
    void forcePortrait() override { m_rotation->forcePortrait(); }
    void setReevaluateInterfaceOrientationOnceWhenBack() override {
        m_rotation->setReevaluateInterfaceOrientationOnceWhenBack();
    }
    void allowLandscapeWithReevaluation(bool reevaluate) {
        m_rotation->allowLandscapeWithReevaluation(reevaluate);
    }
    void reevaluateInterfaceOrientation() { m_rotation->reevaluateInterfaceOrientation(); }
    // Null until the screen first turns to landscape.
    const std::shared_ptr<ThreeWeeksView>& threeWeeksView() const { return m_rotation->threeWeeksView(); }
    // NavigationControllerDelegate: back above the stack, the screen may turn again.
    void willShowViewController(NavigationController& navigationController, ViewController& viewController,
                                bool animated) override;
    // Also drops the editor while it is off screen and not away in the move round trip.
    void didReceiveMemoryWarning() override;

protected:
    void loadView() override;
    // Ctrl+F opens search; the open search takes Escape, Return and the arrows. Escape closes the
    // top-most menu, the week picker or the day list.
    bool handleScreenKeyInput(const KeyInput& input) override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // A page whose rows take their touches under `touchLock`, the lock of all pages.
    std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) override;
    // The title in the middle of the bar.
    virtual std::shared_ptr<DateTitleView> newDateTitleView(const Rect& frame);
    // A button of the bar pressed while the pages glide stops the glide and settles the pages
    // first, so that what it starts begins from a settled week.
    void settleGlideNow();
    // Closes the top-most menu or screen laid over the week (Escape); says whether it did.
    virtual bool closeTopmostPopup();

private:
    // The week's own keys (see WeekKeyboard).
    bool weekTakesKeys() const override;
    // The week before (-1) or after (1), in the week pages or the three weeks.
    void showNeighbourWeek(int weeks) override;
    // The hosts' side of the collaborators.
    ViewController& weekScreen() override { return *this; }
    void middlePageMovedForJump(double dx) override;
    void showCancelMoveButton(bool shown) override;
    bool listEventsViewVisible() const override;
    void fadeOutListEventsForCopyMove() override;
    void fadeInListEventsAfterCopyMove() override;
    void updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew) override;
    void updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed) override;
    void updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event) override;
    void openSearchFromMenu() override { m_search->openSearchFromMenu(); }
    void closeSearchForMenuScreen() override { m_search->closeSearchForMenuScreen(); }
    void landscapeWeekChanged(const Week& week) override;
    void landscapeLandedOnWeek(const Week& week) override;
    void portraitPagesCatchUp() override { m_pager->initializeViews(false); }
    void configureOverlaysForOrientation(bool landscape) override;

    void scrollViewReallyDidEndDecelerating();
    void scrollViewDidReallyEndScrollingAnimation();
    void settleAfterDrag();
    void settleIfPending();
    void resetScreen();
    void applyWeekSettings();
    // The pages read their weeks again: a move waiting for its save notes it, and the keyboard's
    // selection goes.
    void eventStoreChanged() {
        m_copyMove->noteStoreChangeDuringMove();
        m_keyboard->clearSelection();
    }
    void closeListEventsPopupAnimated(bool animated);
    // The editor, week picker and day list were laid out for the old week settings; they are
    // made again on next use.
    void dropScreensMadeForOldWeekSettings();
    std::weak_ptr<WeekScrollViewController> weakSelf();
    void dateTitleTapped();

    std::shared_ptr<ScrollView> m_scrollView;
    // A settle after a drag is posted to the next turn; one that ran early is not run again.
    bool m_settlePending = false;
    std::shared_ptr<BarButtonItem> m_todayButton;
    std::shared_ptr<BarButtonItem> m_actionButton;
    std::shared_ptr<BarButtonItem> m_cancelMoveButton;
    std::shared_ptr<DateTitleView> m_dateTitleView;
    std::shared_ptr<LoadingIndicator> m_loadingIndicator;
    ApplicationEventDispatcher& m_dispatcher;
    EventService& m_eventService;
    CopyMoveEventMode& m_copyMoveEventMode;

    std::shared_ptr<WeekPager> m_pager;
    std::shared_ptr<DayListCoordinator> m_dayList;
    std::shared_ptr<WeekCopyMoveCoordinator> m_copyMove;
    std::shared_ptr<WeekSearchCoordinator> m_search;
    std::shared_ptr<WeekPickerCoordinator> m_weekPicker;
    std::shared_ptr<EventEditingCoordinator> m_editing;
    std::shared_ptr<ActionsMenuCoordinator> m_actionsMenu;
    std::shared_ptr<WeekRotationCoordinator> m_rotation;
    std::shared_ptr<WeekKeyboard> m_keyboard;
};
