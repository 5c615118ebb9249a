#include "kit/PopoverController.h"
#include "AlertTestSupport.h"
#include "kit/BarButtonItem.h"
#include "kit/Button.h"
#include "kit/Label.h"
#include "kit/NavigationBar.h"
#include "kit/NavigationItem.h"
#include "kit/PopoverControllerDelegate.h"
#include "kit/PopoverView.h"
#include "kit/ViewController.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RecordingPopoverDelegate : public PopoverControllerDelegate {
public:
    bool popoverControllerShouldDismissPopover(PopoverController&) override {
        log += "should ";
        return allow;
    }
    void popoverControllerDidDismissPopover(PopoverController&) override { log += "did "; }

    bool allow = true;
    std::string log;
};

class PopoverControllerTest : public KeyWindowTest {
protected:
    void SetUp() override {
        Screen::main().setIdiom(Screen::Idiom::Tablet);
        KeyWindowTest::SetUp();
        m_root->setBackgroundColor(Color(0.93, 0.9, 0.82));
        m_content->setBackgroundColor(Color(1, 1, 1));
        m_popover->setDelegate(m_delegate);
        m_popover->setPopoverContentSize(Size(178, 158));
    }
    void TearDown() override {
        m_popover->dismissPopoverAnimated(false);
        KeyWindowTest::TearDown();
    }

    std::shared_ptr<View> m_content = std::make_shared<View>(Rect(0, 0, 100, 100));
    std::shared_ptr<PopoverController> m_popover = std::make_shared<PopoverController>(m_content);
    std::shared_ptr<RecordingPopoverDelegate> m_delegate = std::make_shared<RecordingPopoverDelegate>();
};

const char* name(PopoverArrowDirection direction) {
    switch (direction) {
    case PopoverArrowDirection::up:
        return "up";
    case PopoverArrowDirection::down:
        return "down";
    case PopoverArrowDirection::left:
        return "left";
    case PopoverArrowDirection::right:
        return "right";
    default:
        return "unknown";
    }
}

} // namespace

TEST(PopoverArrowTest, ThePermittedDirectionWithTheMostRoomWins) {
    const Rect area(10, 30, 748, 984);
    const Size size(320, 240);
    auto choose = [&](const Rect& anchor, PopoverArrowDirections permitted) {
        return std::string(name(PopoverController::arrowDirectionFor(anchor, size, area, permitted)));
    };
    // A bar button at the top right: below it.
    EXPECT_EQ(choose(Rect(700, 30, 40, 30), PopoverArrowDirection::any), "up");
    // Near the bottom: above it.
    EXPECT_EQ(choose(Rect(300, 900, 60, 30), PopoverArrowDirection::any), "down");
    // Left or right only: the side with more room.
    EXPECT_EQ(choose(Rect(40, 500, 200, 24), PopoverArrowDirection::left | PopoverArrowDirection::right),
              "left");
    EXPECT_EQ(choose(Rect(500, 500, 200, 24), PopoverArrowDirection::left | PopoverArrowDirection::right),
              "right");
    // A direction that holds the popover beats one with more room that does not: the row
    // leaves 418 points on its right (enough) and the vertical room is larger.
    EXPECT_EQ(choose(Rect(40, 500, 300, 24), PopoverArrowDirection::left | PopoverArrowDirection::down),
              "down");
    EXPECT_EQ(choose(Rect(40, 100, 300, 24), PopoverArrowDirection::left | PopoverArrowDirection::down),
              "left");
    // Nothing permitted: unknown.
    EXPECT_EQ(choose(Rect(40, 100, 300, 24), PopoverArrowDirections()), "unknown");
}

TEST(PopoverArrowTest, TheFrameStaysOnScreenAndTheArrowFollowsTheAnchor) {
    const Rect area(10, 30, 748, 984);
    double offset = 0;
    const Rect frame = PopoverController::popoverFrameFor(Rect(700, 30, 40, 30), Size(178, 158), area,
                                                          PopoverArrowDirection::up, &offset);
    EXPECT_DOUBLE_EQ(frame.maxX(), 758);
    EXPECT_DOUBLE_EQ(frame.minY(), 60);
    EXPECT_DOUBLE_EQ(frame.width(), 178 + 2 * PopoverView::borderWidth);
    EXPECT_DOUBLE_EQ(frame.height(), 158 + 2 * PopoverView::borderWidth + PopoverView::arrowHeight);
    EXPECT_DOUBLE_EQ(frame.midX() + offset, 720);

    const Rect beside = PopoverController::popoverFrameFor(Rect(100, 500, 200, 20), Size(320, 240), area,
                                                           PopoverArrowDirection::left, &offset);
    EXPECT_DOUBLE_EQ(beside.minX(), 300);
    EXPECT_DOUBLE_EQ(beside.midY() + offset, 510);
}

