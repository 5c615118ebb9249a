#include "kit/TableViewCellBackgroundView.h"

#include "kit/GraphicsContext.h"
#include "kit/Screen.h"

TableViewCellBackgroundView::TableViewCellBackgroundView(bool grouped, Fill fill)
    : m_grouped(grouped), m_fill(fill) {
    setUserInteractionEnabled(false);
}

void TableViewCellBackgroundView::setGrouped(bool grouped) {
    m_grouped = grouped;
    setNeedsDisplay();
}

void TableViewCellBackgroundView::setPosition(Position position) {
    m_position = position;
    setNeedsDisplay();
}

void TableViewCellBackgroundView::setFill(Fill fill) {
    m_fill = fill;
    setNeedsDisplay();
}

void TableViewCellBackgroundView::setSeparatorColor(const Color& color) {
    m_separatorColor = color;
    setNeedsDisplay();
}

void TableViewCellBackgroundView::addShapePath(GraphicsContext& context, const Rect& rect) const {
    const bool roundTop = m_position == Position::Single || m_position == Position::Top;
    const bool roundBottom = m_position == Position::Single || m_position == Position::Bottom;
    const double radius = std::min(groupCornerRadius, rect.height() / 2.0);
    const double top = roundTop ? radius : 0.0;
    const double bottom = roundBottom ? radius : 0.0;
    context.beginPath();
    context.moveTo({rect.minX(), rect.midY()});
    context.addArcToPoint({rect.minX(), rect.minY()}, {rect.midX(), rect.minY()}, top);
    context.addArcToPoint({rect.maxX(), rect.minY()}, {rect.maxX(), rect.midY()}, top);
    context.addArcToPoint({rect.maxX(), rect.maxY()}, {rect.midX(), rect.maxY()}, bottom);
    context.addArcToPoint({rect.minX(), rect.maxY()}, {rect.minX(), rect.midY()}, bottom);
    context.closePath();
}

void TableViewCellBackgroundView::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    const std::vector<GraphicsContext::GradientStop> blue{{0.0, Color::fromRgb255(5, 140, 245)},
                                                          {1.0, Color::fromRgb255(1, 93, 230)}};
    const std::vector<GraphicsContext::GradientStop> gray{{0.0, Color::fromRgb255(202, 202, 202)},
                                                          {1.0, Color::fromRgb255(160, 160, 160)}};
    if (!m_grouped) {
        if (m_fill == Fill::White) {
            context.setFillColor(Color(1, 1, 1));
            context.fillRect(area);
        } else {
            context.saveGState();
            context.clipToRect(area);
            context.drawLinearGradient(m_fill == Fill::Blue ? blue : gray, {0, area.minY()},
                                       {0, area.maxY()});
            context.restoreGState();
        }
        return;
    }
    // The border runs along the pixel inside the edges so that it is not clipped.
    const double pixel = 1.0 / Screen::main().scale();
    // Rows below the first share their top border with the line of the row above.
    const bool first = m_position == Position::Single || m_position == Position::Top;
    const bool last = m_position == Position::Single || m_position == Position::Bottom;
    const double top = first ? area.y() + pixel / 2 : area.y() - pixel / 2;
    const double bottom = last ? area.maxY() - pixel / 2 : area.maxY();
    const Rect shape(area.x() + pixel / 2, top, area.width() - pixel, bottom - top);
    context.saveGState();
    addShapePath(context, shape);
    context.clip();
    if (m_fill == Fill::White) {
        context.setFillColor(Color(1, 1, 1));
        context.fillRect(area);
    } else {
        context.drawLinearGradient(m_fill == Fill::Blue ? blue : gray, {0, area.minY()}, {0, area.maxY()});
    }
    context.restoreGState();
    addShapePath(context, shape);
    context.setStrokeColor(groupBorderColor());
    context.setLineWidth(pixel);
    context.strokePath();
    if (m_position == Position::Top || m_position == Position::Middle) {
        context.setFillColor(m_separatorColor);
        context.fillRect({area.minX(), area.maxY() - pixel, area.width(), pixel});
    }
}
