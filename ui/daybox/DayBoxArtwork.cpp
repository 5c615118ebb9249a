#include "ui/daybox/DayBoxArtwork.h"

#include "kit/Artwork.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

namespace {

// A left cap of 80 points, the one-point band that stretches and a right cap of 77, so that the
// caps never overlap on the narrowest card (158 points).
constexpr double cardImageWidth = 158.0;

const Gradient pressedHeaderGradient(Color::fromRgb255(99, 146, 222), Color::fromRgb255(45, 94, 190));
const Gradient pressedBodyGradient(Color::fromRgb255(222, 233, 250), Color::fromRgb255(196, 213, 241));
const Gradient selectedRowGradient(Color::fromRgb255(88, 136, 216), Color::fromRgb255(40, 88, 182));
const Color pressedOutline = Color::fromRgb255(38, 78, 158);

void drawBlockHeader(GraphicsContext& context, Size size) {
    RoundedRectangle shape(Rect(0.5, 0.5, size.width() - 1.0, size.height()), DayBoxArtwork::cornerRadius);
    shape.sharpLowerLeftCorner = true;
    shape.sharpLowerRightCorner = true;
    shape.applyGradient(context, pressedHeaderGradient, Point(0, 0), Point(0, size.height()));
    shape.stroke(context, pressedOutline, 1.0);
    // A faint light edge along the top gives the band some depth.
    context.saveGState();
    context.setStrokeColor(Color(1, 1, 1, 0.35));
    context.setLineWidth(1.0);
    context.beginPath();
    context.moveTo(Point(DayBoxArtwork::cornerRadius, 1.5));
    context.addLineTo(Point(size.width() - DayBoxArtwork::cornerRadius, 1.5));
    context.strokePath();
    context.restoreGState();
}

void drawBlockBody(GraphicsContext& context, Size size) {
    RoundedRectangle shape(Rect(0.5, -0.5, size.width() - 1.0, size.height()), DayBoxArtwork::cornerRadius);
    shape.sharpUpperLeftCorner = true;
    shape.sharpUpperRightCorner = true;
    shape.applyGradient(context, pressedBodyGradient, Point(0, 0), Point(0, size.height()));
    shape.stroke(context, pressedOutline, 1.0);
}

// Three dots in a row, the sign that more is hidden.
void drawMoreIcon(GraphicsContext& context, Size size, const Color& color) {
    context.saveGState();
    context.setFillColor(color);
    const double dot = 3.0;
    const double gap = 1.5;
    const double y = (size.height() - dot) / 2.0;
    for (int i = 0; i < 3; ++i) {
        context.addEllipseInRect(Rect(0.5 + i * (dot + gap), y, dot, dot));
    }
    context.fillPath();
    context.restoreGState();
}

void drawMoreSelectedRow(GraphicsContext& context, Size size) {
    const RoundedRectangle shape(Rect(0, 0, size.width(), size.height()), DayBoxArtwork::cornerRadius);
    shape.applyGradient(context, selectedRowGradient, Point(0, 0), Point(0, size.height()));
}

} // namespace

namespace DayBoxArtwork {

void registerImages() {
    static const bool registered = [] {
        Artwork::registerImage(QStringLiteral("block-header"), Size(cardImageWidth, 23), drawBlockHeader);
        Artwork::registerImage(QStringLiteral("block-selected"), Size(cardImageWidth, 114), drawBlockBody);
        Artwork::registerImage(QStringLiteral("weekend-block-selected"), Size(cardImageWidth, 45),
                               drawBlockBody);
        Artwork::registerImage(QStringLiteral("more-icon"), Size(14, 10),
                               [](GraphicsContext& context, Size size) {
                                   drawMoreIcon(context, size, Color::fromRgb255(44, 87, 168));
                               });
        Artwork::registerImage(QStringLiteral("more-icon-today"), Size(14, 10),
                               [](GraphicsContext& context, Size size) {
                                   drawMoreIcon(context, size, Color::fromRgb255(26, 54, 84));
                               });
        Artwork::registerImage(
            QStringLiteral("more-icon-white"), Size(14, 10),
            [](GraphicsContext& context, Size size) { drawMoreIcon(context, size, Color(1, 1, 1)); });
        Artwork::registerImage(QStringLiteral("more-selected-row"), Size(151, 23), drawMoreSelectedRow);
        return true;
    }();
    (void)registered;
}

} // namespace DayBoxArtwork
