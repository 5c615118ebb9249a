#pragma once

#include "kit/Font.h"
#include "kit/LineBreakMode.h"
#include "kit/Size.h"

#include <QString>

// Measuring text as the graphics context draws it: the same font, the same line breaks, sizes
// rounded up to whole points. A width or height of 0 sets no limit.
namespace StringDrawing {

// The text on one line.
Size sizeWithFont(const QString& text, const Font& font);
// The text broken into as many lines as the size's height holds.
Size sizeWithFont(const QString& text, const Font& font, Size constrainedSize, LineBreakMode lineBreakMode);
// The text on one line of at most `width`.
Size sizeWithFont(const QString& text, const Font& font, double width, LineBreakMode lineBreakMode);
// The text on one line of at most `width`, the font shrunk as far as needed but not below
// `minFontSize`; the size used is stored in `actualFontSize` when given. Text still too long at
// the smallest size is broken as the mode says.
Size sizeWithFont(const QString& text, const Font& font, double minFontSize, double* actualFontSize,
                  double width, LineBreakMode lineBreakMode);

// The largest size, from the font's own down to `minFontSize`, at which the text fits `width`
// on one line.
double fittingFontSize(const QString& text, const Font& font, double minFontSize, double width);

} // namespace StringDrawing
