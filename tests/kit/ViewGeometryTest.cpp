#include "kit/DrawingTestSupport.h"
#include "kit/View.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

TEST(ViewGeometryTest, FrameBoundsAndCenterFollowEachOther) {
    View view(Rect(10, 20, 100, 50));
    EXPECT_EQ(view.bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(view.center(), Point(60, 45));

    view.setBounds(Rect(5, 5, 40, 30));
    EXPECT_EQ(view.frame(), Rect(40, 30, 40, 30));
    EXPECT_EQ(view.bounds().origin(), Point(5, 5));

    view.setCenter(Point(0, 0));
    EXPECT_EQ(view.frame(), Rect(-20, -15, 40, 30));

    view.setFrame(Rect(1, 2, 3, 4));
    EXPECT_EQ(view.bounds(), Rect(5, 5, 3, 4));
}

TEST(ViewGeometryTest, FrameOfATransformedViewIsItsBoundingBox) {
    View view(Rect(0, 0, 100, 50));
    view.setTransform(AffineTransform::rotation(std::numbers::pi / 2));
    const Rect frame = view.frame();
    EXPECT_NEAR(frame.x(), 25, 1e-9);
    EXPECT_NEAR(frame.y(), -25, 1e-9);
    EXPECT_NEAR(frame.width(), 50, 1e-9);
    EXPECT_NEAR(frame.height(), 100, 1e-9);
    EXPECT_EQ(view.bounds(), Rect(0, 0, 100, 50));
}

TEST(ViewGeometryTest, FrameHelpersChangeOneComponent) {
    View view(Rect(10, 20, 30, 40));
    view.setFrameX(1);
    view.setFrameY(2);
    EXPECT_EQ(view.frame(), Rect(1, 2, 30, 40));
    view.setFrameWidth(5);
    view.setFrameHeight(6);
    EXPECT_EQ(view.frame(), Rect(1, 2, 5, 6));
    view.moveFrameX(10);
    view.moveFrameY(-2);
    view.moveFrameWidth(0.5);
    view.moveFrameHeight(-1);
    EXPECT_EQ(view.frame(), Rect(11, 0, 5.5, 5));
}

TEST(ViewGeometryTest, CenterSubViewVertically) {
    View outer(Rect(0, 0, 100, 137.5));
    View inner(Rect(7, 3, 20, 23));
    outer.centerSubViewVertically(inner);
    EXPECT_EQ(inner.frame(), Rect(7, 57.25, 20, 23));
}

class FittingView : public View {
public:
    using View::View;
    Size content{42, 17};

protected:
    Size fittingSize(Size /*size*/) const override { return content; }
};

TEST(ViewGeometryTest, SizeToFitKeepsTheOriginAndSizeToFitWidthKeepsTheHeight) {
    FittingView view(Rect(3, 4, 10, 30));
    view.sizeToFitWidth();
    EXPECT_EQ(view.frame(), Rect(3, 4, 42, 30));
    view.sizeToFit();
    EXPECT_EQ(view.frame(), Rect(3, 4, 42, 17));
    // A plain view fits its current size.
    View plain(Rect(1, 1, 5, 6));
    plain.sizeToFit();
    EXPECT_EQ(plain.frame(), Rect(1, 1, 5, 6));
}

class ConversionTest : public testing::Test {
protected:
    void SetUp() override {
        m_root->addSubview(m_outer);
        m_outer->addSubview(m_inner);
        m_root->addSubview(m_other);
    }

    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 480));
    std::shared_ptr<View> m_outer = std::make_shared<View>(Rect(10, 20, 200, 200));
    std::shared_ptr<View> m_inner = std::make_shared<View>(Rect(5, 5, 50, 50));
    std::shared_ptr<View> m_other = std::make_shared<View>(Rect(100, 300, 50, 50));
};

TEST_F(ConversionTest, NestedFramesAddUp) {
    expectPointNear(m_inner->convertPointToView(Point(1, 2), m_root.get()), Point(16, 27));
    expectPointNear(m_inner->convertPointToView(Point(1, 2), nullptr), Point(16, 27));
    expectPointNear(m_inner->convertPointToView(Point(0, 0), m_other.get()), Point(-85, -275));
    expectPointNear(m_other->convertPointFromView(Point(0, 0), m_inner.get()), Point(-85, -275));
    expectPointNear(m_inner->convertPointFromView(Point(16, 27), nullptr), Point(1, 2));
}

TEST_F(ConversionTest, BoundsOriginScrollsTheContent) {
    m_outer->setBounds(Rect(0, 100, 200, 200));
    expectPointNear(m_inner->convertPointToView(Point(0, 0), m_root.get()), Point(15, -75));
    EXPECT_EQ(m_outer->frame(), Rect(10, 20, 200, 200));
}

TEST_F(ConversionTest, TransformsTurnAroundTheCenter) {
    // Turned a quarter clockwise around (110, 120): the top-left corner goes to the top-right.
    m_outer->setTransform(AffineTransform::rotation(std::numbers::pi / 2));
    expectPointNear(m_outer->convertPointToView(Point(0, 0), m_root.get()), Point(210, 20));
    expectPointNear(m_outer->convertPointToView(Point(100, 100), m_root.get()), Point(110, 120));
    expectPointNear(m_root->convertPointToView(Point(210, 20), m_outer.get()), Point(0, 0));
    expectPointNear(m_inner->convertPointToView(Point(0, 0), m_root.get()), Point(205, 25));

    m_outer->setTransform(AffineTransform::scaling(0.5, 0.5));
    expectPointNear(m_inner->convertPointToView(Point(10, 10), m_root.get()), Point(67.5, 77.5));
    expectPointNear(m_inner->convertPointFromView(Point(67.5, 77.5), m_root.get()), Point(10, 10));
}

