#include "kit/Label.h"
#include "kit/GraphicsContext.h"
#include "kit/ImageView.h"
#include "kit/StringDrawing.h"
#include "kit/ViewRenderer.h"

#include "InkTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

namespace {

std::shared_ptr<Label> label(const QString& text, const Font& font) {
    auto result = std::make_shared<Label>(Rect(0, 0, 100, 30));
    result->setText(text);
    result->setFont(font);
    return result;
}

} // namespace

TEST(LabelTest, SizeToFitIsTheMeasuredTextAndKeepsTheOrigin) {
    const Font font = Font::boldSystemFontOfSize(12);
    auto time = label("10:45", font);
    time->setFrame(Rect(4, 1, 34, 22));
    time->sizeToFit();
    const Size measured = StringDrawing::sizeWithFont("10:45", font);
    EXPECT_EQ(time->frame(), Rect(4, 1, measured.width(), measured.height()));
    // The ink fills the fitted width.
    const std::optional<Rect> ink = inkedBounds(ViewRenderer::render(*time, 2.0));
    ASSERT_TRUE(ink);
    EXPECT_LE(ink->maxX(), measured.width() + 0.5);
    EXPECT_GE(ink->maxX(), measured.width() - 2.0);
    EXPECT_EQ(label("", font)->sizeThatFits(Size(100, 100)), Size(0, 0));
}

TEST(LabelTest, MultiLineLabelsFitTheirHeightToTheTextAtTheirWidth) {
    const Font font = Font::systemFontOfSize(17);
    auto text = label("Tap on the week/year button at the top to directly jump to the desired week.", font);
    text->setFrame(Rect(8, 31, 220, 90));
    text->setNumberOfLines(0);
    text->setLineBreakMode(LineBreakMode::WordWrap);
    text->sizeToFit();
    EXPECT_LE(text->frame().width(), 220.0);
    const Size expected =
        StringDrawing::sizeWithFont(text->text(), font, Size(220, 0), LineBreakMode::WordWrap);
    EXPECT_EQ(text->frame().size(), expected);
    EXPECT_GE(expected.height(), 3 * font.lineHeight());
    // Two lines at most.
    text->setNumberOfLines(2);
    text->setFrameWidth(220);
    text->sizeToFit();
    EXPECT_EQ(text->frame().height(), std::ceil(2 * font.lineHeight()));
}

TEST(LabelTest, TheTextIsCentredVertically) {
    auto title = label("Hint", Font::boldSystemFontOfSize(17));
    title->setFrame(Rect(0, 0, 75, 60));
    title->setTextAlignment(TextAlignment::Center);
    const Rect textRect = title->textRectForBounds(title->bounds());
    const double height = std::ceil(Font::boldSystemFontOfSize(17).lineHeight());
    EXPECT_EQ(textRect, Rect(0, (60 - height) / 2, 75, height));
    const std::optional<Rect> ink = inkedBounds(ViewRenderer::render(*title, 2.0));
    ASSERT_TRUE(ink);
    EXPECT_NEAR(ink->midX(), 37.5, 1.5);
    EXPECT_GT(ink->y(), textRect.y());
    EXPECT_LT(ink->maxY(), textRect.maxY());
}

TEST(LabelTest, AdjustingTheFontShrinksDownToTheMinimum) {
    const Font font = Font::boldSystemFontOfSize(13);
    auto more = label("14 more events ...", font);
    const double full = StringDrawing::sizeWithFont(more->text(), font).width();
    more->setFrame(Rect(0, 0, full * 0.85, 23));
    EXPECT_EQ(more->fontForDrawing().pointSize(), 13.0);
    more->setAdjustsFontSizeToFitWidth(true);
    more->setMinimumFontSize(10);
    EXPECT_NEAR(more->fontForDrawing().pointSize(), 13.0 * 0.85, 0.1);
    EXPECT_TRUE(more->fontForDrawing().isBold());
    more->setFrameWidth(full * 0.5);
    EXPECT_EQ(more->fontForDrawing().pointSize(), 10.0);
    // Fitting the label uses its own font, not the shrunk one.
    EXPECT_EQ(more->sizeThatFits(Size()).width(), std::ceil(full));
    // Multi-line labels never shrink.
    more->setNumberOfLines(0);
    EXPECT_EQ(more->fontForDrawing().pointSize(), 13.0);
}

