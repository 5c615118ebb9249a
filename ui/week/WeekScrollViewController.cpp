#include "ui/week/WeekScrollViewController.h"
#include "ui/common/WeakScreenAction.h"

#include "core/bus/ActivateCopyMoveEvent.h"
#include "core/bus/ApplicationActivatedEvent.h"
#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/DateSelectedEvent.h"
#include "core/bus/DeleteEventEvent.h"
#include "core/bus/EventSelectedEvent.h"
#include "core/bus/EventStoreChangedEvent.h"
#include "core/bus/ListEventsEvent.h"
#include "core/bus/TimeZoneChangedEvent.h"
#include "core/bus/WeekendDaysChangedEvent.h"
#include "core/calendar/DateTimeFormatter.h"
#include "core/calendar/DateUtilities.h"
#include "core/calendar/Day.h"
#include "core/calendar/Month.h"
#include "core/events/EventService.h"
#include "core/hints/Hint.h"
#include "core/settings/AppSettings.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "foundation/TimeZone.h"
#include "kit/Application.h"
#include "kit/Artwork.h"
#include "kit/BarButtonItem.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Font.h"
#include "kit/KeyInput.h"
#include "kit/LoadingIndicator.h"
#include "kit/MenuController.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/NotificationCenter.h"
#include "kit/Screen.h"
#include "kit/ScrollView.h"
#include "kit/StringDrawing.h"
#include "kit/Window.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/daylist/ListEventsViewController.h"
#include "ui/threeweeks/ThreeWeeksView.h"
#include "ui/week/DateTitleView.h"
#include "ui/week/DayListCoordinator.h"
#include "ui/week/WeekArtwork.h"
#include "ui/week/WeekViewController.h"
#include "ui/weekpicker/WeekPickerController.h"

#include <algorithm>
#include <utility>

namespace {

std::weak_ptr<WeekScrollViewController>& sharedController() {
    static std::weak_ptr<WeekScrollViewController> controller;
    return controller;
}

// The area between the left and right bar buttons that the date title may take.
constexpr double titleAreaWidth = 251.0;
constexpr double minimumLeftButtonWidth = 48.0;
// The bar centres the title; its outline band then sits in the middle of the bar.
constexpr double titleHeight = 32.0;

} // namespace

std::shared_ptr<WeekScrollViewController> WeekScrollViewController::create() {
    auto controller = std::make_shared<WeekScrollViewController>();
    becomeSharedInstance(controller);
    return controller;
}

void WeekScrollViewController::becomeSharedInstance(
    const std::shared_ptr<WeekScrollViewController>& controller) {
    sharedController() = controller;
}

std::shared_ptr<WeekScrollViewController> WeekScrollViewController::sharedWeekScrollViewController() {
    return sharedController().lock();
}

WeekScrollViewController::WeekScrollViewController()
    : m_dispatcher(ApplicationEventDispatcher::sharedInstance()),
      m_eventService(EventService::sharedInstance()),
      m_copyMoveEventMode(CopyMoveEventMode::sharedInstance()) {
    AppSettings& settings = AppSettings::instance();
    TimeZone::setDefaultTimeZone(settings.loadDefaultTimeZone());
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    applyWeekSettings();
    DeviceDependentValues::initValues();
    Hint::loadHints();
    const std::shared_ptr<Hint> weekPickerHint = Hint::hintByIdentifier(QStringLiteral("jumpToDateHint"));
    m_pager = std::make_shared<WeekPager>(weekPickerHint);
    m_dayList = std::make_shared<DayListCoordinator>();
    m_copyMove = std::make_shared<WeekCopyMoveCoordinator>(m_eventService, m_copyMoveEventMode, m_dispatcher);
    m_search = std::make_shared<WeekSearchCoordinator>(m_eventService, m_copyMoveEventMode);
    m_weekPicker = std::make_shared<WeekPickerCoordinator>(weekPickerHint);
    m_editing = std::make_shared<EventEditingCoordinator>(m_eventService, m_copyMoveEventMode, m_dispatcher);
    m_actionsMenu = std::make_shared<ActionsMenuCoordinator>(m_eventService);
    m_rotation = std::make_shared<WeekRotationCoordinator>(m_copyMoveEventMode);
    m_keyboard = std::make_shared<WeekKeyboard>(m_eventService, m_copyMoveEventMode, m_dispatcher);
    WeekArtwork::registerImages();
}

