#include "kit/Font.h"
#include "kit/GraphicsContext.h"
#include "kit/Image.h"
#include "kit/StringDrawing.h"
#include "kit/TextLayout.h"

#include "InkTestSupport.h"
#include "SamplePictures.h"
#include "kit/DrawingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Made before the application object exists, as screens' shared fonts are.
const Font earlyFont = Font::boldSystemFontOfSize(14);

Image drawnText(const QString& text, const Font& font, double scale, Size size = Size(300, 60)) {
    return Image::draw(size, scale, [&](GraphicsContext& context) {
        context.setFillColor(black);
        context.drawText(text, Point(10, 10), font);
    });
}

} // namespace

TEST(FontTest, HelveticaNamesMapToLiberationSans) {
    const Font bold = Font::fontWithName("Helvetica-Bold", 14);
    EXPECT_EQ(bold.familyName(), "Liberation Sans");
    EXPECT_TRUE(bold.isBold());
    EXPECT_EQ(bold.fontName(), "LiberationSans-Bold");
    EXPECT_EQ(bold, Font::boldSystemFontOfSize(14));
    const Font regular = Font::fontWithName("Helvetica", 12);
    EXPECT_FALSE(regular.isBold());
    EXPECT_EQ(regular, Font::systemFontOfSize(12));
    EXPECT_EQ(regular.pointSize(), 12.0);
    EXPECT_EQ(Font().pointSize(), 17.0);
    EXPECT_EQ(regular.fontWithSize(9).pointSize(), 9.0);
}

TEST(FontTest, FontsMadeBeforeTheApplicationWork) {
    EXPECT_EQ(earlyFont.familyName(), "Liberation Sans");
    EXPECT_GT(StringDrawing::sizeWithFont("Monday", earlyFont).width(), 40.0);
}

TEST(FontTest, MetricsGrowWithTheSizeAndDescendBelowTheBaseline) {
    const Font small = Font::systemFontOfSize(10);
    const Font large = Font::systemFontOfSize(20);
    // Liberation Sans: ascent 0.905 em, descent 0.212 em, line gap 0.033 em.
    EXPECT_NEAR(small.ascender(), 9.05, 0.01);
    EXPECT_NEAR(small.descender(), -2.12, 0.01);
    EXPECT_NEAR(small.lineHeight(), small.ascender() - small.descender() + small.leading(), 1e-9);
    EXPECT_NEAR(large.lineHeight(), 2.0 * small.lineHeight(), 1e-6);
    EXPECT_GT(small.capHeight(), 6.0);
    EXPECT_LT(small.capHeight(), small.ascender());
}

TEST(TextMeasureTest, BoldTextIsWiderAndSizesAreWholePoints) {
    const Size regular = StringDrawing::sizeWithFont("Week 12", Font::systemFontOfSize(17));
    const Size bold = StringDrawing::sizeWithFont("Week 12", Font::boldSystemFontOfSize(17));
    EXPECT_GT(bold.width(), regular.width());
    EXPECT_EQ(regular.width(), std::ceil(regular.width()));
    EXPECT_EQ(regular.height(), std::ceil(Font::systemFontOfSize(17).lineHeight()));
    EXPECT_EQ(StringDrawing::sizeWithFont("", Font()), Size(0, 0));
}

TEST(TextMeasureTest, MeasuredWidthMatchesTheInkAtEveryScale) {
    const Font font = Font::boldSystemFontOfSize(20);
    const QString text = "HIJ Week 48";
    const Size measured = StringDrawing::sizeWithFont(text, font);
    for (const double scale : {1.0, 2.0}) {
        const std::optional<Rect> ink = inkedBounds(drawnText(text, font, scale));
        ASSERT_TRUE(ink.has_value());
        // The ink of "H" starts just after the pen position and that of "8" ends just before the
        // advance; side bearings are small.
        EXPECT_NEAR(ink->x(), 10.0, 2.0) << scale;
        EXPECT_NEAR(ink->maxX(), 10.0 + measured.width(), 2.5) << scale;
        EXPECT_LE(ink->maxX(), 10.0 + measured.width() + 0.5) << scale;
        // Capitals stand on the baseline, the ascender below the top of the line box.
        EXPECT_NEAR(ink->maxY(), 10.0 + font.ascender(), 1.0) << scale;
        EXPECT_GE(ink->y(), 10.0) << scale;
    }
}

TEST(TextMeasureTest, TextMeasuresTheSameAtScaleOneAndTwo) {
    const Font font = Font::systemFontOfSize(13);
    const std::optional<Rect> one = inkedBounds(drawnText("Meeting with Anna", font, 1.0));
    const std::optional<Rect> two = inkedBounds(drawnText("Meeting with Anna", font, 2.0));
    ASSERT_TRUE(one && two);
    EXPECT_NEAR(one->width(), two->width(), 1.0);
    EXPECT_NEAR(one->x(), two->x(), 1.0);
}