TEST_F(PopoverControllerTest, PresentsTheContentInTheFrameNextToTheAnchor) {
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, true);
    EXPECT_TRUE(m_popover->isPopoverVisible());
    settle();
    EXPECT_EQ(m_popover->popoverArrowDirection(), PopoverArrowDirection::up);
    const auto frame = m_popover->popoverView();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(m_content->superview(), frame);
    EXPECT_EQ(m_content->bounds().size(), Size(178, 158));
    // The arrow's tip touches the anchor's lower edge (in window coordinates, below the bar).
    const Point tip = frame->convertPointToView(frame->arrowTip(), m_window.get());
    EXPECT_DOUBLE_EQ(tip.x(), 125);
    EXPECT_DOUBLE_EQ(tip.y(), 20 + 130);
    m_popover->setPopoverContentSize(Size(320, 240), true);
    settle();
    EXPECT_EQ(m_content->bounds().size(), Size(320, 240));
}

TEST_F(PopoverControllerTest, ATouchOutsideAsksAndARefusalKeepsThePopover) {
    m_delegate->allow = false;
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    tap(Point(600, 900));
    settle();
    EXPECT_EQ(m_delegate->log, "should ");
    EXPECT_TRUE(m_popover->isPopoverVisible());
    EXPECT_NE(m_popover->popoverView(), nullptr);
}

TEST_F(PopoverControllerTest, AnAllowedTouchOutsideDismissesAndReportsIt) {
    bool rootTouched = false;
    auto button = std::make_shared<Button>(Rect(500, 800, 200, 200));
    button->onTouchUpInside = [&] { rootTouched = true; };
    m_root->addSubview(button);
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    tap(Point(600, 900));
    EXPECT_FALSE(m_popover->isPopoverVisible());
    EXPECT_EQ(m_delegate->log, "should ");
    settle();
    EXPECT_EQ(m_delegate->log, "should did ");
    EXPECT_EQ(m_popover->popoverView(), nullptr);
    EXPECT_FALSE(rootTouched);
    EXPECT_EQ(m_window->subviews().size(), 2u);
    // A touch on the content is not outside.
    m_delegate->log.clear();
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    tap(centreInWindow(*m_content));
    settle();
    EXPECT_EQ(m_delegate->log, "");
    EXPECT_TRUE(m_popover->isPopoverVisible());
}

TEST_F(PopoverControllerTest, ProgrammaticDismissalReportsNothing) {
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    m_popover->dismissPopoverAnimated(true);
    EXPECT_FALSE(m_popover->isPopoverVisible());
    settle();
    EXPECT_EQ(m_popover->popoverView(), nullptr);
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    m_popover->dismissPopoverAnimated(false);
    settle();
    EXPECT_EQ(m_delegate->log, "");
    EXPECT_EQ(m_window->subviews().size(), 2u);
}

TEST_F(PopoverControllerTest, PassthroughViewsKeepTheirTouches) {
    int taps = 0;
    auto passthrough = std::make_shared<Button>(Rect(500, 800, 200, 200));
    passthrough->onTouchUpInside = [&] { ++taps; };
    m_root->addSubview(passthrough);
    m_popover->setPassthroughViews({passthrough});
    m_popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    tap(Point(600, 900));
    settle();
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(m_delegate->log, "");
    EXPECT_TRUE(m_popover->isPopoverVisible());
    EXPECT_EQ(m_popover->passthroughViews().size(), 1u);
}

TEST_F(PopoverControllerTest, ABarButtonItemsBarKeepsItsTouches) {
    int taps = 0;
    auto bar = std::make_shared<View>(Rect(0, 0, 768, 44));
    auto item = std::make_shared<Button>(Rect(700, 7, 50, 30));
    item->onTouchUpInside = [&] {
        ++taps;
        // The menu button toggles its popover.
        if (m_popover->isPopoverVisible()) {
            m_popover->dismissPopoverAnimated(true);
        }
    };
    bar->addSubview(item);
    m_root->addSubview(bar);
    m_popover->presentPopoverFromBarButtonItem(item->frame(), *bar, PopoverArrowDirection::any, true);
    settle();
    EXPECT_EQ(m_popover->popoverArrowDirection(), PopoverArrowDirection::up);
    tap(centreInWindow(*item));
    settle();
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(m_popover->isPopoverVisible());
    EXPECT_EQ(m_delegate->log, "");
}

TEST_F(PopoverControllerTest, TheControllerLivesWhileShown) {
    std::weak_ptr<PopoverController> weak;
    {
        auto popover = std::make_shared<PopoverController>(std::make_shared<View>(Rect(0, 0, 200, 100)));
        weak = popover;
        popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::any, false);
    }
    ASSERT_FALSE(weak.expired());
    tap(Point(600, 900));
    settle();
    EXPECT_TRUE(weak.expired());
}

