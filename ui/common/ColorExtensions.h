#pragma once

#include "foundation/Color.h"

// Colour arithmetic shared by the calendar colour drawings.
namespace ColorExtensions {

// Red, green and blue from 0 to 255, opaque.
Color rgb255(double red, double green, double blue);
// Each of red, green and blue becomes 1 - (1 - c) * factor, so a factor below 1 lightens the
// colour towards white; alpha stays.
Color adjustBrightness(const Color& color, double factor);
// Red, green and blue multiplied by the factor; alpha stays.
Color adjustRGBValuesWithFactor(const Color& color, double factor);

} // namespace ColorExtensions
