#pragma once

#include "kit/View.h"

// The thin strip under the month ruler: a faint bar across the whole width with the week in the
// middle of the three-weeks view marked brighter.
class WeekIndicatorView : public View {
public:
    explicit WeekIndicatorView(const Rect& frame);

    const Color& barColor() const { return m_barColor; }
    const Color& indicatorColor() const { return m_indicatorColor; }
    double currentWeekX() const { return m_currentWeekX; }
    void setCurrentWeekX(double x);
    double weekWidth() const { return m_weekWidth; }
    void setWeekWidth(double width);

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override;

private:
    Color m_barColor = Color(1, 1, 1, 0.1);
    Color m_indicatorColor = Color(1, 1, 1, 0.4);
    double m_currentWeekX = 0.0;
    double m_weekWidth = 0.0;
};
