#include "ui/copymove/CopyMoveArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"

namespace {

// A glossy band in the colour, lighter at the top, with faint diagonal stripes that mark the
// screen as being in a mode of its own, a light edge above and a dark one below.
void drawTopBar(GraphicsContext& context, Size size, const Color& top, const Color& bottom) {
    const Rect bar(0, 0, size.width(), size.height());
    context.drawLinearGradient(
        {{0.0, top}, {0.5, top.scaledBy(0.85)}, {0.5, bottom.scaledBy(1.15)}, {1.0, bottom}}, Point(0, 0),
        Point(0, size.height()));
    context.saveGState();
    context.clipToRect(bar);
    context.setFillColor(Color(1, 1, 1, 0.07));
    const double stripe = 9.0;
    for (double x = -size.height(); x < size.width(); x += 2 * stripe) {
        context.beginPath();
        context.moveTo(Point(x, size.height()));
        context.addLineTo(Point(x + size.height(), 0));
        context.addLineTo(Point(x + size.height() + stripe, 0));
        context.addLineTo(Point(x + stripe, size.height()));
        context.closePath();
        context.fillPath();
    }
    context.restoreGState();
    context.setFillColor(Color(1, 1, 1, 0.45));
    context.fillRect(Rect(0, 0, size.width(), 1));
    context.setFillColor(Color(0, 0, 0, 0.55));
    context.fillRect(Rect(0, size.height() - 1, size.width(), 1));
}

void drawCopyTopBar(GraphicsContext& context, Size size) {
    drawTopBar(context, size, Color::fromRgb255(120, 190, 104), Color::fromRgb255(38, 116, 44));
}

void drawMoveTopBar(GraphicsContext& context, Size size) {
    drawTopBar(context, size, Color::fromRgb255(112, 156, 222), Color::fromRgb255(34, 82, 166));
}

} // namespace

void CopyMoveArtwork::registerImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    Artwork::registerImage(QStringLiteral("copy-top-bar"), Size(320, 30), drawCopyTopBar);
    Artwork::registerImage(QStringLiteral("move-top-bar"), Size(320, 30), drawMoveTopBar);
}
