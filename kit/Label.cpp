#include "kit/Label.h"

#include "kit/GraphicsContext.h"
#include "kit/StringDrawing.h"

#include <algorithm>

namespace {

// The share of its colour a disabled label's text keeps.
constexpr double disabledOpacity = 0.44;

} // namespace

Label::Label() {
    setUserInteractionEnabled(false);
}

Label::Label(const Rect& frame) : View(frame) {
    setUserInteractionEnabled(false);
}

void Label::setText(const QString& text) {
    if (m_text != text) {
        m_text = text;
        setNeedsDisplay();
    }
}

void Label::setFont(const Font& font) {
    m_font = font;
    setNeedsDisplay();
}

void Label::setTextColor(const Color& color) {
    m_textColor = color;
    setNeedsDisplay();
}

void Label::setHighlightedTextColor(std::optional<Color> color) {
    m_highlightedTextColor = color;
    setNeedsDisplay();
}

void Label::setHighlighted(bool highlighted) {
    if (m_highlighted != highlighted) {
        m_highlighted = highlighted;
        setNeedsDisplay();
    }
}

void Label::setShadowColor(std::optional<Color> color) {
    m_shadowColor = color;
    setNeedsDisplay();
}

void Label::setShadowOffset(Size offset) {
    m_shadowOffset = offset;
    setNeedsDisplay();
}

void Label::setTextAlignment(TextAlignment alignment) {
    m_textAlignment = alignment;
    setNeedsDisplay();
}

void Label::setLineBreakMode(LineBreakMode mode) {
    m_lineBreakMode = mode;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    m_numberOfLines = std::max(lines, 0);
    setNeedsDisplay();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    m_adjustsFontSizeToFitWidth = adjusts;
    setNeedsDisplay();
}

void Label::setMinimumFontSize(double size) {
    m_minimumFontSize = size;
    setNeedsDisplay();
}

void Label::setEnabled(bool enabled) {
    if (m_enabled != enabled) {
        m_enabled = enabled;
        setNeedsDisplay();
    }
}

Font Label::fontForDrawing() const {
    if (!m_adjustsFontSizeToFitWidth || m_numberOfLines != 1) {
        return m_font;
    }
    return m_font.fontWithSize(
        StringDrawing::fittingFontSize(m_text, m_font, m_minimumFontSize, bounds().width()));
}

Size Label::measure(const Font& font, Size limit) const {
    if (m_numberOfLines == 1) {
        return limit.width() > 0.0 ? StringDrawing::sizeWithFont(m_text, font, limit.width(), m_lineBreakMode)
                                   : StringDrawing::sizeWithFont(m_text, font);
    }
    double height = limit.height();
    if (m_numberOfLines > 0) {
        const double linesHeight = m_numberOfLines * font.lineHeight();
        height = height > 0.0 ? std::min(height, linesHeight) : linesHeight;
    }
    return StringDrawing::sizeWithFont(m_text, font, Size(limit.width(), height), m_lineBreakMode);
}

Rect Label::textRectForBounds(const Rect& area) const {
    const Size size = measure(fontForDrawing(), area.size());
    return {area.x(), area.y() + (area.height() - size.height()) / 2.0, area.width(), size.height()};
}

void Label::drawRect(GraphicsContext& context, const Rect& /*rect*/) {
    if (m_text.isEmpty()) {
        return;
    }
    context.saveGState();
    Color color = m_highlighted && m_highlightedTextColor ? *m_highlightedTextColor : m_textColor;
    if (!m_enabled) {
        color = Color(color.red(), color.green(), color.blue(), color.alpha() * disabledOpacity);
    }
    context.setFillColor(color);
    if (m_shadowColor) {
        context.setShadow(m_shadowOffset, 0.0, *m_shadowColor);
    }
    drawTextInRect(context, textRectForBounds(bounds()));
    context.restoreGState();
}

void Label::drawTextInRect(GraphicsContext& context, const Rect& rect) {
    // The rectangle is as high as the measured text, so it holds exactly the measured lines.
    context.drawTextInRect(m_text, rect, fontForDrawing(), m_lineBreakMode, m_textAlignment);
}

Size Label::fittingSize(Size size) const {
    if (m_text.isEmpty()) {
        return {0.0, 0.0};
    }
    if (m_numberOfLines == 1) {
        return StringDrawing::sizeWithFont(m_text, m_font);
    }
    return measure(m_font, Size(size.width(), 0.0));
}

AccessibilityDescription Label::describeAccessibility() const {
    AccessibilityDescription description;
    description.role = AccessibilityRole::StaticText;
    description.label = m_text.simplified();
    description.enabled = m_enabled;
    return description;
}
