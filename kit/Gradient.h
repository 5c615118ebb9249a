#pragma once

#include "foundation/Color.h"
#include "kit/Point.h"

class GraphicsContext;

// A two-colour linear gradient.
class Gradient {
public:
    Gradient(const Color& from, const Color& to) : fromColor(from), toColor(to) {}
    static Gradient gradientFromColor(const Color& from, const Color& to) { return Gradient(from, to); }

    Color fromColor;
    Color toColor;

    // Draws the gradient from `start` (fromColor) to `end` (toColor) into the context's clip.
    void applyFrom(GraphicsContext& context, Point start, Point end) const;
};
