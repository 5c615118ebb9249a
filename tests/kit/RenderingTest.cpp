#include "kit/GraphicsContext.h"
#include "kit/View.h"
#include "kit/ViewRenderer.h"

#include <QDir>
#include <QTemporaryDir>

#include "SamplePictures.h"
#include "kit/DrawingTestSupport.h"
#include "kit/RoundedRectangle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

namespace {

std::shared_ptr<View> coloured(const Rect& frame, const Color& color) {
    auto view = std::make_shared<View>(frame);
    view->setBackgroundColor(color);
    return view;
}

class RenderingTest : public testing::Test {
protected:
    std::shared_ptr<View> m_root = coloured(Rect(0, 0, 100, 100), white);
};

TEST_F(RenderingTest, TheImageHasTheBoundsSizeAtTheScreenScale) {
    const Image image = m_root->renderToImage();
    EXPECT_EQ(image.pixelWidth(), 200);
    EXPECT_EQ(image.pixelHeight(), 200);
    EXPECT_EQ(image.scale(), 2.0);
    EXPECT_EQ(image.size(), Size(100, 100));
    const Image single = ViewRenderer::render(*m_root, 1.0);
    EXPECT_EQ(single.pixelWidth(), 100);
}

TEST_F(RenderingTest, BackgroundsAndSubviewsInOrder) {
    m_root->addSubview(coloured(Rect(10, 10, 20, 20), red));
    m_root->addSubview(coloured(Rect(20, 20, 20, 20), blue));
    m_root->addSubview(coloured(Rect(60, 60, 20, 20), clear));
    const Image image = m_root->renderToImage();
    expectColor(image, Point(5, 5), white);
    expectColor(image, Point(15, 15), red);
    // The later subview is in front.
    expectColor(image, Point(25, 25), blue);
    expectColor(image, Point(70, 70), white);
    // The right and bottom pixels of a frame are outside it.
    expectColor(image, Point(40, 30), white);
    expectColor(image, Point(39.5, 39.5), blue);
}

TEST_F(RenderingTest, ViewsWithoutBackgroundLeaveTheImageTransparent) {
    auto bare = std::make_shared<View>(Rect(0, 0, 10, 10));
    bare->addSubview(coloured(Rect(0, 0, 5, 5), red));
    const Image image = bare->renderToImage();
    expectColor(image, Point(2, 2), red);
    expectColor(image, Point(7, 7), clear);
}

TEST_F(RenderingTest, TranslucentPixelsReadBackWithTheirOwnColour) {
    auto bare = std::make_shared<View>(Rect(0, 0, 10, 10));
    auto half = coloured(Rect(0, 0, 10, 10), Color(1, 0.5, 0));
    half->setAlpha(0.5);
    bare->addSubview(half);
    expectColor(bare->renderToImage(), Point(5, 5), Color(1, 0.5, 0, 0.5));
}

TEST_F(RenderingTest, ClippingCutsSubviewsAtTheBounds) {
    auto parent = coloured(Rect(50, 50, 20, 20), white);
    parent->addSubview(coloured(Rect(10, 10, 40, 40), blue));
    m_root->addSubview(parent);
    expectColor(m_root->renderToImage(), Point(75, 75), blue);
    parent->setClipsToBounds(true);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(65, 65), blue);
    expectColor(image, Point(75, 75), white);
    expectColor(image, Point(69.75, 65), blue);
    expectColor(image, Point(70.25, 65), white);
}

TEST_F(RenderingTest, AlphaBlendsAndMultipliesDownTheTree) {
    auto half = coloured(Rect(0, 0, 50, 50), red);
    half->setAlpha(0.5);
    auto nested = coloured(Rect(0, 0, 20, 20), blue);
    nested->setAlpha(0.5);
    half->addSubview(nested);
    m_root->addSubview(half);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(40, 40), Color(1, 0.5, 0.5));
    // Blue at a quarter over the half-red.
    expectColor(image, Point(10, 10), Color(0.75, 0.375, 0.625));
}

