#pragma once

#include "core/calendar/MonthsPeriod.h"
#include "core/calendar/WeekInMonth.h"
#include "core/calendar/WeekPickerHolidayEntry.h"
#include "ui/paging/InfiniteScrollPageView.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class WeekPickerMonthView;

// One page of the week picker: the mini months of one period, top to bottom.
class WeekPickerPageView : public InfiniteScrollPageView {
public:
    static constexpr double monthViewWidth = 146.0;
    static constexpr double monthViewHeight = 131.0;
    static constexpr double monthViewSpacing = 132.0;

    explicit WeekPickerPageView(const Rect& frame);

    PageItem pageItem() const override;
    void setPageItem(const PageItem& item) override;
    void refreshContent() override;
    void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) override {
        m_infiniteScrollView = scrollView;
    }

    const MonthsPeriod* monthsPeriod() const { return m_monthsPeriod.get(); }
    void setMonthsPeriod(const MonthsPeriod& period);
    const std::vector<std::shared_ptr<WeekPickerMonthView>>& monthViews() const { return m_monthViews; }

    const std::optional<WeekInMonth>& selectedWeekInMonth() const { return m_selectedWeekInMonth; }
    void setSelectedWeekInMonth(const std::optional<WeekInMonth>& weekInMonth);
    const std::optional<WeekInMonth>& initiallySelectedWeekInMonth() const {
        return m_initiallySelectedWeekInMonth;
    }
    void setInitiallySelectedWeekInMonth(const std::optional<WeekInMonth>& weekInMonth);

    // The holiday bars of the month from the scroller's data of this page's period.
    std::vector<WeekPickerHolidayEntry> holidayEntriesForMonth(const Month& month) const;

    // Takes the month views off the page, for another page to reuse.
    std::vector<std::shared_ptr<WeekPickerMonthView>> detachMonthViewsForReuse();
    // Shows the period with month views from the pool where their month matches, new ones
    // otherwise; the views taken are removed from the pool.
    void reconfigureForMonthsPeriod(const MonthsPeriod& period,
                                    std::vector<std::shared_ptr<WeekPickerMonthView>>& pool);

    using WeekInMonthHandler = std::function<void(const WeekInMonth& weekInMonth)>;
    void setOnSelectedWeekInMonthChanged(WeekInMonthHandler handler) {
        m_onSelectedWeekInMonthChanged = std::move(handler);
    }
    void setOnSecondTapOnWeek(WeekInMonthHandler handler) { m_onSecondTapOnWeek = std::move(handler); }

private:
    std::shared_ptr<WeekPickerMonthView> newMonthView(const Month& month) const;
    void configureMonthView(const std::shared_ptr<WeekPickerMonthView>& monthView, int index);
    void monthViewSelectedWeek(const WeekPickerMonthView& monthView, const Week& week);
    void monthViewSecondTap(const WeekPickerMonthView& monthView, const Week& week);

    std::vector<std::shared_ptr<WeekPickerMonthView>> m_monthViews;
    std::unique_ptr<MonthsPeriod> m_monthsPeriod;
    std::optional<WeekInMonth> m_selectedWeekInMonth;
    std::optional<WeekInMonth> m_initiallySelectedWeekInMonth;
    std::weak_ptr<InfiniteScrollView> m_infiniteScrollView;
    WeekInMonthHandler m_onSelectedWeekInMonthChanged;
    WeekInMonthHandler m_onSecondTapOnWeek;
};