WeekScrollViewController::~WeekScrollViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    m_dispatcher.unregisterAllEventsForTarget(this);
}

void WeekScrollViewController::applyWeekSettings() {
    const AppSettings& settings = AppSettings::instance();
    Week::setFirstWeekdayOfWeek(AppSettings::firstWeekDayForWeekendDays(settings.loadWeekendDays()));
    Week::setWeekNumberMethod(settings.loadWeekNumberMethod());
}

void WeekScrollViewController::loadView() {
    const Rect screen = Screen::main().bounds();
    const double height = screen.height() - Screen::statusBarHeight - NavigationBar::height;
    auto root = std::make_shared<View>(Rect(0, 0, screen.width(), height));
    root->setBackgroundColor(Color::fromRgb255(192, 203, 211));
    m_scrollView = std::make_shared<ScrollView>(Rect(0, 0, screen.width(), height));
    m_scrollView->setPagingEnabled(true);
    m_scrollView->setShowsHorizontalScrollIndicator(false);
    m_scrollView->setShowsVerticalScrollIndicator(false);
    m_scrollView->setClipsToBounds(true);
    root->addSubview(m_scrollView);
    m_loadingIndicator = std::make_shared<LoadingIndicator>(LoadingIndicator::Style::Gray);
    m_loadingIndicator->setCenter(Point(screen.width() / 2, height / 2));
    m_loadingIndicator->startAnimating();
    root->addSubview(m_loadingIndicator);
    setView(root);
}

void WeekScrollViewController::viewDidLoad() {
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    m_scrollView->setDelegate(weakSelf);
    m_pager->setHost(weakSelf);
    m_copyMove->setHost(weakSelf);
    m_search->setHost(weakSelf);
    m_weekPicker->setHost(weakSelf);
    m_editing->setHost(weakSelf);
    m_actionsMenu->setHost(weakSelf);
    m_rotation->setHost(weakSelf);
    m_keyboard->setHost(weakSelf);

    m_todayButton = std::make_shared<BarButtonItem>(
        localizedString(QStringLiteral("Today")), BarButtonItem::Style::Bordered,
        weakScreenAction(weakSelf, &WeekScrollViewController::scrollToToday));
    m_actionButton = std::make_shared<BarButtonItem>(
        Artwork::imageNamed(QStringLiteral("actions-button")), BarButtonItem::Style::Bordered,
        weakScreenAction(weakSelf, &WeekScrollViewController::showActions));
    m_cancelMoveButton = std::make_shared<BarButtonItem>(
        localizedString(QStringLiteral("Cancel")), BarButtonItem::Style::Done,
        weakScreenAction(weakSelf, &WeekScrollViewController::cancelCopyMoveEvent));
    m_dateTitleView = newDateTitleView(Rect(0, 0, titleAreaWidth - minimumLeftButtonWidth, titleHeight));
    m_dateTitleView->setOnTapped(weakScreenAction(weakSelf, &WeekScrollViewController::dateTitleTapped));
    NavigationItem& item = *navigationItem();
    item.setLeftBarButtonItem(m_todayButton);
    item.setRightBarButtonItem(m_actionButton);
    item.setTitleView(m_dateTitleView);
    correctDateTitleViewSize();

    m_pager->loadPages();

    m_dispatcher.registerTarget<EventSelectedEvent>(this, &WeekScrollViewController::handleSelectedEvent);
    m_dispatcher.registerTarget<DateSelectedEvent>(this, &WeekScrollViewController::handleSelectedDate);
    m_dispatcher.registerTarget<ListEventsEvent>(this, &WeekScrollViewController::listEvents);
    m_dispatcher.registerTarget<ActivateCopyMoveEvent>(this, &WeekScrollViewController::activateCopyOrMove);
    m_dispatcher.registerTarget<ApplicationActivatedEvent>(
        this, &WeekScrollViewController::applicationBecameActive);
    m_dispatcher.registerTarget<TimeZoneChangedEvent>(this, &WeekScrollViewController::timeZoneChanged);
    m_dispatcher.registerTarget<WeekendDaysChangedEvent>(this, &WeekScrollViewController::weekendDaysChanged);
    m_dispatcher.registerTarget<DeleteEventEvent>(this, &WeekScrollViewController::deleteEvent);
    m_dispatcher.registerTarget<EventStoreChangedEvent>(this, &WeekScrollViewController::eventStoreChanged);
    NotificationCenter::defaultCenter().addObserver(this, Application::willTerminateNotification,
                                                    [weakSelf](const Notification&) {
                                                        if (auto self = weakSelf.lock()) {
                                                            self->savePendingMove();
                                                        }
                                                    });

    item.setBackBarButtonItem(std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Cancel")),
                                                              BarButtonItem::Style::Plain));
}

