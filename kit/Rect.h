#pragma once

#include "kit/EdgeInsets.h"
#include "kit/Point.h"
#include "kit/Size.h"

#include <algorithm>

// A rectangle given by its origin (the top-left corner, y grows downward) and its size. A
// negative width or height is allowed and read as reaching left or up from the origin; the
// edge accessors and the operations below work on the standardized rectangle.
class Rect {
public:
    constexpr Rect() = default;
    constexpr Rect(Point origin, Size size) : m_origin(origin), m_size(size) {}
    constexpr Rect(double x, double y, double width, double height) : m_origin(x, y), m_size(width, height) {}

    constexpr Point origin() const { return m_origin; }
    constexpr Size size() const { return m_size; }
    constexpr void setOrigin(Point origin) { m_origin = origin; }
    constexpr void setSize(Size size) { m_size = size; }

    constexpr double x() const { return m_origin.x(); }
    constexpr double y() const { return m_origin.y(); }
    constexpr double width() const { return m_size.width(); }
    constexpr double height() const { return m_size.height(); }

    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    Point center() const { return {midX(), midY()}; }

    // The same area with a non-negative width and height.
    Rect standardized() const;
    // True when the rectangle covers no area.
    bool isEmpty() const;

    // The left and top edges belong to the rectangle, the right and bottom edges do not, so
    // that side-by-side rectangles never both contain a point.
    bool contains(Point point) const;
    bool contains(const Rect& other) const;
    // True when the two share some area; touching edges do not count.
    bool intersects(const Rect& other) const;
    // The shared area, or an empty rectangle at the origin when there is none.
    Rect intersection(const Rect& other) const;
    // The smallest rectangle holding both; an empty rectangle does not count.
    Rect united(const Rect& other) const;

    // Shrinks by dx on the left and right and dy on the top and bottom (grows when negative).
    Rect inset(double dx, double dy) const;
    Rect inset(const EdgeInsets& insets) const;
    Rect offset(double dx, double dy) const;
    // The smallest rectangle on whole coordinates that holds this one.
    Rect integral() const;

    constexpr bool operator==(const Rect&) const = default;

private:
    Point m_origin;
    Size m_size;
};

// The smallest rectangle holding the four corners of `rect` after `map` (a point mapping such as
// a transform or a conversion between views).
template <typename Map> Rect boundingBoxOfMappedCorners(const Rect& rect, Map map) {
    const Point corners[] = {map(Point(rect.minX(), rect.minY())), map(Point(rect.maxX(), rect.minY())),
                             map(Point(rect.minX(), rect.maxY())), map(Point(rect.maxX(), rect.maxY()))};
    double left = corners[0].x();
    double right = left;
    double top = corners[0].y();
    double bottom = top;
    for (const Point& corner : corners) {
        left = std::min(left, corner.x());
        right = std::max(right, corner.x());
        top = std::min(top, corner.y());
        bottom = std::max(bottom, corner.y());
    }
    return {left, top, right - left, bottom - top};
}
