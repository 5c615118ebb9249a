#include "kit/RoundedRectangle.h"

#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"

#include <algorithm>

void RoundedRectangle::drawRoundedRectPath(GraphicsContext& context) const {
    const Rect area = rect.standardized();
    const double r = std::max(0.0, std::min({radius, area.width() / 2.0, area.height() / 2.0}));
    const double minX = area.minX();
    const double midX = area.midX();
    const double maxX = area.maxX();
    const double minY = area.minY();
    const double midY = area.midY();
    const double maxY = area.maxY();
    // A corner is a right angle where it is sharp or where there is nothing to round.
    const auto corner = [&](bool sharp, Point tip, Point next) {
        if (sharp || r <= 0.0) {
            context.addLineTo(tip);
        } else {
            context.addArcToPoint(tip, next, r);
        }
    };
    context.moveTo(Point(minX, midY));
    corner(sharpUpperLeftCorner, Point(minX, minY), Point(midX, minY));
    corner(sharpUpperRightCorner, Point(maxX, minY), Point(maxX, midY));
    corner(sharpLowerRightCorner, Point(maxX, maxY), Point(midX, maxY));
    corner(sharpLowerLeftCorner, Point(minX, maxY), Point(minX, midY));
    context.closePath();
}

void RoundedRectangle::stroke(GraphicsContext& context, const Color& color, double lineWidth) const {
    context.saveGState();
    context.setStrokeColor(color);
    context.setLineWidth(lineWidth);
    context.beginPath();
    drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
}

void RoundedRectangle::fill(GraphicsContext& context, const Color& color) const {
    context.saveGState();
    context.setFillColor(color);
    context.beginPath();
    drawRoundedRectPath(context);
    context.fillPath();
    context.restoreGState();
}

void RoundedRectangle::strokeFill(GraphicsContext& context, const Color& strokeColor, const Color& fillColor,
                                  double lineWidth) const {
    fill(context, fillColor);
    stroke(context, strokeColor, lineWidth);
}

void RoundedRectangle::dash(GraphicsContext& context, const Color& color, double lineWidth,
                            double dashWidth) const {
    context.saveGState();
    context.setStrokeColor(color);
    context.setLineWidth(lineWidth);
    context.setLineDash(0.0, {dashWidth, dashWidth});
    context.beginPath();
    drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
}

void RoundedRectangle::dashPhaseFill(GraphicsContext& context, const Color& color, double phase,
                                     double dashWidth, const Color& fillColor, double lineWidth) const {
    fill(context, fillColor);
    context.saveGState();
    context.setStrokeColor(color);
    context.setLineWidth(lineWidth);
    context.setLineDash(phase, {dashWidth, dashWidth});
    context.beginPath();
    drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
}

void RoundedRectangle::applyGradient(GraphicsContext& context, const Gradient& gradient, Point from,
                                     Point to) const {
    context.saveGState();
    clip(context);
    gradient.applyFrom(context, from, to);
    context.restoreGState();
}

void RoundedRectangle::clip(GraphicsContext& context) const {
    context.beginPath();
    drawRoundedRectPath(context);
    context.clip();
}
