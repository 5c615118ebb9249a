#include "kit/DrawingTestSupport.h"
#include "kit/GraphicsContext.h"
#include "kit/Image.h"

#include <gtest/gtest.h>

namespace {

// A 21 × 11 point image: a red left cap of 10, one blue point, a red right cap of 10.
Image capImage(double scale) {
    return Image::draw(Size(21, 11), scale, [](GraphicsContext& context) {
        context.setFillColor(red);
        context.fillRect(Rect(0, 0, 21, 11));
        context.setFillColor(blue);
        context.fillRect(Rect(10, 0, 1, 11));
    });
}

} // namespace

TEST(ShadowTest, AShadowLiesUnderTheShapeAtItsOffset) {
    for (const double scale : {1.0, 2.0}) {
        const Image image = Image::draw(Size(60, 60), scale, [](GraphicsContext& context) {
            context.setShadow(Size(10, 5), 0.0, black);
            context.setFillColor(red);
            context.fillRect(Rect(10, 10, 20, 20));
        });
        expectColor(image, Point(15, 15), red);
        // Beyond the shape, right and below by the offset, the sharp shadow.
        expectColor(image, Point(35, 20), black);
        expectColor(image, Point(20, 32), black);
        // Left of and above the offset shadow nothing.
        expectColor(image, Point(5, 20), Color(0, 0, 0, 0));
        expectColor(image, Point(35, 12), Color(0, 0, 0, 0));
        expectColor(image, Point(41, 20), Color(0, 0, 0, 0));
    }
}

TEST(ShadowTest, BlurSpreadsTheShadowAndFadesItsEdge) {
    const auto draw = [](double blur) {
        return Image::draw(Size(80, 80), 2.0, [blur](GraphicsContext& context) {
            context.setShadow(Size(0, 30), blur, black);
            context.setFillColor(red);
            context.fillRect(Rect(20, 10, 40, 10));
        });
    };
    const Image sharp = draw(0.0);
    const Image blurred = draw(6.0);
    // The shadow sits at y 40 to 50; at its centre the blur keeps most of it.
    EXPECT_GT(blurred.colorAtPoint(Point(40, 45)).alpha(), 0.6);
    // At the edge about half, and outside the sharp edge some.
    EXPECT_NEAR(blurred.colorAtPoint(Point(40, 40)).alpha(), 0.5, 0.15);
    EXPECT_GT(blurred.colorAtPoint(Point(40, 38)).alpha(), 0.1);
    EXPECT_EQ(sharp.colorAtPoint(Point(40, 38)).alpha(), 0.0);
    EXPECT_EQ(blurred.colorAtPoint(Point(40, 30)).alpha(), 0.0);
    // The shape itself is not blurred.
    expectColor(blurred, Point(40, 15), red);
}

TEST(ShadowTest, TheShadowIsSavedWithTheStateAndAppliesToTextAndImages) {
    const Image stamp = Image::draw(Size(10, 10), 2.0, [](GraphicsContext& context) {
        context.setFillColor(blue);
        context.fillRect(Rect(0, 0, 10, 10));
    });
    const Image image = Image::draw(Size(100, 60), 2.0, [&](GraphicsContext& context) {
        context.saveGState();
        context.setShadow(Size(0, 20), 0.0, red);
        EXPECT_TRUE(context.hasShadow());
        context.drawImage(stamp, Point(5, 5));
        context.setFillColor(black);
        context.drawText("MMM", Point(40, 0), Font::boldSystemFontOfSize(16));
        context.restoreGState();
        EXPECT_FALSE(context.hasShadow());
        context.setFillColor(black);
        context.fillRect(Rect(80, 0, 10, 10));
    });
    expectColor(image, Point(10, 10), blue);
    expectColor(image, Point(10, 30), red);
    // The text's shadow: some red pixels 20 points below the text band.
    int redPixels = 0;
    for (int x = 80; x < 160; ++x) {
        for (int y = 40; y < 80; ++y) {
            const Color color = image.pixelColor(x, y);
            if (color.red() > 0.9 && color.alpha() > 0.9) {
                ++redPixels;
            }
        }
    }
    EXPECT_GT(redPixels, 50);
    // After the restore, no shadow.
    expectColor(image, Point(85, 25), Color(0, 0, 0, 0));
}

