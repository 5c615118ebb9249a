#pragma once

#include "kit/Font.h"
#include "kit/LineBreakMode.h"
#include "kit/Point.h"
#include "kit/Rect.h"
#include "kit/Size.h"
#include "kit/TextAlignment.h"

#include <QString>

#include <vector>

class QPainter;

// Kit-internal: text broken into lines, measured and drawn with the same glyphs, so that a
// measured size is exactly the size drawn. Lines break at line feeds and, within `width`, as
// the line break mode says; the last line allowed by `maxLines` takes the rest of the text,
// shortened by the truncating modes and cut off by the clipping mode.
class TextLayout {
public:
    struct Line {
        QString text;
        double width = 0.0;
    };

    // A `width` of 0 or less sets no limit, nor does a `maxLines` of 0.
    TextLayout(const QString& text, const Font& font, double width, int maxLines, LineBreakMode mode);

    const std::vector<Line>& lines() const { return m_lines; }
    const Font& font() const { return m_font; }
    // The widest line and the height of all lines, rounded up to whole points.
    Size size() const;

    // Draws the lines in the painter's pen colour, the top of the first line at the rectangle's
    // top, each aligned within the rectangle's width (at its left edge when it has none).
    void draw(QPainter& painter, const Rect& rect, TextAlignment alignment) const;

    // The advance of the text on one line.
    static double advance(const QString& text, const Font& font);
    // Draws one line with its baseline starting at `baselineOrigin`.
    static void drawLine(QPainter& painter, const QString& text, const Font& font, Point baselineOrigin);
    // The number of whole lines of the font that fit the height, at least one.
    static int linesFitting(double height, const Font& font);

private:
    Font m_font;
    LineBreakMode m_mode;
    double m_width;
    std::vector<Line> m_lines;
};
