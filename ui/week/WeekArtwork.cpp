#include "ui/week/WeekArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

namespace {

constexpr double blur = 9.0;
// Shapes are drawn this far outside the picture and only their shadows are moved into it, so
// that every shape shows blurred and nothing sharp remains.
constexpr double offstage = 2000.0;

// One softened shape: its shadow lands at `rect`.
void softRect(GraphicsContext& context, const Rect& rect, double radius, const Color& color) {
    context.saveGState();
    context.setShadow(Size(offstage, 0), blur, color);
    context.setFillColor(color);
    context.beginPath();
    RoundedRectangle(rect.offset(-offstage, 0), radius).drawRoundedRectPath(context);
    context.fillPath();
    context.restoreGState();
}

// A day box as seen through frosted glass: the white card, its header band and a few event lines.
void softDayBox(GraphicsContext& context, const Rect& box, int rows) {
    softRect(context, box, 4, Color(1, 1, 1));
    softRect(context, Rect(box.x(), box.y(), box.width(), 23), 4, Color::fromRgb255(221, 226, 233));
    for (int row = 0; row < rows; ++row) {
        const double y = box.y() + 28 + row * 22;
        softRect(context, Rect(box.x() + 5, y, 30, 14), 6, Color::fromRgb255(120, 150, 200));
        softRect(context, Rect(box.x() + 42, y + 3, box.width() - 60 - (row % 2) * 25, 8), 3,
                 Color::fromRgb255(170, 170, 175));
    }
}

void drawFuzzyTransition(GraphicsContext& context, Size size) {
    context.setFillColor(Color::fromRgb255(192, 203, 211));
    context.fillRect(Rect(0, 0, size.width(), size.height()));
    const double width = 158.5;
    const double height = 137.5;
    const int rows[] = {3, 2, 4, 1, 3};
    for (int day = 0; day < 5; ++day) {
        const double x = day < 3 ? 1 : 160.5;
        const double y = 1 + (day % 3) * 138.5;
        softDayBox(context, Rect(x, y, width, height), rows[day]);
    }
    softDayBox(context, Rect(160.5, 278, width, 68), 1);
    softDayBox(context, Rect(160.5, 347, width, 68), 0);
}

// The actions button's icon: three lines of a list, white with a dark shadow as bar icons are.
void drawActionsButton(GraphicsContext& context, Size size) {
    for (int line = 0; line < 3; ++line) {
        const Rect bar(3, 4 + line * 6, size.width() - 6, 2.5);
        context.setFillColor(Color(0, 0, 0, 0.45));
        context.fillRect(bar.offset(0, -1));
        context.setFillColor(Color(1, 1, 1));
        context.fillRect(bar);
    }
}

} // namespace

void WeekArtwork::registerImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    Artwork::registerImage(QStringLiteral("fuzzy-transition"), Size(pageWidth, pageHeight),
                           drawFuzzyTransition);
    Artwork::registerImage(QStringLiteral("actions-button"), Size(22, 20), drawActionsButton);
}
