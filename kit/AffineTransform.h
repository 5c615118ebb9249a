#pragma once

#include "kit/Point.h"
#include "kit/Rect.h"
#include "kit/Size.h"

// A 2-D affine transform mapping (x, y) to (a·x + c·y + tx, b·x + d·y + ty). Angles are in
// radians; with y growing downward a positive angle turns clockwise on screen.
class AffineTransform {
public:
    constexpr AffineTransform() = default;
    constexpr AffineTransform(double a, double b, double c, double d, double tx, double ty)
        : m_a(a), m_b(b), m_c(c), m_d(d), m_tx(tx), m_ty(ty) {}

    static constexpr AffineTransform identity() { return {}; }
    static constexpr AffineTransform translation(double tx, double ty) { return {1, 0, 0, 1, tx, ty}; }
    static constexpr AffineTransform scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static AffineTransform rotation(double angle);

    constexpr double a() const { return m_a; }
    constexpr double b() const { return m_b; }
    constexpr double c() const { return m_c; }
    constexpr double d() const { return m_d; }
    constexpr double tx() const { return m_tx; }
    constexpr double ty() const { return m_ty; }

    bool isIdentity() const { return *this == identity(); }
    bool isInvertible() const;

    // This transform followed by `other`.
    AffineTransform concat(const AffineTransform& other) const;
    // The three below apply their operation before this transform, so that
    // `t.translated(x, y)` maps a point moved by (x, y) through `t`.
    AffineTransform translated(double tx, double ty) const;
    AffineTransform scaled(double sx, double sy) const;
    AffineTransform rotated(double angle) const;
    // The inverse, or this transform unchanged when it cannot be inverted.
    AffineTransform inverted() const;

    Point apply(Point point) const;
    // Sizes are vectors: the translation does not move them.
    Size apply(Size size) const;
    // The smallest rectangle holding the four transformed corners.
    Rect apply(const Rect& rect) const;

    constexpr bool operator==(const AffineTransform&) const = default;

private:
    double m_a = 1.0;
    double m_b = 0.0;
    double m_c = 0.0;
    double m_d = 1.0;
    double m_tx = 0.0;
    double m_ty = 0.0;
};