void WeekScrollViewController::viewDidUnload() {
    m_dispatcher.unregisterAllEventsForTarget(this);
    m_pager->unloadPages();
    m_scrollView.reset();
}

void WeekScrollViewController::viewWillAppear(bool) {
    if (const auto navigation = navigationController(); navigation && !navigation->delegate()) {
        navigation->setDelegate(std::static_pointer_cast<NavigationControllerDelegate>(weakSelf().lock()));
    }
    const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek();
    if (!m_editing->editorDoneEditing() && !m_copyMoveEventMode.activated() && returnWeek) {
        scrollToWeek(*returnWeek, false, false);
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
    }
    if (m_pager->hasPages()) {
        m_pager->middlePage()->deselectBackgroundDelayed(true);
    }
    // While an event is being moved, or the day list covers the week, the flash waits for a
    // later return.
    if (m_pager->hasPages() && !m_copyMoveEventMode.activated() && !listEventsViewVisible()) {
        m_editing->flashLastSelectedEvent();
    }
    m_pager->resetDirectionCount();
}

bool WeekScrollViewController::handleScreenKeyInput(const KeyInput& input) {
    if (m_search->handleScreenKey(input)) {
        return true;
    }
    if (input.type != KeyInput::Type::Press) {
        return false;
    }
    if (input.key == Qt::Key_Escape) {
        return closeTopmostPopup();
    }
    return m_keyboard->handleWeekKey(input);
}

bool WeekScrollViewController::weekTakesKeys() const {
    return m_scrollView && m_scrollView->scrollEnabled() && !listEventsViewVisible();
}

void WeekScrollViewController::showNeighbourWeek(int weeks) {
    const Week week = currentWeek().addWeeks(weeks);
    if (m_rotation->landscapeShown()) {
        m_rotation->threeWeeksView()->scrollToWeek(week, true);
    } else {
        scrollToWeek(week, true, true);
    }
}

bool WeekScrollViewController::closeTopmostPopup() {
    MenuController& editMenu = MenuController::sharedMenuController();
    if (editMenu.isMenuVisible()) {
        editMenu.setMenuVisible(false, true);
        return true;
    }
    if (m_actionsMenu->hideShownMenu()) {
        return true;
    }
    if (const auto& picker = weekPickerController(); picker && picker->visible()) {
        m_weekPicker->handleWeekPickerCancelButton();
        return true;
    }
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(true);
        return true;
    }
    return false;
}

// The day list, laid over this screen, appears and disappears with it.
std::vector<std::shared_ptr<ViewController>>
WeekScrollViewController::childViewControllersForAppearance() const {
    if (const std::shared_ptr<ListEventsViewController>& list = m_dayList->listEventsViewController()) {
        return {list};
    }
    return {};
}

void WeekScrollViewController::willRotateToInterfaceOrientation(int orientation, double) {
    settleGlideNow();
    m_rotation->willRotateToInterfaceOrientation(orientation);
}

void WeekScrollViewController::willAnimateRotationToInterfaceOrientation(int orientation, double duration) {
    ViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    m_rotation->willAnimateRotationToInterfaceOrientation(orientation);
}

void WeekScrollViewController::didRotateFromInterfaceOrientation(int) {
    m_rotation->didRotateFromInterfaceOrientation();
}

void WeekScrollViewController::configureOverlaysForOrientation(bool landscape) {
    m_weekPicker->configureForOrientation(landscape);
    m_dayList->configureForFrame(view()->frame());
    m_actionsMenu->hideShownMenu();
    Hint::hiddenAnyOpenHint();
}

