#include "ui/weekpicker/WeekPickerArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

namespace {

constexpr double currentDayCircleWidth = 19.0;
constexpr double currentDayCircleHeight = 19.0;

void drawCurrentDayCircle(GraphicsContext& context, Size size, const Color& color) {
    context.setStrokeColor(color);
    context.setLineWidth(1.5);
    context.beginPath();
    context.addEllipseInRect(Rect(0.75, 0.75, size.width() - 1.5, size.height() - 1.5));
    context.strokePath();
}

// A dark blue band with rounded ends, lighter at the top.
void drawSelectedWeekRowBand(GraphicsContext& context, Size size) {
    context.saveGState();
    context.beginPath();
    RoundedRectangle(Rect(0, 0, size.width(), size.height()), 5).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient(
        {{0.0, Color::fromRgb255(84, 112, 160)}, {1.0, Color::fromRgb255(40, 66, 112)}}, Point(0, 0),
        Point(0, size.height()));
    context.restoreGState();
}

} // namespace

void WeekPickerArtwork::registerImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    const Size circle(currentDayCircleWidth, currentDayCircleHeight);
    Artwork::registerImage(QStringLiteral("weekpicker-currentdaycircle"), circle,
                           [](GraphicsContext& context, Size size) {
                               drawCurrentDayCircle(context, size, Color::fromRgb255(200, 40, 40));
                           });
    Artwork::registerImage(
        QStringLiteral("weekpicker-currentdaycircle-white"), circle,
        [](GraphicsContext& context, Size size) { drawCurrentDayCircle(context, size, Color(1, 1, 1)); });
    Artwork::registerImage(QStringLiteral("selected-row"), Size(23, 19), drawSelectedWeekRowBand);
}
