#include "ui/week/WeekPager.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/hints/Hint.h"
#include "foundation/ListExtensions.h"
#include "kit/Artwork.h"
#include "kit/Device.h"
#include "kit/ImageView.h"
#include "kit/LoadingIndicator.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationController.h"
#include "kit/ScrollView.h"
#include "kit/SwipeGestureRecognizer.h"
#include "kit/ViewController.h"
#include "ui/daybox/EventTouchLock.h"
#include "ui/week/WeekViewController.h"

#include <cmath>

namespace {

constexpr double loadingIndicatorFadeDuration = 0.2;

enum class PagingDirection { none = 0, backward = 1, forward = 2 };

} // namespace

WeekPager::WeekPager(std::shared_ptr<Hint> weekPickerHint)
    : m_weekPickerHint(std::move(weekPickerHint)), m_displayedWeek(Week::currentWeek()),
      m_eventTouchLock(std::make_shared<EventTouchLock>()),
      m_lastDirection(static_cast<int>(PagingDirection::none)) {
    m_weekViews.reserve(3);
}

WeekPager::~WeekPager() {
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    for (const auto& page : m_weekViews) {
        dispatcher.unregisterAllEventsForTarget(page.get());
    }
}

void WeekPager::loadPages() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    m_width = host->scrollView()->frame().width();
    m_height = host->scrollView()->frame().height();
    initializeWeekViews();
}

void WeekPager::unloadPages() {
    removeWeekViews();
    m_fuzzyTransitionView.reset();
}

void WeekPager::rebuildWeekViewsForCurrentWeek() {
    removeWeekViews();
    m_targetWeek.reset();
    m_displayedWeek = Week::currentWeek();
    initializeWeekViews();
}

void WeekPager::initializeWeekViews() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::weak_ptr<WeekPagerHost> weakHost = m_host;
    const std::shared_ptr<ScrollView>& scrollView = host->scrollView();
    for (int i = 0; i < 3; ++i) {
        std::shared_ptr<WeekViewController> page = host->newWeekViewController(m_eventTouchLock);
        m_weekViews.push_back(page);
        scrollView->addSubview(page->view());
        auto swipe = std::make_shared<SwipeGestureRecognizer>(SwipeDirection::Up);
        swipe->onAction = [weakHost](GestureRecognizer& recognizer) {
            if (const auto swipedHost = weakHost.lock()) {
                swipedHost->toggleSearch(recognizer);
            }
        };
        page->view()->addGestureRecognizer(swipe);
    }
    scrollView->setContentSize(Size(pageCount * m_width, m_height));
    initializeViews(true);
}

// The indicator spins only while it shows: a spinning indicator would wake the program for
// every step of its wheel.
void WeekPager::fadeOutLoadingIndicator() {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::shared_ptr<LoadingIndicator> indicator = host->loadingIndicator();
    indicator->setAlpha(1);
    indicator->startAnimating();
    View::animate(
        loadingIndicatorFadeDuration, 0, AnimationCurve::easeInOut, AnimationOption::allowUserInteraction,
        [indicator] { indicator->setAlpha(0); },
        [weakIndicator = std::weak_ptr<LoadingIndicator>(indicator)](bool) {
            const std::shared_ptr<LoadingIndicator> faded = weakIndicator.lock();
            if (faded && faded->alpha() == 0) {
                faded->stopAnimating();
            }
        });
}

