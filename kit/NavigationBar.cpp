#include "kit/NavigationBar.h"

#include "kit/GraphicsContext.h"

NavigationBar::NavigationBar() : View(Rect(0, 0, 320, height)) {}

void NavigationBar::drawRect(GraphicsContext& context, const Rect&) {
    const Rect area = bounds();
    context.saveGState();
    context.clipToRect(area);
    context.drawLinearGradient({{0.0, Color::fromRgb255(176, 188, 205)},
                                {0.5, Color::fromRgb255(137, 155, 179)},
                                {1.0, Color::fromRgb255(109, 132, 162)}},
                               Point(0, area.minY()), Point(0, area.maxY()));
    context.restoreGState();
    context.setFillColor(Color::fromRgb255(199, 208, 220));
    context.fillRect(Rect(area.minX(), area.minY(), area.width(), 1.0));
    context.setFillColor(Color::fromRgb255(45, 55, 70));
    context.fillRect(Rect(area.minX(), area.maxY() - 1.0, area.width(), 1.0));
}
