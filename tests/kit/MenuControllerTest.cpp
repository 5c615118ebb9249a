#include "kit/MenuController.h"
#include "TextInputTestSupport.h"

#include <gtest/gtest.h>

namespace {

class MenuControllerTest : public TextInputFixture {
protected:
    MenuControllerTest() {
        std::vector<MenuItem> items;
        for (const char* title : {"Copy", "Move", "Delete"}) {
            const QString name = QString::fromLatin1(title);
            items.emplace_back(name, [this, name] { m_notes.append("action " + name); });
        }
        menu().setMenuItems(std::move(items));
    }

    static MenuController& menu() { return MenuController::sharedMenuController(); }

    void showAt(const Rect& rect, bool animated = false) {
        menu().setTargetRect(rect, m_root.get());
        menu().setMenuVisible(true, animated);
    }
};

TEST_F(MenuControllerTest, TheMenuSitsAboveItsTargetWithTheArrowDown) {
    showAt(Rect(60, 200, 200, 40));
    ASSERT_TRUE(menu().isMenuVisible());
    EXPECT_EQ(notes(), "willShowMenu | didShowMenu");
    // The target is at y 220 in the window, below the status bar.
    const Rect frame = menu().menuFrame();
    EXPECT_EQ(menu().arrowDirection(), MenuController::ArrowDirection::Down);
    EXPECT_DOUBLE_EQ(frame.maxY(), 220.0);
    EXPECT_DOUBLE_EQ(frame.height(), MenuController::bodyHeight + MenuController::arrowHeight);
    EXPECT_NEAR(frame.midX(), 160.0, 0.5);
    ASSERT_EQ(menu().itemFrames().size(), 3u);
    EXPECT_DOUBLE_EQ(menu().itemFrames()[0].minX(), frame.minX());
    EXPECT_DOUBLE_EQ(menu().itemFrames()[2].maxX(), frame.maxX());
    EXPECT_DOUBLE_EQ(menu().itemFrames()[1].minX(), menu().itemFrames()[0].maxX());
}

TEST_F(MenuControllerTest, WithoutRoomAboveTheMenuGoesBelow) {
    showAt(Rect(250, 10, 60, 30));
    EXPECT_EQ(menu().arrowDirection(), MenuController::ArrowDirection::Up);
    const Rect frame = menu().menuFrame();
    EXPECT_DOUBLE_EQ(frame.minY(), 60.0);
    // Near the right edge the bubble stays on screen.
    EXPECT_LE(frame.maxX(), 316.0);
    EXPECT_DOUBLE_EQ(menu().itemFrames()[0].minY(), 60.0 + MenuController::arrowHeight);
}

TEST_F(MenuControllerTest, TappingAnItemRunsItsActionThenHides) {
    showAt(Rect(60, 200, 200, 40), true);
    advance(0.2);
    m_notes.clear();
    tap(menu().itemFrames()[1].center());
    EXPECT_EQ(notes(), "action Move | willHideMenu");
    EXPECT_FALSE(menu().isMenuVisible());
    advance(0.2);
    EXPECT_EQ(notes(), "action Move | willHideMenu | didHideMenu");
}

TEST_F(MenuControllerTest, ATapElsewhereHidesTheMenuAndReachesTheViewThere) {
    QStringList touches;
    auto spy = std::make_shared<TouchSpyView>(Rect(0, 300, 320, 100), "spy", touches);
    m_root->addSubview(spy);
    showAt(Rect(60, 200, 200, 40));
    m_notes.clear();
    tap(Point(100, 350));
    EXPECT_EQ(notes(), "willHideMenu");
    EXPECT_EQ(touches.join(' '), "spy:began spy:ended");
    advance(0.2);
    EXPECT_EQ(notes(), "willHideMenu | didHideMenu");
    EXPECT_EQ(menu().itemFrames().size(), 3u);
}

TEST_F(MenuControllerTest, HidingInCodeReportsOnceAndNotWhenHidden) {
    menu().setMenuVisible(false, false);
    EXPECT_EQ(notes(), "");
    showAt(Rect(60, 200, 200, 40));
    m_notes.clear();
    menu().setMenuVisible(false, false);
    menu().setMenuVisible(false, true);
    EXPECT_EQ(notes(), "willHideMenu | didHideMenu");
    tap(menu().itemFrames()[0].center());
    EXPECT_EQ(notes(), "willHideMenu | didHideMenu");
}

TEST_F(MenuControllerTest, AMenuWithoutItemsOrWindowDoesNotShow) {
    menu().setMenuItems({});
    showAt(Rect(60, 200, 200, 40));
    EXPECT_FALSE(menu().isMenuVisible());
    menu().setMenuItems({MenuItem("Copy", {})});
    auto loose = std::make_shared<View>(Rect(0, 0, 100, 100));
    Application* application = Application::shared();
    application->setKeyWindow(nullptr);
    menu().setTargetRect(Rect(0, 0, 10, 10), loose.get());
    menu().setMenuVisible(true);
    EXPECT_FALSE(menu().isMenuVisible());
    EXPECT_EQ(notes(), "");
}

TEST_F(MenuControllerTest, DrawsABlackBubbleWithThreeItems) {
    m_root->setBackgroundColor(Color(0.85, 0.87, 0.9));
    auto row = std::make_shared<View>(Rect(20, 200, 280, 44));
    row->setBackgroundColor(Color(0.75, 0.85, 1.0));
    m_root->addSubview(row);
    showAt(row->frame());
    const Image image = m_window->renderToImage(2.0);
    keepPng(*m_window, "edit-menu.png");
    const Rect item = menu().itemFrames()[0];
    EXPECT_LT(image.colorAtPoint(Point(item.minX() + 3, item.maxY() - 4)).red(), 0.2);
    // The arrow's tip reaches down to the row; beside it is the background.
    const Rect frame = menu().menuFrame();
    EXPECT_LT(image.colorAtPoint(Point(160, frame.maxY() - 3)).red(), 0.3);
    EXPECT_GT(image.colorAtPoint(Point(frame.minX() + 2, frame.maxY() - 3)).red(), 0.8);
}

} // namespace
