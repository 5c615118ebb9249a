#include "ui/daybox/CalendarBoxView.h"

#include "kit/Artwork.h"
#include "kit/DeviceDependentValues.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"
#include "ui/daybox/DayBoxArtwork.h"

namespace {

const Color borderColor = Color::fromRgb255(152, 152, 152);
const Color cardBackgroundColor = Color::fromRgb255(255, 255, 255);
const Color headerBottomLineColor = Color::fromRgb255(160, 170, 187);
const Color leftTitleColor = Color::fromRgb255(255, 255, 255);
const Color rightTitleColor = Color::fromRgb255(108, 111, 115);
const Gradient headerGradient(Color::fromRgb255(231, 234, 240), Color::fromRgb255(211, 218, 227));
const Gradient headerGradient1(Color::fromRgb255(143, 153, 166), Color::fromRgb255(111, 127, 146));
const Gradient headerGradient2(Color::fromRgb255(104, 120, 141), Color::fromRgb255(87, 104, 130));
const Gradient backgroundGradient(Color::fromRgb255(255, 255, 255), Color::fromRgb255(226, 226, 226));

RoundedRectangle cardShape(const Rect& rect) {
    const double inset = DeviceDependentValues::singlePixelLineOffset();
    return RoundedRectangle::rectangleWithRect(rect.inset(inset, inset), DayBoxArtwork::cornerRadius);
}

// Paints the gradient over the band from `top` to `bottom` of the card's shape.
void paintBand(GraphicsContext& context, const RoundedRectangle& shape, const Gradient& gradient,
               const Rect& rect, double top, double bottom) {
    context.saveGState();
    context.clipToRect(Rect(rect.x(), top, rect.width(), bottom - top));
    shape.applyGradient(context, gradient, Point(rect.midX(), top), Point(rect.midX(), bottom));
    context.restoreGState();
}

} // namespace

CalendarBoxView::CalendarBoxView(const Rect& frame) : View(frame) {}

void CalendarBoxView::setLeftTitle(const QString& title) {
    m_leftTitle = title;
    setNeedsDisplay();
}

void CalendarBoxView::setRightTitle(const QString& title) {
    m_rightTitle = title;
    setNeedsDisplay();
}

void CalendarBoxView::setPermanentlyHighlighted(bool highlighted) {
    m_permanentlyHighlighted = highlighted;
    setNeedsDisplay();
}

void CalendarBoxView::setSize(int size) {
    m_size = size;
    setNeedsDisplay();
}

void CalendarBoxView::setHideBorders(bool hide) {
    if (m_hideBorders != hide) {
        m_hideBorders = hide;
        setNeedsDisplay();
    }
}

Font CalendarBoxView::eventFont() const {
    return Font::boldSystemFontOfSize(14);
}

Font CalendarBoxView::miniTitleFont() {
    return Font::boldSystemFontOfSize(10);
}

double CalendarBoxView::getHeaderHeight() const {
    return isMini() ? 14.0 : headerHeight();
}

void CalendarBoxView::drawFixedContentOnSuperView(GraphicsContext& context) {
    drawFixedContentInRect(context, frame());
    m_fixedContentDrawn = true;
    setNeedsDisplay();
}

void CalendarBoxView::drawRect(GraphicsContext& context, const Rect&) {
    if (!m_fixedContentDrawn) {
        layDown(context, CardLayer::Card);
    }
    if (m_permanentlyHighlighted) {
        layDown(context, CardLayer::Today);
    }
    drawTitles(context);
}

// Every card of a size looks the same until its titles: its static layers are drawn once as
// artwork and then laid down, unless the artwork would not land pixel for pixel (a card off the
// device's pixel grid, another scale), where they are drawn as they are.
void CalendarBoxView::layDown(GraphicsContext& context, CardLayer layer) const {
    const Rect area = bounds();
    const double headerHeight = getHeaderHeight();
    const bool hideBorders = m_hideBorders;
    const auto draw = [layer, headerHeight, hideBorders](GraphicsContext& into, const Rect& rect) {
        if (layer == CardLayer::Card) {
            drawCard(into, rect, headerHeight, hideBorders);
        } else {
            drawToday(into, rect, headerHeight, hideBorders);
        }
    };
    const QString name = QStringLiteral("day-%1-%2x%3-header-%4-line-%5%6")
                             .arg(layer == CardLayer::Card ? QStringLiteral("card") : QStringLiteral("today"))
                             .arg(area.width())
                             .arg(area.height())
                             .arg(headerHeight)
                             .arg(DeviceDependentValues::singlePixelLineWidth())
                             .arg(hideBorders ? QStringLiteral("-borderless") : QString());
    Artwork::drawThrough(context, name, area, draw);
}

void CalendarBoxView::drawFixedContentInRect(GraphicsContext& context, const Rect& rect) const {
    drawCard(context, rect, getHeaderHeight(), m_hideBorders);
}

void CalendarBoxView::drawCard(GraphicsContext& context, const Rect& rect, double headerHeight,
                               bool hideBorders) {
    const RoundedRectangle shape = cardShape(rect);
    const double headerBottom = rect.y() + headerHeight;
    shape.fill(context, cardBackgroundColor);
    paintBand(context, shape, headerGradient, rect, rect.y(), headerBottom);
    if (!hideBorders) {
        shape.stroke(context, borderColor, DeviceDependentValues::singlePixelLineWidth());
    }
    const double hairline = DeviceDependentValues::singlePixelLineWidth();
    context.saveGState();
    context.setStrokeColor(headerBottomLineColor);
    context.setLineWidth(1.0);
    context.beginPath();
    context.moveTo(Point(rect.x() + hairline, headerBottom - 0.5));
    context.addLineTo(Point(rect.x() + rect.width() - hairline, headerBottom - 0.5));
    context.strokePath();
    context.restoreGState();
}

void CalendarBoxView::drawToday(GraphicsContext& context, const Rect& rect, double headerHeight,
                                bool hideBorders) {
    const RoundedRectangle shape = cardShape(rect);
    const double middle = rect.y() + headerHeight / 2.0;
    const double headerBottom = rect.y() + headerHeight;
    paintBand(context, shape, headerGradient1, rect, rect.y(), middle);
    paintBand(context, shape, headerGradient2, rect, middle, headerBottom);
    paintBand(context, shape, backgroundGradient, rect, headerBottom, rect.maxY());
    if (!hideBorders) {
        shape.stroke(context, borderColor, DeviceDependentValues::singlePixelLineWidth());
    }
}

void CalendarBoxView::drawTitles(GraphicsContext& context) const {
    Font font = getEventFont();
    double y = getTextPositionY();
    if (isMini()) {
        font = miniTitleFont();
        y = DeviceDependentValues::deviceHasRetinaScreen() ? 0.5 : 0.0;
    }
    const Color white = leftTitleColor;
    context.saveGState();
    context.setFillColor(m_permanentlyHighlighted ? white : Color(0, 0, 0, 1));
    context.drawText(m_leftTitle, Point(getHeaderMargin() + 1.0, y), font);
    context.setFillColor(m_permanentlyHighlighted ? white : rightTitleColor);
    const double rightWidth = StringDrawing::sizeWithFont(m_rightTitle, font).width();
    context.drawText(m_rightTitle, Point(bounds().width() - getHeaderMargin() - 1.0 - rightWidth, y), font);
    context.restoreGState();
}
