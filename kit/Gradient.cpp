#include "kit/Gradient.h"

#include "kit/GraphicsContext.h"

void Gradient::applyFrom(GraphicsContext& context, Point start, Point end) const {
    context.drawLinearGradient({{0.0, fromColor}, {1.0, toColor}}, start, end);
}
