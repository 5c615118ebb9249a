#include "ui/common/Rgb.h"

#include <algorithm>

Rgb Rgb::rgb(const Color& color) {
    Rgb result;
    result.red = static_cast<float>(color.red());
    result.green = static_cast<float>(color.green());
    result.blue = static_cast<float>(color.blue());
    result.maximum = std::max({0.0f, result.red, result.green, result.blue});
    result.minimum = std::min({1.0f, result.red, result.green, result.blue});
    return result;
}
