#include "kit/TextLayout.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace {

const QString ellipsis = QString(QChar(0x2026));
// Widths are sums of many small advances; a line that fits exactly must not break.
constexpr double tolerance = 1e-6;

struct Glyph {
    int face = 0;
    quint32 index = 0;
    double advance = 0.0;
    qsizetype start = 0;
    qsizetype end = 0;
    bool space = false;
};

// The face and the faces standing in for characters it lacks, looked up once per text: the
// fallbacks in their order, then the colour emoji face. Characters beyond the basic plane are
// emoji or pictographs nearly all, so there the emoji face comes first, to draw them in colour
// rather than as the outlines a text face may have.
struct LayoutFaces {
    explicit LayoutFaces(const Font& font)
        : primary(font.rawFont()), fallbacks(font.fallbackRawFonts()), emoji(font.emojiRawFont()) {}

    const QRawFont& at(int face) const {
        if (face == emojiFace()) {
            return emoji;
        }
        return face == 0 ? primary : fallbacks[static_cast<std::size_t>(face - 1)];
    }

    int faceFor(char32_t codePoint) const {
        if (primary.supportsCharacter(codePoint)) {
            return 0;
        }
        const bool emojiHasIt = emoji.isValid() && emoji.supportsCharacter(codePoint);
        if (emojiHasIt && codePoint > 0xFFFF) {
            return emojiFace();
        }
        for (std::size_t i = 0; i < fallbacks.size(); ++i) {
            if (fallbacks[i].supportsCharacter(codePoint)) {
                return static_cast<int>(i) + 1;
            }
        }
        return emojiHasIt ? emojiFace() : 0;
    }

    int emojiFace() const { return static_cast<int>(fallbacks.size()) + 1; }

    const QRawFont& primary;
    const std::vector<QRawFont>& fallbacks;
    const QRawFont& emoji;
};

// One glyph per code point, each from the first face that has it, with kerned advances within
// each run of one face.
std::vector<Glyph> shape(const QString& text, const Font& font) {
    const LayoutFaces faces(font);
    std::vector<Glyph> glyphs;
    for (qsizetype i = 0; i < text.size();) {
        char32_t codePoint = text[i].unicode();
        qsizetype length = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        Glyph glyph;
        glyph.face = faces.faceFor(codePoint);
        glyph.start = i;
        glyph.end = i + length;
        glyph.space = QChar::isSpace(codePoint);
        glyphs.push_back(glyph);
        i += length;
    }
    for (std::size_t runStart = 0; runStart < glyphs.size();) {
        std::size_t runEnd = runStart;
        while (runEnd < glyphs.size() && glyphs[runEnd].face == glyphs[runStart].face) {
            ++runEnd;
        }
        const QRawFont& raw = faces.at(glyphs[runStart].face);
        const qsizetype runOffset = glyphs[runStart].start;
        QList<quint32> indexes =
            raw.glyphIndexesForString(text.mid(runOffset, glyphs[runEnd - 1].end - runOffset));
        if (indexes.size() != static_cast<qsizetype>(runEnd - runStart)) {
            // Not one glyph per code point: look the characters up one by one.
            indexes.clear();
            for (std::size_t g = runStart; g < runEnd; ++g) {
                const QList<quint32> one =
                    raw.glyphIndexesForString(text.mid(glyphs[g].start, glyphs[g].end - glyphs[g].start));
                indexes.append(one.isEmpty() ? 0 : one.front());
            }
        }
        const QList<QPointF> advances =
            raw.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
        for (std::size_t g = runStart; g < runEnd; ++g) {
            const auto k = static_cast<qsizetype>(g - runStart);
            glyphs[g].index = indexes[k];
            glyphs[g].advance = k < advances.size() ? advances[k].x() : 0.0;
        }
        runStart = runEnd;
    }
    return glyphs;
}

QString trimmedEnd(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace()) {
        --end;
    }
    return text.left(end);
}

QString trimmedStart(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace()) {
        ++start;
    }
    return text.mid(start);
}