void WeekScrollViewController::willShowViewController(NavigationController&, ViewController& viewController,
                                                      bool) {
    if (&viewController == this) {
        m_rotation->weekScreenWillShow();
    }
}

void WeekScrollViewController::landscapeWeekChanged(const Week& week) {
    updateHeaderWithWeek(week);
    m_pager->setDisplayedWeek(week);
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(true);
    }
}

void WeekScrollViewController::landscapeLandedOnWeek(const Week& week) {
    if (m_pager->hasPages()) {
        m_pager->middlePage()->clearWithWeek(week, false);
        m_pager->middlePage()->load();
    }
}

void WeekScrollViewController::didReceiveMemoryWarning() {
    m_dayList->dropListEventsViewControllerIfOffScreen();
    m_editing->dropEventDetailsControllerIfOffScreen();
    m_weekPicker->dropWeekPickerControllerIfOffScreen();
    ViewController::didReceiveMemoryWarning();
}

std::shared_ptr<WeekViewController>
WeekScrollViewController::newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) {
    return WeekViewController::create(std::move(touchLock));
}

std::shared_ptr<DateTitleView> WeekScrollViewController::newDateTitleView(const Rect& frame) {
    return DateTitleView::create(frame);
}

std::weak_ptr<WeekScrollViewController> WeekScrollViewController::weakSelf() {
    return std::static_pointer_cast<WeekScrollViewController>(shared_from_this());
}

// Scrolling.

void WeekScrollViewController::scrollViewDidScroll(ScrollView&) {
    if (!m_pager->hasPages()) {
        return;
    }
    m_copyMove->pagesScrolled();
    m_pager->recyclePagesAfterScroll();
}

void WeekScrollViewController::scrollViewWillBeginDragging(ScrollView&) {
    m_pager->setTouchesOnPagesEnabled(false);
    m_pager->middlePage()->deselectEventsAnimated(false, false);
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(false);
    }
}

void WeekScrollViewController::scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {
    // A drag released exactly on a page boundary does not decelerate, and would otherwise leave
    // the pages without touches until the next drag.
    if (!willDecelerate) {
        settleAfterDrag();
    } else {
        m_pager->setTouchesOnBarEnabled(true);
    }
}

void WeekScrollViewController::scrollViewDidEndDecelerating(ScrollView&) {
    settleAfterDrag();
}

void WeekScrollViewController::settleAfterDrag() {
    if (m_settlePending) {
        return;
    }
    m_settlePending = true;
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    RunLoop::main().post([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->settleIfPending();
        }
    });
}

void WeekScrollViewController::settleIfPending() {
    if (m_settlePending) {
        m_settlePending = false;
        scrollViewReallyDidEndDecelerating();
    }
}

void WeekScrollViewController::settleGlideNow() {
    if (m_scrollView && m_scrollView->isDecelerating()) {
        // Stopping reports the end of the deceleration, which posts the settle; it runs now.
        m_scrollView->setContentOffset(m_scrollView->contentOffset(), false);
        settleIfPending();
    }
}

// The bar's buttons act on settled pages.
void WeekScrollViewController::showActions() {
    settleGlideNow();
    m_actionsMenu->showActions();
}

void WeekScrollViewController::cancelCopyMoveEvent() {
    settleGlideNow();
    m_copyMove->cancelCopyMoveEvent();
}

void WeekScrollViewController::dateTitleTapped() {
    settleGlideNow();
    m_weekPicker->dateTitleTapped();
}

void WeekScrollViewController::scrollViewReallyDidEndDecelerating() {
    if (!m_scrollView || !m_pager->hasPages()) {
        return;
    }
    const int page = m_pager->settleAfterDrag();
    m_search->pagesSettledAfterDrag(currentWeek(), page != 0);
    m_copyMove->pagesSettledAfterDrag();
}

void WeekScrollViewController::scrollViewDidEndScrollingAnimation(ScrollView&) {
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    RunLoop::main().post([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->scrollViewDidReallyEndScrollingAnimation();
        }
    });
}

void WeekScrollViewController::scrollViewDidReallyEndScrollingAnimation() {
    if (!m_scrollView || !m_pager->hasPages()) {
        return;
    }
    m_pager->finishJump();
    m_search->jumpSettled();
    m_copyMove->jumpSettled();
}

