#pragma once

// A width and a height in points.
class Size {
public:
    constexpr Size() = default;
    constexpr Size(double width, double height) : m_width(width), m_height(height) {}

    constexpr double width() const { return m_width; }
    constexpr double height() const { return m_height; }
    constexpr void setWidth(double width) { m_width = width; }
    constexpr void setHeight(double height) { m_height = height; }

    constexpr bool isEmpty() const { return m_width <= 0.0 || m_height <= 0.0; }

    constexpr Size operator*(double factor) const { return {m_width * factor, m_height * factor}; }
    constexpr bool operator==(const Size&) const = default;

private:
    double m_width = 0.0;
    double m_height = 0.0;
};
