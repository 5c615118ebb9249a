#pragma once

#include "foundation/Color.h"
#include "kit/Point.h"
#include "kit/Rect.h"

class GraphicsContext;
class Gradient;

// A rectangle with rounded corners, any of which can be left sharp, drawn with the context it
// is given. Every rounded rectangle of the kit and the screens is drawn through it.
class RoundedRectangle {
public:
    RoundedRectangle() = default;
    RoundedRectangle(const Rect& rectValue, double radiusValue) : rect(rectValue), radius(radiusValue) {}
    static RoundedRectangle rectangleWithRect(const Rect& rect, double radius) {
        return RoundedRectangle(rect, radius);
    }

    Rect rect;
    double radius = 0.0;
    bool sharpUpperLeftCorner = false;
    bool sharpUpperRightCorner = false;
    bool sharpLowerLeftCorner = false;
    bool sharpLowerRightCorner = false;

    // The drawing operations leave the context's state as they found it.
    void stroke(GraphicsContext& context, const Color& color, double lineWidth) const;
    void fill(GraphicsContext& context, const Color& color) const;
    void strokeFill(GraphicsContext& context, const Color& strokeColor, const Color& fillColor,
                    double lineWidth) const;
    // A dashed outline of dashes and gaps both `dashWidth` long.
    void dash(GraphicsContext& context, const Color& color, double lineWidth, double dashWidth) const;
    // Fills the shape, then outlines it dashed, the pattern starting `phase` points in.
    void dashPhaseFill(GraphicsContext& context, const Color& color, double phase, double dashWidth,
                       const Color& fillColor, double lineWidth) const;
    // Draws the gradient from `from` to `to`, clipped to the shape.
    void applyGradient(GraphicsContext& context, const Gradient& gradient, Point from, Point to) const;
    // Narrows the context's clip to the shape; the caller saves and restores the state.
    void clip(GraphicsContext& context) const;
    // Adds the shape to the context's path as a closed subpath, neither filling nor stroking it:
    // from the middle of the left edge clockwise through the four corners, each an arc of the
    // radius (limited to half the width, then to half the height) or, where sharp, a right angle.
    void drawRoundedRectPath(GraphicsContext& context) const;
};
