#include "ui/search/SearchArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

namespace {

const Color searchBarTopColor = Color::fromRgb255(150, 160, 175);
const Color searchBarBottomColor = Color::fromRgb255(96, 108, 128);

void fillSearchGradient(GraphicsContext& context, const Rect& rect, double radius, const Color& top,
                        const Color& bottom) {
    context.saveGState();
    context.beginPath();
    RoundedRectangle(rect, radius).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0, top}, {1, bottom}}, Point(0, rect.minY()), Point(0, rect.maxY()));
    context.restoreGState();
}

void drawSearchStrip(GraphicsContext& context, Size size) {
    fillSearchGradient(context, Rect(0, 0, size.width(), size.height()), 0, searchBarTopColor,
                       searchBarBottomColor);
    context.setFillColor(Color::fromRgb255(70, 80, 96));
    context.fillRect(Rect(0, size.height() - 1, size.width(), 1));
}

// The rim rises over the strip with rounded upper corners.
void drawSearchRim(GraphicsContext& context, Size size) {
    fillSearchGradient(context, Rect(0, 0, size.width(), size.height() + 6), 6,
                       Color::fromRgb255(176, 185, 198), searchBarTopColor);
}

void drawSearchArrow(GraphicsContext& context, Size size, bool pointsLeft) {
    fillSearchGradient(context, Rect(4, 6, size.width() - 8, size.height() - 12), 6,
                       Color::fromRgb255(120, 132, 150), Color::fromRgb255(80, 92, 112));
    const double midY = size.height() / 2;
    const double tip = pointsLeft ? 12.0 : size.width() - 12.0;
    const double back = pointsLeft ? size.width() - 14.0 : 14.0;
    context.setFillColor(Color(1, 1, 1));
    context.setShadow(Size(0, -1), 0, Color(0, 0, 0, 0.5));
    context.beginPath();
    context.moveTo(Point(tip, midY));
    context.addLineTo(Point(back, midY - 7));
    context.addLineTo(Point(back, midY + 7));
    context.closePath();
    context.fillPath();
}

void drawSearchInput(GraphicsContext& context, Size size) {
    const Rect field(0.5, 0.5, size.width() - 1, size.height() - 1);
    context.setFillColor(Color(1, 1, 1));
    context.beginPath();
    RoundedRectangle(field, 12).drawRoundedRectPath(context);
    context.fillPath();
    context.setStrokeColor(Color::fromRgb255(64, 72, 86));
    context.setLineWidth(1);
    context.beginPath();
    RoundedRectangle(field, 12).drawRoundedRectPath(context);
    context.strokePath();
}

void drawSearchFieldIcon(GraphicsContext& context, Size) {
    context.setStrokeColor(Color::fromRgb255(120, 120, 120));
    context.setLineWidth(2);
    context.beginPath();
    context.addEllipseInRect(Rect(6, 4, 9, 9));
    context.strokePath();
    context.beginPath();
    context.moveTo(Point(13.5, 11.5));
    context.addLineTo(Point(17, 15));
    context.strokePath();
}

// A yellow marker bubble with a dark rim and a soft shadow, stretched sideways between its caps.
void drawResultHighlight(GraphicsContext& context, Size size) {
    const Rect bubble(2, 2, size.width() - 4, size.height() - 6);
    context.saveGState();
    context.setShadow(Size(0, 2), 4, Color(0, 0, 0, 0.5));
    context.setFillColor(Color::fromRgb255(255, 230, 80));
    context.beginPath();
    RoundedRectangle(bubble, 6).drawRoundedRectPath(context);
    context.fillPath();
    context.restoreGState();
    fillSearchGradient(context, bubble, 6, Color::fromRgb255(255, 246, 160), Color::fromRgb255(250, 212, 40));
    context.setStrokeColor(Color::fromRgb255(180, 140, 0));
    context.setLineWidth(1);
    context.beginPath();
    RoundedRectangle(bubble, 6).drawRoundedRectPath(context);
    context.strokePath();
}

} // namespace

void SearchArtwork::registerImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    Artwork::registerImage(QStringLiteral("search-bg"), Size(320, 30), drawSearchStrip);
    Artwork::registerImage(QStringLiteral("search-input-topbg"), Size(27, 7), drawSearchRim);
    Artwork::registerImage(QStringLiteral("search-button-topbg"), Size(40, 13), drawSearchRim);
    Artwork::registerImage(QStringLiteral("search-button-left"), Size(37, 38),
                           [](GraphicsContext& context, Size size) { drawSearchArrow(context, size, true); });
    Artwork::registerImage(
        QStringLiteral("search-button-right"), Size(37, 38),
        [](GraphicsContext& context, Size size) { drawSearchArrow(context, size, false); });
    Artwork::registerImage(QStringLiteral("search-input"), Size(29, 25), drawSearchInput);
    Artwork::registerImage(QStringLiteral("search-icon"), Size(20, 19), drawSearchFieldIcon);
    Artwork::registerImage(QStringLiteral("search-result-highlight"), Size(17, 38), drawResultHighlight);
}
