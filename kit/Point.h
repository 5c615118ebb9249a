#pragma once

// A position in points. Components are doubles so that half-point layouts of dense screens
// and the results of transforms stay exact enough to compare.
class Point {
public:
    constexpr Point() = default;
    constexpr Point(double x, double y) : m_x(x), m_y(y) {}

    constexpr double x() const { return m_x; }
    constexpr double y() const { return m_y; }
    constexpr void setX(double x) { m_x = x; }
    constexpr void setY(double y) { m_y = y; }

    constexpr Point offset(double dx, double dy) const { return {m_x + dx, m_y + dy}; }

    constexpr Point operator+(const Point& other) const { return {m_x + other.m_x, m_y + other.m_y}; }
    constexpr Point operator-(const Point& other) const { return {m_x - other.m_x, m_y - other.m_y}; }
    constexpr Point operator*(double factor) const { return {m_x * factor, m_y * factor}; }
    constexpr bool operator==(const Point&) const = default;

private:
    double m_x = 0.0;
    double m_y = 0.0;
};
