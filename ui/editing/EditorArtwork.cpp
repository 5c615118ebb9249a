#include "ui/editing/EditorArtwork.h"

#include "kit/Artwork.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"
#include "ui/editing/EditingArtwork.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double faceWidth = 27.0;
constexpr double faceRadius = 7.0;
constexpr double deleteFaceWidth = 19.0;
constexpr double deleteFaceHeight = 46.0;
constexpr double checkboxSize = 20.0;
constexpr double lidIconWidth = 38.0;
// The lid opens to this angle at the last step.
constexpr double lidOpenDegrees = 42.0;

// A rounded face with a one-point outline and a vertical gradient, as the week screen's boxes
// are drawn: light at the top, a little darker at the bottom, and a white line of light below.
void drawFace(GraphicsContext& context, const Rect& rect, const Color& top, const Color& bottom,
              const Color& outline) {
    const Rect inner = rect.inset(0.5, 0.5);
    context.saveGState();
    context.setShadow(Size(0, 1), 0, Color(1, 1, 1, 0.6));
    context.setFillColor(outline);
    context.beginPath();
    RoundedRectangle(inner.offset(0, -0.5), faceRadius).drawRoundedRectPath(context);
    context.fillPath();
    context.restoreGState();
    context.saveGState();
    context.beginPath();
    RoundedRectangle(inner.inset(1, 1).offset(0, -0.5), faceRadius - 1).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0, top}, {1, bottom}}, Point(0, rect.y()), Point(0, rect.maxY()));
    context.restoreGState();
}

// The text input: white, with the shade of a sunken edge along its top.
void drawInputFace(GraphicsContext& context, Size size) {
    const Rect rect(0, 0, size.width(), size.height() - 1);
    drawFace(context, rect, Color::fromRgb255(255, 255, 255), Color::fromRgb255(255, 255, 255),
             Color::fromRgb255(140, 152, 168));
    context.saveGState();
    context.beginPath();
    RoundedRectangle(rect.inset(1.5, 1.5).offset(0, -0.5), faceRadius - 1).drawRoundedRectPath(context);
    context.clip();
    context.drawLinearGradient({{0, Color(0, 0, 0, 0.16)}, {1, Color(0, 0, 0, 0)}}, Point(0, 1), Point(0, 6));
    context.restoreGState();
}

void drawCheckbox(GraphicsContext& context, Size size, bool checked) {
    const Rect box = Rect(0, 0, size.width(), size.height()).inset(2.5, 2.5);
    context.setFillColor(Color(1, 1, 1));
    context.setStrokeColor(checked ? Color::fromRgb255(20, 50, 110) : Color::fromRgb255(120, 132, 150));
    context.setLineWidth(1.0);
    context.beginPath();
    RoundedRectangle(box, 3).drawRoundedRectPath(context);
    context.fillPath();
    context.beginPath();
    RoundedRectangle(box, 3).drawRoundedRectPath(context);
    context.strokePath();
    if (!checked) {
        return;
    }
    context.setStrokeColor(Color::fromRgb255(22, 88, 212));
    context.setLineWidth(2.5);
    context.beginPath();
    context.moveTo(Point(box.x() + 3, box.y() + box.height() * 0.55));
    context.addLineTo(Point(box.x() + box.width() * 0.42, box.maxY() - 3.5));
    context.addLineTo(Point(box.maxX() - 2.5, box.y() + 3));
    context.strokePath();
}

// A grey button with a waste bin whose lid opens further with every step.
void drawLidStep(GraphicsContext& context, Size size, int step) {
    context.drawImage(Artwork::imageNamed(QStringLiteral("edit-button-bg")).stretchableImage(13, 17),
                      Rect(0, 0, size.width(), size.height()));
    const Color ink = Color::fromRgb255(72, 84, 102);
    const double cx = size.width() / 2;
    const Rect bin(cx - 6.5, 14, 13, 14);
    context.setFillColor(ink);
    context.beginPath();
    context.moveTo(Point(bin.x(), bin.y()));
    context.addLineTo(Point(bin.maxX(), bin.y()));
    context.addLineTo(Point(bin.maxX() - 1.5, bin.maxY()));
    context.addLineTo(Point(bin.x() + 1.5, bin.maxY()));
    context.closePath();
    context.fillPath();
    context.setFillColor(Color(1, 1, 1, 0.8));
    for (int line = 0; line < 3; ++line) {
        context.fillRect(Rect(bin.x() + 3.2 + line * 2.6, bin.y() + 2.5, 1.0, bin.height() - 5));
    }
    // The lid turns about its right end.
    const double angle =
        -lidOpenDegrees * std::numbers::pi / 180.0 * (step - 1) / (EditorArtwork::lidSteps - 1);
    context.saveGState();
    context.translateCTM(bin.maxX() + 1, bin.y() - 1.5);
    context.rotateCTM(angle);
    context.setFillColor(ink);
    context.fillRect(Rect(-16, -2, 16, 2.5));
    context.fillRect(Rect(-10.5, -4.5, 5, 2.5));
    context.restoreGState();
}

void drawDeleteRowFace(GraphicsContext& context, Size size) {
    drawFace(context, Rect(0, 0, size.width(), size.height() - 1), Color::fromRgb255(232, 86, 80),
             Color::fromRgb255(190, 22, 20), Color::fromRgb255(120, 20, 18));
}

} // namespace

void EditorArtwork::registerImages() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    EditingArtwork::registerImages();
    Artwork::registerImage(QStringLiteral("edit-input-bg"), Size(faceWidth, faceHeight), drawInputFace);
    Artwork::registerImage(QStringLiteral("edit-checkbox"), Size(checkboxSize, checkboxSize),
                           [](GraphicsContext& context, Size size) { drawCheckbox(context, size, false); });
    Artwork::registerImage(QStringLiteral("edit-checkbox-selected"), Size(checkboxSize, checkboxSize),
                           [](GraphicsContext& context, Size size) { drawCheckbox(context, size, true); });
    for (int step = 1; step <= lidSteps; ++step) {
        Artwork::registerImage(
            QStringLiteral("edit-delete-icon-step%1").arg(step), Size(lidIconWidth, faceHeight),
            [step](GraphicsContext& context, Size size) { drawLidStep(context, size, step); });
    }
    Artwork::registerImage(QStringLiteral("delete-button"), Size(deleteFaceWidth, deleteFaceHeight),
                           drawDeleteRowFace);
}
