#include "kit/WheelScrolling.h"
#include "kit/Application.h"
#include "kit/KeyInput.h"
#include "kit/ScrollView.h"
#include "kit/Window.h"
#include "testing/ManualRunLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class WheelScrollingTest : public testing::Test {
protected:
    void SetUp() override {
        RunLoop::setMain(m_loop);
        auto root = std::make_shared<View>();
        m_window->setRootView(root);
        m_pages->setContentSize(Size(960, 200));
        m_pages->setPagingEnabled(true);
        m_pages->setContentOffset(Point(320, 0));
        m_list->setContentSize(Size(320, 600));
        root->addSubview(m_pages);
        root->addSubview(m_list);
        m_window->makeKeyAndVisible();
        m_window->layoutIfNeeded();
        m_window->onUnhandledKeyInput = [this](const KeyInput& input) {
            keys.push_back(input.key);
            return true;
        };
    }
    void TearDown() override {
        m_window.reset();
        m_loop->runUntilIdle();
        RunLoop::setMain(nullptr);
    }

    void scroll(Point at, Point movement, WheelScrolling::Phase phase = WheelScrolling::Phase::None,
                bool notched = false) {
        m_window->wheelScrolling().scroll(at, movement, phase, notched);
        m_loop->advance(0.01);
    }

    std::shared_ptr<ManualRunLoop> m_loop = std::make_shared<ManualRunLoop>();
    Application m_application;
    std::shared_ptr<Window> m_window = std::make_shared<Window>();
    // Pages in the upper part of the content, a list below them (window points 20 to 220 and
    // 220 to 420).
    std::shared_ptr<ScrollView> m_pages = std::make_shared<ScrollView>(Rect(0, 0, 320, 200));
    std::shared_ptr<ScrollView> m_list = std::make_shared<ScrollView>(Rect(0, 200, 320, 200));
    std::vector<int> keys;
};

} // namespace

TEST_F(WheelScrollingTest, ASidewaysScrollDragsThePagesAndSettlesAsAFingerWould) {
    // A quick sideways scroll is let go when it pauses, and flicks on to the next page.
    for (int i = 0; i < 4; ++i) {
        scroll(Point(160, 100), Point(-10, 0));
    }
    EXPECT_TRUE(m_pages->isDragging());
    m_loop->advance(1.0);
    EXPECT_FALSE(m_pages->isDragging());
    EXPECT_EQ(m_pages->contentOffset().x(), 640.0);

    // A touchpad's scroll back ends with its own end and settles on the page it reached.
    for (int i = 0; i < 20; ++i) {
        scroll(Point(160, 100), Point(12, 0), WheelScrolling::Phase::Update);
    }
    scroll(Point(160, 100), Point(0, 0), WheelScrolling::Phase::End);
    EXPECT_FALSE(m_pages->isDragging());
    m_loop->advance(1.0);
    EXPECT_EQ(m_pages->contentOffset().x(), 320.0);
    EXPECT_TRUE(keys.empty());
}

TEST_F(WheelScrollingTest, AnUprightScrollMovesTheListUnderThePointerOrPagesTheScreen) {
    scroll(Point(160, 300), Point(0, -WheelScrolling::notch));
    EXPECT_EQ(m_list->contentOffset().y(), 40.0);
    scroll(Point(160, 300), Point(0, 3 * WheelScrolling::notch));
    EXPECT_EQ(m_list->contentOffset().y(), 0.0);

    // Over the pages, which do not scroll upright, each notch is a page of the screen; a
    // touchpad's small steps add up to one.
    scroll(Point(160, 100), Point(0, -WheelScrolling::notch));
    scroll(Point(160, 100), Point(0, WheelScrolling::notch));
    for (int i = 0; i < 3; ++i) {
        scroll(Point(160, 100), Point(0, -15));
    }
    // A tilted wheel's notch pages too, where a smooth sideways scroll would drag.
    scroll(Point(160, 100), Point(WheelScrolling::notch, 0), WheelScrolling::Phase::None, true);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_PageUp}));
    EXPECT_EQ(m_pages->contentOffset(), Point(320, 0));
}
