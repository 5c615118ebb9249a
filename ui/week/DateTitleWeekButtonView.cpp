#include "ui/week/DateTitleWeekButtonView.h"

#include "core/bus/ApplicationEventDispatcher.h"
#include "core/bus/WeekNumberMethodChangedEvent.h"
#include "core/calendar/Day.h"
#include "core/calendar/Year.h"
#include "foundation/Localization.h"
#include "kit/DeviceDependentValues.h"
#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double maximumPadding = 9999.0;
// The face may spread this much wider than its width before margins are taken off.
constexpr double extraWidth = 14.0;
constexpr double minimumMargin = 7.0;
// The separator stops this far short of the band's ends.
constexpr double separatorInset = 3.0;

} // namespace

DateTitleWeekButtonView::DateTitleWeekButtonView(const Rect& frame) : DateTitleFaceView(frame) {
    setExclusiveTouch(true);
    ApplicationEventDispatcher::sharedInstance().registerTarget<WeekNumberMethodChangedEvent>(
        this, [this](const std::shared_ptr<WeekNumberMethodChangedEvent>&) { setNeedsDisplay(); });
}

DateTitleWeekButtonView::~DateTitleWeekButtonView() {
    ApplicationEventDispatcher::sharedInstance().unregisterAllEventsForTarget(this);
}

void DateTitleWeekButtonView::setWeek(const Week& week) {
    m_week = week;
    postAccessibilityNotification(AccessibilityNotification::LabelChanged);
    setNeedsDisplay();
}

QString DateTitleWeekButtonView::weekText() const {
    if (!m_week) {
        return {};
    }
    return localizedString(QStringLiteral("Week %@")).replace(QStringLiteral("%@"), m_week->weekNumber());
}

QString DateTitleWeekButtonView::yearText() const {
    if (!m_week) {
        return {};
    }
    return QString::number(m_week->middleOfTheWeekDay().year().regionalYearNumber());
}

double DateTitleWeekButtonView::fontSize() const {
    return fittingBoldFont(weekText() + yearText()).pointSize();
}

DateTitleWeekButtonView::Layout DateTitleWeekButtonView::layout() const {
    const double size = fontSize();
    const double widthA = StringDrawing::sizeWithFont(weekText(), Font::boldSystemFontOfSize(size)).width();
    const double widthB = StringDrawing::sizeWithFont(yearText(), Font::systemFontOfSize(size)).width();
    return layoutForWidths(bounds().width(), widthA, widthB);
}

DateTitleWeekButtonView::Layout DateTitleWeekButtonView::layoutForWidths(double faceWidth, double widthA,
                                                                         double widthB) {
    double free = faceWidth + extraWidth - (widthA + widthB);
    const double margin = std::max(free * 0.25, minimumMargin);
    free -= 2.0 * margin;
    const double padding = std::min(free / 4.0, maximumPadding);
    free -= 2.0 * padding;
    const double q = free / 2.0;
    const double total = 2.0 * q + 2.0 * padding + widthA + widthB;
    Layout result{};
    result.x0 = std::ceil((faceWidth - total) / 2.0);
    result.xA = std::ceil(result.x0 + q);
    result.xs = std::ceil(result.xA + widthA + padding);
    result.xB = std::ceil(result.xs + padding);
    result.xe = std::ceil(result.xB + widthB + q);
    return result;
}

void DateTitleWeekButtonView::drawRect(GraphicsContext& context, const Rect&) {
    if (!m_week) {
        return;
    }
    const QString textA = weekText();
    const QString textB = yearText();
    const double size = fontSize();
    const Font fontA = Font::boldSystemFontOfSize(size);
    const Font fontB = Font::systemFontOfSize(size);
    const Size sizeA = StringDrawing::sizeWithFont(textA, fontA);
    const Size sizeB = StringDrawing::sizeWithFont(textB, fontB);
    const Layout parts = layoutForWidths(bounds().width(), sizeA.width(), sizeB.width());

    context.saveGState();
    const double hairline = DeviceDependentValues::singlePixelLineWidth();
    context.setShadow(Size(-hairline, -hairline), 2.0);
    drawOutline(context, parts.x0, parts.xe - parts.x0, selected());
    drawSeparator(context, parts);
    context.restoreGState();

    context.saveGState();
    context.setShadow(getTextShadowOffset(), 0.0, getTextShadowColor());
    context.setFillColor(currentTextColor());
    context.drawText(textA, Point(parts.xA, centredTextY(sizeA.height())), fontA);
    context.drawText(textB, Point(parts.xB, centredTextY(sizeB.height())), fontB);
    context.restoreGState();
}

void DateTitleWeekButtonView::drawSeparator(GraphicsContext& context, const Layout& parts) const {
    const double offset = DeviceDependentValues::singlePixelLineOffset();
    const Band area = band();
    const double x = parts.xs + offset;
    context.beginPath();
    context.moveTo(Point(x, area.top + separatorInset + offset));
    context.addLineTo(Point(x, area.bottom - separatorInset - offset));
    context.setStrokeColor(getLineColor());
    context.setLineWidth(DeviceDependentValues::singlePixelLineWidth());
    context.strokePath();
}

AccessibilityDescription DateTitleWeekButtonView::describeAccessibility() const {
    AccessibilityDescription description;
    if (m_week) {
        description.role = AccessibilityRole::Button;
        description.label = weekText() + QStringLiteral(", ") + yearText();
    }
    return description;
}
