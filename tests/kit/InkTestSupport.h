#pragma once

#include "kit/Image.h"
#include "kit/Rect.h"

#include <algorithm>
#include <optional>

// The smallest rectangle (in points) holding every pixel with more ink than `minimumAlpha`, or
// nothing for an image without ink.
inline std::optional<Rect> inkedBounds(const Image& image, double minimumAlpha = 0.0) {
    int left = image.pixelWidth();
    int top = image.pixelHeight();
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            if (image.pixelColor(x, y).alpha() > minimumAlpha) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    const double scale = image.scale();
    return Rect(left / scale, top / scale, (right + 1 - left) / scale, (bottom + 1 - top) / scale);
}
