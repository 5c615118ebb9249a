#include "ui/week/WeekScrollViewController.h"

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
#include "core/calendar/WeekInMonth.h"
#include "core/events/EventSaveCommand.h"
#include "core/events/EventService.h"
#include "foundation/ListExtensions.h"
#include "core/events/ReadOnlyCheck.h"
#include "core/events/SearchService.h"
#include "core/eventstore/EKEvent.h"
#include "core/hints/Hint.h"
#include "core/settings/AppSettings.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Localization.h"
#include "foundation/RunLoop.h"
#include "foundation/TimeZone.h"
#include "kit/Application.h"
#include "kit/Artwork.h"
#include "kit/BarButtonItem.h"
#include "kit/Device.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Font.h"
#include "kit/ImageView.h"
#include "kit/InterfaceOrientation.h"
#include "kit/KeyInput.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "kit/NavigationItem.h"
#include "kit/NotificationCenter.h"
#include "kit/Screen.h"
#include "kit/ScrollView.h"
#include "kit/StringDrawing.h"
#include "kit/SwipeGestureRecognizer.h"
#include "kit/Window.h"
#include "ui/calendars/VisibleCalendarsViewController.h"
#include "ui/copymove/CopyMoveEventMode.h"
#include "ui/copymove/MoveEventBarView.h"
#include "ui/daylist/ListEventsViewController.h"
#include "ui/editing/DeleteEventActionSheet.h"
#include "ui/editing/MoveRecurringEventActionSheet.h"
#include "ui/editor/EventDetailsViewController.h"
#include "ui/eventkit/EKEventViewController.h"
#include "ui/search/SearchBarView.h"
#include "ui/search/SearchResultHighlightView.h"
#include "ui/settings/SettingsViewController.h"
#include "ui/week/DateTitleView.h"
#include "ui/week/EventTouchLock.h"
#include "ui/week/GlobalActionsListView.h"
#include "ui/week/WeekArtwork.h"
#include "ui/week/WeekViewController.h"
#include "ui/weekpicker/WeekPickerController.h"

#include <Qt>

#include <algorithm>
#include <cmath>
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
constexpr double loadingFadeDuration = 0.2;
// Day list updates wait for the week's own animations.
constexpr double listUpdateDelay = 0.3;
// A quick move saves after its rows have moved.
constexpr double quickMoveSaveDelay = 0.5;
// A cancelled move from the editor goes back to its week once the editor is back on top.
constexpr double restoreMoveDelay = 0.4;
// A day list reopens after the scroll back to the week where the copy or move began.
constexpr double reopenListDelay = 0.3;

enum Direction { noDirection = 0, backward = 1, forward = 2 };

// The rows of a series' occurrences share one identifier; a change to one occurrence is shown
// by reading the weeks again, since updating rows by identifier would touch all of them.
bool isOccurrence(const EKEvent& event) {
    return event.hasRecurrenceRules() || event.occurrenceDate().has_value();
}

bool olderGeneration() {
    return Device::current().isOlderGeneration();
}

} // namespace

std::shared_ptr<WeekScrollViewController> WeekScrollViewController::create() {
    auto controller = std::make_shared<WeekScrollViewController>();
    sharedController() = controller;
    return controller;
}

std::shared_ptr<WeekScrollViewController> WeekScrollViewController::sharedWeekScrollViewController() {
    return sharedController().lock();
}

WeekScrollViewController::WeekScrollViewController()
    : m_displayedWeek(Week::currentWeek()), m_dispatcher(ApplicationEventDispatcher::sharedInstance()),
      m_eventService(EventService::sharedInstance()), m_eventTouchLock(std::make_shared<EventTouchLock>()),
      m_copyMoveEventMode(CopyMoveEventMode::sharedInstance()) {
    AppSettings& settings = AppSettings::instance();
    TimeZone::setDefaultTimeZone(settings.loadDefaultTimeZone());
    DateUtilities::reloadCalendar();
    DateTimeFormatter::instance().reset();
    applyWeekSettings();
    DeviceDependentValues::initValues();
    m_displayedWeek = Week::currentWeek();
    m_weekViews.reserve(3);
    Hint::loadHints();
    m_weekPickerHint = Hint::hintByIdentifier(QStringLiteral("jumpToDateHint"));
    m_lastDirection = noDirection;
    WeekArtwork::registerImages();
}

WeekScrollViewController::~WeekScrollViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    m_dispatcher.unregisterAllEventsForTarget(this);
    for (const auto& page : m_weekViews) {
        m_dispatcher.unregisterAllEventsForTarget(page.get());
    }
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

    m_todayButton = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Today")),
                                                    BarButtonItem::Style::Bordered, [weakSelf] {
                                                        if (auto self = weakSelf.lock()) {
                                                            self->scrollToToday();
                                                        }
                                                    });
    m_actionButton = std::make_shared<BarButtonItem>(Artwork::imageNamed(QStringLiteral("actions-button")),
                                                     BarButtonItem::Style::Bordered, [weakSelf] {
                                                         if (auto self = weakSelf.lock()) {
                                                             self->showActions();
                                                         }
                                                     });
    m_cancelMoveButton = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Cancel")),
                                                         BarButtonItem::Style::Done, [weakSelf] {
                                                             if (auto self = weakSelf.lock()) {
                                                                 self->cancelCopyMoveEvent();
                                                             }
                                                         });
    m_dateTitleView = DateTitleView::create(Rect(0, 0, titleAreaWidth - minimumLeftButtonWidth, titleHeight));
    m_dateTitleView->setOnTapped([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->dateTitleTapped();
        }
    });
    NavigationItem& item = *navigationItem();
    item.setLeftBarButtonItem(m_todayButton);
    item.setRightBarButtonItem(m_actionButton);
    item.setTitleView(m_dateTitleView);
    correctDateTitleViewSize();

    m_width = m_scrollView->frame().width();
    m_height = m_scrollView->frame().height();
    initializeWeekViews();

    m_dispatcher.registerTarget<EventSelectedEvent>(this, &WeekScrollViewController::handleSelectedEvent);
    m_dispatcher.registerTarget<DateSelectedEvent>(this, &WeekScrollViewController::handleSelectedDate);
    m_dispatcher.registerTarget<ListEventsEvent>(this, &WeekScrollViewController::listEvents);
    m_dispatcher.registerTarget<ActivateCopyMoveEvent>(this, &WeekScrollViewController::activateCopyOrMove);
    m_dispatcher.registerTarget<ApplicationActivatedEvent>(
        this, &WeekScrollViewController::applicationBecameActive);
    m_dispatcher.registerTarget<TimeZoneChangedEvent>(this, &WeekScrollViewController::timeZoneChanged);
    m_dispatcher.registerTarget<WeekendDaysChangedEvent>(this, &WeekScrollViewController::weekendDaysChanged);
    m_dispatcher.registerTarget<DeleteEventEvent>(this, &WeekScrollViewController::deleteEvent);
    m_dispatcher.registerTarget<EventStoreChangedEvent>(this,
                                                        &WeekScrollViewController::noteStoreChangeDuringMove);
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
    removeWeekViews();
    m_scrollView.reset();
    m_fuzzyTransitionView.reset();
}

