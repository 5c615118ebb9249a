#include "kit/TableViewCellEditingControl.h"

#include "kit/GraphicsContext.h"

TableViewCellEditingControl::TableViewCellEditingControl(bool insert) : m_insert(insert) {}

void TableViewCellEditingControl::setInsert(bool insert) {
    m_insert = insert;
    setNeedsDisplay();
}

void TableViewCellEditingControl::setConfirming(bool confirming) {
    m_confirming = confirming;
    setNeedsDisplay();
}

void TableViewCellEditingControl::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    const Rect area = bounds();
    const double radius = 10.5;
    const Point centre(area.minX() + 8.0 + radius, area.midY());
    const Rect disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);

    context.saveGState();
    context.setShadow({0, 1}, 2, Color(0, 0, 0, 0.4));
    context.setFillColor(Color(1, 1, 1));
    context.beginPath();
    context.addEllipseInRect(disc);
    context.fillPath();
    context.restoreGState();

    const Rect inner(disc.x() + 2, disc.y() + 2, disc.width() - 4, disc.height() - 4);
    context.saveGState();
    context.beginPath();
    context.addEllipseInRect(inner);
    context.clip();
    if (m_insert) {
        context.drawLinearGradient(
            {{0.0, Color::fromRgb255(112, 214, 92)}, {1.0, Color::fromRgb255(38, 160, 30)}},
            {0, inner.minY()}, {0, inner.maxY()});
    } else {
        context.drawLinearGradient(
            {{0.0, Color::fromRgb255(238, 98, 92)}, {1.0, Color::fromRgb255(196, 22, 18)}}, {0, inner.minY()},
            {0, inner.maxY()});
    }
    context.restoreGState();

    context.setFillColor(Color(1, 1, 1));
    const double bar = 11.0;
    const double thickness = 3.0;
    const Rect horizontal(centre.x() - bar / 2, centre.y() - thickness / 2, bar, thickness);
    const Rect vertical(centre.x() - thickness / 2, centre.y() - bar / 2, thickness, bar);
    if (m_insert) {
        context.fillRect(horizontal);
        context.fillRect(vertical);
    } else {
        context.fillRect(m_confirming ? vertical : horizontal);
    }
}

void TableViewCellEditingControl::touchesBegan(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    m_tracking = true;
}

void TableViewCellEditingControl::touchesEnded(const TouchSet& touches, const TouchEvent& /*event*/) {
    if (!m_tracking) {
        return;
    }
    m_tracking = false;
    if (!touches.empty() && bounds().contains(touches.front()->locationInView(this)) && onTapped) {
        onTapped();
    }
}

void TableViewCellEditingControl::touchesCancelled(const TouchSet& /*touches*/, const TouchEvent& /*event*/) {
    m_tracking = false;
}
