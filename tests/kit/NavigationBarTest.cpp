#include "kit/NavigationBar.h"
#include "TouchTestSupport.h"
#include "kit/BarButtonItem.h"
#include "kit/BarButtonView.h"
#include "kit/Label.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverView.h"
#include "kit/Screen.h"
#include "kit/Window.h"

#include <gtest/gtest.h>

namespace {

class NavigationBarTest : public ManualMainLoop, public ::testing::Test {
protected:
    void SetUp() override {
        window->addSubview(bar);
        bar->setFrame(Rect(0, 20, 320, 44));
    }
    std::shared_ptr<NavigationItem> item(const QString& title) {
        return std::make_shared<NavigationItem>(title);
    }
    void advance(double seconds) { m_loop->advance(seconds); }
    Point centerInWindow(const View& view) {
        return view.convertRectToView(view.bounds(), window.get()).center();
    }

    std::shared_ptr<Window> window = std::make_shared<Window>();
    std::shared_ptr<NavigationBar> bar = std::make_shared<NavigationBar>();
};

TEST_F(NavigationBarTest, systemItemsHaveThePlatformTitlesAndStyles) {
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Done).title(), QStringLiteral("Done"));
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Done).style(), BarButtonItem::Style::Done);
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Save).style(), BarButtonItem::Style::Done);
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Cancel).title(), QStringLiteral("Cancel"));
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Cancel).style(), BarButtonItem::Style::Bordered);
    EXPECT_EQ(BarButtonItem(BarButtonItem::SystemItem::Edit).title(), QStringLiteral("Edit"));
    EXPECT_TRUE(BarButtonItem(BarButtonItem::SystemItem::FlexibleSpace).isSpace());
    EXPECT_FALSE(BarButtonItem(BarButtonItem::SystemItem::Add).isSpace());
    auto add = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Add);
    add->view();
    EXPECT_TRUE(add->buttonView()->showsAddSign());
}

TEST_F(NavigationBarTest, customViewIsTheItemsView) {
    auto custom = std::make_shared<View>(Rect(0, 0, 60, 30));
    auto item = std::make_shared<BarButtonItem>(custom);
    EXPECT_EQ(item->view(), custom);
    EXPECT_EQ(item->buttonView(), nullptr);
    item->setEnabled(false);
    EXPECT_FALSE(custom->userInteractionEnabled());
}

TEST_F(NavigationBarTest, buttonWidthFollowsItsTitle) {
    auto shortItem = std::make_shared<BarButtonItem>(QStringLiteral("Go"), BarButtonItem::Style::Bordered);
    auto longItem =
        std::make_shared<BarButtonItem>(QStringLiteral("Today and tomorrow"), BarButtonItem::Style::Bordered);
    shortItem->view();
    longItem->view();
    EXPECT_GE(shortItem->view()->frame().width(), 34.0);
    EXPECT_GT(longItem->view()->frame().width(), shortItem->view()->frame().width() + 60.0);
    const double before = shortItem->view()->frame().width();
    shortItem->setTitle(QStringLiteral("Go somewhere else"));
    EXPECT_GT(shortItem->view()->frame().width(), before);
    EXPECT_EQ(shortItem->buttonView()->title(), QStringLiteral("Go somewhere else"));
}

TEST_F(NavigationBarTest, pushAndPopChangeTheTopAndBackItems) {
    auto first = item("First");
    auto second = item("Second");
    bar->pushNavigationItem(first, false);
    EXPECT_EQ(bar->topItem(), first);
    EXPECT_EQ(bar->backItem(), nullptr);
    EXPECT_FALSE(bar->backButton());
    bar->pushNavigationItem(second, false);
    EXPECT_EQ(bar->backItem(), first);
    ASSERT_TRUE(bar->backButton());
    EXPECT_EQ(bar->backButton()->title(), QStringLiteral("First"));
    EXPECT_EQ(bar->titleLabel()->text(), QStringLiteral("Second"));
    EXPECT_EQ(bar->popNavigationItemAnimated(false), second);
    EXPECT_EQ(bar->topItem(), first);
    EXPECT_EQ(bar->titleLabel()->text(), QStringLiteral("First"));
}

TEST_F(NavigationBarTest, backButtonPopsTheBarWhenNobodyListens) {
    bar->setItems({item("First"), item("Second")}, false);
    const auto back = bar->backButton();
    ASSERT_TRUE(back);
    const Point point = centerInWindow(*back);
    window->fingerDown(0, point);
    EXPECT_TRUE(back->highlighted());
    window->fingerUp(0, point);
    EXPECT_EQ(bar->items().size(), 1u);
    advance(0.5);
    EXPECT_EQ(back->superview(), nullptr);
}

TEST_F(NavigationBarTest, buttonTracksTheFingerWithinItsSlack) {
    int taps = 0;
    auto right = std::make_shared<BarButtonItem>(QStringLiteral("Edit"), BarButtonItem::Style::Bordered,
                                                 [&] { ++taps; });
    auto top = item("Top");
    top->setRightBarButtonItem(right);
    bar->pushNavigationItem(top, false);
    const auto button = right->buttonView();
    const Point point = centerInWindow(*button);
    window->fingerDown(0, point);
    window->fingerMoved(0, point + Point(-20, 25));
    EXPECT_TRUE(button->highlighted());
    window->fingerMoved(0, point + Point(-20, 80));
    EXPECT_FALSE(button->highlighted());
    window->fingerUp(0, point + Point(-20, 80));
    EXPECT_EQ(taps, 0);
    window->fingerDown(0, point);
    window->fingerMoved(0, point + Point(-20, 80));
    window->fingerUp(0, point + Point(0, 10));
    EXPECT_EQ(taps, 1);
}

