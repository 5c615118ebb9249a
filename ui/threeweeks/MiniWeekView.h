#pragma once

#include "core/calendar/Week.h"
#include "ui/paging/InfiniteScrollPageView.h"

#include <memory>
#include <optional>
#include <vector>

class MiniWeekDayView;

// One week page of the three-weeks view, a miniature of the planner page: two columns of three
// day cells, the weekend sharing the last cell of the right column.
class MiniWeekView : public InfiniteScrollPageView {
public:
    static constexpr double pageWidth = 161.0;
    static constexpr double pageHeight = 239.0;

    static std::shared_ptr<MiniWeekView> create(const Rect& frame);
    explicit MiniWeekView(const Rect& frame);

    // The cell of a weekday index: indices 0 to 2 down the left column, 3 and 4 down the right
    // one, 5 and 6 the upper and lower halves of its last cell.
    static Rect dayFrame(int weekdayIndex);

    const std::vector<std::shared_ptr<MiniWeekDayView>>& dayViews() const { return m_dayViews; }
    const std::optional<Week>& week() const { return m_week; }
    void setWeek(const Week& week);

    PageItem pageItem() const override;
    void setPageItem(const PageItem& item) override;
    void refreshContent() override;
    void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) override;

protected:
    // The cards of all seven days in one pass; the days then draw only their titles and lines.
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void addDayViews();

    std::vector<std::shared_ptr<MiniWeekDayView>> m_dayViews;
    std::optional<Week> m_week;
    std::weak_ptr<InfiniteScrollView> m_infiniteScrollView;
};