// Jumps.

void WeekScrollViewController::scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup) {
    settleGlideNow();
    m_search->forgetSearchResult();
    if (listEventsViewVisible() && closeListEventsPopup) {
        closeListEventsPopupAnimated(animated);
    }
    if (!m_pager->scrollToWeek(week, animated)) {
        scrollViewDidEndScrollingAnimation(*m_scrollView);
    }
}

void WeekScrollViewController::middlePageMovedForJump(double dx) {
    m_search->middlePageMovedForJump(dx);
}

void WeekScrollViewController::scrollToToday() {
    m_pager->resetDirectionCount();
    m_todayButton->setEnabled(false);
    if (m_rotation->landscapeShown()) {
        m_rotation->threeWeeksView()->scrollToWeek(Week::currentWeek(), true);
        return;
    }
    scrollToWeek(Week::currentWeek(), true, true);
    m_search->displayedWeekChanged(Week::currentWeek());
}

void WeekScrollViewController::jumpToWeek(const Week& week) {
    if (m_rotation->landscapeShown()) {
        m_rotation->threeWeeksView()->scrollToWeek(week, true);
        m_pager->resetDirectionCount();
        return;
    }
    scrollToWeek(week, true, true);
    updateHeaderWithWeek(currentWeek());
    m_scrollView->setScrollEnabled(true);
    m_pager->resetDirectionCount();
}

void WeekScrollViewController::updateHeaderWithWeek(const Week& week) {
    m_keyboard->clearSelection();
    if (m_dateTitleView) {
        m_dateTitleView->setWeek(week);
    }
    if (m_todayButton) {
        m_todayButton->setEnabled(week != Week::currentWeek());
    }
}

void WeekScrollViewController::correctDateTitleViewSize() {
    const std::shared_ptr<BarButtonItem>& left = navigationItem()->leftBarButtonItem();
    double width = 0;
    if (left && !left->title().isEmpty()) {
        width = StringDrawing::sizeWithFont(left->title(), Font::boldSystemFontOfSize(12)).width();
    }
    width = std::max(width + 20, minimumLeftButtonWidth);
    m_dateTitleView->setFrameWidth(titleAreaWidth - width);
}

// Copying and moving an event to another day.

void WeekScrollViewController::showCancelMoveButton(bool shown) {
    navigationItem()->setLeftBarButtonItem(shown ? m_cancelMoveButton : m_todayButton);
    correctDateTitleViewSize();
}

// The editor and its reports.

std::shared_ptr<EventDetailsViewController> WeekScrollViewController::getOrCreateEventDetailsController() {
    return m_editing->getOrCreateEventDetailsController();
}

void WeekScrollViewController::pushPortraitViewController(
    const std::shared_ptr<ViewController>& viewController) {
    m_editing->pushPortraitViewController(viewController);
}

void WeekScrollViewController::eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew,
                                          bool spansMultipleEvents, bool delayed) {
    m_editing->eventSaved(event, isNew, spansMultipleEvents, delayed);
}

void WeekScrollViewController::eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) {
    m_editing->eventCopiedOrMoved(event, copied);
}

void WeekScrollViewController::toggleMovingEventMode() {
    m_editing->toggleMovingEventMode();
}

void WeekScrollViewController::eventDeleted(const QString& eventIdentifier, bool recurring) {
    m_editing->eventDeleted(eventIdentifier, recurring);
}

void WeekScrollViewController::updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring,
                                                             bool delayed) {
    m_editing->updateWeekViewForDeletedEvent(eventIdentifier, recurring, delayed);
}

// Bus receivers.

void WeekScrollViewController::handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event) {
    m_editing->editEvent(event->event(), event->tappedDate());
}

void WeekScrollViewController::handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event) {
    if (m_editing->editorIsTopScreen()) {
        return;
    }
    if (m_copyMoveEventMode.quickMoveActivated()) {
        m_copyMove->quickMoveEventToDate(event->date());
    } else if (m_copyMoveEventMode.copyActivated()) {
        m_copyMove->copyEventToDate(event->date());
    } else {
        m_editing->editEventOnDate(event->date());
    }
}

void WeekScrollViewController::listEvents(const std::shared_ptr<ListEventsEvent>& event) {
    m_dayList->listEvents(*event, *view());
}

