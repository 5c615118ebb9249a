#pragma once

#include "kit/GraphicsContext.h"
#include "kit/Image.h"
#include "kit/Rect.h"

#include <gtest/gtest.h>

// Colours and checks shared by the tests of what the kit draws and where it puts things.
inline constexpr Color white(1, 1, 1);
inline constexpr Color black(0, 0, 0);
inline constexpr Color red(1, 0, 0);
inline constexpr Color blue(0, 0, 1);
inline constexpr Color clear(0, 0, 0, 0);

// An image of `size` points at scale 2, all of one colour.
inline Image filled(Size size, const Color& color) {
    return Image::draw(size, 2.0, [&](GraphicsContext& context) {
        context.setFillColor(color);
        context.fillRect(Rect(Point(), size));
    });
}

inline void expectColor(const Image& image, Point point, const Color& expected,
                        double tolerance = 2.0 / 255.0) {
    const Color actual = image.colorAtPoint(point);
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << "at " << point.x() << ", " << point.y();
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << "at " << point.x() << ", " << point.y();
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << "at " << point.x() << ", " << point.y();
    EXPECT_NEAR(actual.alpha(), expected.alpha(), tolerance) << "at " << point.x() << ", " << point.y();
}

inline void expectPointNear(Point actual, Point expected) {
    EXPECT_NEAR(actual.x(), expected.x(), 1e-9) << "y " << actual.y();
    EXPECT_NEAR(actual.y(), expected.y(), 1e-9) << "x " << actual.x();
}

inline void expectRectNear(const Rect& actual, const Rect& expected, double tolerance = 1e-6) {
    EXPECT_NEAR(actual.x(), expected.x(), tolerance);
    EXPECT_NEAR(actual.y(), expected.y(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}