void WeekPager::initializeViews(bool firstTime) {
    if (const auto host = m_host.lock()) {
        host->updateHeaderWithWeek(m_displayedWeek);
    }
    Week week = m_displayedWeek.addWeeks(-1);
    for (const auto& page : m_weekViews) {
        page->clearWithWeek(week, firstTime);
        page->view()->setFrame(Rect(0, 0, m_width, m_height));
        page->view()->setHidden(false);
        week = week.addWeeks(1);
    }
    applyWeekViewPositions();
    const std::weak_ptr<WeekPager> weakSelf = weak_from_this();
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

void WeekPager::applyWeekViewPositions() {
    for (std::size_t i = 0; i < m_weekViews.size(); ++i) {
        m_weekViews[i]->view()->setFrameX((middlePagePosition - 1 + double(i)) * m_width);
    }
    scrollToPagePosition(middlePagePosition, false);
}

void WeekPager::removeWeekViews() {
    ApplicationEventDispatcher& dispatcher = ApplicationEventDispatcher::sharedInstance();
    for (const auto& page : m_weekViews) {
        dispatcher.unregisterAllEventsForTarget(page.get());
        page->view()->removeFromSuperview();
    }
    m_weekViews.clear();
}

std::shared_ptr<WeekViewController> WeekPager::currentViewInMiddleOfScreen() const {
    const auto host = m_host.lock();
    if (!host) {
        return nullptr;
    }
    const ScrollView& scrollView = *host->scrollView();
    const double center = scrollView.contentOffset().x() + scrollView.frame().width() / 2;
    for (const auto& page : m_weekViews) {
        const Rect frame = page->view()->frame();
        if (center >= frame.x() && center <= frame.x() + frame.width()) {
            return page;
        }
    }
    return nullptr;
}

void WeekPager::scrollToPagePosition(int position, bool animated) {
    if (const auto host = m_host.lock()) {
        host->scrollView()->scrollRectToVisible(Rect(position * m_width, 0, m_width, m_height), animated);
    }
}

void WeekPager::setTouchesOnPagesEnabled(bool enabled) {
    setTouchesOnBarEnabled(enabled);
    for (const auto& page : m_weekViews) {
        page->view()->setUserInteractionEnabled(enabled);
    }
}

void WeekPager::setTouchesOnBarEnabled(bool enabled) {
    if (const auto host = m_host.lock()) {
        if (auto navigation = host->weekScreen().navigationController()) {
            navigation->navigationBar()->setUserInteractionEnabled(enabled);
        }
    }
}

void WeekPager::recyclePagesAfterScroll() {
    const auto host = m_host.lock();
    if (m_targetWeek || !host) {
        return;
    }
    const double offset = host->scrollView()->contentOffset().x();
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
        host->updateHeaderWithWeek(m_displayedWeek);
    }
}

void WeekPager::countDirection(int page) {
    const PagingDirection direction = page == -1  ? PagingDirection::backward
                                      : page == 1 ? PagingDirection::forward
                                                  : PagingDirection::none;
    if (direction == PagingDirection::none) {
        return;
    }
    if (m_lastDirection == static_cast<int>(direction)) {
        ++m_sameDirectionCount;
    } else {
        m_sameDirectionCount = 1;
        m_lastDirection = static_cast<int>(direction);
    }
}

void WeekPager::resetDirectionCount() {
    m_sameDirectionCount = 0;
    m_lastDirection = static_cast<int>(PagingDirection::none);
}

int WeekPager::settleAfterDrag() {
    const auto host = m_host.lock();
    if (!host) {
        return 0;
    }
    const int page =
        static_cast<int>(std::floor(host->scrollView()->contentOffset().x() / m_width)) - middlePagePosition;
    countDirection(page);
    // Someone paging through weeks one by one is pointed to the week picker.
    if (m_sameDirectionCount % 3 == 0 && m_weekPickerHint) {
        m_weekPickerHint->trigger();
    }
    applyWeekViewPositions();
    setTouchesOnPagesEnabled(true);
    return page;
}

bool WeekPager::scrollToWeek(const Week& week, bool animated) {
    const bool animate = animated && !Device::current().isOlderGeneration();
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
    return animate;
}

void WeekPager::prepareFuzzyTransitionStartingAtPosition(int position) {
    const auto host = m_host.lock();
    if (!host) {
        return;
    }
    const std::shared_ptr<ScrollView>& scrollView = host->scrollView();
    if (!m_fuzzyTransitionView) {
        // The blurred picture covers a whole page, whatever the page's size.
        m_fuzzyTransitionView =
            std::make_shared<ImageView>(Rect(middlePagePosition * m_width, 0, m_width, m_height));
        m_fuzzyTransitionView->setImage(Artwork::imageNamed(QStringLiteral("fuzzy-transition")));
        m_fuzzyTransitionView->setHidden(true);
        scrollView->insertSubview(m_fuzzyTransitionView, 0);
    }
    const double x = (position + middlePagePosition - 1) * m_width;
    middlePage()->view()->setFrameX(x);
    m_fuzzyTransitionView->setHidden(false);
    m_weekViews[static_cast<std::size_t>(position)]->view()->setHidden(true);
    scrollView->setContentOffset(Point(x, 0), false);
    host->middlePageMovedForJump(position == 0 ? -m_width : m_width);
}

void WeekPager::finishJump() {
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
}
