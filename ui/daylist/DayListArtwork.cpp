#include "ui/daylist/DayListArtwork.h"

#include "kit/Artwork.h"
#include "kit/Gradient.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"

namespace {

// The shadow fades from a soft dark line below the table to nothing; its 12-point ends taper so
// that the stretched middle does not reach the box's edges.
void drawListBoxShadow(GraphicsContext& context, Size size) {
    context.saveGState();
    context.beginPath();
    context.addRect(Rect(4, 0, size.width() - 8, size.height()));
    context.clip();
    context.drawLinearGradient({{0.0, Color(0, 0, 0, 0.28)}, {1.0, Color(0, 0, 0, 0)}}, Point(0, 0),
                               Point(0, size.height()));
    context.restoreGState();
}

// A raised light button with a green plus at its left end; the 40-point left cap keeps the plus
// whole however wide the button is stretched.
void drawListBoxAddButton(GraphicsContext& context, Size size) {
    const RoundedRectangle face(Rect(0.5, 0.5, size.width() - 1, size.height() - 1), 6);
    face.applyGradient(context, Gradient(Color::fromRgb255(252, 252, 253), Color::fromRgb255(214, 219, 227)),
                       Point(0, 0), Point(0, size.height()));
    face.stroke(context, Color::fromRgb255(124, 134, 150), 1);
    const double centerX = 20.5;
    const double centerY = size.height() / 2;
    context.saveGState();
    context.setFillColor(Color::fromRgb255(62, 150, 60));
    context.addEllipseInRect(Rect(centerX - 10, centerY - 10, 20, 20));
    context.fillPath();
    context.setFillColor(Color(1, 1, 1));
    context.fillRect(Rect(centerX - 6, centerY - 1.5, 12, 3));
    context.fillRect(Rect(centerX - 1.5, centerY - 6, 3, 12));
    context.restoreGState();
}

// A dark disc with a white rim and a white cross.
void drawListBoxCloseButton(GraphicsContext& context, Size size) {
    const Rect disc(3, 3, size.width() - 6, size.height() - 6);
    context.saveGState();
    context.setShadow(Size(0, 1), 2, Color(0, 0, 0, 0.5));
    context.setFillColor(Color::fromRgb255(34, 34, 38));
    context.addEllipseInRect(disc);
    context.fillPath();
    context.restoreGState();
    context.saveGState();
    context.setStrokeColor(Color(1, 1, 1));
    context.setLineWidth(2);
    context.addEllipseInRect(disc);
    context.strokePath();
    const double inset = 7.5;
    context.setLineWidth(2.5);
    context.beginPath();
    context.moveTo(Point(disc.x() + inset, disc.y() + inset));
    context.addLineTo(Point(disc.maxX() - inset, disc.maxY() - inset));
    context.moveTo(Point(disc.maxX() - inset, disc.y() + inset));
    context.addLineTo(Point(disc.x() + inset, disc.maxY() - inset));
    context.strokePath();
    context.restoreGState();
}

} // namespace

namespace DayListArtwork {

void registerImages() {
    static const bool registered = [] {
        Artwork::registerImage(QStringLiteral("listbox-shadow"), Size(25, 6), drawListBoxShadow);
        Artwork::registerImage(QStringLiteral("listbox-add-button"), Size(81, 32), drawListBoxAddButton);
        Artwork::registerImage(QStringLiteral("listbox-close-button"), Size(30, 30), drawListBoxCloseButton);
        return true;
    }();
    (void)registered;
}

} // namespace DayListArtwork
