#pragma once

// Distances inward from the four edges of a rectangle; negative values reach outward.
class EdgeInsets {
public:
    constexpr EdgeInsets() = default;
    constexpr EdgeInsets(double top, double left, double bottom, double right)
        : m_top(top), m_left(left), m_bottom(bottom), m_right(right) {}

    constexpr double top() const { return m_top; }
    constexpr double left() const { return m_left; }
    constexpr double bottom() const { return m_bottom; }
    constexpr double right() const { return m_right; }
    constexpr void setTop(double top) { m_top = top; }
    constexpr void setLeft(double left) { m_left = left; }
    constexpr void setBottom(double bottom) { m_bottom = bottom; }
    constexpr void setRight(double right) { m_right = right; }

    constexpr bool operator==(const EdgeInsets&) const = default;

private:
    double m_top = 0.0;
    double m_left = 0.0;
    double m_bottom = 0.0;
    double m_right = 0.0;
};