void WeekScrollViewController::viewWillAppear(bool) {
    const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek();
    const bool editorDone = m_detailsController && m_detailsController->doneEditing();
    if (!editorDone && !m_copyMoveEventMode.activated() && returnWeek) {
        scrollToWeek(*returnWeek, false, false);
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
    }
    if (m_weekViews.size() == 3) {
        middlePage()->deselectBackgroundDelayed(true);
    }
    // While an event is being moved, or the day list covers the week, the flash waits for a
    // later return.
    if (m_weekViews.size() == 3 && !m_copyMoveEventMode.activated() && !listEventsViewVisible()) {
        if (m_lastSelectedEvent) {
            for (const auto& page : m_weekViews) {
                page->flashEvent(*m_lastSelectedEvent, true);
            }
        }
        m_lastSelectedEvent.reset();
    }
    m_sameDirectionCount = 0;
    m_lastDirection = noDirection;
}

void WeekScrollViewController::viewDidAppear(bool) {
    if (Window* window = view()->window()) {
        const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
        window->onUnhandledKeyInput = [weakSelf](const KeyInput& input) {
            const auto self = weakSelf.lock();
            return self && self->handleScreenKey(input);
        };
    }
}

// The day list, laid over this screen, appears and disappears with it.
std::vector<std::shared_ptr<ViewController>>
WeekScrollViewController::childViewControllersForAppearance() const {
    if (m_listEventsViewController) {
        return {m_listEventsViewController};
    }
    return {};
}

void WeekScrollViewController::willAnimateRotationToInterfaceOrientation(int orientation, double duration) {
    ViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (listEventsViewVisible()) {
        m_listEventsViewController->configureForFrame(view()->frame());
    }
}

void WeekScrollViewController::didReceiveMemoryWarning() {
    const bool listOffScreen =
        m_listEventsViewController &&
        (!m_listEventsViewController->isViewLoaded() || !m_listEventsViewController->view()->superview());
    if (listOffScreen) {
        m_listEventsViewController.reset();
    }
    // An editor away in the move round trip still holds the event it moves.
    const bool editorOffScreen = m_detailsController && (!m_detailsController->isViewLoaded() ||
                                                         !m_detailsController->view()->superview());
    if (editorOffScreen && !m_copyMoveEventMode.moveActivated()) {
        m_detailsController.reset();
    }
    if (m_weekPickerController &&
        (!m_weekPickerController->isViewLoaded() || !m_weekPickerController->view()->superview())) {
        m_weekPickerController.reset();
    }
    ViewController::didReceiveMemoryWarning();
}

std::shared_ptr<WeekViewController>
WeekScrollViewController::newWeekViewController(std::shared_ptr<EventTouchLock> touchLock) {
    return WeekViewController::create(std::move(touchLock));
}

std::shared_ptr<WeekViewController> WeekScrollViewController::middlePage() const {
    return m_weekViews[1];
}

std::weak_ptr<WeekScrollViewController> WeekScrollViewController::weakSelf() {
    return std::static_pointer_cast<WeekScrollViewController>(shared_from_this());
}

// Copying and moving an event to another day.

void WeekScrollViewController::toggleMovingEventModeAnimated(bool animated, bool cancelled) {
    if (m_weekViews.size() != 3) {
        return;
    }
    const bool active = m_copyMoveEventMode.activated();
    for (const auto& page : m_weekViews) {
        page->disableEditEvents(active);
    }
    // A cancel that scrolls back to another week keeps the bar until that scroll settles.
    const std::optional<Week>& returnWeek = m_copyMoveEventMode.returnWeek();
    const bool barWaitsForScrollBack = !active && cancelled && returnWeek && *returnWeek != m_displayedWeek;
    if (!barWaitsForScrollBack && m_moveBarVisible != active) {
        showOrHideMoveEventBarAnimated(animated, false);
    }
    showCopyMoveLook(active);
    correctDateTitleViewSize();
    for (const auto& page : m_weekViews) {
        page->updateHighlightedDay();
    }
    if (active) {
        // Set on every start, so that a list left faded by a completed copy or move does not
        // come back after a later cancel.
        const bool listOpen = listEventsViewVisible();
        m_copyMoveEventMode.setReopenListEventsView(listOpen);
        if (listOpen) {
            fadeOutListEventsForCopyMove();
        }
    }
    if (!active && cancelled && m_copyMoveEventMode.reopenListEventsView()) {
        reopenListEventsAfterCancel();
    }
}

// The pulsing event on its own day, the veil with marching ants over every other day, and
// "Cancel" in place of "Today"; or all of it taken away again.
void WeekScrollViewController::showCopyMoveLook(bool active) {
    NavigationItem& item = *navigationItem();
    if (!active) {
        for (const auto& page : m_weekViews) {
            page->stopMoveDayOverlayAnimation();
        }
        item.setLeftBarButtonItem(m_todayButton);
        return;
    }
    const std::shared_ptr<EKEvent>& event = m_copyMoveEventMode.event();
    const std::optional<Date>& tappedDate = m_copyMoveEventMode.tappedDate();
    if (event && tappedDate) {
        for (const auto& page : m_weekViews) {
            page->startMoveAnimation(*event, *tappedDate);
        }
    }
    middlePage()->startMoveDayOverlayAnimation();
    item.setLeftBarButtonItem(m_cancelMoveButton);
}

void WeekScrollViewController::reopenListEventsAfterCancel() {
    m_copyMoveEventMode.setReopenListEventsView(false);
    const std::optional<Week>& returnWeek = m_copyMoveEventMode.returnWeek();
    if (!returnWeek || *returnWeek == m_displayedWeek) {
        fadeInListEventsAfterCopyMove();
        return;
    }
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    RunLoop::main().scheduleTimer(reopenListDelay, false, [weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->fadeInListEventsAfterCopyMove();
        }
    });
}

void WeekScrollViewController::fadeOutListEventsForCopyMove() {
    if (m_listEventsViewController) {
        m_listEventsViewController->fadeOutPopup();
    }
}

void WeekScrollViewController::fadeInListEventsAfterCopyMove() {
    // Dropped meanwhile by a change of settings: nothing to bring back.
    if (!m_listEventsViewController) {
        return;
    }
    view()->addSubview(m_listEventsViewController->view());
    m_listEventsViewController->fadeInPopup();
}

