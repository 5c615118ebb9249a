#include "ui/weekpicker/WeekPickerPageView.h"

#include "core/calendar/Day.h"
#include "core/calendar/Month.h"
#include "core/calendar/MonthsPeriodHolidays.h"
#include "ui/paging/InfiniteScrollView.h"
#include "ui/weekpicker/MonthsPeriodItem.h"
#include "ui/weekpicker/WeekPickerMonthView.h"

#include <algorithm>

WeekPickerPageView::WeekPickerPageView(const Rect& frame) : InfiniteScrollPageView(frame) {
    setBackgroundColor(std::nullopt);
}

PageItem WeekPickerPageView::pageItem() const {
    return m_monthsPeriod ? MonthsPeriodItem::itemOf(*m_monthsPeriod) : PageItem();
}

void WeekPickerPageView::setPageItem(const PageItem& item) {
    if (const MonthsPeriod* period = MonthsPeriodItem::periodOf(item)) {
        setMonthsPeriod(*period);
    }
}

void WeekPickerPageView::refreshContent() {
    for (const auto& monthView : m_monthViews) {
        monthView->setNeedsDisplay();
    }
}

void WeekPickerPageView::setMonthsPeriod(const MonthsPeriod& period) {
    if (m_monthsPeriod && m_monthsPeriod->isEqual(period)) {
        return;
    }
    m_monthsPeriod = period.clone();
    const Month thisMonth = Day::today().month();
    const std::vector<Month> months = period.months();
    for (std::size_t i = 0; i < months.size(); ++i) {
        if (i >= m_monthViews.size()) {
            configureMonthView(WeekPickerMonthView::create(Rect()), static_cast<int>(i));
        }
        m_monthViews[i]->setMonth(months[i]);
        m_monthViews[i]->setPermanentlyHighlighted(months[i] == thisMonth);
        // A view that showed another month drew that month's bars.
        m_monthViews[i]->setNeedsDisplay();
    }
}

std::shared_ptr<WeekPickerMonthView> WeekPickerPageView::newMonthView(const Month& month) const {
    std::shared_ptr<WeekPickerMonthView> monthView = WeekPickerMonthView::create(Rect());
    monthView->setMonth(month);
    monthView->setPermanentlyHighlighted(month == Day::today().month());
    return monthView;
}

// The month views report through this page, which they must not keep alive.
void WeekPickerPageView::configureMonthView(const std::shared_ptr<WeekPickerMonthView>& monthView,
                                            int index) {
    addSubview(monthView);
    m_monthViews.push_back(monthView);
    monthView->setFrame(Rect(0, monthViewSpacing * index, monthViewWidth, monthViewHeight));
    const auto weakSelf = std::static_pointer_cast<WeekPickerPageView>(shared_from_this());
    const std::weak_ptr<WeekPickerPageView> weakPage = weakSelf;
    const std::weak_ptr<WeekPickerMonthView> weakMonthView = monthView;
    monthView->setOnSelectedWeekChanged([weakPage, weakMonthView](const Week& week) {
        const auto page = weakPage.lock();
        const auto view = weakMonthView.lock();
        if (page && view) {
            page->monthViewSelectedWeek(*view, week);
        }
    });
    monthView->setOnSecondTapOnWeek([weakPage, weakMonthView](const Week& week) {
        const auto page = weakPage.lock();
        const auto view = weakMonthView.lock();
        if (page && view) {
            page->monthViewSecondTap(*view, week);
        }
    });
    monthView->setPageView(weakPage);
}

void WeekPickerPageView::monthViewSelectedWeek(const WeekPickerMonthView& monthView, const Week& week) {
    for (const auto& other : m_monthViews) {
        if (other.get() != &monthView) {
            other->setSelectedWeek(std::nullopt);
        }
    }
    const WeekInMonth weekInMonth(week, *monthView.month());
    m_selectedWeekInMonth = weekInMonth;
    if (m_onSelectedWeekInMonthChanged) {
        m_onSelectedWeekInMonthChanged(weekInMonth);
    }
}

void WeekPickerPageView::monthViewSecondTap(const WeekPickerMonthView& monthView, const Week& week) {
    if (m_onSecondTapOnWeek) {
        m_onSecondTapOnWeek(WeekInMonth(week, *monthView.month()));
    }
}

void WeekPickerPageView::setSelectedWeekInMonth(const std::optional<WeekInMonth>& weekInMonth) {
    for (const auto& monthView : m_monthViews) {
        const bool holds = weekInMonth && monthView->month() == weekInMonth->month();
        monthView->setSelectedWeek(holds ? std::optional<Week>(weekInMonth->week()) : std::nullopt);
    }
    m_selectedWeekInMonth = weekInMonth;
}

void WeekPickerPageView::setInitiallySelectedWeekInMonth(const std::optional<WeekInMonth>& weekInMonth) {
    for (const auto& monthView : m_monthViews) {
        const bool holds = weekInMonth && monthView->month() == weekInMonth->month();
        monthView->setInitialWeek(holds ? std::optional<Week>(weekInMonth->week()) : std::nullopt);
    }
    m_initiallySelectedWeekInMonth = weekInMonth;
}

std::vector<WeekPickerHolidayEntry> WeekPickerPageView::holidayEntriesForMonth(const Month& month) const {
    const std::shared_ptr<InfiniteScrollView> scrollView = m_infiniteScrollView.lock();
    if (!scrollView || !m_monthsPeriod) {
        return {};
    }
    const std::any data = scrollView->dataForItem(pageItem());
    const auto* holidays = std::any_cast<std::shared_ptr<const MonthsPeriodHolidays>>(&data);
    if (!holidays || !*holidays) {
        return {};
    }
    const std::vector<WeekPickerHolidayEntry>* entries =
        (*holidays)->entriesAtPosition(m_monthsPeriod->firstMonth().monthsTo(month));
    return entries ? *entries : std::vector<WeekPickerHolidayEntry>{};
}

std::vector<std::shared_ptr<WeekPickerMonthView>> WeekPickerPageView::detachMonthViewsForReuse() {
    std::vector<std::shared_ptr<WeekPickerMonthView>> detached = std::move(m_monthViews);
    m_monthViews.clear();
    for (const auto& monthView : detached) {
        monthView->removeFromSuperview();
    }
    return detached;
}

void WeekPickerPageView::reconfigureForMonthsPeriod(const MonthsPeriod& period,
                                                    std::vector<std::shared_ptr<WeekPickerMonthView>>& pool) {
    m_monthsPeriod = period.clone();
    const std::vector<Month> months = period.months();
    for (std::size_t i = 0; i < months.size(); ++i) {
        const auto reusable = std::find_if(pool.begin(), pool.end(),
                                           [&](const auto& view) { return view->month() == months[i]; });
        std::shared_ptr<WeekPickerMonthView> monthView;
        if (reusable != pool.end()) {
            monthView = *reusable;
            pool.erase(reusable);
        } else {
            monthView = newMonthView(months[i]);
        }
        configureMonthView(monthView, static_cast<int>(i));
    }
}
