#include "ui/threeweeks/WeekIndicatorView.h"

#include "kit/GraphicsContext.h"

WeekIndicatorView::WeekIndicatorView(const Rect& frame) : View(frame) {
    setBackgroundColor(std::nullopt);
    setUserInteractionEnabled(false);
}

void WeekIndicatorView::setCurrentWeekX(double x) {
    m_currentWeekX = x;
    setNeedsDisplay();
}

void WeekIndicatorView::setWeekWidth(double width) {
    m_weekWidth = width;
    setNeedsDisplay();
}

void WeekIndicatorView::drawRect(GraphicsContext& context, const Rect&) {
    const double height = bounds().height();
    const double weekEnd = m_currentWeekX + m_weekWidth;
    context.setFillColor(m_barColor);
    context.fillRect(Rect(0, 0, m_currentWeekX, height));
    context.fillRect(Rect(weekEnd, 0, bounds().width() - weekEnd, height));
    context.setFillColor(m_indicatorColor);
    context.fillRect(Rect(m_currentWeekX, 0, m_weekWidth, height));
}
