#include "ui/common/HsbColor.h"

#include <algorithm>

HsbColor::HsbColor(float hueValue, float saturationValue, float brightnessValue)
    : hue(hueValue), saturation(saturationValue), brightness(brightnessValue) {}

HsbColor::HsbColor(const Color& color)
    : hue(static_cast<float>(color.hue())), saturation(static_cast<float>(color.saturation())),
      brightness(static_cast<float>(color.brightness())), rgb(Rgb::rgb(color)) {}

Color HsbColor::color() const {
    return Color::fromHsb(std::clamp(static_cast<double>(hue), 0.0, 1.0),
                          std::clamp(static_cast<double>(saturation), 0.0, 1.0),
                          std::clamp(static_cast<double>(brightness), 0.0, 1.0));
}
