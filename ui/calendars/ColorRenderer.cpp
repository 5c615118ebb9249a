#include "ui/calendars/ColorRenderer.h"

Color HueColorRenderer::colorForValue(float value) const {
    HsbColor color = hsbColor.copy();
    color.hue = value;
    return color.color();
}

Color SaturationColorRenderer::colorForValue(float value) const {
    HsbColor color = hsbColor.copy();
    color.saturation = value;
    return color.color();
}

Color BrightnessColorRenderer::colorForValue(float value) const {
    HsbColor color = hsbColor.copy();
    color.brightness = value;
    return color.color();
}
