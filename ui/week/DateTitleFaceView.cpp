#include "ui/week/DateTitleFaceView.h"

#include "kit/DeviceDependentValues.h"
#include "kit/GraphicsContext.h"
#include "kit/LongPressGestureRecognizer.h"
#include "kit/RoundedRectangle.h"
#include "kit/StringDrawing.h"

#include <cmath>
#include <memory>

namespace {

constexpr double portraitFontSize = 20.0;
constexpr double landscapeFontSize = 19.0;

} // namespace

DateTitleFaceView::DateTitleFaceView(const Rect& frame) : View(frame) {
    setBackgroundColor(std::nullopt);
    auto press = std::make_shared<LongPressGestureRecognizer>();
    press->setMinimumPressDuration(0.0);
    // The recogniser belongs to the face, so it reaches the face through its view rather than
    // holding it.
    press->onAction = [](GestureRecognizer& recognizer) {
        if (const auto face = std::dynamic_pointer_cast<DateTitleFaceView>(recognizer.view())) {
            face->viewTapped(recognizer);
        }
    };
    addGestureRecognizer(press);
}

void DateTitleFaceView::setSelected(bool selected) {
    m_selected = selected;
    setNeedsDisplay();
}

void DateTitleFaceView::setLandscape(bool landscape) {
    m_landscape = landscape;
    setNeedsDisplay();
}

void DateTitleFaceView::viewTapped(GestureRecognizer& recognizer) {
    switch (recognizer.state()) {
    case GestureRecognizer::State::Began:
        setSelected(true);
        break;
    case GestureRecognizer::State::Changed: {
        const double y = recognizer.locationInView(this).y();
        const double limit = 2.0 * bounds().height();
        if (m_selected && y > limit) {
            setSelected(false);
        } else if (!m_selected && y <= limit) {
            setSelected(true);
        }
        break;
    }
    case GestureRecognizer::State::Ended:
        if (m_selected) {
            setSelected(false);
            if (m_onTapped) {
                m_onTapped();
            }
        }
        break;
    default:
        break;
    }
}

Color DateTitleFaceView::getTextColor() const {
    return Color(1, 1, 1);
}

Color DateTitleFaceView::getSelectedTextColor() const {
    return Color::fromRgb255(235, 235, 235);
}

Color DateTitleFaceView::getTextShadowColor() const {
    return Color(0.5, 0.5, 0.5);
}

Size DateTitleFaceView::getTextShadowOffset() const {
    return Size(0, -1);
}

Color DateTitleFaceView::getLineColor() const {
    return Color::fromRgb255(192, 203, 211);
}

Color DateTitleFaceView::pressedFillColor() {
    return Color::fromRgb255(59, 76, 115, 0.2);
}

DateTitleFaceView::Band DateTitleFaceView::band() const {
    return m_landscape ? Band{5.0, 29.0} : Band{2.0, 30.0};
}

void DateTitleFaceView::drawOutline(GraphicsContext& context, double x, double width, bool filled) const {
    const double offset = DeviceDependentValues::singlePixelLineOffset();
    const double offsetX2 = DeviceDependentValues::singlePixelLineOffsetX2();
    const Band area = band();
    const Rect outline(x + offset, area.top + offset, width - offsetX2, area.height() - offsetX2);
    if (filled) {
        context.beginPath();
        RoundedRectangle(outline, cornerRadius).drawRoundedRectPath(context);
        context.setFillColor(pressedFillColor());
        context.fillPath();
    }
    context.beginPath();
    RoundedRectangle(outline, cornerRadius).drawRoundedRectPath(context);
    context.setStrokeColor(getLineColor());
    context.setLineWidth(DeviceDependentValues::singlePixelLineWidth());
    context.strokePath();
}

Font DateTitleFaceView::fittingBoldFont(const QString& text) const {
    const Font font = Font::boldSystemFontOfSize(m_landscape ? landscapeFontSize : portraitFontSize);
    const double width = bounds().width() - horizontalInset;
    return font.fontWithSize(StringDrawing::fittingFontSize(text, font, 0.0, width));
}

double DateTitleFaceView::centredTextY(double textHeight) const {
    const Band area = band();
    const double offset = (area.height() - textHeight) / 2.0;
    const double grid = DeviceDependentValues::deviceHasRetinaScreen() ? 2.0 : 1.0;
    return area.top + std::round(offset * grid) / grid;
}
