#pragma once

#include "core/calendar/Day.h"
#include "ui/daybox/CalendarBoxView.h"

#include <memory>
#include <optional>

class ImageView;
class InfiniteScrollView;
class MiniWeekDayContentView;

// One day of a week page of the three-weeks view: a mini day box whose content lists the day's
// events. A tap shows it pressed for a moment and opens the day's event list.
class MiniWeekDayView : public CalendarBoxView {
public:
    static std::shared_ptr<MiniWeekDayView> create(const Rect& frame, int weekdayIndex);
    MiniWeekDayView(const Rect& frame, int weekdayIndex);

    const std::shared_ptr<MiniWeekDayContentView>& contentView() const { return m_contentView; }
    const std::shared_ptr<ImageView>& selectedHeaderImageView() const { return m_selectedHeaderImageView; }
    const std::shared_ptr<ImageView>& selectedImageView() const { return m_selectedImageView; }
    int weekdayIndex() const { return m_weekdayIndex; }
    const std::optional<Day>& day() const { return m_day; }
    void setDay(const Day& day);
    void setInfiniteScrollView(const std::weak_ptr<InfiniteScrollView>& scrollView);

    // Asks for the day's event list (a ListEventsEvent for this box and the start of its day).
    void openListEventsView();

protected:
    void touchesBegan(const TouchSet& touches, const TouchEvent& event) override;
    void touchesEnded(const TouchSet& touches, const TouchEvent& event) override;
    void touchesCancelled(const TouchSet& touches, const TouchEvent& event) override;

private:
    void addSubviews();
    void setSelectionAlpha(double alpha);
    void hideSelection();

    int m_weekdayIndex = 0;
    std::shared_ptr<MiniWeekDayContentView> m_contentView;
    std::shared_ptr<ImageView> m_selectedHeaderImageView;
    std::shared_ptr<ImageView> m_selectedImageView;
    std::optional<Day> m_day;
    std::weak_ptr<InfiniteScrollView> m_infiniteScrollView;
    bool m_touchingDown = false;
};
