#include "ui/common/DotImage.h"

#include "kit/GraphicsContext.h"
#include "kit/Screen.h"
#include "ui/common/ColorExtensions.h"

Image DotImage::dotImageForColor(const std::optional<Color>& color) {
    const Color fillColor = adjust(color, 0.45);
    const Color rimColor = adjust(color, 0.75);
    return Image::draw(Size(14, 14), Screen::main().scale(), [&](GraphicsContext& context) {
        context.setFillColor(fillColor);
        context.setStrokeColor(rimColor);
        context.setLineWidth(1.0);
        context.beginPath();
        context.addEllipseInRect(Rect(1, 1, 12, 12));
        context.fillPath();
        context.beginPath();
        context.addEllipseInRect(Rect(1, 1, 12, 12));
        context.strokePath();
    });
}

Color DotImage::adjust(const std::optional<Color>& color, double brightness) {
    if (!color) {
        return Color(0.5, 0.5, 0.5);
    }
    return ColorExtensions::adjustBrightness(*color, brightness);
}
