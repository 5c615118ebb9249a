#pragma once

#include "foundation/Color.h"

// The red, green and blue components of a colour in single precision, with their largest and
// smallest value.
struct Rgb {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    // The largest component, never below 0.
    float maximum = 0.0f;
    // The smallest component, never above 1.
    float minimum = 1.0f;

    static Rgb rgb(const Color& color);
};
