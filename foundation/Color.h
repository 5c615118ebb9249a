#pragma once

#include <QString>

#include <optional>

// A colour of the platform: red, green, blue and alpha, each from 0 to 1. Colours can also be
// made from hue, saturation and brightness (the HSB/HSV model, every component 0..1); the HSB
// accessors are computed back from the stored RGB components.
class Color {
public:
    constexpr Color() = default;
    constexpr Color(double red, double green, double blue, double alpha = 1.0)
        : m_red(red), m_green(green), m_blue(blue), m_alpha(alpha) {}

    // Components from 0 to 255, as colour values are usually written.
    static constexpr Color fromRgb255(double red, double green, double blue, double alpha = 1.0) {
        return Color(red / 255.0, green / 255.0, blue / 255.0, alpha);
    }

    // "#RRGGBB" or "#RRGGBBAA", as colours are written in files and by servers; none for other text.
    static std::optional<Color> fromHexString(const QString& text);

    // A hue of 1 is the same as 0 (red); hues outside 0..1 wrap around the circle.
    static Color fromHsb(double hue, double saturation, double brightness, double alpha = 1.0);

    constexpr double red() const { return m_red; }
    constexpr double green() const { return m_green; }
    constexpr double blue() const { return m_blue; }
    constexpr double alpha() const { return m_alpha; }

    // 0 for greys, where the hue is undefined.
    double hue() const;
    double saturation() const;
    double brightness() const;

    // Each channel multiplied by `factor` and kept within 0..1; the alpha stays.
    Color scaledBy(double factor) const;

    // "#RRGGBB" in capitals; the alpha is left out.
    QString hexString() const;

    constexpr bool operator==(const Color&) const = default;

private:
    double m_red = 0.0;
    double m_green = 0.0;
    double m_blue = 0.0;
    double m_alpha = 0.0;
};
