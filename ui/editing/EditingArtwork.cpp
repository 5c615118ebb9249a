#include "ui/editing/EditingArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

namespace {

constexpr double fieldRadius = 8.0;
constexpr double balloonRadius = 6.0;
constexpr double arrowWidth = 21.0;
constexpr double arrowHeight = 15.0;
// Where the arrow image is drawn inside the balloon: two points above the body's lower edge.
constexpr double arrowTop = EditingArtwork::balloonBodyHeight - 2.0;

const Color fieldRim = Color::fromRgb255(142, 149, 160);
const Color balloonTop = Color::fromRgb255(96, 98, 106, 0.95);
const Color balloonMiddle = Color::fromRgb255(46, 47, 54, 0.95);
const Color balloonBottom = Color::fromRgb255(26, 27, 32, 0.95);
const Color balloonRim = Color(0, 0, 0, 0.75);

Rect fieldOutline(Size size) {
    return Rect(0.5, 0.5, size.width() - 1.0, size.height() - 2.0);
}

// The white field set into the page: a light edge below it, a grey rim, a faint shade along the
// inside of the top edge.
void drawField(GraphicsContext& context, Size size, const Color& top, const Color& bottom, const Color& rim) {
    const Rect outline = fieldOutline(size);
    context.setLineWidth(1.0);
    context.setStrokeColor(Color(1, 1, 1, 0.7));
    RoundedRectangle(outline.offset(0, 1.0), fieldRadius).drawRoundedRectPath(context);
    context.strokePath();
    context.saveGState();
    RoundedRectangle(outline, fieldRadius).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0.0, top}, {1.0, bottom}}, Point(0, outline.minY()),
                               Point(0, outline.maxY()));
    context.setStrokeColor(Color(0, 0, 0, 0.12));
    context.setLineWidth(2.0);
    RoundedRectangle(outline.offset(0, 1.0), fieldRadius).drawRoundedRectPath(context);
    context.strokePath();
    context.restoreGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(rim);
    RoundedRectangle(outline, fieldRadius).drawRoundedRectPath(context);
    context.strokePath();
}

// The end of the field: white over its inside, fading out towards the middle, with the field's
// rim on top, so that squares scrolling out of the field pass under the rim.
void drawFade(GraphicsContext& context, Size size, bool left) {
    const double reach = 2 * fieldRadius;
    const Rect end = fieldOutline(size);
    const Rect outline = left ? Rect(end.x(), end.y(), end.width() + reach, end.height())
                              : Rect(end.x() - reach, end.y(), end.width() + reach, end.height());
    context.saveGState();
    RoundedRectangle(outline, fieldRadius).drawRoundedRectPath(context);
    context.clip();
    // Below the shade along the top edge, which the field under it draws.
    context.clipToRect(Rect(0, outline.minY() + 2.5, size.width(), size.height()));
    const double opaqueX = left ? outline.minX() : outline.maxX() - reach;
    const double clearX = left ? size.width() : 0.0;
    context.drawLinearGradient(
        {{0.0, Color(1, 1, 1, 1)}, {0.35, Color(1, 1, 1, 0.85)}, {1.0, Color(1, 1, 1, 0)}}, Point(opaqueX, 0),
        Point(clearX, 0));
    context.restoreGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(fieldRim);
    RoundedRectangle(outline, fieldRadius).drawRoundedRectPath(context);
    context.strokePath();
}

// The dark body of the balloon over its top part; the rest stays clear for the arrow.
void drawBalloon(GraphicsContext& context, Size size) {
    const Rect body(0.5, 0.5, size.width() - 1.0, EditingArtwork::balloonBodyHeight - 1.0);
    context.saveGState();
    RoundedRectangle(body, balloonRadius).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient(
        {{0.0, balloonTop}, {0.5, balloonMiddle}, {0.5, balloonBottom}, {1.0, balloonBottom}},
        Point(0, body.minY()), Point(0, body.maxY()));
    // A thin light line along the top, as on the bar buttons.
    context.setFillColor(Color(1, 1, 1, 0.22));
    context.fillRect(Rect(body.x(), body.y() + 0.5, body.width(), 1.0));
    context.restoreGState();
    context.setLineWidth(1.0);
    context.setStrokeColor(balloonRim);
    RoundedRectangle(body, balloonRadius).drawRoundedRectPath(context);
    context.strokePath();
}

// The arrow under the balloon, drawn over the balloon's lower edge: its top rows carry on the
// body's colour and rim, so that body and arrow read as one shape.
void drawBalloonArrow(GraphicsContext& context, Size size) {
    const double bodyEdge = EditingArtwork::balloonBodyHeight - arrowTop - 0.5;
    const double middle = size.width() / 2;
    const double halfBase = size.width() / 2 - 2.0;
    const Point tip(middle, size.height() - 1.0);
    context.setFillColor(balloonBottom);
    context.fillRect(Rect(0, 0, size.width(), bodyEdge));
    context.beginPath();
    context.moveTo(Point(middle - halfBase, bodyEdge - 0.5));
    context.addLineTo(tip);
    context.addLineTo(Point(middle + halfBase, bodyEdge - 0.5));
    context.closePath();
    context.fillPath();
    context.setLineWidth(1.0);
    context.setStrokeColor(balloonRim);
    context.beginPath();
    context.moveTo(Point(0, bodyEdge));
    context.addLineTo(Point(middle - halfBase, bodyEdge));
    context.addLineTo(tip);
    context.addLineTo(Point(middle + halfBase, bodyEdge));
    context.addLineTo(Point(size.width(), bodyEdge));
    context.strokePath();
}

} // namespace

void EditingArtwork::registerImages() {
    static const bool registered = [] {
        const Size field(fieldWidth, fieldHeight);
        Artwork::registerImage(
            QStringLiteral("edit-button-bg"), field, [](GraphicsContext& context, Size size) {
                drawField(context, size, Color(1, 1, 1), Color::fromRgb255(250, 250, 251), fieldRim);
            });
        Artwork::registerImage(QStringLiteral("edit-button-bg-selected"), field,
                               [](GraphicsContext& context, Size size) {
                                   drawField(context, size, Color::fromRgb255(58, 142, 240),
                                             Color::fromRgb255(12, 88, 222), Color::fromRgb255(20, 60, 140));
                               });
        Artwork::registerImage(QStringLiteral("calendar-picker-fade-left"), Size(40, fieldHeight),
                               [](GraphicsContext& context, Size size) { drawFade(context, size, true); });
        Artwork::registerImage(QStringLiteral("calendar-picker-fade-right"), Size(40, fieldHeight),
                               [](GraphicsContext& context, Size size) { drawFade(context, size, false); });
        Artwork::registerImage(QStringLiteral("balloon"), Size(19, 53), drawBalloon);
        Artwork::registerImage(QStringLiteral("balloon-arrow"), Size(arrowWidth, arrowHeight),
                               drawBalloonArrow);
        return true;
    }();
    (void)registered;
}
