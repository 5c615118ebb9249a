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
        const double outlineWidth = textSize.width() + outlineExtraWidth;
        drawOutline(context, (faceWidth - outlineWidth) / 2.0, outlineWidth, true);
    }

    context.saveGState();
    context.setShadow(getShadowOffset(), 0.0, getTextShadowColor());
    context.setFillColor(currentTextColor());
    context.drawText(m_text, Point((faceWidth - textSize.width()) / 2.0, centredTextY(textSize.height())),
                     font);
    context.restoreGState();
}
