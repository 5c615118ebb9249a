#include "kit/Rect.h"

#include <algorithm>
#include <cmath>

double Rect::minX() const {
    return std::min(x(), x() + width());
}

double Rect::midX() const {
    return x() + width() / 2.0;
}

double Rect::maxX() const {
    return std::max(x(), x() + width());
}

double Rect::minY() const {
    return std::min(y(), y() + height());
}

double Rect::midY() const {
    return y() + height() / 2.0;
}

double Rect::maxY() const {
    return std::max(y(), y() + height());
}

Rect Rect::standardized() const {
    return {minX(), minY(), maxX() - minX(), maxY() - minY()};
}

bool Rect::isEmpty() const {
    return width() == 0.0 || height() == 0.0;
}

bool Rect::contains(Point point) const {
    return point.x() >= minX() && point.x() < maxX() && point.y() >= minY() && point.y() < maxY();
}

bool Rect::contains(const Rect& other) const {
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
           other.maxY() <= maxY();
}

bool Rect::intersects(const Rect& other) const {
    return !intersection(other).isEmpty();
}

Rect Rect::intersection(const Rect& other) const {
    const double left = std::max(minX(), other.minX());
    const double right = std::min(maxX(), other.maxX());
    const double top = std::max(minY(), other.minY());
    const double bottom = std::min(maxY(), other.maxY());
    if (left >= right || top >= bottom) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

Rect Rect::united(const Rect& other) const {
    if (isEmpty()) {
        return other.standardized();
    }
    if (other.isEmpty()) {
        return standardized();
    }
    const double left = std::min(minX(), other.minX());
    const double top = std::min(minY(), other.minY());
    return {left, top, std::max(maxX(), other.maxX()) - left, std::max(maxY(), other.maxY()) - top};
}

Rect Rect::inset(double dx, double dy) const {
    const Rect r = standardized();
    return {r.x() + dx, r.y() + dy, r.width() - 2.0 * dx, r.height() - 2.0 * dy};
}

Rect Rect::inset(const EdgeInsets& insets) const {
    const Rect r = standardized();
    return {r.x() + insets.left(), r.y() + insets.top(), r.width() - insets.left() - insets.right(),
            r.height() - insets.top() - insets.bottom()};
}

Rect Rect::offset(double dx, double dy) const {
    return {m_origin.offset(dx, dy), m_size};
}

Rect Rect::integral() const {
    const double left = std::floor(minX());
    const double top = std::floor(minY());
    return {left, top, std::ceil(maxX()) - left, std::ceil(maxY()) - top};
}
