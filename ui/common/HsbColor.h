#pragma once

#include "foundation/Color.h"
#include "ui/common/Rgb.h"

// A colour as hue, saturation and brightness (each 0 to 1, single precision), kept apart from
// the platform colour so that sliders can change one component at a time. Both directions of the
// conversion are Color's.
class HsbColor {
public:
    HsbColor() = default;
    HsbColor(float hue, float saturation, float brightness);
    explicit HsbColor(const Color& color);

    float hue = 0.0f;
    float saturation = 0.0f;
    float brightness = 0.0f;
    // The components this colour was made from; zero for a colour made from HSB values.
    Rgb rgb;

    // The platform colour, opaque, with every component clamped into 0..1 first.
    Color color() const;
    HsbColor copy() const { return *this; }
};