void WeekScrollViewController::activateCopyOrMove(const std::shared_ptr<ActivateCopyMoveEvent>& event) {
    m_copyMove->activateCopyOrMove(event->event(), event->date(), event->copy());
}

void WeekScrollViewController::deleteEvent(const std::shared_ptr<DeleteEventEvent>& event) {
    m_editing->deleteEvent(event->event());
}

void WeekScrollViewController::applicationBecameActive(
    const std::shared_ptr<ApplicationActivatedEvent>& event) {
    cancelCopyMoveEvent();
    for (const auto& page : weekViews()) {
        page->updateHighlightedDay();
    }
    closeWeekPickerAnimated(false, {});
    Month::refreshSeasonAwareColors();
    EventService* service = &m_eventService;
    DispatchQueue::global().async([service] { service->refreshSourcesIfNecessary(); });
    if (m_pager->hasPages()) {
        m_pager->middlePage()->deselectEventsAnimated(false, false);
    }
    Week::setWeekNumberMethod(AppSettings::instance().loadWeekNumberMethod());
    const std::optional<Date>& lastActive = event->lastActiveDate();
    if (lastActive) {
        const double absence = RunLoop::main().now().timeIntervalSinceDate(*lastActive);
        if (absence > AppSettings::instance().loadJumpToTodayAfterSeconds()) {
            resetScreen();
        }
    }
}

void WeekScrollViewController::resetScreen() {
    if (m_rotation->landscapeShown()) {
        m_rotation->threeWeeksView()->scrollToWeek(Week::currentWeek(), false);
    } else {
        scrollToWeek(Week::currentWeek(), false, false);
    }
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(false);
    }
    m_editing->dismissEditorModalViewController();
    if (auto navigation = navigationController()) {
        navigation->popToRootViewControllerAnimated(false);
    }
    if (modalViewController()) {
        dismissModalViewControllerAnimated(false);
    }
}

void WeekScrollViewController::timeZoneChanged(const std::shared_ptr<TimeZoneChangedEvent>&) {
    dropScreensMadeForOldWeekSettings();
    m_pager->rebuildWeekViewsForCurrentWeek();
}

void WeekScrollViewController::weekendDaysChanged(const std::shared_ptr<WeekendDaysChangedEvent>&) {
    // The weekend days decide which day a week starts with, and so which days share a box.
    dropScreensMadeForOldWeekSettings();
    m_rotation->dropThreeWeeksView();
    applyWeekSettings();
    m_pager->rebuildWeekViewsForCurrentWeek();
}

void WeekScrollViewController::dropScreensMadeForOldWeekSettings() {
    m_editing->dropEventDetailsController();
    m_weekPicker->dropWeekPickerController();
    m_dayList->dropListEventsViewController();
}

// Search.

void WeekScrollViewController::toggleSearch(GestureRecognizer&) {
    m_search->openSearch();
}

// The day list.

const std::shared_ptr<ListEventsViewController>& WeekScrollViewController::listEventsViewController() const {
    return m_dayList->listEventsViewController();
}

bool WeekScrollViewController::listEventsViewVisible() const {
    return m_dayList->listEventsViewVisible();
}

void WeekScrollViewController::closeListEventsPopupAnimated(bool animated) {
    m_dayList->closeListEventsPopupAnimated(animated);
}

void WeekScrollViewController::fadeOutListEventsForCopyMove() {
    m_dayList->fadeOutListEventsForCopyMove();
}

void WeekScrollViewController::fadeInListEventsAfterCopyMove() {
    m_dayList->fadeInListEventsAfterCopyMove(*view());
}

void WeekScrollViewController::updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew) {
    m_dayList->updateListEventsAfterSave(event, isNew);
}

void WeekScrollViewController::updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed) {
    m_dayList->updateListEventsAfterDeletion(eventIdentifier, delayed);
}

void WeekScrollViewController::updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event) {
    m_dayList->updateListEventsAfterCopyOrMove(event);
}

// The week picker.

void WeekScrollViewController::closeWeekPickerAnimated(bool animated, std::function<void()> completion) {
    m_weekPicker->closeWeekPickerAnimated(animated, std::move(completion));
}
