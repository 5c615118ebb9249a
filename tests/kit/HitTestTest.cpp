#include "kit/View.h"

#include <gtest/gtest.h>

#include <memory>
#include <numbers>

namespace {

class HitTestTest : public testing::Test {
protected:
    void SetUp() override {
        m_back->setTag(1);
        m_front->setTag(2);
        m_child->setTag(3);
        m_root->addSubview(m_back);
        m_root->addSubview(m_front);
        m_front->addSubview(m_child);
    }

    int hitTag(Point point) {
        const std::shared_ptr<View> hit = m_root->hitTest(point);
        return hit ? hit->tag() : -1;
    }

    std::shared_ptr<View> m_root = std::make_shared<View>(Rect(0, 0, 320, 480));
    std::shared_ptr<View> m_back = std::make_shared<View>(Rect(0, 0, 200, 200));
    std::shared_ptr<View> m_front = std::make_shared<View>(Rect(100, 100, 200, 200));
    // Reaches 50 points outside the right edge of m_front.
    std::shared_ptr<View> m_child = std::make_shared<View>(Rect(150, 0, 100, 50));
};

TEST_F(HitTestTest, TheFrontMostViewUnderThePointWins) {
    EXPECT_EQ(hitTag(Point(50, 50)), 1);
    EXPECT_EQ(hitTag(Point(150, 150)), 2);
    EXPECT_EQ(hitTag(Point(260, 110)), 3);
    EXPECT_EQ(hitTag(Point(310, 400)), 0);
    EXPECT_EQ(hitTag(Point(-1, 10)), -1);
}

TEST_F(HitTestTest, HiddenTransparentAndNonInteractiveViewsAreSkipped) {
    m_front->setHidden(true);
    EXPECT_EQ(hitTag(Point(150, 150)), 1);
    m_front->setHidden(false);
    m_front->setAlpha(0.009);
    EXPECT_EQ(hitTag(Point(150, 150)), 1);
    m_front->setAlpha(0.01);
    EXPECT_EQ(hitTag(Point(150, 150)), 2);
    m_front->setUserInteractionEnabled(false);
    EXPECT_EQ(hitTag(Point(150, 150)), 1);
    // The subviews of a skipped view are skipped with it.
    EXPECT_EQ(hitTag(Point(260, 110)), 0);
}

TEST_F(HitTestTest, PartsOutsideTheSuperviewsBoundsAreNotHitWithOrWithoutClipping) {
    EXPECT_EQ(hitTag(Point(310, 110)), 0);
    m_front->setClipsToBounds(true);
    EXPECT_EQ(hitTag(Point(310, 110)), 0);
    EXPECT_EQ(hitTag(Point(290, 110)), 3);
}

TEST_F(HitTestTest, TransformsAndBoundsOriginsAreFollowed) {
    // Half size around the centre (200, 200): m_front covers 150..250.
    m_front->setTransform(AffineTransform::scaling(0.5, 0.5));
    EXPECT_EQ(hitTag(Point(120, 120)), 1);
    EXPECT_EQ(hitTag(Point(160, 160)), 2);
    EXPECT_EQ(hitTag(Point(240, 155)), 3);
    m_front->setTransform(AffineTransform::rotation(std::numbers::pi));
    // Turned half way, the child sits at the bottom left of m_front.
    EXPECT_EQ(hitTag(Point(110, 290)), 3);
    m_front->setTransform(AffineTransform::identity());
    m_front->setBounds(Rect(150, 0, 200, 200));
    EXPECT_EQ(hitTag(Point(110, 110)), 3);
    EXPECT_EQ(m_root->hitTest(Point(110, 110))->convertPointFromView(Point(110, 110), m_root.get()),
              Point(10, 10));
}

class GrownTarget : public View {
public:
    using View::View;

protected:
    bool isPointInside(Point point) const override { return bounds().inset(-20, -20).contains(point); }
};

class PassThrough : public View {
public:
    using View::View;

protected:
    std::shared_ptr<View> hitTestView(Point point) override {
        std::shared_ptr<View> hit = View::hitTestView(point);
        return hit.get() == this ? nullptr : hit;
    }
};

TEST_F(HitTestTest, HooksCanGrowTheTargetOrLetTouchesThrough) {
    auto grown = std::make_shared<GrownTarget>(Rect(10, 300, 10, 10));
    grown->setTag(4);
    m_root->addSubview(grown);
    EXPECT_EQ(hitTag(Point(5, 295)), 4);
    EXPECT_TRUE(grown->pointInside(Point(-19, 0)));
    EXPECT_FALSE(grown->pointInside(Point(-21, 0)));

    auto veil = std::make_shared<PassThrough>(Rect(0, 0, 320, 480));
    auto button = std::make_shared<View>(Rect(0, 0, 20, 20));
    button->setTag(5);
    veil->addSubview(button);
    m_root->addSubview(veil);
    EXPECT_EQ(hitTag(Point(50, 50)), 1);
    EXPECT_EQ(hitTag(Point(10, 10)), 5);
}

} // namespace
