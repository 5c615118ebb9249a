#include "AnimationTestSupport.h"

#include "kit/DrawingTestSupport.h"
#include "kit/View.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class AnimatedDrawingTest : public AnimationTest {
protected:
    void SetUp() override {
        AnimationTest::SetUp();
        m_root->setBackgroundColor(white);
        m_box->setBackgroundColor(red);
        m_root->addSubview(m_box);
    }
    void TearDown() override {
        m_root.reset();
        m_box.reset();
        AnimationTest::TearDown();
    }

    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 100, 100));
    std::shared_ptr<View> m_box = std::make_shared<View>(Rect(0, 0, 20, 20));
};

TEST_F(AnimatedDrawingTest, AFadeIsDrawnWithThePresentedAlpha) {
    m_box->setAlpha(0.0);
    View::animate(1.0, 0.0, AnimationCurve::linear, {}, [&] { m_box->setAlpha(1.0); });
    expectColor(m_root->renderToImage(), Point(10, 10), white);
    advanceTo(0.5);
    expectColor(m_root->renderToImage(), Point(10, 10), Color(1, 0.5, 0.5));
    advanceTo(1.0);
    expectColor(m_root->renderToImage(), Point(10, 10), red);
}

TEST_F(AnimatedDrawingTest, AMoveIsDrawnAtThePresentedPlace) {
    View::animate(1.0, 0.0, AnimationCurve::linear, {}, [&] { m_box->setFrameX(80); });
    advanceTo(0.5);
    const Image image = m_root->renderToImage();
    expectColor(image, Point(5, 10), white);
    expectColor(image, Point(45, 10), red);
    expectColor(image, Point(90, 10), white);
    advanceTo(1.0);
    expectColor(m_root->renderToImage(), Point(90, 10), red);
}

TEST_F(AnimatedDrawingTest, ScaleColourAndSubviewsFollowTheirPresentation) {
    auto inner = std::make_shared<View>(Rect(0, 0, 10, 10));
    inner->setBackgroundColor(blue);
    m_box->addSubview(inner);
    m_box->setFrame(Rect(40, 40, 20, 20));
    View::animate(1.0, 0.0, AnimationCurve::linear, {}, [&] {
        m_box->setTransform(AffineTransform::scaling(3, 3));
        m_box->setBackgroundColor(Color(0, 1, 0));
    });
    advanceTo(0.5);
    // Scaled by 2 around (50, 50): the box covers 30..70 and its subview's quarter 30..50.
    const Image image = m_root->renderToImage();
    expectColor(image, Point(27, 50), white);
    expectColor(image, Point(35, 35), blue);
    expectColor(image, Point(65, 65), Color(0.5, 0.5, 0));
    expectColor(image, Point(73, 50), white);
    advanceTo(1.0);
}

} // namespace
