#include "kit/DrawingTestSupport.h"
#include "kit/GraphicsContext.h"
#include "kit/RoundedRectangle.h"
#include "kit/View.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <numbers>

namespace {

// Runs a check on the drawing context inside drawRect, where views meet it.
class ProbeView : public View {
public:
    using View::View;
    std::function<void(GraphicsContext&)> probe;

protected:
    void drawRect(GraphicsContext& context, const Rect& /*rect*/) override {
        if (probe) {
            probe(context);
        }
    }
};

void withContext(const std::function<void(GraphicsContext&)>& check) {
    auto view = std::make_shared<ProbeView>(Rect(0, 0, 200, 200));
    bool ran = false;
    view->probe = [&](GraphicsContext& context) {
        ran = true;
        check(context);
    };
    view->renderToImage(1.0);
    EXPECT_TRUE(ran);
}

TEST(RoundedRectPathTest, AClosedPathFromTheMiddleOfTheLeftEdgeAroundTheRect) {
    withContext([](GraphicsContext& context) {
        const Rect rect(10, 20, 100, 60);
        RoundedRectangle(rect, 8).drawRoundedRectPath(context);
        EXPECT_EQ(context.pathStartPoint(), Point(10, 50));
        // Closing returns to the start.
        EXPECT_EQ(context.pathCurrentPoint(), Point(10, 50));
        expectRectNear(context.pathBoundingBox(), rect);
        EXPECT_TRUE(context.pathContainsPoint(Point(60, 50)));
        EXPECT_TRUE(context.pathContainsPoint(Point(18, 21)));
        // The corners are cut by the radius.
        EXPECT_FALSE(context.pathContainsPoint(Point(11, 21)));
        EXPECT_FALSE(context.pathContainsPoint(Point(109, 79)));
        EXPECT_TRUE(context.pathContainsPoint(Point(13, 23)));
    });
}

TEST(RoundedRectPathTest, TheRadiusIsLimitedToHalfTheWidthThenHalfTheHeight) {
    withContext([](GraphicsContext& context) {
        // Limited by the height to 10: a stadium whose ends are half circles.
        RoundedRectangle(Rect(0, 0, 100, 20), 30).drawRoundedRectPath(context);
        expectRectNear(context.pathBoundingBox(), Rect(0, 0, 100, 20));
        EXPECT_FALSE(context.pathContainsPoint(Point(2, 2)));
        EXPECT_TRUE(context.pathContainsPoint(Point(1, 10)));
        EXPECT_TRUE(context.pathContainsPoint(Point(10, 0.5)));
        EXPECT_FALSE(context.pathContainsPoint(Point(1.5, 3)));
        EXPECT_TRUE(context.pathContainsPoint(Point(20, 1)));
        context.beginPath();

        // Limited by the width to 10.
        RoundedRectangle(Rect(0, 0, 20, 100), 30).drawRoundedRectPath(context);
        expectRectNear(context.pathBoundingBox(), Rect(0, 0, 20, 100));
        EXPECT_FALSE(context.pathContainsPoint(Point(2, 2)));
        EXPECT_TRUE(context.pathContainsPoint(Point(1, 50)));
        EXPECT_TRUE(context.pathContainsPoint(Point(1, 20)));
        context.beginPath();

        // A radius of 0 keeps sharp corners.
        RoundedRectangle(Rect(0, 0, 20, 20), 0).drawRoundedRectPath(context);
        EXPECT_TRUE(context.pathContainsPoint(Point(0.25, 0.25)));
        EXPECT_TRUE(context.pathContainsPoint(Point(19.75, 19.75)));
    });
}

TEST(RoundedRectPathTest, ThePathIsAddedToWhatIsThereAndNeitherFilledNorStroked) {
    auto view = std::make_shared<ProbeView>(Rect(0, 0, 40, 40));
    view->probe = [](GraphicsContext& context) {
        context.setFillColor(Color(1, 0, 0));
        context.addRect(Rect(0, 0, 5, 5));
        RoundedRectangle(Rect(10, 10, 20, 20), 4).drawRoundedRectPath(context);
        EXPECT_FALSE(context.isPathEmpty());
        expectRectNear(context.pathBoundingBox(), Rect(0, 0, 30, 30));
    };
    const Image image = view->renderToImage(1.0);
    EXPECT_EQ(image.colorAtPoint(Point(20, 20)).alpha(), 0.0);
    EXPECT_EQ(image.colorAtPoint(Point(2, 2)).alpha(), 0.0);

    view->probe = [](GraphicsContext& context) {
        context.setFillColor(Color(1, 0, 0));
        RoundedRectangle(Rect(10, 10, 20, 20), 4).drawRoundedRectPath(context);
        context.fillPath();
        EXPECT_TRUE(context.isPathEmpty());
    };
    const Image filled = view->renderToImage(1.0);
    EXPECT_EQ(filled.colorAtPoint(Point(20, 20)), Color(1, 0, 0, 1));
    EXPECT_EQ(filled.colorAtPoint(Point(10, 10)).alpha(), 0.0);
}

TEST(GraphicsContextTest, ArcsFollowTheDirectionOfAFlippedContext) {
    withContext([](GraphicsContext& context) {
        context.addArc(Point(50, 50), 10, 0, std::numbers::pi / 2, false);
        EXPECT_NEAR(context.pathStartPoint().x(), 60, 1e-9);
        EXPECT_NEAR(context.pathCurrentPoint().y(), 60, 1e-6);
        // Growing angles run through the bottom-right quarter.
        expectRectNear(context.pathBoundingBox(), Rect(50, 50, 10, 10));
        context.beginPath();

        context.addArc(Point(50, 50), 10, 0, std::numbers::pi / 2, true);
        EXPECT_NEAR(context.pathCurrentPoint().y(), 60, 1e-6);
        expectRectNear(context.pathBoundingBox(), Rect(40, 40, 20, 20));
    });
}

TEST(GraphicsContextTest, SaveAndRestoreKeepColoursLineWidthAndAlpha) {
    withContext([](GraphicsContext& context) {
        context.setFillColor(Color(1, 0, 0));
        context.setLineWidth(3);
        context.saveGState();
        context.setFillColor(Color(0, 1, 0));
        context.setLineWidth(0.5);
        context.setAlpha(0.25);
        context.restoreGState();
        EXPECT_EQ(context.fillColor(), Color(1, 0, 0));
        EXPECT_EQ(context.lineWidth(), 3);
        EXPECT_EQ(context.alpha(), 1.0);
    });
}

} // namespace