TEST_F(NavigationBarTest, itemChangesShowAtOnce) {
    auto top = item("Before");
    bar->pushNavigationItem(top, false);
    top->setTitle(QStringLiteral("After"));
    EXPECT_EQ(bar->titleLabel()->text(), QStringLiteral("After"));
    auto right = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done);
    top->setRightBarButtonItem(right);
    EXPECT_EQ(bar->rightView(), right->view());
    EXPECT_EQ(right->view()->frame().maxX(), 315.0);
    top->setRightBarButtonItem(nullptr);
    EXPECT_EQ(right->view()->superview(), nullptr);
}

TEST_F(NavigationBarTest, animatedItemChangeFadesTheOldButtonOut) {
    auto top = item("Top");
    auto today = std::make_shared<BarButtonItem>(QStringLiteral("Today"), BarButtonItem::Style::Bordered);
    auto cancel = std::make_shared<BarButtonItem>(QStringLiteral("Cancel"), BarButtonItem::Style::Done);
    top->setLeftBarButtonItem(today);
    bar->pushNavigationItem(top, false);
    top->setLeftBarButtonItem(cancel, true);
    EXPECT_EQ(bar->leftView(), cancel->view());
    advance(0.1);
    EXPECT_GT(today->view()->presentationAlpha(), 0.0);
    EXPECT_LT(today->view()->presentationAlpha(), 1.0);
    EXPECT_GT(cancel->view()->presentationAlpha(), 0.0);
    EXPECT_LT(cancel->view()->presentationAlpha(), 1.0);
    advance(0.2);
    EXPECT_EQ(today->view()->superview(), nullptr);
    EXPECT_EQ(today->view()->alpha(), 1.0);
    EXPECT_EQ(cancel->view()->presentationAlpha(), 1.0);
    // The old button comes back at once.
    top->setLeftBarButtonItem(today, false);
    EXPECT_NE(today->view()->superview(), nullptr);
    EXPECT_EQ(today->view()->alpha(), 1.0);
    EXPECT_EQ(bar->leftView(), today->view());
    EXPECT_EQ(cancel->view()->superview(), nullptr);
}

TEST_F(NavigationBarTest, oldItemsLeaveAfterAnAnimatedPush) {
    auto first = item("First");
    auto edit = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Edit);
    first->setRightBarButtonItem(edit);
    bar->pushNavigationItem(first, false);
    const auto oldTitle = bar->titleLabel();
    bar->pushNavigationItem(item("Second"), true);
    advance(0.17);
    EXPECT_LT(oldTitle->presentationFrame().midX(), 160.0);
    EXPECT_GT(bar->titleLabel()->presentationFrame().midX(), 160.0);
    advance(0.3);
    EXPECT_EQ(edit->view()->superview(), nullptr);
    EXPECT_EQ(oldTitle->superview(), nullptr);
    EXPECT_NEAR(bar->titleLabel()->frame().midX(), 160.0, 1.0);
}

TEST_F(NavigationBarTest, tintColourReachesTheButtons) {
    auto top = item("Top");
    auto right = std::make_shared<BarButtonItem>(QStringLiteral("Edit"), BarButtonItem::Style::Bordered);
    top->setRightBarButtonItem(right);
    bar->setItems({item("Back"), top}, false);
    bar->setTintColor(Color(0.1, 0.4, 0.1));
    EXPECT_EQ(right->buttonView()->tintColor(), Color(0.1, 0.4, 0.1));
    EXPECT_EQ(bar->backButton()->tintColor(), Color(0.1, 0.4, 0.1));
    EXPECT_EQ(BarButtonView().tintColor(), BarButtonView::defaultTintColor());
}

TEST_F(NavigationBarTest, theTabletsOwnBarIsSilverWithGreyTitlesButNotInAPopover) {
    Screen::main().setIdiom(Screen::Idiom::Tablet);
    auto top = item("Settings");
    auto right = std::make_shared<BarButtonItem>(QStringLiteral("Edit"), BarButtonItem::Style::Bordered);
    top->setRightBarButtonItem(right);
    bar->pushNavigationItem(top, false);
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->titleLabel()->textColor(), Color::fromRgb255(113, 120, 128));
    EXPECT_NE(right->buttonView()->tintColor(), BarButtonView::defaultTintColor());

    auto popover = std::make_shared<PopoverView>();
    window->addSubview(popover);
    popover->addSubview(bar);
    bar->setFrame(Rect(0, 0, 320, 44));
    bar->layoutIfNeeded();
    EXPECT_EQ(bar->titleLabel()->textColor(), Color(1, 1, 1));
    EXPECT_EQ(right->buttonView()->tintColor(), BarButtonView::defaultTintColor());
    Screen::main().setIdiom(Screen::Idiom::Phone);
}

TEST_F(NavigationBarTest, longTitleIsShortenedBetweenTheButtons) {
    auto top = item("A title far too long to fit between the two buttons of the bar");
    auto left = std::make_shared<BarButtonItem>(QStringLiteral("Today"), BarButtonItem::Style::Bordered);
    auto right = std::make_shared<BarButtonItem>(QStringLiteral("Edit"), BarButtonItem::Style::Bordered);
    top->setLeftBarButtonItem(left);
    top->setRightBarButtonItem(right);
    bar->pushNavigationItem(top, false);
    const Rect title = bar->titleLabel()->frame();
    EXPECT_GE(title.minX(), left->view()->frame().maxX());
    EXPECT_LE(title.maxX(), right->view()->frame().minX());
}

} // namespace