TEST(TextMeasureTest, WordWrapBreaksBetweenWords) {
    const Font font = Font::systemFontOfSize(17);
    const double lineHeight = std::ceil(font.lineHeight());
    const double oneWord = StringDrawing::sizeWithFont("alpha", font).width();
    const Size wrapped =
        StringDrawing::sizeWithFont("alpha beta gamma", font, Size(oneWord + 30, 0), LineBreakMode::WordWrap);
    EXPECT_NEAR(wrapped.height(), std::ceil(3 * font.lineHeight()), 0.01);
    EXPECT_LE(wrapped.width(), oneWord + 30);
    // A height of two lines keeps two lines.
    const Size limited = StringDrawing::sizeWithFont(
        "alpha beta gamma", font, Size(oneWord + 30, 2 * lineHeight), LineBreakMode::WordWrap);
    EXPECT_NEAR(limited.height(), std::ceil(2 * font.lineHeight()), 0.01);
    // Line feeds always break.
    const Size lines = StringDrawing::sizeWithFont("a\nb\nc", font, Size(300, 0), LineBreakMode::WordWrap);
    EXPECT_NEAR(lines.height(), std::ceil(3 * font.lineHeight()), 0.01);
}

TEST(TextMeasureTest, CharacterWrapFillsLinesAndLongWordsBreakInWordWrap) {
    const Font font = Font::systemFontOfSize(17);
    const QString word = "abcdefghijklmnopqrstuvwxyz";
    const double width = StringDrawing::sizeWithFont(word, font).width() / 2.5;
    const Size words = StringDrawing::sizeWithFont(word, font, Size(width, 0), LineBreakMode::WordWrap);
    const Size characters =
        StringDrawing::sizeWithFont(word, font, Size(width, 0), LineBreakMode::CharacterWrap);
    EXPECT_NEAR(words.height(), std::ceil(3 * font.lineHeight()), 0.01);
    EXPECT_EQ(words, characters);
    EXPECT_LE(characters.width(), std::ceil(width));
}

TEST(TextMeasureTest, TruncationShortensTheLastLineToTheWidth) {
    const Font font = Font::systemFontOfSize(13);
    const QString text = "A rather long title of an event";
    const double full = StringDrawing::sizeWithFont(text, font).width();
    for (const LineBreakMode mode :
         {LineBreakMode::TailTruncation, LineBreakMode::HeadTruncation, LineBreakMode::MiddleTruncation}) {
        const Size cut = StringDrawing::sizeWithFont(text, font, 100.0, mode);
        EXPECT_LE(cut.width(), 100.0);
        EXPECT_GT(cut.width(), 80.0);
        EXPECT_EQ(cut.height(), std::ceil(font.lineHeight()));
    }
    EXPECT_EQ(StringDrawing::sizeWithFont(text, font, full + 5, LineBreakMode::TailTruncation).width(), full);
    // Clipping keeps the width.
    EXPECT_EQ(StringDrawing::sizeWithFont(text, font, 100.0, LineBreakMode::Clip).width(), 100.0);
}

TEST(TextMeasureTest, TruncatedTextDrawsAnEllipsisWithinTheWidth) {
    const Font font = Font::systemFontOfSize(13);
    const QString text = "A rather long title of an event";
    const Image image = Image::draw(Size(300, 40), 2.0, [&](GraphicsContext& context) {
        context.setFillColor(black);
        const Size drawn = context.drawText(text, Point(0, 0), 100.0, font, LineBreakMode::TailTruncation);
        EXPECT_LE(drawn.width(), 100.0);
    });
    const std::optional<Rect> ink = inkedBounds(image);
    ASSERT_TRUE(ink);
    EXPECT_LE(ink->maxX(), 100.0);
    EXPECT_GT(ink->maxX(), 85.0);
}

TEST(TextMeasureTest, ShrinkingFindsTheLargestSizeThatFits) {
    const Font font = Font::boldSystemFontOfSize(20);
    const QString text = "Week 52 2026";
    const double full = StringDrawing::sizeWithFont(text, font).width();
    double actual = 0.0;
    const Size shrunk =
        StringDrawing::sizeWithFont(text, font, 0.0, &actual, full * 0.7, LineBreakMode::Clip);
    EXPECT_LT(actual, 20.0 * 0.71);
    EXPECT_GT(actual, 20.0 * 0.69);
    EXPECT_LE(shrunk.width(), std::ceil(full * 0.7));
    // Room enough: the size stays.
    StringDrawing::sizeWithFont(text, font, 10.0, &actual, full + 1, LineBreakMode::Clip);
    EXPECT_EQ(actual, 20.0);
    // The minimum holds, and the rest is cut as the mode says.
    const Size atMinimum =
        StringDrawing::sizeWithFont(text, font, 15.0, &actual, full * 0.5, LineBreakMode::TailTruncation);
    EXPECT_EQ(actual, 15.0);
    EXPECT_LE(atMinimum.width(), full * 0.5);
}