TEST_F(RenderingTest, GroupOpacityFadesTheViewAndAllItsSubviewsAsOnePicture) {
    auto half = coloured(Rect(0, 0, 50, 50), red);
    half->setAlpha(0.5);
    half->setAllowsGroupOpacity(true);
    half->addSubview(coloured(Rect(0, 0, 20, 20), blue));
    // Beyond the faded view's bounds, which do not clip it.
    half->addSubview(coloured(Rect(60, 60, 20, 20), blue));
    m_root->addSubview(half);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(40, 40), Color(1, 0.5, 0.5));
    // Blue at a half over white: the red under it does not show through.
    expectColor(image, Point(10, 10), Color(0.5, 0.5, 1));
    expectColor(image, Point(70, 70), Color(0.5, 0.5, 1));
}

TEST_F(RenderingTest, TranslucentFillsAndStrokesAreEvenOverTheirWholeHeight) {
    const Image image = Image::draw(Size(40, 400), 2.0, [](GraphicsContext& context) {
        context.setFillColor(white);
        context.fillRect(Rect(0, 0, 40, 400));
        context.setAlpha(0.5);
        context.setFillColor(Color(1, 0, 0, 0.5));
        context.fillRect(Rect(0, 0, 10, 400));
        context.setStrokeColor(Color(0, 0, 1, 0.5));
        context.setLineWidth(4);
        context.moveTo(Point(30, 0));
        context.addLineTo(Point(30, 400));
        context.strokePath();
    });
    for (const double y : {1.0, 200.0, 399.0}) {
        expectColor(image, Point(5, y), Color(1, 0.75, 0.75));
        expectColor(image, Point(30, y), Color(0.75, 0.75, 1));
    }
}

TEST_F(RenderingTest, HiddenAndFullyTransparentViewsAreNotDrawn) {
    auto hidden = coloured(Rect(0, 0, 50, 50), red);
    hidden->setHidden(true);
    auto transparent = coloured(Rect(50, 50, 50, 50), red);
    transparent->setAlpha(0);
    m_root->addSubview(hidden);
    m_root->addSubview(transparent);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(25, 25), white);
    expectColor(image, Point(75, 75), white);
}

TEST_F(RenderingTest, TransformsTurnAndScaleAroundTheCenter) {
    // A bar 60 wide and 10 high around (50, 50), turned upright.
    auto bar = coloured(Rect(20, 45, 60, 10), red);
    bar->setTransform(AffineTransform::rotation(std::numbers::pi / 2));
    m_root->addSubview(bar);
    auto small = coloured(Rect(0, 80, 20, 20), blue);
    small->setTransform(AffineTransform::scaling(0.5, 0.5));
    m_root->addSubview(small);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(50, 25), red);
    expectColor(image, Point(25, 50), white);
    expectColor(image, Point(10, 90), blue);
    expectColor(image, Point(3, 83), white);
}

TEST_F(RenderingTest, TheBoundsOriginShiftsTheContent) {
    auto scroller = coloured(Rect(0, 0, 100, 100), white);
    scroller->addSubview(coloured(Rect(0, 50, 10, 10), red));
    scroller->setBounds(Rect(0, 40, 100, 100));
    m_root->addSubview(scroller);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(5, 15), red);
    expectColor(image, Point(5, 55), white);
}

class Card : public View {
public:
    using View::View;
    Color fill{0.2, 0.4, 0.8};

protected:
    void drawRect(GraphicsContext& context, const Rect& rect) override {
        context.setFillColor(fill);
        RoundedRectangle(rect.inset(2, 2), 8).drawRoundedRectPath(context);
        context.fillPath();
        context.setStrokeColor(Color(0, 0, 0));
        context.setLineWidth(1);
        context.strokeRect(Rect(rect.x() + 10.5, rect.maxY() - 10.5, rect.width() - 21, 0));
    }
};

