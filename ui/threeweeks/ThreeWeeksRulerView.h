#pragma once

#include "core/calendar/Month.h"
#include "kit/Font.h"
#include "kit/Gradient.h"
#include "kit/View.h"

#include <optional>

class Week;

// The month names above the three-weeks view: the month of the week pages in view, or two months
// side by side, split where the later one begins on the pages.
class ThreeWeeksRulerView : public View {
public:
    // The width of a week page, which the split is measured in.
    static constexpr double weekPageWidth = 161.0;

    explicit ThreeWeeksRulerView(const Rect& frame);

    const std::optional<Month>& leftMonth() const { return m_leftMonth; }
    // None while one month fills the ruler.
    const std::optional<Month>& rightMonth() const { return m_rightMonth; }
    double monthSplitX() const { return m_monthSplitX; }
    const Font& font() const { return m_font; }

    // Takes the months and the split from the week whose page starts at `x`.
    void positionOnWeek(const Week& week, double x);
    // The share of a page's width taken by its first `days` days: three days fill the left
    // column, four the right one (the weekend shares a cell); 0 for a count outside 0 to 7.
    static double relativeDistanceOfDayInWeekView(int days);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    void drawMonthName(GraphicsContext& context, const QString& name, double x) const;

    std::optional<Month> m_leftMonth;
    std::optional<Month> m_rightMonth;
    double m_monthSplitX = 0.0;
    Font m_font = Font::boldSystemFontOfSize(17);
    Gradient m_gradientOverlay = Gradient(Color(0, 0, 0, 0.22), Color(0, 0, 0, 0));
};
