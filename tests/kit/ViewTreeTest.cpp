#include "kit/View.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::shared_ptr<View> makeView(int tag, const Rect& frame = Rect(0, 0, 10, 10)) {
    auto view = std::make_shared<View>(frame);
    view->setTag(tag);
    return view;
}

// The tags of the subviews, back to front.
std::string order(const View& view) {
    std::string result;
    for (const auto& subview : view.subviews()) {
        result += std::to_string(subview->tag());
    }
    return result;
}

class ViewTreeTest : public testing::Test {
protected:
    std::shared_ptr<View> m_root = makeView(9);
    std::shared_ptr<View> m_a = makeView(1);
    std::shared_ptr<View> m_b = makeView(2);
    std::shared_ptr<View> m_c = makeView(3);
};

TEST_F(ViewTreeTest, AddedSubviewsGoToTheFront) {
    m_root->addSubview(m_a);
    m_root->addSubview(m_b);
    m_root->addSubview(m_c);
    EXPECT_EQ(order(*m_root), "123");
    EXPECT_EQ(m_b->superview(), m_root);
    // Adding an existing subview again moves it to the front.
    m_root->addSubview(m_a);
    EXPECT_EQ(order(*m_root), "231");
}

TEST_F(ViewTreeTest, InsertAtIndexBelowAndAbove) {
    m_root->addSubview(m_a);
    m_root->addSubview(m_b);
    m_root->insertSubview(m_c, 1);
    EXPECT_EQ(order(*m_root), "132");
    m_root->insertSubview(m_a, 99);
    EXPECT_EQ(order(*m_root), "321");
    m_root->insertSubviewBelow(m_a, *m_c);
    EXPECT_EQ(order(*m_root), "132");
    m_root->insertSubviewAbove(m_a, *m_c);
    EXPECT_EQ(order(*m_root), "312");
    m_root->insertSubviewAbove(m_c, *m_b);
    EXPECT_EQ(order(*m_root), "123");
    auto d = makeView(4);
    m_root->insertSubviewBelow(d, *m_a);
    EXPECT_EQ(order(*m_root), "4123");
}

TEST_F(ViewTreeTest, BringToFrontAndSendToBack) {
    m_root->addSubview(m_a);
    m_root->addSubview(m_b);
    m_root->addSubview(m_c);
    m_root->bringSubviewToFront(*m_a);
    EXPECT_EQ(order(*m_root), "231");
    m_root->sendSubviewToBack(*m_c);
    EXPECT_EQ(order(*m_root), "321");
    // A view that is not a subview changes nothing.
    m_root->bringSubviewToFront(*makeView(7));
    EXPECT_EQ(order(*m_root), "321");
}

TEST_F(ViewTreeTest, ReparentingLeavesTheOldSuperview) {
    m_root->addSubview(m_a);
    m_root->addSubview(m_b);
    m_a->addSubview(m_c);
    m_b->addSubview(m_c);
    EXPECT_EQ(order(*m_a), "");
    EXPECT_EQ(order(*m_b), "3");
    EXPECT_EQ(m_c->superview(), m_b);
    EXPECT_TRUE(m_c->isDescendantOfView(*m_root));
    EXPECT_FALSE(m_c->isDescendantOfView(*m_a));
    EXPECT_EQ(m_c->rootView(), m_root);
    EXPECT_EQ(m_root->viewWithTag(3), m_c);
    EXPECT_EQ(m_root->viewWithTag(8), nullptr);

    m_c->removeFromSuperview();
    EXPECT_EQ(m_c->superview(), nullptr);
    EXPECT_EQ(order(*m_b), "");
    EXPECT_EQ(m_c->rootView(), m_c);
}

TEST_F(ViewTreeTest, CyclesAreRefused) {
    m_root->addSubview(m_a);
    m_a->addSubview(m_b);
    m_b->addSubview(m_root);
    m_b->addSubview(m_b);
    EXPECT_EQ(order(*m_b), "");
    EXPECT_EQ(m_root->superview(), nullptr);
}

TEST_F(ViewTreeTest, TheSuperviewLinkIsWeak) {
    std::weak_ptr<View> weakParent = m_root;
    m_root->addSubview(m_a);
    m_root.reset();
    // The superview is gone even though its subview lives on.
    EXPECT_TRUE(weakParent.expired());
    EXPECT_EQ(m_a->superview(), nullptr);
}

TEST_F(ViewTreeTest, ASuperviewOwnsItsSubviewsUntilRemoved) {
    std::weak_ptr<View> weakChild = m_a;
    m_root->addSubview(m_a);
    m_a.reset();
    EXPECT_FALSE(weakChild.expired());
    weakChild.lock()->removeFromSuperview();
    EXPECT_TRUE(weakChild.expired());
}

class HookSpy : public View {
public:
    std::string log;
    std::size_t subviewCountWhenRemoving = 0;

protected:
    void didAddSubview(View& subview) override { log += "add" + std::to_string(subview.tag()) + " "; }
    void willRemoveSubview(View& subview) override {
        subviewCountWhenRemoving = subviews().size();
        log += "remove" + std::to_string(subview.tag()) + " ";
    }
};

TEST_F(ViewTreeTest, SubviewHooksSeeAddsAndRemovals) {
    auto spy = std::make_shared<HookSpy>();
    spy->addSubview(m_a);
    spy->addSubview(m_b);
    m_root->addSubview(m_a);
    m_b->removeFromSuperview();
    EXPECT_EQ(spy->log, "add1 add2 remove1 remove2 ");
    EXPECT_EQ(spy->subviewCountWhenRemoving, 1U);
}

} // namespace
