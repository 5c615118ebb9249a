#include "ui/weekpicker/WeekPickerScrollView.h"

#include "core/calendar/MonthsPeriod.h"
#include "kit/Touch.h"
#include "ui/weekpicker/WeekPickerMonthView.h"
#include "ui/weekpicker/WeekPickerPageView.h"

#include <algorithm>

std::shared_ptr<WeekPickerScrollView> WeekPickerScrollView::create(const Rect& frame) {
    auto view = std::make_shared<WeekPickerScrollView>(frame);
    view->connectScrollView();
    return view;
}

void WeekPickerScrollView::touchesBegan(const TouchSet& touches, const TouchEvent&) {
    const std::shared_ptr<Touch>& touch = touches.front();
    auto monthView = std::dynamic_pointer_cast<WeekPickerMonthView>(touch->view());
    if (!monthView) {
        return;
    }
    monthView->handleTouchEvent(TouchPhase::Began, touch->locationInView(monthView.get()));
    m_currentTouchMonthView = monthView;
    setScrollEnabled(false);
}

void WeekPickerScrollView::touchesMoved(const TouchSet& touches, const TouchEvent&) {
    if (!m_currentTouchMonthView) {
        return;
    }
    const std::shared_ptr<Touch>& touch = touches.front();
    const Point inCurrent = touch->locationInView(m_currentTouchMonthView.get());
    if (m_currentTouchMonthView->pointInside(inCurrent)) {
        m_currentTouchMonthView->handleTouchEvent(TouchPhase::Moved, inCurrent);
        return;
    }
    auto next = std::dynamic_pointer_cast<WeekPickerMonthView>(
        hitTestInternalScrollView(touch->locationInView(this)));
    if (!next || next == m_currentTouchMonthView) {
        return;
    }
    m_currentTouchMonthView->handleTouchEvent(TouchPhase::Ended, inCurrent);
    next->handleTouchEvent(TouchPhase::Began, touch->locationInView(next.get()));
    m_currentTouchMonthView = next;
}

void WeekPickerScrollView::touchesEnded(const TouchSet& touches, const TouchEvent&) {
    endTouchTracking(touches);
}

void WeekPickerScrollView::touchesCancelled(const TouchSet& touches, const TouchEvent&) {
    endTouchTracking(touches);
}

void WeekPickerScrollView::endTouchTracking(const TouchSet& touches) {
    if (m_currentTouchMonthView) {
        m_currentTouchMonthView->handleTouchEvent(
            TouchPhase::Ended, touches.front()->locationInView(m_currentTouchMonthView.get()));
        m_currentTouchMonthView.reset();
    }
    setScrollEnabled(true);
}

void WeekPickerScrollView::reorganizePagesAssigningMainPageTheItem(const MonthsPeriod& period) {
    const auto& pages = pageViews();
    const std::shared_ptr<InfiniteScrollPageView> centre = currentPageViewAtCenterOfScreen();
    const auto found = std::find(pages.begin(), pages.end(), centre);
    const int centreIndex = centre && found != pages.end() ? static_cast<int>(found - pages.begin())
                                                           : static_cast<int>(pages.size()) / 2;

    std::vector<std::shared_ptr<WeekPickerMonthView>> pool;
    for (const auto& page : pages) {
        std::vector<std::shared_ptr<WeekPickerMonthView>> views =
            static_cast<WeekPickerPageView&>(*page).detachMonthViewsForReuse();
        pool.insert(pool.end(), views.begin(), views.end());
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::unique_ptr<MonthsPeriod> pagePeriod =
            period.addMonthsPeriod(static_cast<int>(i) - centreIndex);
        static_cast<WeekPickerPageView&>(*pages[i]).reconfigureForMonthsPeriod(*pagePeriod, pool);
    }
    makeSureAllPagesAreVisible();
    // The pages' new periods have data of their own to load.
    triggerLoadingData();
}