// The largest count in [0, limit] for which `fits` holds, given that it holds for 0 or for
// nothing, and fails from some count on.
template <typename Fits> int largestFitting(int limit, Fits fits) {
    int low = 0;
    int high = limit;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (fits(middle)) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

QString truncated(const QString& text, const Font& font, double width, LineBreakMode mode) {
    // Code unit offsets of the glyph boundaries, so that surrogate pairs stay whole.
    std::vector<qsizetype> bounds;
    for (const Glyph& glyph : shape(text, font)) {
        bounds.push_back(glyph.start);
    }
    bounds.push_back(text.size());
    const int count = static_cast<int>(bounds.size()) - 1;
    auto head = [&](int n) { return trimmedEnd(text.left(bounds[static_cast<std::size_t>(n)])); };
    auto tail = [&](int n) { return trimmedStart(text.mid(bounds[static_cast<std::size_t>(count - n)])); };
    auto fits = [&](const QString& candidate) {
        return TextLayout::advance(candidate, font) <= width + tolerance;
    };
    switch (mode) {
    case LineBreakMode::HeadTruncation: {
        const int kept = largestFitting(count, [&](int n) { return fits(ellipsis + tail(n)); });
        return ellipsis + tail(kept);
    }
    case LineBreakMode::MiddleTruncation: {
        auto candidate = [&](int n) { return head((n + 1) / 2) + ellipsis + tail(n / 2); };
        const int kept = largestFitting(count, [&](int n) { return fits(candidate(n)); });
        return candidate(kept);
    }
    default: {
        const int kept = largestFitting(count, [&](int n) { return fits(head(n) + ellipsis); });
        return head(kept) + ellipsis;
    }
    }
}

bool isTruncating(LineBreakMode mode) {
    return mode == LineBreakMode::HeadTruncation || mode == LineBreakMode::TailTruncation ||
           mode == LineBreakMode::MiddleTruncation;
}

} // namespace

TextLayout::TextLayout(const QString& text, const Font& font, double width, int maxLines, LineBreakMode mode)
    : m_font(font), m_mode(mode), m_width(width) {
    if (text.isEmpty()) {
        return;
    }
    const bool limited = width > 0.0;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString& paragraph = paragraphs[p];
        const std::vector<Glyph> glyphs = shape(paragraph, font);
        std::size_t position = 0;
        do {
            const bool lastAllowed = maxLines > 0 && static_cast<int>(m_lines.size()) == maxLines - 1;
            if (lastAllowed && (mode == LineBreakMode::Clip || isTruncating(mode))) {
                // The last line takes the rest of the text, further paragraphs joined to it with
                // spaces.
                QString rest = position < glyphs.size() ? paragraph.mid(glyphs[position].start) : QString();
                for (qsizetype q = p + 1; q < paragraphs.size(); ++q) {
                    rest += QLatin1Char(' ') + paragraphs[q];
                }
                rest = trimmedEnd(rest);
                const double restWidth = advance(rest, font);
                if (!limited || restWidth <= width + tolerance) {
                    m_lines.push_back({rest, restWidth});
                } else if (mode == LineBreakMode::Clip) {
                    m_lines.push_back({rest, limited ? std::min(width, restWidth) : restWidth});
                } else {
                    const QString shortened = truncated(rest, font, limited ? width : restWidth, mode);
                    m_lines.push_back({shortened, advance(shortened, font)});
                }
                return;
            }
            std::size_t end = glyphs.size();
            if (limited) {
                double x = 0.0;
                std::size_t lastBreak = 0;
                for (std::size_t i = position; i < glyphs.size(); ++i) {
                    if (glyphs[i].space) {
                        // Spaces at the end of a line take no room; the line may break after them.
                        lastBreak = i + 1;
                        x += glyphs[i].advance;
                        continue;
                    }
                    if (x + glyphs[i].advance > width + tolerance) {
                        if (mode != LineBreakMode::CharacterWrap && lastBreak > position) {
                            end = lastBreak;
                        } else {
                            end = std::max(i, position + 1);
                        }
                        break;
                    }
                    x += glyphs[i].advance;
                }
            }
            const qsizetype startOffset =
                position < glyphs.size() ? glyphs[position].start : paragraph.size();
            const qsizetype endOffset = end < glyphs.size() ? glyphs[end].start : paragraph.size();
            const QString lineText = trimmedEnd(paragraph.mid(startOffset, endOffset - startOffset));
            m_lines.push_back({lineText, advance(lineText, font)});
            position = end;
            if (maxLines > 0 && static_cast<int>(m_lines.size()) >= maxLines) {
                return;
            }
        } while (position < glyphs.size());
    }
}