void WeekScrollViewController::createMoveEventBar() {
    m_moveEventBar = MoveEventBarView::create();
    m_moveEventBar->setHidden(true);
    view()->addSubview(m_moveEventBar);
}

void WeekScrollViewController::showOrHideMoveEventBarAnimated(bool animated, bool bottomBar) {
    if (m_weekViews.size() != 3) {
        return;
    }
    // The outer pages are off screen and change at once.
    m_weekViews.front()->shrinkOrStretchDays(bottomBar);
    m_weekViews.back()->shrinkOrStretchDays(bottomBar);
    if (!bottomBar && !m_moveEventBar) {
        createMoveEventBar();
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
    const std::weak_ptr<WeekViewController> middle = middlePage();
    const std::weak_ptr<MoveEventBarView> weakBar = m_moveEventBar;
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
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
        [weakSelf, bottomBar](bool) {
            if (auto self = weakSelf.lock()) {
                self->moveEventBarSlideFinished(bottomBar);
            }
        });
    if (!bottomBar) {
        m_moveBarVisible = !m_moveBarVisible;
        m_actionButton->setEnabled(!m_moveBarVisible);
    }
}

void WeekScrollViewController::moveEventBarSlideFinished(bool) {
    if (m_moveEventBar && m_moveEventBar->frame().y() == -MoveEventBarView::barHeight) {
        m_moveEventBar->setHidden(true);
    }
}

void WeekScrollViewController::quickMoveEventToDate(Date date) {
    if (auto hint = Hint::hintByIdentifier(QStringLiteral("quickMoveHint"))) {
        hint->invalidate();
    }
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    if (!event) {
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
        std::static_pointer_cast<RecurringEventActionSheetDelegate>(weakSelf().lock()));
    sheet->showInView(*view());
}

void WeekScrollViewController::clickedButtonForSpan(RecurringEventActionSheet& actionSheet, EKSpan span) {
    const auto* sheet = dynamic_cast<MoveRecurringEventActionSheet*>(&actionSheet);
    if (sheet && sheet->targetDate() && m_copyMoveEventMode.quickMoveActivated()) {
        quickMoveEventToDate(*sheet->targetDate(), span, true);
    }
}

void WeekScrollViewController::quickMoveEventToDate(Date date, EKSpan span, bool recurring) {
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    if (!event) {
        return;
    }
    const Date start = DateUtilities::applyDateWithoutTime(event->startDate(), date);
    m_eventService.applyDate(start, *event, event->allDay());
    auto command = std::make_shared<EventSaveCommand>(event, span);
    m_copyMoveEventMode.deactivate();
    // An earlier move still waiting is written first, so that the two saves keep their order.
    savePendingMove();
    if (recurring || isOccurrence(*event)) {
        // A whole series may have moved: the weeks are read again once the store has it.
        saveEvent(*command);
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
        for (const auto& page : m_weekViews) {
            page->stopMoveAnimation();
            page->load();
        }
    } else {
        m_pendingSave = command;
        const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
        m_pendingSaveTimer = RunLoop::main().scheduleTimer(quickMoveSaveDelay, false, [weakSelf] {
            if (auto self = weakSelf.lock()) {
                self->savePendingMove();
            }
        });
        eventCopiedOrMoved(event, false);
    }
    toggleMovingEventModeAnimated(true, false);
}