TEST(TextDrawingTest, TextInRectIsAlignedAndReturnsItsSize) {
    const Font font = Font::systemFontOfSize(15);
    const Size measured = StringDrawing::sizeWithFont("Today", font);
    for (const TextAlignment alignment : {TextAlignment::Left, TextAlignment::Center, TextAlignment::Right}) {
        Size drawn;
        const Image image = Image::draw(Size(200, 30), 1.0, [&](GraphicsContext& context) {
            context.setFillColor(black);
            drawn = context.drawTextInRect("Today", Rect(0, 0, 200, 30), font, LineBreakMode::WordWrap,
                                           alignment);
        });
        EXPECT_EQ(drawn, measured);
        const std::optional<Rect> ink = inkedBounds(image);
        ASSERT_TRUE(ink);
        const double expectedCentre = alignment == TextAlignment::Left     ? measured.width() / 2
                                      : alignment == TextAlignment::Center ? 100.0
                                                                           : 200.0 - measured.width() / 2;
        EXPECT_NEAR(ink->midX(), expectedCentre, 2.0);
    }
}

TEST(TextDrawingTest, FadedTextLooksLikeTextInATranslucentColour) {
    const Font font = Font::systemFontOfSize(17);
    const auto draw = [&](double alpha, const Color& color) {
        return Image::draw(Size(120, 30), 2.0, [&](GraphicsContext& context) {
            context.setAlpha(alpha);
            context.setFillColor(color);
            context.drawText("Hamburg", Point(2, 2), font);
        });
    };
    const Image faded = draw(0.4, Color(0.2, 0.3, 0.9));
    const Image translucent = draw(1.0, Color(0.2, 0.3, 0.9, 0.4));
    ASSERT_TRUE(inkedBounds(faded));
    for (double y = 0.25; y < 30; y += 0.5) {
        for (double x = 0.25; x < 120; x += 0.5) {
            expectColor(faded, Point(x, y), translucent.colorAtPoint(Point(x, y)));
        }
    }
}

TEST(TextDrawingTest, MissingGlyphsComeFromAFallbackFace) {
    const Font font = Font::boldSystemFontOfSize(12);
    EXPECT_GT(StringDrawing::sizeWithFont(QString(QChar(0x21B3)), font).width(), 3.0);
    const std::optional<Rect> ink = inkedBounds(drawnText(QString(QChar(0x21B3)), font, 2.0));
    ASSERT_TRUE(ink);
    EXPECT_GT(ink->width(), 3.0);
}

TEST(TextDrawingTest, EmojiInATitleAreDrawnInColour) {
    const Font font = Font::boldSystemFontOfSize(17);
    const QString before = QStringLiteral("Birthday ");
    // A cake only the emoji face has, and a face that a text face has as an outline too.
    const QString emoji = QString::fromUcs4(U"\U0001F382\U0001F600");
    const Image image = Image::draw(Size(220, 40), 2.0, [&](GraphicsContext& context) {
        context.setFillColor(white);
        context.fillRect(Rect(0, 0, 220, 40));
        context.setFillColor(black);
        context.drawText(before + emoji + QStringLiteral(" party"), Point(10, 10), font);
    });
    SamplePictures::keep(image, QStringLiteral("emoji-title.png"));

    const double emojiStart = 10 + StringDrawing::sizeWithFont(before, font).width();
    const double emojiWidth = StringDrawing::sizeWithFont(emoji, font).width() / 2;
    EXPECT_GT(emojiWidth, 12.0);
    for (int i = 0; i < 2; ++i) {
        const double left = emojiStart + i * emojiWidth;
        int coloured = 0;
        int total = 0;
        for (double x = left; x < left + emojiWidth; x += 0.5) {
            for (double y = 10; y < 10 + font.lineHeight(); y += 0.5) {
                const Color color = image.colorAtPoint(Point(x, y));
                const double spread = std::max({color.red(), color.green(), color.blue()}) -
                                      std::min({color.red(), color.green(), color.blue()});
                coloured += spread > 0.3 ? 1 : 0;
                ++total;
            }
        }
        // A missing glyph's box is a grey outline; an emoji fills much of its cell with colour.
        EXPECT_GT(coloured, total / 5) << "emoji " << i;
    }
}

