#pragma once

#include "core/calendar/Month.h"
#include "core/calendar/Week.h"
#include "kit/Font.h"
#include "kit/Image.h"
#include "kit/Touch.h"
#include "ui/daybox/CalendarBoxView.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Day;
class DrawDelegatingView;
class ImageView;
class WeekPickerPageView;

// One mini month of the week picker: the month's name and year in the header, five week rows of
// day numbers (days of the neighbouring months small and grey), today's number circled, the
// holiday bars of the page's data, and the highlights of the selected and the initial week. A
// finger on the rows selects weeks; touching the selected week again is a second tap.
class WeekPickerMonthView : public CalendarBoxView {
public:
    static constexpr double firstRowY = 27.0;
    static constexpr double rowHeight = 20.0;
    static constexpr double firstColumnX = 6.0;
    static constexpr double columnWidth = 19.0;
    static constexpr int rowCount = 5;

    static std::shared_ptr<WeekPickerMonthView> create(const Rect& frame);
    explicit WeekPickerMonthView(const Rect& frame);

    const std::optional<Month>& month() const { return m_month; }
    void setMonth(const Month& month);
    const std::optional<Week>& selectedWeek() const { return m_selectedWeek; }
    void setSelectedWeek(const std::optional<Week>& week);
    const std::optional<Week>& initialWeek() const { return m_initialWeek; }
    void setInitialWeek(const std::optional<Week>& week);
    void setPageView(const std::weak_ptr<WeekPickerPageView>& pageView) { m_pageView = pageView; }

    // The week row under the point (0..4), or none.
    std::optional<int> weekIndexAtPoint(Point point) const;
    std::optional<Week> weekForWeekIndex(std::optional<int> row) const;
    void updateWeekSelectionForPoint(Point point);
    // A finger's phase (began, moved or ended) at a point in this view.
    void handleTouchEvent(TouchPhase phase, Point point);

    using WeekHandler = std::function<void(const Week& week)>;
    void setOnSelectedWeekChanged(WeekHandler handler) { m_onSelectedWeekChanged = std::move(handler); }
    void setOnSecondTapOnWeek(WeekHandler handler) { m_onSecondTapOnWeek = std::move(handler); }

    const std::shared_ptr<DrawDelegatingView>& selectedWeekHighlightView() const {
        return m_selectedWeekHighlightView;
    }
    const std::shared_ptr<DrawDelegatingView>& initialWeekHighlightView() const {
        return m_initialWeekHighlightView;
    }
    const std::shared_ptr<ImageView>& currentDayView() const { return m_currentDayView; }
    const std::shared_ptr<ImageView>& whiteCurrentDayView() const { return m_whiteCurrentDayView; }

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    // Subviews never take touches; the month takes all of them.
    std::shared_ptr<View> hitTestView(Point point) override;

private:
    void addSubviews();
    void drawHolidayBars(GraphicsContext& context) const;
    // Draws one week row from `yearDayIndex` in `yearDayNumbers`; returns the other-month flag
    // after the row.
    bool drawDayNumbersForWeekAtPoint(GraphicsContext& context, Point point,
                                      const std::vector<int>& yearDayNumbers, int yearDayIndex,
                                      bool inOtherMonth, bool inSelection) const;
    // The first day of the first week row.
    Day gridStartDay() const;
    // Where `day` stands in the month's year's day-number list (days of the previous December at
    // its end).
    int yearDayIndexOfDay(const Day& day, const std::vector<int>& yearDayNumbers) const;
    void updateSelectedWeekHighlight(bool initial);
    void drawSelectedWeekHighlightViewRect(GraphicsContext& context, const Rect& rect) const;
    void drawInitialWeekHighlightViewRect(GraphicsContext& context, const Rect& rect) const;
    void updateCurrentDayView();

    Font m_dayNumberFont;
    Font m_otherMonthDayNumberFont;
    std::shared_ptr<DrawDelegatingView> m_selectedWeekHighlightView;
    std::shared_ptr<DrawDelegatingView> m_initialWeekHighlightView;
    std::shared_ptr<ImageView> m_currentDayView;
    std::shared_ptr<ImageView> m_whiteCurrentDayView;
    Image m_selectedWeekBackgroundImage;
    std::optional<Month> m_month;
    std::optional<Week> m_selectedWeek;
    std::optional<Week> m_initialWeek;
    std::weak_ptr<WeekPickerPageView> m_pageView;
    WeekHandler m_onSelectedWeekChanged;
    WeekHandler m_onSecondTapOnWeek;
};
