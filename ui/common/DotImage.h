#pragma once

#include "foundation/Color.h"
#include "kit/Image.h"

#include <optional>

// The small coloured dot that stands for a calendar in lists.
class DotImage {
public:
    // 14 by 14 points at the screen's scale: a light disc with a darker rim in the colour.
    static Image dotImageForColor(const std::optional<Color>& color);
    // The colour lightened by the factor (see ColorExtensions::adjustBrightness); without a
    // colour, the platform's grey.
    static Color adjust(const std::optional<Color>& color, double brightness);
};
