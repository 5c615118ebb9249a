#pragma once

#include <QString>

#include <memory>
#include <vector>

class QFont;
class QRawFont;

// A typeface at a size in points. The system font, regular and bold, is Liberation Sans, loaded
// from its files so that every machine lays out text alike; the Helvetica family names map to
// it too, as it shares Helvetica's metrics. Metrics are unhinted and in points, so text measures
// the same at every screen scale. Fonts are cheap to copy, and the faces are read on first use,
// so a font may be made before the application object (as a file-level constant, say).
// Measuring and drawing text belong to the main thread, like the rest of kit/.
class Font {
public:
    // The regular system font at 17 points, the size of the platform's labels.
    Font();

    static Font systemFontOfSize(double size);
    static Font boldSystemFontOfSize(double size);
    // "Helvetica", "Helvetica-Bold", "HelveticaNeue", "ArialMT", "LiberationSans-Bold" and the
    // like; any other name logs a warning and gives the system font of the weight the name
    // suggests.
    static Font fontWithName(const QString& name, double size);

    // The same face at another size.
    Font fontWithSize(double size) const;

    QString fontName() const;
    QString familyName() const;
    bool isBold() const;
    double pointSize() const;

    // Distances from the baseline: the ascender is above it (positive), the descender below
    // it (negative, as the platform reports it).
    double ascender() const;
    double descender() const;
    // The extra space the face asks for between lines.
    double leading() const;
    // The distance from one baseline to the next: ascender − descender + leading.
    double lineHeight() const;
    double capHeight() const;
    double xHeight() const;

    bool operator==(const Font& other) const;

    // Kit-internal: the face and the faces that stand in for characters it lacks, at this size
    // in points.
    const QRawFont& rawFont() const;
    const std::vector<QRawFont>& fallbackRawFonts() const;
    // Kit-internal: the colour emoji face at this size, invalid when the system has none.
    const QRawFont& emojiRawFont() const;
    // Kit-internal: the font for Qt's own widgets (the text field's line edit), whose pixels are
    // points; Qt sizes fonts in whole pixels, so the size is rounded.
    QFont qFont() const;

    struct Data;

private:
    Font(bool bold, double size);
    // The faces at this size, made once per process and kept for its whole run.
    const Data& data() const;

    bool m_bold = false;
    double m_size = 17.0;
};
