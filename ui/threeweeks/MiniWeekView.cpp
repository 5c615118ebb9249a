#include "ui/threeweeks/MiniWeekView.h"

#include "core/calendar/Day.h"
#include "ui/threeweeks/MiniWeekDayContentView.h"
#include "ui/threeweeks/MiniWeekDayView.h"
#include "ui/threeweeks/ThreeWeeksArtwork.h"

#include <algorithm>

namespace {

const Color miniWeekPageColor = Color::fromRgb255(178, 191, 201);
constexpr double miniColumnStep = 80.0;
constexpr double miniRowStep = 79.0;

} // namespace

std::shared_ptr<MiniWeekView> MiniWeekView::create(const Rect& frame) {
    auto page = std::make_shared<MiniWeekView>(frame);
    page->addDayViews();
    return page;
}

MiniWeekView::MiniWeekView(const Rect& frame) : InfiniteScrollPageView(frame) {
    setBackgroundColor(miniWeekPageColor);
}

Rect MiniWeekView::dayFrame(int weekdayIndex) {
    const int column = weekdayIndex < 3 ? 0 : 1;
    const int row = weekdayIndex < 3 ? weekdayIndex : std::min(weekdayIndex - 3, 2);
    const bool lowerHalf = weekdayIndex == 6;
    const bool half = weekdayIndex >= 5;
    return Rect(miniColumnStep * column,
                miniRowStep * row + 1 + (lowerHalf ? ThreeWeeksArtwork::miniWeekendCardHeight : 0),
                ThreeWeeksArtwork::miniCardWidth,
                half ? ThreeWeeksArtwork::miniWeekendCardHeight : ThreeWeeksArtwork::miniCardHeight);
}

void MiniWeekView::addDayViews() {
    for (int index = 0; index < 7; ++index) {
        std::shared_ptr<MiniWeekDayView> dayView = MiniWeekDayView::create(dayFrame(index), index);
        addSubview(dayView);
        m_dayViews.push_back(std::move(dayView));
    }
}

void MiniWeekView::setWeek(const Week& week) {
    if (m_week == week) {
        return;
    }
    m_week = week;
    Day day = week.firstDay();
    for (const auto& dayView : m_dayViews) {
        dayView->setDay(day);
        day = day.nextDay();
    }
}

PageItem MiniWeekView::pageItem() const {
    return m_week ? PageItem(*m_week) : PageItem();
}

void MiniWeekView::setPageItem(const PageItem& item) {
    if (const Week* week = item.as<Week>()) {
        setWeek(*week);
    }
}

void MiniWeekView::refreshContent() {
    for (const auto& dayView : m_dayViews) {
        dayView->contentView()->setNeedsDisplay();
    }
}

void MiniWeekView::setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView) {
    m_infiniteScrollView = scrollView;
    for (const auto& dayView : m_dayViews) {
        dayView->setInfiniteScrollView(scrollView);
    }
}

void MiniWeekView::drawRect(GraphicsContext& context, const Rect&) {
    for (const auto& dayView : m_dayViews) {
        dayView->drawFixedContentOnSuperView(context);
    }
}
