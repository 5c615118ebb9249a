#include "ui/calendars/HsbColor.h"

#include <algorithm>

HsbColor::HsbColor(float hueValue, float saturationValue, float brightnessValue)
    : hue(hueValue), saturation(saturationValue), brightness(brightnessValue) {}

HsbColor::HsbColor(const Color& color) : rgb(Rgb::rgb(color)) {
    const float maximum = rgb.maximum;
    const float difference = maximum - rgb.minimum;
    float h = 0.0f;
    if (difference != 0.0f) {
        if (rgb.red == maximum) {
            h = (rgb.green - rgb.blue) / difference;
        } else if (rgb.green == maximum) {
            h = 2.0f + (rgb.blue - rgb.red) / difference;
        } else {
            h = 4.0f + (rgb.red - rgb.green) / difference;
        }
        if (h < 0.0f) {
            h += 6.0f;
        }
    }
    hue = h / 6.0f;
    saturation = maximum > 0.0f ? difference / maximum : 0.0f;
    brightness = maximum;
}

Color HsbColor::color() const {
    return Color::fromHsb(std::clamp(static_cast<double>(hue), 0.0, 1.0),
                          std::clamp(static_cast<double>(saturation), 0.0, 1.0),
                          std::clamp(static_cast<double>(brightness), 0.0, 1.0));
}
