#pragma once

#include "core/bus/BusReceiver.h"
#include "core/calendar/Week.h"
#include "foundation/Date.h"
#include "kit/ScrollViewDelegate.h"
#include "kit/ViewController.h"
#include "ui/editing/RecurringEventActionSheetDelegate.h"
#include "ui/editor/EventDetailsViewControllerDelegate.h"
#include "ui/search/SearchBarViewDelegate.h"
#include "ui/week/GlobalActionsListViewDelegate.h"

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
class DeleteEventEvent;
class EKEvent;
class EventDetailsViewController;
class EventSaveCommand;
class EventSelectedEvent;
class EventService;
class EventTouchLock;
class GlobalActionsListView;
class GestureRecognizer;
class Hint;
class ImageView;
class ListEventsEvent;
class ListEventsViewController;
class LoadingIndicator;
class MoveEventBarView;
class ScrollView;
class SearchBarView;
class SearchService;
struct KeyInput;
class TimeZoneChangedEvent;
class WeekPickerController;
class Timer;
class WeekViewController;
class WeekendDaysChangedEvent;

// The main screen: one week at a time as a page of seven day boxes, paged sideways without end.
// Three pages stand at page positions 99, 100 and 101 of a content 201 pages wide; the middle one
// shows the displayed week, and the outer ones are recycled as the user drags past them. A jump
// of more than one week crosses a blurred picture instead of the weeks in between. The screen
// owns the bar's "Today" button and date title and is the hub the other screens report to.
class WeekScrollViewController : public ViewController,
                                 public ScrollViewDelegate,
                                 public BusReceiver,
                                 public EventDetailsViewControllerDelegate,
                                 public RecurringEventActionSheetDelegate,
                                 public GlobalActionsListViewDelegate,
                                 public SearchBarViewDelegate {
public:
    static constexpr int pageCount = 201;
    static constexpr int middlePagePosition = 100;

    // Reads the settings (time zone, first weekday, week numbering) and becomes the shared
    // instance.
    static std::shared_ptr<WeekScrollViewController> create();
    WeekScrollViewController();
    ~WeekScrollViewController() override;
    // The instance made last, or null.
    static std::shared_ptr<WeekScrollViewController> sharedWeekScrollViewController();

    Week currentWeek() const override { return m_displayedWeek; }
    const std::vector<std::shared_ptr<WeekViewController>>& weekViews() const { return m_weekViews; }
    const std::shared_ptr<ScrollView>& scrollView() const { return m_scrollView; }
    const std::shared_ptr<DateTitleView>& dateTitleView() const { return m_dateTitleView; }
    const std::shared_ptr<BarButtonItem>& todayButton() const { return m_todayButton; }
    const std::shared_ptr<BarButtonItem>& actionButton() const { return m_actionButton; }
    // "Cancel", in place of "Today" while an event is copied or moved.
    const std::shared_ptr<BarButtonItem>& cancelMoveButton() const { return m_cancelMoveButton; }
    // Null until the first copy or move.
    const std::shared_ptr<MoveEventBarView>& moveEventBar() const { return m_moveEventBar; }
    const std::shared_ptr<LoadingIndicator>& loadingIndicator() const { return m_loadingIndicator; }
    const std::shared_ptr<ImageView>& fuzzyTransitionView() const { return m_fuzzyTransitionView; }
    const std::optional<Week>& targetWeek() const { return m_targetWeek; }
    // The day list, once it has been opened.
    const std::shared_ptr<ListEventsViewController>& listEventsViewController() const {
        return m_listEventsViewController;
    }
    int sameDirectionCount() const { return m_sameDirectionCount; }
    int lastDirection() const { return m_lastDirection; }
    // True once the displayed week's events have been shown for the first time.
    bool firstWeekLoaded() const { return m_firstWeekLoaded; }

    // Navigation.
    void scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup);
    void scrollToToday();
    void jumpToWeek(const Week& week);
    void updateHeaderWithWeek(const Week& week);
    void correctDateTitleViewSize();

    // The event editor, made on first use with this screen as its delegate.
    std::shared_ptr<EventDetailsViewController> getOrCreateEventDetailsController();
    void pushPortraitViewController(const std::shared_ptr<ViewController>& viewController);

    // Reports of the editor and of deletions.
    void eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew, bool spansMultipleEvents,
                    bool delayed) override;
    void eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) override;
    void eventDeleted(const QString& eventIdentifier, bool recurring) override;
    void toggleMovingEventMode() override;
    void updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring, bool delayed);

    // Copying and moving an event to the day the user taps next.
    void toggleMovingEventModeAnimated(bool animated, bool cancelled);
    // Slides the move bar in or out at the top (or makes room for the search bar at the
    // bottom).
    void showOrHideMoveEventBarAnimated(bool animated, bool bottomBar);
    void quickMoveEventToDate(Date date);
    // A repeating event (`recurring`) is saved at once and every page reads its week again;
    // any other waits a moment, so that its rows move first.
    void quickMoveEventToDate(Date date, EKSpan span, bool recurring);
    void clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) override;
    void copyEventToDate(Date date);
    void saveEvent(const EventSaveCommand& command);
    void cancelCopyMoveEvent();
    void restoreMovingEventToPreviousState();
    // Writes a quick move still waiting for its delayed save now; the program is ending.
    void savePendingMove();

    // Bus receivers.
    void handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event);
    void handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event);
    void listEvents(const std::shared_ptr<ListEventsEvent>& event);
    void activateCopyOrMove(const std::shared_ptr<ActivateCopyMoveEvent>& event);
    void applicationBecameActive(const std::shared_ptr<ApplicationActivatedEvent>& event);
    void timeZoneChanged(const std::shared_ptr<TimeZoneChangedEvent>& event);
    void weekendDaysChanged(const std::shared_ptr<WeekendDaysChangedEvent>& event);
    void deleteEvent(const std::shared_ptr<DeleteEventEvent>& event);

    // The week picker, opened by a tap on the title (or from the actions menu) over the pages.
    void openWeekPicker(bool fromMenu);
    void closeWeekPickerAnimated(bool animated, std::function<void()> completion);
    void handleWeekPickerCancelButton();
    void handleWeekPickerGoButton();
    const std::shared_ptr<WeekPickerController>& weekPickerController() const {
        return m_weekPickerController;
    }

    // An upward swipe on a page.
    void toggleSearch(GestureRecognizer& recognizer);
    // Search, as the search bar's delegate.
    void showSearchResult(const std::optional<SearchResult>& result) override;
    void doneSearching(bool animated) override;
    bool searchModeActivated() const { return m_searchModeActivated; }
    // Null until search is first opened.
    const std::shared_ptr<SearchBarView>& searchBar() const { return m_searchBar; }
    // Ctrl+F opens search; the open search takes Escape, Return and the arrows.
    bool handleScreenKey(const KeyInput& input);

    // The actions menu under the actions button, made on first use for each orientation, and
    // its choices.
    void showActions();
    void clickedButtonAtIndex(int buttonIndex) override;
    const std::shared_ptr<GlobalActionsListView>& portraitMenuView() const { return m_portraitMenuView; }
    const std::shared_ptr<GlobalActionsListView>& landscapeMenuView() const { return m_landscapeMenuView; }

    // ScrollViewDelegate.
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewWillBeginDragging(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ScrollView& scrollView) override;
    void scrollViewDidEndScrollingAnimation(ScrollView& scrollView) override;

    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    std::vector<std::shared_ptr<ViewController>> childViewControllersForAppearance() const override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;
    // Also drops the editor while it is off screen and not away in the move round trip.
    void didReceiveMemoryWarning() override;

