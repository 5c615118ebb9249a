#include "kit/StringDrawing.h"

#include "kit/TextLayout.h"

#include <algorithm>

namespace StringDrawing {

Size sizeWithFont(const QString& text, const Font& font) {
    return TextLayout(text, font, 0.0, 1, LineBreakMode::Clip).size();
}

Size sizeWithFont(const QString& text, const Font& font, Size constrainedSize, LineBreakMode lineBreakMode) {
    const int maxLines =
        constrainedSize.height() > 0.0 ? TextLayout::linesFitting(constrainedSize.height(), font) : 0;
    return TextLayout(text, font, constrainedSize.width(), maxLines, lineBreakMode).size();
}

Size sizeWithFont(const QString& text, const Font& font, double width, LineBreakMode lineBreakMode) {
    return TextLayout(text, font, width, 1, lineBreakMode).size();
}

Size sizeWithFont(const QString& text, const Font& font, double minFontSize, double* actualFontSize,
                  double width, LineBreakMode lineBreakMode) {
    const double size = fittingFontSize(text, font, minFontSize, width);
    if (actualFontSize != nullptr) {
        *actualFontSize = size;
    }
    return TextLayout(text, font.fontWithSize(size), width, 1, lineBreakMode).size();
}

double fittingFontSize(const QString& text, const Font& font, double minFontSize, double width) {
    const double full = TextLayout::advance(text, font);
    if (width <= 0.0 || full <= width) {
        return font.pointSize();
    }
    // Unhinted advances grow in proportion to the size, so the proportional size nearly fits;
    // small steps down absorb the rounding.
    const double floor = std::max(minFontSize, 0.5);
    if (floor >= font.pointSize()) {
        return font.pointSize();
    }
    double size = font.pointSize() * width / full;
    for (int step = 0; step < 100 && size > floor; ++step) {
        if (TextLayout::advance(text, font.fontWithSize(size)) <= width) {
            break;
        }
        size *= 0.999;
    }
    return std::clamp(size, floor, font.pointSize());
}

} // namespace StringDrawing
