#include "foundation/Color.h"

#include <algorithm>
#include <cmath>

Color Color::fromHsb(double hue, double saturation, double brightness, double alpha) {
    if (saturation <= 0.0) {
        return Color(brightness, brightness, brightness, alpha);
    }
    const double sector = (hue - std::floor(hue)) * 6.0;
    const double index = std::floor(sector);
    const double fraction = sector - index;
    const double p = brightness * (1.0 - saturation);
    const double q = brightness * (1.0 - saturation * fraction);
    const double t = brightness * (1.0 - saturation * (1.0 - fraction));
    switch (static_cast<int>(index) % 6) {
    case 0:
        return Color(brightness, t, p, alpha);
    case 1:
        return Color(q, brightness, p, alpha);
    case 2:
        return Color(p, brightness, t, alpha);
    case 3:
        return Color(p, q, brightness, alpha);
    case 4:
        return Color(t, p, brightness, alpha);
    default:
        return Color(brightness, p, q, alpha);
    }
}

double Color::hue() const {
    const double max = std::max({m_red, m_green, m_blue});
    const double min = std::min({m_red, m_green, m_blue});
    const double delta = max - min;
    if (delta <= 0.0) {
        return 0.0;
    }
    double sector = 0.0;
    if (max == m_red) {
        sector = (m_green - m_blue) / delta;
    } else if (max == m_green) {
        sector = (m_blue - m_red) / delta + 2.0;
    } else {
        sector = (m_red - m_green) / delta + 4.0;
    }
    double result = sector / 6.0;
    if (result < 0.0) {
        result += 1.0;
    }
    return result;
}

double Color::saturation() const {
    const double max = std::max({m_red, m_green, m_blue});
    const double min = std::min({m_red, m_green, m_blue});
    return max <= 0.0 ? 0.0 : (max - min) / max;
}

double Color::brightness() const {
    return std::max({m_red, m_green, m_blue});
}

Color Color::scaledBy(double factor) const {
    return {std::clamp(m_red * factor, 0.0, 1.0), std::clamp(m_green * factor, 0.0, 1.0),
            std::clamp(m_blue * factor, 0.0, 1.0), m_alpha};
}

std::optional<Color> Color::fromHexString(const QString& text) {
    if (!text.startsWith(QLatin1Char('#')) || (text.size() != 7 && text.size() != 9)) {
        return std::nullopt;
    }
    bool valid = true;
    const auto component = [&](int index) {
        bool ok = false;
        const int value = text.mid(1 + 2 * index, 2).toInt(&ok, 16);
        valid = valid && ok;
        return value / 255.0;
    };
    const Color color(component(0), component(1), component(2), text.size() == 9 ? component(3) : 1.0);
    return valid ? std::optional<Color>(color) : std::nullopt;
}

QString Color::hexString() const {
    const auto hex = [](double component) {
        const int value = static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
        return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
    };
    return QLatin1Char('#') + hex(m_red) + hex(m_green) + hex(m_blue);
}
