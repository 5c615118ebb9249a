#include "ui/week/MenuArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

#include <cmath>
#include <numbers>

namespace {

const Color menuIconColor = Color::fromRgb255(62, 68, 78);

// The panel: a dark rounded body with an arrow at the top right pointing up at the actions
// button, and a soft shadow. The arrow lies in the right cap, which stays as drawn when the
// image is stretched to the menu's size.
void drawMenuBackground(GraphicsContext& context, Size size) {
    const Rect body(8, 14, size.width() - 16, size.height() - 24);
    const double arrowTipX = size.width() - 34;
    context.saveGState();
    context.setShadow(Size(0, 3), 6, Color(0, 0, 0, 0.55));
    context.beginPath();
    RoundedRectangle(body, 8).drawRoundedRectPath(context);
    context.moveTo(Point(arrowTipX - 9, body.y() + 0.5));
    context.addLineTo(Point(arrowTipX, 3));
    context.addLineTo(Point(arrowTipX + 9, body.y() + 0.5));
    context.closePath();
    context.setFillColor(Color::fromRgb255(34, 42, 56, 0.94));
    context.fillPath();
    context.restoreGState();
    // A lighter rim along the top edge, as light falling on the panel.
    context.setStrokeColor(Color(1, 1, 1, 0.25));
    context.setLineWidth(1);
    context.beginPath();
    context.moveTo(Point(body.x() + 8, body.y() + 0.5));
    context.addLineTo(Point(arrowTipX - 9, body.y() + 0.5));
    context.addLineTo(Point(arrowTipX, 3.5));
    context.addLineTo(Point(arrowTipX + 9, body.y() + 0.5));
    context.addLineTo(Point(body.maxX() - 8, body.y() + 0.5));
    context.strokePath();
}

void drawMenuButtonFace(GraphicsContext& context, Size size, const Color& top, const Color& bottom,
                        const Color& border) {
    const Rect face(0.5, 0.5, size.width() - 1, size.height() - 1);
    context.saveGState();
    context.beginPath();
    RoundedRectangle(face, 5).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0.0, top}, {1.0, bottom}}, Point(0, 0), Point(0, size.height()));
    context.restoreGState();
    context.setStrokeColor(border);
    context.setLineWidth(1);
    context.beginPath();
    RoundedRectangle(face, 5).drawRoundedRectPath(context);
    context.strokePath();
}

void drawMenuButton(GraphicsContext& context, Size size) {
    drawMenuButtonFace(context, size, Color::fromRgb255(250, 251, 252), Color::fromRgb255(212, 217, 224),
                       Color::fromRgb255(20, 24, 32));
}

void drawMenuButtonHighlight(GraphicsContext& context, Size size) {
    drawMenuButtonFace(context, size, Color::fromRgb255(5, 140, 245), Color::fromRgb255(1, 93, 230),
                       Color::fromRgb255(20, 24, 32));
}

// A page of a wall calendar: a dark band with two rings, and a grid of days.
void drawCalendarIcon(GraphicsContext& context, Size) {
    context.setFillColor(menuIconColor);
    context.beginPath();
    RoundedRectangle(Rect(2, 4, 18, 16), 2).drawRoundedRectPath(context);
    context.fillPath();
    context.setFillColor(Color(1, 1, 1));
    context.fillRect(Rect(3.5, 9, 15, 9.5));
    context.setFillColor(menuIconColor);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            context.fillRect(Rect(5 + column * 3.5, 10.5 + row * 4, 2, 2));
        }
    }
    context.fillRect(Rect(6, 2, 2, 4));
    context.fillRect(Rect(14, 2, 2, 4));
}

// An arrow leaping forward onto a bar: going straight to a week.
void drawJumpIcon(GraphicsContext& context, Size) {
    context.setStrokeColor(menuIconColor);
    context.setLineWidth(2.5);
    context.beginPath();
    context.moveTo(Point(3, 17));
    context.addArcToPoint(Point(9, 4), Point(15, 10), 7);
    context.strokePath();
    context.setFillColor(menuIconColor);
    context.beginPath();
    context.moveTo(Point(11, 5.5));
    context.addLineTo(Point(18, 9.5));
    context.addLineTo(Point(11.5, 13.5));
    context.closePath();
    context.fillPath();
    context.fillRect(Rect(17, 14, 3, 6));
}

void drawMenuSearchIcon(GraphicsContext& context, Size) {
    context.setStrokeColor(menuIconColor);
    context.setLineWidth(2.5);
    context.beginPath();
    context.addEllipseInRect(Rect(3, 3, 11, 11));
    context.strokePath();
    context.setLineWidth(3.5);
    context.beginPath();
    context.moveTo(Point(12.5, 12.5));
    context.addLineTo(Point(19, 19));
    context.strokePath();
}

// A gear: a ring of eight teeth around a hole.
void drawSettingsIcon(GraphicsContext& context, Size size) {
    const Point centre(size.width() / 2, size.height() / 2);
    context.setFillColor(menuIconColor);
    context.beginPath();
    context.addEllipseInRect(Rect(centre.x() - 6.5, centre.y() - 6.5, 13, 13));
    context.fillPath();
    for (int tooth = 0; tooth < 8; ++tooth) {
        const double angle = tooth * std::numbers::pi / 4;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        const auto at = [&](double along, double across) {
            return Point(centre.x() + along * c - across * s, centre.y() + along * s + across * c);
        };
        context.beginPath();
        context.moveTo(at(5, -2));
        context.addLineTo(at(9, -1.5));
        context.addLineTo(at(9, 1.5));
        context.addLineTo(at(5, 2));
        context.closePath();
        context.fillPath();
    }
    context.setFillColor(Color(1, 1, 1));
    context.beginPath();
    context.addEllipseInRect(Rect(centre.x() - 2.5, centre.y() - 2.5, 5, 5));
    context.fillPath();
}

} // namespace

void MenuArtwork::registerImages() {
    if (Artwork::isRegistered(QStringLiteral("menu-bg"))) {
        return;
    }
    Artwork::registerImage(QStringLiteral("menu-bg"), Size(80, 60), drawMenuBackground);
    Artwork::registerImage(QStringLiteral("menu-button"), Size(11, 35), drawMenuButton);
    Artwork::registerImage(QStringLiteral("menu-button-hightlight"), Size(11, 35), drawMenuButtonHighlight);
    Artwork::registerImage(QStringLiteral("menu-calendaricon"), Size(22, 22), drawCalendarIcon);
    Artwork::registerImage(QStringLiteral("menu-jumpicon"), Size(22, 22), drawJumpIcon);
    Artwork::registerImage(QStringLiteral("menu-searchicon"), Size(22, 22), drawMenuSearchIcon);
    Artwork::registerImage(QStringLiteral("menu-settingsicon"), Size(22, 22), drawSettingsIcon);
}