void WeekScrollViewController::savePendingMove() {
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

void WeekScrollViewController::noteStoreChangeDuringMove() {
    if (m_pendingSave) {
        m_storeChangedDuringMove = true;
    }
}

void WeekScrollViewController::saveEvent(const EventSaveCommand& command) {
    m_eventService.saveEvent(command.event(), command.span());
}

void WeekScrollViewController::copyEventToDate(Date date) {
    const std::shared_ptr<EKEvent> event = m_copyMoveEventMode.event();
    if (!event) {
        return;
    }
    const std::shared_ptr<EKEvent> copy = m_eventService.copyEvent(*event, date);
    m_copyMoveEventMode.deactivate();
    eventCopiedOrMoved(copy, true);
    toggleMovingEventModeAnimated(true, false);
}

void WeekScrollViewController::cancelCopyMoveEvent() {
    for (const auto& page : m_weekViews) {
        page->stopMoveAnimation();
    }
    if (m_copyMoveEventMode.quickMoveActivated() || m_copyMoveEventMode.copyActivated()) {
        m_copyMoveEventMode.deactivate();
        toggleMovingEventModeAnimated(true, true);
        for (const auto& page : m_weekViews) {
            page->deselectEventsAnimated(true, false);
        }
        if (const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek()) {
            scrollToWeek(*returnWeek, true, false);
        }
        m_copyMoveEventMode.setReturnWeek(std::nullopt);
    } else if (m_copyMoveEventMode.moveActivated()) {
        pushPortraitViewController(getOrCreateEventDetailsController());
        m_copyMoveEventMode.deactivate();
        const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
        RunLoop::main().scheduleTimer(restoreMoveDelay, false, [weakSelf] {
            if (auto self = weakSelf.lock()) {
                self->restoreMovingEventToPreviousState();
            }
        });
    }
}

void WeekScrollViewController::restoreMovingEventToPreviousState() {
    toggleMovingEventModeAnimated(false, true);
    if (const std::optional<Week> returnWeek = m_copyMoveEventMode.returnWeek()) {
        scrollToWeek(*returnWeek, true, false);
    }
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
}

// Page arrangement.

void WeekScrollViewController::initializeWeekViews() {
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    for (int i = 0; i < 3; ++i) {
        std::shared_ptr<WeekViewController> page = newWeekViewController(m_eventTouchLock);
        m_weekViews.push_back(page);
        m_scrollView->addSubview(page->view());
        auto swipe = std::make_shared<SwipeGestureRecognizer>(SwipeDirection::Up);
        swipe->onAction = [weakSelf](GestureRecognizer& recognizer) {
            if (auto self = weakSelf.lock()) {
                self->toggleSearch(recognizer);
            }
        };
        page->view()->addGestureRecognizer(swipe);
    }
    m_scrollView->setContentSize(Size(pageCount * m_width, m_height));
    initializeViews(true);
}

// The indicator spins only while it shows: a spinning indicator would wake the program for
// every step of its wheel.
void WeekScrollViewController::fadeOutLoadingIndicator() {
    const std::shared_ptr<LoadingIndicator> indicator = m_loadingIndicator;
    indicator->setAlpha(1);
    indicator->startAnimating();
    View::animate(
        loadingFadeDuration, 0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
        [indicator] { indicator->setAlpha(0); },
        [weakIndicator = std::weak_ptr<LoadingIndicator>(indicator)](bool) {
            const std::shared_ptr<LoadingIndicator> faded = weakIndicator.lock();
            if (faded && faded->alpha() == 0) {
                faded->stopAnimating();
            }
        });
}

void WeekScrollViewController::initializeViews(bool firstTime) {
    updateHeaderWithWeek(m_displayedWeek);
    Week week = m_displayedWeek.addWeeks(-1);
    for (const auto& page : m_weekViews) {
        page->clearWithWeek(week, firstTime);
        page->view()->setFrame(Rect(0, 0, m_width, m_height));
        page->view()->setHidden(false);
        week = week.addWeeks(1);
    }
    applyWeekViewPositions();
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    const std::weak_ptr<WeekViewController> first = m_weekViews.front();
    const std::weak_ptr<WeekViewController> last = m_weekViews.back();
    // The displayed week is read first, its neighbours after it. After a far jump the middle page
    // has read its week already (or is reading it) and keeps it.
    middlePage()->ensureLoaded([weakSelf, first, last] {
        if (auto self = weakSelf.lock()) {
            self->m_firstWeekLoaded = true;
        }
        for (const auto& neighbour : {first.lock(), last.lock()}) {
            if (neighbour) {
                neighbour->ensureLoaded({});
            }
        }
    });
    if (firstTime) {
        fadeOutLoadingIndicator();
    }
}

void WeekScrollViewController::applyWeekViewPositions() {
    for (std::size_t i = 0; i < m_weekViews.size(); ++i) {
        m_weekViews[i]->view()->setFrameX((middlePagePosition - 1 + double(i)) * m_width);
    }
    m_scrollView->scrollRectToVisible(Rect(middlePagePosition * m_width, 0, m_width, m_height), false);
}

void WeekScrollViewController::removeWeekViews() {
    for (const auto& page : m_weekViews) {
        m_dispatcher.unregisterAllEventsForTarget(page.get());
        page->view()->removeFromSuperview();
    }
    m_weekViews.clear();
}

std::shared_ptr<WeekViewController> WeekScrollViewController::currentViewInMiddleOfScreen() const {
    const double center = m_scrollView->contentOffset().x() + m_scrollView->frame().width() / 2;
    for (const auto& page : m_weekViews) {
        const Rect frame = page->view()->frame();
        if (center >= frame.x() && center <= frame.x() + frame.width()) {
            return page;
        }
    }
    return nullptr;
}

void WeekScrollViewController::scrollToPagePosition(int position, bool animated) {
    m_scrollView->scrollRectToVisible(Rect(position * m_width, 0, m_width, m_height), animated);
}

void WeekScrollViewController::setTouchesOnPagesEnabled(bool enabled) {
    if (auto navigation = navigationController()) {
        navigation->navigationBar()->setUserInteractionEnabled(enabled);
    }
    for (const auto& page : m_weekViews) {
        page->view()->setUserInteractionEnabled(enabled);
    }
}

// Scrolling.

void WeekScrollViewController::scrollViewDidScroll(ScrollView& scrollView) {
    if (m_weekViews.size() != 3) {
        return;
    }
    if (m_copyMoveEventMode.activated()) {
        middlePage()->stopMoveDayOverlayAnimation();
    }
    if (m_targetWeek) {
        return;
    }
    const double offset = scrollView.contentOffset().x();
    if (offset <= m_weekViews.front()->view()->frame().x()) {
        const Week before = m_weekViews.front()->displayedWeek()->addWeeks(-1);
        const std::shared_ptr<WeekViewController> page = Move::moveLastObjectToBegin(m_weekViews);
        page->view()->moveFrameX(-3 * m_width);
        page->clearWithWeek(before, false);
        page->load();
    } else if (offset >= m_weekViews.back()->view()->frame().x()) {
        const Week after = m_weekViews.back()->displayedWeek()->addWeeks(1);
        const std::shared_ptr<WeekViewController> page = Move::moveFirstObjectToEnd(m_weekViews);
        page->view()->moveFrameX(3 * m_width);
        page->clearWithWeek(after, false);
        page->load();
    }
    const std::shared_ptr<WeekViewController> centre = currentViewInMiddleOfScreen();
    if (centre && centre->displayedWeek() && *centre->displayedWeek() != m_displayedWeek) {
        m_displayedWeek = *centre->displayedWeek();
        updateHeaderWithWeek(m_displayedWeek);
    }
}

void WeekScrollViewController::scrollViewWillBeginDragging(ScrollView&) {
    setTouchesOnPagesEnabled(false);
    middlePage()->deselectEventsAnimated(false, false);
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(false);
    }
}

void WeekScrollViewController::scrollViewDidEndDragging(ScrollView&, bool willDecelerate) {
    // A drag released exactly on a page boundary does not decelerate, and would otherwise leave
    // the pages without touches until the next drag.
    if (!willDecelerate) {
        settleAfterDrag();
    }
}

void WeekScrollViewController::scrollViewDidEndDecelerating(ScrollView&) {
    settleAfterDrag();
}

void WeekScrollViewController::settleAfterDrag() {
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    RunLoop::main().post([weakSelf] {
        if (auto self = weakSelf.lock()) {
            self->scrollViewReallyDidEndDecelerating();
        }
    });
}

void WeekScrollViewController::countDirection(int page) {
    const int direction = page == -1 ? backward : page == 1 ? forward : noDirection;
    if (direction == noDirection) {
        return;
    }
    if (m_lastDirection == direction) {
        ++m_sameDirectionCount;
    } else {
        m_sameDirectionCount = 1;
        m_lastDirection = direction;
    }
}

void WeekScrollViewController::scrollViewReallyDidEndDecelerating() {
    if (!m_scrollView || m_weekViews.size() != 3) {
        return;
    }
    const int page =
        static_cast<int>(std::floor(m_scrollView->contentOffset().x() / m_width)) - middlePagePosition;
    countDirection(page);
    // Someone paging through weeks one by one is pointed to the week picker.
    if (m_sameDirectionCount % 3 == 0 && m_weekPickerHint) {
        m_weekPickerHint->trigger();
    }
    applyWeekViewPositions();
    setTouchesOnPagesEnabled(true);
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->displayedWeekChanged(m_displayedWeek);
        if (page != 0) {
            hideSearchHighlight();
        }
    }
    if (m_copyMoveEventMode.activated()) {
        middlePage()->startMoveDayOverlayAnimation();
    }
}

// Jumps.