protected:
    void loadView() override;
    void viewDidLoad() override;
    void viewDidUnload() override;

    // A page whose rows take their touches under `touchLock`, the lock of all pages.
    virtual std::shared_ptr<WeekViewController>
    newWeekViewController(std::shared_ptr<EventTouchLock> touchLock);

private:
    void initializeWeekViews();
    void initializeViews(bool firstTime);
    void fadeOutLoadingIndicator();
    void applyWeekViewPositions();
    void removeWeekViews();
    std::shared_ptr<WeekViewController> currentViewInMiddleOfScreen() const;
    void prepareFuzzyTransitionStartingAtPosition(int position);
    void scrollViewReallyDidEndDecelerating();
    void scrollViewDidReallyEndScrollingAnimation();
    void settleAfterDrag();
    void countDirection(int page);
    void setTouchesOnPagesEnabled(bool enabled);
    void scrollToPagePosition(int position, bool animated);
    void reloadHighlightedDay();
    void resetScreen();
    void applyWeekSettings();
    void showEventViewer(const std::shared_ptr<EKEvent>& event);
    // The day list steps aside while an event is copied or moved, and comes back after a cancel.
    void fadeOutListEventsForCopyMove();
    void fadeInListEventsAfterCopyMove();
    void reopenListEventsAfterCancel();
    void showCopyMoveLook(bool active);
    void createMoveEventBar();
    void moveEventBarSlideFinished(bool bottomBar);
    void noteStoreChangeDuringMove();
    bool editorIsTopScreen();
    bool listEventsViewVisible() const;
    void closeListEventsPopupAnimated(bool animated);
    // The day list, made on first use.
    std::shared_ptr<ListEventsViewController> getOrCreateListEventsViewController();
    // Forgets the day list (closing it first), to be built again with new settings.
    void dropScreensMadeForOldWeekSettings();
    void dropListEventsViewController();
    void updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew);
    void updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed);
    void updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event);
    std::shared_ptr<WeekViewController> middlePage() const;
    std::weak_ptr<WeekScrollViewController> weakSelf();
    // Three new pages around the current week, as at launch.
    void rebuildWeekViewsForCurrentWeek();
    void createWeekPickerController();
    void dropWeekPickerController();
    void dateTitleTapped();
    void weekPickerSelectionChanged(const std::optional<Week>& week);
    void closeWeekPickerAndJumpToWeek(const std::optional<Week>& week);
    void openSearch();
    void initializeSearchBar();
    void toggleSearchBarAnimated(bool animated);
    // Marks the kept search result on every page, or hides the bubble when there is none.
    void highlightSearchResultAfterScroll();
    void hideSearchHighlight();

    std::shared_ptr<ScrollView> m_scrollView;
    std::shared_ptr<BarButtonItem> m_todayButton;
    std::shared_ptr<BarButtonItem> m_actionButton;
    std::shared_ptr<DateTitleView> m_dateTitleView;
    std::shared_ptr<LoadingIndicator> m_loadingIndicator;
    Week m_displayedWeek;
    std::shared_ptr<ImageView> m_fuzzyTransitionView;
    ApplicationEventDispatcher& m_dispatcher;
    EventService& m_eventService;
    std::vector<std::shared_ptr<WeekViewController>> m_weekViews;
    // A touch on a row of one page keeps the rows of every page from a touch of their own.
    std::shared_ptr<EventTouchLock> m_eventTouchLock;
    double m_width = 320.0;
    double m_height = 416.0;
    CopyMoveEventMode& m_copyMoveEventMode;
    std::shared_ptr<BarButtonItem> m_cancelMoveButton;
    std::shared_ptr<MoveEventBarView> m_moveEventBar;
    bool m_moveBarVisible = false;
    // A quick move whose save waits for the rows to move first.
    std::shared_ptr<EventSaveCommand> m_pendingSave;
    std::shared_ptr<Timer> m_pendingSaveTimer;
    bool m_storeChangedDuringMove = false;
    std::shared_ptr<Hint> m_weekPickerHint;
    int m_sameDirectionCount = 0;
    int m_lastDirection = 0;
    std::optional<Week> m_targetWeek;
    std::shared_ptr<EKEvent> m_lastSelectedEvent;
    std::shared_ptr<EventDetailsViewController> m_detailsController;
    std::shared_ptr<ListEventsViewController> m_listEventsViewController;
    bool m_firstWeekLoaded = false;
    std::shared_ptr<WeekPickerController> m_weekPickerController;
    std::shared_ptr<BarButtonItem> m_savedLeftBarButtonItem;
    std::shared_ptr<BarButtonItem> m_savedRightBarButtonItem;
    bool m_savedLeftBarButtonItemEnabled = true;
    bool m_savedRightBarButtonItemEnabled = true;

    // The screens the actions menu opens.
    void presentCalendarsScreen();
    void presentSettingsScreen();
    void openSearchFromMenu();
    void closeSearchForMenuScreen();
    std::shared_ptr<GlobalActionsListView> m_portraitMenuView;
    std::shared_ptr<GlobalActionsListView> m_landscapeMenuView;
    std::shared_ptr<SearchService> m_searchService;
    std::shared_ptr<SearchBarView> m_searchBar;
    bool m_searchModeActivated = false;
    // Highlighted once the jump to its week has settled.
    std::optional<SearchResult> m_searchResult;
};
