#include "ui/daybox/EventRowArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

#include <mutex>

namespace {

// The bar is stretched in its one-point band after the 90-point left cap; the 9 points after
// the band hold its rounded right end.
void drawSelectedRow(GraphicsContext& context, Size size) {
    const Rect bar(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    const RoundedRectangle shape(bar, 5.0);
    context.saveGState();
    shape.clip(context);
    context.drawLinearGradient(
        {{0.0, Color::fromRgb255(96, 152, 238)}, {1.0, Color::fromRgb255(28, 96, 214)}}, Point(0, bar.y()),
        Point(0, bar.y() + bar.height()));
    context.setFillColor(Color(1, 1, 1, 0.3));
    context.fillRect(Rect(bar.x(), bar.y(), bar.width(), 1.0));
    context.restoreGState();
    shape.stroke(context, Color::fromRgb255(20, 70, 170), 1.0);
}

struct CakeColors {
    Color plate;
    Color body;
    Color outline;
    Color icing;
    Color candle;
    Color flame;
};

// A small layer cake with one candle; the age is written on its body by the icon view.
void drawCake(GraphicsContext& context, const CakeColors& colors) {
    context.setFillColor(colors.plate);
    context.beginPath();
    context.addEllipseInRect(Rect(1.5, 16.5, 18, 3));
    context.fillPath();

    const RoundedRectangle body(Rect(3.5, 7.5, 14, 10), 2.0);
    body.strokeFill(context, colors.outline, colors.body, 1.0);
    const RoundedRectangle icing(Rect(3.5, 7.5, 14, 2.5), 1.5);
    icing.fill(context, colors.icing);

    context.setFillColor(colors.candle);
    context.fillRect(Rect(9.75, 3.0, 1.5, 4.5));
    context.setFillColor(colors.flame);
    context.beginPath();
    context.addEllipseInRect(Rect(9.25, 0.0, 2.5, 3.5));
    context.fillPath();
}

void drawBirthday(GraphicsContext& context, Size) {
    drawCake(context, {Color(0, 0, 0, 0.18), Color::fromRgb255(255, 240, 222),
                       Color::fromRgb255(190, 96, 120), Color::fromRgb255(240, 150, 176),
                       Color::fromRgb255(90, 150, 230), Color::fromRgb255(255, 176, 30)});
}

// For the row on its blue selection bar: white lines over a see-through body, so the white age
// with its dark shadow stays readable.
void drawHighlightedBirthday(GraphicsContext& context, Size) {
    drawCake(context, {Color(1, 1, 1, 0.3), Color(1, 1, 1, 0.22), Color(1, 1, 1, 1), Color(1, 1, 1, 0.75),
                       Color(1, 1, 1, 1), Color::fromRgb255(255, 248, 200)});
}

} // namespace

namespace EventRowArtwork {

void registerImages() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        Artwork::registerImage(QStringLiteral("selected-row"), Size(100, 19), drawSelectedRow);
        Artwork::registerImage(QStringLiteral("birthday"), Size(21, 20), drawBirthday);
        Artwork::registerImage(QStringLiteral("highlighted-birthday"), Size(21, 20), drawHighlightedBirthday);
    });
}

} // namespace EventRowArtwork