TEST(TextMeasureTest, CharactersBeyondTheBasicPlaneStayWhole) {
    const Font font = Font::systemFontOfSize(13);
    const QString text = QStringLiteral("Party ") + QString::fromUcs4(U"\U0001F382\U0001F382\U0001F382") +
                         QStringLiteral(" tonight");
    const Size full = StringDrawing::sizeWithFont(text, font);
    EXPECT_GT(full.width(), StringDrawing::sizeWithFont("Party  tonight", font).width());
    // Cutting anywhere never splits a pair; every width that holds an ellipsis is kept.
    for (double width = 20; width < full.width(); width += 3) {
        EXPECT_LE(StringDrawing::sizeWithFont(text, font, width, LineBreakMode::MiddleTruncation).width(),
                  std::ceil(width));
        EXPECT_LE(
            StringDrawing::sizeWithFont(text, font, Size(width, 0), LineBreakMode::CharacterWrap).width(),
            std::ceil(width));
    }
}

TEST(TextLayoutTest, TruncationKeepsTheStartTheEndOrBoth) {
    const Font font = Font::systemFontOfSize(13);
    const QString text = "A rather long title of an event";
    const QString ellipsis(QChar(0x2026));
    const auto line = [&](LineBreakMode mode) {
        const TextLayout layout(text, font, 100.0, 1, mode);
        EXPECT_EQ(layout.lines().size(), 1u);
        return layout.lines().front().text;
    };
    const QString tail = line(LineBreakMode::TailTruncation);
    EXPECT_TRUE(tail.startsWith("A rather")) << tail.toStdString();
    EXPECT_TRUE(tail.endsWith(ellipsis));
    const QString head = line(LineBreakMode::HeadTruncation);
    EXPECT_TRUE(head.startsWith(ellipsis));
    EXPECT_TRUE(head.endsWith("an event")) << head.toStdString();
    const QString middle = line(LineBreakMode::MiddleTruncation);
    EXPECT_TRUE(middle.startsWith("A rat")) << middle.toStdString();
    EXPECT_TRUE(middle.contains(ellipsis));
    EXPECT_TRUE(middle.endsWith("event")) << middle.toStdString();
    // Word wrapping on one line keeps the words that fit.
    EXPECT_EQ(line(LineBreakMode::WordWrap), "A rather long title");
}

TEST(TextLayoutTest, TheLastAllowedLineTakesTheRestOfTheText) {
    const Font font = Font::systemFontOfSize(13);
    const TextLayout layout("one two three four five six seven eight nine ten", font, 80.0, 2,
                            LineBreakMode::TailTruncation);
    ASSERT_EQ(layout.lines().size(), 2u);
    EXPECT_EQ(layout.lines()[0].text, "one two three");
    EXPECT_TRUE(layout.lines()[1].text.startsWith("four five"));
    EXPECT_TRUE(layout.lines()[1].text.endsWith(QChar(0x2026)));
    // Without a limit every word shows.
    const TextLayout all("one two three four five six seven eight nine ten", font, 80.0, 0,
                         LineBreakMode::TailTruncation);
    EXPECT_EQ(all.lines().back().text.right(3), "ten");
    // A following paragraph joins the truncated last line.
    const TextLayout paragraphs("first\nsecond line", font, 300.0, 1, LineBreakMode::TailTruncation);
    EXPECT_EQ(paragraphs.lines().front().text, QString("first second line"));
}

TEST(TextDrawingTest, ClippedTextStaysWithinItsWidth) {
    const Font font = Font::systemFontOfSize(17);
    const Image image = Image::draw(Size(300, 30), 2.0, [&](GraphicsContext& context) {
        context.setFillColor(black);
        const Size drawn = context.drawTextInRect("A long line of words that runs on", Rect(10, 0, 100, 30),
                                                  font, LineBreakMode::Clip, TextAlignment::Left);
        EXPECT_EQ(drawn.width(), 100.0);
    });
    const std::optional<Rect> ink = inkedBounds(image);
    ASSERT_TRUE(ink);
    EXPECT_LE(ink->maxX(), 110.0);
    EXPECT_GT(ink->maxX(), 105.0);
    // A rectangle without height sets no line limit and clips only the width.
    const Image unlimited = Image::draw(Size(300, 30), 2.0, [&](GraphicsContext& context) {
        context.setFillColor(black);
        context.drawTextInRect("Words", Rect(10, 0, 100, 0), font, LineBreakMode::Clip, TextAlignment::Left);
    });
    EXPECT_TRUE(inkedBounds(unlimited).has_value());
}
