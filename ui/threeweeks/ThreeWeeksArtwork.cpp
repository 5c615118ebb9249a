#include "ui/threeweeks/ThreeWeeksArtwork.h"

#include "kit/Artwork.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

namespace {

constexpr double miniCornerRadius = 3.0;

// The pressed look of the week page's day boxes, at the mini day's size.
const Gradient miniPressedHeaderGradient(Color::fromRgb255(99, 146, 222), Color::fromRgb255(45, 94, 190));
const Gradient miniPressedBodyGradient(Color::fromRgb255(222, 233, 250), Color::fromRgb255(196, 213, 241));
const Color miniPressedOutline = Color::fromRgb255(38, 78, 158);

void drawMiniBlockHeader(GraphicsContext& context, Size size) {
    RoundedRectangle shape(Rect(0.5, 0.5, size.width() - 1.0, size.height()), miniCornerRadius);
    shape.sharpLowerLeftCorner = true;
    shape.sharpLowerRightCorner = true;
    shape.applyGradient(context, miniPressedHeaderGradient, Point(0, 0), Point(0, size.height()));
    shape.stroke(context, miniPressedOutline, 1.0);
}

void drawMiniBlockBody(GraphicsContext& context, Size size) {
    RoundedRectangle shape(Rect(0.5, -0.5, size.width() - 1.0, size.height()), miniCornerRadius);
    shape.sharpUpperLeftCorner = true;
    shape.sharpUpperRightCorner = true;
    shape.applyGradient(context, miniPressedBodyGradient, Point(0, 0), Point(0, size.height()));
    shape.stroke(context, miniPressedOutline, 1.0);
}

// A cake of two layers with one candle, small enough for a 12-point line.
void drawMiniBirthday(GraphicsContext& context, Size) {
    const RoundedRectangle body(Rect(1.5, 4.5, 8, 5), 1.0);
    body.strokeFill(context, Color::fromRgb255(190, 96, 120), Color::fromRgb255(255, 240, 222), 1.0);
    context.setFillColor(Color::fromRgb255(240, 150, 176));
    context.fillRect(Rect(2, 5, 7, 1.5));
    context.setFillColor(Color::fromRgb255(90, 150, 230));
    context.fillRect(Rect(5, 2, 1, 2.5));
    context.setFillColor(Color::fromRgb255(255, 176, 30));
    context.beginPath();
    context.addEllipseInRect(Rect(4.75, 0, 1.5, 2));
    context.fillPath();
}

// Three dots in a row, as on the day box's more button.
void drawMiniMoreIcon(GraphicsContext& context, Size size, const Color& color) {
    context.setFillColor(color);
    const double dot = 2.0;
    const double gap = 1.0;
    const double y = (size.height() - dot) / 2.0;
    for (int i = 0; i < 3; ++i) {
        context.addEllipseInRect(Rect(0.5 + i * (dot + gap), y, dot, dot));
    }
    context.fillPath();
}

} // namespace

namespace ThreeWeeksArtwork {

void registerImages() {
    static const bool registered = [] {
        const Size card(miniCardWidth, miniCardHeight - miniHeaderHeight);
        const Size weekendCard(miniCardWidth, miniWeekendCardHeight - miniHeaderHeight);
        Artwork::registerImage(QStringLiteral("mini-block-header"), Size(miniCardWidth, miniHeaderHeight),
                               drawMiniBlockHeader);
        Artwork::registerImage(QStringLiteral("mini-block-selected"), card, drawMiniBlockBody);
        Artwork::registerImage(QStringLiteral("mini-weekend-block-selected"), weekendCard, drawMiniBlockBody);
        Artwork::registerImage(QStringLiteral("mini-birthday"), Size(11, 10), drawMiniBirthday);
        Artwork::registerImage(QStringLiteral("mini-more-icon"), Size(10, 8),
                               [](GraphicsContext& context, Size size) {
                                   drawMiniMoreIcon(context, size, Color::fromRgb255(44, 87, 168));
                               });
        Artwork::registerImage(QStringLiteral("mini-more-icon-today"), Size(10, 8),
                               [](GraphicsContext& context, Size size) {
                                   drawMiniMoreIcon(context, size, Color::fromRgb255(26, 54, 84));
                               });
        Artwork::registerImage(
            QStringLiteral("mini-more-icon-white"), Size(10, 8),
            [](GraphicsContext& context, Size size) { drawMiniMoreIcon(context, size, Color(1, 1, 1)); });
        return true;
    }();
    (void)registered;
}

} // namespace ThreeWeeksArtwork
