#pragma once

#include "foundation/Color.h"
#include "kit/Font.h"
#include "kit/LineBreakMode.h"
#include "kit/TextAlignment.h"
#include "kit/View.h"

#include <QString>

#include <optional>

// A read-only text. The text is centred vertically in the bounds, one line by default; with
// `numberOfLines` 0 it takes as many lines as the height holds. A single-line label can shrink
// its font to fit its width. Like the platform's label it takes no touches by default (they go
// to the view behind it) and fits itself to its text exactly, measured with the font it draws.
class Label : public View {
public:
    Label();
    explicit Label(const Rect& frame);

    const QString& text() const { return m_text; }
    void setText(const QString& text);
    const Font& font() const { return m_font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color);
    // The text colour while highlighted; without one the normal colour stays.
    const std::optional<Color>& highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(std::optional<Color> color);
    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    // A sharp shadow of the text in this colour, moved by the offset; none without a colour.
    const std::optional<Color>& shadowColor() const { return m_shadowColor; }
    void setShadowColor(std::optional<Color> color);
    Size shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(Size offset);
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment);
    LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(LineBreakMode mode);
    // 0 allows any number of lines.
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    // Only for single-line labels: the font shrinks, down to `minimumFontSize`, until the text
    // fits the width.
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumFontSize() const { return m_minimumFontSize; }
    void setMinimumFontSize(double size);
    // A disabled label draws its text faded.
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // The font the text is drawn in at the current width (the shrunk one, if it shrinks).
    Font fontForDrawing() const;
    // Where the text is drawn within `bounds`: the measured text centred vertically, as wide as
    // the bounds.
    Rect textRectForBounds(const Rect& bounds) const;

protected:
    AccessibilityDescription describeAccessibility() const override;
    void drawRect(GraphicsContext& context, const Rect& rect) final;
    // Draws the text into the rectangle with the label's font and colours already set.
    virtual void drawTextInRect(GraphicsContext& context, const Rect& rect);
    Size fittingSize(Size size) const override;

private:
    // The size of the text within `bounds` (a width or height of 0 sets no limit).
    Size measure(const Font& font, Size bounds) const;

    QString m_text;
    Font m_font;
    Color m_textColor{0, 0, 0, 1};
    std::optional<Color> m_highlightedTextColor;
    bool m_highlighted = false;
    std::optional<Color> m_shadowColor;
    Size m_shadowOffset{0, -1};
    TextAlignment m_textAlignment = TextAlignment::Left;
    LineBreakMode m_lineBreakMode = LineBreakMode::TailTruncation;
    int m_numberOfLines = 1;
    bool m_adjustsFontSizeToFitWidth = false;
    double m_minimumFontSize = 0.0;
    bool m_enabled = true;
};
