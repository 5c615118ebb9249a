#include "ui/week/DateTitleTextButtonView.h"

#include "kit/DeviceDependentValues.h"
#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"

DateTitleTextButtonView::DateTitleTextButtonView(const Rect& frame) : DateTitleFaceView(frame) {}

void DateTitleTextButtonView::setText(const QString& text) {
    m_text = text;
    setNeedsDisplay();
}

double DateTitleTextButtonView::fontSize() const {
    return fittingBoldFont(m_text).pointSize();
}

void DateTitleTextButtonView::drawRect(GraphicsContext& context, const Rect&) {
    if (m_text.isEmpty()) {
        return;
    }
    const Font font = fittingBoldFont(m_text);
    const Size textSize = StringDrawing::sizeWithFont(m_text, font);
    const double faceWidth = bounds().width();

    if (selected()) {
        const double offset = DeviceDependentValues::singlePixelLineOffset();
        const double offsetX2 = DeviceDependentValues::singlePixelLineOffsetX2();
        const Band area = band();
        const double outlineWidth = textSize.width() + outlineExtraWidth;
        const Rect outline((faceWidth - outlineWidth) / 2.0 + offset, area.top + offset,
                           outlineWidth - offsetX2, area.height() - offsetX2);
        context.beginPath();
        drawRoundedRectPath(context, outline, cornerRadius);
        context.setFillColor(pressedFillColor());
        context.fillPath();
        context.beginPath();
        drawRoundedRectPath(context, outline, cornerRadius);
        context.setStrokeColor(getLineColor());
        context.setLineWidth(DeviceDependentValues::singlePixelLineWidth());
        context.strokePath();
    }

    context.saveGState();
    context.setShadow(getShadowOffset(), 0.0, getTextShadowColor());
    context.setFillColor(currentTextColor());
    context.drawText(m_text, Point((faceWidth - textSize.width()) / 2.0, centredTextY(textSize.height())),
                     font);
    context.restoreGState();
}
