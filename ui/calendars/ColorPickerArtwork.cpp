#include "ui/calendars/ColorPickerArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

namespace {

constexpr double trackShadeWidth = 12.0;
constexpr double trackShadeHeight = 13.0;
constexpr double trackShadeRadius = 6.5;
constexpr double speechBalloonRadius = 10.0;
constexpr double speechBalloonArrowHeight = 12.0;
constexpr double speechBalloonArrowHalfWidth = 12.0;

// A glassy shade over a slider's track: darker along the top edge, a light rim, clear in the
// middle so that the colours show.
void drawTrackShade(GraphicsContext& context, Size size) {
    const Rect outline(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
    context.saveGState();
    RoundedRectangle(outline, trackShadeRadius).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient(
        {{0.0, Color(0, 0, 0, 0.35)}, {0.45, Color(0, 0, 0, 0.0)}, {1.0, Color(1, 1, 1, 0.25)}}, Point(0, 0),
        Point(0, size.height()));
    context.restoreGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(Color(0, 0, 0, 0.45));
    RoundedRectangle(outline, trackShadeRadius).drawRoundedRectPath(context);
    context.strokePath();
}

// The pale striped band behind the sample day, with a hairline above and below.
void drawPreviewBackground(GraphicsContext& context, Size size) {
    context.drawLinearGradient(
        {{0.0, Color::fromRgb255(214, 218, 226)}, {1.0, Color::fromRgb255(196, 202, 213)}}, Point(0, 0),
        Point(0, size.height()));
    context.setFillColor(Color::fromRgb255(160, 166, 178));
    context.fillRect(Rect(0, 0, size.width(), 1));
    context.setFillColor(Color(1, 1, 1, 0.7));
    context.fillRect(Rect(0, size.height() - 1, size.width(), 1));
}

// A white rounded panel whose arrow points up at the preview.
void drawSpeechBalloon(GraphicsContext& context, Size size) {
    const Rect body(1, speechBalloonArrowHeight, size.width() - 2,
                    size.height() - speechBalloonArrowHeight - 3);
    const double middle = size.width() / 2.0;
    context.setShadow(Size(0, 1), 3.0, Color(0, 0, 0, 0.35));
    context.setFillColor(Color(1, 1, 1));
    RoundedRectangle(body, speechBalloonRadius).drawRoundedRectPath(context);
    context.fillPath();
    context.beginPath();
    context.moveTo(Point(middle - speechBalloonArrowHalfWidth, body.minY() + 0.5));
    context.addLineTo(Point(middle, 1));
    context.addLineTo(Point(middle + speechBalloonArrowHalfWidth, body.minY() + 0.5));
    context.closePath();
    context.fillPath();
    context.clearShadow();
}

} // namespace

void ColorPickerArtwork::registerImages() {
    static const bool registered = [] {
        Artwork::registerImage(QStringLiteral("colorpicker-trackerbackground"),
                               Size(trackShadeWidth, trackShadeHeight), drawTrackShade);
        Artwork::registerImage(QStringLiteral("colorpicker-previewbackground"), Size(320, 105),
                               drawPreviewBackground);
        Artwork::registerImage(QStringLiteral("colorpicker-speechballoon"), Size(300, 190),
                               drawSpeechBalloon);
        return true;
    }();
    (void)registered;
}