void WeekScrollViewController::scrollToWeek(const Week& week, bool animated, bool closeListEventsPopup) {
    m_searchResult.reset();
    if (listEventsViewVisible() && closeListEventsPopup) {
        closeListEventsPopupAnimated(animated);
    }
    const bool animate = animated && !olderGeneration();
    if (week.isLaterThan(m_displayedWeek)) {
        if (m_displayedWeek.weeksTo(week) > 1) {
            m_targetWeek = week;
            m_weekViews.back()->clearWithWeek(week, false);
            m_weekViews.back()->load();
            if (animate) {
                prepareFuzzyTransitionStartingAtPosition(0);
                scrollToPagePosition(middlePagePosition + 1, true);
            }
        } else {
            scrollToPagePosition(middlePagePosition + 1, animated);
        }
    } else if (week.isEarlierThan(m_displayedWeek)) {
        if (week.weeksTo(m_displayedWeek) > 1) {
            m_targetWeek = week;
            m_weekViews.front()->clearWithWeek(week, false);
            m_weekViews.front()->load();
            if (animate) {
                prepareFuzzyTransitionStartingAtPosition(2);
                scrollToPagePosition(middlePagePosition - 1, true);
            }
        } else {
            scrollToPagePosition(middlePagePosition - 1, animated);
        }
    }
    if (!animate) {
        scrollViewDidEndScrollingAnimation(*m_scrollView);
    }
}

void WeekScrollViewController::prepareFuzzyTransitionStartingAtPosition(int position) {
    if (!m_fuzzyTransitionView) {
        m_fuzzyTransitionView = std::make_shared<ImageView>(Rect(middlePagePosition * m_width, 0, 320, 416));
        m_fuzzyTransitionView->setImage(Artwork::imageNamed(QStringLiteral("fuzzy-transition")));
        m_fuzzyTransitionView->setHidden(true);
        m_scrollView->insertSubview(m_fuzzyTransitionView, 0);
    }
    const double x = (position + middlePagePosition - 1) * m_width;
    middlePage()->view()->setFrameX(x);
    m_fuzzyTransitionView->setHidden(false);
    m_weekViews[static_cast<std::size_t>(position)]->view()->setHidden(true);
    m_scrollView->setContentOffset(Point(x, 0), false);
    if (m_searchModeActivated) {
        // The bubble stays on its event, which moved with the middle page.
        const std::shared_ptr<SearchResultHighlightView>& bubble =
            SearchResultHighlightView::selectedResultInstance();
        if (bubble->superview()) {
            bubble->moveFrameX(position == 0 ? -m_width : m_width);
        }
    }
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
    if (!m_scrollView || m_weekViews.size() != 3) {
        return;
    }
    if (m_fuzzyTransitionView) {
        m_fuzzyTransitionView->setHidden(true);
    }
    if (!m_targetWeek) {
        applyWeekViewPositions();
    } else {
        if (m_targetWeek->isEarlierThan(m_displayedWeek)) {
            Move::moveLastObjectToBegin(m_weekViews);
        } else {
            Move::moveFirstObjectToEnd(m_weekViews);
        }
        m_displayedWeek = *m_targetWeek;
        m_targetWeek.reset();
        applyWeekViewPositions();
        initializeViews(false);
    }
    setTouchesOnPagesEnabled(true);
    if (m_searchModeActivated) {
        highlightSearchResultAfterScroll();
    }
    if (m_copyMoveEventMode.activated()) {
        middlePage()->startMoveDayOverlayAnimation();
    } else if (m_moveBarVisible) {
        // The bar stayed while a cancelled copy or move scrolled back to its week.
        showOrHideMoveEventBarAnimated(true, false);
    }
}

void WeekScrollViewController::scrollToToday() {
    m_sameDirectionCount = 0;
    m_lastDirection = noDirection;
    m_todayButton->setEnabled(false);
    scrollToWeek(Week::currentWeek(), true, true);
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->displayedWeekChanged(Week::currentWeek());
    }
}

void WeekScrollViewController::jumpToWeek(const Week& week) {
    scrollToWeek(week, true, true);
    updateHeaderWithWeek(m_displayedWeek);
    m_scrollView->setScrollEnabled(true);
    m_sameDirectionCount = 0;
    m_lastDirection = noDirection;
}

void WeekScrollViewController::updateHeaderWithWeek(const Week& week) {
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

// The editor and its reports.

std::shared_ptr<EventDetailsViewController> WeekScrollViewController::getOrCreateEventDetailsController() {
    if (!m_detailsController) {
        m_detailsController = std::make_shared<EventDetailsViewController>();
        m_detailsController->setDelegate(
            std::static_pointer_cast<EventDetailsViewControllerDelegate>(weakSelf().lock()));
    }
    return m_detailsController;
}

void WeekScrollViewController::pushPortraitViewController(
    const std::shared_ptr<ViewController>& viewController) {
    // Landscape arrives with the three-weeks view; until then the screen is always upright.
    if (auto navigation = navigationController()) {
        navigation->pushViewController(viewController, true);
    }
}

bool WeekScrollViewController::editorIsTopScreen() {
    const std::shared_ptr<NavigationController> navigation = navigationController();
    return m_detailsController && navigation && navigation->topViewController() == m_detailsController;
}

void WeekScrollViewController::eventSaved(const std::shared_ptr<EKEvent>& event, bool isNew,
                                          bool spansMultipleEvents, bool delayed) {
    // A move from the editor ends here when its span choice saved it: there is no week to go
    // back to any more.
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
    if (isNew && listEventsViewVisible()) {
        if (auto hint = Hint::hintByIdentifier(QStringLiteral("addEventHint"))) {
            hint->trigger();
        }
    }
    if (spansMultipleEvents || isOccurrence(*event)) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
    } else {
        for (const auto& page : m_weekViews) {
            if (isNew) {
                page->deselectEventsAnimated(false, false);
                page->addEvent(event, true, delayed);
            } else {
                page->addEvent(event, true, delayed);
                page->reloadEvent(event);
            }
        }
    }
    updateListEventsAfterSave(event, isNew);
}

void WeekScrollViewController::eventCopiedOrMoved(const std::shared_ptr<EKEvent>& event, bool copied) {
    m_copyMoveEventMode.setReturnWeek(std::nullopt);
    if (isOccurrence(*event)) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
        updateListEventsAfterCopyOrMove(event);
        return;
    }
    const bool animated = !listEventsViewVisible();
    for (const auto& page : m_weekViews) {
        if (!copied) {
            page->removeEvent(event->eventIdentifier(), animated, false);
        }
        page->addEvent(event, animated, false);
        page->stopMoveAnimation();
        page->deselectEventsAnimated(false, false);
    }
    updateListEventsAfterCopyOrMove(event);
}

void WeekScrollViewController::toggleMovingEventMode() {
    toggleMovingEventModeAnimated(m_copyMoveEventMode.activated(), false);
}

void WeekScrollViewController::eventDeleted(const QString& eventIdentifier, bool recurring) {
    updateWeekViewForDeletedEvent(eventIdentifier, recurring, true);
}

void WeekScrollViewController::updateWeekViewForDeletedEvent(const QString& eventIdentifier, bool recurring,
                                                             bool delayed) {
    if (recurring) {
        m_dispatcher.dispatch<EventStoreChangedEvent>();
    } else {
        for (const auto& page : m_weekViews) {
            page->deselectEventsAnimated(false, false);
            page->removeEvent(eventIdentifier, !listEventsViewVisible(), delayed);
        }
    }
    updateListEventsAfterDeletion(eventIdentifier, delayed);
}

