#pragma once

#include "core/calendar/Day.h"
#include "kit/View.h"
#include "ui/threeweeks/ThreeWeeksEventEntry.h"

#include <memory>
#include <optional>
#include <vector>

class Font;
class InfiniteScrollView;

// The lines of one mini day: its entries from the three-weeks view's page data as far as they
// fit, then a line that counts the rest; while pressed, the day's titles in white over the
// pressed header.
class MiniWeekDayContentView : public View {
public:
    // One line as drawn: an entry, or the count of entries that did not fit.
    struct Line {
        double y = 0.0;
        std::optional<ThreeWeeksEventEntry> entry;
        int moreEvents = 0;
    };

    MiniWeekDayContentView(const Rect& frame, int weekdayIndex);

    int weekdayIndex() const { return m_weekdayIndex; }
    const std::optional<Day>& day() const { return m_day; }
    void setDay(const Day& day);
    bool selected() const { return m_selected; }
    void setSelected(bool selected);
    bool isToday() const { return m_isToday; }
    void setIsToday(bool isToday);
    void setInfiniteScrollView(std::weak_ptr<InfiniteScrollView> scrollView);

    // The lines the day shows from the scroll area's data of its week, top to bottom; none
    // before the data is there.
    std::vector<Line> lines() const;

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;
    void drawNormalEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry, double y,
                         const Color& textColor);
    void drawAllDayEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry, double y, bool arrow,
                         const Color& textColor);

private:
    bool isWeekendHalf() const { return m_weekdayIndex >= 5; }
    void drawEntry(GraphicsContext& context, const ThreeWeeksEventEntry& entry, double y,
                   const Color& textColor);
    void drawMoreEventsLine(GraphicsContext& context, int moreEvents, double y);
    void drawSeparator(GraphicsContext& context) const;
    void drawSelectedTitles(GraphicsContext& context);
    // Texts carry the shadow while the day is pressed; time texts always do.
    void drawLineText(GraphicsContext& context, const QString& text, Point point, const Font& font,
                      const Color& color, bool shadow) const;

    int m_weekdayIndex = 0;
    std::optional<Day> m_day;
    bool m_selected = false;
    bool m_isToday = false;
    std::weak_ptr<InfiniteScrollView> m_infiniteScrollView;
};
