#include "ui/common/ColorExtensions.h"

namespace ColorExtensions {

Color rgb255(double red, double green, double blue) {
    return Color::fromRgb255(red, green, blue);
}

Color adjustBrightness(const Color& color, double factor) {
    return Color(1.0 - (1.0 - color.red()) * factor, 1.0 - (1.0 - color.green()) * factor,
                 1.0 - (1.0 - color.blue()) * factor, color.alpha());
}

Color adjustRGBValuesWithFactor(const Color& color, double factor) {
    return Color(color.red() * factor, color.green() * factor, color.blue() * factor, color.alpha());
}

} // namespace ColorExtensions