TEST_F(RenderingTest, DrawRectPaintsOverTheBackgroundAndUnderTheSubviews) {
    auto card = std::make_shared<Card>(Rect(10, 10, 80, 80));
    card->setBackgroundColor(Color(0, 1, 0));
    card->addSubview(coloured(Rect(30, 30, 10, 10), red));
    m_root->addSubview(card);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(11, 11), Color(0, 1, 0));
    expectColor(image, Point(20, 30), card->fill);
    expectColor(image, Point(45, 45), red);
    expectColor(image, Point(50, 79.75), Color(0, 0, 0));
    // The stroke of a flat rectangle ends at its corners.
    expectColor(image, Point(15, 79.75), card->fill);
}

class Painter : public View {
public:
    using View::View;
    std::function<void(GraphicsContext&)> paint;

protected:
    void drawRect(GraphicsContext& context, const Rect& /*rect*/) override { paint(context); }
};

TEST_F(RenderingTest, DashesAreMeasuredInPointsFromThePhase) {
    auto view = std::make_shared<Painter>(Rect(0, 0, 100, 100));
    view->paint = [](GraphicsContext& context) {
        context.setStrokeColor(Color(0, 0, 0));
        context.setLineWidth(2);
        context.setLineDash(0, {4, 4});
        context.moveTo(Point(0, 10));
        context.addLineTo(Point(40, 10));
        context.strokePath();
        context.setLineDash(2, {4, 4});
        context.moveTo(Point(0, 20));
        context.addLineTo(Point(40, 20));
        context.strokePath();
        context.setLineDash(0, {});
        context.moveTo(Point(0, 30));
        context.addLineTo(Point(40, 30));
        context.strokePath();
    };
    m_root->addSubview(view);
    const Image image = m_root->renderToImage();
    const Color black(0, 0, 0);
    expectColor(image, Point(2, 10), black);
    expectColor(image, Point(6, 10), white);
    expectColor(image, Point(10, 10), black);
    expectColor(image, Point(1, 20), black);
    expectColor(image, Point(4, 20), white);
    expectColor(image, Point(8, 20), black);
    expectColor(image, Point(6, 30), black);
}

TEST_F(RenderingTest, LinearGradientsFillTheClipAndContinueTheEndColours) {
    auto view = std::make_shared<Painter>(Rect(0, 0, 100, 100));
    view->paint = [](GraphicsContext& context) {
        context.saveGState();
        context.clipToRect(Rect(0, 0, 100, 10));
        context.drawLinearGradient({{0, red}, {1, blue}}, Point(0, 0), Point(100, 0));
        context.restoreGState();
        context.saveGState();
        context.clipToRect(Rect(0, 50, 100, 10));
        context.drawLinearGradient({{0, red}, {1, blue}}, Point(25, 0), Point(75, 0));
        context.restoreGState();
    };
    m_root->addSubview(view);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(0, 5), red);
    expectColor(image, Point(49.75, 5), Color(0.5, 0, 0.5));
    expectColor(image, Point(99.75, 5), blue);
    expectColor(image, Point(50, 20), white);
    expectColor(image, Point(10, 55), red);
    expectColor(image, Point(90, 55), blue);
}

TEST_F(RenderingTest, ImagesAndEllipsesDrawWhereTheyAreAsked) {
    auto tile = coloured(Rect(0, 0, 10, 10), red);
    tile->addSubview(coloured(Rect(5, 0, 5, 10), blue));
    const Image tileImage = tile->renderToImage(1.0);
    auto view = std::make_shared<Painter>(Rect(0, 0, 100, 100));
    view->paint = [&](GraphicsContext& context) {
        context.drawImage(tileImage, Rect(0, 0, 40, 20));
        context.setFillColor(blue);
        context.addEllipseInRect(Rect(50, 50, 40, 20));
        context.fillPath();
    };
    m_root->addSubview(view);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(5, 10), red);
    expectColor(image, Point(35, 10), blue);
    expectColor(image, Point(45, 10), white);
    expectColor(image, Point(70, 60), blue);
    expectColor(image, Point(51, 51), white);
}

