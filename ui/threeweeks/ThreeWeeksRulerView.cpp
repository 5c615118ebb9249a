#include "ui/threeweeks/ThreeWeeksRulerView.h"

#include "core/calendar/Day.h"
#include "core/calendar/Week.h"
#include "foundation/StringUtilities.h"
#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"

namespace {

constexpr double rulerNameInset = 8.0;
constexpr double rulerNameY = 2.0;
constexpr double rulerOverlayHeight = 10.0;
const Color rulerBottomLineColor = Color::fromRgb255(45, 48, 51, 0.7);

} // namespace

ThreeWeeksRulerView::ThreeWeeksRulerView(const Rect& frame) : View(frame) {
    setBackgroundColor(Color(0, 0, 0));
    setUserInteractionEnabled(false);
}

double ThreeWeeksRulerView::relativeDistanceOfDayInWeekView(int days) {
    static constexpr double shares[] = {0.0, 1.0 / 6.0, 1.0 / 3.0, 0.5, 0.625, 0.75, 0.875, 1.0};
    return days >= 0 && days <= 7 ? shares[days] : 0.0;
}

void ThreeWeeksRulerView::positionOnWeek(const Week& week, double x) {
    const Day first = week.firstDay();
    const Month month = first.month();
    const int daysBefore = first.dayNumber() - 1;
    // Where the first day's month began, reckoned back over whole and partial pages.
    const double monthStartX =
        x - (daysBefore / 7 + (1.0 - relativeDistanceOfDayInWeekView(7 - daysBefore % 7))) * weekPageWidth -
        1;
    if (monthStartX > 0) {
        m_leftMonth = month.previousMonth();
        m_rightMonth = month;
        m_monthSplitX = monthStartX;
    } else {
        m_leftMonth = month;
        const int daysLeft = month.numberOfDays() - first.dayNumber() + 1;
        m_monthSplitX =
            x + (daysLeft / 7 + relativeDistanceOfDayInWeekView(daysLeft % 7)) * weekPageWidth - 1;
        m_rightMonth =
            m_monthSplitX > bounds().width() ? std::nullopt : std::optional<Month>(month.nextMonth());
    }
    setNeedsDisplay();
}

void ThreeWeeksRulerView::drawRect(GraphicsContext& context, const Rect&) {
    if (!m_leftMonth) {
        return;
    }
    const double width = bounds().width();
    const double height = bounds().height();
    if (!m_rightMonth) {
        context.setFillColor(m_leftMonth->seasonAwareColor());
        context.fillRect(bounds());
        m_gradientOverlay.applyFrom(context, Point(0, 0), Point(0, rulerOverlayHeight));
        drawMonthName(context, m_leftMonth->name(), rulerNameInset);
    } else {
        context.setFillColor(m_leftMonth->seasonAwareColor());
        context.fillRect(Rect(0, 0, m_monthSplitX, height));
        context.setFillColor(m_rightMonth->seasonAwareColor());
        context.fillRect(Rect(m_monthSplitX, 0, width - m_monthSplitX, height));
        m_gradientOverlay.applyFrom(context, Point(0, 0), Point(0, rulerOverlayHeight));
        // A dark and a light line, each one point wide, make the split a step.
        context.setFillColor(Color(0, 0, 0, 0.4));
        context.fillRect(Rect(m_monthSplitX - 1, 0, 1, height));
        context.setFillColor(Color(1, 1, 1, 0.4));
        context.fillRect(Rect(m_monthSplitX, 0, 1, height));
        const QString leftName = StringUtilities::stringByUppercasingFirstLetter(m_leftMonth->name());
        // The next month pushes the name out to the left once they would meet.
        const double pushedX =
            m_monthSplitX - rulerNameInset - StringDrawing::sizeWithFont(leftName, m_font).width();
        drawMonthName(context, m_leftMonth->name(), pushedX <= rulerNameInset ? pushedX : rulerNameInset);
        drawMonthName(context, m_rightMonth->name(), m_monthSplitX + rulerNameInset);
    }
    context.setStrokeColor(rulerBottomLineColor);
    context.setLineWidth(1.0);
    context.beginPath();
    context.moveTo(Point(0, height - 0.5));
    context.addLineTo(Point(width, height - 0.5));
    context.strokePath();
}

void ThreeWeeksRulerView::drawMonthName(GraphicsContext& context, const QString& name, double x) const {
    context.saveGState();
    context.setShadow(Size(0, -1), 0, Color(0, 0, 0));
    context.setFillColor(Color(1, 1, 1));
    context.drawText(StringUtilities::stringByUppercasingFirstLetter(name), Point(x, rulerNameY), m_font);
    context.restoreGState();
}
