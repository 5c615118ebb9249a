#include "kit/AffineTransform.h"
#include "kit/DrawingTestSupport.h"
#include "kit/Rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

TEST(RectTest, EdgesOfAStandardAndANegativeRect) {
    const Rect rect(10, 20, 30, 40);
    EXPECT_EQ(rect.minX(), 10);
    EXPECT_EQ(rect.midX(), 25);
    EXPECT_EQ(rect.maxX(), 40);
    EXPECT_EQ(rect.minY(), 20);
    EXPECT_EQ(rect.midY(), 40);
    EXPECT_EQ(rect.maxY(), 60);

    const Rect negative(40, 60, -30, -40);
    EXPECT_EQ(negative.minX(), 10);
    EXPECT_EQ(negative.maxY(), 60);
    EXPECT_EQ(negative.standardized(), rect);
}

TEST(RectTest, ContainsIncludesTheTopLeftEdgesOnly) {
    const Rect rect(0, 0, 10, 10);
    EXPECT_TRUE(rect.contains(Point(0, 0)));
    EXPECT_TRUE(rect.contains(Point(9.99, 9.99)));
    EXPECT_FALSE(rect.contains(Point(10, 5)));
    EXPECT_FALSE(rect.contains(Point(5, 10)));
    EXPECT_FALSE(rect.contains(Point(-0.01, 5)));
    EXPECT_TRUE(rect.contains(Rect(0, 0, 10, 10)));
    EXPECT_FALSE(rect.contains(Rect(5, 5, 10, 1)));
}

TEST(RectTest, IntersectionAndUnion) {
    const Rect a(0, 0, 10, 10);
    const Rect b(5, 6, 10, 10);
    EXPECT_TRUE(a.intersects(b));
    EXPECT_EQ(a.intersection(b), Rect(5, 6, 5, 4));
    EXPECT_EQ(a.united(b), Rect(0, 0, 15, 16));

    const Rect touching(10, 0, 5, 5);
    EXPECT_FALSE(a.intersects(touching));
    EXPECT_TRUE(a.intersection(touching).isEmpty());
    EXPECT_EQ(a.united(Rect()), a);
}

TEST(RectTest, InsetOffsetAndIntegral) {
    const Rect rect(10, 10, 100, 50);
    EXPECT_EQ(rect.inset(5, 10), Rect(15, 20, 90, 30));
    EXPECT_EQ(rect.inset(-1, -1), Rect(9, 9, 102, 52));
    EXPECT_EQ(rect.inset(EdgeInsets(1, 2, 3, 4)), Rect(12, 11, 94, 46));
    EXPECT_EQ(rect.offset(-10, 5), Rect(0, 15, 100, 50));
    EXPECT_EQ(Rect(0.5, 1.25, 10, 10.5).integral(), Rect(0, 1, 11, 11));
    EXPECT_EQ(Rect(-0.5, -0.5, 1, 1).integral(), Rect(-1, -1, 2, 2));
}

TEST(AffineTransformTest, ConcatAppliesTheLeftTransformFirst) {
    const AffineTransform scale = AffineTransform::scaling(2, 3);
    const AffineTransform move = AffineTransform::translation(10, 20);
    expectPointNear(scale.concat(move).apply(Point(1, 1)), Point(12, 23));
    expectPointNear(move.concat(scale).apply(Point(1, 1)), Point(22, 63));
    // translated() moves the point before this transform.
    expectPointNear(scale.translated(10, 20).apply(Point(1, 1)), Point(22, 63));
}

TEST(AffineTransformTest, RotationTurnsClockwiseOnAYDownScreen) {
    const AffineTransform quarter = AffineTransform::rotation(std::numbers::pi / 2);
    expectPointNear(quarter.apply(Point(1, 0)), Point(0, 1));
    expectPointNear(quarter.apply(Point(0, 1)), Point(-1, 0));
}

TEST(AffineTransformTest, InvertUndoesTheTransform) {
    const AffineTransform t =
        AffineTransform::rotation(0.7).concat(AffineTransform::scaling(2, 0.5)).translated(3, -4);
    ASSERT_TRUE(t.isInvertible());
    const Point p(12.5, -7.25);
    expectPointNear(t.inverted().apply(t.apply(p)), p);
    expectPointNear(t.apply(t.inverted().apply(p)), p);
    const AffineTransform product = t.concat(t.inverted());
    EXPECT_NEAR(product.a(), 1, 1e-12);
    EXPECT_NEAR(product.b(), 0, 1e-12);
    EXPECT_NEAR(product.tx(), 0, 1e-12);
}

TEST(AffineTransformTest, ASingularTransformStaysAsItIs) {
    const AffineTransform flat = AffineTransform::scaling(0, 1);
    EXPECT_FALSE(flat.isInvertible());
    EXPECT_EQ(flat.inverted(), flat);
    EXPECT_TRUE(AffineTransform::identity().isIdentity());
    EXPECT_FALSE(flat.isIdentity());
}

TEST(AffineTransformTest, RectsMapToTheBoundingBoxAndSizesIgnoreTranslation) {
    const AffineTransform t =
        AffineTransform::rotation(std::numbers::pi / 2).concat(AffineTransform::translation(5, 0));
    const Rect mapped = t.apply(Rect(0, 0, 10, 20));
    EXPECT_NEAR(mapped.x(), -15, 1e-9);
    EXPECT_NEAR(mapped.y(), 0, 1e-9);
    EXPECT_NEAR(mapped.width(), 20, 1e-9);
    EXPECT_NEAR(mapped.height(), 10, 1e-9);
    EXPECT_EQ(AffineTransform::translation(5, 5).apply(Size(3, 4)), Size(3, 4));
}

} // namespace