TEST(LabelTest, HighlightedTextColourAndShadow) {
    auto title = label("MMMM", Font::boldSystemFontOfSize(20));
    title->setTextColor(Color(0, 0, 0));
    title->setHighlightedTextColor(Color(1, 1, 1));
    title->setShadowOffset(Size(1, 1));
    const auto countPixels = [](const Image& image, auto predicate) {
        int count = 0;
        for (int y = 0; y < image.pixelHeight(); ++y) {
            for (int x = 0; x < image.pixelWidth(); ++x) {
                if (predicate(image.pixelColor(x, y))) {
                    ++count;
                }
            }
        }
        return count;
    };
    const auto isWhite = [](const Color& c) { return c.alpha() > 0.99 && c.red() > 0.99; };
    const auto isRed = [](const Color& c) { return c.alpha() > 0.99 && c.red() > 0.99 && c.green() < 0.01; };
    EXPECT_EQ(countPixels(ViewRenderer::render(*title, 2.0), isWhite), 0);
    title->setHighlighted(true);
    EXPECT_GT(countPixels(ViewRenderer::render(*title, 2.0), isWhite), 50);
    EXPECT_EQ(countPixels(ViewRenderer::render(*title, 2.0), isRed), 0);
    title->setShadowColor(Color(1, 0, 0));
    EXPECT_GT(countPixels(ViewRenderer::render(*title, 2.0), isRed), 10);
}

TEST(LabelTest, LabelsAndImageViewsTakeNoTouches) {
    EXPECT_FALSE(Label().userInteractionEnabled());
    EXPECT_FALSE(ImageView().userInteractionEnabled());
}

TEST(ImageViewTest, FitsItsImageAndShowsTheHighlightedOne) {
    const Image normal = Image::draw(Size(21, 20), 2.0, [](GraphicsContext& context) {
        context.setFillColor(Color(1, 0, 0));
        context.fillRect(Rect(0, 0, 21, 20));
    });
    const Image highlighted = Image::draw(Size(21, 20), 2.0, [](GraphicsContext& context) {
        context.setFillColor(Color(0, 0, 1));
        context.fillRect(Rect(0, 0, 21, 20));
    });
    auto view = std::make_shared<ImageView>(normal, highlighted);
    EXPECT_EQ(view->frame(), Rect(0, 0, 21, 20));
    EXPECT_EQ(ViewRenderer::render(*view).colorAtPoint(Point(10, 10)), Color(1, 0, 0, 1));
    view->setHighlighted(true);
    EXPECT_EQ(ViewRenderer::render(*view).colorAtPoint(Point(10, 10)), Color(0, 0, 1, 1));
    view->setFrame(Rect(0, 0, 100, 40));
    view->sizeToFit();
    EXPECT_EQ(view->frame().size(), Size(21, 20));
}

TEST(ImageViewTest, ContentModesPlaceTheImage) {
    const Image image = Image::draw(Size(20, 10), 1.0, [](GraphicsContext&) {});
    ImageView view(image);
    view.setFrame(Rect(0, 0, 100, 100));
    EXPECT_EQ(view.imageRectForBounds(view.bounds()), Rect(0, 0, 100, 100));
    view.setContentMode(ContentMode::ScaleAspectFit);
    EXPECT_EQ(view.imageRectForBounds(view.bounds()), Rect(0, 25, 100, 50));
    view.setContentMode(ContentMode::ScaleAspectFill);
    EXPECT_EQ(view.imageRectForBounds(view.bounds()), Rect(-50, 0, 200, 100));
    view.setContentMode(ContentMode::Center);
    EXPECT_EQ(view.imageRectForBounds(view.bounds()), Rect(40, 45, 20, 10));
    view.setContentMode(ContentMode::TopLeft);
    EXPECT_EQ(view.imageRectForBounds(view.bounds()), Rect(0, 0, 20, 10));
}