TEST_F(RenderingTest, ClippingToAPathAndClearingARect) {
    auto view = std::make_shared<Painter>(Rect(0, 0, 100, 100));
    view->paint = [](GraphicsContext& context) {
        context.saveGState();
        context.addEllipseInRect(Rect(0, 0, 40, 40));
        context.clip();
        EXPECT_TRUE(context.isPathEmpty());
        context.setFillColor(red);
        context.fillRect(Rect(0, 0, 100, 100));
        context.restoreGState();
        context.clearRect(Rect(60, 60, 10, 10));
    };
    m_root->addSubview(view);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(20, 20), red);
    expectColor(image, Point(2, 2), white);
    expectColor(image, Point(50, 50), white);
    // Clearing reaches through to the bottom of the image.
    expectColor(image, Point(65, 65), clear);
}

class Careless : public View {
public:
    using View::View;

protected:
    void drawRect(GraphicsContext& context, const Rect& /*rect*/) override {
        context.saveGState();
        context.setAlpha(0.1);
        context.translateCTM(30, 0);
    }
};

TEST_F(RenderingTest, StatesLeftSavedByDrawRectDoNotReachOtherViews) {
    auto careless = std::make_shared<Careless>(Rect(0, 0, 50, 50));
    careless->addSubview(coloured(Rect(0, 0, 10, 10), red));
    m_root->addSubview(careless);
    m_root->addSubview(coloured(Rect(60, 0, 10, 10), blue));
    const Image image = m_root->renderToImage();
    expectColor(image, Point(5, 5), red);
    expectColor(image, Point(65, 5), blue);
}

// The sample tree a person can look at: written where sample pictures go (SamplePictures), else
// into a temporary folder.
TEST_F(RenderingTest, ASampleTreeIsWrittenToAPng) {
    auto screen = coloured(Rect(0, 0, 320, 480), Color(0.84, 0.86, 0.89));
    auto bar = coloured(Rect(0, 0, 320, 44), Color(0.43, 0.52, 0.64));
    screen->addSubview(bar);
    for (int i = 0; i < 6; ++i) {
        auto card = std::make_shared<Card>(Rect(2 + (i % 2) * 159, 46 + (i / 2) * 139, 158, 137));
        card->fill = Color::fromHsb(i / 6.0, 0.3, 1.0);
        card->setClipsToBounds(true);
        for (int row = 0; row < 3; ++row) {
            auto line = coloured(Rect(6, 26 + row * 22, 146, 20), Color(1, 1, 1, 0.7));
            card->addSubview(line);
        }
        screen->addSubview(card);
    }
    auto badge = coloured(Rect(250, 400, 60, 30), Color(0.9, 0.2, 0.2));
    badge->setTransform(AffineTransform::rotation(-0.3));
    badge->setAlpha(0.8);
    screen->addSubview(badge);

    QTemporaryDir temporary;
    const QString folder = SamplePictures::wanted() ? SamplePictures::folder() : temporary.path();
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath("kit-sample.png");
    ASSERT_TRUE(screen->savePng(path));
    const Image reloaded = Image::loadPng(path, 2.0);
    ASSERT_FALSE(reloaded.isNull());
    EXPECT_EQ(reloaded.size(), Size(320, 480));
    expectColor(reloaded, Point(5, 5), Color(0.43, 0.52, 0.64));
    expectColor(reloaded, Point(80, 150), Color::fromHsb(0, 0.3, 1.0));
    EXPECT_TRUE(Image::loadPng(QDir(folder).filePath("missing.png")).isNull());
}

} // namespace
