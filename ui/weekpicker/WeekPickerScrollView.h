#pragma once

#include "ui/paging/InfiniteScrollView.h"

#include <memory>

class MonthsPeriod;
class WeekPickerMonthView;

// The week picker's pager. A finger that comes down on a mini month selects weeks instead of
// scrolling: the month follows it, and so does the next month it is moved into.
class WeekPickerScrollView : public InfiniteScrollView {
public:
    static std::shared_ptr<WeekPickerScrollView> create(const Rect& frame);
    using InfiniteScrollView::InfiniteScrollView;

    // After a change of page kind (rotation): the page at the centre shows `period`, the others
    // its neighbours, and month views already drawn move to the pages that show their months.
    void reorganizePagesAssigningMainPageTheItem(const MonthsPeriod& period);

    const std::shared_ptr<WeekPickerMonthView>& currentTouchMonthView() const {
        return m_currentTouchMonthView;
    }

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesMoved(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    void endTouchTracking(const TouchSet& touches);

    std::shared_ptr<WeekPickerMonthView> m_currentTouchMonthView;
};
