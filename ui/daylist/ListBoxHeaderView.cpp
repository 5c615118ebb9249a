#include "ui/daylist/ListBoxHeaderView.h"

#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

namespace {

constexpr double headerLineY = 26.5;

} // namespace

ListBoxHeaderView::ListBoxHeaderView(const Rect& frame) : View(frame) {
    setBackgroundColor(std::nullopt);
}

void ListBoxHeaderView::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    RoundedRectangle shape(area, cornerRadius);
    shape.sharpLowerLeftCorner = true;
    shape.sharpLowerRightCorner = true;
    shape.applyGradient(context, Gradient(Color::fromRgb255(231, 234, 240), Color::fromRgb255(211, 218, 227)),
                        Point(0, area.y()), Point(0, area.maxY()));
    shape.stroke(context, Color(1, 1, 1), 1);
    context.saveGState();
    context.setStrokeColor(Color::fromRgb255(186, 193, 203));
    context.setLineWidth(1);
    context.beginPath();
    context.moveTo(Point(1, headerLineY));
    context.addLineTo(Point(area.width() - 1, headerLineY));
    context.strokePath();
    context.restoreGState();
}