TEST_F(ConversionTest, RectsConvertToTheBoundingBoxOfTheirCorners) {
    EXPECT_EQ(m_inner->convertRectToView(Rect(0, 0, 10, 20), m_root.get()), Rect(15, 25, 10, 20));
    EXPECT_EQ(m_root->convertRectToView(Rect(15, 25, 10, 20), m_inner.get()), Rect(0, 0, 10, 20));
    EXPECT_EQ(m_inner->convertRectFromView(Rect(15, 25, 10, 20), nullptr), Rect(0, 0, 10, 20));
    EXPECT_EQ(m_inner->convertRectFromView(Rect(0, 0, 1, 1), m_other.get()), Rect(85, 275, 1, 1));
    m_outer->setTransform(AffineTransform::rotation(std::numbers::pi / 2));
    const Rect turned = m_outer->convertRectToView(Rect(0, 0, 200, 100), m_root.get());
    EXPECT_NEAR(turned.x(), 110, 1e-9);
    EXPECT_NEAR(turned.y(), 20, 1e-9);
    EXPECT_NEAR(turned.width(), 100, 1e-9);
    EXPECT_NEAR(turned.height(), 200, 1e-9);
}

class LayoutSpy : public View {
public:
    using View::View;
    int layouts = 0;
    std::string* log = nullptr;

protected:
    void layoutSubviews() override {
        ++layouts;
        if (log) {
            *log += std::to_string(tag());
        }
    }
};

TEST(ViewLayoutTest, LayoutRunsOnceForMarkedViewsTopDown) {
    std::string log;
    auto parent = std::make_shared<LayoutSpy>(Rect(0, 0, 100, 100));
    auto child = std::make_shared<LayoutSpy>(Rect(0, 0, 10, 10));
    parent->setTag(1);
    child->setTag(2);
    parent->log = &log;
    child->log = &log;
    EXPECT_FALSE(parent->needsLayout());
    parent->addSubview(child);
    EXPECT_TRUE(parent->needsLayout());
    child->setNeedsLayout();
    parent->layoutIfNeeded();
    EXPECT_EQ(log, "12");
    parent->layoutIfNeeded();
    EXPECT_EQ(log, "12");
    EXPECT_FALSE(parent->needsLayout());
}

TEST(ViewLayoutTest, ResizingMarksForLayoutButMovingDoesNot) {
    LayoutSpy view(Rect(0, 0, 100, 100));
    view.setFrameX(50);
    view.setCenter(Point(3, 3));
    EXPECT_FALSE(view.needsLayout());
    view.setFrameWidth(60);
    EXPECT_TRUE(view.needsLayout());
    view.layoutIfNeeded();
    EXPECT_EQ(view.layouts, 1);
    view.setBounds(Rect(10, 10, 60, 100));
    EXPECT_FALSE(view.needsLayout());
}

TEST(ViewDisplayTest, TheDisplayFlagClearsWhenDrawn) {
    auto view = std::make_shared<View>(Rect(0, 0, 4, 4));
    EXPECT_TRUE(view->needsDisplay());
    view->renderToImage(1.0);
    EXPECT_FALSE(view->needsDisplay());
    view->setNeedsDisplay();
    EXPECT_TRUE(view->needsDisplay());
    view->renderToImage(1.0);
    EXPECT_FALSE(view->needsDisplay());
    view->setBackgroundColor(Color(1, 0, 0));
    EXPECT_TRUE(view->needsDisplay());
}

TEST(ViewDisplayTest, ChangesAnywhereInTheTreeReachTheRoot) {
    auto root = std::make_shared<View>(Rect(0, 0, 100, 100));
    auto child = std::make_shared<View>(Rect(0, 0, 50, 50));
    auto grandchild = std::make_shared<View>(Rect(0, 0, 10, 10));
    root->addSubview(child);
    child->addSubview(grandchild);
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    root->renderToImage(1.0);
    EXPECT_FALSE(root->subtreeNeedsDisplay());
    EXPECT_FALSE(grandchild->subtreeNeedsDisplay());

    grandchild->setNeedsDisplay();
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    root->renderToImage(1.0);
    grandchild->setCenter(Point(20, 20));
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    EXPECT_FALSE(grandchild->needsDisplay());
    root->renderToImage(1.0);
    child->bringSubviewToFront(*grandchild);
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    root->renderToImage(1.0);
    grandchild->removeFromSuperview();
    EXPECT_TRUE(root->subtreeNeedsDisplay());
    root->renderToImage(1.0);

    // A hidden view is not drawn and keeps its mark; later changes below it still reach the root.
    child->addSubview(grandchild);
    child->setHidden(true);
    root->renderToImage(1.0);
    EXPECT_FALSE(root->subtreeNeedsDisplay());
    grandchild->setAlpha(0.5);
    EXPECT_TRUE(root->subtreeNeedsDisplay());
}

} // namespace