TEST(StretchableImageTest, CapsStayUnscaledAndTheMiddleStretches) {
    for (const double scale : {1.0, 2.0}) {
        const Image stretchable = capImage(scale).stretchableImage(10, 0);
        EXPECT_EQ(stretchable.leftCapWidth(), 10);
        EXPECT_EQ(stretchable.rightCapWidth(), 10.0);
        EXPECT_EQ(stretchable.bottomCapHeight(), 0.0);
        const Image image = Image::draw(Size(100, 30), scale, [&](GraphicsContext& context) {
            context.drawImage(stretchable, Rect(0, 0, 100, 30));
        });
        expectColor(image, Point(9.5, 15), red);
        expectColor(image, Point(11, 15), blue);
        expectColor(image, Point(50, 2), blue);
        expectColor(image, Point(88.5, 15), blue);
        expectColor(image, Point(90.5, 15), red);
        // Plain scaling stretches the left part too.
        const Image plain = Image::draw(Size(100, 30), scale, [&](GraphicsContext& context) {
            context.drawImage(capImage(scale), Rect(0, 0, 100, 30));
        });
        expectColor(plain, Point(50, 15), blue, 0.15);
        expectColor(plain, Point(30, 15), red);
    }
}

TEST(StretchableImageTest, TopCapsKeepTheRowsAndSmallTargetsShrinkTheCaps) {
    const Image striped = Image::draw(Size(5, 9), 2.0, [](GraphicsContext& context) {
        context.setFillColor(red);
        context.fillRect(Rect(0, 0, 5, 4));
        context.setFillColor(blue);
        context.fillRect(Rect(0, 4, 5, 1));
        context.setFillColor(black);
        context.fillRect(Rect(0, 5, 5, 4));
    });
    const Image stretchable = striped.stretchableImage(0, 4);
    const Image tall = Image::draw(Size(20, 40), 2.0, [&](GraphicsContext& context) {
        context.drawImage(stretchable, Rect(0, 0, 20, 40));
    });
    expectColor(tall, Point(10, 3.5), red);
    expectColor(tall, Point(10, 20), blue);
    expectColor(tall, Point(10, 36.5), black);
    // Narrower than its caps: the caps share the room in proportion, the band vanishes.
    const Image narrow = Image::draw(Size(20, 4), 2.0, [&](GraphicsContext& context) {
        context.drawImage(stretchable, Rect(0, 0, 20, 4));
    });
    expectColor(narrow, Point(10, 1), red);
    expectColor(narrow, Point(10, 3), black);
}

TEST(ImageDrawingTest, DrawnImagesHaveTheSizeInPointsAtTheScale) {
    const Image image = Image::draw(Size(14, 14), 2.0, [](GraphicsContext& context) {
        context.setFillColor(red);
        context.addEllipseInRect(Rect(1, 1, 12, 12));
        context.fillPath();
    });
    EXPECT_EQ(image.pixelWidth(), 28);
    EXPECT_EQ(image.size(), Size(14, 14));
    expectColor(image, Point(7, 7), red);
    expectColor(image, Point(0.5, 0.5), Color(0, 0, 0, 0));
    EXPECT_TRUE(Image::draw(Size(0, 5), 2.0, [](GraphicsContext&) {}).isNull());
}

TEST(ImageDrawingTest, CopyBlendReplacesWhatLiesBeneath) {
    const Image image = Image::draw(Size(20, 20), 1.0, [](GraphicsContext& context) {
        context.setFillColor(red);
        context.fillRect(Rect(0, 0, 20, 20));
        context.setBlendMode(BlendMode::Copy);
        context.setFillColor(Color(0, 0, 1, 0.5));
        context.fillRect(Rect(0, 0, 10, 20));
        context.setBlendMode(BlendMode::Normal);
        context.setFillColor(Color(0, 0, 1, 0.5));
        context.fillRect(Rect(10, 0, 10, 20));
    });
    expectColor(image, Point(5, 5), Color(0, 0, 1, 0.5));
    expectColor(image, Point(15, 5), Color(0.5, 0, 0.5, 1), 3.0 / 255.0);
}