// Bus receivers.

void WeekScrollViewController::handleSelectedEvent(const std::shared_ptr<EventSelectedEvent>& event) {
    m_lastSelectedEvent = event->event();
    if (!m_lastSelectedEvent) {
        return;
    }
    if (ReadOnlyCheck::isReadOnly(*m_lastSelectedEvent)) {
        showEventViewer(m_lastSelectedEvent);
        return;
    }
    if (editorIsTopScreen()) {
        return;
    }
    const std::shared_ptr<EventDetailsViewController> editor = getOrCreateEventDetailsController();
    editor->setEvent(m_lastSelectedEvent, false, event->tappedDate());
    pushPortraitViewController(editor);
}

void WeekScrollViewController::showEventViewer(const std::shared_ptr<EKEvent>& event) {
    const std::shared_ptr<NavigationController> navigation = navigationController();
    if (!navigation) {
        return;
    }
    if (std::dynamic_pointer_cast<EKEventViewController>(navigation->topViewController())) {
        return;
    }
    auto viewer = std::make_shared<EKEventViewController>();
    viewer->setAllowsEditing(false);
    viewer->setAllowsCalendarPreview(false);
    viewer->setEvent(event);
    navigation->pushViewController(viewer, true);
}

void WeekScrollViewController::handleSelectedDate(const std::shared_ptr<DateSelectedEvent>& event) {
    if (editorIsTopScreen()) {
        return;
    }
    if (m_copyMoveEventMode.quickMoveActivated()) {
        quickMoveEventToDate(event->date());
        return;
    }
    if (m_copyMoveEventMode.copyActivated()) {
        copyEventToDate(event->date());
        return;
    }
    const std::shared_ptr<EventDetailsViewController> editor = getOrCreateEventDetailsController();
    if (m_copyMoveEventMode.moveActivated()) {
        editor->moveToDate(event->date());
        for (const auto& page : m_weekViews) {
            page->stopMoveAnimation();
        }
        pushPortraitViewController(editor);
        return;
    }
    const Date date = event->date();
    editor->setEvent(m_eventService.newEventForDay(DateUtilities::day(date)), true, date);
    pushPortraitViewController(editor);
}

void WeekScrollViewController::listEvents(const std::shared_ptr<ListEventsEvent>& event) {
    const std::shared_ptr<ListEventsViewController> list = getOrCreateListEventsViewController();
    if (list->visible()) {
        return;
    }
    list->initializeWithDate(event->date());
    view()->addSubview(list->view());
    list->popupFromView(event->dayView());
}

void WeekScrollViewController::activateCopyOrMove(const std::shared_ptr<ActivateCopyMoveEvent>& event) {
    if (m_copyMoveEventMode.activated() || !event->event()) {
        return;
    }
    if (event->copy()) {
        m_copyMoveEventMode.activateCopy(event->event(), event->date());
    } else {
        m_copyMoveEventMode.activateQuickMove(event->event(), event->date());
    }
    toggleMovingEventMode();
}

void WeekScrollViewController::deleteEvent(const std::shared_ptr<DeleteEventEvent>& event) {
    if (!event->event() || m_weekViews.size() != 3) {
        return;
    }
    // The event stays marked in the middle page while the user decides.
    middlePage()->selectEvent(*event->event());
    const std::shared_ptr<DeleteEventActionSheet> sheet =
        DeleteEventActionSheet::actionSheetForEvent(event->event());
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    sheet->setOnDeleted([weakSelf](const QString& eventIdentifier, bool recurring) {
        if (const auto self = weakSelf.lock()) {
            self->updateWeekViewForDeletedEvent(eventIdentifier, recurring, false);
            self->middlePage()->deselectEvents();
        }
    });
    sheet->setOnCancelled([weakSelf] {
        if (const auto self = weakSelf.lock()) {
            self->middlePage()->deselectEvents();
        }
    });
    sheet->showInView(*view());
}