TEST_F(PopoverControllerTest, SamplesOfEachArrowDirection) {
    const struct {
        Rect anchor;
        PopoverArrowDirection direction;
        const char* file;
    } cases[] = {
        {Rect(650, 10, 60, 30), PopoverArrowDirection::up, "popover-up.png"},
        {Rect(200, 900, 60, 30), PopoverArrowDirection::down, "popover-down.png"},
        {Rect(60, 400, 150, 24), PopoverArrowDirection::left, "popover-left.png"},
        {Rect(560, 600, 150, 24), PopoverArrowDirection::right, "popover-right.png"},
    };
    auto marker = std::make_shared<View>();
    marker->setBackgroundColor(Color(0.8, 0.3, 0.2));
    m_root->addSubview(marker);
    auto label = std::make_shared<Label>(Rect(10, 10, 150, 30));
    label->setText("Calendars");
    m_content->addSubview(label);
    for (const auto& sample : cases) {
        marker->setFrame(sample.anchor);
        m_popover->presentPopoverFromRect(sample.anchor, *m_root, sample.direction, false);
        EXPECT_EQ(m_popover->popoverArrowDirection(), sample.direction);
        const auto frame = m_popover->popoverView();
        const Point tip = frame->convertPointToView(frame->arrowTip(), m_root.get());
        EXPECT_TRUE(sample.anchor.inset(-0.5, -0.5).contains(tip)) << sample.file;
        savePng(sample.file);
        m_popover->dismissPopoverAnimated(false);
    }
}

namespace {

class AppearanceSpyController : public ViewController {
public:
    void viewWillAppear(bool) override { log += "will-appear "; }
    void viewDidAppear(bool) override { log += "did-appear "; }
    void viewWillDisappear(bool) override { log += "will-disappear "; }
    void viewDidDisappear(bool) override { log += "did-disappear "; }

    std::string log;

protected:
    void loadView() override { setView(std::make_shared<View>(Rect(0, 0, 50, 50))); }
};

} // namespace

TEST_F(PopoverControllerTest, AContentScreenFromABarButtonItemHearsItsAppearance) {
    auto menu = std::make_shared<AppearanceSpyController>();
    menu->setContentSizeForViewInPopover(Size(178, 158));
    auto popover = std::make_shared<PopoverController>(menu);
    popover->setDelegate(m_delegate);
    auto bar = std::make_shared<NavigationBar>();
    bar->setFrame(Rect(0, 0, 768, NavigationBar::height));
    auto item = std::make_shared<NavigationItem>("Week");
    int presses = 0;
    auto menuButton = std::make_shared<BarButtonItem>("Menu", BarButtonItem::Style::Bordered, [&] {
        ++presses;
        if (popover->isPopoverVisible()) {
            popover->dismissPopoverAnimated(true);
        } else {
            popover->presentPopoverFromBarButtonItem(*item->rightBarButtonItem(), PopoverArrowDirection::any,
                                                     true);
        }
    });
    item->setRightBarButtonItem(menuButton);
    bar->pushNavigationItem(item, false);
    m_root->addSubview(bar);
    m_window->layoutIfNeeded();

    const auto buttonView = menuButton->view();
    tap(centreInWindow(*buttonView));
    EXPECT_EQ(menu->log, "will-appear ");
    settle();
    EXPECT_EQ(menu->log, "will-appear did-appear ");
    EXPECT_EQ(popover->popoverArrowDirection(), PopoverArrowDirection::up);
    EXPECT_EQ(menu->view()->bounds().size(), Size(178, 158));
    const auto frame = popover->popoverView();
    const Point tip = frame->convertPointToView(frame->arrowTip(), m_window.get());
    // As close to the button's middle as the popover's corner allows.
    const Rect buttonInWindow = buttonView->convertRectToView(buttonView->bounds(), m_window.get());
    EXPECT_GT(tip.x(), buttonInWindow.minX());
    EXPECT_LT(tip.x(), buttonInWindow.maxX());
    EXPECT_DOUBLE_EQ(tip.y(), buttonInWindow.maxY());
    // The bar keeps its touches: the second press closes the menu without asking the delegate.
    tap(centreInWindow(*buttonView));
    EXPECT_EQ(menu->log, "will-appear did-appear will-disappear ");
    settle();
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(menu->log, "will-appear did-appear will-disappear did-disappear ");
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(m_delegate->log, "");
}

TEST_F(PopoverControllerTest, ContentTallerThanTheRoomIsCut) {
    auto screen = std::make_shared<AppearanceSpyController>();
    auto popover = std::make_shared<PopoverController>(screen);
    EXPECT_EQ(popover->popoverContentSize(), Size(320, 1100));
    popover->presentPopoverFromRect(Rect(100, 100, 50, 30), *m_root, PopoverArrowDirection::up, false);
    const Rect frame = popover->popoverView()->frame();
    EXPECT_LE(frame.maxY(), 1024 - PopoverController::screenMargin);
    EXPECT_EQ(screen->view()->bounds().width(), 320);
    EXPECT_LT(screen->view()->bounds().height(), 1100);
    EXPECT_EQ(screen->log, "will-appear did-appear ");
    popover->dismissPopoverAnimated(false);
    EXPECT_EQ(screen->log, "will-appear did-appear will-disappear did-disappear ");
}