Size TextLayout::size() const {
    double widest = 0.0;
    for (const Line& line : m_lines) {
        widest = std::max(widest, line.width);
    }
    const double height = static_cast<double>(m_lines.size()) * m_font.lineHeight();
    return {std::ceil(widest - tolerance), std::ceil(height - tolerance)};
}

void TextLayout::draw(QPainter& painter, const Rect& rect, TextAlignment alignment) const {
    const bool clips = m_mode == LineBreakMode::Clip && m_width > 0.0;
    const bool translucent = painter.opacity() < 1.0;
    if (clips || translucent) {
        painter.save();
    }
    if (translucent) {
        // The same result as the painter's opacity, but glyphs in a translucent pen take the raster
        // engine's direct path, where an opacity sends every glyph through its span blending.
        QColor color = painter.pen().color();
        color.setAlphaF(color.alphaF() * static_cast<float>(painter.opacity()));
        painter.setPen(color);
        painter.setOpacity(1.0);
    }
    if (clips) {
        // Only the width clips; the rectangle may have no height of its own.
        const double height =
            std::max(rect.height(), static_cast<double>(m_lines.size()) * m_font.lineHeight());
        painter.setClipRect(QRectF(rect.x(), rect.y(), m_width, height), Qt::IntersectClip);
    }
    const double lineHeight = m_font.lineHeight();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const Line& line = m_lines[i];
        double x = rect.x();
        const double room = rect.width() - std::min(line.width, m_width > 0.0 ? m_width : line.width);
        if (rect.width() > 0.0 && alignment == TextAlignment::Center) {
            x += room / 2.0;
        } else if (rect.width() > 0.0 && alignment == TextAlignment::Right) {
            x += room;
        }
        const double baseline = rect.y() + static_cast<double>(i) * lineHeight + m_font.ascender();
        drawLine(painter, line.text, m_font, Point(x, baseline));
    }
    if (clips || translucent) {
        painter.restore();
    }
}

double TextLayout::advance(const QString& text, const Font& font) {
    double total = 0.0;
    for (const Glyph& glyph : shape(text, font)) {
        total += glyph.advance;
    }
    return total;
}

void TextLayout::drawLine(QPainter& painter, const QString& text, const Font& font, Point baselineOrigin) {
    const std::vector<Glyph> glyphs = shape(text, font);
    const LayoutFaces faces(font);
    double x = 0.0;
    for (std::size_t runStart = 0; runStart < glyphs.size();) {
        std::size_t runEnd = runStart;
        QList<quint32> indexes;
        QList<QPointF> positions;
        while (runEnd < glyphs.size() && glyphs[runEnd].face == glyphs[runStart].face) {
            indexes.append(glyphs[runEnd].index);
            positions.append(QPointF(x, 0.0));
            x += glyphs[runEnd].advance;
            ++runEnd;
        }
        QGlyphRun run;
        run.setRawFont(faces.at(glyphs[runStart].face));
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(baselineOrigin.x(), baselineOrigin.y()), run);
        runStart = runEnd;
    }
}

int TextLayout::linesFitting(double height, const Font& font) {
    const double lineHeight = font.lineHeight();
    if (lineHeight <= 0.0) {
        return 1;
    }
    return std::max(1, static_cast<int>(std::floor((height + tolerance) / lineHeight)));
}