void WeekScrollViewController::applicationBecameActive(
    const std::shared_ptr<ApplicationActivatedEvent>& event) {
    cancelCopyMoveEvent();
    reloadHighlightedDay();
    closeWeekPickerAnimated(false, {});
    Month::refreshSeasonAwareColors();
    EventService* service = &m_eventService;
    DispatchQueue::global().async([service] { service->refreshSourcesIfNecessary(); });
    if (m_weekViews.size() == 3) {
        middlePage()->deselectEventsAnimated(false, false);
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
    scrollToWeek(Week::currentWeek(), false, false);
    if (listEventsViewVisible()) {
        closeListEventsPopupAnimated(false);
    }
    if (m_detailsController && m_detailsController->modalViewController()) {
        m_detailsController->dismissModalViewControllerAnimated(false);
    }
    if (auto navigation = navigationController()) {
        navigation->popToRootViewControllerAnimated(false);
    }
    if (modalViewController()) {
        dismissModalViewControllerAnimated(false);
    }
}

void WeekScrollViewController::reloadHighlightedDay() {
    for (const auto& page : m_weekViews) {
        page->updateHighlightedDay();
    }
}

void WeekScrollViewController::rebuildWeekViewsForCurrentWeek() {
    removeWeekViews();
    m_targetWeek.reset();
    m_displayedWeek = Week::currentWeek();
    initializeWeekViews();
}

void WeekScrollViewController::timeZoneChanged(const std::shared_ptr<TimeZoneChangedEvent>&) {
    dropScreensMadeForOldWeekSettings();
    rebuildWeekViewsForCurrentWeek();
}

void WeekScrollViewController::weekendDaysChanged(const std::shared_ptr<WeekendDaysChangedEvent>&) {
    // The weekend days decide which day a week starts with, and so which days share a box.
    dropScreensMadeForOldWeekSettings();
    applyWeekSettings();
    rebuildWeekViewsForCurrentWeek();
}

// The editor, week picker and day list were laid out for the old week settings; they are made
// again on next use.
void WeekScrollViewController::dropScreensMadeForOldWeekSettings() {
    m_detailsController.reset();
    dropWeekPickerController();
    dropListEventsViewController();
}

void WeekScrollViewController::toggleSearch(GestureRecognizer&) {
    openSearch();
}

void WeekScrollViewController::openSearch() {
    if (m_copyMoveEventMode.activated() || m_weekViews.size() != 3) {
        return;
    }
    if (auto hint = Hint::hintByIdentifier(QStringLiteral("searchHint"))) {
        hint->invalidate();
    }
    initializeSearchBar();
    m_searchBar->showSearchIsOpeningIndication();
    middlePage()->deselectEventsAnimated(false, false);
    if (m_searchModeActivated) {
        m_searchBar->showKeyboard(false);
        return;
    }
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    RunLoop::main().post([weakSelf] {
        const auto self = weakSelf.lock();
        if (self && !self->m_searchModeActivated) {
            self->toggleSearchBarAnimated(true);
        }
    });
}

void WeekScrollViewController::initializeSearchBar() {
    if (m_searchBar) {
        return;
    }
    m_searchService = std::make_shared<SearchService>(m_eventService);
    m_searchBar = SearchBarView::create(m_searchService);
    m_searchBar->setDelegate(weakSelf());
    m_searchBar->setScrollView(m_scrollView);
    m_searchBar->displayedWeekChanged(m_displayedWeek);
}

void WeekScrollViewController::toggleSearchBarAnimated(bool animated) {
    showOrHideMoveEventBarAnimated(animated, true);
    initializeSearchBar();
    m_searchModeActivated = !m_searchModeActivated;
    if (m_searchModeActivated) {
        view()->addSubview(m_searchBar);
        m_scrollView->setScrollEnabled(false);
        m_searchBar->showKeyboard(true);
    } else {
        hideSearchHighlight();
        m_searchResult.reset();
        m_searchBar->close();
        m_scrollView->setScrollEnabled(true);
    }
    for (const auto& page : m_weekViews) {
        page->disableMoreButton(m_searchModeActivated);
    }
}

void WeekScrollViewController::doneSearching(bool animated) {
    toggleSearchBarAnimated(animated);
}

void WeekScrollViewController::showSearchResult(const std::optional<SearchResult>& result) {
    if (!result) {
        m_searchBar->enableButtons();
        return;
    }
    const Week week = DateUtilities::week(result->dateTime());
    if (week != m_displayedWeek) {
        m_searchBar->disableButtons();
        scrollToWeek(week, true, false);
    } else {
        for (const auto& page : m_weekViews) {
            page->highlightSearchResult(*result);
        }
        m_searchBar->enableButtons();
    }
    m_searchResult = result;
}

void WeekScrollViewController::highlightSearchResultAfterScroll() {
    if (m_searchResult) {
        for (const auto& page : m_weekViews) {
            page->highlightSearchResult(*m_searchResult);
        }
    } else {
        hideSearchHighlight();
    }
    if (m_searchBar) {
        m_searchBar->enableButtons();
    }
}

void WeekScrollViewController::hideSearchHighlight() {
    SearchResultHighlightView::selectedResultInstance()->hide();
}

bool WeekScrollViewController::handleScreenKey(const KeyInput& input) {
    const bool controlF = input.type == KeyInput::Type::Press && input.key == Qt::Key_F &&
                          (input.modifiers & Qt::ControlModifier) != 0;
    if (controlF) {
        openSearch();
        return true;
    }
    return m_searchModeActivated && m_searchBar && m_searchBar->handleSearchKey(input);
}

// The day list.

bool WeekScrollViewController::listEventsViewVisible() const {
    return m_listEventsViewController && m_listEventsViewController->visible();
}

void WeekScrollViewController::closeListEventsPopupAnimated(bool animated) {
    if (m_listEventsViewController) {
        m_listEventsViewController->closePopupAnimated(animated);
    }
}

std::shared_ptr<ListEventsViewController> WeekScrollViewController::getOrCreateListEventsViewController() {
    if (!m_listEventsViewController) {
        m_listEventsViewController = std::make_shared<ListEventsViewController>();
    }
    return m_listEventsViewController;
}

void WeekScrollViewController::dropListEventsViewController() {
    // An open list goes with its controller; left on screen it would answer to nobody.
    closeListEventsPopupAnimated(false);
    m_listEventsViewController.reset();
}

void WeekScrollViewController::updateListEventsAfterSave(const std::shared_ptr<EKEvent>& event, bool isNew) {
    if (!listEventsViewVisible()) {
        return;
    }
    const std::shared_ptr<ListEventsViewController> list = m_listEventsViewController;
    const bool onListedDay = ReadOnlyCheck::happensOnDay(*event, list->displayedDate());
    if (isNew) {
        // The week shows the new event first; the list follows once the week's animation ran.
        if (onListedDay) {
            const std::weak_ptr<ListEventsViewController> weakList = list;
            RunLoop::main().scheduleTimer(listUpdateDelay, false, [weakList, event] {
                if (const auto delayedList = weakList.lock()) {
                    delayedList->addEvent(event);
                }
            });
        }
    } else if (onListedDay) {
        list->reloadEvent(event);
    } else {
        // Edited onto another day: the list no longer holds it.
        list->removeEvent(event->eventIdentifier());
    }
}

void WeekScrollViewController::updateListEventsAfterDeletion(const QString& eventIdentifier, bool delayed) {
    if (!m_listEventsViewController) {
        return;
    }
    const std::weak_ptr<ListEventsViewController> weakList = m_listEventsViewController;
    const auto remove = [weakList, eventIdentifier] {
        if (const auto list = weakList.lock()) {
            list->removeEvent(eventIdentifier);
        }
    };
    if (delayed) {
        RunLoop::main().scheduleTimer(listUpdateDelay, false, remove);
    } else {
        RunLoop::main().post(remove);
    }
}

void WeekScrollViewController::updateListEventsAfterCopyOrMove(const std::shared_ptr<EKEvent>& event) {
    if (!m_listEventsViewController) {
        return;
    }
    if (ReadOnlyCheck::happensOnDay(*event, m_listEventsViewController->displayedDate())) {
        m_listEventsViewController->addEvent(event, false);
    } else {
        m_listEventsViewController->removeEvent(event->eventIdentifier(), false);
    }
}

// The week picker.

void WeekScrollViewController::dateTitleTapped() {
    if (m_weekPickerController && m_weekPickerController->visible()) {
        closeWeekPickerAnimated(true, {});
    } else {
        openWeekPicker(false);
    }
}

// A picker made under other settings is made again on next use; an open one closes first.
void WeekScrollViewController::dropWeekPickerController() {
    closeWeekPickerAnimated(false, {});
    m_weekPickerController.reset();
}

void WeekScrollViewController::createWeekPickerController() {
    m_weekPickerController = std::make_shared<WeekPickerController>(view()->frame());
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    m_weekPickerController->setOnSecondTapOnWeek([weakSelf](const Week& week) {
        if (auto self = weakSelf.lock()) {
            self->closeWeekPickerAndJumpToWeek(week);
        }
    });
    m_weekPickerController->setOnWeekSelectionChanged([weakSelf](const std::optional<Week>& week) {
        if (auto self = weakSelf.lock()) {
            self->weekPickerSelectionChanged(week);
        }
    });
}

// Reports of a closed picker would reach the bar's own buttons.
void WeekScrollViewController::weekPickerSelectionChanged(const std::optional<Week>& week) {
    if (!m_weekPickerController || !m_weekPickerController->visible()) {
        return;
    }
    const std::shared_ptr<BarButtonItem>& goButton = navigationItem()->rightBarButtonItem();
    if (week) {
        m_dateTitleView->setWeek(*week);
    } else {
        m_dateTitleView->setText(localizedString(QStringLiteral("Pick a Week")));
    }
    if (goButton) {
        goButton->setEnabled(week.has_value());
    }
}

void WeekScrollViewController::openWeekPicker(bool) {
    if (!m_weekPickerController) {
        createWeekPickerController();
    }
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    NavigationItem& item = *navigationItem();
    m_dateTitleView->withSubViewsStayingInPositionDo([&] {
        m_savedLeftBarButtonItem = item.leftBarButtonItem();
        m_savedRightBarButtonItem = item.rightBarButtonItem();
        m_savedLeftBarButtonItemEnabled = m_savedLeftBarButtonItem && m_savedLeftBarButtonItem->enabled();
        m_savedRightBarButtonItemEnabled = m_savedRightBarButtonItem && m_savedRightBarButtonItem->enabled();
        auto cancel = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Cancel")),
                                                      BarButtonItem::Style::Plain, [weakSelf] {
                                                          if (auto self = weakSelf.lock()) {
                                                              self->handleWeekPickerCancelButton();
                                                          }
                                                      });
        auto go = std::make_shared<BarButtonItem>(localizedString(QStringLiteral("Go")),
                                                  BarButtonItem::Style::Done, [weakSelf] {
                                                      if (auto self = weakSelf.lock()) {
                                                          self->handleWeekPickerGoButton();
                                                      }
                                                  });
        item.setLeftBarButtonItem(cancel, true);
        item.setRightBarButtonItem(go, true);
        go->setEnabled(false);
    });
    m_dateTitleView->animateFromRightWithText(localizedString(QStringLiteral("Pick a Week")));
    m_weekPickerController->configureForCurrentOrientation();
    const Month month = m_displayedWeek == Week::currentWeek() ? Day::today().month()
                                                               : m_displayedWeek.middleOfTheWeekDay().month();
    view()->addSubview(m_weekPickerController->view());
    m_weekPickerController->selectWeekInMonth(WeekInMonth(m_displayedWeek, month));
    m_weekPickerController->openAnimated();
    m_scrollView->setScrollEnabled(false);
}

