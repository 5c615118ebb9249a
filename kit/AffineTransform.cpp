#include "kit/AffineTransform.h"

#include <algorithm>
#include <cmath>

AffineTransform AffineTransform::rotation(double angle) {
    const double cosine = std::cos(angle);
    const double sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

bool AffineTransform::isInvertible() const {
    return m_a * m_d - m_b * m_c != 0.0;
}

AffineTransform AffineTransform::concat(const AffineTransform& o) const {
    return {m_a * o.m_a + m_b * o.m_c,
            m_a * o.m_b + m_b * o.m_d,
            m_c * o.m_a + m_d * o.m_c,
            m_c * o.m_b + m_d * o.m_d,
            m_tx * o.m_a + m_ty * o.m_c + o.m_tx,
            m_tx * o.m_b + m_ty * o.m_d + o.m_ty};
}

AffineTransform AffineTransform::translated(double tx, double ty) const {
    return translation(tx, ty).concat(*this);
}

AffineTransform AffineTransform::scaled(double sx, double sy) const {
    return scaling(sx, sy).concat(*this);
}

AffineTransform AffineTransform::rotated(double angle) const {
    return rotation(angle).concat(*this);
}

AffineTransform AffineTransform::inverted() const {
    const double determinant = m_a * m_d - m_b * m_c;
    if (determinant == 0.0) {
        return *this;
    }
    const double a = m_d / determinant;
    const double b = -m_b / determinant;
    const double c = -m_c / determinant;
    const double d = m_a / determinant;
    return {a, b, c, d, -(m_tx * a + m_ty * c), -(m_tx * b + m_ty * d)};
}

Point AffineTransform::apply(Point p) const {
    return {m_a * p.x() + m_c * p.y() + m_tx, m_b * p.x() + m_d * p.y() + m_ty};
}

Size AffineTransform::apply(Size s) const {
    return {m_a * s.width() + m_c * s.height(), m_b * s.width() + m_d * s.height()};
}

Rect AffineTransform::apply(const Rect& rect) const {
    return boundingBoxOfMappedCorners(rect, [this](Point corner) { return apply(corner); });
}