void WeekScrollViewController::closeWeekPickerAnimated(bool animated, std::function<void()> completion) {
    if (!m_weekPickerController || !m_weekPickerController->visible()) {
        return;
    }
    NavigationItem& item = *navigationItem();
    m_dateTitleView->withSubViewsStayingInPositionDo([&] {
        item.setLeftBarButtonItem(m_savedLeftBarButtonItem, true);
        item.setRightBarButtonItem(m_savedRightBarButtonItem, true);
        if (m_savedLeftBarButtonItem) {
            m_savedLeftBarButtonItem->setEnabled(m_savedLeftBarButtonItemEnabled);
        }
        if (m_savedRightBarButtonItem) {
            m_savedRightBarButtonItem->setEnabled(m_savedRightBarButtonItemEnabled);
        }
    });
    m_dateTitleView->animateFromLeftWithWeek(m_displayedWeek);
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    const std::weak_ptr<WeekPickerController> weakPicker = m_weekPickerController;
    m_weekPickerController->closeAnimated(
        animated, [weakSelf, weakPicker, completion = std::move(completion)] {
            if (completion) {
                completion();
            }
            if (const auto picker = weakPicker.lock(); picker && !picker->visible()) {
                picker->view()->removeFromSuperview();
            }
            if (auto self = weakSelf.lock()) {
                self->m_scrollView->setScrollEnabled(true);
            }
        });
}

void WeekScrollViewController::handleWeekPickerCancelButton() {
    closeWeekPickerAnimated(true, {});
}

void WeekScrollViewController::handleWeekPickerGoButton() {
    if (m_weekPickerHint) {
        m_weekPickerHint->invalidate();
    }
    closeWeekPickerAndJumpToWeek(m_weekPickerController ? m_weekPickerController->selectedWeek()
                                                        : std::nullopt);
}

// A picker closed without a week jumps nowhere.
void WeekScrollViewController::closeWeekPickerAndJumpToWeek(const std::optional<Week>& week) {
    const std::weak_ptr<WeekScrollViewController> weakSelf = this->weakSelf();
    closeWeekPickerAnimated(true, [weakSelf, week] {
        const auto self = weakSelf.lock();
        if (self && week) {
            self->jumpToWeek(*week);
        }
    });
}

// The actions menu.

void WeekScrollViewController::showActions() {
    const bool landscape = InterfaceOrientation::isLandscape();
    std::shared_ptr<GlobalActionsListView>& menu = landscape ? m_landscapeMenuView : m_portraitMenuView;
    if (!menu) {
        menu = GlobalActionsListView::initForOrientation(landscape);
        menu->setDelegate(std::static_pointer_cast<GlobalActionsListViewDelegate>(
            std::static_pointer_cast<WeekScrollViewController>(shared_from_this())));
    }
    menu->show();
}

void WeekScrollViewController::clickedButtonAtIndex(int buttonIndex) {
    switch (static_cast<GlobalActionsListView::Action>(buttonIndex)) {
    case GlobalActionsListView::Action::Calendars:
        presentCalendarsScreen();
        break;
    case GlobalActionsListView::Action::JumpToWeek:
        openWeekPicker(true);
        break;
    case GlobalActionsListView::Action::Search:
        openSearchFromMenu();
        break;
    case GlobalActionsListView::Action::Settings:
        presentSettingsScreen();
        break;
    }
}

void WeekScrollViewController::presentSettingsScreen() {
    closeSearchForMenuScreen();
    auto navigation =
        std::make_shared<NavigationController>(std::make_shared<SettingsViewController>(m_eventService));
    navigation->navigationBar()->setBarStyle(NavigationBar::BarStyle::Default);
    presentModalViewController(navigation, true);
}

void WeekScrollViewController::presentCalendarsScreen() {
    closeSearchForMenuScreen();
    VisibleCalendarsViewController::presentFrom(*this);
}

void WeekScrollViewController::openSearchFromMenu() {
    if (m_copyMoveEventMode.activated() || m_weekViews.size() != 3) {
        return;
    }
    // Unlike the swipe, the menu leaves the search hint valid: closing search shows it.
    initializeSearchBar();
    if (m_searchModeActivated) {
        m_searchBar->showKeyboard(false);
    } else {
        toggleSearchBarAnimated(true);
    }
    m_searchBar->setActivatedUsingMenu(true);
}

void WeekScrollViewController::closeSearchForMenuScreen() {
    if (m_searchModeActivated && m_searchBar) {
        m_searchBar->closeSearch(false);
    }
}
